#pragma once

#include <QFont>
#include <QString>

// The fonts the windows and the printed page ask for by name, and the one
// place that maps those names onto fonts this machine has.
namespace Fonts {

inline const QString DialogFamily = QStringLiteral("MS Sans Serif");
inline const QString MicrFamily = QStringLiteral("MICR 013 BT");

// Registers Quillo's own fonts and the substitutions for the families that a
// Linux machine does not have. Call once, after the application object exists
// and before any window is created.
void install();

// Whether this machine has a font of `family` (any foundry, any case). A
// family that is missing is the one Quillo substitutes.
bool familyInstalled(const QString& family);

// "MS Sans Serif" at `points`, regular or bold.
QFont dialogFont(double points, bool bold = false);

} // namespace Fonts
