#pragma once

#include "platform/WebBrowserControl.h"
#include "platform/WebBrowserSettings.h"

#include <QPointer>

class QWidget;
class WebBrowserEngineView;

// The browser control over a view of the web-engine module. The view fills
// the control's host; both belong to the host.
class WebEngineControl : public WebBrowserControl {
    Q_OBJECT

public:
    WebEngineControl(WebBrowserEngineView& view, QWidget& host, WebBrowserSettings settings);
    ~WebEngineControl() override;

    void Navigate(const QString& address) override;
    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void GoSearch() override;
    void Refresh() override;
    void Stop() override;

    QString LocationName() const override;
    QString LocationURL() const override;
    bool Busy() const override;

private:
    WebBrowserEngineView& view() const;

    WebBrowserEngineView* m_view;
    QPointer<QWidget> m_widget;
    WebBrowserSettings m_settings;
};
