#include "ui/about/frmAbout.h"

#include "platform/ApplicationFacts.h"
#include "platform/QuilloError.h"
#include "platform/Twips.h"
#include "platform/qt/widgets/DesignedAccessibleNames.h"
#include "platform/qt/widgets/DesignedTabOrder.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/ProductIcon.h"
#include "platform/qt/WindowList.h"
#include "ui/about/AboutDesign.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

using namespace AboutDesign;

namespace {

const AboutServices& requireServices(const AboutServices& services)
{
    if (!services.facts || !services.messages || !services.registry || !services.files || !services.processes)
        throw QuilloError(QStringLiteral("The About box cannot be shown: a service it needs is missing."));
    return services;
}

void setColour(QWidget* widget, QPalette::ColorRole role, int colour)
{
    if (colour == NoColour)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(static_cast<QRgb>(colour)));
    widget->setPalette(palette);
}

// The picture box: the picture at its top-left corner on a light grey
// ground inside a sunken border, and sized to the picture when there is one.
QLabel* createPicture(const Control& design, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setAutoFillBackground(true);
    setColour(picture, QPalette::Window, design.colour);
    // A missing picture leaves the grey box of the designed size.
    const QPixmap pixmap(QString::fromLatin1(design.text));
    if (!pixmap.isNull())
        picture->setPixmap(pixmap);
    return picture;
}

QWidget* createControl(const Control& design, QWidget* parent)
{
    const QString text = QString::fromLatin1(design.text);
    switch (design.kind) {
    case Kind::Picture:
        return createPicture(design, parent);
    case Kind::Label: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setColour(label, QPalette::WindowText, design.colour);
        return label;
    }
    case Kind::Button:
        return new QPushButton(text, parent);
    case Kind::Line: {
        auto* line = new QWidget(parent);
        line->setAutoFillBackground(true);
        setColour(line, QPalette::Window, design.colour);
        return line;
    }
    }
    return nullptr;
}

QRect placement(const Control& design, const Twips& twips)
{
    if (design.kind == Kind::Line) {
        const int left = twips.toPixels(design.left);
        return QRect(left, twips.toPixels(design.top), twips.toPixels(design.left + design.width) - left,
                     design.height);
    }
    return twips.toPixels(design.left, design.top, design.width, design.height);
}

} // namespace

frmAbout::frmAbout(const AboutServices& services, QWidget* owner)
    : QDialog(owner), m_services(requireServices(services)),
      m_launcher(*services.registry, *services.files, *services.processes, *services.messages)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed dialog with only a close button. Owned by another window, it
    // does not get a taskbar entry of its own.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(Caption));
    setWindowIcon(productIcon());
    setFont(Fonts::dialogFont(WindowFontPoints));
    setSizeGripEnabled(false);

    buildControls();
    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::showModal(QWidget* owner, const AboutServices& services)
{
    auto* box = new frmAbout(services, owner);
    if (services.windows)
        services.windows->add(box);
    // exec() deletes the box once it has closed, as it deletes on close.
    box->exec();
}

void frmAbout::buildControls()
{
    const Twips twips = Twips::forScreen();
    setFixedSize(twips.toPixels(ClientWidth), twips.toPixels(ClientHeight));

    for (const Control& design : Controls) {
        QWidget* control = createControl(design, this);
        control->setObjectName(QString::fromLatin1(design.name));
        control->setGeometry(placement(design, twips));
        // Lines are drawn on the window's own surface, beneath the controls:
        // where the separator meets the picture, the picture covers it.
        if (design.kind == Kind::Line)
            control->lower();
    }

    picIcon = findChild<QLabel*>(QStringLiteral("picIcon"));
    lblTitle = findChild<QLabel*>(QStringLiteral("lblTitle"));
    lblVersion = findChild<QLabel*>(QStringLiteral("lblVersion"));
    lblDescription = findChild<QLabel*>(QStringLiteral("lblDescription"));
    cmdOK = findChild<QPushButton*>(QStringLiteral("cmdOK"));
    cmdSysInfo = findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));

    // Sized to its picture, keeping its place.
    if (const QPixmap pixmap = picIcon->pixmap(); !pixmap.isNull()) {
        const int border = 2 * picIcon->frameWidth();
        picIcon->resize(pixmap.deviceIndependentSize().toSize() + QSize(border, border));
    }
    picIcon->setFocusPolicy(Qt::NoFocus);
    applyAccessibleNames(*this, AccessibleNames);

    cmdOK->setDefault(true);
    applyTabOrder(*this, TabOrder);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
}

void frmAbout::Form_Load()
{
    lblVersion->setText(versionText(*m_services.facts));
    lblTitle->setText(m_services.facts->title());
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    m_launcher.StartSysInfo();
}

void frmAbout::setVisible(bool visible)
{
    if (visible && !isVisible())
        centreOverOwner();
    QDialog::setVisible(visible);
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // OK is also the cancel button: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::centreOverOwner()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;

    // Until it is shown the box cannot know its own frame; the owner's frame
    // stands in for it, as both windows carry the same title bar and borders.
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerClient = owner->geometry();
    const QMargins frame(ownerClient.left() - ownerFrame.left(), ownerClient.top() - ownerFrame.top(),
                         ownerFrame.right() - ownerClient.right(), ownerFrame.bottom() - ownerClient.bottom());
    QRect box = QRect(QPoint(0, 0), size()).marginsAdded(frame);
    box.moveCenter(ownerFrame.center());

    // An owner half off the screen must not push the box off it.
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        box.moveLeft(std::max(available.left(), std::min(box.left(), available.right() + 1 - box.width())));
        box.moveTop(std::max(available.top(), std::min(box.top(), available.bottom() + 1 - box.height())));
    }
    move(box.topLeft());
}
