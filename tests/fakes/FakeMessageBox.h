#pragma once

#include "platform/MessageBoxService.h"

#include <QStringList>
#include <functional>

// Records every message instead of showing it.
class FakeMessageBox : public MessageBoxService {
public:
    void show(const QString& text) override
    {
        shown.append(text);
        if (onShow)
            onShow(text);
    }

    QStringList shown;
    // Runs while the "box" is up, as a modal box would let the user act.
    std::function<void(const QString&)> onShow;
};
