#include <QColor>
#include <QImage>
#include <QSet>
#include <QTest>

// The pictures compiled into the program, as the windows load them: each at its
// designed pixel size, the toolbar images in the classic 16-colour palette on a
// silver background that the image list keys out, the browser images on their
// light grey mask colour, and the icons with a see-through background.
class TestPictures : public QObject {
    Q_OBJECT

private:
    static constexpr QRgb silver = 0xFFC0C0C0;

    static QImage load(const QString& path)
    {
        QImage image(path);
        if (image.isNull())
            qFatal("picture %s is missing from the resources", qPrintable(path));
        return image;
    }

    static QSet<QRgb> coloursOf(const QImage& image)
    {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        return colours;
    }

    static int countOf(const QImage& image, QRgb colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == colour ? 1 : 0;
        return count;
    }

    static QStringList toolbarPictures() { return {"new", "open", "save", "print", "cut", "copy", "paste"}; }

private slots:
    void everyPictureHasItsDesignedSize_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("window icon") << ":/pictures/quillo-icon.png" << QSize(32, 32);
        for (int side : {16, 48, 64, 128, 256})
            QTest::addRow("icon %d", side) << QString(":/pictures/quillo-icon-%1.png").arg(side) << QSize(side, side);
        for (const QString& name : toolbarPictures())
            QTest::addRow("toolbar %s", qPrintable(name))
                << QString(":/pictures/toolbar/%1.png").arg(name) << QSize(16, 16);
        QTest::newRow("logo badge") << ":/pictures/logo-badge.png" << QSize(32, 28);
        QTest::newRow("splash logo") << ":/pictures/splash-logo.png" << QSize(350, 131);
        QTest::newRow("about picture") << ":/pictures/about-picture.png" << QSize(110, 180);
        for (const char* name : {"back", "forward", "stop", "refresh", "home", "search"})
            QTest::addRow("browser %s", name) << QString(":/pictures/browser/%1.png").arg(name) << QSize(24, 24);
    }

    void everyPictureHasItsDesignedSize()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QCOMPARE(load(path).size(), size);
    }

    void toolbarPicturesUseTheClassicPaletteOnSilver_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : toolbarPictures())
            QTest::newRow(qPrintable(name)) << name;
    }

    void toolbarPicturesUseTheClassicPaletteOnSilver()
    {
        QFETCH(QString, name);
        const QImage image = load(QString(":/pictures/toolbar/%1.png").arg(name));
        // Silver is keyed out when the image list loads the picture, so it is stored
        // as a colour, not as transparency.
        QVERIFY(!image.hasAlphaChannel());
        const QSet<QRgb> classic = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                    0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                    0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
        const QSet<QRgb> used = coloursOf(image);
        QVERIFY2(used.size() <= 16, qPrintable(QString::number(used.size())));
        for (QRgb colour : used)
            QVERIFY2(classic.contains(colour), qPrintable(QColor(colour).name()));
        // A background, and a subject: silver covers part of the picture, not all of it.
        const int background = countOf(image, silver);
        QVERIFY2(background >= 16 && background <= 16 * 16 - 64, qPrintable(QString::number(background)));
    }

    void toolbarPicturesAreAllDifferent()
    {
        const QStringList names = toolbarPictures();
        for (int i = 0; i < names.size(); ++i)
            for (int j = i + 1; j < names.size(); ++j) {
                const QImage a = load(":/pictures/toolbar/" + names[i] + ".png").convertToFormat(QImage::Format_RGB32);
                const QImage b = load(":/pictures/toolbar/" + names[j] + ".png").convertToFormat(QImage::Format_RGB32);
                QVERIFY2(a != b, qPrintable(names[i] + " and " + names[j] + " are the same picture"));
            }
    }

    void maskedPicturesKeepTheirLightGreyBackground_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* name : {"back", "forward", "stop", "refresh", "home", "search"})
            QTest::addRow("browser %s", name) << QString(":/pictures/browser/%1.png").arg(name);
        QTest::newRow("about picture") << ":/pictures/about-picture.png";
    }

    void maskedPicturesKeepTheirLightGreyBackground()
    {
        QFETCH(QString, path);
        const QImage image = load(path);
        QVERIFY(!image.hasAlphaChannel());
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
            QCOMPARE(QColor(image.pixel(corner)).name(), QColor(silver).name());
        QVERIFY(coloursOf(image).size() > 2);
    }

    void iconsAreSeeThroughAroundTheirSubject_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("window icon") << ":/pictures/quillo-icon.png";
        for (int side : {16, 48, 64, 128, 256})
            QTest::addRow("icon %d", side) << QString(":/pictures/quillo-icon-%1.png").arg(side);
    }

    void iconsAreSeeThroughAroundTheirSubject()
    {
        QFETCH(QString, path);
        const QImage image = load(path);
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }

    // The designed window icon is a 256-colour picture: an 8-bit palette, and
    // more of it in use than a 16-colour picture could hold.
    void windowIconIs256Colours()
    {
        const QImage icon = load(":/pictures/quillo-icon.png");
        QCOMPARE(icon.format(), QImage::Format_Indexed8);
        QVERIFY2(icon.colorCount() > 16 && icon.colorCount() <= 256, qPrintable(QString::number(icon.colorCount())));
        QVERIFY2(coloursOf(icon).size() > 16, qPrintable(QString::number(coloursOf(icon).size())));
    }

    void logoPicturesAreOpaqueTrueColour_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("logo badge") << ":/pictures/logo-badge.png";
        QTest::newRow("splash logo") << ":/pictures/splash-logo.png";
    }

    void logoPicturesAreOpaqueTrueColour()
    {
        QFETCH(QString, path);
        const QImage image = load(path);
        QVERIFY(!image.hasAlphaChannel());
        QVERIFY(!image.isGrayscale());
        QCOMPARE(image.depth(), 32);
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
