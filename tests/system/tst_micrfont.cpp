#include "print/PageBuilder.h"
#include "system/qt/Fonts.h"
#include "system/qt/MicrFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int UnitsPerEm = 2048;
// 1/8 inch at 16 points is 9 points, 9/16 of the em.
constexpr double Advance = UnitsPerEm * 9.0 / 16.0;
constexpr double PrinterDpi = 1200;
constexpr double Pitch = PrinterDpi / 8;           // 1/8 inch
constexpr double DigitHeight = 0.117 * PrinterDpi; // 9 squares of 0.013 inch
constexpr double SquarePixelsInGuide = 2;          // the guide draws one grid square as 2 x 2 pixels
constexpr double SquareUnits = 0.117 * 72 / 16 / 9 * UnitsPerEm;
// The E-13B cell, in grid squares of 0.013 inch.
constexpr int CellWidth = 7;
constexpr int CellHeight = 9;

struct Shape {
    const char* name;
    QString characters;
    int heightInSquares;
};

// The fourteen E-13B characters, every character that must show each one,
// and how tall each stands: the on-us and dash symbols are shorter.
const QList<Shape> Shapes = {
    {"0", QStringLiteral("0"), 9},
    {"1", QStringLiteral("1"), 9},
    {"2", QStringLiteral("2"), 9},
    {"3", QStringLiteral("3"), 9},
    {"4", QStringLiteral("4"), 9},
    {"5", QStringLiteral("5"), 9},
    {"6", QStringLiteral("6"), 9},
    {"7", QStringLiteral("7"), 9},
    {"8", QStringLiteral("8"), 9},
    {"9", QStringLiteral("9"), 9},
    {"transit", QStringLiteral("Aa\u2446"), 9},
    {"amount", QStringLiteral("Bb\u2447"), 9},
    {"on-us", QStringLiteral("Cc\u2448"), 7},
    {"dash", QStringLiteral("Dd\u2449"), 3},
};

QRawFont rawFont(double pixelSize, const QString& path = MicrFont::ResourcePath)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QRawFont(file.readAll(), pixelSize, QFont::PreferNoHinting);
}

// Every character the fonts map: printable ASCII and the four symbols.
QString mappedCharacters()
{
    QString characters = QStringLiteral("\u2446\u2447\u2448\u2449");
    for (char16_t c = 0x20; c < 0x7f; ++c)
        characters.append(QChar(c));
    return characters;
}

// How far `units` lies from the nearest whole number of grid squares.
double offGrid(double units)
{
    const double squares = units / SquareUnits;
    return qAbs(squares - qRound(squares)) * SquareUnits;
}

quint32 glyphFor(const QRawFont& font, QChar character)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString(character));
    return glyphs.size() == 1 ? glyphs.first() : 0;
}

// A glyph filled without anti-aliasing, its pen origin at the left of the
// baseline, so that both its shape and its place in the cell count.
QImage cellImage(const QRawFont& font, quint32 glyph)
{
    const int size = qCeil(font.pixelSize());
    QImage image(size, size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(0, font.ascent());
    painter.fillPath(font.pathForGlyph(glyph), Qt::black);
    return image;
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixelColor(x, y) != b.pixelColor(x, y);
    return count;
}

// The glyph's ink alone, as the guide picture draws it: one grid square to
// 2 x 2 pixels, black on white.
QImage inkAtGuideScale(quint32 glyph)
{
    const QRawFont font = rawFont(UnitsPerEm * SquarePixelsInGuide / SquareUnits);
    QPainterPath path = font.pathForGlyph(glyph);
    const QRectF bounds = path.boundingRect();
    path.translate(-bounds.topLeft());
    QImage image(qRound(bounds.width()), qRound(bounds.height()), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillPath(path, Qt::black);
    return image;
}

// Where `part` first stands in `picture` pixel for pixel, at or right of
// `fromX`, or (-1, -1).
QPoint find(const QImage& picture, const QImage& part, int fromX)
{
    for (int x = fromX; x + part.width() <= picture.width(); ++x) {
        for (int y = 0; y + part.height() <= picture.height(); ++y) {
            if (picture.copy(x, y, part.width(), part.height()) == part)
                return {x, y};
        }
    }
    return {-1, -1};
}

} // namespace

class TestMicrFont : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fontCarriesOurOwnName();
    void boldAndRegularFacesOfOneFamily_data();
    void boldAndRegularFacesOfOneFamily();
    void facesShareOutlinesAndAdvances();
    void glyphFitsTheCellOnTheGrid_data();
    void glyphFitsTheCellOnTheGrid();
    void oneIsTheNarrowestDigit();
    void shapeStandsAtEachOfItsCharacters_data();
    void shapeStandsAtEachOfItsCharacters();
    void shapesDifferFromEachOther();
    void everyCharacterIsOnePitchWide();
    void otherCharactersAreBlank();
    void printedSizesAtSixteenPoints_data();
    void printedSizesAtSixteenPoints();
    void guidePictureShowsTheSymbolsInKeyOrder();

private:
    QRawFont m_font;
};

void TestMicrFont::initTestCase()
{
    MicrFont::install();
    m_font = rawFont(100);
    QVERIFY2(m_font.isValid(), "the font is not compiled into the program");
}

void TestMicrFont::fontCarriesOurOwnName()
{
    QCOMPARE(m_font.familyName(), QStringLiteral("Quillo E13B"));
    QCOMPARE(m_font.familyName(), MicrFont::Family);
    QCOMPARE(m_font.unitsPerEm(), UnitsPerEm);
    QCOMPARE(QFontInfo(QFont(MicrFont::Family)).family(), MicrFont::Family);
}

void TestMicrFont::boldAndRegularFacesOfOneFamily_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("weight");
    QTest::newRow("regular") << MicrFont::ResourcePath << false << QStringLiteral("Regular") << 400;
    QTest::newRow("bold") << MicrFont::BoldResourcePath << true << QStringLiteral("Bold") << 700;
}

void TestMicrFont::boldAndRegularFacesOfOneFamily()
{
    QFETCH(QString, path);
    QFETCH(bool, bold);
    QFETCH(QString, style);
    QFETCH(int, weight);
    const QRawFont face = rawFont(100, path);
    QVERIFY2(face.isValid(), qPrintable(path));
    QCOMPARE(face.familyName(), MicrFont::Family);
    QCOMPARE(face.styleName(), style);
    QCOMPARE(face.weight(), weight);
    QVERIFY(QFontDatabase::styles(MicrFont::Family).contains(style));

    // Asked for by family and weight, as the windows and the printed line
    // ask, the font comes from this face rather than from the other one made
    // lighter or heavier.
    QFont font(MicrFont::Family);
    font.setPointSizeF(16);
    font.setBold(bold);
    const QFontInfo info(font);
    QCOMPARE(info.family(), MicrFont::Family);
    QCOMPARE(info.styleName(), style);
    QCOMPARE(info.bold(), bold);
}

void TestMicrFont::facesShareOutlinesAndAdvances()
{
    const QRawFont regular = rawFont(UnitsPerEm);
    const QRawFont bold = rawFont(UnitsPerEm, MicrFont::BoldResourcePath);
    QVERIFY(bold.isValid());
    for (const QChar character : mappedCharacters()) {
        const QString what = QStringLiteral("U+%1").arg(character.unicode(), 4, 16, QLatin1Char('0'));
        const quint32 glyph = glyphFor(regular, character);
        QCOMPARE(glyphFor(bold, character), glyph);
        QVERIFY2(bold.pathForGlyph(glyph) == regular.pathForGlyph(glyph), qPrintable(what));
        QCOMPARE(bold.advancesForGlyphIndexes({glyph}, QRawFont::UseDesignMetrics),
                 regular.advancesForGlyphIndexes({glyph}, QRawFont::UseDesignMetrics));
    }
}

void TestMicrFont::glyphFitsTheCellOnTheGrid_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<int>("heightInSquares");
    for (const Shape& shape : Shapes)
        QTest::newRow(shape.name) << shape.characters.at(0) << shape.heightInSquares;
}

void TestMicrFont::glyphFitsTheCellOnTheGrid()
{
    QFETCH(QChar, character);
    QFETCH(int, heightInSquares);
    // In font units, y downwards from the baseline.
    const QRawFont design = rawFont(UnitsPerEm);
    const QPainterPath path = design.pathForGlyph(glyphFor(design, character));
    const QRectF ink = path.boundingRect();
    constexpr double rounding = 1; // outline points are whole font units

    QVERIFY2(ink.width() <= CellWidth * SquareUnits + rounding, qPrintable(QString::number(ink.width() / SquareUnits)));
    QVERIFY2(ink.bottom() <= rounding, "ink below the baseline");
    QVERIFY2(-ink.top() <= CellHeight * SquareUnits + rounding, "ink above the cell");
    QVERIFY2(qAbs(ink.height() - heightInSquares * SquareUnits) <= rounding,
             qPrintable(QStringLiteral("%1 squares high").arg(ink.height() / SquareUnits)));
    // Centred in its pitch, so that every character's ink stands 1/8 inch from the next.
    QVERIFY2(qAbs(ink.center().x() - Advance / 2) <= rounding, qPrintable(QString::number(ink.center().x())));

    // Every corner lies on the grid that starts at the ink's left edge and the baseline.
    for (int k = 0; k < path.elementCount(); ++k) {
        const QPainterPath::Element corner = path.elementAt(k);
        QVERIFY2(offGrid(corner.x - ink.left()) <= rounding && offGrid(corner.y) <= rounding,
                 qPrintable(QStringLiteral("corner at %1, %2 squares")
                                .arg((corner.x - ink.left()) / SquareUnits)
                                .arg(-corner.y / SquareUnits)));
    }
}

void TestMicrFont::oneIsTheNarrowestDigit()
{
    const QRawFont design = rawFont(UnitsPerEm);
    const auto widthInSquares = [&](QChar digit) {
        return design.pathForGlyph(glyphFor(design, digit)).boundingRect().width() / SquareUnits;
    };
    QCOMPARE(qRound(widthInSquares(u'1')), 4);
    for (const QChar digit : QStringLiteral("023456789"))
        QVERIFY2(widthInSquares(digit) > widthInSquares(u'1') + 1, qPrintable(QString(digit)));
}

void TestMicrFont::shapeStandsAtEachOfItsCharacters_data()
{
    QTest::addColumn<QString>("characters");
    for (const Shape& shape : Shapes)
        QTest::newRow(shape.name) << shape.characters;
}

void TestMicrFont::shapeStandsAtEachOfItsCharacters()
{
    QFETCH(QString, characters);
    const quint32 glyph = glyphFor(m_font, characters.at(0));
    QVERIFY(glyph != 0);
    QVERIFY(!m_font.pathForGlyph(glyph).isEmpty());
    for (const QChar character : characters)
        QCOMPARE(glyphFor(m_font, character), glyph);
}

void TestMicrFont::shapesDifferFromEachOther()
{
    // Two shapes must differ by more than a grid square's worth of ink.
    const double square = SquareUnits * m_font.pixelSize() / UnitsPerEm;
    const int minimum = qFloor(square * square);
    QList<QImage> images;
    for (const Shape& shape : Shapes)
        images.append(cellImage(m_font, glyphFor(m_font, shape.characters.at(0))));
    for (qsizetype i = 0; i < Shapes.size(); ++i) {
        for (qsizetype j = i + 1; j < Shapes.size(); ++j) {
            const int differing = differingPixels(images.at(i), images.at(j));
            QVERIFY2(differing >= minimum,
                     qPrintable(QStringLiteral("%1 and %2 differ in %3 pixels only")
                                    .arg(QLatin1String(Shapes.at(i).name), QLatin1String(Shapes.at(j).name))
                                    .arg(differing)));
        }
    }
}

void TestMicrFont::everyCharacterIsOnePitchWide()
{
    const QRawFont design = rawFont(UnitsPerEm);
    for (const QChar character : mappedCharacters()) {
        const quint32 glyph = glyphFor(design, character);
        QVERIFY2(glyph != 0, qPrintable(QStringLiteral("no glyph for U+%1").arg(character.unicode(), 4, 16)));
        const QList<QPointF> advances = design.advancesForGlyphIndexes({glyph}, QRawFont::UseDesignMetrics);
        QCOMPARE(advances.first().x(), Advance);
    }
}

void TestMicrFont::otherCharactersAreBlank()
{
    // A letter or sign that E-13B lacks keeps its place on the line but prints nothing.
    QString drawn;
    for (const Shape& shape : Shapes)
        drawn += shape.characters;
    for (char16_t c = 0x20; c < 0x7f; ++c) {
        if (drawn.contains(QChar(c)))
            continue;
        QVERIFY2(m_font.pathForGlyph(glyphFor(m_font, QChar(c))).isEmpty(), qPrintable(QString(QChar(c))));
    }
}

void TestMicrFont::printedSizesAtSixteenPoints_data()
{
    QTest::addColumn<bool>("bold");
    QTest::newRow("regular") << false;
    // Quick Print leaves bold on for the MICR line.
    QTest::newRow("bold") << true;
}

void TestMicrFont::printedSizesAtSixteenPoints()
{
    QFETCH(bool, bold);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("sizes.pdf")));
    QCOMPARE(printer.resolution(), int(PrinterDpi));

    QFont font(MicrFont::Family);
    font.setPointSizeF(16);
    font.setBold(bold);
    QCOMPARE(QFontInfo(font).family(), MicrFont::Family);
    const QFontMetricsF metrics(font, &printer);

    QVERIFY2(qAbs(metrics.averageCharWidth() - Pitch) <= Pitch * 0.01,
             qPrintable(QString::number(metrics.averageCharWidth())));
    // The width of a print column, as Quick Print measures it.
    QVERIFY2(qAbs(PageBuilder::weightedAverageCharWidth(metrics) - Pitch) <= Pitch * 0.01,
             qPrintable(QString::number(PageBuilder::weightedAverageCharWidth(metrics))));
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("A021000021A")), 11 * metrics.horizontalAdvance(u'0'));

    double shortestDigit = DigitHeight * 2;
    for (const Shape& shape : Shapes) {
        const QChar character = shape.characters.at(0);
        QVERIFY2(qAbs(metrics.horizontalAdvance(character) - Pitch) <= Pitch * 0.01, shape.name);
        const double height = metrics.tightBoundingRect(QString(character)).height();
        if (character.isDigit()) {
            QVERIFY2(qAbs(height - DigitHeight) <= DigitHeight * 0.03,
                     qPrintable(QStringLiteral("%1: %2 pixels high").arg(QLatin1String(shape.name)).arg(height)));
            shortestDigit = qMin(shortestDigit, height);
        }
    }
    // The on-us and dash symbols are shorter than the digits.
    QVERIFY(metrics.tightBoundingRect(QStringLiteral("C")).height() < shortestDigit);
    QVERIFY(metrics.tightBoundingRect(QStringLiteral("D")).height() < shortestDigit);
}

void TestMicrFont::guidePictureShowsTheSymbolsInKeyOrder()
{
    const QImage guide(QStringLiteral(":/pictures/micr-guide.png"));
    QCOMPARE(guide.size(), QSize(148, 23));
    const QImage grey = guide.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            const int level = qGray(grey.pixel(x, y));
            QVERIFY2(level == 0 || level == 255, qPrintable(QStringLiteral("grey at %1,%2").arg(x).arg(y)));
        }
    }

    // Transit, amount, on-us and dash, each drawn from the font's own outline,
    // left to right, one in each quarter of the picture behind its key.
    int previousRight = 0;
    for (const QChar key : QStringLiteral("ABCD")) {
        const QImage symbol = inkAtGuideScale(glyphFor(m_font, key));
        const QPoint at = find(grey, symbol, previousRight);
        QVERIFY2(at.x() >= 0, qPrintable(QStringLiteral("the symbol of %1 is missing or out of order").arg(key)));
        QVERIFY2(at.x() < (key.unicode() - 'A' + 1) * 148 / 4,
                 qPrintable(QStringLiteral("the symbol of %1 is not in its quarter").arg(key)));
        previousRight = at.x() + symbol.width();
    }
}

QTEST_MAIN(TestMicrFont)
#include "tst_micrfont.moc"
