#include "system/qt/QtTextPrompt.h"

#include "platform/ApplicationFacts.h"

#include <QApplication>
#include <QInputDialog>

std::optional<QString> QtTextPrompt::askText(const QString& label)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("QuilloTextPrompt"));
    dialog.setWindowTitle(m_facts.title());
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
