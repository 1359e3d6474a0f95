#pragma once

#include <QUrl>

// The browser component's own settings: where its Home and Search buttons go.
// They belong to the component, not to the windows that embed it.
struct WebBrowserSettings {
    QUrl homePage;
    QUrl searchPage;

    // The pages that ship with Quillo, so that both buttons work offline: the
    // product's home page, and a search page whose form sends the words to a
    // web search.
    static WebBrowserSettings defaults()
    {
        return {QUrl(QStringLiteral("qrc:/home/index.html")), QUrl(QStringLiteral("qrc:/home/search.html"))};
    }
};
