// Replays the fuzz targets' seed corpus and every kept crashing input through
// the same checks that the fuzz targets run, in the normal build.
#include "ChequeFileCheck.h"
#include "QuickPrintCheck.h"
#include "RegisterValuesCheck.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QtTest>

class TestFuzzReplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chequeFile_data() { addInputs(QStringLiteral("cheque_file")); }
    void chequeFile() { replay(&ChequeFileCheck::check); }
    void quickPrint_data() { addInputs(QStringLiteral("quick_print")); }
    void quickPrint() { replay(&QuickPrintCheck::check); }
    void registerValues_data() { addInputs(QStringLiteral("register_values")); }
    void registerValues() { replay(&RegisterValuesCheck::check); }

private:
    static void addInputs(const QString& target)
    {
        QTest::addColumn<QString>("path");
        int count = 0;
        for (const char* kind : {"corpus", "regressions"}) {
            const QDir folder(TestFiles::sourceDir() + QStringLiteral("/fuzz/%1/%2").arg(QLatin1String(kind), target));
            for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name)) {
                QTest::addRow("%s/%s", kind, qPrintable(file.fileName())) << file.filePath();
                ++count;
            }
        }
        // The seed corpus is committed: an empty table means the files were not found.
        QVERIFY2(count > 0,
                 qPrintable(QStringLiteral("no inputs for %1 under %2").arg(target, TestFiles::sourceDir())));
    }

    static void replay(QStringList (*check)(QByteArrayView))
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        const QStringList failures = check(input);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
