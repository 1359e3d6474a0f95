#pragma once

#include "platform/MessageBoxService.h"

class ApplicationFacts;

// A modal QMessageBox over the active window: OK only, no icon, the
// application title as caption. Ctrl+C in it copies its text.
class QtMessageBoxService : public MessageBoxService {
public:
    explicit QtMessageBoxService(const ApplicationFacts& facts) : m_facts(facts) {}
    void show(const QString& text) override;

private:
    const ApplicationFacts& m_facts;
};
