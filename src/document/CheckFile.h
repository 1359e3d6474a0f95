#pragma once

#include "document/CheckRecord.h"

#include <QString>

// A check file: one 480-byte record at offset 0, nothing else. The file is
// opened and closed within each call; a failure is a QuilloError whose
// sentence names the file and the reason.
class CheckFile {
public:
    // Writes the record over bytes 0 to 479. An existing file is written in
    // place and keeps everything after byte 479; it is never truncated. A
    // missing file is created whole or not at all: no failure, not even the
    // program being killed, leaves a short file under its name. A link is
    // followed to its target, which is created when it is missing. Returns
    // only once the data has reached the disk.
    static void write(const QString& path, const CheckRecord& record);

    // Reads bytes 0 to 479 and ignores the rest; read permission is enough.
    // A folder, a file shorter than 480 bytes or one that cannot be read is
    // refused, and nothing past the end of the data is read.
    static CheckRecord read(const QString& path);
};
