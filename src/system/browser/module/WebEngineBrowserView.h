#pragma once

#include "system/browser/WebBrowserEngine.h"

#include <QWebEngineView>

class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;

// A QtWebEngine view behind the module boundary. It tells whether a page is
// loading from the moment a load is asked for, and reports where each load
// ends.
class WebEngineBrowserView : public QWebEngineView, public WebBrowserEngineView {
    Q_OBJECT

public:
    explicit WebEngineBrowserView(QWidget* parent);
    ~WebEngineBrowserView() override;

    QWidget* widget() override { return this; }
    void setEvents(Events events) override;

    void open(const QUrl& url) override;
    void goBack() override;
    void goForward() override;
    void reloadPage() override;
    void stopLoading() override;

    QString pageTitle() const override;
    QUrl pageUrl() const override;
    bool isLoading() const override { return m_requested || m_loading; }

private:
    bool isSameDocument(const QUrl& target) const;
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onUrlChanged(const QUrl& url);
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);

    Events m_events;
    // A load has been asked for and the engine has not started it yet.
    bool m_requested = false;
    // The engine is loading a page.
    bool m_loading = false;
};
