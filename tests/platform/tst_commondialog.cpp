#include "platform/CommonDialog.h"
#include "platform/DialogCancelled.h"

#include "fakes/FakeFileDialogs.h"

#include <QtTest>

Q_DECLARE_METATYPE(QList<NameFilter>)

class TestCommonDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestCarriesTheSettings();
    void flags_data();
    void flags();
    void filterIndex_data();
    void filterIndex();
    void parseFilter_data();
    void parseFilter();
    void completedDialogSetsFileNameAndTitle_data();
    void completedDialogSetsFileNameAndTitle();
    void cancelKeepsFileNameAndTitle_data();
    void cancelKeepsFileNameAndTitle();
};

void TestCommonDialog::requestCarriesTheSettings()
{
    FakeFileDialogs dialogs;
    CommonDialog cDlg(dialogs);
    cDlg.InitDir = QStringLiteral("/opt/quillo");
    cDlg.Filter = QStringLiteral("Any File (*.*)|*.*|Quillo Files (*.qlo)|*.qlo");
    cDlg.FilterIndex = 2;
    cDlg.Flags = 4102;
    cDlg.FileName = QStringLiteral("Acme Supply");

    cDlg.ShowOpen();
    cDlg.ShowSave();

    QCOMPARE(dialogs.requests.size(), 2);
    QCOMPARE(dialogs.requests[0].kind, FileDialogRequest::Kind::Open);
    QCOMPARE(dialogs.requests[1].kind, FileDialogRequest::Kind::Save);
    for (const FileDialogRequest& request : dialogs.requests) {
        QCOMPARE(request.initialFolder, QStringLiteral("/opt/quillo"));
        QCOMPARE(request.fileName, QStringLiteral("Acme Supply"));
        const QList<NameFilter> filters = {{QStringLiteral("Any File (*.*)"), {QStringLiteral("*.*")}},
                                           {QStringLiteral("Quillo Files (*.qlo)"), {QStringLiteral("*.qlo")}}};
        QCOMPARE(request.filters, filters);
        QCOMPARE(request.selectedFilter, 1);
        QVERIFY(request.fileMustExist);
        QVERIFY(request.confirmOverwrite);
        QVERIFY(request.hideReadOnly);
    }
}

void TestCommonDialog::flags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("mustExist");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("hideReadOnly");
    QTest::newRow("none") << 0 << false << false << false;
    QTest::newRow("file must exist") << 0x1000 << true << false << false;
    QTest::newRow("overwrite prompt") << 0x2 << false << true << false;
    QTest::newRow("hide read-only") << 0x4 << false << false << true;
    QTest::newRow("other bits ignored") << 0x0808 << false << false << false;
}

void TestCommonDialog::flags()
{
    QFETCH(int, flags);
    FakeFileDialogs dialogs;
    CommonDialog cDlg(dialogs);
    cDlg.Flags = flags;
    const FileDialogRequest request = cDlg.request(FileDialogRequest::Kind::Open);
    QTEST(request.fileMustExist, "mustExist");
    QTEST(request.confirmOverwrite, "confirm");
    QTEST(request.hideReadOnly, "hideReadOnly");
}

void TestCommonDialog::filterIndex_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<int>("selected");
    const QString two = QStringLiteral("A|*.a|B|*.b");
    QTest::newRow("first") << two << 1 << 0;
    QTest::newRow("second") << two << 2 << 1;
    QTest::newRow("zero falls back to the first") << two << 0 << 0;
    QTest::newRow("past the end falls back to the first") << two << 3 << 0;
    QTest::newRow("no filters") << QString() << 2 << -1;
}

void TestCommonDialog::filterIndex()
{
    QFETCH(QString, filter);
    QFETCH(int, filterIndex);
    FakeFileDialogs dialogs;
    CommonDialog cDlg(dialogs);
    cDlg.Filter = filter;
    cDlg.FilterIndex = filterIndex;
    QTEST(cDlg.request(FileDialogRequest::Kind::Save).selectedFilter, "selected");
}

void TestCommonDialog::parseFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<NameFilter>>("filters");
    QTest::newRow("empty") << QString() << QList<NameFilter>{};
    QTest::newRow("several patterns") << QStringLiteral("Pictures|*.bmp;*.jpg")
                                      << QList<NameFilter>{{QStringLiteral("Pictures"),
                                                            {QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}}};
    QTest::newRow("description without pattern dropped")
        << QStringLiteral("Cheques|*.qlo|Other")
        << QList<NameFilter>{{QStringLiteral("Cheques"), {QStringLiteral("*.qlo")}}};
}

void TestCommonDialog::parseFilter()
{
    QFETCH(QString, filter);
    QTEST(CommonDialog::parseFilter(filter), "filters");
}

void TestCommonDialog::completedDialogSetsFileNameAndTitle_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("title");
    QTest::newRow("open") << false << "/home/merchant/smith.qlo"
                          << "smith.qlo";
    QTest::newRow("save, no extension") << true << "/home/merchant/Acme Supply"
                                        << "Acme Supply";
}

void TestCommonDialog::completedDialogSetsFileNameAndTitle()
{
    QFETCH(bool, save);
    QFETCH(QString, chosen);
    FakeFileDialogs dialogs;
    CommonDialog cDlg(dialogs);
    cDlg.CancelError = true;
    cDlg.FileName = QStringLiteral("Acme Supply");
    dialogs.answer(chosen);

    QVERIFY(save ? cDlg.ShowSave() : cDlg.ShowOpen());
    QCOMPARE(cDlg.FileName, chosen);
    QTEST(cDlg.FileTitle, "title");
}

void TestCommonDialog::cancelKeepsFileNameAndTitle_data()
{
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<bool>("emptyAnswer");
    QTest::newRow("cancel") << false << false;
    QTest::newRow("cancel with CancelError") << true << false;
    QTest::newRow("empty answer with CancelError") << true << true;
}

void TestCommonDialog::cancelKeepsFileNameAndTitle()
{
    QFETCH(bool, cancelError);
    QFETCH(bool, emptyAnswer);
    FakeFileDialogs dialogs;
    CommonDialog cDlg(dialogs);
    dialogs.answer(QStringLiteral("/home/merchant/smith.qlo"));
    QVERIFY(cDlg.ShowOpen());
    cDlg.FileName = QStringLiteral("Acme Supply");
    cDlg.CancelError = cancelError;
    if (emptyAnswer)
        dialogs.answer(QString());
    else
        dialogs.cancel();

    bool threw = false;
    bool completed = true;
    try {
        completed = cDlg.ShowSave();
    } catch (const DialogCancelled&) {
        threw = true;
    }
    QCOMPARE(threw, cancelError);
    if (!cancelError)
        QVERIFY(!completed);
    QCOMPARE(cDlg.FileName, QStringLiteral("Acme Supply"));
    QCOMPARE(cDlg.FileTitle, QStringLiteral("smith.qlo"));
}

QTEST_GUILESS_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
