#include "platform/qt/QtQuestionBox.h"

#include "platform/ApplicationFacts.h"

#include <QApplication>
#include <QMessageBox>

bool QtQuestionBox::ask(const QString& question)
{
    QMessageBox box(QMessageBox::NoIcon, m_facts.title(), question, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("QuilloQuestionBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
