#include "fakes/DesignedCaptions.h"
#include "platform/Twips.h"
#include "system/qt/Fonts.h"
#include "ui/main/MainWindowFixture.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

// The cheque-entry window on a scaled desktop. The program runs once per
// factor with QT_SCALE_FACTOR set (scaling.cmake: 150 % and 200 %). The design
// is in device-independent pixels at 96 dpi whatever the factor; the screen
// draws it factor times larger, text included.

namespace {

using DesignedChequeFace::Control;
using DesignedChequeFace::Controls;

const Twips design = Twips(Twips::DesignDpi);

// The smallest rectangle holding every pixel that differs from the top-left
// one, in device pixels.
QRect inkBounds(const QImage& image)
{
    const QRgb background = image.pixel(0, 0);
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QString sampleText(const Control& box)
{
    // Digits are drawn by the dialog font and the MICR font alike.
    return QString::fromLatin1(qstrcmp(box.family, DesignedChequeFace::M) == 0 ? "0123456789"
                                                                               : "Jane Q. Merchant 0123");
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void screenIsScaled();
    void windowKeepsItsDesignSize();
    void chequeFaceKeepsItsProportions_data();
    void chequeFaceKeepsItsProportions();
    void everyCaptionShowsWhole_data();
    void everyCaptionShowsWhole();
    void textBoxesDrawTheirTextAtTheScaledSize_data();
    void textBoxesDrawTheirTextAtTheScaledSize();
    void screenshot();

private:
    double m_factor = 1.0;
    MainWindowFixture* m_fixture = nullptr;
    std::unique_ptr<frmMain> m_window;
};

void TestScaling::initTestCase()
{
    m_factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    QVERIFY2(m_factor > 1.0, "Run this test with QT_SCALE_FACTOR above 1.");
    Fonts::install();
    m_fixture = new MainWindowFixture;
    m_window = m_fixture->makeWindow();
    m_window->Load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestScaling::cleanupTestCase()
{
    m_window.reset();
    delete m_fixture;
}

void TestScaling::screenIsScaled()
{
    QCOMPARE(m_window->devicePixelRatio(), m_factor);
    // Scaling leaves the logical resolution alone, so twips convert as designed.
    QCOMPARE(Twips::forScreen().dpi(), Twips::DesignDpi);
}

void TestScaling::windowKeepsItsDesignSize()
{
    QWidget* client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(605, 405)); // 9075 x 6075 twips
    QCOMPARE(grabbed(client).size(), (QSizeF(605, 405) * m_factor).toSize());
    QCOMPARE(m_window->findChild<QToolBar*>("tbToolBar")->geometry(), design.toPixels(0, 0, 9075, 420));
    QCOMPARE(m_window->findChild<QGroupBox*>("Frame1")->geometry(), design.toPixels(120, 480, 8775, 5295));
    QCOMPARE(m_window->findChild<QStatusBar*>("sbStatusBar")->geometry(), design.toPixels(0, 5805, 9075, 270));
}

void TestScaling::chequeFaceKeepsItsProportions_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(Controls.size()); ++i)
        QTest::newRow(Controls[std::size_t(i)].name) << i;
}

void TestScaling::chequeFaceKeepsItsProportions()
{
    QFETCH(int, row);
    const Control& d = Controls[std::size_t(row)];
    auto* widget = m_window->findChild<QWidget*>(QString::fromLatin1(d.name));
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), design.toPixels(d.left, d.top, d.width, d.height));
    QCOMPARE(grabbed(widget).size(), (QSizeF(widget->size()) * m_factor).toSize());
}

void TestScaling::everyCaptionShowsWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const Control& d : Controls) {
        if (d.text && !QByteArray(d.name).startsWith("Text"))
            QTest::newRow(d.name) << QString::fromLatin1(d.name) << QString::fromLatin1(d.text);
    }
}

void TestScaling::everyCaptionShowsWhole()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    auto* widget = m_window->findChild<QWidget*>(name);
    QVERIFY(widget);

    // The laid-out width at this factor (the font is not hinted as at 100 %).
    const QFontMetrics metrics(widget->font());
    int room = widget->width();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    QVERIFY2(
        metrics.horizontalAdvance(text) <= room,
        qPrintable(
            QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(metrics.horizontalAdvance(text)).arg(room)));
    QVERIFY2(metrics.height() <= widget->height(), qPrintable(name));

    // What the screen shows: the caption's ink is the same as that of a copy
    // with room to spare on every side, so no glyph is cut.
    if (auto* caption = qobject_cast<QLabel*>(widget)) {
        QLabel roomy(text);
        roomy.setFont(caption->font());
        roomy.setAlignment(caption->alignment());
        roomy.resize(caption->width() * 3, caption->height() * 3);
        const QRect shown = inkBounds(grabbed(caption));
        const QRect whole = inkBounds(grabbed(&roomy));
        QVERIFY(!whole.isEmpty());
        QCOMPARE(shown, whole);
    }
}

void TestScaling::textBoxesDrawTheirTextAtTheScaledSize_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(Controls.size()); ++i) {
        if (QByteArray(Controls[std::size_t(i)].name).startsWith("Text"))
            QTest::newRow(Controls[std::size_t(i)].name) << i;
    }
}

void TestScaling::textBoxesDrawTheirTextAtTheScaledSize()
{
    QFETCH(int, row);
    const Control& d = Controls[std::size_t(row)];
    auto* box = m_window->findChild<QLineEdit*>(QString::fromLatin1(d.name));
    const QString before = box->text();
    box->clearFocus(); // no text cursor among the glyphs
    box->setText(sampleText(d));
    // A box too narrow for the text shows its beginning, as after Open.
    box->setCursorPosition(0);
    box->deselect();
    const QImage shown = grabbed(box);
    // The warning icon of a marked box is no text: the text lies left of it.
    const auto* mark = box->findChild<QToolButton*>();
    const int textRight = mark ? qFloor(mark->x() * m_factor) : shown.width();
    box->setText(before);

    // The same text in the same font, unframed, at this factor: its ink is
    // the height the box must show, in device pixels.
    QLabel alone(sampleText(d));
    alone.setFont(box->font());
    alone.resize(box->width() * 2, box->height() * 2);
    const QRect expected = inkBounds(grabbed(&alone));
    QVERIFY(!expected.isEmpty());
    const double designHeight = QFontMetricsF(box->font()).tightBoundingRect(sampleText(d)).height();
    QVERIFY2(
        expected.height() >= designHeight * m_factor - 2,
        qPrintable(QStringLiteral("glyphs %1 device px high, design %2 px").arg(expected.height()).arg(designHeight)));

    // Inside the box's frame the text has that height, and none of it is cut.
    const int frame = qCeil(2 * m_factor);
    const QImage inside =
        shown.copy(frame, frame, std::min(textRight, shown.width() - frame) - frame, shown.height() - 2 * frame);
    const QRect ink = inkBounds(inside);
    QCOMPARE(ink.height(), expected.height());
    QVERIFY2(
        ink.top() > 0 && ink.bottom() < inside.height() - 1,
        qPrintable(QStringLiteral("text rows %1..%2 of %3").arg(ink.top()).arg(ink.bottom()).arg(inside.height())));
}

void TestScaling::screenshot()
{
    typeSampleCheque(*m_window);
    const QString folder = qEnvironmentVariable("QUILLO_BINARY_DIR") + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/frmMain-%1.png").arg(qRound(m_factor * 100));
    const QPixmap picture = m_window->grab();
    QCOMPARE(picture.size(), (QSizeF(m_window->size()) * m_factor).toSize());
    QVERIFY(picture.save(path));
    qInfo("Saved %s", qPrintable(path));
}

QTEST_MAIN(TestScaling)
#include "tst_scaling.moc"
