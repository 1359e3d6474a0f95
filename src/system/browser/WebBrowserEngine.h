#pragma once

#include <QString>
#include <QUrl>
#include <QtPlugin>
#include <functional>

class QWidget;

// The boundary to the web-engine module, which Quillo loads only when the
// first browser window opens, so that starting the program does not pay for
// the web engine. Plain interfaces and standard types only: nothing here needs
// code of its own on either side of the boundary.

// One web view made by the module.
class WebBrowserEngineView {
public:
    // What the view reports. Called on the user-interface thread.
    struct Events {
        // A load has ended: finished, failed or stopped.
        std::function<void()> loadEnded;
        // The view has moved to a page (loaded, or an error page in its place).
        std::function<void(const QString& url)> pageReached;
        // The page shown has a new title.
        std::function<void(const QString& title)> titleChanged;
    };

    virtual ~WebBrowserEngineView() = default;

    // The view itself; deleting it ends the view.
    virtual QWidget* widget() = 0;
    // Replaces the receivers of the events; empty ones are not called.
    virtual void setEvents(Events events) = 0;

    virtual void open(const QUrl& url) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void reloadPage() = 0;
    virtual void stopLoading() = 0;

    virtual QString pageTitle() const = 0;
    virtual QUrl pageUrl() const = 0;
    virtual bool isLoading() const = 0;
};

// The module's entry object.
class WebBrowserEngine {
public:
    virtual ~WebBrowserEngine() = default;

    // Makes a view as a child of `parent`.
    virtual WebBrowserEngineView* createView(QWidget* parent) = 0;
};

#define WebBrowserEngine_iid "org.quillo.WebBrowserEngine/1.1"
Q_DECLARE_INTERFACE(WebBrowserEngine, WebBrowserEngine_iid)
