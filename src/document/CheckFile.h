#pragma once

#include "document/CheckRecord.h"

#include <QList>
#include <QString>

// A check file: one 480-byte record at offset 0, followed, when the record
// cannot keep every value, by Quillo's extension holding them whole
// (CheckFileExtension). The file is opened and closed within each call; a
// failure is a QuilloError whose sentence names the file and the reason.
class CheckFile {
public:
    // What a save kept of the values.
    enum class Kept {
        Record,     // the record alone: each value as its field holds it
        WholeValues // the record and the extension: every value whole
    };

    // Writes the record of `texts` over bytes 0 to 479, and the extension
    // when the record cannot keep a value. What follows the record in an
    // existing file is kept, unless it is Quillo's own extension, which is
    // replaced or, when no value needs it, removed; where someone else's bytes
    // follow the record, no extension is written and the record alone keeps
    // the values. A missing file is created whole or not at all, and a file
    // whose extension changes is replaced by a complete new one: no failure,
    // not even the program being killed, leaves a short or damaged file under
    // its name. A link is followed to its target, which is created when it is
    // missing. Returns only once the data has reached the disk.
    static Kept write(const QString& path, const CheckTexts& texts);

    // The fourteen values of the file: from the extension when it is intact
    // and belongs to the record in the same file, otherwise the whole 32
    // characters of the record's fields, fill spaces included. Read
    // permission is enough. A folder, a file shorter than 480 bytes or one
    // that cannot be read is refused, and nothing past the end of the data is
    // read; a damaged extension is never a reason to refuse.
    static CheckTexts read(const QString& path);

    // What Open shows of a file: the values as read() reads them, and the
    // boxes whose values Quillo's extension kept whole but cannot give now,
    // so that they show the record's 32 characters, perhaps cut.
    struct Opened {
        CheckTexts texts;
        QList<Box> cut;
    };
    static Opened open(const QString& path);
};
