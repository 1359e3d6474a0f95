#pragma once

#include "platform/QuilloError.h"
#include "platform/WebBrowserControl.h"

#include <QSet>
#include <QStringList>

// A browser control that loads nothing. It records the operations asked of
// it; the test decides what it reports and when a page "arrives".
class FakeWebBrowserControl : public WebBrowserControl {
public:
    using WebBrowserControl::WebBrowserControl;

    void Navigate(const QString& address) override
    {
        record(QStringLiteral("Navigate"));
        navigations.append(address);
    }
    void GoBack() override { record(QStringLiteral("GoBack")); }
    void GoForward() override { record(QStringLiteral("GoForward")); }
    void GoHome() override { record(QStringLiteral("GoHome")); }
    void GoSearch() override { record(QStringLiteral("GoSearch")); }
    void Refresh() override { record(QStringLiteral("Refresh")); }
    void Stop() override { record(QStringLiteral("Stop")); }

    QString LocationName() const override
    {
        failIfAsked(QStringLiteral("LocationName"));
        return locationName;
    }
    QString LocationURL() const override
    {
        failIfAsked(QStringLiteral("LocationURL"));
        return locationURL;
    }
    bool Busy() const override
    {
        failIfAsked(QStringLiteral("Busy"));
        return busy;
    }

    // The control has reached a page: it reports the address `url` (perhaps
    // not what was asked for) and the title `title`, then ends the load.
    void arriveAt(const QString& url, const QString& title)
    {
        locationURL = url;
        locationName = title;
        busy = false;
        emit NavigateComplete2(url);
        emit DownloadComplete();
    }

    // Operations in the order they were asked for (failed ones included).
    QStringList calls;
    // The address text of every Navigate.
    QStringList navigations;
    QString locationName;
    QString locationURL;
    bool busy = false;
    // Operations that fail with a QuilloError, by name.
    QSet<QString> failing;

private:
    void record(const QString& operation)
    {
        calls.append(operation);
        failIfAsked(operation);
    }
    void failIfAsked(const QString& operation) const
    {
        if (failing.contains(operation))
            throw QuilloError(operation + QStringLiteral(" failed"));
    }
};
