#include "system/qt/widgets/DesignedControls.h"

#include "platform/Twips.h"
#include "system/qt/Fonts.h"
#include "system/qt/widgets/NamedComboBox.h"
#include "system/qt/widgets/TextBox.h"

#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QToolBar>
#include <limits>

namespace {

void setColour(QWidget& widget, QPalette::ColorRole role, int colour)
{
    if (colour == NoColour)
        return;
    QPalette palette = widget.palette();
    palette.setColor(role, QColor::fromRgb(static_cast<QRgb>(colour)));
    widget.setPalette(palette);
}

// A picture is shown unscaled from the top left and cut at the control's
// edge; a missing one leaves the control empty.
QLabel* createPicture(const ControlDesign& design, QWidget& parent)
{
    auto* picture = new QLabel(&parent);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (design.details.colour != NoColour) {
        picture->setAutoFillBackground(true);
        setColour(*picture, QPalette::Window, design.details.colour);
    }
    const QPixmap pixmap(QString::fromLatin1(design.text));
    if (!pixmap.isNull())
        picture->setPixmap(pixmap);
    if (design.kind == ControlKind::PictureBox)
        picture->setFocusPolicy(Qt::StrongFocus);
    return picture;
}

QWidget* createControl(const ControlDesign& design, QWidget& parent)
{
    const QString text = QString::fromLatin1(design.text);
    switch (design.kind) {
    case ControlKind::Frame:
        return new QGroupBox(text, &parent);
    case ControlKind::Panel:
        return new QWidget(&parent);
    case ControlKind::Label: {
        auto* label = new QLabel(text, &parent);
        label->setAlignment(design.details.alignment);
        setColour(*label, QPalette::WindowText, design.details.colour);
        return label;
    }
    case ControlKind::TextBox: {
        auto* box = new TextBox(text, &parent);
        // No limit: QLineEdit's default of 32767 characters would cut a long
        // paste without a word.
        box->setMaxLength(std::numeric_limits<int>::max());
        return box;
    }
    case ControlKind::Button:
        return new QPushButton(text, &parent);
    case ControlKind::Image:
    case ControlKind::PictureBox:
        return createPicture(design, parent);
    case ControlKind::Line: {
        auto* line = new QWidget(&parent);
        line->setAutoFillBackground(true);
        setColour(*line, QPalette::Window, design.details.colour);
        return line;
    }
    case ControlKind::ComboBox: {
        auto* box = new NamedComboBox(&parent);
        box->setEditable(true);
        return box;
    }
    case ControlKind::Toolbar:
        return new QToolBar(&parent);
    }
    return nullptr;
}

QRect placement(const ControlDesign& design, const Twips& twips)
{
    if (design.kind == ControlKind::Line) {
        const int left = twips.toPixels(design.left);
        return QRect(left, twips.toPixels(design.top), twips.toPixels(design.left + design.width) - left,
                     design.height);
    }
    return twips.toPixels(design.left, design.top, design.width, design.height);
}

} // namespace

QFont designedFont(const ControlFont& font)
{
    switch (font.face) {
    case ControlFont::Face::Dialog:
        return Fonts::dialogFont(font.points, font.bold);
    case ControlFont::Face::Micr: {
        QFont micr(Fonts::MicrFamily);
        micr.setPointSizeF(font.points);
        if (font.bold)
            micr.setBold(true);
        return micr;
    }
    case ControlFont::Face::Container:
        break;
    }
    return QFont();
}

void buildControls(QWidget& container, std::span<const ControlDesign> table, const Twips& twips,
                   const ControlHooks& hooks)
{
    QHash<QByteArray, QWidget*> made;
    for (const ControlDesign& design : table) {
        QWidget* parent = design.details.container ? made.value(design.details.container) : &container;
        Q_ASSERT_X(parent, design.name, "a container is listed before the controls it holds");
        QWidget* control = hooks.make ? hooks.make(design, *parent) : nullptr;
        if (!control)
            control = createControl(design, *parent);
        control->setObjectName(QString::fromLatin1(design.name));
        if (design.font.face != ControlFont::Face::Container)
            control->setFont(designedFont(design.font));
        control->setGeometry(placement(design, twips));
        if (design.kind == ControlKind::Line)
            control->lower();
        made.insert(design.name, control);
        if (hooks.finish)
            hooks.finish(design, *control);
    }
}
