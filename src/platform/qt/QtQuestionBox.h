#pragma once

#include "platform/QuestionBox.h"

class ApplicationFacts;

// A modal QMessageBox over the active window with Yes and No, No the default.
class QtQuestionBox : public QuestionBox {
public:
    explicit QtQuestionBox(const ApplicationFacts& facts) : m_facts(facts) {}
    bool ask(const QString& question) override;

private:
    const ApplicationFacts& m_facts;
};
