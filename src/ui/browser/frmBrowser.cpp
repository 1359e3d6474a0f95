#include "ui/browser/frmBrowser.h"

#include "platform/FailureHandling.h"
#include "platform/QuilloError.h"
#include "platform/WebBrowserControl.h"
#include "platform/WebBrowserControlFactory.h"
#include "system/qt/Fonts.h"
#include "system/qt/WindowList.h"
#include "system/qt/widgets/DesignedAccessibleNames.h"
#include "system/qt/widgets/DesignedControls.h"
#include "system/qt/widgets/DesignedTabOrder.h"
#include "system/qt/widgets/ImageList.h"
#include "system/qt/widgets/KeyedToolBar.h"
#include "system/qt/widgets/LiteralWindowTitle.h"
#include "ui/browser/BrowserWindowDesign.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <memory>

namespace {

using namespace BrowserWindowDesign;

// A control takes a new width or height in twips, and rejects one below zero,
// keeping the size it has.
void checkSize(int twips)
{
    if (twips < 0)
        throw QuilloError(QStringLiteral("A control cannot be %1 twips wide or high.").arg(twips));
}

void setControlWidth(QWidget& control, int width, const Twips& twips)
{
    checkSize(width);
    control.resize(twips.toPixels(width), control.height());
}

void setControlHeight(QWidget& control, int height, const Twips& twips)
{
    checkSize(height);
    control.resize(control.width(), twips.toPixels(height));
}

} // namespace

frmBrowser::frmBrowser(BrowserServices services)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(services), m_twips(Twips::forScreen())
{
    Q_ASSERT(m_services.controls && m_services.windows && m_services.failures);
    setObjectName(QStringLiteral("frmBrowser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setFont(Fonts::dialogFont(8.25));

    buildControls();
    buildToolbar();
    brwWebBrowser = m_services.controls->create(*m_browserArea);
    applyTabOrder(*this, TabOrder);
    connectHandlers();
    resize(pixels(ClientWidth), pixels(ClientHeight));
}

frmBrowser::~frmBrowser()
{
    // Children are taken apart after this body; none of them may reach a
    // handler of the window by then.
    timTimer->stop();
    brwWebBrowser->disconnect(this);
    cboAddress->disconnect(this);
    tbToolBar->disconnect(this);
}

void frmBrowser::buildControls()
{
    imlToolbarIcons = new ImageList(QSize(ImageSize, ImageSize), QColor(MaskRed, MaskGreen, MaskBlue), this);
    imlToolbarIcons->setObjectName(QStringLiteral("imlToolbarIcons"));

    ControlHooks hooks;
    hooks.make = [this](const ControlDesign& design, QWidget& parent) -> QWidget* {
        return design.kind == Kind::Toolbar ? createKeyedToolBar(&parent, *imlToolbarIcons) : nullptr;
    };
    ::buildControls(*this, Controls, m_twips, hooks);
    m_browserArea = findChild<QWidget*>(QStringLiteral("brwWebBrowser"));
    picAddress = findChild<QWidget*>(QStringLiteral("picAddress"));
    lblAddress = findChild<QLabel*>(QStringLiteral("lblAddress"));
    cboAddress = findChild<QComboBox*>(QStringLiteral("cboAddress"));
    tbToolBar = findChild<QToolBar*>(QStringLiteral("tbToolBar"));

    // The list is the window's to keep: typing never adds to it, and no
    // completion changes what the user types.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setCompleter(nullptr);
    lblAddress->setBuddy(cboAddress);
    applyAccessibleNames(*this, AccessibleNames);
    // Its text field is the same box to a screen reader; its list is the
    // addresses visited in this window.
    cboAddress->lineEdit()->setAccessibleName(cboAddress->accessibleName());
    cboAddress->view()->setAccessibleName(QStringLiteral("Visited addresses"));

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(TimerInterval);
}

void frmBrowser::buildToolbar()
{
    const QSize buttonSize(pixels(ToolButtonWidth), pixels(ToolButtonHeight));
    for (const ToolButton& entry : ToolButtons)
        addKeyedButton(*tbToolBar, *imlToolbarIcons, QString::fromLatin1(entry.key), QString::fromLatin1(entry.image),
                       buttonSize);
}

void frmBrowser::connectHandlers()
{
    FailureReporter& failures = *m_services.failures;
    m_addressSelected = Failures::guarded(failures, [this] { cboAddress_Click(); });
    connect(cboAddress, &QComboBox::activated, this, [this] { m_addressSelected(); });
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);

    connect(tbToolBar, &QToolBar::actionTriggered, this,
            Failures::guarded(failures, [this](QAction* Button) { tbToolBar_ButtonClick(Button); }));
    // A tick that fails would fail again 5 ms later: the timer stops before
    // the failure is reported, so that it is reported once.
    connect(timTimer, &QTimer::timeout, this, [this, &failures] {
        QString failure;
        if (!Failures::succeeds([this] { timTimer_Timer(); }, &failure)) {
            timTimer->stop();
            failures.report(failure);
        }
    });
    connect(brwWebBrowser, &WebBrowserControl::DownloadComplete, this,
            Failures::guarded(failures, [this] { brwWebBrowser_DownloadComplete(); }));
    connect(brwWebBrowser, &WebBrowserControl::NavigateComplete2, this,
            Failures::guarded(failures, [this](const QString& URL) { brwWebBrowser_NavigateComplete2(URL); }));
    connect(brwWebBrowser, &WebBrowserControl::TitleChange, this,
            Failures::guarded(failures, [this](const QString& Text) { brwWebBrowser_TitleChange(Text); }));
}

void frmBrowser::Show()
{
    if (!m_loaded) {
        m_loaded = true;
        m_services.windows->add(this);
        Form_Load();
    }
    show();
}

void frmBrowser::Form_Load()
{
    Failures::ignoreErrors({
        [&] { show(); },
        [&] { tbToolBar->repaint(); },
        [&] { Form_Resize(); },
        [&] { cboAddress->move(pixels(50), pixels(twips(lblAddress->y()) + twips(lblAddress->height()) + 15)); },
    });
    if (StartingAddress.isEmpty())
        return;
    Failures::ignoreErrors({
        [&] { cboAddress->setEditText(StartingAddress); },
        [&] { cboAddress->addItem(cboAddress->currentText()); },
        [&] { timTimer->start(); },
        [&] { brwWebBrowser->Navigate(StartingAddress); },
    });
}

void frmBrowser::Form_Resize()
{
    Failures::ignoreErrors({
        [&] { setControlWidth(*cboAddress, scaleWidth() - 100, m_twips); },
        [&] { setControlWidth(*m_browserArea, scaleWidth() - 100, m_twips); },
        [&] {
            const int addressBottom = twips(picAddress->y()) + twips(picAddress->height());
            setControlHeight(*m_browserArea, scaleHeight() - addressBottom - 100, m_twips);
        },
    });
}

void frmBrowser::cboAddress_Click()
{
    if (ListUpdating)
        return;
    timTimer->start();
    brwWebBrowser->Navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int KeyAscii)
{
    Failures::ignoreErrors({
        [&] {
            if (KeyAscii == 13)
                cboAddress_Click();
        },
    });
}

void frmBrowser::tbToolBar_ButtonClick(QAction* Button)
{
    const QString key = Button->data().toString();
    Failures::ignoreErrors({
        [&] { timTimer->start(); },
        [&] { runToolbarCommand(key); },
    });
}

void frmBrowser::runToolbarCommand(const QString& key)
{
    if (key == QLatin1String("Back")) {
        brwWebBrowser->GoBack();
    } else if (key == QLatin1String("Forward")) {
        brwWebBrowser->GoForward();
    } else if (key == QLatin1String("Refresh")) {
        brwWebBrowser->Refresh();
    } else if (key == QLatin1String("Home")) {
        brwWebBrowser->GoHome();
    } else if (key == QLatin1String("Search")) {
        brwWebBrowser->GoSearch();
    } else if (key == QLatin1String("Stop")) {
        Failures::ignoreErrors({
            [&] { timTimer->stop(); },
            [&] { brwWebBrowser->Stop(); },
            [&] { setLiteralWindowTitle(*this, brwWebBrowser->LocationName()); },
        });
    }
}

void frmBrowser::timTimer_Timer()
{
    if (brwWebBrowser->Busy()) {
        setWindowTitle(QStringLiteral("Working..."));
    } else {
        timTimer->stop();
        setLiteralWindowTitle(*this, brwWebBrowser->LocationName());
    }
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    Failures::ignoreErrors({
        [&] { setLiteralWindowTitle(*this, brwWebBrowser->LocationName()); },
    });
}

void frmBrowser::brwWebBrowser_TitleChange(const QString& /*Text*/)
{
    // The engine may name the page only after the load has ended and the
    // timer has stopped; while it is busy the timer keeps the caption.
    Failures::ignoreErrors({
        [&] {
            if (!brwWebBrowser->Busy())
                setLiteralWindowTitle(*this, brwWebBrowser->LocationName());
        },
    });
}

void frmBrowser::brwWebBrowser_NavigateComplete2(const QString& /*URL*/)
{
    // The notification's own address is not used: the list takes the address
    // that the control reports for the page it shows.
    int match = -1;
    Failures::ignoreErrors({
        [&] { setLiteralWindowTitle(*this, brwWebBrowser->LocationName()); },
        [&] {
            const QString location = brwWebBrowser->LocationURL();
            for (int i = 0; i < cboAddress->count(); ++i) {
                if (cboAddress->itemText(i) == location) {
                    match = i;
                    break;
                }
            }
        },
        [&] { ListUpdating = true; },
        [&] {
            if (match >= 0)
                cboAddress->removeItem(match);
        },
        [&] { cboAddress->insertItem(0, brwWebBrowser->LocationURL()); },
        [&] { selectAddress(0); },
        [&] { ListUpdating = false; },
    });
}

// Selecting an entry by program shows it in the box and raises the list's
// selection event, just as the user's selection does.
void frmBrowser::selectAddress(int index)
{
    cboAddress->setCurrentIndex(index);
    cboAddress->setEditText(cboAddress->itemText(index));
    m_addressSelected();
}

void frmBrowser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The toolbar and the address panel are aligned to the top edge: always
    // as wide as the window.
    tbToolBar->resize(width(), tbToolBar->height());
    picAddress->resize(width(), picAddress->height());
    Form_Resize();
}

bool frmBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == cboAddress || watched == cboAddress->lineEdit()) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cboAddress_KeyPress(13);
            // The box's own Enter handling would pick a matching list entry and
            // open it a second time; Enter has done its work here.
            return true;
        }
        if (!key->text().isEmpty())
            cboAddress_KeyPress(key->text().at(0).unicode());
    }
    return QWidget::eventFilter(watched, event);
}

frmBrowser* openBrowserWindow(const QString& startingAddress, const BrowserServices& services)
{
    auto window = std::make_unique<frmBrowser>(services);
    window->StartingAddress = startingAddress;
    frmBrowser* opened = window.release();
    opened->Show();
    return opened;
}
