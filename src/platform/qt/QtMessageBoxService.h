#pragma once

#include "platform/MessageBoxService.h"

#include <QString>

class ApplicationFacts;
class QMessageBox;

// A modal QMessageBox over the active window: OK only, no icon, the
// application title as caption. Ctrl+C in it copies its text.
class QtMessageBoxService : public MessageBoxService {
public:
    explicit QtMessageBoxService(const ApplicationFacts& facts) : m_facts(facts) {}
    void show(const QString& text) override;

    // What Ctrl+C puts on the clipboard: caption, message and buttons, each
    // between lines of dashes.
    static QString copiedText(const QMessageBox& box);

private:
    const ApplicationFacts& m_facts;
};
