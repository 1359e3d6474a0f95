#include "fakes/AlteredRegister.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeFolderFiles.h"
#include "fakes/FakeKeyring.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePassphrasePrompt.h"
#include "fakes/FakeQuestionBox.h"
#include "fakes/FakeStatusChangePrompt.h"
#include "fakes/FakeTextPrompt.h"
#include "fakes/PrintedPdf.h"
#include "fakes/TestFiles.h"
#include "register/DraftListModel.h"
#include "register/DraftRegister.h"
#include "register/ProofCopies.h"
#include "register/RegisterSession.h"
#include "system/qt/Fonts.h"
#include "system/qt/QtFolderFiles.h"
#include "ui/register/PassphraseDialog.h"
#include "ui/register/frmOldDrafts.h"
#include "ui/register/frmRegister.h"
#include "ui/register/frmStatusChange.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <ctime>

namespace {

// 12:00 in Chicago, the test's time zone, on 12/08/2026.
const QDateTime Now = QDateTime(QDate(2026, 12, 8), QTime(18, 0), Qt::UTC);

CheckTexts draftTexts(const QString& payor, const QString& checkNumber, const QString& payee, const QString& amount,
                      const QString& account)
{
    return {payor, "12 Elm Street", "Springfield, IL", "First Prairie Bank", "Springfield, IL", checkNumber, payee,
            "",    amount,          "12/01/2026",      "A021000021A",        account,           checkNumber, ""};
}

// 2,500 more drafts, payors "Payor 1" to "Payor 2500"; draft 2400's payee is
// `payeeOf2400` when one is given.
void recordLongRegister(RegisterSession& session, const QString& payeeOf2400)
{
    DraftRegister& drafts = session.open(nullptr);
    drafts.together([&] {
        for (int i = 1; i <= 2500; ++i) {
            DraftRecord draft;
            const QString payee =
                i == 2400 && !payeeOf2400.isEmpty() ? payeeOf2400 : QStringLiteral("Acme Supplies LLC");
            draft.texts = draftTexts(QStringLiteral("Payor %1").arg(i), QString::number(5000 + i), payee, "$10.00",
                                     "98765436789C");
            drafts.record(draft, DraftEvent::printed(QString::number(i)));
        }
    });
}

// Types `text` key by key, letters beyond ASCII included.
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestRegisterWindow : public QObject {
    Q_OBJECT

private:
    FakeKeyring m_keyring;
    FakeMessageBox m_messages;
    FakeQuestionBox m_questions;
    FakeTextPrompt m_texts;
    FakeStatusChangePrompt m_changes;
    FakeFileDialogs m_dialogs;
    FakeFailureReporter m_failures;
    FakePassphrasePrompt m_passphrase;
    QtFolderFiles m_disk;
    FakeFolderFiles m_fakeFolders;
    FolderFiles* m_folders = &m_disk;
    QDateTime m_now;
    std::unique_ptr<RegisterSession> m_session;
    frmRegister* m_window = nullptr;

    QString path() const { return QDir::homePath() + "/register.sqlite"; }

    std::unique_ptr<RegisterSession> newSession()
    {
        return std::make_unique<RegisterSession>(
            path(), &m_keyring, [this] { return m_now; }, RegisterSession::KeyringThreads::Any, "ann@desk-2");
    }

    // Three drafts: 1040 in November, 1042 late on 12/01 (already 12/02 in
    // UTC) and 998 exported today.
    void recordDrafts()
    {
        auto session = newSession();
        DraftRegister& drafts = session->open(nullptr);
        DraftRecord draft;
        draft.texts = draftTexts("Jane Q. Customer", "1040", "Acme Supplies LLC", "$1,234.56", "98765436789C");
        draft.destinationName = "Front Desk";
        m_now = QDateTime(QDate(2026, 11, 20), QTime(16, 0), Qt::UTC);
        drafts.record(draft, DraftEvent::printed("12"));
        draft.texts =
            draftTexts(QString::fromUtf8("Renée Dubois    "), "1042", "Harbor Tools", "$75.00", "000120000001C");
        draft.destinationName = "Office";
        // Authorized on a sales call, for two drafts, with the call's recording as proof.
        const QString call = QDir::homePath() + "/call 1042.wav";
        TestFiles::write(call, "recorded call of Renee Dubois, check 1042");
        AuthorizationRecord authorization;
        authorization.id = "a1";
        authorization.authorizedBy = QString::fromUtf8("Renée Dubois");
        authorization.phone = "(217) 555-0142";
        authorization.authorizedAt = QDateTime(QDate(2026, 12, 1), QTime(20, 5), Qt::UTC);
        authorization.given = AuthorizationRecord::Given::RecordedCall;
        authorization.sale = AuthorizationRecord::Sale::OurSalesCall;
        authorization.amount = "$75.00";
        authorization.payee = "Harbor Tools";
        authorization.drafts = 2;
        authorization.proofFile = call;
        authorization.proofSha256 = *ProofCopies::sha256Of(call);
        draft.authorization = authorization;
        // Printed with the page moved a quarter inch right and a tenth up.
        draft.setup.offsetRight = 25;
        draft.setup.offsetDown = -10;
        m_now = QDateTime(QDate(2026, 12, 2), QTime(3, 30), Qt::UTC);
        drafts.record(draft, DraftEvent::printed("17"));
        draft.authorization.reset();
        draft.setup = {};
        draft.texts = draftTexts("Sam Lee", "998", "Acme Supplies LLC", "$9.99", "555544443333C");
        draft.kind = SentDraft::Kind::PdfFile;
        draft.destinationName = "/home/m/998.pdf";
        m_now = Now;
        drafts.record(draft, DraftEvent::exported());
    }

    void openWindow(bool show = true)
    {
        RegisterWindowServices services;
        services.session = m_session.get();
        services.passphrase = &m_passphrase;
        services.messages = &m_messages;
        services.questions = &m_questions;
        services.texts = &m_texts;
        services.statusChanges = &m_changes;
        services.fileDialogs = &m_dialogs;
        services.failures = &m_failures;
        services.exportFolder = QDir::homePath();
        services.folders = m_folders;
        // The paper of the printer that claimPackageHoldsTheDraftsStory prints on.
        services.paper = pdfPrinter(QDir::homePath() + "/printer.pdf")->pageLayout();
        m_window = new frmRegister(services);
        QVERIFY(m_window->Form_Load());
        if (!show)
            return;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    QTableView* table() const { return m_window->findChild<QTableView*>("tblDrafts"); }
    QPushButton* button(const char* name) const { return m_window->findChild<QPushButton*>(name); }

    QStringList cell(int column) const
    {
        QStringList texts;
        for (int row = 0; row < table()->model()->rowCount(); ++row)
            texts.append(table()->model()->index(row, column).data().toString());
        return texts;
    }

    void selectCheck(const QString& number)
    {
        const QStringList numbers = cell(1);
        QVERIFY(numbers.contains(number));
        table()->setFocus();
        table()->selectRow(int(numbers.indexOf(number)));
    }

    // The six commands of a draft's status: the name of each that applies,
    // "<name>: <why not>" (its tooltip and accessible description) of the others.
    QStringList commandStates() const
    {
        QStringList states;
        for (const char* name :
             {"cmdVoid", "cmdDeposited", "cmdPaid", "cmdReturned", "cmdRepresented", "cmdWithdraw"}) {
            QPushButton* command = button(name);
            if (command->toolTip() != command->accessibleDescription())
                states.append(QStringLiteral("%1 tooltip and description differ").arg(name));
            states.append(command->isEnabled() ? QString::fromLatin1(name)
                                               : QStringLiteral("%1: %2").arg(name, command->toolTip()));
        }
        return states;
    }

    void press(const char* name)
    {
        QPushButton* pressed = button(name);
        pressed->setFocus();
        QTest::keyClick(pressed, Qt::Key_Space);
    }

    QStringList history() const
    {
        QStringList lines;
        auto* list = m_window->findChild<QListWidget*>("lstHistory");
        for (int row = 0; row < list->count(); ++row)
            lines.append(list->item(row)->text());
        return lines;
    }

private Q_SLOTS:
    void init()
    {
        QDir(QDir::homePath()).removeRecursively();
        QDir().mkpath(QDir::homePath());
        m_keyring = FakeKeyring();
        m_messages.shown.clear();
        m_questions = FakeQuestionBox();
        m_texts = FakeTextPrompt();
        m_changes = FakeStatusChangePrompt();
        m_dialogs = FakeFileDialogs();
        m_failures.reports.clear();
        m_fakeFolders = FakeFolderFiles();
        m_folders = &m_disk;
        m_now = Now;
        recordDrafts();
        m_session = newSession();
        openWindow();
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        m_session.reset();
    }

    void listsTheDraftsNewestFirst()
    {
        QCOMPARE(m_window->windowTitle(), "Register --Quillo");
        QStringList headings;
        for (int column = 0; column < table()->model()->columnCount(); ++column)
            headings.append(table()->model()->headerData(column, Qt::Horizontal).toString());
        QCOMPARE(headings, (QStringList{"Printed", "Check No.", "Payor", "Payee", "Amount", "Status", "Printer or File",
                                        "Account"}));
        QCOMPARE(cell(0), (QStringList{"12/08/2026 12:00 PM", "12/01/2026 9:30 PM", "11/20/2026 10:00 AM"}));
        QCOMPARE(cell(1), (QStringList{"998", "1042", "1040"}));
        QCOMPARE(cell(2), (QStringList{"Sam Lee", QString::fromUtf8("Renée Dubois"), "Jane Q. Customer"}));
        QCOMPARE(cell(3), (QStringList{"Acme Supplies LLC", "Harbor Tools", "Acme Supplies LLC"}));
        QCOMPARE(cell(4), (QStringList{"$9.99", "$75.00", "$1,234.56"}));
        QCOMPARE(cell(5), (QStringList{"Exported", "Printed", "Printed"}));
        QCOMPARE(cell(6), (QStringList{"/home/m/998.pdf", "Office", "Front Desk"}));
        QCOMPARE(cell(7), (QStringList{"****3333", "****0001", "****6789"}));
        QCOMPARE(table()->model()->index(0, 7).data(Qt::AccessibleTextRole).toString(), "ending in 3333");
        QCOMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "3 of 3 drafts");
        // The newest draft is selected, its history shown.
        QCOMPARE(history(), QStringList{"12/08/2026 12:00 PM  Exported"});
        selectCheck("1042");
        QCOMPARE(history(), QStringList{"12/01/2026 9:30 PM  Printed (job 17)"});
    }

    // In a register that seats share, what another seat wrote names that seat.
    void anotherSeatsEventsNameTheSeat()
    {
        {
            RegisterSession bob(
                path(), &m_keyring, [this] { return m_now; }, RegisterSession::KeyringThreads::Any, "bob@desk-7");
            DraftRegister& drafts = bob.open(nullptr);
            for (const DraftSummary& draft : drafts.drafts()) {
                if (draft.checkNumber == QLatin1String("1042"))
                    drafts.append(draft.id, DraftEvent::note("Customer called"));
            }
        }
        selectCheck("1042");
        QCOMPARE(history(), (QStringList{"12/01/2026 9:30 PM  Printed (job 17)",
                                         "12/08/2026 12:00 PM  Note: Customer called (by bob@desk-7)"}));
    }

    void sortsByEveryColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("checkNumbers");

        QTest::newRow("printed, oldest first") << 0 << false << QStringList{"1040", "1042", "998"};
        QTest::newRow("printed, newest first") << 0 << true << QStringList{"998", "1042", "1040"};
        QTest::newRow("check number, as numbers") << 1 << false << QStringList{"998", "1040", "1042"};
        QTest::newRow("check number, descending") << 1 << true << QStringList{"1042", "1040", "998"};
        QTest::newRow("payor") << 2 << false << QStringList{"1040", "1042", "998"};
        QTest::newRow("payee, newest first among equals") << 3 << false << QStringList{"998", "1040", "1042"};
        QTest::newRow("amount, as amounts") << 4 << false << QStringList{"998", "1042", "1040"};
        QTest::newRow("status") << 5 << false << QStringList{"998", "1042", "1040"};
        QTest::newRow("printer or file") << 6 << false << QStringList{"998", "1040", "1042"};
        QTest::newRow("account") << 7 << true << QStringList{"1040", "998", "1042"};
    }

    void sortsByEveryColumn()
    {
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(QStringList, checkNumbers);

        // From the keyboard: the sort box, then the order.
        auto* sortBy = m_window->findChild<QComboBox*>("cboSortBy");
        sortBy->setFocus();
        QTest::keyClick(sortBy, Qt::Key_Home);
        for (int i = 0; i < column; ++i)
            QTest::keyClick(sortBy, Qt::Key_Down);
        auto* order = m_window->findChild<QCheckBox*>("chkDescending");
        if (order->isChecked() != descending) {
            order->setFocus();
            QTest::keyClick(order, Qt::Key_Space);
        }
        QCOMPARE(cell(1), checkNumbers);
        QCOMPARE(table()->horizontalHeader()->sortIndicatorSection(), column);
    }

    void aHeaderClickSortsAndTheBoxesFollow()
    {
        QHeaderView* header = table()->horizontalHeader();
        const QPoint amount(header->sectionViewportPosition(4) + header->sectionSize(4) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, amount);
        QCOMPARE(cell(1), (QStringList{"998", "1042", "1040"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, amount);
        QCOMPARE(cell(1), (QStringList{"1040", "1042", "998"}));
        QCOMPARE(m_window->findChild<QComboBox*>("cboSortBy")->currentText(), "Amount");
        QVERIFY(m_window->findChild<QCheckBox*>("chkDescending")->isChecked());
    }

    void searchFiltersAsYouType_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("checkNumbers");

        QTest::newRow("payee, any case") << "ACME" << QStringList{"998", "1040"};
        QTest::newRow("payor") << QString::fromUtf8("renée") << QStringList{"1042"};
        QTest::newRow("payor, capitals") << QString::fromUtf8("RENÉE DU") << QStringList{"1042"};
        QTest::newRow("check number") << "104" << QStringList{"1042", "1040"};
        QTest::newRow("last four digits") << "6789" << QStringList{"1040"};
        QTest::newRow("amount as typed") << "$75" << QStringList{"1042"};
        QTest::newRow("amount without $ and comma") << "1234.56" << QStringList{"1040"};
        QTest::newRow("nothing found") << "zzz" << QStringList();
        QTest::newRow("routing number is not searched") << "021000021" << QStringList();
    }

    void searchFiltersAsYouType()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, checkNumbers);

        auto* search = m_window->findChild<QLineEdit*>("txtSearch");
        search->setFocus();
        type(search, typed);
        QCOMPARE(cell(1), checkNumbers);
        QCOMPARE(m_window->findChild<QLabel*>("lblCount")->text(),
                 QStringLiteral("%1 of 3 drafts").arg(checkNumbers.size()));
        search->clear();
        QCOMPARE(cell(1), (QStringList{"998", "1042", "1040"}));
    }

    void dateRange_data()
    {
        QTest::addColumn<int>("preset");   // cboRange's entry; -1: the dates typed
        QTest::addColumn<QString>("from"); // typed, MMddyyyy; empty: Any
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("period"); // what cboRange shows then
        QTest::addColumn<QStringList>("checkNumbers");

        // Besides 1040 (11/20), 1042 (12/01 9:30 PM) and 998 (12/08 noon),
        // drafts a minute before and at the first moment of each preset's
        // first day: 2001/2002 the last 30 days, 2003/2004 the month, 2005/2006
        // the week (from Sunday), 2007/2008 today.
        QTest::newRow("today") << 0 << ""
                               << ""
                               << "Today" << QStringList{"2008", "998"};
        QTest::newRow("this week") << 1 << ""
                                   << ""
                                   << "This week" << QStringList{"2008", "2007", "2006", "998"};
        QTest::newRow("this month") << 2 << ""
                                    << ""
                                    << "This month"
                                    << QStringList{"2008", "2007", "2006", "2005", "2004", "998", "1042"};
        QTest::newRow("last 30 days") << 3 << ""
                                      << ""
                                      << "Last 30 days" << QStringList{"2008", "2007", "2006", "2005", "2004",
                                                                       "2003", "2002", "998",  "1042", "1040"};
        QTest::newRow("all") << 4 << ""
                             << ""
                             << "All" << QStringList{"2008", "2007", "2006", "2005", "2004", "2003",
                                                     "2002", "2001", "998",  "1042", "1040"};
        QTest::newRow("typed, 12/01 to 12/05") << -1 << "12012026"
                                               << "12052026"
                                               << "Dates below" << QStringList{"2005", "2004", "1042"};
        QTest::newRow("typed, from 12/02, local days")
            << -1 << "12022026"
            << ""
            << "Dates below" << QStringList{"2008", "2007", "2006", "2005", "998"};
        QTest::newRow("typed, to 11/30") << -1 << ""
                                         << "11302026"
                                         << "Dates below" << QStringList{"2003", "2002", "2001", "1040"};
        QTest::newRow("typed, one day") << -1 << "12012026"
                                        << "12012026"
                                        << "Dates below" << QStringList{"2004", "1042"};
        QTest::newRow("typed, today's dates") << -1 << "12082026"
                                              << "12082026"
                                              << "Today" << QStringList{"2008", "998"};
        QTest::newRow("typed, days without drafts") << -1 << "12022026"
                                                    << "12042026"
                                                    << "Dates below" << QStringList();
    }

    void dateRange()
    {
        QFETCH(int, preset);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, period);
        QFETCH(QStringList, checkNumbers);

        cleanup();
        {
            auto session = newSession();
            DraftRegister& drafts = session->open(nullptr);
            DraftRecord draft;
            draft.destinationName = "Office";
            const QDateTime edges[] = {
                QDateTime(QDate(2026, 11, 9), QTime(5, 59), Qt::UTC),
                QDateTime(QDate(2026, 11, 9), QTime(6, 0), Qt::UTC),
                QDateTime(QDate(2026, 12, 1), QTime(5, 59), Qt::UTC),
                QDateTime(QDate(2026, 12, 1), QTime(6, 0), Qt::UTC),
                QDateTime(QDate(2026, 12, 6), QTime(5, 59), Qt::UTC),
                QDateTime(QDate(2026, 12, 6), QTime(6, 0), Qt::UTC),
                QDateTime(QDate(2026, 12, 8), QTime(5, 59), Qt::UTC),
                QDateTime(QDate(2026, 12, 8), QTime(6, 0), Qt::UTC),
            };
            int number = 2001;
            for (const QDateTime& time : edges) {
                m_now = time;
                draft.texts =
                    draftTexts("Edge Payor", QString::number(number++), "Harbor Tools", "$5.00", "000120000001C");
                drafts.record(draft, DraftEvent::printed("1"));
            }
            m_now = Now;
        }
        m_session = newSession();
        openWindow();

        auto* range = m_window->findChild<QComboBox*>("cboRange");
        auto* fromBox = m_window->findChild<QDateEdit*>("dtpFrom");
        auto* toBox = m_window->findChild<QDateEdit*>("dtpTo");
        QCOMPARE(range->currentText(), "All");
        QCOMPARE(fromBox->text(), "Any");
        QCOMPARE(toBox->text(), "Any");
        if (preset >= 0) {
            // From the keyboard: the period box, then its entry.
            range->setFocus();
            QTest::keyClick(range, Qt::Key_Home);
            for (int i = 0; i < preset; ++i)
                QTest::keyClick(range, Qt::Key_Down);
        }
        // Typed over "Any", month, day and year.
        if (!from.isEmpty()) {
            fromBox->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(fromBox, from);
        }
        if (!to.isEmpty()) {
            toBox->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(toBox, to);
        }
        QCOMPARE(cell(1), checkNumbers);
        QCOMPARE(range->currentText(), period);
    }

    void presetsShowTheirDates_data()
    {
        QTest::addColumn<int>("preset");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");

        // Today is Tuesday 12/08/2026; weeks begin on Sunday here.
        QTest::newRow("today") << 0 << "12/08/2026"
                               << "12/08/2026";
        QTest::newRow("this week") << 1 << "12/06/2026"
                                   << "12/12/2026";
        QTest::newRow("this month") << 2 << "12/01/2026"
                                    << "12/31/2026";
        QTest::newRow("last 30 days") << 3 << "11/09/2026"
                                      << "12/08/2026";
        QTest::newRow("all") << 4 << "Any"
                             << "Any";
    }

    void presetsShowTheirDates()
    {
        QFETCH(int, preset);
        QFETCH(QString, from);
        QFETCH(QString, to);

        auto* range = m_window->findChild<QComboBox*>("cboRange");
        range->setFocus();
        // From another preset, so that every row changes the dates.
        QTest::keyClick(range, preset == 0 ? Qt::Key_End : Qt::Key_Home);
        QTest::keyClick(range, Qt::Key_Home);
        for (int i = 0; i < preset; ++i)
            QTest::keyClick(range, Qt::Key_Down);
        QCOMPARE(m_window->findChild<QDateEdit*>("dtpFrom")->text(), from);
        QCOMPARE(m_window->findChild<QDateEdit*>("dtpTo")->text(), to);
    }

    void calendarsOpenAtToday()
    {
        auto* from = m_window->findChild<QDateEdit*>("dtpFrom");
        QCOMPARE(from->text(), "Any");
        from->setFocus();
        // The arrow at the box's right end opens its calendar.
        QTest::mouseClick(from, Qt::LeftButton, {}, QPoint(from->width() - 4, from->height() / 2));
        QCalendarWidget* calendar = from->calendarWidget();
        QTRY_VERIFY(calendar->isVisible());
        QCOMPARE(calendar->yearShown(), 2026);
        QCOMPARE(calendar->monthShown(), 12);
        QCOMPARE(from->text(), "Any");
    }

    void theSearchBoxHasTheFocusOnOpen()
    {
        auto* search = m_window->findChild<QLineEdit*>("txtSearch");
        QTRY_COMPARE(QApplication::focusWidget(), search);
        // Typed at once, a search narrows the list.
        QTest::keyClicks(QApplication::focusWidget(), "harbor");
        QCOMPARE(cell(1), QStringList{"1042"});
    }

    void theListTakesNewPrintsAndEvents()
    {
        selectCheck("1042");
        DraftRegister& drafts = m_session->open(nullptr);
        DraftRecord draft;
        draft.texts = draftTexts("Sam Lee", "999", "Acme Supplies LLC", "$19.99", "555544443333C");
        draft.destinationName = "Office";
        drafts.record(draft, DraftEvent::printed("31"));
        QTRY_COMPARE(cell(1), (QStringList{"999", "998", "1042", "1040"}));
        QCOMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "4 of 4 drafts");
        // The draft selected stays selected, its history shown.
        QCOMPARE(table()->selectionModel()->selectedRows().value(0).row(), 2);
        QCOMPARE(history(), QStringList{"12/01/2026 9:30 PM  Printed (job 17)"});

        // An event of the selected draft shows in its row and its history.
        drafts.append(drafts.drafts().at(2).id, DraftEvent::note("Customer called"));
        QTRY_COMPARE(history(), (QStringList{"12/01/2026 9:30 PM  Printed (job 17)",
                                             "12/08/2026 12:00 PM  Note: Customer called"}));
        drafts.append(drafts.drafts().front().id, DraftEvent::voided());
        QTRY_COMPARE(cell(5), (QStringList{"Voided", "Exported", "Printed", "Printed"}));

        // While a search is typed, a new draft shows only when it is found.
        QTest::keyClicks(m_window->findChild<QLineEdit*>("txtSearch"), "acme");
        QCOMPARE(cell(1), (QStringList{"999", "998", "1040"}));
        draft.texts = draftTexts("Pat Doe", "77", "Harbor Tools", "$5.00", "555544443333C");
        drafts.record(draft, DraftEvent::printed("32"));
        draft.texts = draftTexts("Pat Doe", "78", "Acme Supplies LLC", "$5.00", "555544443333C");
        drafts.record(draft, DraftEvent::printed("33"));
        QTRY_COMPARE(cell(1), (QStringList{"78", "999", "998", "1040"}));
        QVERIFY(m_failures.reports.isEmpty());
    }

    void commandsAppendToTheHistory_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("typed");   // a note; null: Cancel
        QTest::addColumn<QString>("deposit"); // "<day>|<deposit>" for the status dialog; null: Cancel
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("history");

        const QString printed = "12/01/2026 9:30 PM  Printed (job 17)";
        const QString voidAsked = "Void check 1042 to \"Harbor Tools\" for $75.00, printed 12/01/2026 9:30 PM (job 17 "
                                  "on \"Office\")? It stays in the register, marked Voided.";
        const QString depositAsked = "Deposited: When was check 1042 to \"Harbor Tools\" for $75.00 deposited? "
                                     "[2026-12-01..2026-12-08]";
        QTest::newRow("void") << "cmdVoid" << true << QString() << QString() << voidAsked << "Voided"
                              << QStringList{printed, "12/08/2026 12:00 PM  Voided on 12/08/2026"};
        QTest::newRow("void, No") << "cmdVoid" << false << QString() << QString() << voidAsked << "Printed"
                                  << QStringList{printed};
        QTest::newRow("deposited") << "cmdDeposited" << false << QString() << "2026-12-05|Slip 15" << depositAsked
                                   << "Deposited"
                                   << QStringList{printed,
                                                  "12/08/2026 12:00 PM  Deposited on 12/05/2026, deposit Slip 15"};
        QTest::newRow("deposited, no slip")
            << "cmdDeposited" << false << QString() << "2026-12-01|" << depositAsked << "Deposited"
            << QStringList{printed, "12/08/2026 12:00 PM  Deposited on 12/01/2026"};
        QTest::newRow("deposited, cancelled")
            << "cmdDeposited" << false << QString() << QString() << depositAsked << "Printed" << QStringList{printed};
        QTest::newRow("note") << "cmdNote" << false << "Customer asked for a copy" << QString()
                              << "Note on check 1042 to \"Harbor Tools\" for $75.00:"
                              << "Printed"
                              << QStringList{printed, "12/08/2026 12:00 PM  Note: Customer asked for a copy"};
    }

    void commandsAppendToTheHistory()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        QFETCH(QString, typed);
        QFETCH(QString, deposit);
        QFETCH(QString, asked);
        QFETCH(QString, status);
        QFETCH(QStringList, history);

        m_questions.answer = yes;
        m_texts.answer = typed;
        if (!deposit.isNull())
            m_changes.answer = StatusChangeAnswer{QDate::fromString(deposit.section('|', 0, 0), Qt::ISODate),
                                                  deposit.section('|', 1),
                                                  ReturnReason::Other,
                                                  {}};
        selectCheck("1042");
        press(command.toLatin1().constData());

        QCOMPARE(m_questions.asked + m_texts.asked + m_changes.asked, QStringList{asked});
        QCOMPARE(cell(5).at(1), status);
        QCOMPARE(this->history(), history);
        QVERIFY(m_failures.reports.isEmpty());
        // In the file, for the next run.
        cleanup();
        auto later = newSession();
        DraftRegister& drafts = later->open(nullptr);
        QCOMPARE(int(drafts.details(drafts.drafts().at(1).id).history.size()), history.size());
    }

    void commandsFollowTheDraftsLife()
    {
        selectCheck("1042");
        QCOMPARE(
            commandStates(),
            (QStringList{"cmdVoid", "cmdDeposited", "cmdPaid: The draft has not been deposited.",
                         "cmdReturned: The draft has not been deposited.",
                         "cmdRepresented: Only a draft that came back from the bank can be re-presented.",
                         "cmdWithdraw: There is no change to withdraw: the draft's status comes from its print."}));
        // Ctrl+Z with nothing to withdraw asks nothing.
        QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(m_questions.asked.isEmpty());

        m_changes.answer = StatusChangeAnswer{QDate(2026, 12, 5), "Slip 15", ReturnReason::Other, {}};
        press("cmdDeposited");
        QCOMPARE(commandStates(),
                 (QStringList{"cmdVoid: Only a draft not yet deposited can be voided.",
                              "cmdDeposited: The draft is with the bank.", "cmdPaid", "cmdReturned",
                              "cmdRepresented: Only a draft that came back from the bank can be re-presented.",
                              "cmdWithdraw"}));

        m_changes.answer = StatusChangeAnswer{QDate(2026, 12, 7), {}, ReturnReason::NotAuthorized, {}};
        press("cmdReturned");
        QCOMPARE(m_changes.asked.last(), "Returned: When did check 1042 to \"Harbor Tools\" for $75.00 come back, and "
                                         "why? [2026-12-05..2026-12-08]");
        QCOMPARE(cell(5).at(1), "Returned");
        const QString cameBack = "The draft came back from the bank: mark it Re-presented first if it went again.";
        QCOMPARE(commandStates(),
                 (QStringList{"cmdVoid: Only a draft not yet deposited can be voided.",
                              "cmdDeposited: The draft came back from the bank: mark it Re-presented when it goes "
                              "again.",
                              "cmdPaid: " + cameBack, "cmdReturned: " + cameBack, "cmdRepresented", "cmdWithdraw"}));

        // Ctrl+Z takes the return back once the merchant says so.
        m_questions.answer = false;
        QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cell(5).at(1), "Returned");
        m_questions.answer = true;
        QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
        const QString withdrawAsked = "Withdraw \"Returned on 12/07/2026\" from check 1042 to \"Harbor Tools\" for "
                                      "$75.00? It stays in the history, marked withdrawn.";
        QCOMPARE(m_questions.asked, (QStringList{withdrawAsked, withdrawAsked}));
        QCOMPARE(cell(5).at(1), "Deposited");

        // Returned again, for the merchant's own reason, re-presented, and paid.
        m_changes.answer = StatusChangeAnswer{QDate(2026, 12, 6), {}, ReturnReason::Other, "Signature stamp missing"};
        press("cmdReturned");
        m_changes.answer = StatusChangeAnswer{QDate(2026, 12, 7), "Slip 16", ReturnReason::Other, {}};
        press("cmdRepresented");
        m_changes.answer = StatusChangeAnswer{QDate(2026, 12, 8), {}, ReturnReason::Other, {}};
        press("cmdPaid");
        QCOMPARE(cell(5).at(1), "Paid");
        QCOMPARE(history(), (QStringList{"12/01/2026 9:30 PM  Printed (job 17)",
                                         "12/08/2026 12:00 PM  Deposited on 12/05/2026, deposit Slip 15",
                                         "12/08/2026 12:00 PM  Returned on 12/07/2026: Not authorized (withdrawn)",
                                         "12/08/2026 12:00 PM  Withdrawn: Returned on 12/07/2026",
                                         "12/08/2026 12:00 PM  Returned on 12/06/2026: Signature stamp missing",
                                         "12/08/2026 12:00 PM  Re-presented on 12/07/2026 (re-presentment 1), "
                                         "deposit Slip 16",
                                         "12/08/2026 12:00 PM  Paid on 12/08/2026"}));
        QCOMPARE(commandStates(),
                 (QStringList{
                     "cmdVoid: Only a draft not yet deposited can be voided.", "cmdDeposited: The draft is paid.",
                     "cmdPaid: The draft is paid.", "cmdReturned: The draft is paid.",
                     "cmdRepresented: Only a draft that came back from the bank can be re-presented.", "cmdWithdraw"}));
        QVERIFY(m_failures.reports.isEmpty());
    }

    void aChangeRefusedMeanwhileIsReported()
    {
        // Another program deposits the draft while this window shows it printed.
        selectCheck("1042");
        {
            auto other = newSession();
            DraftRegister& drafts = other->open(nullptr);
            drafts.change(drafts.drafts().at(1).id, DraftEvent::deposited(QDate(2026, 12, 8)));
        }
        m_questions.answer = true;
        press("cmdVoid");
        QCOMPARE(m_failures.reports, QStringList{"Only a draft not yet deposited can be voided."});
    }

    void theStatusDialogTakesTypedDaysAndReasons()
    {
        frmStatusChange dialog(DraftEventKind::Returned, "When did check 1042 come back, and why?", QDate(2026, 12, 1),
                               QDate(2026, 12, 8), nullptr);
        QCOMPARE(dialog.windowTitle(), "Mark Returned --Quillo");
        auto* day = dialog.findChild<QDateEdit*>("dtpDay");
        QCOMPARE(day->text(), "12/08/2026");
        auto* reason = dialog.findChild<QComboBox*>("cboReason");
        QStringList reasons;
        for (int i = 0; i < reason->count(); ++i)
            reasons.append(reason->itemText(i));
        QCOMPARE(reasons, (QStringList{"Insufficient funds", "Uncollected funds", "Stop payment", "Account closed",
                                       "No account / unable to locate", "Account frozen", "Stale dated", "Post dated",
                                       "Refer to maker", "Not authorized", "Altered or fictitious", "Other"}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        day->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(day, "12032026");
        QCOMPARE(day->date(), QDate(2026, 12, 3));
        // Other needs the merchant's words before OK.
        reason->setCurrentIndex(reason->count() - 1);
        auto* ok = dialog.findChild<QPushButton*>("cmdOK");
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(dialog.findChild<QLineEdit*>("txtOther"), "Signature stamp missing");
        QVERIFY(ok->isEnabled());
        StatusChangeAnswer answer = dialog.answer();
        QCOMPARE(answer.day, QDate(2026, 12, 3));
        QCOMPARE(answer.reason, ReturnReason::Other);
        QCOMPARE(answer.otherText, "Signature stamp missing");
        reason->setCurrentIndex(9);
        QVERIFY(ok->isEnabled());
        answer = dialog.answer();
        QCOMPARE(answer.reason, ReturnReason::NotAuthorized);
        QCOMPARE(answer.otherText, QString());
        // A day outside the draft's life is not taken.
        day->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(day, "12092026");
        QCOMPARE(day->date(), QDate(2026, 12, 3));
    }

    void aReprintIsToldApart()
    {
        DraftRegister& drafts = m_session->open(nullptr);
        DraftRecord draft;
        draft.texts =
            draftTexts(QString::fromUtf8("Renée Dubois    "), "1042", "Harbor Tools", "$75.00", "000120000001C");
        draft.destinationName = "Office";
        draft.reprintOf = drafts.drafts().at(1).id;
        drafts.record(draft, DraftEvent::printed("18"));
        QTRY_COMPARE(cell(5), (QStringList{"Printed, reprint", "Exported", "Printed", "Printed"}));
        table()->selectRow(0);
        QCOMPARE(history(), (QStringList{"12/08/2026 12:00 PM  Reprint of the draft printed 12/01/2026 9:30 PM, after "
                                         "the duplicate question",
                                         "12/08/2026 12:00 PM  Printed (job 18)"}));
        // Void names which of the two it means; an export has no print to name.
        press("cmdVoid");
        selectCheck("998");
        QCOMPARE(history(), QStringList{"12/08/2026 12:00 PM  Exported"});
        press("cmdVoid");
        QCOMPARE(m_questions.asked,
                 (QStringList{"Void check 1042 to \"Harbor Tools\" for $75.00, printed 12/08/2026 12:00 PM (job 18 on "
                              "\"Office\")? It stays in the register, marked Voided.",
                              "Void check 998 to \"Acme Supplies LLC\" for $9.99? It stays in the register, marked "
                              "Voided."}));
    }

    void openAndPrintAgainHandTheDraftOver()
    {
        QStringList handed;
        connect(m_window, &frmRegister::openAsDraft, this,
                [&](const DraftDetails& draft) { handed.append("open " + draft.record.texts[Box::PayorLine1]); });
        connect(m_window, &frmRegister::printAgain, this, [&](const DraftDetails& draft) {
            handed.append("print " + draft.record.texts[Box::AccountNumber] + " " +
                          draft.record.texts[Box::CheckNumber]);
        });
        selectCheck("1042");
        QTest::keyClick(button("cmdOpen"), Qt::Key_Space);
        QTest::keyClick(button("cmdPrintAgain"), Qt::Key_Space);
        QCOMPARE(handed, (QStringList{QString::fromUtf8("open Renée Dubois    "), "print 000120000001C 1042"}));
    }

    void aDamagedValueShowsWhichDraft()
    {
        cleanup();
        // One byte of check 1042's sealed payor changed in the file.
        QVERIFY(AlteredRegister::flipPayorByte(path(), "1042"));
        m_session = newSession();
        openWindow();

        QCOMPARE(cell(2), (QStringList{"Sam Lee", "(damaged)", "Jane Q. Customer"}));
        const QString damaged = "A value of check 1042 to \"Harbor Tools\" for $75.00 does not open (the register "
                                "file was altered): it shows as \"(damaged)\".";
        QTRY_COMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "3 of 3 drafts. " + damaged);
        selectCheck("1042");
        QVERIFY(m_window->findChild<QLabel*>("lblAuthorization")->text().startsWith(damaged + " Authorized by "));
        QCOMPARE(history(), QStringList{"12/01/2026 9:30 PM  Printed (job 17)"});
        // Not printed again with a value that did not open; the others are.
        QStringList handed;
        connect(m_window, &frmRegister::printAgain, this,
                [&](const DraftDetails& draft) { handed.append(draft.record.texts[Box::CheckNumber]); });
        QTest::keyClick(button("cmdPrintAgain"), Qt::Key_Space);
        QCOMPARE(m_failures.reports, QStringList{damaged});
        selectCheck("1040");
        QTest::keyClick(button("cmdPrintAgain"), Qt::Key_Space);
        QCOMPARE(handed, QStringList{"1040"});
    }

    void savesTheProofCopy_data()
    {
        QTest::addColumn<QString>("before");   // "" for no file at the chosen path, else its mode
        QTest::addColumn<bool>("altered");     // a byte of the register's sealed copy flipped
        QTest::addColumn<QByteArray>("saved"); // the file's bytes afterwards
        QTest::addColumn<QString>("told");     // the message, or the failure reported

        const QByteArray call = "recorded call of Renee Dubois, check 1042";
        const QString path = QDir::homePath() + "/out/call 1042.wav";
        QTest::newRow("a new file") << "" << false << call
                                    << "The proof file of check 1042 to \"Harbor Tools\" for $75.00 was saved as \"" +
                                           path + "\".";
        QTest::newRow("a readable file replaced, 0600 after")
            << "0644" << false << call
            << "The proof file of check 1042 to \"Harbor Tools\" for $75.00 was saved as \"" + path + "\".";
        QTest::newRow("the copy altered: refused, nothing written")
            << "" << true << QByteArray()
            << "The proof file \"call 1042.wav\" was not saved: the register's copy does not match the SHA-256 "
               "recorded with the authorization "
               "(737ac97bfab021bdc7baf422065bb2a9499848cb8338cf0723dcf913340f5ceb).";
        QTest::newRow("the copy altered: the file there stays")
            << "0644" << true << QByteArray("older")
            << "The proof file \"call 1042.wav\" was not saved: the "
               "register's copy does not match the SHA-256 recorded with the "
               "authorization "
               "(737ac97bfab021bdc7baf422065bb2a9499848cb8338cf0723dcf913340f5ceb).";
    }

    void savesTheProofCopy()
    {
        QFETCH(QString, before);
        QFETCH(bool, altered);
        QFETCH(QByteArray, saved);
        QFETCH(QString, told);

        const QString path = QDir::homePath() + "/out/call 1042.wav";
        QVERIFY(QDir().mkpath(QDir::homePath() + "/out"));
        if (!before.isEmpty()) {
            QVERIFY(TestFiles::write(path, "older"));
            QVERIFY(QFile::setPermissions(path,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        if (altered) {
            const QStringList copies = QDir(QDir::homePath() + "/proofs").entryList(QDir::Files);
            QCOMPARE(copies.size(), 1);
            const QString copy = QDir::homePath() + "/proofs/" + copies.first();
            QByteArray sealed = TestFiles::read(copy);
            sealed[30] = char(sealed[30] ^ 0x01);
            QVERIFY(TestFiles::write(copy, sealed));
        }
        selectCheck("1042");
        m_dialogs.answer(path);
        press("cmdSaveProof");

        QCOMPARE(m_dialogs.requests.size(), 1);
        QCOMPARE(m_dialogs.requests[0].fileName, "call 1042.wav");
        QCOMPARE(m_dialogs.requests[0].filters, (QList<NameFilter>{{"Proof Files (*.wav)", {"*.wav"}}}));
        QCOMPARE(m_dialogs.requests[0].initialFolder, QDir::homePath());
        QCOMPARE(m_messages.shown + m_failures.reports, QStringList{told});
        QCOMPARE(QFileInfo::exists(path), !saved.isEmpty());
        QCOMPARE(TestFiles::read(path), saved);
        if (!saved.isEmpty() && !altered)
            QCOMPARE(QFile::permissions(path),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }

    void proofCommandsFollowTheSelectedDraft()
    {
        auto* saveProof = button("cmdSaveProof");
        auto* package = button("cmdClaimPackage");
        QCOMPARE(package->isEnabled(), true);
        QCOMPARE(package->toolTip(), "");
        // 998 has no authorization record; 1042 one with a proof file.
        QCOMPARE(saveProof->isEnabled(), false);
        QCOMPARE(saveProof->toolTip(), "The draft was printed without an authorization record.");
        QCOMPARE(saveProof->accessibleDescription(), saveProof->toolTip());
        selectCheck("1042");
        QCOMPARE(saveProof->isEnabled(), true);
        QCOMPARE(saveProof->toolTip(), "");
        table()->clearSelection();
        QCOMPARE(saveProof->isEnabled(), false);
        QCOMPARE(saveProof->toolTip(), "No draft is selected.");
        QCOMPARE(package->isEnabled(), false);
        QCOMPARE(package->toolTip(), "No draft is selected.");
        QCOMPARE(package->accessibleDescription(), package->toolTip());
    }

    void aClaimPackageHoldsTheDraftsStory()
    {
        // A confirmation letter, then a deposit and a return, before the bank asks.
        DraftRegister& drafts = m_session->open(nullptr);
        const DraftId id = drafts.drafts().at(1).id;
        m_now = QDateTime(QDate(2026, 12, 3), QTime(16, 0), Qt::UTC);
        drafts.append(id, DraftEvent::letterSent("Printed on Office.", "31"));
        m_now = QDateTime(QDate(2026, 12, 4), QTime(15, 10), Qt::UTC);
        drafts.change(id, DraftEvent::deposited(QDate(2026, 12, 4), "Slip 15"));
        m_now = QDateTime(QDate(2026, 12, 7), QTime(17, 45), Qt::UTC);
        drafts.change(id, DraftEvent::returned(QDate(2026, 12, 7), ReturnReason::NotAuthorized));
        m_now = Now;

        const QString claims = QDir::homePath() + "/claims";
        QVERIFY(QDir().mkpath(claims));
        const QString folder = claims + "/Claim package, check 1042";
        selectCheck("1042");
        m_dialogs.answer(folder);
        press("cmdClaimPackage");

        QCOMPARE(m_dialogs.requests.size(), 1);
        QCOMPARE(m_dialogs.requests[0].fileName, "Claim package, check 1042");
        QCOMPARE(m_failures.reports, QStringList());
        QCOMPARE(m_messages.shown, QStringList{"The claim package of check 1042 to \"Harbor Tools\" for $75.00 was "
                                               "exported to the folder \"" +
                                               folder + "\" (6 files)."});
        // One new folder, nothing hidden left beside it.
        QCOMPARE(QDir(claims).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Claim package, check 1042"});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{"authorization.pdf", "call 1042.wav", "check.pdf", "history.txt", "letters.txt",
                              "manifest.txt"}));
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

        QCOMPARE(TestFiles::read(folder + "/call 1042.wav"), "recorded call of Renee Dubois, check 1042");
        const QByteArray historyFile =
            "History of check 1042 to \"Harbor Tools\" for $75.00 (times local; in brackets, UTC)\n"
            "\n"
            "12/01/2026 9:30 PM  Recorded, sent to the printer \"Office\" [2026-12-02 03:30:00 UTC]\n"
            "12/01/2026 9:30 PM  Printed (job 17) (by ann@desk-2) [2026-12-02 03:30:00 UTC]\n"
            "12/03/2026 10:00 AM  Confirmation letter sent (job 31): Printed on Office. (by ann@desk-2) "
            "[2026-12-03 16:00:00 UTC]\n"
            "12/04/2026 9:10 AM  Deposited on 12/04/2026, deposit Slip 15 (by ann@desk-2) [2026-12-04 15:10:00 UTC]\n"
            "12/07/2026 11:45 AM  Returned on 12/07/2026: Not authorized (by ann@desk-2) [2026-12-07 17:45:00 UTC]\n";
        QCOMPARE(TestFiles::read(folder + "/history.txt"), historyFile);
        const QByteArray letters =
            "Confirmation letters sent for check 1042 to \"Harbor Tools\" for $75.00 (times local; in brackets, "
            "UTC)\n"
            "\n"
            "12/03/2026 10:00 AM  Confirmation letter sent (job 31): Printed on Office. (by ann@desk-2) "
            "[2026-12-03 16:00:00 UTC]\n";
        QCOMPARE(TestFiles::read(folder + "/letters.txt"), letters);

        // The manifest: each file's SHA-256, as sha256sum writes and checks them.
        const auto sha = [](const QByteArray& bytes) {
            return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        };
        QCOMPARE(TestFiles::read(folder + "/manifest.txt"),
                 sha(TestFiles::read(folder + "/check.pdf")) + "  check.pdf\n" +
                     sha(TestFiles::read(folder + "/authorization.pdf")) + "  authorization.pdf\n" + sha(letters) +
                     "  letters.txt\n" + sha(historyFile) + "  history.txt\n" +
                     "737ac97bfab021bdc7baf422065bb2a9499848cb8338cf0723dcf913340f5ceb  call 1042.wav\n");

        // The page as Quick Print printed it, with the draft's offsets.
        const CheckTexts texts =
            draftTexts(QString::fromUtf8("Renée Dubois    "), "1042", "Harbor Tools", "$75.00", "000120000001C");
        PageSetup moved;
        moved.offsetRight = 25;
        moved.offsetDown = -10;
        const QString printed = QDir::homePath() + "/printed.pdf";
        QCOMPARE(quickPrintTo(pdfPrinter(printed), texts, moved), QuickPrint::Confirmation);
        const QList<PdfWord> words = pdfWords(folder + "/check.pdf");
        QVERIFY(words.size() > 20);
        const QList<PdfWord> printedWords = pdfWords(printed);
        QCOMPARE(words.size(), printedWords.size());
        for (qsizetype k = 0; k < words.size(); ++k) {
            QCOMPARE(words[k].text, printedWords[k].text);
            QCOMPARE(words[k].xMin, printedWords[k].xMin);
            QCOMPARE(words[k].yMin, printedWords[k].yMin);
        }
        const QString unmoved = QDir::homePath() + "/unmoved.pdf";
        QCOMPARE(quickPrintTo(pdfPrinter(unmoved), texts), QuickPrint::Confirmation);
        // A quarter inch is 18 points.
        QCOMPARE(words.first().xMin - pdfWords(unmoved).first().xMin, 18.0);

        const QString statement = toolOutput("pdftotext", {folder + "/authorization.pdf", "-"}).simplified();
        QCOMPARE(statement,
                 QString::fromUtf8(
                     "Authorization of check 1042 Check 1042 to \"Harbor Tools\" for $75.00, drawn on the account "
                     "ending in 0001 at First Prairie Bank, dated 12/01/2026; recorded 12/01/2026 9:30 PM and sent "
                     "to the printer \"Office\". Authorized by: Renée Dubois Phone: (217) 555-0142 Authorized on: "
                     "12/01/2026 2:05 PM (2026-12-01 20:05:00 UTC) How it was given: Recorded phone call Sale: A "
                     "sales call we made Amount authorized: $75.00 Payee authorized: Harbor Tools Drafts "
                     "authorized: 2 Authorization record: a1 Proof file: call 1042.wav, in this package SHA-256 of "
                     "the proof file: 737ac97bfab021bdc7baf422065bb2a9499848cb8338cf0723dcf913340f5ceb"));

        // In the draft's history, in the window and in the file.
        QCOMPARE(history().last(), "12/08/2026 12:00 PM  Claim package exported: " + folder);
        cleanup();
        auto later = newSession();
        DraftRegister& reopened = later->open(nullptr);
        const RecordedEvent recorded = reopened.details(reopened.drafts().at(1).id).history.back();
        QCOMPARE(int(recorded.event.kind), int(DraftEventKind::ClaimPackage));
        QCOMPARE(recorded.event.text, folder);
        QCOMPARE(reopened.details(reopened.drafts().at(1).id).status, DraftStatus::Returned);
    }

    void aClaimPackageFailingHalfWayLeavesNothing_data()
    {
        QTest::addColumn<int>("failingWrite");
        QTest::addColumn<QString>("refused"); // "folder" or "rename": that step fails
        QTest::addColumn<bool>("there");      // the folder's name is taken already
        QTest::addColumn<QString>("told");    // the message, or the failure reported
        QTest::addColumn<QStringList>("left");

        const QString folder = QDir::homePath() + "/Claim package, check 1042";
        const QString full = "The claim package could not be written to \"" + folder + "\". The disk is full.";
        QTest::newRow("the first file") << 1 << "" << false << full << QStringList();
        QTest::newRow("half-way, the proof file") << 5 << "" << false << full << QStringList();
        QTest::newRow("the manifest, last") << 6 << "" << false << full << QStringList();
        QTest::newRow("every file written")
            << 0 << "" << false
            << "The claim package of check 1042 to \"Harbor Tools\" for $75.00 was exported to the folder \"" + folder +
                   "\" (6 files)."
            << QStringList{folder + "/authorization.pdf", folder + "/call 1042.wav", folder + "/check.pdf",
                           folder + "/history.txt",       folder + "/letters.txt",   folder + "/manifest.txt"};
        QTest::newRow("the name taken") << 0 << "" << true
                                        << "The claim package was not written: \"" + folder +
                                               "\" exists already. Choose a name for a new folder."
                                        << QStringList{folder + "/earlier.txt"};
        QTest::newRow("the hidden folder refused")
            << 0 << "folder" << false
            << "The claim package could not be written to \"" + folder + "\". The folder cannot be created there."
            << QStringList();
        QTest::newRow("the name taken meanwhile")
            << 0 << "rename" << false
            << "The claim package could not be written to \"" + folder + "\". The folder cannot take that name."
            << QStringList();
    }

    void aClaimPackageFailingHalfWayLeavesNothing()
    {
        QFETCH(int, failingWrite);
        QFETCH(QString, refused);
        QFETCH(bool, there);
        QFETCH(QString, told);
        QFETCH(QStringList, left);

        const QString folder = QDir::homePath() + "/Claim package, check 1042";
        cleanup();
        m_fakeFolders.failingWrite = failingWrite;
        m_fakeFolders.folderRefused = refused == "folder";
        m_fakeFolders.renameRefused = refused == "rename";
        if (there) {
            m_fakeFolders.folders.insert(folder);
            m_fakeFolders.files.insert(folder + "/earlier.txt", "kept");
        }
        m_folders = &m_fakeFolders;
        m_session = newSession();
        openWindow();
        selectCheck("1042");
        const int events = history().size();
        m_dialogs.answer(folder);
        press("cmdClaimPackage");

        QCOMPARE(m_messages.shown + m_failures.reports, QStringList{told});
        QCOMPARE(m_fakeFolders.files.keys(), left);
        QCOMPARE(m_fakeFolders.folders.size(), left.isEmpty() ? 0 : 1);
        const bool written = told.startsWith("The claim package of");
        // Only a package that was written is in the history.
        QCOMPARE(history().size(), events + (written ? 1 : 0));
        if (failingWrite > 0 || !refused.isEmpty())
            QCOMPARE(m_fakeFolders.steps.last().section(' ', 0, 0), "remove");
    }

    void exportsTheRowsShownAsCsv()
    {
        QTest::keyClicks(m_window->findChild<QLineEdit*>("txtSearch"), "acme");
        const QString file = QDir::homePath() + "/acme.csv";
        m_dialogs.answer(file);
        QTest::keyClick(button("cmdExportCsv"), Qt::Key_Space);
        QCOMPARE(m_dialogs.requests.size(), 1);
        QCOMPARE(m_dialogs.requests[0].fileName, "register.csv");
        QCOMPARE(m_dialogs.requests[0].initialFolder, QDir::homePath());
        QCOMPARE(TestFiles::read(file),
                 QByteArray("Printed,Check No.,Payor,Payee,Amount,Amount (number),Status,Status Date,Return Reason,"
                            "Printer or File,Authorized By,Authorization,Authorized On,Sale,Account No.,Seat\r\n"
                            "2026-12-08 12:00,998,Sam Lee,Acme Supplies LLC,$9.99,9.99,Exported,2026-12-08,,"
                            "/home/m/998.pdf,,,,,****3333,ann@desk-2\r\n"
                            "2026-11-20 10:00,1040,Jane Q. Customer,Acme Supplies LLC,\"$1,234.56\",1234.56,Printed,"
                            "2026-11-20,,Front Desk,,,,,****6789,ann@desk-2\r\n"));
        QCOMPARE(m_messages.shown, QStringList{"The drafts shown (2) were exported to \"" + file + "\"."});
    }

    void everyControlIsReachedAndNamed()
    {
        auto* search = m_window->findChild<QLineEdit*>("txtSearch");
        search->setFocus();
        QStringList reached;
        QStringList unnamed;
        for (int i = 0; i < 20; ++i) {
            QWidget* focused = QApplication::focusWidget();
            reached.append(focused->objectName());
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focused);
            if (!accessible || accessible->text(QAccessible::Name).isEmpty())
                unnamed.append(focused->objectName());
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(reached, (QStringList{"txtSearch",        "cboRange",      "dtpFrom",         "dtpTo",
                                       "cboSortBy",        "chkDescending", "tblDrafts",       "lstHistory",
                                       "lblAuthorization", "cmdOpen",       "cmdPrintAgain",   "cmdVoid",
                                       "cmdDeposited",     "cmdNote",       "cmdClaimPackage", "cmdExportCsv",
                                       "chkFullNumbers",   "cmdRemoveOld",  "cmdClose",        "txtSearch"}));
        QCOMPARE(unnamed, QStringList());
        // And those Tab does not reach: the commands that do not apply now,
        // the search box's clear button.
        QStringList nameless;
        const QList<QWidget*> controls = m_window->findChildren<QWidget*>();
        int clearButtons = 0;
        for (QWidget* control : controls) {
            auto* tool = qobject_cast<QToolButton*>(control);
            if (tool && tool->parent() == search) {
                ++clearButtons;
                QCOMPARE(tool->accessibleName(), "Clear search");
            }
            // The window's own controls; the parts of a table or calendar are Qt's.
            if (control->parentWidget() != m_window || control->inherits("QLabel"))
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            if (!accessible || accessible->text(QAccessible::Name).isEmpty())
                nameless.append(control->objectName());
        }
        QCOMPARE(clearButtons, 1);
        QCOMPARE(nameless, QStringList());
    }

    void showsTheAuthorizationOfTheSelectedDraft()
    {
        auto* authorization = m_window->findChild<QLabel*>("lblAuthorization");
        selectCheck("1042");
        QCOMPARE(authorization->text(),
                 QString::fromUtf8("Authorized by Renée Dubois ((217) 555-0142) on 12/01/2026 2:05 PM: recorded phone "
                                   "call. Sale: a sales call we made. For $75.00 to \"Harbor Tools\", 2 drafts. Proof: "
                                   "call 1042.wav, SHA-256 "
                                   "737ac97bfab021bdc7baf422065bb2a9499848cb8338cf0723dcf913340f5ceb."));
        selectCheck("1040");
        QCOMPARE(authorization->text(), "No authorization record.");
    }

    void removesOldDraftsOnlyOnceConfirmed()
    {
        cleanup();
        {
            auto session = newSession();
            DraftRegister& drafts = session->open(nullptr);
            DraftRecord draft;
            draft.destinationName = "Office";
            // Five years and a day back, and five years less a day.
            draft.texts = draftTexts("Old Payor", "501", "Harbor Tools", "$75.00", "000120000001C");
            m_now = QDateTime(QDate(2021, 12, 7), QTime(18, 0), Qt::UTC);
            drafts.record(draft, DraftEvent::printed("5"));
            draft.texts = draftTexts("Old Payor", "502", "Harbor Tools", "$75.00", "000120000001C");
            m_now = QDateTime(QDate(2021, 12, 9), QTime(18, 0), Qt::UTC);
            drafts.record(draft, DraftEvent::printed("6"));
            m_now = Now;
        }
        m_session = newSession();
        openWindow();
        QCOMPARE(cell(1), (QStringList{"502", "501", "998", "1042", "1040"}));

        // Listed, and kept: Enter is Cancel.
        QString intro;
        QStringList listed;
        const auto answer = [&](Qt::Key key) {
            QTimer::singleShot(0, this, [&, key] {
                auto* dialog = qobject_cast<frmOldDrafts*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(dialog->windowTitle(), "Remove Old Drafts --Quillo");
                intro = dialog->findChild<QLabel*>("lblOldDrafts")->text();
                auto* list = dialog->findChild<QListWidget*>("lstOldDrafts");
                listed.clear();
                for (int row = 0; row < list->count(); ++row)
                    listed.append(list->item(row)->text());
                if (key == Qt::Key_Return)
                    QTest::keyClick(dialog, key);
                else
                    dialog->findChild<QPushButton*>("cmdRemove")->click();
            });
        };
        answer(Qt::Key_Return);
        QTest::keyClick(button("cmdRemoveOld"), Qt::Key_Space);
        QCOMPARE(intro, "This draft is five years or more past the last event in its history. Remove them from the "
                        "register, with their authorizations and proof copies? Nothing else is ever removed from the "
                        "register, and this cannot be undone.");
        QCOMPARE(listed, QStringList{"Check 501 to \"Harbor Tools\" for $75.00, printed 12/07/2021, last event "
                                     "12/07/2021"});
        QCOMPARE(cell(1), (QStringList{"502", "501", "998", "1042", "1040"}));
        QVERIFY(m_messages.shown.isEmpty());

        // Removed once the merchant says so; then nothing is old enough.
        answer(Qt::Key_R);
        QTest::keyClick(button("cmdRemoveOld"), Qt::Key_Space);
        QCOMPARE(m_messages.shown, QStringList{"1 draft was removed from the register."});
        QCOMPARE(cell(1), (QStringList{"502", "998", "1042", "1040"}));
        QTest::keyClick(button("cmdRemoveOld"), Qt::Key_Space);
        QCOMPARE(m_messages.shown.last(),
                 "No draft in the register is five years or more past the last event in its history.");
        QVERIFY(m_failures.reports.isEmpty());
    }

    void aLongRegisterComesUpPageByPage()
    {
        cleanup();
        recordLongRegister(*newSession(), QString());
        m_session = newSession();
        openWindow(false);
        // The first page at once; the oldest drafts are not here yet.
        QCOMPARE(table()->model()->rowCount(), 200);
        QCOMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "200 of 200 drafts so far");
        QCOMPARE(cell(1).first(), "7500");
        m_window->show();
        // A search finds the drafts of later pages as they come.
        type(m_window->findChild<QLineEdit*>("txtSearch"), "payor 7");
        QTRY_COMPARE(cell(2).size(), 111);
        QCOMPARE(cell(2).last(), "Payor 7");
        QTRY_COMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "111 of 2503 drafts");
        m_window->findChild<QLineEdit*>("txtSearch")->clear();
        QCOMPARE(table()->model()->rowCount(), 2503);
    }

    void aSearchTypedWhileLoadingWaitsForNoPayor()
    {
        cleanup();
        // One draft of the first page names a payor-like payee, in clear.
        recordLongRegister(*newSession(), QStringLiteral("Payor 7 Trust"));
        m_session = newSession();
        openWindow(false);
        auto* model = qobject_cast<DraftListModel*>(table()->model());
        QVERIFY(model);
        QCOMPARE(model->openedCount(), 0);

        // Typed before the window opened a payor: the keys search what is
        // open, and open nothing themselves.
        auto* search = m_window->findChild<QLineEdit*>("txtSearch");
        QTest::keyClicks(search, "payor 7");
        QCOMPARE(search->text(), "payor 7");
        QCOMPARE(model->openedCount(), 0);
        QCOMPARE(cell(1), QStringList{"7400"});
        QCOMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "1 of 200 drafts so far");
        table()->selectRow(0);

        // The rest joins as the payors open, in its place; the selection stays.
        m_window->show();
        QTRY_COMPARE(cell(2).size(), 112);
        QCOMPARE(cell(1).first(), "7400");
        QCOMPARE(cell(2).at(1), "Payor 799");
        QCOMPARE(cell(2).last(), "Payor 7");
        QCOMPARE(cell(1).at(table()->selectionModel()->selectedRows().first().row()), "7400");
        QTRY_COMPARE(m_window->findChild<QLabel*>("lblCount")->text(), "112 of 2503 drafts");
        QCOMPARE(model->openedCount(), 2503);
    }

    void sortingFetchesEveryPage()
    {
        cleanup();
        {
            auto session = newSession();
            DraftRegister& drafts = session->open(nullptr);
            drafts.together([&] {
                for (int i = 1; i <= 500; ++i) {
                    DraftRecord draft;
                    draft.texts = draftTexts("Payor", QString::number(i), "Acme", "$10.00", "98765436789C");
                    drafts.record(draft, DraftEvent::printed(QString::number(i)));
                }
            });
        }
        m_session = newSession();
        openWindow(false);
        QCOMPARE(table()->model()->rowCount(), 200);
        table()->sortByColumn(1, Qt::AscendingOrder);
        QCOMPARE(table()->model()->rowCount(), 503);
        QCOMPARE(cell(1).mid(0, 3), (QStringList{"1", "2", "3"}));
        QCOMPARE(cell(1).last(), "1042");
    }

    void choosingAPassphrase_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("advice");
        QTest::addColumn<QString>("match");
        QTest::addColumn<bool>("okEnabled");

        QTest::newRow("too easy to guess, typed twice")
            << "zebra staple"
            << "zebra staple"
            << "This passphrase could be guessed in fewer than ten billion tries. Common words and names are "
               "guessed first, even with digits for letters. Add another word or two that are not common."
            << "" << false;
        QTest::newRow("hard enough, typed twice") << "Zebra staple"
                                                  << "Zebra staple"
                                                  << ""
                                                  << "" << true;
        QTest::newRow("hard enough, typed differently") << "Zebra staple"
                                                        << "Zebra stapel"
                                                        << ""
                                                        << "The two passphrases differ." << false;
        QTest::newRow("hard enough, not typed again") << "Zebra staple"
                                                      << ""
                                                      << ""
                                                      << "" << false;
    }

    void choosingAPassphrase()
    {
        QFETCH(QString, first);
        QFETCH(QString, again);
        QFETCH(QString, advice);
        QFETCH(QString, match);
        QFETCH(bool, okEnabled);

        PassphraseDialog dialog(PassphrasePrompt::Purpose::Choose, false, nullptr);
        dialog.show();
        auto* passphrase = dialog.findChild<QLineEdit*>("txtPassphrase");
        auto* second = dialog.findChild<QLineEdit*>("txtAgain");
        type(passphrase, first);
        type(second, again);
        QCOMPARE(dialog.findChild<QLabel*>("lblStrength")->text(), advice);
        QCOMPARE(dialog.findChild<QLabel*>("lblMatch")->text(), match);
        QCOMPARE(dialog.findChild<QPushButton*>("cmdOK")->isEnabled(), okEnabled);

        // Show reveals both boxes' text, and hides it again.
        auto* show = dialog.findChild<QPushButton*>("cmdShow");
        QCOMPARE(passphrase->echoMode(), QLineEdit::Password);
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(passphrase->echoMode(), QLineEdit::Normal);
        QCOMPARE(second->echoMode(), QLineEdit::Normal);
        QTest::mouseClick(show, Qt::LeftButton);
        QCOMPARE(second->echoMode(), QLineEdit::Password);
    }

    void eachQuestionSaysWhatItAsks_data()
    {
        QTest::addColumn<int>("purpose");
        QTest::addColumn<bool>("wrongBefore");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("typedTwice");

        using Purpose = PassphrasePrompt::Purpose;
        QTest::newRow("register, entered") << int(Purpose::Enter) << false << "Register Passphrase --Quillo"
                                           << "Type the passphrase of the draft register." << false;
        QTest::newRow("office, chosen")
            << int(Purpose::ChooseOffice) << false << "Office Passphrase --Quillo"
            << "The office's new register on the server is protected with an office passphrase. Choose one and "
               "give it to every seat of the office: each types it once, and without it no one can read the register."
            << true;
        QTest::newRow("office, entered")
            << int(Purpose::EnterOffice) << false << "Office Passphrase --Quillo"
            << "Type the office passphrase once: this computer then keeps the register's key in its keyring." << false;
        QTest::newRow("office, after a wrong one") << int(Purpose::EnterOffice) << true << "Office Passphrase --Quillo"
                                                   << "That is not the office passphrase. Type it again." << false;
        QTest::newRow("server password") << int(Purpose::ServerPassword) << false << "Office Server Password --Quillo"
                                         << "Type the password of the office server's user." << false;
        QTest::newRow("server password, after a wrong one")
            << int(Purpose::ServerPassword) << true << "Office Server Password --Quillo"
            << "The office server did not take that password. Type it again." << false;
    }

    void eachQuestionSaysWhatItAsks()
    {
        QFETCH(int, purpose);
        QFETCH(bool, wrongBefore);
        QFETCH(QString, title);
        QFETCH(QString, prompt);
        QFETCH(bool, typedTwice);
        PassphraseDialog dialog(PassphrasePrompt::Purpose(purpose), wrongBefore, nullptr);
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(dialog.findChild<QLabel*>("lblPrompt")->text(), prompt);
        QCOMPARE(dialog.findChild<QLineEdit*>("txtAgain") != nullptr, typedTwice);
        // A chosen office passphrase is measured as a register's is.
        if (typedTwice) {
            type(dialog.findChild<QLineEdit*>("txtPassphrase"), "zebra staple");
            type(dialog.findChild<QLineEdit*>("txtAgain"), "zebra staple");
            QVERIFY(!dialog.findChild<QPushButton*>("cmdOK")->isEnabled());
        }
    }

    void anExistingPassphraseIsNotMeasured()
    {
        // The register's own passphrase, however weak, is what opens it.
        PassphraseDialog dialog(PassphrasePrompt::Purpose::Enter, false, nullptr);
        type(dialog.findChild<QLineEdit*>("txtPassphrase"), "a");
        QVERIFY(dialog.findChild<QPushButton*>("cmdOK")->isEnabled());
        QCOMPARE(dialog.findChild<QLabel*>("lblStrength"), nullptr);
    }

    void aRegisterThatCannotBeOpened()
    {
        cleanup();
        m_keyring.answers = false;
        m_session = newSession();
        RegisterWindowServices services;
        services.session = m_session.get();
        services.messages = &m_messages;
        services.failures = &m_failures;
        m_window = new frmRegister(services);
        QVERIFY(!m_window->Form_Load());
        QCOMPARE(m_messages.shown, QStringList{"The draft register cannot be used: the desktop's keyring, which "
                                               "keeps its key, does not answer."});
    }
};

int main(int argc, char* argv[])
{
    qputenv("TZ", "America/Chicago");
    ::tzset();
    // A merchant in the United States: weeks begin on Sunday.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // The register's key comes from the fake keyring these tests hand it.
    qunsetenv("QUILLO_REGISTER_PASSPHRASE");
    QApplication app(argc, argv);
    // The cheque's fonts, for its page in a claim package.
    Fonts::install();
    TestRegisterWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registerwindow.moc"
