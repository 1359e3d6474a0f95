#include "ui/about/frmAbout.h"

#include "platform/ApplicationFacts.h"
#include "platform/QuilloError.h"
#include "platform/Twips.h"
#include "system/qt/Fonts.h"
#include "system/qt/ProductIcon.h"
#include "system/qt/WindowList.h"
#include "system/qt/widgets/DesignedAccessibleNames.h"
#include "system/qt/widgets/DesignedControls.h"
#include "system/qt/widgets/DesignedTabOrder.h"
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

    // The picture box lies inside a sunken border; the labels wrap their
    // captions at their right edges.
    ControlHooks hooks;
    hooks.finish = [](const ControlDesign& design, QWidget& control) {
        if (design.kind == Kind::PictureBox)
            static_cast<QLabel&>(control).setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        else if (design.kind == Kind::Label)
            static_cast<QLabel&>(control).setWordWrap(true);
    };
    ::buildControls(*this, Controls, twips, hooks);

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
