#pragma once

#include <QPageLayout>

// What Quillo takes a printer's paper to be when the printer says nothing
// it can use.
namespace PaperPolicy {

// The page laid out when there is no printer to ask: US Letter with a quarter
// inch on every side.
QPageLayout fallbackLayout();

// Whether a printer's default paper, `width` by `length` inches, can be a
// sheet a check is printed on: 3 to 17 inches each way. Any other size said
// by a printer is taken as unknown, and the fallback layout applies.
bool isPlausiblePaper(double width, double length);

} // namespace PaperPolicy
