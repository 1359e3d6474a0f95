#include "system/browser/WebEngineControl.h"

#include "platform/QuilloError.h"
#include "system/browser/WebBrowserEngine.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

WebEngineControl::WebEngineControl(WebBrowserEngineView& view, QWidget& host, WebBrowserSettings settings)
    : WebBrowserControl(&host), m_view(&view), m_widget(view.widget()), m_settings(std::move(settings))
{
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_widget);
    host.setFocusProxy(m_widget);
    // A screen reader meets the view inside its host: both read alike, and
    // the page below them reads as its title.
    m_widget->setAccessibleName(host.accessibleName());

    view.setEvents({
        [this] { emit DownloadComplete(); },
        [this](const QString& url) { emit NavigateComplete2(url); },
        [this](const QString& title) { emit TitleChange(title); },
    });
}

WebEngineControl::~WebEngineControl()
{
    if (m_widget)
        m_view->setEvents({});
}

void WebEngineControl::Navigate(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        throw QuilloError(QStringLiteral("\"%1\" is not an address that the browser can open.").arg(address));
    view().open(url);
}

void WebEngineControl::GoBack()
{
    view().goBack();
}

void WebEngineControl::GoForward()
{
    view().goForward();
}

void WebEngineControl::GoHome()
{
    view().open(m_settings.homePage);
}

void WebEngineControl::GoSearch()
{
    view().open(m_settings.searchPage);
}

void WebEngineControl::Refresh()
{
    view().reloadPage();
}

void WebEngineControl::Stop()
{
    view().stopLoading();
}

QString WebEngineControl::LocationName() const
{
    return view().pageTitle();
}

QString WebEngineControl::LocationURL() const
{
    return view().pageUrl().toString();
}

bool WebEngineControl::Busy() const
{
    return view().isLoading();
}

WebBrowserEngineView& WebEngineControl::view() const
{
    if (!m_widget)
        throw QuilloError(QStringLiteral("The web page has already been closed."));
    return *m_view;
}
