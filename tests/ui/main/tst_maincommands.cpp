#include "fakes/AsOrdinaryUser.h"
#include "fakes/PageItems.h"
#include "fakes/TestFiles.h"
#include "system/qt/Fonts.h"
#include "system/qt/QtApplicationFacts.h"
#include "system/qt/QtMessageBoxService.h"
#include "ui/authorization/frmAuthorization.h"
#include "ui/main/MainWindowFixture.h"
#include "ui/pagesetup/frmPageSetup.h"
#include "ui/preview/PagePreview.h"
#include "ui/preview/frmPrintPreview.h"
#include "ui/register/frmRegisterLocation.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

namespace {

// Keeps every draft a print command would send, and sends none.
class KeptDrafts : public DraftJournal {
public:
    std::unique_ptr<DraftTicket> maySend(const SentDraft& draft) override
    {
        drafts.append(draft);
        return nullptr;
    }
    PerBox<QString> marks(const SentDraft&) override { return {}; }

    QList<SentDraft> drafts;
};

// Runs `steps` on the Register Location dialog once the command has opened
// it; a failed check still closes the dialog, so that the test goes on to
// report it.
template <typename Steps> void onRegisterLocation(QObject* context, Steps steps)
{
    QTimer::singleShot(0, context, [steps] {
        auto* dialog = qobject_cast<frmRegisterLocation*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto closed = qScopeGuard([dialog] {
            if (dialog->isVisible())
                dialog->reject();
        });
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        steps(dialog);
    });
}

} // namespace

// The cheque-entry window's commands as a merchant reaches them: menus,
// shortcuts and toolbar buttons, against fake dialogs, settings and windows.
class TestMainCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void init();
    void cleanup();

    void loadStartsANewChequeAndSetsUpTheDialogs();
    void dialogsStartInTheDocumentsFolderOfAnInstalledQuillo();
    void programFolderTakesFiles_data();
    void programFolderTakesFiles();
    void saveNewOpenRoundTripFromTheKeyboard();
    void damagedExtensionMarksTheCutBoxUntilItChanges();
    void toolbarDispatchesByKey_data();
    void toolbarDispatchesByKey();
    void toolbarSaveWritesWithoutDialogWhenAFileIsCurrent();
    void toolbarDropsFailures();
    void toolbarPrintReportsItsFailure();
    void ctrlPPrintsFromAnywhere_data();
    void ctrlPPrintsFromAnywhere();
    void logoShowsItHasTheFocus();
    void longPasteIsKeptWhole();
    void captionShowsAFileNameLiterally();
    void cutCopyPasteWithRealKeys();
    void editCommandOnAButtonReportsAndKeepsTexts();
    void closingUnloadsOthersAndWritesPlacement();
    void closingMinimisedWritesNothing();
    void exitEndsAtOnceWithoutUnloading();
    void sideWindowsOpenFromTheirMenus();
    void helpContentsOpensTheFixedHelpFile();
    void messageShowsItsTextAsTyped();
    void previewShowsThePageAndPrintsFromIt();
    void exportWritesThePageQuicksPrintWouldPrint();
    void marksFollowTheTextAndNeverStopAPrint();
    void amountInWordsFillsTheWords_data();
    void amountInWordsFillsTheWords();
    void pageSetupIsKeptAndUsedByQuickPrint();
    void registerLocationIsChosenFromTheKeyboard();
    void registerLocationSaysWhatTheServerNeeds_data();
    void registerLocationSaysWhatTheServerNeeds();
    void anAuthorizationStaysWithItsDraft_data();
    void anAuthorizationStaysWithItsDraft();

private:
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier);
    QAction* toolbarButton(const QString& key);

    MainWindowFixture* m_fixture = nullptr;
    std::unique_ptr<frmMain> m_window;
    QTemporaryDir m_dir;
};

void TestMainCommands::init()
{
    m_fixture = new MainWindowFixture;
    m_window = m_fixture->makeWindow();
    m_fixture->windows.names = {QStringLiteral("frmMain")};
    m_window->Load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QApplication::clipboard()->clear();
}

void TestMainCommands::cleanup()
{
    m_window.reset();
    delete m_fixture;
}

void TestMainCommands::press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(target, key, modifiers);
}

QAction* TestMainCommands::toolbarButton(const QString& key)
{
    for (QAction* action : m_window->findChild<QToolBar*>("tbToolBar")->actions()) {
        if (action->data().toString() == key)
            return action;
    }
    return nullptr;
}

void TestMainCommands::loadStartsANewChequeAndSetsUpTheDialogs()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral(" (New File) --Quillo"));
    for (int k = 1; k <= 14; ++k)
        QCOMPARE(m_window->Text(Box(k))->text(), QString()); // Text9's "$" included
    QCOMPARE(m_window->cDlg.FileName, QString());
    QCOMPARE(m_window->cDlg.InitDir, m_fixture->facts.folder);
    QCOMPARE(m_window->cDlg.Filter, QStringLiteral("Any File (*.*)|*.*|Quillo Files (*.qlo)|*.qlo"));
    QCOMPARE(m_window->cDlg.FilterIndex, 2);
    QCOMPARE(m_window->cDlg.Flags, 4102);
    QCOMPARE(m_window->cDlg.CancelError, true);
    QVERIFY(m_fixture->dialogs.requests.isEmpty());
}

void TestMainCommands::dialogsStartInTheDocumentsFolderOfAnInstalledQuillo()
{
    MainWindowFixture installed;
    installed.facts.folderTakesFiles = false;
    auto window = installed.makeWindow();
    window->Load();
    QCOMPARE(window->cDlg.InitDir, installed.facts.documents);

    installed.dialogs.cancel();
    window->Text(Box::PayorLine1)->setText(QStringLiteral("Maria L. Gonzalez"));
    window->mFile_Click(2);
    QCOMPARE(installed.dialogs.requests.first().initialFolder, installed.facts.documents);
    QCOMPARE(installed.dialogs.requests.first().fileName, QStringLiteral("Maria L. Gonzalez.qlo"));
}

void TestMainCommands::programFolderTakesFiles_data()
{
    QTest::addColumn<QString>("layout"); // build: a folder of its own; installed: <prefix>/bin beside share/quillo
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("takesFiles");
    QTest::newRow("build tree") << "build" << false << true;
    QTest::newRow("installation the user may write to") << "installed" << false << false;
    QTest::newRow("missing folder") << "missing" << false << false;
    // Permission bits stop ordinary users only; root runs the row as one.
    QTest::newRow("read-only program folder") << "build" << true << false;
}

void TestMainCommands::programFolderTakesFiles()
{
    QFETCH(QString, layout);
    QFETCH(bool, readOnly);
    QFETCH(bool, takesFiles);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("prefix/bin"));
    if (layout != QLatin1String("missing"))
        QVERIFY(QDir().mkpath(bin));
    if (layout == QLatin1String("installed"))
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("prefix/share/quillo/help"))));
    if (!readOnly) {
        QCOMPARE(folderTakesFiles(bin), takesFiles);
        return;
    }
    QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(runAsOrdinaryUser(root.path(), [&] {
        QVERIFY(!QFile(bin + QStringLiteral("/probe")).open(QIODevice::WriteOnly));
        QCOMPARE(folderTakesFiles(bin), takesFiles);
    }));
}

void TestMainCommands::saveNewOpenRoundTripFromTheKeyboard()
{
    QTest::keyClicks(m_window->Text(Box::PayorLine1), QStringLiteral("Acme Supply"));
    press(m_window->Text(Box::PayorLine1), Qt::Key_Tab, Qt::NoModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("PO Box 9"));
    m_window->Text(Box::CheckNumber)->setText(QStringLiteral("1042"));

    const QString path = m_dir.filePath(QStringLiteral("Acme Supply.qlo"));
    m_fixture->dialogs.answer(path);
    press(m_window->Text(Box::PayorLine2), Qt::Key_S);
    QCOMPARE(m_fixture->dialogs.requests.size(), 1);
    QCOMPARE(m_fixture->dialogs.requests.first().fileName, QStringLiteral("Acme Supply.qlo"));
    QCOMPARE(m_fixture->dialogs.requests.first().initialFolder, m_fixture->facts.folder);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("(Acme Supply.qlo) --Quillo"));
    const QByteArray bytes = TestFiles::read(path);
    QCOMPARE(bytes.size(), 480);
    QCOMPARE(bytes.mid(32, 32), QByteArray("Acme Supply").leftJustified(32, ' '));
    QCOMPARE(bytes.mid(64, 32), QByteArray("PO Box 9").leftJustified(32, ' '));

    press(m_window->Text(Box::PayorLine2), Qt::Key_N);
    QCOMPARE(m_window->windowTitle(), QStringLiteral(" (New File) --Quillo"));
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(), QString());
    QTRY_VERIFY(m_window->Text(Box::PayorLine1)->hasFocus());

    m_fixture->dialogs.answer(path);
    press(m_window->Text(Box::BankLine2), Qt::Key_O);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("(Acme Supply.qlo) --Quillo"));
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(),
             QStringLiteral("Acme Supply").leftJustified(32, QLatin1Char(' ')));
    QCOMPARE(m_window->Text(Box::CheckNumber)->text(), QStringLiteral("1042").leftJustified(32, QLatin1Char(' ')));
    QCOMPARE(m_window->cDlg.FileName, path);
    // Every box shows the beginning of its text, not its fill spaces, and
    // typing goes on at the start of the first box.
    for (int k = 1; k <= 14; ++k)
        QCOMPARE(m_window->Text(Box(k))->cursorPosition(), 0);
    QTRY_VERIFY(m_window->Text(Box::PayorLine1)->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("The "));
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(),
             QStringLiteral("The Acme Supply").leftJustified(36, QLatin1Char(' ')));
}

void TestMainCommands::damagedExtensionMarksTheCutBoxUntilItChanges()
{
    typeSampleCheque(*m_window);
    m_window->Text(Box::Payee)->setText(QStringLiteral("Acme Supply Company of Springfield"));
    const QString path = m_dir.filePath(QStringLiteral("acme.qlo"));
    m_fixture->dialogs.answer(path);
    press(m_window->Text(Box::Memo), Qt::Key_S);
    QByteArray bytes = TestFiles::read(path);
    QVERIFY(bytes.size() > 480);
    bytes.chop(1);
    QVERIFY(TestFiles::write(path, bytes));

    press(m_window->Text(Box::Memo), Qt::Key_N);
    m_fixture->dialogs.answer(path);
    press(m_window->Text(Box::PayorLine1), Qt::Key_O);
    QCOMPARE(m_fixture->messages.shown,
             QStringList{QStringLiteral("The check was opened from \"%1\", but the part of the file that keeps long "
                                        "values whole is damaged, so these boxes show only what the rest of the file "
                                        "keeps, and may be cut:\nPay to the Order of: the first 32 characters.\nThe "
                                        "boxes are marked: type their whole values before printing the check.")
                             .arg(path)});
    QLineEdit* payee = m_window->Text(Box::Payee);
    QCOMPARE(payee->text(), QStringLiteral("Acme Supply Company of Springfie"));
    QCOMPARE(payee->accessibleDescription(),
             QStringLiteral("The file's whole copy of this value is damaged: the box shows the first 32 characters "
                            "the file keeps, and may be cut. Type the whole value before printing."));
    QCOMPARE(m_window->Text(Box::PayorLine1)->accessibleDescription(), QString());

    // Once the merchant has typed the value again, the mark goes.
    payee->setText(QStringLiteral("Acme Supply Company of Springfield"));
    QCOMPARE(payee->accessibleDescription(), QString());
    payee->setText(QStringLiteral("Acme Supply Company of Springfie"));
    QCOMPARE(payee->accessibleDescription(), QString());
}

void TestMainCommands::toolbarDispatchesByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<int>("printed");
    QTest::newRow("New") << "New" << 0 << 0;
    QTest::newRow("Open") << "Open" << 1 << 0;
    QTest::newRow("Save") << "Save" << 1 << 0; // a new cheque: the save prompt
    QTest::newRow("Print") << "Print" << 0 << 1;
    QTest::newRow("unknown key") << "print" << 0 << 0;
}

void TestMainCommands::toolbarDispatchesByKey()
{
    QFETCH(QString, key);
    QFETCH(int, dialogs);
    QFETCH(int, printed);
    m_window->Text(Box::PayorLine3)->setText(QStringLiteral("kept"));
    QAction button;
    button.setData(key);
    m_window->tbToolBar_ButtonClick(&button);
    QCOMPARE(m_fixture->dialogs.requests.size(), dialogs);
    QCOMPARE(int(m_fixture->printers.printer.pages.size()), printed);
    QCOMPARE(m_window->Text(Box::PayorLine3)->text(), key == QLatin1String("New") ? QString() : QStringLiteral("kept"));
    QVERIFY(m_fixture->failures.reports.isEmpty());
}

void TestMainCommands::toolbarSaveWritesWithoutDialogWhenAFileIsCurrent()
{
    const QString path = m_dir.filePath(QStringLiteral("current.qlo"));
    m_fixture->dialogs.answer(path);
    m_window->mFile_Click(3);
    QCOMPARE(m_fixture->dialogs.requests.size(), 1);

    m_window->Text(Box::Payee)->setText(QStringLiteral("Changed payee"));
    toolbarButton(QStringLiteral("Save"))->trigger();
    QCOMPARE(m_fixture->dialogs.requests.size(), 1);
    QCOMPARE(TestFiles::read(path).mid(224, 13), QByteArray("Changed payee"));
}

void TestMainCommands::toolbarDropsFailures()
{
    m_window->Text(Box::PayorLine1)->setText(QStringLiteral("Jane"));
    // Cut with the focus on a button fails at once; the clipboard was emptied.
    QApplication::clipboard()->setText(QStringLiteral("before"));
    m_window->findChild<QPushButton*>("Command1")->setFocus();
    QTRY_VERIFY(m_window->findChild<QPushButton*>("Command1")->hasFocus());
    toolbarButton(QStringLiteral("Cut"))->trigger();
    QVERIFY(m_fixture->failures.reports.isEmpty());
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(), QStringLiteral("Jane"));
    QVERIFY(m_window->isVisible());
}

void TestMainCommands::toolbarPrintReportsItsFailure()
{
    // The same failure, from the button and from the toolbar: the same message.
    m_fixture->printers.printer.refusal = QStringLiteral("The printer ran out of paper.");
    m_window->Text(Box::PayorLine1)->setText(QStringLiteral("Jane"));
    QTest::mouseClick(m_window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    toolbarButton(QStringLiteral("Print"))->trigger();
    QCOMPARE(m_fixture->printers.printer.pages.size(), 2);
    QCOMPARE(m_fixture->failures.reports, QStringList(2, QStringLiteral("The printer ran out of paper.")));
    QVERIFY(m_fixture->messages.shown.isEmpty()); // no confirmation
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(), QStringLiteral("Jane"));

    m_fixture->printers.printer.refusal.clear();
    toolbarButton(QStringLiteral("Print"))->trigger();
    QCOMPARE(m_fixture->messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});
}

void TestMainCommands::ctrlPPrintsFromAnywhere_data()
{
    QTest::addColumn<QString>("focused");
    QTest::newRow("payor's first line") << "Text1";
    QTest::newRow("amount") << "Text9";
    QTest::newRow("memo") << "Text14";
    QTest::newRow("the logo") << "Picture1";
}

void TestMainCommands::ctrlPPrintsFromAnywhere()
{
    QFETCH(QString, focused);
    typeSampleCheque(*m_window);
    auto* target = m_window->findChild<QWidget*>(focused);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
    QCOMPARE(m_fixture->messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});
    // The key typed nothing, and the menus gained no item for it.
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(), QStringLiteral("Jane Q. Merchant"));
    QCOMPARE(m_window->Text(Box::Memo)->text(), QStringLiteral("Invoice 77"));
    QCOMPARE(m_window->findChild<QPushButton*>("Command1")->toolTip(), QStringLiteral("Quick Print (Ctrl+P)"));
    for (const QAction* item : m_window->findChildren<QAction*>()) {
        if (item->objectName() != QLatin1String("actQuickPrintKey"))
            QVERIFY2(item->shortcut() != QKeySequence(QStringLiteral("Ctrl+P")), qPrintable(item->objectName()));
    }
}

void TestMainCommands::logoShowsItHasTheFocus()
{
    // The logo takes a Tab stop; with the focus it looks different, and
    // looks as before once the focus has moved on.
    auto* logo = m_window->findChild<QLabel*>("Picture1");
    m_window->Text(Box::CheckDate)->setFocus();
    QTRY_VERIFY(m_window->Text(Box::CheckDate)->hasFocus());
    const QImage unfocused = logo->grab().toImage();
    QTest::keyClick(m_window->Text(Box::CheckDate), Qt::Key_Tab);
    QTRY_VERIFY(logo->hasFocus());
    const QImage focused = logo->grab().toImage();
    QVERIFY(focused != unfocused);
    // The frame lies inside the sunken border, which stays as it was.
    QCOMPARE(focused.pixel(0, 0), unfocused.pixel(0, 0));
    QCOMPARE(focused.pixel(1, 1), unfocused.pixel(1, 1));
    QTest::keyClick(logo, Qt::Key_Tab);
    QTRY_VERIFY(!logo->hasFocus());
    QCOMPARE(logo->grab().toImage(), unfocused);
}

void TestMainCommands::longPasteIsKeptWhole()
{
    // More than a text box holds by default (32767 characters).
    QString text(100000, QLatin1Char('x'));
    text[0] = QLatin1Char('<');
    text[99999] = QLatin1Char('>');
    QApplication::clipboard()->setText(text);
    QLineEdit* memo = m_window->Text(Box::Memo);
    memo->setFocus();
    QTRY_VERIFY(memo->hasFocus());
    press(memo, Qt::Key_V);
    QCOMPARE(memo->text(), text);
    QTest::keyClicks(memo, QStringLiteral("!"));
    QCOMPARE(memo->text().size(), 100001);
}

void TestMainCommands::captionShowsAFileNameLiterally()
{
    const QString path = m_dir.filePath(QStringLiteral("draft[*] [*][*].qlo"));
    m_fixture->dialogs.answer(path);
    m_window->mFile_Click(3);
    QCOMPARE(m_fixture->dialogs.requests.size(), 1);
    // The caption on the screen is the window's title with Qt's markers resolved.
    QCOMPARE(m_window->windowHandle()->title(), QStringLiteral("(draft[*] [*][*].qlo) --Quillo"));
    m_window->setWindowModified(true);
    QCOMPARE(m_window->windowHandle()->title(), QStringLiteral("(draft[*] [*][*].qlo) --Quillo"));
}

void TestMainCommands::cutCopyPasteWithRealKeys()
{
    QLineEdit* routing = m_window->Text(Box::RoutingNumber);
    routing->setFocus();
    QTRY_VERIFY(routing->hasFocus());
    QTest::keyClicks(routing, QStringLiteral("0210123"));
    routing->setSelection(4, 3);
    press(routing, Qt::Key_X);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("123"));
    QCOMPARE(routing->text(), QStringLiteral("0210")); // no space left behind

    // Cut with nothing selected changes nothing and leaves no text behind.
    press(routing, Qt::Key_X);
    QCOMPARE(routing->text(), QStringLiteral("0210"));
    QCOMPARE(QApplication::clipboard()->text(), QString());

    routing->setSelection(0, 2);
    press(routing, Qt::Key_C);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("02"));
    routing->setCursorPosition(4);
    press(routing, Qt::Key_V);
    QCOMPARE(routing->text(), QStringLiteral("021002"));
    QCOMPARE(routing->cursorPosition(), 6);

    // Copy with nothing selected empties the clipboard.
    press(routing, Qt::Key_C);
    QCOMPARE(QApplication::clipboard()->text(), QString());

    // Paste with no text on the clipboard deletes the selection.
    routing->setSelection(0, 3);
    press(routing, Qt::Key_V);
    QCOMPARE(routing->text(), QStringLiteral("002"));
    QVERIFY(m_fixture->failures.reports.isEmpty());
}

void TestMainCommands::editCommandOnAButtonReportsAndKeepsTexts()
{
    m_window->Text(Box::Payee)->setText(QStringLiteral("Acme"));
    auto* button = m_window->findChild<QPushButton*>("Command1");
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    press(button, Qt::Key_C);
    m_window->findChild<QAction*>("mnuEditPaste")->trigger();
    QCOMPARE(m_fixture->failures.reports.size(), 2);
    QVERIFY(m_fixture->failures.reports.first().contains(QLatin1String("no text")));
    QCOMPARE(m_window->Text(Box::Payee)->text(), QStringLiteral("Acme"));
    QVERIFY(m_window->isVisible());
}

void TestMainCommands::closingUnloadsOthersAndWritesPlacement()
{
    m_fixture->windows.names = {"frmMain", "browser 1", "browser 2", "browser 3"};
    m_window->move(80, 64);
    QTRY_COMPARE(m_window->frameGeometry().topLeft(), QPoint(80, 64));
    const QRect outer = m_window->frameGeometry();
    QSignalSpy unloaded(m_window.get(), &frmMain::unloaded);
    m_window->close();

    QCOMPARE(m_fixture->windows.unloaded, (QStringList{"browser 3", "browser 2", "browser 1"}));
    QCOMPARE(m_fixture->windows.names, QStringList{"frmMain"});
    QCOMPARE(
        m_fixture->settings.written,
        (QStringList{QStringLiteral("Quillo/Settings/MainLeft=1200"), QStringLiteral("Quillo/Settings/MainTop=960"),
                     QStringLiteral("Quillo/Settings/MainWidth=%1").arg(outer.width() * 15),
                     QStringLiteral("Quillo/Settings/MainHeight=%1").arg(outer.height() * 15)}));
    QCOMPARE(unloaded.count(), 1);
}

void TestMainCommands::closingMinimisedWritesNothing()
{
    m_window->showMinimized();
    QTRY_VERIFY(m_window->isMinimized());
    m_window->close();
    QVERIFY(m_fixture->settings.written.isEmpty());
}

void TestMainCommands::exitEndsAtOnceWithoutUnloading()
{
    m_fixture->windows.names = {"frmMain", "browser 1"};
    m_window->findChild<QAction*>("mExit")->trigger();
    QCOMPARE(m_fixture->endProgramCalls, 1);
    QVERIFY(m_fixture->settings.written.isEmpty());
    QVERIFY(m_fixture->windows.unloaded.isEmpty());
}

void TestMainCommands::sideWindowsOpenFromTheirMenus()
{
    m_window->findChild<QAction*>("mnuViewWebBrowser")->trigger();
    m_window->findChild<QAction*>("mnuViewWebBrowser")->trigger();
    m_window->findChild<QAction*>("mnuHelpAbout")->trigger();
    m_window->findChild<QAction*>("mnuViewRegister")->trigger();
    m_window->findChild<QAction*>("mnuFileCopyRegister")->trigger();
    m_window->findChild<QAction*>("mnuFileOfficePassphrase")->trigger();
    QCOMPARE(m_fixture->opened, (QStringList{"browser qrc:/home/index.html", "browser qrc:/home/index.html", "about",
                                             "register", "copy register", "office passphrase"}));
}

void TestMainCommands::helpContentsOpensTheFixedHelpFile()
{
    m_window->findChild<QAction*>("mnuHelpContents")->trigger();
    QCOMPARE(m_fixture->help.requests.size(), 1);
    QCOMPARE(m_fixture->help.requests.first().helpFile, QStringLiteral("C:\\Program Files\\Quillo\\Quillo.hlp"));
    QCOMPARE(m_fixture->help.requests.first().command, 9);
    QCOMPARE(m_window->cDlg.HelpCommand, 9);
    QVERIFY(m_fixture->failures.reports.isEmpty());
    QVERIFY(m_fixture->messages.shown.isEmpty());
}

void TestMainCommands::messageShowsItsTextAsTyped()
{
    const QString text = QStringLiteral("The check was saved to \"/checks/<u>Acme</u> & Sons.qlo\".\nSecond line.");
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        // What is drawn: the text as it stands, tags, ampersand and line break included.
        for (const QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == text && label->textFormat() == Qt::PlainText)
                shown = QAccessible::queryAccessibleInterface(const_cast<QLabel*>(label))->text(QAccessible::Name);
        box->accept();
    });
    QtApplicationFacts facts;
    QtMessageBoxService(facts).show(text);
    QCOMPARE(shown, text);
}

void TestMainCommands::previewShowsThePageAndPrintsFromIt()
{
    typeSampleCheque(*m_window);
    // The preview shows the page ready to print; Print prints it and closes the preview.
    QTimer::singleShot(0, this, [] {
        auto* preview = qobject_cast<frmPrintPreview*>(QApplication::activeModalWidget());
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Print Preview --Quillo"));
        // Fitted to the width the window gives the view: no thumbnail, and
        // nothing to scroll sideways.
        const auto* view = preview->findChild<QScrollArea*>();
        QVERIFY2(qAbs(preview->page()->width() - view->viewport()->width()) <= 2,
                 qPrintable(QStringLiteral("page %1 px in a view %2 px wide")
                                .arg(preview->page()->width())
                                .arg(view->viewport()->width())));
        QTRY_VERIFY2(!view->horizontalScrollBar()->isVisible(),
                     qPrintable(QStringLiteral("page %1 px, viewport %2, range %3")
                                    .arg(preview->page()->width())
                                    .arg(view->viewport()->width())
                                    .arg(view->horizontalScrollBar()->maximum())));
        QVERIFY(!preview->findChild<QLabel*>(QStringLiteral("lblRefusal"))->isVisibleTo(preview));
        auto* print = preview->findChild<QPushButton*>(QStringLiteral("cmdPrint"));
        QCOMPARE(print->text(), QStringLiteral("&Print"));
        QCOMPARE(preview->findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(), QStringLiteral("&Close"));
        print->click();
    });
    m_window->findChild<QAction*>("mnuFilePreview")->trigger();
    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
    QCOMPARE(m_fixture->messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});
    QVERIFY(!QApplication::activeModalWidget());

    // A date that runs past the edge: the preview says why, Print is off, Escape closes.
    m_window->Text(Box::CheckDate)->setText(QStringLiteral("Tuesday, December 8, 2026"));
    QString refusal;
    QTimer::singleShot(0, this, [&refusal] {
        auto* preview = qobject_cast<frmPrintPreview*>(QApplication::activeModalWidget());
        QVERIFY(preview);
        refusal = preview->findChild<QLabel*>(QStringLiteral("lblRefusal"))->text();
        QVERIFY(!preview->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->isEnabled());
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    m_window->findChild<QAction*>("mnuFilePreview")->trigger();
    QVERIFY2(refusal.startsWith(QStringLiteral("Quillo did not print the check, because part of it would run past "
                                               "the right edge of the paper:\nDate: \"Tuesday, December 8, 2026\" "
                                               "runs ")),
             qPrintable(refusal));
    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainCommands::exportWritesThePageQuicksPrintWouldPrint()
{
    const auto pdfinfo = [](const QString& pdf) {
        QProcess process;
        process.start(QStringLiteral("pdfinfo"), {pdf});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    typeSampleCheque(*m_window);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("exported.pdf"));
    m_fixture->dialogs.answer(pdf);
    m_window->findChild<QAction*>("mnuFileExportPdf")->trigger();

    const FileDialogRequest asked = m_fixture->dialogs.requests.last();
    QCOMPARE(asked.kind, FileDialogRequest::Kind::Save);
    QCOMPARE(asked.initialFolder, m_window->cDlg.InitDir);
    QCOMPARE(asked.fileName, QStringLiteral("Jane Q. Merchant.pdf"));
    QCOMPARE(asked.filters, (QList<NameFilter>{{QStringLiteral("PDF Files (*.pdf)"), {QStringLiteral("*.pdf")}}}));
    QVERIFY(asked.confirmOverwrite);
    QCOMPARE(m_fixture->messages.shown, QStringList{QStringLiteral("The check was exported to \"%1\".").arg(pdf)});
    const QString info = pdfinfo(pdf);
    QVERIFY2(
        info.contains(QRegularExpression(QStringLiteral("^Title: +Check 1042$"), QRegularExpression::MultilineOption)),
        qPrintable(info));
    QVERIFY(
        info.contains(QRegularExpression(QStringLiteral("^Creator: +Quillo$"), QRegularExpression::MultilineOption)));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("^Pages: +1$"), QRegularExpression::MultilineOption)));
    QVERIFY(info.contains(QStringLiteral("612 x 792 pts")));

    // Refused like Quick Print: the file already there stays as it was. The
    // dialog starts where the last export went, and an empty payor line
    // suggests a name of its own.
    const QByteArray before = TestFiles::read(pdf);
    m_window->Text(Box::PayorLine1)->clear();
    m_window->Text(Box::CheckNumber)->clear();
    m_window->Text(Box::CheckDate)->setText(QStringLiteral("Tuesday, December 8, 2026"));
    m_fixture->dialogs.answer(pdf);
    m_window->findChild<QAction*>("mnuFileExportPdf")->trigger();
    QCOMPARE(m_fixture->dialogs.requests.last().initialFolder, folder.path());
    QCOMPARE(m_fixture->dialogs.requests.last().fileName, QStringLiteral("check.pdf"));
    QCOMPARE(m_fixture->failures.reports.size(), 1);
    QVERIFY(m_fixture->failures.reports.first().startsWith(QStringLiteral("Quillo did not print the check")));
    QCOMPARE(TestFiles::read(pdf), before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("exported.pdf")});

    // A folder the merchant may not write to: said in the words of a failed
    // save, and nothing is left in it.
    m_window->Text(Box::CheckDate)->setText(QStringLiteral("12/08/2026"));
    const QString locked = folder.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(locked));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(runAsOrdinaryUser(folder.path(), [&] {
        m_fixture->dialogs.answer(locked + QStringLiteral("/check.pdf"));
        m_window->findChild<QAction*>("mnuFileExportPdf")->trigger();
        QCOMPARE(m_fixture->failures.reports.last(),
                 QStringLiteral("The check could not be exported to \"%1/check.pdf\". The folder is read-only, or "
                                "you may not create files in it.")
                     .arg(locked));
        QVERIFY(QDir(locked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }));
}

void TestMainCommands::marksFollowTheTextAndNeverStopAPrint()
{
    // A new cheque is not marked; its first value brings the missing date's mark.
    for (Box box : AllBoxes)
        QVERIFY(m_window->Text(box)->actions().isEmpty());
    QLineEdit* routing = m_window->Text(Box::RoutingNumber);
    const QRect place = routing->geometry();
    routing->setFocus();
    QTest::keyClicks(routing, QStringLiteral("A"));
    QCOMPARE(m_window->Text(Box::CheckDate)->accessibleDescription(),
             QStringLiteral("The date is empty: banks may return an undated draft."));
    QTest::keyClicks(routing, QStringLiteral("021000020A"));
    const QString reason =
        QStringLiteral("The check digit should be 1 for 02100002_: the routing number is probably mistyped.");
    QCOMPARE(QAccessible::queryAccessibleInterface(routing)->text(QAccessible::Description), reason);
    auto* icon = routing->findChild<QToolButton*>();
    QVERIFY(icon && icon->isVisible());
    QCOMPARE(icon->toolTip(), reason);
    QVERIFY(icon->geometry().left() > routing->width() / 2 && icon->geometry().right() < routing->width());
    QCOMPARE(routing->geometry(), place);
    QCOMPARE(routing->text(), QStringLiteral("A021000020A"));
    QCOMPARE(m_window->findChild<QLabel*>("sbStatusBar_Panel1")->text(), QStringLiteral("Status"));

    m_window->findChild<QPushButton*>("Command1")->click();
    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
    QCOMPARE(m_fixture->messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});

    routing->setFocus();
    QTest::keyClick(routing, Qt::Key_End);
    QTest::keyClicks(routing, QStringLiteral("\b\b1A"));
    QCOMPARE(QAccessible::queryAccessibleInterface(routing)->text(QAccessible::Description), QString());
    QVERIFY(routing->actions().isEmpty());
    QCOMPARE(m_fixture->messages.shown.size(), 1);

    // A date that will not fit is marked as it is typed, on the paper the
    // last print found: US Letter with quarter-inch margins at first, then A4.
    QLineEdit* date = m_window->Text(Box::CheckDate);
    date->clear();
    date->setFocus();
    QTest::keyClicks(date, QStringLiteral("December 7, 2026"));
    QCOMPARE(date->accessibleDescription(),
             QStringLiteral("The check will not print on US Letter paper: \"December 7, 2026\" runs 0.44 inch past "
                            "the right edge. Use a shorter text, and for the date a short form such as "
                            "\"12/08/2026\"."));
    m_fixture->printers.printer.layout.setPageSize(QPageSize(QPageSize::A4));
    m_window->findChild<QPushButton*>("Command1")->click();
    QTRY_COMPARE(date->accessibleDescription(),
                 QStringLiteral("The check will not print on A4 paper: \"December 7, 2026\" runs 0.67 inch past the "
                                "right edge. Use a shorter text, or print on US Letter paper, for which Quillo's "
                                "layout is designed."));
    QTest::keyClicks(date, QStringLiteral("\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b12/7/26"));
    QVERIFY(date->actions().isEmpty());
    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
}

void TestMainCommands::amountInWordsFillsTheWords_data()
{
    QTest::addColumn<QString>("figures");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("message");
    QTest::newRow("thousands") << "$1,234.56"
                               << "One thousand two hundred thirty-four and 56/100"
                               << "";
    QTest::newRow("unreadable") << "12,34  "
                                << "Two hundred"
                                << "The amount in figures \"12,34\" could not be read. Type it like 1,234.56.";
}

void TestMainCommands::amountInWordsFillsTheWords()
{
    QFETCH(QString, figures);
    QFETCH(QString, words);
    QFETCH(QString, message);
    QLineEdit* box = m_window->Text(Box::AmountInWords);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("Two hundred"));
    QLineEdit* amount = m_window->Text(Box::AmountInFigures);
    amount->setFocus();
    QTest::keyClicks(amount, figures);

    m_window->findChild<QAction*>("mnuEditAmountWords")->trigger();
    QCOMPARE(box->text(), words);
    QCOMPARE(m_fixture->messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    // The words take the focus, and Ctrl+Z there takes them back.
    QCOMPARE(QApplication::focusWidget(), message.isEmpty() ? box : amount);
    if (message.isEmpty()) {
        QCOMPARE(box->accessibleDescription(), QString()); // words and figures agree
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("Two hundred"));
    }
}

QTEST_MAIN(TestMainCommands)
void TestMainCommands::registerLocationIsChosenFromTheKeyboard()
{
    m_fixture->dialogs.answer(QStringLiteral("/etc/quillo/office-ca.pem"));
    QString before;
    onRegisterLocation(this, [&](frmRegisterLocation* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Register Location --Quillo"));
        // This computer, until the office server is chosen.
        QVERIFY(dialog->findChild<QRadioButton*>("optThisComputer")->isChecked());
        QVERIFY(!dialog->findChild<QLineEdit*>("txtHost")->isEnabled());
        // A button's key clicks it a moment later, as a mouse would.
        QTest::keyClick(dialog, Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(dialog->findChild<QRadioButton*>("optOfficeServer")->isChecked());
        auto* save = dialog->findChild<QPushButton*>("cmdSave");
        QVERIFY(!save->isEnabled());
        const auto typeInto = [dialog](Qt::Key letter, const QString& text) {
            QTest::keyClick(dialog, letter, Qt::AltModifier);
            QWidget* box = QApplication::focusWidget();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, text);
            return box->objectName();
        };
        QCOMPARE(typeInto(Qt::Key_H, "db.office.example"), "txtHost");
        QCOMPARE(typeInto(Qt::Key_P, "6543"), "txtPort");
        QCOMPARE(typeInto(Qt::Key_D, "drafts"), "txtDatabase");
        QVERIFY(!save->isEnabled());
        QCOMPARE(typeInto(Qt::Key_U, "frontdesk"), "txtUser");
        QVERIFY(save->isEnabled());
        QCOMPARE(typeInto(Qt::Key_W, "Hydrant 4 paints"), "txtPassword");
        QTest::keyClick(dialog, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(dialog->findChild<QLineEdit*>("txtCaFile")->text(), "/etc/quillo/office-ca.pem");
        before = dialog->findChild<QLabel*>("lblTls")->text();
        QTest::keyClick(dialog->findChild<QLineEdit*>("txtUser"), Qt::Key_Return);
    });
    m_window->findChild<QAction*>("mnuFileRegisterLocation")->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(before, "This server is not on this computer, so Quillo reaches it only over TLS, with its certificate "
                     "verified against the system's certificate authorities or the CA file above "
                     "(sslmode=verify-full).");
    QCOMPARE(m_fixture->dialogs.requests.size(), 1);
    QCOMPARE(m_fixture->dialogs.requests[0].filters.first().patterns, QStringList({"*.pem", "*.crt"}));
    QVERIFY(m_fixture->dialogs.requests[0].fileMustExist);
    const QStringList saved{"Quillo/Register/Location=server", "Quillo/Register/Host=db.office.example",
                            "Quillo/Register/Port=6543",       "Quillo/Register/Database=drafts",
                            "Quillo/Register/User=frontdesk",  "Quillo/Register/CaFile=/etc/quillo/office-ca.pem"};
    QCOMPARE(m_fixture->settings.written, saved);
    QCOMPARE(m_fixture->movedTo, QStringList{"server db.office.example:6543/drafts frontdesk Hydrant 4 paints"});

    // Opened again, it shows the saved place and never the password; Escape changes nothing.
    onRegisterLocation(this, [](frmRegisterLocation* dialog) {
        QVERIFY(dialog->findChild<QRadioButton*>("optOfficeServer")->isChecked());
        QCOMPARE(dialog->findChild<QLineEdit*>("txtHost")->text(), "db.office.example");
        QCOMPARE(dialog->findChild<QSpinBox*>("txtPort")->value(), 6543);
        QCOMPARE(dialog->findChild<QLineEdit*>("txtPassword")->text(), QString());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    m_window->findChild<QAction*>("mnuFileRegisterLocation")->trigger();
    QCOMPARE(m_fixture->settings.written, saved);
    QCOMPARE(m_fixture->movedTo.size(), 1);

    // Back to this computer: the server's fields are kept for the next time.
    onRegisterLocation(this, [](frmRegisterLocation* dialog) {
        QTest::keyClick(dialog, Qt::Key_T, Qt::AltModifier);
        QTRY_VERIFY(!dialog->findChild<QLineEdit*>("txtHost")->isEnabled());
        QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!dialog->isVisible());
    });
    m_window->findChild<QAction*>("mnuFileRegisterLocation")->trigger();
    QCOMPARE(m_fixture->settings.written.mid(6),
             QStringList({"Quillo/Register/Location=file", "Quillo/Register/Host=db.office.example",
                          "Quillo/Register/Port=6543", "Quillo/Register/Database=drafts",
                          "Quillo/Register/User=frontdesk", "Quillo/Register/CaFile=/etc/quillo/office-ca.pem"}));
    QCOMPARE(m_fixture->movedTo.last(), "file db.office.example:6543/drafts frontdesk ");
    QVERIFY(m_fixture->failures.reports.isEmpty());
}

void TestMainCommands::registerLocationSaysWhatTheServerNeeds_data()
{
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("saves");

    const QString local = "This server is on this computer: Quillo reaches it without TLS.";
    const QString tls = "This server is not on this computer, so Quillo reaches it only over TLS, with its "
                        "certificate verified against the system's certificate authorities or the CA file above "
                        "(sslmode=verify-full).";
    QTest::newRow("the default socket") << true << ""
                                        << "drafts"
                                        << "frontdesk" << local << true;
    QTest::newRow("a socket's folder") << true << "/var/run/postgresql"
                                       << "drafts"
                                       << "frontdesk" << local << true;
    QTest::newRow("localhost") << true << "localhost"
                               << "drafts"
                               << "frontdesk" << local << true;
    QTest::newRow("IPv4 loopback") << true << "127.0.0.1"
                                   << "drafts"
                                   << "frontdesk" << local << true;
    QTest::newRow("IPv6 loopback") << true << "::1"
                                   << "drafts"
                                   << "frontdesk" << local << true;
    QTest::newRow("a host name") << true << "db.office.example"
                                 << "drafts"
                                 << "frontdesk" << tls << true;
    QTest::newRow("a name that starts like localhost") << true << "localhost.office.example"
                                                       << "drafts"
                                                       << "frontdesk" << tls << true;
    QTest::newRow("an office address") << true << "192.168.1.10"
                                       << "drafts"
                                       << "frontdesk" << tls << true;
    QTest::newRow("a relative folder") << true << "var/run/postgresql"
                                       << "drafts"
                                       << "frontdesk" << tls << true;
    QTest::newRow("no database") << true << "db.office.example"
                                 << ""
                                 << "frontdesk" << tls << false;
    QTest::newRow("no user") << true << "db.office.example"
                             << "drafts"
                             << "" << tls << false;
    QTest::newRow("this computer") << false << "db.office.example"
                                   << ""
                                   << ""
                                   << "" << true;
}

void TestMainCommands::registerLocationSaysWhatTheServerNeeds()
{
    QFETCH(bool, server);
    QFETCH(QString, host);
    QFETCH(QString, database);
    QFETCH(QString, user);
    QFETCH(QString, said);
    QFETCH(bool, saves);

    RegisterLocation current;
    current.kind = server ? RegisterLocation::Kind::Server : RegisterLocation::Kind::File;
    current.host = host;
    current.database = database;
    current.user = user;
    frmRegisterLocation dialog(current, m_fixture->dialogs, m_window.get());
    QCOMPARE(dialog.findChild<QLabel*>("lblTls")->text(), said);
    QCOMPARE(dialog.findChild<QPushButton*>("cmdSave")->isEnabled(), saves);
    // What a screen reader names each control.
    QStringList names;
    for (const char* control : {"optThisComputer", "optOfficeServer", "txtHost", "txtPort", "txtDatabase", "txtUser",
                                "txtPassword", "txtCaFile", "cmdBrowse", "cmdSave", "cmdCancel"})
        names.append(dialog.findChild<QWidget*>(control)->accessibleName());
    QCOMPARE(names, QStringList({"This computer", "Office server", "Host", "Port", "Database", "User", "Password",
                                 "CA file", "Choose the CA file", "Save", "Cancel"}));
}

void TestMainCommands::pageSetupIsKeptAndUsedByQuickPrint()
{
    // The merchant chooses the standard place, nudges the page, prints the
    // alignment page with those offsets and keeps them.
    QTimer::singleShot(0, this, [] {
        auto* dialog = qobject_cast<frmPageSetup*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Page Setup --Quillo"));
        QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("optLayout"))->isChecked());
        auto* code = dialog->findChild<QCheckBox*>(QStringLiteral("chkEpc6"));
        QCOMPARE(code->text(), QStringLiteral("Print the remotely created check code (EPC 6) on the bank line \u2014 "
                                              "only if your bank asks for it"));
        QVERIFY(!code->isChecked());
        // The room on the printer's paper, once it has answered.
        const auto* room = dialog->findChild<QLabel*>(QStringLiteral("lblRoom"));
        const QString start = QStringLiteral("With these offsets a check with a short date such as 12/08/2026 keeps "
                                             "this much room at the edges of US Letter paper: ");
        QTRY_COMPARE(room->text(), start + "left 0.13 in, top 0.16 in, right 0.04 in, bottom 7.38 in.");
        dialog->findChild<QRadioButton*>(QStringLiteral("optStandard"))->click();
        code->click();
        dialog->findChild<QDoubleSpinBox*>(QStringLiteral("txtOffsetRight"))->setValue(0.1);
        dialog->findChild<QDoubleSpinBox*>(QStringLiteral("txtOffsetDown"))->setValue(-0.05);
        QCOMPARE(room->text(), start + "left 0.23 in, top 0.11 in, right 0.06 in past the edge, bottom 7.25 in. "
                                       "Make the offset smaller, or Quick Print will not print the check.");
        dialog->findChild<QPushButton*>(QStringLiteral("cmdAlignment"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    m_window->findChild<QAction*>("mnuFilePageSetup")->trigger();
    QCOMPARE(m_fixture->messages.shown,
             QStringList{QStringLiteral("The alignment page has been sent to the printer.")});
    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
    // 1 inch from the sheet's left edge and 1.6 inch down (its baseline 0.126
    // inch lower), in a printable area a quarter inch in and half an inch
    // down, moved 0.10 inch right and 0.05 inch up.
    QVERIFY(PageItems::of(m_fixture->printers.printer.pages[0])
                .contains(QStringLiteral("Arial 10 1020.0,1411.2 Offsets now: right 0.10 in, down -0.05 in.")));
    QCOMPARE(m_fixture->settings.written, (QStringList{QStringLiteral("Quillo/Printing/BankLine=Standard"),
                                                       QStringLiteral("Quillo/Printing/OffsetRight=10"),
                                                       QStringLiteral("Quillo/Printing/OffsetDown=-5"),
                                                       QStringLiteral("Quillo/Printing/Epc6=true")}));
    QCOMPARE(PageSetup::load(m_fixture->settings, QStringLiteral("Quillo")),
             (PageSetup{PageSetup::BankLine::Standard, 10, -5, true}));

    // Quick Print moves every item by the offsets; Cancel keeps the settings as they were.
    typeSampleCheque(*m_window);
    // A short date leaves room to move right.
    m_window->Text(Box::CheckDate)->setText(QStringLiteral("12/7/26"));
    m_window->Command1_Click();
    QCOMPARE(m_fixture->printers.printer.pages.size(), 2);
    const QStringList page = PageItems::of(m_fixture->printers.printer.pages[1]);
    QCOMPARE(page.first(), PageItems::arial(3, 2, QStringLiteral("Jane Q. Merchant"), QPointF(120, -60)));
    // The code in position 44, 2.8125 inch from the sheet's left edge less a
    // character, on the bank line 3.25 inch down, both moved.
    QCOMPARE(page.at(18), QStringLiteral("MICR 013 BT 16 bold 3044.8,3240.0 6"));
    QTimer::singleShot(0, this, [] {
        auto* dialog = qobject_cast<frmPageSetup*>(QApplication::activeModalWidget());
        QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("optStandard"))->isChecked());
        QCOMPARE(dialog->findChild<QDoubleSpinBox*>(QStringLiteral("txtOffsetDown"))->value(), -0.05);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    m_window->findChild<QAction*>("mnuFilePageSetup")->trigger();
    QCOMPARE(m_fixture->settings.written.size(), 4);
}

void TestMainCommands::anAuthorizationStaysWithItsDraft_data()
{
    QTest::addColumn<QStringList>("changes"); // "<box>=<text>"
    QTest::addColumn<bool>("applies");
    QTest::addColumn<QStringList>("marks"); // "<box>: <mark>"

    const QString after = QStringLiteral(": it no longer applies, and one is offered when the draft is printed.");
    QTest::newRow("unchanged") << QStringList() << true << QStringList();
    QTest::newRow("only the amount") << QStringList{"9=$75.00", "8=Seventy-five and 00/100"} << true << QStringList();
    QTest::newRow("the payor's name in capitals") << QStringList{"1=JANE Q.  MERCHANT"} << true << QStringList();
    QTest::newRow("the payor's address") << QStringList{"2=14 Oak Street"} << true << QStringList();
    QTest::newRow("another account") << QStringList{"12=1234567899C"} << false
                                     << QStringList{"12: The authorization was filled in for another account" + after};
    QTest::newRow("another payor") << QStringList{"1=John R. Payor"} << false
                                   << QStringList{"1: The authorization was filled in for another payor" + after};
    QTest::newRow("another routing number")
        << QStringList{"11=A011000015A"} << false
        << QStringList{"11: The authorization was filled in for another routing number" + after};
    QTest::newRow("another customer's draft typed over it")
        << QStringList{"1=John R. Payor", "12=5550001111C", "11=A011000015A"} << false
        << QStringList{"1: The authorization was filled in for another payor" + after,
                       "11: The authorization was filled in for another routing number" + after,
                       "12: The authorization was filled in for another account" + after};
}

void TestMainCommands::anAuthorizationStaysWithItsDraft()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, applies);
    QFETCH(QStringList, marks);

    KeptDrafts journal;
    MainWindowServices services = m_fixture->services();
    services.journal = &journal;
    m_window = std::make_unique<frmMain>(services);
    m_window->Load();
    typeSampleCheque(*m_window);

    // Edit, Authorization: filled in for the draft as it is now.
    QTimer::singleShot(0, this, [] {
        auto* dialog = qobject_cast<frmAuthorization*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QComboBox*>(QStringLiteral("cboGiven"))->setCurrentIndex(1);
        dialog->findChild<QComboBox*>(QStringLiteral("cboSale"))->setCurrentIndex(0);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    m_window->findChild<QAction*>("mnuEditAuthorization")->trigger();

    for (const QString& change : changes)
        m_window->Text(Box(change.section(QLatin1Char('='), 0, 0).toInt()))
            ->setText(change.section(QLatin1Char('='), 1));
    QStringList shown;
    for (Box box : AllBoxes) {
        const QString mark = m_window->Text(box)->accessibleDescription();
        if (!mark.isEmpty())
            shown.append(QStringLiteral("%1: %2").arg(numberOf(box)).arg(mark));
    }
    QCOMPARE(shown, marks);

    // Quick Print sends the draft with the record only while it applies;
    // without, the journal offers one again.
    m_window->findChild<QPushButton*>("Command1")->click();
    QCOMPARE(journal.drafts.size(), 1);
    QCOMPARE(journal.drafts.first().authorization.has_value(), applies);
    if (applies)
        QCOMPARE(journal.drafts.first().authorization->authorizedBy, QStringLiteral("Jane Q. Merchant"));

    // A new cheque starts with none.
    m_window->mFile_Click(FileCommands::New);
    typeSampleCheque(*m_window);
    m_window->findChild<QPushButton*>("Command1")->click();
    QCOMPARE(journal.drafts.size(), 2);
    QVERIFY(!journal.drafts.last().authorization);
}

#include "tst_maincommands.moc"
