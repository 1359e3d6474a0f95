#pragma once

#include "platform/qt/widgets/DesignedAccessibleNames.h"

#include <array>

// The designed layout of the About box, in twips from the top-left corner of
// its client area.
namespace AboutDesign {

inline constexpr int ClientWidth = 5865;
inline constexpr int ClientHeight = 3630;

// The window font, "MS Sans Serif" at the dialog size; every control uses it.
inline constexpr double WindowFontPoints = 8.25;

inline constexpr const char* Caption = "About Quillo";

enum class Kind { Picture, Label, Button, Line };

// The label's own colour is used where a control has no colour of its own.
inline constexpr int NoColour = -1;

// A line runs from (left, top) to (left + width, top) and is `height` pixels
// thick; everything else is placed by its rectangle. `text` is the design
// text, or the picture's resource path for a picture.
struct Control {
    const char* name;
    Kind kind;
    int left;
    int top;
    int width;
    int height;
    int colour;
    const char* text;
};

// In the order the controls are created.
inline constexpr std::array<Control, 8> Controls = {{
    {"picIcon", Kind::Picture, 120, 120, 1710, 2760, 0xC0C0C0, ":/pictures/about-picture.png"},
    {"lblTitle", Kind::Label, 2130, 240, 3495, 480, 0x000000, "Application Title"},
    {"lblVersion", Kind::Label, 2130, 780, 3495, 225, NoColour, "Version"},
    {"lblDescription", Kind::Label, 2130, 1125, 3495, 1170, 0x000000, "Accepts checks by Phone, Fax, and Email."},
    {"cmdOK", Kind::Button, 4245, 2625, 1467, 345, NoColour, "OK"},
    {"cmdSysInfo", Kind::Button, 4260, 3075, 1452, 345, NoColour, "&System Info..."},
    // The etched separator Line1: a grey line with a white one just beneath.
    {"Line1_1", Kind::Line, 225, 2430, 5432, 1, 0x808080, ""},
    {"Line1_0", Kind::Line, 240, 2445, 5417, 2, 0xFFFFFF, ""},
}};

// The picture shows no text of its own: a screen reader reads this name.
inline constexpr std::array<AccessibleName, 1> AccessibleNames = {{
    {"picIcon", "Quillo picture: a quill in an inkwell in front of a check"},
}};

// The keyboard order of the controls that take the focus.
inline constexpr std::array<const char*, 2> TabOrder = {"cmdOK", "cmdSysInfo"};

} // namespace AboutDesign
