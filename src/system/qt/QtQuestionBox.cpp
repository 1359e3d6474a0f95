#include "system/qt/QtQuestionBox.h"

#include "platform/ApplicationFacts.h"
#include "system/qt/PlainMessageBox.h"

bool QtQuestionBox::ask(const QString& question)
{
    PlainMessageBox box(m_facts.title(), question, QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("QuilloQuestionBox"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
