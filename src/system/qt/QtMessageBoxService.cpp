#include "system/qt/QtMessageBoxService.h"

#include "platform/ApplicationFacts.h"
#include "system/qt/PlainMessageBox.h"

void QtMessageBoxService::show(const QString& text)
{
    PlainMessageBox box(m_facts.title(), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("QuilloMessageBox"));
    box.exec();
}
