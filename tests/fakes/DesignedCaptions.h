#pragma once

#include "print/QuickPrint.h"

#include <QString>
#include <array>

// The cheque face as designed, written out apart from the window's own table
// so that a slip in either shows up: name, left, top, width, height (twips,
// in Frame1), font family, points, bold and text.
namespace DesignedChequeFace {

struct Control {
    const char* name;
    int left, top, width, height;
    const char* family;
    double points;
    bool bold;
    const char* text;
};

inline constexpr const char* S = "MS Sans Serif";
inline constexpr const char* M = "MICR 013 BT";

inline constexpr std::array<Control, 33> Controls = {{
    {"Text1", 240, 480, 2175, 285, S, 8.25, false, ""},
    {"Text2", 240, 840, 2175, 285, S, 8.25, false, ""},
    {"Text3", 240, 1200, 2175, 285, S, 8.25, false, ""},
    {"Text4", 3840, 480, 2295, 285, S, 8.25, false, ""},
    {"Text5", 3840, 840, 2295, 285, S, 8.25, false, ""},
    {"Text6", 7320, 480, 1125, 285, S, 8.25, false, ""},
    {"Text7", 1680, 2040, 4455, 285, S, 8.25, false, ""},
    {"Text8", 1680, 2640, 3855, 285, S, 8.25, false, ""},
    {"Text9", 6840, 2520, 1605, 315, S, 8.25, false, "$"},
    {"Text10", 7320, 1080, 1215, 285, S, 8.25, false, ""},
    {"Text11", 240, 4200, 1875, 300, M, 12, false, ""},
    {"Text12", 2280, 4200, 2895, 285, M, 12, false, ""},
    {"Text13", 5400, 4200, 1215, 285, M, 12, false, ""},
    {"Text14", 1080, 3240, 2295, 285, S, 8.25, false, ""},
    {"Label1", 360, 240, 1935, 255, S, 8.25, false, "Payor Name and Address"},
    {"Label2", 3960, 240, 1935, 255, S, 8.25, false, "Bank Name and Address"},
    {"Label3", 7320, 240, 1335, 255, S, 8.25, false, "Check No."},
    {"Label7", 7320, 840, 375, 255, S, 8.25, false, "Date"},
    {"Label4", 240, 2040, 1455, 255, S, 8.25, false, "Pay to the Order of"},
    {"Label8", 6600, 2040, 1935, 255, S, 8.25, true, "Payable in U.S. Funds"},
    {"Label5", 240, 2640, 1335, 255, S, 8.25, false, "In the Amount of"},
    {"Label6", 6120, 2640, 615, 255, S, 8.25, false, "Amount"},
    {"Label9", 6120, 3000, 2295, 255, S, 8.25, false, "NO SIGNATURE REQUIRED. "},
    {"Label11", 6000, 3240, 1935, 255, S, 9.75, false, "This is an Authorized"},
    {"Label12", 6000, 3480, 2655, 255, S, 9.75, false, "and Requested Transaction."},
    {"Label10", 480, 3240, 495, 255, S, 8.25, false, "Memo"},
    {"Label13", 120, 3840, 1695, 255, S, 9.75, false, "9 Digit Routing No."},
    {"Label14", 3240, 3840, 1215, 255, S, 9.75, false, "Account No."},
    {"Label15", 5400, 3840, 975, 255, S, 9.75, false, "Check No."},
    {"Label16", 240, 4800, 1095, 255, S, 9.75, false, "MICR Guide"},
    {"Command1", 6840, 4080, 1095, 495, S, 9.75, false, "Quick Print "},
    {"Image1", 1440, 4680, 2280, 405, S, 9.75, false, nullptr},
    {"Picture1", 8160, 4680, 525, 495, S, 9.75, false, nullptr},
}};

} // namespace DesignedChequeFace

// The seven captions the printed cheque carries, as the window's labels hold them.
inline PrintedCaptions designedCaptions()
{
    const auto text = [](const char* name) {
        for (const DesignedChequeFace::Control& control : DesignedChequeFace::Controls) {
            if (qstrcmp(control.name, name) == 0)
                return QString::fromLatin1(control.text);
        }
        return QString();
    };
    return {text("Label4"),  text("Label5"),  text("Label8"), text("Label9"),
            text("Label10"), text("Label11"), text("Label12")};
}
