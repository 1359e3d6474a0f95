#pragma once

#include <QMessageBox>

// Quillo's message box, for messages and questions alike: no icon, the text
// shown as typed, and Ctrl+C copying the whole box so that a merchant can pass
// it on word for word (Qt's own box does so on Windows only).
class PlainMessageBox : public QMessageBox {
public:
    PlainMessageBox(const QString& caption, const QString& text, StandardButtons buttons);

    // What Ctrl+C puts on the clipboard: caption, message and buttons, each
    // between lines of dashes, as message boxes on Windows copy themselves.
    QString copiedText() const;
};
