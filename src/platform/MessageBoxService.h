#pragma once

#include <QString>

// Shows a text with an OK button only and no icon, captioned with the
// application title, and returns once the user has closed it.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual void show(const QString& text) = 0;
};
