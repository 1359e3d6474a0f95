#pragma once

#include "document/CheckRecord.h"

#include <QString>

// A cheque file: one 480-byte record at offset 0, nothing else. The file is
// opened and closed within each call; a failure is a QuilloError whose
// sentence names the file and the reason.
class CheckFile {
public:
    // Writes the record over bytes 0 to 479. A missing file is created; an
    // existing one keeps everything after byte 479 and is never truncated.
    // Returns only once the data has reached the disk. A file created by a
    // write that then fails is removed again.
    static void write(const QString& path, const CheckRecord& record);

    // Reads bytes 0 to 479 and ignores the rest; read permission is enough.
    // A folder, a file shorter than 480 bytes or one that cannot be read is
    // refused, and nothing past the end of the data is read.
    static CheckRecord read(const QString& path);
};
