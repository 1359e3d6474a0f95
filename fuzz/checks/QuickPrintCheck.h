#pragma once

#include <QByteArrayView>
#include <QStringList>

// Runs Quick Print on texts and captions taken from arbitrary bytes, on a
// recording surface whose metrics (and whether and where it fails) also come
// from the bytes, and lists every property that did not hold (empty when all
// held):
//
// - on a line, no item starts left of the point the previous item reached;
// - no line is printed over: the print position only moves down the page,
//   each new line at least one line height below the last;
// - every non-empty text and caption is drawn exactly once;
// - the confirmation is shown once, and only after the document has ended;
//   a run whose surface fails shows nothing and draws nothing after the
//   failure.
//
// Input layout: byte 0 chooses the failing step (none below 0x80), bytes 1 to
// 4 the metrics of the text and MICR fonts; the rest is UTF-16 (little
// endian) text, the fourteen texts and then the seven captions separated by
// U+FFFF.
class QuickPrintCheck {
public:
    static QStringList check(QByteArrayView input);
};
