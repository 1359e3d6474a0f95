#pragma once

#include "platform/TextPrompt.h"

class ApplicationFacts;

// A modal QInputDialog over the active window.
class QtTextPrompt : public TextPrompt {
public:
    explicit QtTextPrompt(const ApplicationFacts& facts) : m_facts(facts) {}
    std::optional<QString> askText(const QString& label) override;

private:
    const ApplicationFacts& m_facts;
};
