#pragma once

#include <QtCore/qnamespace.h>

// One control of a window as the window's design table lists it. Every
// window keeps its design as one table of these, and one builder
// (system/qt/widgets/DesignedControls.h) makes the widgets from it.

enum class ControlKind {
    Frame,      // a frame whose caption, `text`, sits on its line
    Panel,      // a plain area that holds other controls
    Label,      // the caption `text`
    TextBox,    // a single-line box holding `text`
    Button,     // a push button captioned `text`
    Image,      // the picture at the resource path `text`, shown from its top-left corner
    PictureBox, // the same, taking the focus
    Line,       // a straight line of one colour
    ComboBox,   // an editable box with a list
    Toolbar,    // a toolbar, made by the window itself
};

// A control's font. Container: no font of its own, the one of the control
// that holds it.
struct ControlFont {
    enum class Face { Container, Dialog, Micr };
    Face face = Face::Container;
    double points = 0;
    bool bold = false;
};

inline constexpr int NoColour = -1;

// What only some controls have.
struct ControlDetails {
    // The control of the same table, listed earlier, that holds this one;
    // none: the container the table is built into.
    const char* container = nullptr;
    // A text box's number on the cheque face, Text<box>; 0 for other controls.
    int box = 0;
    // 0xRRGGBB: the text of a label, the ground of a picture or line.
    int colour = NoColour;
    // Where a label puts its caption.
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    // A label as wide and high as its caption once the window has loaded.
    bool sizedToText = false;
};

// Left and top are measured in twips from the top-left corner of the
// container, width and height in twips. A line runs from (left, top) to
// (left + width, top) and is `height` pixels thick.
struct ControlDesign {
    const char* name;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    ControlFont font = {};
    const char* text = "";
    ControlDetails details = {};
};
