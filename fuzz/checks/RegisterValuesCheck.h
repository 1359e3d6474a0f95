#pragma once

#include <QByteArrayView>
#include <QStringList>

// Reads arbitrary bytes as the draft register reads what it keeps, and lists
// every property that did not hold (empty when all held):
//
// - as a sealed value: bytes that were not sealed with the register's key
//   never open, and their refusal says the value has been altered;
// - sealed with the key: the value opens to the same bytes, 40 bytes longer
//   sealed; sealed twice, under two nonces; it does not open bound to
//   another draft or field, nor with any one byte changed or cut short;
// - as the file of outcomes a seat holds for the office register: each line
//   is one record; the records written back read the same, and opening any
//   of them as the register does refuses them as altered.
//
// A crash or a read past the end of the data is for the sanitizers to find.
class RegisterValuesCheck {
public:
    static QStringList check(QByteArrayView input);
};
