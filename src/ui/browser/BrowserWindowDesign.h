#pragma once

#include "platform/ControlDesign.h"
#include "system/qt/widgets/DesignedAccessibleNames.h"

#include <array>

// The designed layout of the browser window, in twips. The area of the
// browser control, the toolbar and the address panel are placed in the
// window's client area, the label and the address box inside the address
// panel.
namespace BrowserWindowDesign {

inline constexpr int ClientWidth = 6540;
inline constexpr int ClientHeight = 5130;
inline constexpr int ToolButtonWidth = 465;
inline constexpr int ToolButtonHeight = 450;
// Toolbar pictures, in pixels, and the colour that stands for transparency.
inline constexpr int ImageSize = 24;
inline constexpr int MaskRed = 0xC0, MaskGreen = 0xC0, MaskBlue = 0xC0;
inline constexpr int TimerInterval = 5; // milliseconds

using Kind = ControlKind;

// The label and the address box lie in the address panel; the label's
// caption stands at the middle of its height.
inline constexpr ControlDetails InAddressPanel{.container = "picAddress"};
inline constexpr ControlDetails CaptionInAddressPanel{.container = "picAddress",
                                                      .alignment = Qt::AlignLeft | Qt::AlignVCenter};

// In the order the controls are made, which is their keyboard order: those
// that take no focus of their own keep it as well.
inline constexpr std::array<ControlDesign, 5> Controls = {{
    {"brwWebBrowser", Kind::Panel, 50, 1215, 5393, 3734},
    {"picAddress", Kind::Panel, 0, 540, 6540, 675},
    {"lblAddress", Kind::Label, 45, 60, 3075, 255, {}, "&Address:", CaptionInAddressPanel},
    {"cboAddress", Kind::ComboBox, 45, 300, 3795, 315, {}, "", InAddressPanel},
    {"tbToolBar", Kind::Toolbar, 0, 0, 6540, 540},
}};

// The address box reads as what it is for, not as the address it shows.
inline constexpr std::array<AccessibleName, 2> AccessibleNames = {{
    {"brwWebBrowser", "Web page"},
    {"cboAddress", "Address"},
}};

// The keyboard order; the label passes the focus on to the address box.
inline constexpr std::array<const char*, 4> TabOrder = {"brwWebBrowser", "lblAddress", "cboAddress", "tbToolBar"};

// Toolbar buttons, left to right: each button's key is also its tooltip.
struct ToolButton {
    const char* key;
    const char* image;
};

inline constexpr std::array<ToolButton, 6> ToolButtons = {{
    {"Back", ":/pictures/browser/back.png"},
    {"Forward", ":/pictures/browser/forward.png"},
    {"Stop", ":/pictures/browser/stop.png"},
    {"Refresh", ":/pictures/browser/refresh.png"},
    {"Home", ":/pictures/browser/home.png"},
    {"Search", ":/pictures/browser/search.png"},
}};

} // namespace BrowserWindowDesign
