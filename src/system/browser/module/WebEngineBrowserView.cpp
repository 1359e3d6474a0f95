#include "system/browser/module/WebEngineBrowserView.h"

#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>

WebEngineBrowserView::WebEngineBrowserView(QWidget* parent) : QWebEngineView(parent)
{
    connect(page(), &QWebEnginePage::loadingChanged, this, &WebEngineBrowserView::onLoadingChanged);
    connect(page(), &QWebEnginePage::urlChanged, this, &WebEngineBrowserView::onUrlChanged);
    connect(page(), &QWebEnginePage::newWindowRequested, this, &WebEngineBrowserView::onNewWindowRequested);
    connect(page(), &QWebEnginePage::titleChanged, this, [this](const QString& title) {
        if (const Events events = m_events; events.titleChanged)
            events.titleChanged(title);
    });
}

WebEngineBrowserView::~WebEngineBrowserView()
{
    // The page may still report while the view is taken apart; nobody listens then.
    m_events = {};
    page()->disconnect(this);
}

void WebEngineBrowserView::setEvents(Events events)
{
    m_events = std::move(events);
}

// The engine starts loading some time after it is asked to. A load counts
// from the request, so that whoever asks right afterwards hears that the page
// is loading. A move within the same page loads nothing and is not counted.
void WebEngineBrowserView::open(const QUrl& url)
{
    m_requested = !isSameDocument(url);
    load(url);
}

void WebEngineBrowserView::goBack()
{
    if (!history()->canGoBack())
        return;
    m_requested = !isSameDocument(history()->backItem().url());
    back();
}

void WebEngineBrowserView::goForward()
{
    if (!history()->canGoForward())
        return;
    m_requested = !isSameDocument(history()->forwardItem().url());
    forward();
}

void WebEngineBrowserView::reloadPage()
{
    if (url().isEmpty())
        return;
    m_requested = true;
    reload();
}

void WebEngineBrowserView::stopLoading()
{
    stop();
    m_requested = false;
    m_loading = false;
}

QString WebEngineBrowserView::pageTitle() const
{
    return title();
}

QUrl WebEngineBrowserView::pageUrl() const
{
    return url();
}

bool WebEngineBrowserView::isSameDocument(const QUrl& target) const
{
    const QUrl current = url();
    return target.hasFragment() && !current.isEmpty() &&
           target.adjusted(QUrl::RemoveFragment) == current.adjusted(QUrl::RemoveFragment);
}

void WebEngineBrowserView::onLoadingChanged(const QWebEngineLoadingInfo& info)
{
    m_requested = false;
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_loading = true;
        return;
    }
    m_loading = false;
    // Copies, so that a receiver may replace the events or end the view.
    const Events events = m_events;
    // A stopped load (also one that turned out to be a file to download) leaves
    // the previous page in place; a failed one shows an error page instead.
    if (info.status() != QWebEngineLoadingInfo::LoadStoppedStatus && events.pageReached)
        events.pageReached(url().toString());
    if (events.loadEnded)
        events.loadEnded();
}

void WebEngineBrowserView::onUrlChanged(const QUrl& url)
{
    // While a load is under way the address moves about; the load reports
    // where it ended. Otherwise this is a move within the page: a link to a
    // fragment, or a script that changed the address.
    if (m_requested || m_loading)
        return;
    if (const Events events = m_events; events.pageReached)
        events.pageReached(url.toString());
}

void WebEngineBrowserView::onNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    // A link that asks for a window of its own opens in this view.
    open(request.requestedUrl());
}
