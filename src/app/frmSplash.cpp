#include "app/frmSplash.h"

#include "platform/ApplicationFacts.h"
#include "platform/Twips.h"
#include "platform/qt/Fonts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <array>

namespace {

inline constexpr int ClientWidth = 7455;
inline constexpr int ClientHeight = 4710;

enum class Kind { Frame, Picture, Label };

struct Control {
    const char* name;
    Kind kind;
    int left;
    int top;
    int width;
    int height;
    double points; // 0: the window's font
    bool bold;
    Qt::Alignment alignment;
    bool sizedToText;
    const char* text;
};

// fraMainFrame is in the client area; the rest are in fraMainFrame.
inline constexpr std::array<Control, 6> Design = {{
    {"fraMainFrame", Kind::Frame, 45, -15, 7380, 4590, 0, false, {}, false, ""},
    {"picLogo", Kind::Picture, 120, 240, 5295, 2025, 0, false, {}, false, ":/pictures/splash-logo.png"},
    {"lblPlatform", Kind::Label, 120, 2400, 1560, 240, 9.75, true, Qt::AlignRight, true, "Windows 95/98"},
    {"lblVersion", Kind::Label, 4200, 2400, 1170, 240, 9.75, true, Qt::AlignRight, true, "Version 1.0"},
    {"lblCopyright", Kind::Label, 2040, 2760, 2055, 255, 0, false, {}, false, "\xa9 2026 The Quillo developers"},
    {"lblCompany", Kind::Label, 1680, 3000, 2775, 375, 12, true, {}, false, "www.quillo.example"},
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

    QWidget* frame = nullptr;
    for (const Control& design : Design) {
        QWidget* widget = nullptr;
        const QString text = QString::fromLatin1(design.text);
        switch (design.kind) {
        case Kind::Frame: {
            auto* box = new QFrame(this);
            box->setFrameStyle(QFrame::Box | QFrame::Sunken);
            frame = box;
            widget = box;
            break;
        }
        case Kind::Picture: {
            auto* picture = new QLabel(frame);
            picture->setPixmap(QPixmap(text));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = picture;
            break;
        }
        case Kind::Label: {
            auto* caption = new QLabel(text, frame);
            caption->setAlignment(design.alignment | Qt::AlignVCenter);
            widget = caption;
            break;
        }
        }
        widget->setObjectName(QString::fromLatin1(design.name));
        if (design.points > 0)
            widget->setFont(Fonts::dialogFont(design.points, design.bold));
        QRect geometry = twips.toPixels(design.left, design.top, design.width, design.height);
        if (design.kind == Kind::Frame)
            geometry.translate(clientOrigin);
        widget->setGeometry(geometry);
        widget->setProperty("sizedToText", design.sizedToText);
    }

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
    for (QLabel* caption : findChildren<QLabel*>()) {
        if (caption->property("sizedToText").toBool())
            caption->adjustSize();
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
