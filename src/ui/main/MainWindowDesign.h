#pragma once

#include "platform/ControlDesign.h"
#include "system/qt/widgets/DesignedAccessibleNames.h"
#include "ui/main/frmMain.h"

#include <array>
#include <cstdint>

// The designed layout of the cheque-entry window, in twips. Positions of the
// cheque face are relative to Frame1; the rest to the window's client area.
namespace MainWindowDesign {

inline constexpr int ClientWidth = 9075;
inline constexpr int ClientHeight = 6075;
inline constexpr int ToolbarHeight = 420;
inline constexpr int StatusBarHeight = 270;
inline constexpr int ToolButtonWidth = 345;
inline constexpr int ToolButtonHeight = 330;
inline constexpr int StatusPanelMinimumWidth = 1440;

// S8: "MS Sans Serif" 8.25 pt; S8Bold the same, bold; M12: "MICR 013 BT"
// 12 pt; W: the window font, "MS Sans Serif" 9.75 pt, which the controls in
// Frame1 name as their own since the frame's font is S8.
inline constexpr ControlFont S8{ControlFont::Face::Dialog, 8.25};
inline constexpr ControlFont S8Bold{ControlFont::Face::Dialog, 8.25, true};
inline constexpr ControlFont M12{ControlFont::Face::Micr, 12};
inline constexpr ControlFont W{ControlFont::Face::Dialog, 9.75};

using Kind = ControlKind;

inline constexpr ControlDesign Frame1 = {"Frame1", Kind::Frame, 120, 480, 8775, 5295, S8, "Quillo"};

// The cheque face, in Frame1, in the order the controls are created.
inline constexpr std::array<ControlDesign, 33> ChequeFace = {{
    {"Label1", Kind::Label, 360, 240, 1935, 255, S8, "Payor Name and Address"},
    {"Label2", Kind::Label, 3960, 240, 1935, 255, S8, "Bank Name and Address"},
    {"Label3", Kind::Label, 7320, 240, 1335, 255, S8, "Check No."},
    {"Label7", Kind::Label, 7320, 840, 375, 255, S8, "Date"},
    {"Label4", Kind::Label, 240, 2040, 1455, 255, S8, "Pay to the Order of"},
    {"Label8", Kind::Label, 6600, 2040, 1935, 255, S8Bold, "Payable in U.S. Funds"},
    {"Label5", Kind::Label, 240, 2640, 1335, 255, S8, "In the Amount of"},
    {"Label6", Kind::Label, 6120, 2640, 615, 255, S8, "Amount"},
    {"Label9", Kind::Label, 6120, 3000, 2295, 255, S8, "NO SIGNATURE REQUIRED. "},
    {"Label11", Kind::Label, 6000, 3240, 1935, 255, W, "This is an Authorized"},
    {"Label12", Kind::Label, 6000, 3480, 2655, 255, W, "and Requested Transaction."},
    {"Label10", Kind::Label, 480, 3240, 495, 255, S8, "Memo"},
    {"Label13", Kind::Label, 120, 3840, 1695, 255, W, "9 Digit Routing No."},
    {"Label14", Kind::Label, 3240, 3840, 1215, 255, W, "Account No."},
    {"Label15", Kind::Label, 5400, 3840, 975, 255, W, "Check No."},
    {"Label16", Kind::Label, 240, 4800, 1095, 255, W, "MICR Guide"},
    {"Text1", Kind::TextBox, 240, 480, 2175, 285, S8, "", {.box = 1}},
    {"Text2", Kind::TextBox, 240, 840, 2175, 285, S8, "", {.box = 2}},
    {"Text3", Kind::TextBox, 240, 1200, 2175, 285, S8, "", {.box = 3}},
    {"Text4", Kind::TextBox, 3840, 480, 2295, 285, S8, "", {.box = 4}},
    {"Text5", Kind::TextBox, 3840, 840, 2295, 285, S8, "", {.box = 5}},
    {"Text6", Kind::TextBox, 7320, 480, 1125, 285, S8, "", {.box = 6}},
    {"Text7", Kind::TextBox, 1680, 2040, 4455, 285, S8, "", {.box = 7}},
    {"Text8", Kind::TextBox, 1680, 2640, 3855, 285, S8, "", {.box = 8}},
    {"Text9", Kind::TextBox, 6840, 2520, 1605, 315, S8, "$", {.box = 9}},
    {"Text10", Kind::TextBox, 7320, 1080, 1215, 285, S8, "", {.box = 10}},
    {"Text11", Kind::TextBox, 240, 4200, 1875, 300, M12, "", {.box = 11}},
    {"Text12", Kind::TextBox, 2280, 4200, 2895, 285, M12, "", {.box = 12}},
    {"Text13", Kind::TextBox, 5400, 4200, 1215, 285, M12, "", {.box = 13}},
    {"Text14", Kind::TextBox, 1080, 3240, 2295, 285, S8, "", {.box = 14}},
    {"Command1", Kind::Button, 6840, 4080, 1095, 495, W, "Quick Print "},
    {"Image1", Kind::Image, 1440, 4680, 2280, 405, W, ":/pictures/micr-guide.png"},
    {"Picture1", Kind::PictureBox, 8160, 4680, 525, 495, W, ":/pictures/logo-badge.png"},
}};

// The key of the Quick Print button, which works anywhere in the window.
inline constexpr const char* QuickPrintKey = "Ctrl+P";

// What a screen reader calls the controls that have no caption of their own;
// the text boxes are named after the captions that label them (BoxNames).
inline constexpr std::array<AccessibleName, 3> AccessibleNames = {{
    {"Command1", "Quick Print"},
    {"Image1", "MICR Guide: A is transit, B is amount, C is on-us, D is dash"},
    {"Picture1", "Quillo logo"},
}};

// The keyboard order of the controls that take the focus.
inline constexpr std::array<const char*, 16> TabOrder = {
    "Text1", "Text2",  "Text3",    "Text4",  "Text5",  "Text6",  "Text7",  "Text8",
    "Text9", "Text10", "Picture1", "Text11", "Text12", "Text13", "Text14", "Command1",
};

// The toolbar, left to right; an entry without a key is a separator.
struct ToolbarEntry {
    const char* key;
    const char* picture;
};

inline constexpr std::array<ToolbarEntry, 11> Toolbar = {{
    {"New", ":/pictures/toolbar/new.png"},
    {"Open", ":/pictures/toolbar/open.png"},
    {"Save", ":/pictures/toolbar/save.png"},
    {nullptr, nullptr},
    {"Print", ":/pictures/toolbar/print.png"},
    {nullptr, nullptr},
    {"Cut", ":/pictures/toolbar/cut.png"},
    {"Copy", ":/pictures/toolbar/copy.png"},
    {"Paste", ":/pictures/toolbar/paste.png"},
    {nullptr, nullptr},
    {nullptr, nullptr},
}};

// The menu bar. A heading has no parent; its items follow it. An item with
// the caption "-" is a separator. `index` is the element of a control array
// (mMenu, mFile), -1 for a single control. A single item runs its `handler`;
// an element of a control array runs the array's `arrayHandler`, which is
// given the index.
struct MenuEntry {
    const char* name;
    int index;
    bool heading;
    const char* caption;
    const char* shortcut;
    void (frmMain::*handler)() = nullptr;
    void (frmMain::*arrayHandler)(std::int16_t Index) = nullptr;
};

inline constexpr std::array<MenuEntry, 29> Menus = {{
    {"mMenu", 0, true, "&File", nullptr},
    {"mFile", 0, false, "&New", "Ctrl+N", nullptr, &frmMain::mFile_Click},
    {"mFile", 1, false, "&Open...", "Ctrl+O", nullptr, &frmMain::mFile_Click},
    {"mFile", 2, false, "&Save", "Ctrl+S", nullptr, &frmMain::mFile_Click},
    {"mFile", 3, false, "Save &As...", nullptr, nullptr, &frmMain::mFile_Click},
    {"mnuFilePreview", -1, false, "Print Pre&view...", nullptr, &frmMain::mnuFilePreview_Click},
    {"mnuFileExportPdf", -1, false, "&Export as PDF...", nullptr, &frmMain::mnuFileExportPdf_Click},
    {"mnuFileConfirmationLetter", -1, false, "Print &Confirmation Letter...", nullptr,
     &frmMain::mnuFileConfirmationLetter_Click},
    {"mnuFilePageSetup", -1, false, "Pa&ge Setup...", nullptr, &frmMain::mnuFilePageSetup_Click},
    {"mnuFileMerchantDetails", -1, false, "Merchant &Details...", nullptr, &frmMain::mnuFileMerchantDetails_Click},
    {"mnuFileRegisterLocation", -1, false, "Register &Location...", nullptr, &frmMain::mnuFileRegisterLocation_Click},
    {"mnuFileCopyRegister", -1, false, "Cop&y This Computer's Register to the Server...", nullptr,
     &frmMain::mnuFileCopyRegister_Click},
    {"mnuFileOfficePassphrase", -1, false, "Change Office &Passphrase...", nullptr,
     &frmMain::mnuFileOfficePassphrase_Click},
    {"mnuFileBar2", -1, false, "-", nullptr},
    {"mExit", -1, false, "E&xit", nullptr, &frmMain::mExit_Click},
    {"mnuEdit", -1, true, "&Edit", nullptr},
    {"mnuEditCut", -1, false, "Cu&t", "Ctrl+X", &frmMain::mnuEditCut_Click},
    {"mnuEditCopy", -1, false, "&Copy", "Ctrl+C", &frmMain::mnuEditCopy_Click},
    {"mnuEditPaste", -1, false, "&Paste", "Ctrl+V", &frmMain::mnuEditPaste_Click},
    {"mnuEditBar0", -1, false, "-", nullptr},
    {"mnuEditAmountWords", -1, false, "Amount in &Words", nullptr, &frmMain::mnuEditAmountWords_Click},
    {"mnuEditAuthorization", -1, false, "Aut&horization...", nullptr, &frmMain::mnuEditAuthorization_Click},
    {"mnuView", -1, true, "&View", nullptr},
    {"mnuViewWebBrowser", -1, false, "&Web Browser", nullptr, &frmMain::mnuViewWebBrowser_Click},
    {"mnuViewRegister", -1, false, "&Register", "Ctrl+R", &frmMain::mnuViewRegister_Click},
    {"mnuHelp", -1, true, "&Help", nullptr},
    {"mnuHelpContents", -1, false, "&Contents", nullptr, &frmMain::mnuHelpContents_Click},
    {"mnuHelpBar0", -1, false, "-", nullptr},
    {"mnuHelpAbout", -1, false, "&About ", nullptr, &frmMain::mnuHelpAbout_Click},
}};

} // namespace MainWindowDesign
