#pragma once

#include "print/PageSetup.h"
#include "print/QuickPrint.h"

#include <QPageLayout>
#include <QString>

// How much room a check keeps at each edge of the printable area with a page
// setup's offsets: what Page Setup shows, so that an offset that would push
// the page past an edge is seen before anything prints. The check is a
// typical one with the widest texts the layout is designed for, the short
// date 12/08/2026 at the right among them.
struct PageRoom {
    // Inches between the page's outermost items and each edge; negative past it.
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    static PageRoom of(const QPageLayout& layout, const PageSetup& setup, const PrintedCaptions& captions);

    // The room in words, for the paper of `layout`.
    QString describe(const QPageLayout& layout) const;
};
