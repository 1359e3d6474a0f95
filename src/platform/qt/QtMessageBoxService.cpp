#include "platform/qt/QtMessageBoxService.h"

#include "platform/ApplicationFacts.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

namespace {

// What Ctrl+C puts on the clipboard: caption, message and buttons, each
// between lines of dashes, as message boxes on Windows copy themselves.
QString copiedText(const QMessageBox& box)
{
    const QString line = QStringLiteral("---------------------------\n");
    QStringList buttons;
    for (const QAbstractButton* button : box.buttons())
        buttons << button->text().remove(QLatin1Char('&'));
    return line + box.windowTitle() + QLatin1Char('\n') + line + box.text() + QLatin1Char('\n') + line +
           buttons.join(QStringLiteral("   ")) + QLatin1Char('\n') + line;
}

} // namespace

void QtMessageBoxService::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, m_facts.title(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("QuilloMessageBox"));
    // A path or a value such as "<u>Acme</u>" is shown as typed: left to
    // guess, Qt would take it for markup and drop its tags and line breaks.
    box.setTextFormat(Qt::PlainText);
    // Ctrl+C copies the whole message, so that a merchant can pass a failure
    // on word for word; Qt's message box does so on Windows only.
    QShortcut copy(QKeySequence::Copy, &box);
    QObject::connect(&copy, &QShortcut::activated, &box,
                     [&box] { QGuiApplication::clipboard()->setText(copiedText(box)); });
    box.exec();
}
