#pragma once

#include "fakes/FakeWebBrowserControl.h"
#include "platform/QuilloError.h"
#include "platform/WebBrowserControlFactory.h"

#include <QList>
#include <QPointer>
#include <QWidget>

// Makes fake browser controls and keeps track of them, newest last.
class FakeWebBrowserControlFactory : public WebBrowserControlFactory {
public:
    WebBrowserControl* create(QWidget& host) override
    {
        if (failing)
            throw QuilloError(QStringLiteral("No browser today."));
        auto* control = new FakeWebBrowserControl(&host);
        created.append(control);
        return control;
    }

    FakeWebBrowserControl* last() const { return created.isEmpty() ? nullptr : created.last().data(); }

    QList<QPointer<FakeWebBrowserControl>> created;
    bool failing = false;
};
