#pragma once

#include <QString>

// Quillo's own E-13B font, compiled into the program. The windows and the
// printed page keep asking for the MICR family by its usual name; on a
// machine without that font, the name resolves to this one, so the MICR boxes
// and the bottom line of the cheque still show E-13B characters at 8 to the
// inch. A machine that has the usual font keeps using it.
//
// The family has a regular and a bold face with the same outlines: the
// printed line asks for bold, and without a bold face Qt would embolden the
// regular one by drawing every glyph twice, a little apart.
class MicrFont {
public:
    static const QString Family;
    static const QString ResourcePath;
    static const QString BoldResourcePath;

    // Registers both faces with the application and, unless a font of the
    // MICR family is installed, makes that family resolve to ours. Call after
    // the application object exists and before any MICR text is laid out.
    // Calling it again registers nothing twice.
    static void install();
};
