#include "system/qt/PlainMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QShortcut>

PlainMessageBox::PlainMessageBox(const QString& caption, const QString& text, StandardButtons buttons)
    : QMessageBox(QMessageBox::NoIcon, caption, text, buttons, QApplication::activeWindow())
{
    // A path or a value such as "<u>Acme</u>" is shown as typed: left to
    // guess, Qt would take it for markup and drop its tags and line breaks.
    setTextFormat(Qt::PlainText);
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] { QGuiApplication::clipboard()->setText(copiedText()); });
}

QString PlainMessageBox::copiedText() const
{
    const QString line = QStringLiteral("---------------------------\n");
    QStringList captions;
    for (const QAbstractButton* button : buttons())
        captions << button->text().remove(QLatin1Char('&'));
    return line + windowTitle() + QLatin1Char('\n') + line + text() + QLatin1Char('\n') + line +
           captions.join(QStringLiteral("   ")) + QLatin1Char('\n') + line;
}
