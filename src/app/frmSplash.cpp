#include "app/frmSplash.h"

#include "platform/ApplicationFacts.h"
#include "platform/Twips.h"
#include "system/qt/Fonts.h"
#include "system/qt/widgets/DesignedControls.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <array>

namespace {

inline constexpr int ClientWidth = 7455;
inline constexpr int ClientHeight = 4710;

using Kind = ControlKind;

constexpr ControlFont Bold975{ControlFont::Face::Dialog, 9.75, true};
constexpr ControlFont Bold12{ControlFont::Face::Dialog, 12, true};

// fraMainFrame is in the client area; the rest are in fraMainFrame.
constexpr ControlDetails InFrame{.container = "fraMainFrame", .alignment = Qt::AlignVCenter};
constexpr ControlDetails InFrameRightSized{
    .container = "fraMainFrame", .alignment = Qt::AlignRight | Qt::AlignVCenter, .sizedToText = true};

constexpr std::array<ControlDesign, 6> Design = {{
    {"fraMainFrame", Kind::Frame, 45, -15, 7380, 4590},
    {"picLogo", Kind::Image, 120, 240, 5295, 2025, {}, ":/pictures/splash-logo.png", InFrame},
    {"lblPlatform", Kind::Label, 120, 2400, 1560, 240, Bold975, "Windows 95/98", InFrameRightSized},
    {"lblVersion", Kind::Label, 4200, 2400, 1170, 240, Bold975, "Version 1.0", InFrameRightSized},
    {"lblCopyright", Kind::Label, 2040, 2760, 2055, 255, {}, "\xa9 2026 The Quillo developers", InFrame},
    {"lblCompany", Kind::Label, 1680, 3000, 2775, 375, Bold12, "www.quillo.example", InFrame},
}};

} // namespace

frmSplash::frmSplash(const ApplicationFacts& facts, QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_facts(facts)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed dialog's raised border, drawn by the window itself since it has
    // no title bar.
    setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    setFont(Fonts::dialogFont(8.25));

    const Twips twips = Twips::forScreen();
    const QPoint clientOrigin(frameWidth(), frameWidth());
    resize(twips.toPixels(ClientWidth) + 2 * frameWidth(), twips.toPixels(ClientHeight) + 2 * frameWidth());

    ControlHooks hooks;
    // The frame is a sunken box without a caption, placed inside the
    // window's own border.
    hooks.make = [](const ControlDesign& design, QWidget& parent) -> QWidget* {
        if (design.kind != Kind::Frame)
            return nullptr;
        auto* box = new QFrame(&parent);
        box->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return box;
    };
    hooks.finish = [clientOrigin](const ControlDesign& design, QWidget& control) {
        if (design.kind == Kind::Frame)
            control.move(control.pos() + clientOrigin);
    };
    buildControls(*this, Design, twips, hooks);

    Form_Load();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = geometry();
        placed.moveCenter(screen->geometry().center());
        move(placed.topLeft());
    }
}

void frmSplash::Form_Load()
{
    auto* version = findChild<QLabel*>(QStringLiteral("lblVersion"));
    version->setText(versionText(m_facts));
    // Labels sized to their text keep their left and top edges.
    for (const ControlDesign& design : Design) {
        if (design.details.sizedToText)
            findChild<QLabel*>(QString::fromLatin1(design.name))->adjustSize();
    }
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void frmSplash::mousePressEvent(QMouseEvent* event)
{
    event->ignore();
}
