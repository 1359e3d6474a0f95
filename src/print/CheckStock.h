#pragma once

// The blank stock the standard placement is for: a check 8.5 × 3.5 inches at
// the top of a Letter sheet, and where a bank's reader looks for the bank
// line on it. Distances in inches, from the sheet's top and right edges.
namespace CheckStock {

constexpr double Width = 8.5;
constexpr double Height = 3.5;
// Nothing but the bank line belongs in the bottom 5/8 inch of the check.
constexpr double ClearBandTop = Height - 5.0 / 8;
// The bank line stands in a band 3/16 to 7/16 inch above the check's bottom
// edge; its ink ends in the middle of the band.
constexpr double BandTop = Height - 7.0 / 16;
constexpr double BandBottom = Height - 3.0 / 16;
constexpr double InkBottom = Height - 0.25;

// Characters stand in positions 1/8 inch wide, numbered from the right; the
// first begins 5/16 inch from the right edge.
constexpr double PositionWidth = 1.0 / 8;
constexpr double positionStart(int position)
{
    return 5.0 / 16 + (position - 1) * PositionWidth;
}
constexpr double positionEnd(int position)
{
    return positionStart(position + 1);
}

// The routing field ends in position 33, the on-us field in position 14; the
// on-us field runs from position 14 to 32. Position 44, just left of the
// routing field, holds the external processing code.
constexpr int ProcessingCodePosition = 44;
constexpr int RoutingEnd = 33;
constexpr int OnUsEnd = 14;
constexpr int OnUsCapacity = 32 - OnUsEnd + 1;

} // namespace CheckStock
