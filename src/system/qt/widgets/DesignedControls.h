#pragma once

#include "platform/ControlDesign.h"

#include <QFont>
#include <functional>
#include <span>

class QWidget;
class Twips;

// What a window does itself while its controls are built.
struct ControlHooks {
    // Makes the widget of a control in `parent` when the window makes that
    // kind in a way of its own; nullptr leaves it to the builder.
    std::function<QWidget*(const ControlDesign& design, QWidget& parent)> make;
    // The window's own touches to a control that has been made, named, given
    // its font and placed.
    std::function<void(const ControlDesign& design, QWidget& control)> finish;
};

// The font that `font` names; Container faces have none of their own.
QFont designedFont(const ControlFont& font);

// Makes the controls that `table` lists, in its order: each in `container`,
// or in the earlier control the row names as its container, named by its
// designed name, in its font and placed through `twips`. Lines are drawn
// beneath the other controls of their container.
void buildControls(QWidget& container, std::span<const ControlDesign> table, const Twips& twips,
                   const ControlHooks& hooks = {});
