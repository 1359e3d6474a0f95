#pragma once

#include "platform/QuestionBox.h"

class ApplicationFacts;

// A modal message box over the active window with Yes and No, No the default,
// no icon, the application title as caption. Ctrl+C in it copies its text.
class QtQuestionBox : public QuestionBox {
public:
    explicit QtQuestionBox(const ApplicationFacts& facts) : m_facts(facts) {}
    bool ask(const QString& question) override;

private:
    const ApplicationFacts& m_facts;
};
