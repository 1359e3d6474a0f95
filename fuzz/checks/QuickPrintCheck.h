#pragma once

#include <QByteArrayView>
#include <QStringList>

// Composes Quick Print's page of texts and captions taken from arbitrary
// bytes, on paper, margins and a page setup also taken from them, and lists
// every property that did not hold (empty when all held):
//
// - every item lies at a finite place; on a line placed by columns, no item
//   starts left of the point the previous item reached, and no line is
//   printed over: each new line is at least one line height below the last;
// - every non-empty text and caption is drawn exactly once;
// - an item is reported as not fitting only when it runs past the edge or
//   overfills its field of the bank line;
// - Quick Print confirms exactly the pages that fit, after the printer took
//   that very page, and sends nothing otherwise.
//
// Input layout: byte 0 chooses the bank line's place (the standard place from
// 0x80), bytes 1 and 2 the offsets right and down, byte 3 the paper and byte
// 4 the margins; the rest is UTF-16 (little endian) text, the fourteen texts
// and then the seven captions separated by U+FFFF.
class QuickPrintCheck {
public:
    static QStringList check(QByteArrayView input);
};
