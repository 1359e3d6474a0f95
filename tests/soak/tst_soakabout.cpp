// Opens and closes the About box a hundred times through the Help menu's entry
// point and checks that the program's memory comes back.
#include "MemoryUse.h"

#include "fakes/FakeApplicationFacts.h"
#include "fakes/FakeFileSystemChecks.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakeProcessStarter.h"
#include "fakes/FakeRegistry.h"
#include "system/qt/Fonts.h"
#include "system/qt/WindowList.h"
#include "ui/about/frmAbout.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int Boxes = 100;
// The caches that the first few boxes fill (fonts, style pixmaps, pictures)
// stay filled; a box that leaked even a label would pass this many times over.
constexpr std::int64_t AllowedHeapGrowth = 64 * 1024;

} // namespace

class TestSoakAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hundredAboutBoxesGiveTheirMemoryBack();

private:
    // Shows the box modal over the owner and closes it with OK once it is up.
    // Tells whether it came up and went.
    bool showAndClose();

    FakeApplicationFacts m_facts;
    FakeMessageBox m_messages;
    FakeRegistry m_registry;
    FakeFileSystemChecks m_files;
    FakeProcessStarter m_processes;
    WindowList m_windows;
    QWidget m_owner;
};

void TestSoakAbout::initTestCase()
{
    Fonts::install();
    m_owner.setGeometry(100, 80, 600, 420);
    m_owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_owner));
}

bool TestSoakAbout::showAndClose()
{
    bool cameUp = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!box)
            return;
        cameUp = m_windows.count() == 1 && m_windows.at(0) == box;
        box->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    frmAbout::showModal(&m_owner,
                        AboutServices{&m_facts, &m_messages, &m_registry, &m_files, &m_processes, &m_windows});
    // showModal returns once the box has unloaded; it deletes itself later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return cameUp && m_windows.count() == 0;
}

void TestSoakAbout::hundredAboutBoxesGiveTheirMemoryBack()
{
    for (int warmUp = 0; warmUp < 5; ++warmUp)
        QVERIFY(showAndClose());
    const std::int64_t before = MemoryUse::heapInUse();

    for (int n = 0; n < Boxes; ++n)
        QVERIFY2(showAndClose(), qPrintable(QStringLiteral("box %1").arg(n)));

    QCOMPARE(m_owner.findChildren<frmAbout*>().size(), 0);
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<frmAbout*>(window), "an About box was left behind");
    const std::int64_t growth = MemoryUse::heapInUse() - before;
    qInfo("heap in use: %lld bytes, after %d About boxes %+lld bytes", static_cast<long long>(before), Boxes,
          static_cast<long long>(growth));
    QVERIFY2(growth < AllowedHeapGrowth, qPrintable(QStringLiteral("the heap grew by %1 bytes").arg(growth)));
}

QTEST_MAIN(TestSoakAbout)
#include "tst_soakabout.moc"
