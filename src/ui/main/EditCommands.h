#pragma once

class Clipboard;
class FocusedControl;

// Cut, Copy and Paste on the focused control's selection text. A control
// without selection text makes the command fail at its first access to it;
// Cut and Copy have emptied the clipboard by then.
class EditCommands {
public:
    EditCommands(Clipboard& clipboard, FocusedControl& focused) : m_clipboard(clipboard), m_focused(focused) {}

    // Puts the selection on the clipboard and removes it from the box. With
    // nothing selected the clipboard ends up empty and the box unchanged.
    void cut();
    // Puts the selection on the clipboard; the box is not changed.
    void copy();
    // Replaces the selection with the clipboard's text, or inserts it at the
    // caret; with no text on the clipboard the selection is deleted.
    void paste();

private:
    Clipboard& m_clipboard;
    FocusedControl& m_focused;
};
