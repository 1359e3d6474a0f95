// Quillo's own help pages, read as the help viewer reads them: every link
// leads to a page and place that exist, and every page can be reached from
// the contents. The help and the home page are written in US English, as the
// windows and the printed draft are. The keys page names every key the
// main window's menus and Quick Print answer to.

#include "fakes/TestFiles.h"
#include "ui/main/MainWindowDesign.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {

QString helpFolder()
{
    return TestFiles::sourceDir() + QStringLiteral("/resources/help");
}

QStringList pageNames()
{
    return QDir(helpFolder()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// One page as the viewer's document model sees it.
struct Page {
    QString title;
    QSet<QString> anchors;
    QStringList links;  // href of every link, in order
    QStringList images; // src of every picture
    QStringList styleSheets;
};

Page readPage(const QString& name)
{
    const QString path = helpFolder() + QLatin1Char('/') + name;
    const QString html = QString::fromUtf8(TestFiles::read(path));
    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(path));
    document.setHtml(html);

    Page page;
    page.title = document.metaInformation(QTextDocument::DocumentTitle);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& anchor : format.anchorNames())
                page.anchors.insert(anchor);
            if (format.isImageFormat())
                page.images.append(format.toImageFormat().name());
            else if (format.isAnchor() && !format.anchorHref().isEmpty())
                page.links.append(format.anchorHref());
        }
    }
    page.links.removeDuplicates();
    // The document model keeps no trace of <link>, so read those from the text.
    static const QRegularExpression styleLink(QStringLiteral("<link\\b[^>]*\\bhref=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& match : styleLink.globalMatch(html))
        page.styleSheets.append(match.captured(1));
    return page;
}

QHash<QString, Page> readAllPages()
{
    QHash<QString, Page> pages;
    for (const QString& name : pageNames())
        pages.insert(name, readPage(name));
    return pages;
}

// The page name and anchor a link of `from` leads to; empty page name when it
// leaves the help folder.
std::pair<QString, QString> target(const QString& from, const QString& href)
{
    const QUrl base = QUrl::fromLocalFile(helpFolder() + QLatin1Char('/') + from);
    const QUrl url = base.resolved(QUrl(href));
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    if (QDir::cleanPath(file.absolutePath()) != QDir::cleanPath(helpFolder()))
        return {};
    return {file.fileName(), url.fragment()};
}

} // namespace

class TestHelpContent : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pageLinksResolve_data();
    void pageLinksResolve();
    void everyPageIsReachableFromTheContents();
    void pagesReadInUsEnglish_data();
    void pagesReadInUsEnglish();
    void keysPageNamesEveryMenuKey();

private:
    QHash<QString, Page> m_pages;
};

void TestHelpContent::initTestCase()
{
    m_pages = readAllPages();
    QVERIFY2(m_pages.contains(QStringLiteral("index.html")), qPrintable(helpFolder()));
    QVERIFY(m_pages.size() >= 5);
}

void TestHelpContent::pageLinksResolve_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : pageNames())
        QTest::newRow(qPrintable(name)) << name;
}

void TestHelpContent::pageLinksResolve()
{
    QFETCH(QString, name);
    const Page& page = m_pages[name];
    QVERIFY2(!page.title.isEmpty(), "every page has a title for the viewer");
    QCOMPARE(page.styleSheets, QStringList{QStringLiteral("help.css")});
    QVERIFY(QFile::exists(helpFolder() + QStringLiteral("/help.css")));
    if (name != QStringLiteral("index.html"))
        QVERIFY2(page.links.contains(QStringLiteral("index.html")), "every page leads back to the contents");

    for (const QString& href : page.links) {
        const auto [file, anchor] = target(name, href);
        QVERIFY2(!file.isEmpty(), qPrintable(href + QStringLiteral(": the help works offline, inside its folder")));
        QVERIFY2(m_pages.contains(file), qPrintable(href + QStringLiteral(": no such page")));
        if (!anchor.isEmpty())
            QVERIFY2(m_pages[file].anchors.contains(anchor), qPrintable(href + QStringLiteral(": no such place")));
    }
    for (const QString& image : page.images) {
        const QUrl url(image);
        const QString path = url.scheme() == QStringLiteral("qrc") ? QLatin1Char(':') + url.path()
                                                                   : helpFolder() + QLatin1Char('/') + url.toString();
        QVERIFY2(QFile::exists(path), qPrintable(image));
    }
}

void TestHelpContent::everyPageIsReachableFromTheContents()
{
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList toVisit{QStringLiteral("index.html")};
    while (!toVisit.isEmpty()) {
        const QString name = toVisit.takeFirst();
        for (const QString& href : m_pages[name].links) {
            const QString file = target(name, href).first;
            if (m_pages.contains(file) && !reached.contains(file)) {
                reached.insert(file);
                toVisit.append(file);
            }
        }
    }
    QStringList unreached;
    for (const QString& name : pageNames()) {
        if (!reached.contains(name))
            unreached.append(name);
    }
    QVERIFY2(unreached.isEmpty(), qPrintable(unreached.join(QStringLiteral(", "))));
}

void TestHelpContent::pagesReadInUsEnglish_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& folder : {QStringLiteral("help"), QStringLiteral("home")}) {
        const QDir pages(TestFiles::sourceDir() + QStringLiteral("/resources/") + folder);
        for (const QString& name : pages.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
            QTest::addRow("%s/%s", qPrintable(folder), qPrintable(name)) << pages.filePath(name);
    }
}

void TestHelpContent::pagesReadInUsEnglish()
{
    QFETCH(QString, path);
    QTextDocument page;
    page.setHtml(QString::fromUtf8(TestFiles::read(path)));
    const QString text = page.metaInformation(QTextDocument::DocumentTitle) + QLatin1Char('\n') + page.toPlainText();
    static const QRegularExpression british(
        QStringLiteral(
            "\\b(cheques?|\\w*authoris\\w*|\\w*colour\\w*|centres?|\\w*(minimis|organis|recognis|realis)\\w*|"
            "cancell\\w*|grey|licence|behaviour)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const QRegularExpressionMatch& match : british.globalMatch(text))
        found.append(match.captured());
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(", "))));
}

void TestHelpContent::keysPageNamesEveryMenuKey()
{
    QTextDocument page;
    page.setHtml(QString::fromUtf8(TestFiles::read(helpFolder() + QStringLiteral("/keys.html"))));
    // Table cells run together: "Ctrl+N File, New", "Alt+F File N New, O Open...".
    const QString text = page.toPlainText().simplified();
    QStringList expected{QStringLiteral("Ctrl+P Quick Print")};
    QString menu;
    for (const MainWindowDesign::MenuEntry& entry : MainWindowDesign::Menus) {
        QString caption = QString::fromLatin1(entry.caption);
        if (caption == QLatin1String("-"))
            continue;
        const QString letter = caption.mid(caption.indexOf(QLatin1Char('&')) + 1, 1).toUpper();
        caption = caption.remove(QLatin1Char('&')).trimmed();
        if (entry.heading) {
            menu = caption;
            expected << QStringLiteral("Alt+%1 %2").arg(letter, menu);
            continue;
        }
        expected << QStringLiteral("%1 %2").arg(letter, caption);
        if (entry.shortcut)
            expected << QStringLiteral("%1 %2, %3").arg(QString::fromLatin1(entry.shortcut), menu, caption);
    }
    QStringList missing;
    for (const QString& words : expected) {
        if (!text.contains(words))
            missing << words;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestHelpContent)
#include "tst_helpcontent.moc"
