#pragma once

#include <QString>

// Asks a question with Yes and No buttons, No the default, no icon, captioned
// with the application title; returns whether the user chose Yes.
class QuestionBox {
public:
    virtual ~QuestionBox() = default;
    virtual bool ask(const QString& question) = 0;
};
