#pragma once

#include "document/CheckRecord.h"
#include "print/PageSetup.h"
#include "print/QuickPrint.h"

#include <QPageLayout>
#include <QString>

// Which boxes hold a text that would keep Quick Print from printing the
// check on a given paper, and why: what the boxes' marks say while the
// merchant types, before any print is tried. The page is composed as Quick
// Print composes it.
namespace PageFit {

// Why each box's text does not fit, one sentence or more that name the edge
// and the paper; empty for a box whose text fits.
PerBox<QString> reasons(const CheckTexts& texts, const PrintedCaptions& captions, const PageSetup& setup,
                        const QPageLayout& layout);

// The paper as a merchant names it: "US Letter", "A4", or any other by its
// size, "8.5 × 3 in".
QString paperName(const QPageLayout& layout);

} // namespace PageFit
