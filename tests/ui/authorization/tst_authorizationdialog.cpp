#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeQuestionBox.h"
#include "fakes/TestFiles.h"
#include "ui/authorization/frmAuthorization.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <sys/stat.h>

namespace {

using Use = frmAuthorization::Use;

// Jane Q. Customer's record as an offer fills it from her draft, at 2:05 PM on 12/01/2026.
AuthorizationRecord offeredRecord()
{
    AuthorizationRecord record;
    record.id = QStringLiteral("a1");
    record.authorizedBy = QStringLiteral("Jane Q. Customer");
    record.authorizedAt = QDateTime(QDate(2026, 12, 1), QTime(14, 5));
    record.amount = QStringLiteral("$247.50");
    record.payee = QStringLiteral("Sunrise Garden Supply");
    return record;
}

const QString TelemarketingQuestion = QStringLiteral(
    "This draft pays for a telemarketing sale to a consumer, which federal rules do not allow. Print it anyway?");

} // namespace

// "Authorization --Quillo" as Edit, Authorization and the offer before a
// print show it, against fake file dialogs and questions.
class TestAuthorizationDialog : public QObject {
    Q_OBJECT

private:
    template <typename T> static T* child(const QDialog& dialog, const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }

    FakeFileDialogs m_dialogs;
    FakeQuestionBox m_questions;

private Q_SLOTS:
    void init()
    {
        m_dialogs = FakeFileDialogs();
        m_questions = FakeQuestionBox();
    }

    void okSaysWhatItDoes_data()
    {
        QTest::addColumn<int>("use");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("why"); // none for Edit

        QTest::newRow("Edit, Authorization") << int(Use::Edit) << "OK"
                                             << "";
        QTest::newRow("offered before a print")
            << int(Use::OfferBeforePrint) << "&Record and Print"
            << "This draft has no authorization record yet: fill one in, and it is kept with the draft in the "
               "register when it is printed.";
        QTest::newRow("offered before an export")
            << int(Use::OfferBeforeExport) << "&Record and Export"
            << "This draft has no authorization record yet: fill one in, and it is kept with the draft in the "
               "register when it is exported.";
    }

    void okSaysWhatItDoes()
    {
        QFETCH(int, use);
        QFETCH(QString, ok);
        QFETCH(QString, why);

        frmAuthorization dialog(offeredRecord(), true, true, Use(use), m_dialogs, nullptr, &m_questions);
        QCOMPARE(child<QPushButton>(dialog, "cmdOK")->text(), ok);
        auto* lblWhy = child<QLabel>(dialog, "lblWhy");
        QCOMPARE(lblWhy ? lblWhy->text() : QString(), why);
        QCOMPARE(child<QPushButton>(dialog, "cmdWithout") != nullptr, Use(use) != Use::Edit);
    }

    void telemarketingIsAskedBeforeTheOfferCloses_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("sale");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("result"); // -1: still open

        const int accepted = QDialog::Accepted;
        const int without = frmAuthorization::WithoutRecord;
        QTest::newRow("Record and Print, a sales call, No") << "cmdOK" << 1 << false << true << -1;
        QTest::newRow("Record and Print, a sales call, Yes") << "cmdOK" << 1 << true << true << accepted;
        QTest::newRow("Record and Print, the customer called") << "cmdOK" << 0 << false << false << accepted;
        QTest::newRow("Print Without Record, answered advertising, No") << "cmdWithout" << 2 << false << true << -1;
        QTest::newRow("Print Without Record, answered advertising, Yes")
            << "cmdWithout" << 2 << true << true << without;
        QTest::newRow("Print Without Record, online") << "cmdWithout" << 3 << false << false << without;
    }

    void telemarketingIsAskedBeforeTheOfferCloses()
    {
        QFETCH(QString, button);
        QFETCH(int, sale);
        QFETCH(bool, yes);
        QFETCH(bool, asked);
        QFETCH(int, result);

        m_questions.answer = yes;
        frmAuthorization dialog(offeredRecord(), true, true, Use::OfferBeforePrint, m_dialogs, nullptr, &m_questions);
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QLineEdit>(dialog, "txtPhone")->setText(QStringLiteral("(217) 555-0142"));
        child<QComboBox>(dialog, "cboGiven")->setCurrentIndex(1);
        child<QComboBox>(dialog, "cboSale")->setCurrentIndex(sale);
        dialog.findChild<QPushButton*>(button)->click();

        QCOMPARE(m_questions.asked, asked ? QStringList{TelemarketingQuestion} : QStringList());
        QCOMPARE(dialog.telemarketingAnswered(), asked && yes);
        if (result < 0) {
            // No: the dialog stays as the merchant filled it in.
            QVERIFY(finished.isEmpty());
            QVERIFY(dialog.isVisible());
            QCOMPARE(child<QLineEdit>(dialog, "txtPhone")->text(), "(217) 555-0142");
            QCOMPARE(child<QComboBox>(dialog, "cboGiven")->currentIndex(), 1);
            QCOMPARE(child<QComboBox>(dialog, "cboSale")->currentIndex(), sale);
            QCOMPARE(dialog.record().phone, "(217) 555-0142");
            return;
        }
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toInt(), result);
        QCOMPARE(dialog.record().sale, AuthorizationRecord::Sale(sale));
    }

    void editAsksNothing()
    {
        frmAuthorization dialog(offeredRecord(), true, true, Use::Edit, m_dialogs, nullptr, &m_questions);
        child<QComboBox>(dialog, "cboGiven")->setCurrentIndex(0);
        child<QComboBox>(dialog, "cboSale")->setCurrentIndex(1);
        QSignalSpy finished(&dialog, &QDialog::finished);
        child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(finished.size(), 1);
        QVERIFY(m_questions.asked.isEmpty());
    }

    void theWarningIsLaidOutWhole()
    {
        frmAuthorization dialog(offeredRecord(), true, true, Use::OfferBeforePrint, m_dialogs, nullptr, &m_questions);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const int without = dialog.height();
        auto* warning = child<QLabel>(dialog, "lblTelemarketing");
        auto* sale = child<QComboBox>(dialog, "cboSale");

        sale->setCurrentIndex(1);
        QTRY_VERIFY(dialog.height() > without);
        QVERIFY(warning->isVisible());
        // Every line of it inside the dialog, none cut at the top or bottom.
        QVERIFY(warning->height() >= warning->heightForWidth(warning->width()));
        QVERIFY(dialog.rect().contains(QRect(warning->mapTo(&dialog, QPoint(0, 0)), warning->size())));
        QCOMPARE(warning->text(), "Federal telemarketing rules (16 CFR 310.4(a)(9)) do not allow a draft like this "
                                  "as payment in a telemarketing sale to a consumer.");

        // Another kind of sale: no gap where it stood.
        sale->setCurrentIndex(4);
        QTRY_COMPARE(dialog.height(), without);
        QVERIFY(!warning->isVisible());
    }

    void theDateChangesOnlyWhenAimedAt()
    {
        frmAuthorization dialog(offeredRecord(), false, true, Use::Edit, m_dialogs, nullptr, &m_questions);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* date = child<QDateTimeEdit>(dialog, "dtpAuthorizedAt");
        const QDateTime given = date->dateTime();
        QCOMPARE(given, QDateTime(QDate(2026, 12, 1), QTime(14, 5)));

        // Tabbed into and pressed as if to leave it, or scrolled over.
        date->setFocus();
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown})
            QTest::keyClick(date, key);
        QWheelEvent wheel(QPointF(5, 5), date->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(date, &wheel);
        QCOMPARE(date->dateTime(), given);

        // Typed, it changes: the day, chosen by its place.
        date->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(date, QStringLiteral("02"));
        QCOMPARE(date->date(), QDate(2026, 12, 2));
    }

    void aProofFileIsRefusedWithItsReason()
    {
        QTemporaryDir folder;
        const QString pipe = folder.filePath(QStringLiteral("call.wav"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString form = folder.filePath(QStringLiteral("form.pdf"));
        QVERIFY(TestFiles::write(form, "%PDF-1.4 signed form"));

        frmAuthorization dialog(offeredRecord(), true, true, Use::OfferBeforePrint, m_dialogs, nullptr, &m_questions);
        child<QComboBox>(dialog, "cboGiven")->setCurrentIndex(0);
        child<QComboBox>(dialog, "cboSale")->setCurrentIndex(0);
        auto* hash = child<QLabel>(dialog, "lblProofHash");
        auto* choose = child<QPushButton>(dialog, "cmdProof");

        // A pipe with no writer: refused at once, and nothing is taken from it.
        m_dialogs.answer(pipe);
        choose->click();
        QTRY_VERIFY(choose->isEnabled());
        QCOMPARE(hash->text(), "The proof file \"call.wav\" is a folder, a device or a pipe, not a file: choose the "
                               "file itself.");
        QCOMPARE(child<QLineEdit>(dialog, "txtProof")->text(), QString());
        QVERIFY(child<QPushButton>(dialog, "cmdOK")->isEnabled());
        QVERIFY(!dialog.record().hasProof());

        // Chosen again: the file itself.
        m_dialogs.answer(form);
        choose->click();
        QTRY_VERIFY(choose->isEnabled());
        QCOMPARE(child<QLineEdit>(dialog, "txtProof")->text(), "form.pdf");
        QCOMPARE(dialog.record().proofFile, form);
        QCOMPARE(hash->text().left(9), "SHA-256: ");
        QVERIFY(!child<QWidget>(dialog, "prgProof")->isVisible());
    }
};

QTEST_MAIN(TestAuthorizationDialog)
#include "tst_authorizationdialog.moc"
