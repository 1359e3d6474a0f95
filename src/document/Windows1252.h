#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The 8-bit code page of cheque files, fixed so that files move between
// machines whatever their locale.
//
// Hand-written rather than QStringEncoder or iconv: the file format needs one
// byte per UTF-16 code unit and a lossless round trip of all 256 byte values.
// Qt's ICU-backed "windows-1252" codec writes 0x1A for characters it cannot
// hold, and glibc's iconv rejects the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D). Here those five bytes map to the
// C1 controls U+0081 and so on, as Windows itself does, and a character the
// code page cannot hold becomes "?".
namespace Windows1252 {

// One byte per UTF-16 code unit; "?" for each unit the code page cannot hold.
QByteArray encode(QStringView text);

// One character per byte; every byte has a character.
QString decode(QByteArrayView bytes);

// Whether `text` comes back from encode() and decode() as it is, that is,
// the code page holds every unit of it.
bool represents(QStringView text);

} // namespace Windows1252
