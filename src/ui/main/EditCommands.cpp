#include "ui/main/EditCommands.h"

#include "platform/Clipboard.h"
#include "platform/FocusedControl.h"

void EditCommands::cut()
{
    m_clipboard.clear();
    m_clipboard.setText(m_focused.selText());
    // The selection goes without a trace: leaving a space in its place would
    // put stray spaces into cheque values and onto the printed draft.
    m_focused.setSelText(QString());
}

void EditCommands::copy()
{
    m_clipboard.clear();
    m_clipboard.setText(m_focused.selText());
}

void EditCommands::paste()
{
    m_focused.setSelText(m_clipboard.text());
}
