#include "platform/qt/QtMessageBoxService.h"

#include "platform/ApplicationFacts.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBoxService::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, m_facts.title(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("QuilloMessageBox"));
    box.exec();
}
