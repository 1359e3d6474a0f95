#include "ui/main/frmMain.h"

#include "document/AmountInFigures.h"
#include "document/AmountInWords.h"
#include "document/BoxNames.h"
#include "document/DraftChecks.h"
#include "platform/ApplicationFacts.h"
#include "platform/FailureHandling.h"
#include "platform/FileDialogs.h"
#include "platform/HelpDocumentLocator.h"
#include "platform/MessageBoxService.h"
#include "platform/Twips.h"
#include "print/AlignmentPage.h"
#include "print/PageFit.h"
#include "register/DraftAuthorizations.h"
#include "register/RegisterError.h"
#include "register/RegisterLocationSettings.h"
#include "system/qt/AfterFirstPaint.h"
#include "system/qt/Fonts.h"
#include "system/qt/ProductIcon.h"
#include "system/qt/UserInputHold.h"
#include "system/qt/widgets/DesignedAccessibleNames.h"
#include "system/qt/widgets/DesignedControls.h"
#include "system/qt/widgets/DesignedTabOrder.h"
#include "system/qt/widgets/ImageList.h"
#include "system/qt/widgets/KeyedToolBar.h"
#include "system/qt/widgets/LiteralWindowTitle.h"
#include "ui/authorization/frmAuthorization.h"
#include "ui/authorization/frmMerchantDetails.h"
#include "ui/main/BoxMark.h"
#include "ui/main/CaretBlinkLimiter.h"
#include "ui/main/FocusFrame.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/main/MainWindowUnload.h"
#include "ui/main/StatusClock.h"
#include "ui/pagesetup/frmPageSetup.h"
#include "ui/preview/frmPrintPreview.h"
#include "ui/register/frmRegisterLocation.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>

#include <span>

namespace {

using namespace MainWindowDesign;

// The client area keeps the toolbar along its top edge and the status bar
// along its bottom edge, both as wide as the area; nothing else moves.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;

    void dock(QWidget* top, int topHeight, QWidget* bottom, int bottomHeight)
    {
        m_top = top;
        m_topHeight = topHeight;
        m_bottom = bottom;
        m_bottomHeight = bottomHeight;
        redock();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        redock();
    }

private:
    void redock()
    {
        if (m_top)
            m_top->setGeometry(0, 0, width(), m_topHeight);
        if (m_bottom)
            m_bottom->setGeometry(0, height() - m_bottomHeight, width(), m_bottomHeight);
    }

    QWidget* m_top = nullptr;
    int m_topHeight = 0;
    QWidget* m_bottom = nullptr;
    int m_bottomHeight = 0;
};

} // namespace

frmMain::frmMain(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      cDlg(*services.fileDialogs, services.helpViewer), m_services(std::move(services)),
      m_fileCommands(*this, cDlg, *m_services.messages),
      m_editCommands(*m_services.clipboard, *m_services.focusedControl),
      m_printing(*m_services.printers, *m_services.messages, *m_services.failures, m_services.journal),
      m_pdfExport(*m_services.fileDialogs, m_printing),
      m_letter(*m_services.messages, *m_services.failures, *m_services.fileDialogs, *m_services.settings,
               m_services.facts->title(), *m_services.printers, m_services.now)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillo"));
    // Setting the icon decodes every size of it and sends them all to the
    // window system; the first paint does not need it.
    AfterFirstPaint::run(*this, [this] { setWindowIcon(productIcon()); });
    setFont(designedFont(W));

    buildMenus();
    buildClientArea();
    applyTabOrder(*this, TabOrder);
    for (QLineEdit* box : m_textBoxes)
        connect(box, &QLineEdit::textChanged, this, [this] { runDraftChecks(); });
    new CaretBlinkLimiter(std::chrono::seconds(10), this);
    connect(&m_printing, &Printing::busyChanged, this, &frmMain::holdInputWhileBusy);
    connect(&m_printing, &Printing::finished, this, &frmMain::closeIfAsked);
    connect(&m_letter.printing(), &Printing::busyChanged, this, &frmMain::holdInputWhileBusy);
    connect(&m_letter.printing(), &Printing::finished, this, &frmMain::closeIfAsked);
    // The marks measure the texts against the paper last looked up.
    connect(&m_printing, &Printing::defaultLayoutChanged, this, &frmMain::runDraftChecks);

    const Twips twips = Twips::forScreen();
    resize(twips.toPixels(ClientWidth), twips.toPixels(ClientHeight) + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::buildClientArea()
{
    const Twips twips = Twips::forScreen();
    auto* client = new ClientArea(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    m_client = client;
    setCentralWidget(client);

    buildToolbar();
    buildChequeFace();
    buildStatusBar();
    client->dock(tbToolBar, twips.toPixels(ToolbarHeight), sbStatusBar, twips.toPixels(StatusBarHeight));
}

void frmMain::buildChequeFace()
{
    ControlHooks hooks;
    hooks.finish = [this](const ControlDesign& design, QWidget& control) {
        switch (design.kind) {
        case Kind::Frame:
            Frame1 = static_cast<QGroupBox*>(&control);
            // The caption sits on the frame's line and interrupts it, as a
            // group box title does. Styles such as Fusion put it above the
            // line instead; the Windows style, which Qt has on every platform,
            // draws it on the line.
            if (QStyle* captionOnTheLine = QStyleFactory::create(QStringLiteral("Windows"))) {
                captionOnTheLine->setParent(Frame1);
                Frame1->setStyle(captionOnTheLine);
            }
            break;
        case Kind::TextBox: {
            auto* box = static_cast<QLineEdit*>(&control);
            box->installEventFilter(this);
            const auto number = static_cast<Box>(design.details.box);
            box->setAccessibleName(BoxNames::of(number));
            m_textBoxes[number] = box;
            break;
        }
        case Kind::Button:
            Command1 = static_cast<QPushButton*>(&control);
            Command1->setAutoDefault(false);
            Command1->setToolTip(QStringLiteral("Quick Print (%1)").arg(QString::fromLatin1(QuickPrintKey)));
            connect(Command1, &QPushButton::clicked, this,
                    Failures::guarded(*m_services.failures, [this] { Command1_Click(); }));
            break;
        case Kind::Image:
        case Kind::PictureBox: {
            // Both show their picture inside a sunken border two pixels wide.
            // Only the picture box takes the focus, and shows it; neither
            // reacts to anything.
            auto* picture = static_cast<QLabel*>(&control);
            picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            picture->setLineWidth(2);
            if (design.kind == Kind::PictureBox)
                new FocusFrame(*picture);
            break;
        }
        default:
            break;
        }
    };
    const Twips twips = Twips::forScreen();
    buildControls(*m_client, std::span(&MainWindowDesign::Frame1, 1), twips, hooks);
    buildControls(*Frame1, ChequeFace, twips, hooks);
    applyAccessibleNames(*Frame1, AccessibleNames);

    // The button's key works from every box of the window, as the button
    // itself; the menus keep their own keys and gain no item.
    auto* quickPrintKey = new QAction(this);
    quickPrintKey->setObjectName(QStringLiteral("actQuickPrintKey"));
    quickPrintKey->setShortcut(QKeySequence(QString::fromLatin1(QuickPrintKey)));
    quickPrintKey->setShortcutContext(Qt::WindowShortcut);
    addAction(quickPrintKey);
    connect(quickPrintKey, &QAction::triggered, this,
            Failures::guarded(*m_services.failures, [this] { Command1_Click(); }));
}

void frmMain::buildToolbar()
{
    const Twips twips = Twips::forScreen();
    imlToolbarIcons = new ImageList(QSize(16, 16), QColor(192, 192, 192), this);
    imlToolbarIcons->setObjectName(QStringLiteral("imlToolbarIcons"));

    tbToolBar = createKeyedToolBar(m_client, *imlToolbarIcons);
    tbToolBar->setFocusPolicy(Qt::NoFocus);

    const QSize buttonSize(twips.toPixels(ToolButtonWidth), twips.toPixels(ToolButtonHeight));
    for (const ToolbarEntry& entry : Toolbar) {
        if (!entry.key) {
            tbToolBar->addSeparator();
            continue;
        }
        QAction* button = addKeyedButton(*tbToolBar, *imlToolbarIcons, QString::fromLatin1(entry.key),
                                         QString::fromLatin1(entry.picture), buttonSize);
        tbToolBar->widgetForAction(button)->setFocusPolicy(Qt::NoFocus);
    }
    // Separators with no button after them separate nothing: the pair at the
    // right end stays among the toolbar's entries but is not drawn.
    const QList<QAction*> entries = tbToolBar->actions();
    for (auto entry = entries.crbegin(); entry != entries.crend() && (*entry)->isSeparator(); ++entry)
        (*entry)->setVisible(false);
    connect(tbToolBar, &QToolBar::actionTriggered, this,
            Failures::guarded(*m_services.failures, [this](QAction* Button) { tbToolBar_ButtonClick(Button); }));
}

void frmMain::buildStatusBar()
{
    const Twips twips = Twips::forScreen();
    sbStatusBar = new QStatusBar(m_client);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setFont(Fonts::dialogFont(8.25));
    sbStatusBar->setSizeGripEnabled(false);
    sbStatusBar->setFocusPolicy(Qt::NoFocus);

    auto makePanel = [&](const QString& name, const QString& text) {
        auto* panel = new QLabel(text, sbStatusBar);
        panel->setObjectName(name);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setMinimumWidth(twips.toPixels(StatusPanelMinimumWidth));
        return panel;
    };
    // Panel 1 takes whatever width the date and time leave it.
    sbStatusBar->addWidget(makePanel(QStringLiteral("sbStatusBar_Panel1"), QStringLiteral("Status")), 1);
    QLabel* datePanel = makePanel(QStringLiteral("sbStatusBar_Panel2"), QString());
    QLabel* timePanel = makePanel(QStringLiteral("sbStatusBar_Panel3"), QString());
    sbStatusBar->addPermanentWidget(datePanel);
    sbStatusBar->addPermanentWidget(timePanel);

    m_clock = new StatusClock(datePanel, timePanel, m_services.now, this);
    m_clock->update();
}

void frmMain::buildMenus()
{
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : Menus) {
        const QString name = QString::fromLatin1(entry.name);
        if (entry.heading) {
            menu = menuBar()->addMenu(QString::fromLatin1(entry.caption));
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            menu->menuAction()->setProperty("Index", entry.index);
            continue;
        }
        QAction* item = qstrcmp(entry.caption, "-") == 0 ? menu->addSeparator()
                                                         : menu->addAction(QString::fromLatin1(entry.caption));
        item->setObjectName(name);
        item->setProperty("Index", entry.index);
        if (entry.shortcut)
            item->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        Failures::Step command;
        if (entry.handler)
            command = [this, handler = entry.handler] { (this->*handler)(); };
        else if (entry.arrayHandler)
            command = [this, handler = entry.arrayHandler, index = static_cast<std::int16_t>(entry.index)] {
                (this->*handler)(index);
            };
        if (command)
            connect(item, &QAction::triggered, this, Failures::guarded(*m_services.failures, command));
    }
}

void frmMain::centreOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void frmMain::Load()
{
    // Form_Load runs New, which leaves the focus in Text1.
    Form_Load();
    centreOnScreen();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    // A text box claims Ctrl+X, Ctrl+C and Ctrl+V for its own editing; here
    // they belong to the Edit menu, so the box is told it does not want them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Load()
{
    mFile_Click(FileCommands::New);
    cDlg.InitDir = fileDialogFolder(*m_services.facts);
    cDlg.Filter = QStringLiteral("Any File (*.*)|*.*|Quillo Files (*.qlo)|*.qlo");
    cDlg.FilterIndex = 2;
    cDlg.Flags = CommonDialog::FileMustExist | CommonDialog::HideReadOnly | CommonDialog::OverwritePrompt;
    cDlg.CancelError = true;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // A page on its way is never abandoned: the merchant must learn what
    // became of it, so the window closes once the answer has been told. A
    // printer look-up can simply be dropped.
    for (Printing* printing : {&m_printing, &m_letter.printing()}) {
        if (printing->isBusy() && !printing->canStopSafely()) {
            m_closeRequested = true;
            event->ignore();
            return;
        }
    }
    m_printing.stop();
    m_letter.printing().stop();
    std::int16_t Cancel = 0;
    Failures::reportTo(*m_services.failures, [this, &Cancel] { Form_Unload(Cancel); });
    // Cancel is never set: the window always unloads.
    QMainWindow::closeEvent(event);
    Q_EMIT unloaded();
}

void frmMain::Form_Unload(std::int16_t& /*Cancel*/)
{
    const Twips twips = Twips::forScreen();
    const QRect outer = frameGeometry();
    const WindowPlacement placement{twips.fromPixels(outer.x()), twips.fromPixels(outer.y()),
                                    twips.fromPixels(outer.width()), twips.fromPixels(outer.height())};
    MainWindowUnload::run(*m_services.windows, *m_services.settings, m_services.facts->title(), isMinimized(),
                          placement);
}

void frmMain::mFile_Click(std::int16_t Index)
{
    const CheckTexts before = checkTexts();
    m_fileCommands.run(Index);
    // Another cheque has another authorization: the register's, until one is filled in.
    if (Index == FileCommands::New || (Index == FileCommands::Open && checkTexts() != before))
        m_authorization.reset();
    // A box whose text stayed the same reports no change, yet the date is
    // measured against a today that may have moved on.
    if (Index == FileCommands::New || Index == FileCommands::Open)
        runDraftChecks();
}

void frmMain::mnuFilePreview_Click()
{
    // The page is laid out by Quick Print's own code for the default
    // printer's paper, and shown instead of printed.
    m_printing.withDefaultLayout([this](const QPageLayout& layout) {
        const CheckTexts texts = checkTexts();
        const PrintedCaptions captions = printedCaptions();
        const PageSetup setup = pageSetup();
        std::vector<QRectF> inClearBand;
        const Printing::Composed page = Printing::compose(layout, [&](PrintSurface& surface) {
            return QuickPrint::compose(texts, captions, surface, setup, &inClearBand);
        });
        frmPrintPreview preview(page.page, page.overflows, this, inClearBand);
        connect(&preview, &frmPrintPreview::printRequested, this, [this, &preview] {
            const SentDraft draft = sentDraft(SentDraft::Kind::PreviewPrint);
            m_printing.toDefaultPrinter(
                QuickPrint::page(draft.texts, printedCaptions(), draft.setup), QuickPrint::Confirmation,
                [shown = QPointer<frmPrintPreview>(&preview)](const PrintOutcome& outcome) {
                    if (outcome.printed() && shown)
                        shown->accept();
                },
                draft);
        });
        preview.exec();
    });
}

void frmMain::mnuFileExportPdf_Click()
{
    m_pdfExport.run(sentDraft(SentDraft::Kind::PdfFile), printedCaptions(), cDlg.InitDir);
}

void frmMain::mnuFilePageSetup_Click()
{
    frmPageSetup dialog(
        pageSetup(), [this](const PageSetup& setup) { printAlignmentPage(setup); }, printedCaptions(),
        m_printing.defaultLayout(), this);
    // The room shown is for the paper last looked up until the printer answers.
    connect(&m_printing, &Printing::defaultLayoutChanged, &dialog, &frmPageSetup::setPaper);
    m_printing.refreshDefaultLayout();
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pageSetup = dialog.setup();
    m_pageSetup->save(*m_services.settings, m_services.facts->title());
    runDraftChecks();
}

const PageSetup& frmMain::pageSetup() const
{
    if (!m_pageSetup)
        m_pageSetup = PageSetup::load(*m_services.settings, m_services.facts->title());
    return *m_pageSetup;
}

void frmMain::printAlignmentPage(const PageSetup& setup)
{
    // The dialog stays open whatever happens, so a failure is reported here.
    Failures::reportTo(*m_services.failures, [this, &setup] {
        m_printing.toDefaultPrinter(
            [setup](PrintSurface& surface) {
                AlignmentPage::compose(surface, setup);
                return std::vector<QuickPrint::Overflow>();
            },
            QStringLiteral("The alignment page has been sent to the printer."));
    });
}

void frmMain::mExit_Click()
{
    m_services.endProgram();
}

void frmMain::mnuEditCut_Click()
{
    m_editCommands.cut();
}

void frmMain::mnuEditCopy_Click()
{
    m_editCommands.copy();
}

void frmMain::mnuEditPaste_Click()
{
    m_editCommands.paste();
}

void frmMain::mnuEditAmountWords_Click()
{
    const QString figures = withoutTrailingSpaces(Text(Box::AmountInFigures)->text());
    const std::optional<qint64> cents = AmountInFigures::read(figures);
    if (!cents) {
        m_services.messages->show(
            QStringLiteral("The amount in figures \"%1\" could not be read. Type it like 1,234.56.").arg(figures));
        return;
    }
    // Replacing the selection, rather than setting the text, keeps the box's
    // undo history; the focus goes there, so that Ctrl+Z brings back what the
    // box held.
    QLineEdit* words = Text(Box::AmountInWords);
    words->setFocus();
    words->selectAll();
    words->insert(AmountInWords::write(*cents));
}

void frmMain::markOpened(const PerBox<QString>& reasons)
{
    for (Box box : AllBoxes) {
        m_openedMarks[box].reset();
        if (!reasons[box].isEmpty())
            m_openedMarks[box] = OpenedMark{Text(box)->text(), reasons[box]};
    }
    runDraftChecks();
}

void frmMain::runDraftChecks()
{
    const CheckTexts texts = checkTexts();
    DraftChecks::Reasons reasons = DraftChecks::run(texts, m_services.now().date());
    const auto add = [&reasons](const PerBox<QString>& more) {
        for (Box box : AllBoxes) {
            if (!more[box].isEmpty())
                reasons[box] += (reasons[box].isEmpty() ? QString() : QStringLiteral(" ")) + more[box];
        }
    };
    for (Box box : AllBoxes) {
        std::optional<OpenedMark>& opened = m_openedMarks[box];
        if (opened && opened->text != Text(box)->text())
            opened.reset();
        if (opened)
            reasons[box] += (reasons[box].isEmpty() ? QString() : QStringLiteral(" ")) + opened->reason;
    }
    if (!DraftChecks::isUntouched(texts)) {
        add(PageFit::reasons(texts, printedCaptions(), pageSetup(), m_printing.defaultLayout()));
        // An authorization filled in here for another customer's draft.
        if (m_authorization)
            add(m_authorizedDraft.marks(texts));
        // What the register says of it: a payment perhaps made twice, an
        // authorization for another amount or payee, or one used up.
        if (m_services.journal)
            add(m_services.journal->marks(sentDraft(SentDraft::Kind::QuickPrint)));
    }
    for (Box box : AllBoxes)
        showBoxMark(*Text(box), reasons[box]);
}

void frmMain::mnuEditAuthorization_Click()
{
    const SentDraft draft = sentDraft(SentDraft::Kind::QuickPrint);
    std::optional<AuthorizationRecord> record = draft.authorization;
    if (!record && m_services.authorizations) {
        try {
            record = m_services.authorizations->authorizationOf(draft);
        } catch (const RegisterError&) {
            // Said when the draft is printed; the record can be filled in meanwhile.
        }
    }
    const QString application = m_services.facts->title();
    const bool offered = frmAuthorization::offeredIn(*m_services.settings, application);
    frmAuthorization dialog(record ? *record : AuthorizationRecord::forDraft(draft.texts, m_services.now()), !record,
                            offered, frmAuthorization::Use::Edit, *m_services.fileDialogs, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_authorization = dialog.record();
    m_authorizedDraft = AuthorizedDraft(draft.texts);
    if (dialog.offered() != offered)
        frmAuthorization::saveOffered(*m_services.settings, application, dialog.offered());
    runDraftChecks();
}

void frmMain::mnuFileMerchantDetails_Click()
{
    frmMerchantDetails dialog(MerchantDetails::load(*m_services.settings, m_services.facts->title()), this);
    if (dialog.exec() == QDialog::Accepted)
        dialog.details().save(*m_services.settings, m_services.facts->title());
}

void frmMain::mnuFileRegisterLocation_Click()
{
    const QString application = m_services.facts->title();
    frmRegisterLocation dialog(RegisterLocationSettings::load(*m_services.settings, application, QString()),
                               *m_services.fileDialogs, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RegisterLocationSettings::save(dialog.location(), *m_services.settings, application);
    if (m_services.moveRegister)
        m_services.moveRegister(dialog.location(), dialog.password());
}

void frmMain::mnuFileCopyRegister_Click()
{
    if (m_services.copyRegisterToServer)
        m_services.copyRegisterToServer();
}

void frmMain::mnuFileOfficePassphrase_Click()
{
    if (m_services.changeOfficePassphrase)
        m_services.changeOfficePassphrase();
}

void frmMain::mnuFileConfirmationLetter_Click()
{
    m_letter.run(m_services.authorizations, checkTexts(), cDlg.InitDir, this);
}

void frmMain::mnuViewWebBrowser_Click()
{
    m_services.openBrowserWindow(m_services.homePageAddress);
}

void frmMain::openDraft(const CheckTexts& texts)
{
    m_fileCommands.openDraft(texts);
    m_authorization.reset();
    runDraftChecks();
}

void frmMain::printDraftAgain(const CheckTexts& texts)
{
    openDraft(texts);
    Failures::reportTo(*m_services.failures, [this] { Command1_Click(); });
}

void frmMain::mnuViewRegister_Click()
{
    if (m_services.openRegisterWindow)
        m_services.openRegisterWindow(this);
}

void frmMain::mnuHelpContents_Click()
{
    cDlg.HelpCommand = CommonDialog::HelpForceFile;
    cDlg.HelpFile = HelpDocumentLocator::QuilloHelpFile;
    cDlg.ShowHelp();
}

void frmMain::mnuHelpAbout_Click()
{
    m_services.showAboutBox(this);
}

CheckTexts frmMain::texts() const
{
    return checkTexts();
}

void frmMain::setText(Box box, const QString& text)
{
    // The box shows the beginning of its text, not the fill spaces at its end.
    Text(box)->setText(text);
    Text(box)->setCursorPosition(0);
}

void frmMain::setCaption(const QString& caption)
{
    setLiteralWindowTitle(*this, caption);
}

void frmMain::focusFirstBox()
{
    // setText has already put the caret at the start of every box.
    Text(Box::PayorLine1)->setFocus();
}

void frmMain::Command1_Click()
{
    const SentDraft draft = sentDraft(SentDraft::Kind::QuickPrint);
    m_printing.toDefaultPrinter(QuickPrint::page(draft.texts, printedCaptions(), draft.setup), QuickPrint::Confirmation,
                                {}, draft);
}

SentDraft frmMain::sentDraft(SentDraft::Kind kind) const
{
    const CheckTexts texts = checkTexts();
    // The window's record goes only with the draft it was filled in for.
    const bool applies = m_authorization && m_authorizedDraft.appliesTo(texts);
    return {texts, pageSetup(), kind, cDlg.FileName, applies ? m_authorization : std::nullopt};
}

void frmMain::holdInputWhileBusy(bool busy)
{
    m_inputHold = busy ? std::make_unique<UserInputHold>() : nullptr;
}

void frmMain::closeIfAsked()
{
    if (std::exchange(m_closeRequested, false))
        close();
}

void frmMain::tbToolBar_ButtonClick(QAction* Button)
{
    // Ignore-errors mode: a failure inside the command is dropped silently,
    // together with the rest of that command.
    Failures::ignoreErrors({[this, Button] {
        const QString key = Button->data().toString();
        if (key == QLatin1String("New"))
            mFile_Click(FileCommands::New);
        else if (key == QLatin1String("Open"))
            mFile_Click(FileCommands::Open);
        else if (key == QLatin1String("Save"))
            mFile_Click(FileCommands::Save);
        else if (key == QLatin1String("Print"))
            // A print that fails is reported as from the Quick Print button:
            // a silent toolbar button would look as if the check went out.
            Failures::reportTo(*m_services.failures, [this] { Command1_Click(); });
        else if (key == QLatin1String("Cut"))
            mnuEditCut_Click();
        else if (key == QLatin1String("Copy"))
            mnuEditCopy_Click();
        else if (key == QLatin1String("Paste"))
            mnuEditPaste_Click();
    }});
}

CheckTexts frmMain::checkTexts() const
{
    CheckTexts texts;
    for (Box box : AllBoxes)
        texts[box] = m_textBoxes[box]->text();
    return texts;
}

PrintedCaptions frmMain::printedCaptions() const
{
    return {label("Label4")->text(),  label("Label5")->text(),  label("Label8")->text(), label("Label9")->text(),
            label("Label10")->text(), label("Label11")->text(), label("Label12")->text()};
}

QLineEdit* frmMain::Text(Box box) const
{
    return m_textBoxes[box];
}

QLabel* frmMain::label(const char* name) const
{
    return Frame1->findChild<QLabel*>(QString::fromLatin1(name));
}
