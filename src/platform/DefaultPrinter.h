#pragma once

#include "platform/PrintDestination.h"

#include <memory>

// The system's default printer, found through the print service of the
// system Quillo runs on.
namespace DefaultPrinter {

// Throws a QuilloError that says why there is none: no print service to ask,
// a service that does not answer, or no default printer set up.
std::unique_ptr<PrintDestination> find();

// The page laid out when there is no printer to ask: US Letter with a quarter
// inch on every side.
QPageLayout fallbackLayout();

// The default printer's paper and printable area, or the fallback layout
// when there is no default printer to ask.
QPageLayout currentLayout();

} // namespace DefaultPrinter
