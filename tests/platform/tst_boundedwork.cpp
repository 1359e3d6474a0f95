#include "platform/BoundedWork.h"

#include <QtTest>

#include <atomic>
#include <thread>

// Waiting for work on another thread: the caller's event loop goes on, and the
// answer comes from the work, told to stop at the limit; only a work that does
// not stop is answered for, once the grace period is over too.
class TestBoundedWork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answerComesWhileTheEventLoopRuns();
    void pastTheLimitTheWorkIsCancelledAndAnswersItself();
    void aWorkThatDoesNotStopIsAnsweredForAfterTheGrace();
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
        {std::chrono::seconds(20), std::chrono::seconds(20)}, [] { return -1; });
    QVERIFY(!answer.isFinished()); // the caller went on at once
    QTRY_VERIFY(answer.isFinished());
    QCOMPARE(answer.result(), 42);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
}

void TestBoundedWork::pastTheLimitTheWorkIsCancelledAndAnswersItself()
{
    auto interrupted = std::make_shared<std::atomic<bool>>(false);
    QFuture<int> answer = BoundedWork::run<int>(
        [interrupted](CancelToken& token) {
            token.onCancel([interrupted] { *interrupted = true; });
            while (!token.isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return 42;
        },
        {std::chrono::milliseconds(100), std::chrono::seconds(20)}, [] { return -1; });
    QTRY_VERIFY(answer.isFinished());
    // What the work knows when it stops is the answer, not a guess.
    QCOMPARE(answer.results(), QList<int>{42});
    QVERIFY(*interrupted);
}

void TestBoundedWork::aWorkThatDoesNotStopIsAnsweredForAfterTheGrace()
{
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto sawCancel = std::make_shared<std::atomic<bool>>(false);
    auto done = std::make_shared<std::atomic<bool>>(false);
    QFuture<int> answer = BoundedWork::run<int>(
        [release, sawCancel, done](CancelToken& token) {
            while (!*release)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            *sawCancel = token.isCancelled();
            *done = true;
            return 42;
        },
        {std::chrono::milliseconds(50), std::chrono::milliseconds(50)}, [] { return -1; });
    QTRY_VERIFY(answer.isFinished());
    QCOMPARE(answer.results(), QList<int>{-1});
    *release = true;
    QTRY_VERIFY(*done);
    QVERIFY(*sawCancel);
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
        {std::chrono::seconds(20), std::chrono::seconds(20)}, [] { return -1; });
    answer.cancel();
    QTRY_VERIFY(*gaveUp);
}

QTEST_GUILESS_MAIN(TestBoundedWork)
#include "tst_boundedwork.moc"
