#pragma once

#include <QString>

// Which seat wrote a draft or an event: the login name and the computer's
// name, "ann@desk-2", so that the drafts of a register that several seats
// share can be told apart.
class SeatName {
public:
    static QString ofThisComputer();
};
