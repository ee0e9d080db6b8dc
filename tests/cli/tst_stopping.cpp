#include "benchmark/Benchmark.h"
#include "benchmark/ParallelRun.h"
#include "benchmark/RunRegistry.h"
#include "cli/SignalWatcher.h"
#include "runtime/LoopProgress.h"

#include <QElapsedTimer>
#include <QTest>

#include <chrono>
#include <signal.h>
#include <thread>
#include <unistd.h>

using namespace kamorin;

namespace {

SeriesPlan countOf(const char *count, const char *unit)
{
    SeriesPlan options;
    options.count = QString::fromUtf8(count);
    options.unit = QString::fromUtf8(unit);
    return options;
}

} // namespace

class TestStopping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stopReachesEveryRunningLoop();
    void loopStartingAfterAStopStartsStopped();
    void idleOnlyWhenTheLastLoopEnds();
    void signalToTheProcessStopsTheLoops_data();
    void signalToTheProcessStopsTheLoops();
    void parallelCopiesAllStop();
    void parallelCopiesCompareTheirValues_data();
    void parallelCopiesCompareTheirValues();
};

void TestStopping::stopReachesEveryRunningLoop()
{
    RunRegistry registry;
    LoopProgress a;
    LoopProgress b;
    {
        const RunRegistry::Registration ra(registry, a);
        const RunRegistry::Registration rb(registry, b);
        registry.requestStop(SIGTERM);
        registry.requestStop(SIGINT);
    }
    QVERIFY(a.stopRequested());
    QVERIFY(b.stopRequested());
    // The first signal is the one the exit status tells.
    QCOMPARE(registry.stopSignal(), SIGTERM);
}

void TestStopping::loopStartingAfterAStopStartsStopped()
{
    RunRegistry registry;
    LoopProgress before;
    {
        const RunRegistry::Registration r(registry, before);
    }
    QCOMPARE(registry.stopSignal(), 0);
    registry.requestStop(SIGINT);
    QVERIFY(!before.stopRequested());
    LoopProgress after;
    const RunRegistry::Registration r(registry, after);
    QVERIFY(after.stopRequested());
}

void TestStopping::idleOnlyWhenTheLastLoopEnds()
{
    RunRegistry registry;
    int idle = 0;
    registry.setIdleHook([&] { ++idle; });
    LoopProgress a;
    LoopProgress b;
    a.begin(100);
    a.reached(40);
    b.begin(300);
    b.reached(60);
    {
        const RunRegistry::Registration ra(registry, a);
        {
            const RunRegistry::Registration rb(registry, b);
            registry.withSnapshot([](const RunRegistry::Snapshot &s) {
                QVERIFY(s.running);
                QCOMPARE(s.passesDone, 100.0);
                QCOMPARE(s.totalPasses, 400.0);
            });
        }
        QCOMPARE(idle, 0);
    }
    QCOMPARE(idle, 1);
    registry.withSnapshot([](const RunRegistry::Snapshot &s) { QVERIFY(!s.running); });
}

void TestStopping::signalToTheProcessStopsTheLoops_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
}

void TestStopping::signalToTheProcessStopsTheLoops()
{
    QFETCH(int, signalNumber);
    RunRegistry registry;
    const SignalWatcher watcher(registry);
    LoopProgress progress;
    const RunRegistry::Registration r(registry, progress);
    ::kill(::getpid(), signalNumber);
    QTRY_VERIFY_WITH_TIMEOUT(progress.stopRequested(), 10000);
    QCOMPARE(registry.stopSignal(), signalNumber);
}

void TestStopping::parallelCopiesAllStop()
{
    RunRegistry registry;
    // Hours of work for each copy: only the stop can end them.
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        registry.requestStop(SIGINT);
    });
    QElapsedTimer timer;
    timer.start();
    const ParallelOutcome outcome
            = runInParallel(countOf("1000", "億回"), registry, 2, {}, QString(), 1e11, 1);
    stopper.join();
    QVERIFY(timer.elapsed() < 30000);
    QVERIFY(outcome.stopped);
    QVERIFY(outcome.result.values.isEmpty());
}

void TestStopping::parallelCopiesCompareTheirValues_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("mismatches");
    QTest::newRow("agree") << 3 << "3.14149265359003" << 0;
    QTest::newRow("differ") << 2 << "3.14" << 2;
}

void TestStopping::parallelCopiesCompareTheirValues()
{
    QFETCH(int, threads);
    QFETCH(QString, expected);
    QFETCH(int, mismatches);
    RunRegistry registry;
    const ParallelOutcome outcome
            = runInParallel(countOf("10", "千回"), registry, threads, {}, expected, 10000, 10);
    QVERIFY(!outcome.stopped);
    QCOMPARE(outcome.result.threads, threads);
    QCOMPARE(outcome.result.values, QStringList(threads, QStringLiteral("3.14149265359003")));
    QCOMPARE(outcome.errors.size(), mismatches);
    QCOMPARE(outcome.result.valuesAgree, mismatches == 0);
    if (mismatches) {
        QCOMPARE(outcome.errors.front().kind, SessionError::Kind::ValuesDisagree);
        QCOMPARE(outcome.errors.back().copy, 2);
        QCOMPARE(outcome.errors.back().expected, expected);
        return;
    }
    QCOMPARE(outcome.result.seconds.size(), std::size_t { 1 });
    QCOMPARE(*outcome.result.singlePassesPerSecond, 10000 / 10.0);
    // Against a one-thread time far longer than the copies took: shown as
    // measured, and marked.
    QCOMPARE(*outcome.result.speedup, threads * 10 / outcome.result.seconds.front());
    QVERIFY(speedupAboveThreads(outcome.result));
}

int main(int argc, char *argv[])
{
    // As kamorin-cli does before it makes a thread, and before QtTest makes
    // its watchdog: otherwise a signal to the process could end this test
    // instead of reaching the watcher.
    SignalWatcher::blockStopSignals();
    TestStopping test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_stopping.moc"
