#include "platform/CommonDialog.h"
#include "system/qt/QtFileDialogs.h"

#include "fakes/FakeFileDialogs.h"
#include "fakes/TestFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// The request the main window's settings give.
FileDialogRequest configured(FileDialogRequest::Kind kind, const QString& folder, const QString& fileName)
{
    FakeFileDialogs unused;
    CommonDialog cDlg(unused);
    cDlg.InitDir = folder;
    cDlg.Filter = QStringLiteral("Any File (*.*)|*.*|Quillo Files (*.qlo)|*.qlo");
    cDlg.FilterIndex = 2;
    cDlg.Flags = 4102;
    cDlg.FileName = fileName;
    return cDlg.request(kind);
}

QStringList comboTexts(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

// The names the dialog lists in its current folder, sorted.
QStringList listed(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("no list view")};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names.append(view->model()->index(row, 0, root).data().toString());
    names.sort();
    return names;
}

// Runs `action` on the modal dialog once it is up.
void whenDialogShows(std::function<void(QFileDialog*)> action)
{
    QTimer::singleShot(0, qApp, [action] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        action(dialog);
    });
}

} // namespace

class TestQtFileDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void openDialogAsConfigured();
    void saveDialogAsConfigured();
    void withoutFlagsOpenTakesAnyNameAndSaveDoesNotAsk();
    void fullPathStartsInItsFolder();
    void anyFileListsFilesWithoutExtension();
    void typedNameKeepsNoExtension();
    void cancelReturnsNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestQtFileDialogs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestQtFileDialogs::openDialogAsConfigured()
{
    const auto dialog = QtFileDialogs::createDialog(
        configured(FileDialogRequest::Kind::Open, m_dir->path(), QStringLiteral("Acme Supply")), nullptr);
    QCOMPARE(dialog->objectName(), QStringLiteral("cDlg"));
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog->defaultSuffix(), QString());
    QCOMPARE(dialog->directory().absolutePath(), QDir(m_dir->path()).absolutePath());

    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    QCOMPARE(comboTexts(types),
             (QStringList{QStringLiteral("Any File (*.*)"), QStringLiteral("Quillo Files (*.qlo)")}));
    QCOMPARE(types->currentText(), QStringLiteral("Quillo Files (*.qlo)"));
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("Acme Supply"));
}

void TestQtFileDialogs::saveDialogAsConfigured()
{
    const auto dialog = QtFileDialogs::createDialog(
        configured(FileDialogRequest::Kind::Save, m_dir->path(), QStringLiteral("Acme Supply")), nullptr);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(dialog->defaultSuffix(), QString());
    QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
             QStringLiteral("Quillo Files (*.qlo)"));
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("Acme Supply"));
}

void TestQtFileDialogs::withoutFlagsOpenTakesAnyNameAndSaveDoesNotAsk()
{
    FileDialogRequest request = configured(FileDialogRequest::Kind::Open, m_dir->path(), QString());
    request.fileMustExist = false;
    request.confirmOverwrite = false;
    QCOMPARE(QtFileDialogs::createDialog(request, nullptr)->fileMode(), QFileDialog::AnyFile);
    request.kind = FileDialogRequest::Kind::Save;
    QVERIFY(QtFileDialogs::createDialog(request, nullptr)->testOption(QFileDialog::DontConfirmOverwrite));
}

void TestQtFileDialogs::fullPathStartsInItsFolder()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("cheques")));
    const QString file = m_dir->filePath(QStringLiteral("cheques/smith.qlo"));
    QVERIFY(TestFiles::write(file, QByteArray(480, ' ')));
    const auto dialog =
        QtFileDialogs::createDialog(configured(FileDialogRequest::Kind::Open, m_dir->path(), file), nullptr);
    QCOMPARE(dialog->directory().absolutePath(), QDir(m_dir->filePath(QStringLiteral("cheques"))).absolutePath());
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("smith.qlo"));
}

void TestQtFileDialogs::anyFileListsFilesWithoutExtension()
{
    for (const char* name : {"Acme Supply", "smith.qlo", "notes.txt"})
        QVERIFY(TestFiles::write(m_dir->filePath(QString::fromLatin1(name)), "x"));
    const auto dialog =
        QtFileDialogs::createDialog(configured(FileDialogRequest::Kind::Open, m_dir->path(), QString()), nullptr);

    QTRY_COMPARE(listed(*dialog), QStringList{QStringLiteral("smith.qlo")});
    dialog->selectNameFilter(dialog->nameFilters().first());
    QTRY_COMPARE(listed(*dialog), (QStringList{QStringLiteral("Acme Supply"), QStringLiteral("notes.txt"),
                                               QStringLiteral("smith.qlo")}));
}

void TestQtFileDialogs::typedNameKeepsNoExtension()
{
    QtFileDialogs dialogs;
    whenDialogShows([](QFileDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("cDlg"));
        QVERIFY(dialog->isModal());
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("Acme Supply"));
        // As the user does: the dialog's own Save button.
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QVERIFY(buttons);
        buttons->button(QDialogButtonBox::Save)->click();
    });
    const std::optional<QString> chosen =
        dialogs.choose(configured(FileDialogRequest::Kind::Save, m_dir->path(), QString()));
    QCOMPARE(chosen, std::optional<QString>(QDir(m_dir->path()).absoluteFilePath(QStringLiteral("Acme Supply"))));
}

void TestQtFileDialogs::cancelReturnsNothing()
{
    QtFileDialogs dialogs;
    whenDialogShows([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(dialogs.choose(configured(FileDialogRequest::Kind::Open, m_dir->path(), QStringLiteral("Acme Supply"))),
             std::optional<QString>());
}

QTEST_MAIN(TestQtFileDialogs)
#include "tst_qtfiledialogs.moc"
