#pragma once

#include <QByteArrayView>
#include <QStringList>

// Opens arbitrary bytes as a cheque file through the program's own open path
// and saves them again, and lists every property that did not hold (empty
// when all held):
//
// - the record read straight from the bytes gives the same 480 bytes back,
//   and fewer than 480 bytes are refused;
// - File, Open of a file holding the bytes either fills all fourteen boxes
//   (480 bytes or more) or changes nothing and shows nothing (fewer); the
//   boxes get the record's fields, or, only where Quillo's extension follows
//   the record, values that give that record back;
// - File, Save of an opened file rewrites its first 480 bytes with the same
//   bytes (the reserved field as NULs), keeps everything after them that is
//   not Quillo's extension, drops that extension when the values came from
//   the record, and the file opens again with the same values; Save As to a
//   new file writes exactly those 480 bytes, followed by an extension only
//   for values that came from one, and opens again with the same values.
//
// A crash or a read past the end of the data is for the sanitizers to find.
class ChequeFileCheck {
public:
    static QStringList check(QByteArrayView input);
};
