#include "platform/BoundedWork.h"

#include <QtTest>

#include <atomic>
#include <thread>

// Waiting for work on another thread: the caller's event loop goes on, and the
// answer comes from the work or, past the limit, from the limit.
class TestBoundedWork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answerComesWhileTheEventLoopRuns();
    void pastTheLimitTheWorkIsCancelled();
    void aCallerThatGivesUpCancelsTheWork();
};

void TestBoundedWork::answerComesWhileTheEventLoopRuns()
{
    // A timer stands for the window's painting: it fires while the work runs.
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(5);
    QFuture<int> answer = BoundedWork::run<int>(
        [](CancelToken&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            return 42;
        },
        std::chrono::seconds(20), [] { return -1; });
    QVERIFY(!answer.isFinished()); // the caller went on at once
    QTRY_VERIFY(answer.isFinished());
    QCOMPARE(answer.result(), 42);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
}

void TestBoundedWork::pastTheLimitTheWorkIsCancelled()
{
    auto gaveUp = std::make_shared<std::atomic<bool>>(false);
    auto interrupted = std::make_shared<std::atomic<bool>>(false);
    QFuture<int> answer = BoundedWork::run<int>(
        [gaveUp, interrupted](CancelToken& token) {
            token.onCancel([interrupted] { *interrupted = true; });
            while (!token.isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            *gaveUp = true;
            return 42;
        },
        std::chrono::milliseconds(100), [] { return -1; });
    QTRY_VERIFY(answer.isFinished());
    QCOMPARE(answer.result(), -1);
    QVERIFY(*interrupted);
    QTRY_VERIFY(*gaveUp);
    // The work's late answer changes nothing.
    QTest::qWait(20);
    QCOMPARE(answer.results(), QList<int>{-1});
}

void TestBoundedWork::aCallerThatGivesUpCancelsTheWork()
{
    auto gaveUp = std::make_shared<std::atomic<bool>>(false);
    QFuture<int> answer = BoundedWork::run<int>(
        [gaveUp](CancelToken& token) {
            while (!token.isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            *gaveUp = true;
            return 42;
        },
        std::chrono::seconds(20), [] { return -1; });
    answer.cancel();
    QTRY_VERIFY(*gaveUp);
}

QTEST_GUILESS_MAIN(TestBoundedWork)
#include "tst_boundedwork.moc"
