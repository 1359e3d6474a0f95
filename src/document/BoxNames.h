#pragma once

#include "document/Box.h"

#include <QString>

// What the merchant calls each of the boxes Text1 to Text14: the caption that
// labels the box, with the line number where one caption labels several
// boxes. A screen reader reads these names, and every message about a value
// names its box the same way.
namespace BoxNames {

QString of(Box box);

} // namespace BoxNames
