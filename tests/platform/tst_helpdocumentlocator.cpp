#include "platform/HelpDocumentLocator.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Fixed = QStringLiteral("C:\\Program Files\\Quillo\\Quillo.hlp");

bool makeFile(const QString& path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) && TestFiles::write(path, "<html></html>");
}

} // namespace

class TestHelpDocumentLocator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void recognisesTheFixedPath_data();
    void recognisesTheFixedPath();
    void findsQuilloHelp_data();
    void findsQuilloHelp();
    void missingQuilloHelpNamesBothPlaces();
    void otherNames_data();
    void otherNames();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
};

void TestHelpDocumentLocator::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_bin = m_dir->filePath(QStringLiteral("prefix/bin"));
    QVERIFY(QDir().mkpath(m_bin));
}

void TestHelpDocumentLocator::recognisesTheFixedPath_data()
{
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<bool>("isQuilloHelp");
    QTest::newRow("as the program asks") << Fixed << true;
    QTest::newRow("other case") << QStringLiteral("c:\\PROGRAM FILES\\quillo\\QUILLO.HLP") << true;
    QTest::newRow("forward slashes") << QStringLiteral("C:/Program Files/Quillo/Quillo.hlp") << true;
    QTest::newRow("other file in the folder") << QStringLiteral("C:\\Program Files\\Quillo\\Quillo.chm") << false;
    QTest::newRow("other drive") << QStringLiteral("D:\\Program Files\\Quillo\\Quillo.hlp") << false;
    QTest::newRow("name only") << QStringLiteral("Quillo.hlp") << false;
    QTest::newRow("trailing space") << Fixed + QLatin1Char(' ') << false;
    QTest::newRow("empty") << QString() << false;
}

void TestHelpDocumentLocator::recognisesTheFixedPath()
{
    QFETCH(QString, helpFile);
    QFETCH(bool, isQuilloHelp);
    QCOMPARE(HelpDocumentLocator::isQuilloHelpFile(helpFile), isQuilloHelp);
    QCOMPARE(HelpDocumentLocator::QuilloHelpFile, Fixed);
}

void TestHelpDocumentLocator::findsQuilloHelp_data()
{
    QTest::addColumn<QStringList>("present"); // relative to the temporary folder
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("installation"); // the program's folder is an installation's bin folder
    const QString built = QStringLiteral("prefix/bin/help/index.html");
    const QString installed = QStringLiteral("prefix/share/quillo/help/index.html");
    QTest::newRow("beside the program (build tree)") << QStringList{built} << built << false;
    QTest::newRow("in the data folder (installed)") << QStringList{installed} << installed << true;
    QTest::newRow("both: the one beside the program") << QStringList{built, installed} << built << true;
    QTest::newRow("a help folder without its start page")
        << QStringList{QStringLiteral("prefix/bin/help/other.html"), installed} << installed << true;
}

void TestHelpDocumentLocator::findsQuilloHelp()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    QFETCH(bool, installation);
    for (const QString& file : std::as_const(present))
        QVERIFY(makeFile(m_dir->filePath(file)));

    const HelpDocumentLocator locator(m_bin);
    const HelpDocumentLocator::Location location = locator.locate(Fixed);
    QVERIFY(location.found());
    QCOMPARE(location.document, m_dir->filePath(expected));
    QCOMPARE(locator.isInstallation(), installation);
}

void TestHelpDocumentLocator::missingQuilloHelpNamesBothPlaces()
{
    // A folder named like the document is no document.
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("prefix/bin/help/index.html"))));

    const HelpDocumentLocator::Location location = HelpDocumentLocator(m_bin).locate(Fixed);
    QVERIFY(!location.found());
    QCOMPARE(location.document, QString());
    QCOMPARE(location.lookedAt, (QStringList{m_dir->filePath(QStringLiteral("prefix/bin/help/index.html")),
                                             m_dir->filePath(QStringLiteral("prefix/share/quillo/help/index.html"))}));
}

void TestHelpDocumentLocator::otherNames_data()
{
    QTest::addColumn<QString>("helpFile"); // "@" stands for the temporary folder
    QTest::addColumn<QString>("expected"); // empty: not found
    QTest::addColumn<QStringList>("lookedAt");
    QTest::newRow("an existing file") << QStringLiteral("@/notes.txt") << QStringLiteral("@/notes.txt")
                                      << QStringList{QStringLiteral("@/notes.txt")};
    QTest::newRow("a missing file") << QStringLiteral("@/gone.hlp") << QString()
                                    << QStringList{QStringLiteral("@/gone.hlp")};
    QTest::newRow("a folder") << QStringLiteral("@/prefix") << QString() << QStringList{QStringLiteral("@/prefix")};
    QTest::newRow("nothing") << QString() << QString() << QStringList{};
}

void TestHelpDocumentLocator::otherNames()
{
    QFETCH(QString, helpFile);
    QFETCH(QString, expected);
    QFETCH(QStringList, lookedAt);
    QVERIFY(makeFile(m_dir->filePath(QStringLiteral("notes.txt"))));
    // Quillo's own help beside the program must not stand in for other names.
    QVERIFY(makeFile(m_bin + QStringLiteral("/help/index.html")));
    const QString root = m_dir->path();
    helpFile.replace(QLatin1Char('@'), root);
    expected.replace(QLatin1Char('@'), root);
    lookedAt.replaceInStrings(QStringLiteral("@"), root);

    const HelpDocumentLocator::Location location = HelpDocumentLocator(m_bin).locate(helpFile);
    QCOMPARE(location.document, expected);
    QCOMPARE(location.found(), !expected.isEmpty());
    QCOMPARE(location.lookedAt, lookedAt);
}

QTEST_GUILESS_MAIN(TestHelpDocumentLocator)
#include "tst_helpdocumentlocator.moc"
