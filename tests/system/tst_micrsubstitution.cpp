#include "fakes/PrintedPdf.h"
#include "system/qt/Fonts.h"
#include "system/qt/MicrFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr double PointsPerPitch = 72.0 / 8; // E-13B: 8 characters to the inch

// A copy of our font that calls itself "MICR 013 BT": the two names have the
// same length, so renaming leaves every table where it was.
QByteArray fontNamedLikeTheMicrFont()
{
    QFile file(MicrFont::ResourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = file.readAll();
    const QString ours = MicrFont::Family;
    const QString theirs = Fonts::MicrFamily;
    data.replace(ours.toLatin1(), theirs.toLatin1());
    const auto utf16be = [](const QString& text) {
        QByteArray bytes;
        for (const QChar c : text)
            bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
        return bytes;
    };
    data.replace(utf16be(ours), utf16be(theirs));
    return data;
}

bool micrFamilyInstalled()
{
    return QFontDatabase::families().contains(Fonts::MicrFamily, Qt::CaseInsensitive);
}

} // namespace

class TestMicrSubstitution : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Runs first: it needs the MICR family not yet mapped to ours.
    void installedMicrFontIsKept();
    void micrFamilyResolvesToOurs_data();
    void micrFamilyResolvesToOurs();
    void quickPrintSetsTheMicrLineInOurFont();
};

void TestMicrSubstitution::installedMicrFontIsKept()
{
    // Without the real font here, a copy of ours under its name plays it.
    const int standIn =
        micrFamilyInstalled() ? -1 : QFontDatabase::addApplicationFontFromData(fontNamedLikeTheMicrFont());
    const auto removeStandIn = qScopeGuard([&] {
        if (standIn != -1)
            QFontDatabase::removeApplicationFont(standIn);
    });
    QVERIFY(micrFamilyInstalled());

    MicrFont::install();

    QCOMPARE(QFont::substitutes(Fonts::MicrFamily), QStringList());
    QCOMPARE(QFontInfo(QFont(Fonts::MicrFamily, 12)).family(), Fonts::MicrFamily);
    // Ours is registered all the same, under its own name.
    QVERIFY(QFontDatabase::families().contains(MicrFont::Family));
}

void TestMicrSubstitution::micrFamilyResolvesToOurs_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("MICR boxes: 12 pt") << 12.0 << false;
    QTest::newRow("printed MICR line: 16 pt bold") << 16.0 << true;
}

void TestMicrSubstitution::micrFamilyResolvesToOurs()
{
    QFETCH(double, points);
    QFETCH(bool, bold);
    if (micrFamilyInstalled())
        QSKIP("this machine has the MICR font itself");
    MicrFont::install();
    MicrFont::install();
    // Qt keeps substitutes in lower case; family matching ignores case.
    QCOMPARE(QFont::substitutes(Fonts::MicrFamily), QStringList{MicrFont::Family.toLower()});

    QFont font(Fonts::MicrFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    QCOMPARE(QFontInfo(font).family(), MicrFont::Family);
    // A bold request finds our bold face, so nothing is emboldened.
    QCOMPARE(QFontInfo(font).styleName(), bold ? QStringLiteral("Bold") : QStringLiteral("Regular"));
}

void TestMicrSubstitution::quickPrintSetsTheMicrLineInOurFont()
{
    if (micrFamilyInstalled())
        QSKIP("this machine has the MICR font itself");
    MicrFont::install();

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cheque.pdf"));
    auto printer = pdfPrinter(pdf);
    const QRectF paintRect = printer->pageLayout().paintRect(QPageLayout::Point);

    const QString routing = QStringLiteral("A021000021A");
    const QString account = QStringLiteral("55512345C");
    const QString chequeNumber = QStringLiteral("1001");
    CheckTexts texts;
    texts[Box::RoutingNumber] = routing;
    texts[Box::AccountNumber] = account;
    texts[Box::MicrCheckNumber] = chequeNumber;
    QCOMPARE(quickPrintTo(std::move(printer), texts), QuickPrint::Confirmation);

    // The MICR line's font is ours, embedded in the file.
    const QString fonts = toolOutput(QStringLiteral("pdffonts"), {pdf});
    const QStringList ours = fonts.split(u'\n').filter(QStringLiteral("QuilloE13B"));
    QCOMPARE(ours.size(), 1);
    // Columns from the right: object number and generation, then "emb sub uni".
    const QStringList columns = ours.first().split(u' ', Qt::SkipEmptyParts);
    QVERIFY(columns.size() >= 5);
    QVERIFY2(columns.at(columns.size() - 5) == QLatin1String("yes"), qPrintable(ours.first())); // embedded
    QVERIFY2(columns.at(columns.size() - 3) == QLatin1String("yes"), qPrintable(ours.first())); // with its Unicode map

    // Each field starts at its column of the MICR font and takes 1/8 inch per
    // character, within 1 % (a 16-point font is set at a whole number of
    // printer pixels).
    const QList<PdfWord> words = pdfWords(pdf);
    struct Expected {
        QString digits;
        QString text;
        int column;
    };
    const QList<Expected> fields = {
        {QStringLiteral("021000021"), routing, 10},
        {QStringLiteral("55512345"), account, 25},
        {QStringLiteral("1001"), chequeNumber, 45},
    };
    double line = -1;
    for (const Expected& field : fields) {
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&](const PdfWord& word) { return word.text.contains(field.digits); });
        QVERIFY2(found != words.end(), qPrintable(field.digits));
        const double offset = (field.column - 1) * PointsPerPitch;
        QVERIFY2(qAbs(found->xMin - paintRect.left() - offset) <= 0.01 * offset,
                 qPrintable(QStringLiteral("%1 starts at %2 pt, not %3")
                                .arg(field.text)
                                .arg(found->xMin)
                                .arg(paintRect.left() + offset)));
        const double width = field.text.size() * PointsPerPitch;
        QVERIFY2(qAbs(found->xMax - found->xMin - width) <= 0.01 * width,
                 qPrintable(QStringLiteral("%1 is %2 pt wide").arg(field.text).arg(found->xMax - found->xMin)));
        if (line >= 0)
            QCOMPARE(found->yMin, line);
        line = found->yMin;
    }

    // The ink of the routing number, seen at 1200 dpi: from the left edge of the
    // first transit symbol to the right edge of the last, ten pitches and one
    // transit symbol (7 squares of 0.013 inch); digits and transit symbols 9 squares high.
    const double dpi = 1200;
    const QString image = dir.filePath(QStringLiteral("routing"));
    const double left = paintRect.left() + 9 * PointsPerPitch;
    const QStringList crop = {QStringLiteral("-r"),
                              QString::number(dpi),
                              QStringLiteral("-gray"),
                              QStringLiteral("-singlefile"),
                              QStringLiteral("-x"),
                              QString::number(qRound((left - 9) * dpi / 72)),
                              QStringLiteral("-y"),
                              QString::number(qRound((line - 18) * dpi / 72)),
                              QStringLiteral("-W"),
                              QString::number(qRound(14 * PointsPerPitch * dpi / 72)),
                              QStringLiteral("-H"),
                              QString::number(qRound(54 * dpi / 72)),
                              pdf,
                              image};
    QVERIFY(QProcess::execute(QStringLiteral("pdftoppm"), crop) == 0);
    const QImage page(image + QStringLiteral(".pgm"));
    QVERIFY(!page.isNull());
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    const double expectedWidth = (10.0 / 8 + 7 * 0.013) * dpi;
    const double expectedHeight = 9 * 0.013 * dpi;
    QVERIFY2(qAbs(ink.width() - expectedWidth) <= 0.01 * expectedWidth, qPrintable(QString::number(ink.width())));
    QVERIFY2(qAbs(ink.height() - expectedHeight) <= 0.03 * expectedHeight, qPrintable(QString::number(ink.height())));
}

QTEST_MAIN(TestMicrSubstitution)
#include "tst_micrsubstitution.moc"
