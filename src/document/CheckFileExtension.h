#pragma once

#include "document/CheckRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// Quillo's own extension of a check file, written after the 480-byte record
// when the record cannot keep every value: the fourteen values whole, tied to
// the record they belong to. Whatever reads the record alone reads what it
// always did; Quillo reads the values from the extension only while it is
// intact and belongs to the record in front of it.
//
// Byte layout (integers unsigned, little-endian; offsets from byte 480):
//
//   Offset  Length  Content
//   0       8       magic 89 51 4C 4F 0D 0A 1A 0A (0x89 "QLO" CR LF 0x1A LF)
//   8       2       version, 1
//   10      4       length L of the whole extension, magic to checksum
//   14      32      SHA-256 of the record's fourteen fields (bytes 32 to 479
//                   of the file; the reserved field has no effect on reading,
//                   so it is left out)
//   46      ...     the fourteen values in box order, Text1 to Text14, each
//                   as a 4-byte byte count n and n bytes of UTF-8
//   L - 32  32      SHA-256 of the extension's bytes 0 to L - 33
//
// The extension runs to the end of the file. The magic's high byte and line
// ends make a transfer that changes text visible at once; the length and the
// last checksum tell a cut or damaged extension from an intact one, and the
// record's checksum tells whether something other than Quillo rewrote the
// record since.
class CheckFileExtension {
public:
    // Never longer: far more than a merchant types into fourteen boxes, and a
    // damaged length field cannot make Open read a file of any size. A save
    // that would need more keeps the record alone and says what it cut.
    static constexpr qsizetype MaxLength = 2 * 1024 * 1024;
    // How many bytes after the record tell whether they are Quillo's.
    static constexpr qsizetype MagicLength = 8;

    // The extension for `texts`, saved with `record`, the record's 480 bytes.
    static QByteArray write(QByteArrayView record, const CheckTexts& texts);

    // The values of the extension `tail`, the bytes after `record` in a file,
    // when the tail is one intact extension belonging to that record; nothing
    // otherwise.
    static std::optional<CheckTexts> read(QByteArrayView record, QByteArrayView tail);

    // The boxes that `tail`, an extension of Quillo's that cannot be read
    // (damaged, cut, or of a later version), may have kept whole while the
    // record cuts them: those whose field the record fills to its end. None
    // when the tail is intact, someone else's, or names another record: a
    // record rewritten since by another program holds its values.
    static QList<Box> cutBoxes(QByteArrayView record, QByteArrayView tail);

    // Whether `tail`, the bytes after a record, is Quillo's own, intact or
    // not: it begins with the magic. Saving replaces such a tail; any other
    // is someone else's and is kept.
    static bool isOwn(QByteArrayView tail);
};
