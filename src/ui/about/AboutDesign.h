#pragma once

#include "platform/ControlDesign.h"
#include "system/qt/widgets/DesignedAccessibleNames.h"

#include <array>

// The designed layout of the About box, in twips from the top-left corner of
// its client area.
namespace AboutDesign {

inline constexpr int ClientWidth = 5865;
inline constexpr int ClientHeight = 3630;

// The window font, "MS Sans Serif" at the dialog size; every control uses it.
inline constexpr double WindowFontPoints = 8.25;

inline constexpr const char* Caption = "About Quillo";

using Kind = ControlKind;

// A control without colour details has the window's.
inline constexpr ControlDetails Black{.colour = 0x000000};

// In the order the controls are created; the picture's text is its resource
// path.
inline constexpr std::array<ControlDesign, 8> Controls = {{
    {"picIcon", Kind::PictureBox, 120, 120, 1710, 2760, {}, ":/pictures/about-picture.png", {.colour = 0xC0C0C0}},
    {"lblTitle", Kind::Label, 2130, 240, 3495, 480, {}, "Application Title", Black},
    {"lblVersion", Kind::Label, 2130, 780, 3495, 225, {}, "Version"},
    {"lblDescription", Kind::Label, 2130, 1125, 3495, 1170, {}, "Accepts checks by Phone, Fax, and Email.", Black},
    {"cmdOK", Kind::Button, 4245, 2625, 1467, 345, {}, "OK"},
    {"cmdSysInfo", Kind::Button, 4260, 3075, 1452, 345, {}, "&System Info..."},
    // The etched separator Line1: a grey line with a white one just beneath.
    {"Line1_1", Kind::Line, 225, 2430, 5432, 1, {}, "", {.colour = 0x808080}},
    {"Line1_0", Kind::Line, 240, 2445, 5417, 2, {}, "", {.colour = 0xFFFFFF}},
}};

// The picture shows no text of its own: a screen reader reads this name.
inline constexpr std::array<AccessibleName, 1> AccessibleNames = {{
    {"picIcon", "Quillo picture: a quill in an inkwell in front of a check"},
}};

// The keyboard order of the controls that take the focus.
inline constexpr std::array<const char*, 2> TabOrder = {"cmdOK", "cmdSysInfo"};

} // namespace AboutDesign
