#pragma once

#include <QObject>

// While it lives, the merchant waits: the cursor shows busy, and no key,
// click, wheel turn, shortcut or drop reaches any window, so that what is
// being printed stays what the window shows. Painting, timers and requests
// to close a window go on.
class UserInputHold : public QObject {
public:
    UserInputHold();
    ~UserInputHold() override;
    UserInputHold(const UserInputHold&) = delete;
    UserInputHold& operator=(const UserInputHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Without a GUI application there is no cursor to show.
    const bool m_cursorShown;
};
