#include "fakes/TestFiles.h"
#include "platform/QuilloError.h"
#include "platform/WebBrowserControl.h"
#include "system/browser/WebEngineControlFactory.h"
#include "system/browser/WebEngineModule.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <memory>

namespace {

// Web-engine tests wait for another process; allow for a slow, busy machine.
constexpr int LoadTimeout = 30000;

QtMessageHandler s_previousHandler = nullptr;
QStringList s_messages;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    s_messages.append(message);
    s_previousHandler(type, context, message);
}

} // namespace

class TestWebEngineControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void engineStartsWithoutItsStartUpNotes();
    void busyFromNavigateUntilThePageHasLoaded();
    void moveWithinThePageLoadsNothing();
    void titleSetAfterLoadIsReported();
    void missingPageEndsWithItsErrorPage();
    void stopEndsTheLoad();
    void homeAndSearchAreTheComponentsOwnPages();
    void backAndForwardFollowTheHistory();
    void textThatIsNoAddressFails_data();
    void textThatIsNoAddressFails();
    void missingModuleIsReported();

private:
    QString page(const QString& name) const { return m_dir.filePath(name); }
    QString url(const QString& name) const { return QUrl::fromLocalFile(page(name)).toString(); }
    void waitForLoad(int loadsBefore);

    QTemporaryDir m_dir;
    std::unique_ptr<WebEngineControlFactory> m_factory;
    std::unique_ptr<QWidget> m_host;
    WebBrowserControl* m_control = nullptr;
    std::unique_ptr<QSignalSpy> m_loads;
    std::unique_ptr<QSignalSpy> m_arrivals;
};

void TestWebEngineControl::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const auto write = [this](const QString& name, const QByteArray& title) {
        QVERIFY(TestFiles::write(page(name), "<!DOCTYPE html><html><head><title>" + title +
                                                 "</title></head><body><p id=\"part\">" + title +
                                                 "</p></body></html>"));
    };
    write(QStringLiteral("first.html"), "First Page");
    write(QStringLiteral("second.html"), "Second Page");
    write(QStringLiteral("home.html"), "Component Home");
    write(QStringLiteral("search.html"), "Component Search");
    m_factory = std::make_unique<WebEngineControlFactory>(
        WebBrowserSettings{QUrl::fromLocalFile(page(QStringLiteral("home.html"))),
                           QUrl::fromLocalFile(page(QStringLiteral("search.html")))});
}

void TestWebEngineControl::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(400, 300);
    s_previousHandler = qInstallMessageHandler(&recordMessage);
    m_control = m_factory->create(*m_host);
    qInstallMessageHandler(s_previousHandler);
    m_host->show();
    m_loads = std::make_unique<QSignalSpy>(m_control, &WebBrowserControl::DownloadComplete);
    m_arrivals = std::make_unique<QSignalSpy>(m_control, &WebBrowserControl::NavigateComplete2);
}

void TestWebEngineControl::cleanup()
{
    m_loads.reset();
    m_arrivals.reset();
    m_host.reset();
    m_control = nullptr;
}

void TestWebEngineControl::waitForLoad(int loadsBefore)
{
    QTRY_VERIFY_WITH_TIMEOUT(m_loads->size() > loadsBefore, LoadTimeout);
}

void TestWebEngineControl::engineStartsWithoutItsStartUpNotes()
{
    // init() made the first control of the run, which started the engine.
    for (const QString& message : std::as_const(s_messages)) {
        QVERIFY2(!message.contains(QLatin1String("initialized from a plugin")), qPrintable(message));
        QVERIFY2(!message.contains(QLatin1String("QtWebEngineQuick::initialize()")), qPrintable(message));
        QVERIFY2(!message.contains(QLatin1String("AA_ShareOpenGLContexts")), qPrintable(message));
    }
    QCOMPARE(m_control->LocationURL(), QString());
    QVERIFY(!m_control->Busy());
    QCOMPARE(m_host->findChildren<QWidget*>().isEmpty(), false);
}

void TestWebEngineControl::busyFromNavigateUntilThePageHasLoaded()
{
    // A local path, as typed into an address bar.
    m_control->Navigate(page(QStringLiteral("first.html")));
    QVERIFY(m_control->Busy());

    waitForLoad(0);
    QVERIFY(!m_control->Busy());
    QCOMPARE(m_control->LocationName(), QStringLiteral("First Page"));
    QCOMPARE(m_control->LocationURL(), url(QStringLiteral("first.html")));
    QCOMPARE(m_arrivals->size(), 1);
    QCOMPARE(m_arrivals->first().first().toString(), url(QStringLiteral("first.html")));
}

void TestWebEngineControl::moveWithinThePageLoadsNothing()
{
    m_control->Navigate(page(QStringLiteral("first.html")));
    waitForLoad(0);

    m_control->Navigate(url(QStringLiteral("first.html")) + QStringLiteral("#part"));
    QVERIFY(!m_control->Busy());
    QTRY_COMPARE_WITH_TIMEOUT(m_arrivals->size(), 2, LoadTimeout);
    QCOMPARE(m_arrivals->last().first().toString(), url(QStringLiteral("first.html")) + QStringLiteral("#part"));
    QCOMPARE(m_control->LocationURL(), url(QStringLiteral("first.html")) + QStringLiteral("#part"));
    QCOMPARE(m_loads->size(), 1);
}

void TestWebEngineControl::titleSetAfterLoadIsReported()
{
    QVERIFY(TestFiles::write(page(QStringLiteral("late.html")),
                             "<!DOCTYPE html><html><body><script>setTimeout(function () { document.title = "
                             "'Named Late'; }, 300);</script></body></html>"));
    QSignalSpy titles(m_control, &WebBrowserControl::TitleChange);
    m_control->Navigate(page(QStringLiteral("late.html")));
    waitForLoad(0);

    QTRY_VERIFY_WITH_TIMEOUT(!titles.isEmpty() && titles.last().first().toString() == QLatin1String("Named Late"),
                             LoadTimeout);
    QVERIFY(!m_control->Busy());
    QCOMPARE(m_control->LocationName(), QStringLiteral("Named Late"));
}

void TestWebEngineControl::missingPageEndsWithItsErrorPage()
{
    m_control->Navigate(page(QStringLiteral("missing.html")));
    waitForLoad(0);

    QVERIFY(!m_control->Busy());
    QCOMPARE(m_control->LocationURL(), url(QStringLiteral("missing.html")));
    QCOMPARE(m_arrivals->size(), 1);
    QCOMPARE(m_arrivals->first().first().toString(), url(QStringLiteral("missing.html")));
}

void TestWebEngineControl::stopEndsTheLoad()
{
    m_control->Navigate(page(QStringLiteral("first.html")));
    QVERIFY(m_control->Busy());
    m_control->Stop();
    QVERIFY(!m_control->Busy());
}

void TestWebEngineControl::homeAndSearchAreTheComponentsOwnPages()
{
    m_control->GoHome();
    QVERIFY(m_control->Busy());
    waitForLoad(0);
    QCOMPARE(m_control->LocationName(), QStringLiteral("Component Home"));

    m_control->GoSearch();
    waitForLoad(1);
    QCOMPARE(m_control->LocationName(), QStringLiteral("Component Search"));
    QCOMPARE(m_control->LocationURL(), url(QStringLiteral("search.html")));
}

void TestWebEngineControl::backAndForwardFollowTheHistory()
{
    // Nothing to go back or forward to: nothing happens.
    m_control->GoBack();
    m_control->GoForward();
    m_control->Refresh();
    QVERIFY(!m_control->Busy());

    m_control->Navigate(page(QStringLiteral("first.html")));
    waitForLoad(0);
    m_control->Navigate(page(QStringLiteral("second.html")));
    waitForLoad(1);

    m_control->GoBack();
    QVERIFY(m_control->Busy());
    waitForLoad(2);
    QCOMPARE(m_control->LocationName(), QStringLiteral("First Page"));

    m_control->GoForward();
    waitForLoad(3);
    QCOMPARE(m_control->LocationName(), QStringLiteral("Second Page"));

    m_control->Refresh();
    QVERIFY(m_control->Busy());
    waitForLoad(4);
    QCOMPARE(m_control->LocationURL(), url(QStringLiteral("second.html")));
}

void TestWebEngineControl::textThatIsNoAddressFails_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("   ");
}

void TestWebEngineControl::textThatIsNoAddressFails()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(QuilloError, m_control->Navigate(text));
    QVERIFY(!m_control->Busy());
}

void TestWebEngineControl::missingModuleIsReported()
{
    WebEngineModule module({m_dir.filePath(QStringLiteral("nowhere"))});
    QWidget parent;
    try {
        module.createView(&parent);
        QFAIL("a view was made without the module");
    } catch (const QuilloError& error) {
        QCOMPARE(error.message(), QStringLiteral("Quillo cannot show web pages: its web browser part "
                                                 "(quillo-webengine.so) is missing."));
    }
}

QTEST_MAIN(TestWebEngineControl)
#include "tst_webenginecontrol.moc"
