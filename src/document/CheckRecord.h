#pragma once

#include "document/Box.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The fourteen values of the cheque-entry window, Text1 to Text14.
using CheckTexts = PerBox<QString>;

// Fixed-width assignment: the value left-aligned in a field of `width`
// characters, filled with spaces, cut after `width` characters. Nothing else
// happens to it: no trimming, no change of case.
QString fixedWidth(const QString& value, int width);

// The value without the spaces (U+0020) at its end, which a field read from a
// file carries up to its width. Leading spaces and spaces inside stay.
QString withoutTrailingSpaces(const QString& value);

// One cheque as fifteen text fields of exactly 32 characters, in file order.
// Field 0 is reserved and always written as NUL characters; fields 1 to 14
// hold Text1 to Text14.
struct CheckRecord {
    static constexpr int FieldCount = 15;
    static constexpr int FieldLength = 32;
    static constexpr int ByteLength = FieldCount * FieldLength; // 480

    QString Reserved;
    QString PayorLine1;
    QString PayorLine2;
    QString PayorLine3;
    QString BankLine1;
    QString BankLine2;
    QString CheckNumber;
    QString Payee;
    QString AmountInWords;
    QString AmountInFigures;
    QString CheckDate;
    QString RoutingNumber;
    QString AccountNumber;
    QString MicrCheckNumber;
    QString Memo;

    // A new record: every field is 32 NUL characters.
    CheckRecord();

    QString& field(int index);
    const QString& field(int index) const;

    // Builds a record from the window: Text1 to Text14 go through the
    // fixed-width assignment into fields 1 to 14; field 0 stays NUL.
    static CheckRecord fromWindow(const CheckTexts& texts);

    // The window's fourteen texts: the whole 32 characters of fields 1 to 14,
    // fill spaces included.
    CheckTexts toWindow() const;

    // The 480-byte file form, in Windows-1252, field by field.
    QByteArray toBytes() const;

    // Reads a record from the first 480 bytes of `bytes`; anything after them
    // is ignored. Fewer than 480 bytes is a QuilloError.
    static CheckRecord fromBytes(QByteArrayView bytes);
};
