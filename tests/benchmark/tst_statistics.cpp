#include "benchmark/BenchmarkResult.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"
#include "benchmark/Warnings.h"

#include <QTest>

#include <cmath>
#include <vector>

using namespace kamorin;

using Seconds = std::vector<double>;
Q_DECLARE_METATYPE(Seconds)

class TestStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void figures_data();
    void figures();
    void noRuns();
    void machineWarnings_data();
    void machineWarnings();
    void spreadWarnings_data();
    void spreadWarnings();
    void parallelWarnings_data();
    void parallelWarnings();
};

void TestStatistics::figures_data()
{
    QTest::addColumn<Seconds>("seconds");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("stddev");
    QTest::addColumn<double>("median");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");

    QTest::newRow("one run: no spread") << Seconds { 2.5 } << 2.5 << 0.0 << 2.5 << 2.5 << 2.5;
    QTest::newRow("odd count, unsorted") << Seconds { 3, 1, 2 } << 2.0 << 1.0 << 2.0 << 1.0 << 3.0;
    // Σ(x − 2.5)² = 5 over n − 1 = 3.
    QTest::newRow("even count: middle two")
            << Seconds { 4, 1, 3, 2 } << 2.5 << std::sqrt(5.0 / 3) << 2.5 << 1.0 << 4.0;
    // Σ(x − 5)² = 32 over 7.
    QTest::newRow("textbook eight") << Seconds { 2, 4, 4, 4, 5, 5, 7, 9 } << 5.0
                                    << std::sqrt(32.0 / 7) << 4.5 << 2.0 << 9.0;
    QTest::newRow("all equal") << Seconds { 5, 5, 5 } << 5.0 << 0.0 << 5.0 << 5.0 << 5.0;
    // Runs that differ far below their size keep their spread.
    QTest::newRow("large offset") << Seconds { 1e9 + 1, 1e9 + 2, 1e9 + 3 } << 1e9 + 2 << 1.0
                                  << 1e9 + 2 << 1e9 + 1 << 1e9 + 3;
}

void TestStatistics::figures()
{
    QFETCH(Seconds, seconds);
    const std::optional<Statistics> s = statisticsOf(seconds);
    QVERIFY(s);
    QTEST(s->mean, "mean");
    QTEST(s->stddev, "stddev");
    QTEST(s->median, "median");
    QTEST(s->min, "min");
    QTEST(s->max, "max");
}

void TestStatistics::noRuns()
{
    QVERIFY(!statisticsOf({}));
}

namespace {
const int kBusy = static_cast<int>(Warning(OthersBusy {}).index());
const int kPowersave = static_cast<int>(Warning(PowersaveGovernor {}).index());
} // namespace

void TestStatistics::machineWarnings_data()
{
    // Threads of other processes runnable before the runs; below 0, unknown.
    QTest::addColumn<double>("load");
    QTest::addColumn<int>("cpus");
    QTest::addColumn<QString>("governor");
    QTest::addColumn<QList<int>>("found");

    QTest::newRow("quiet") << 0.0 << 2 << "performance" << QList<int>();
    QTest::newRow("at the limit: not above") << 0.6 << 2 << "" << QList<int>();
    QTest::newRow("one other thread on two CPUs") << 1.0 << 2 << "" << QList<int> { kBusy };
    QTest::newRow("per CPU: busy for one") << 0.5 << 1 << "" << QList<int> { kBusy };
    QTest::newRow("per CPU: quiet for eight") << 2.0 << 8 << "" << QList<int>();
    QTest::newRow("powersave") << 0.0 << 4 << "powersave" << QList<int> { kPowersave };
    QTest::newRow("both") << 4.0 << 4 << "powersave" << QList<int> { kBusy, kPowersave };
    QTest::newRow("no load known") << -1.0 << 4 << "schedutil" << QList<int>();
}

void TestStatistics::machineWarnings()
{
    QFETCH(double, load);
    QFETCH(int, cpus);
    QFETCH(QString, governor);
    QFETCH(QList<int>, found);
    SystemInfo system;
    system.logicalCpus = cpus;
    // A high load average alone no longer warns: it holds our own earlier runs.
    system.loadAverage = std::array<double, 3> { 6, 6, 6 };
    if (!governor.isEmpty())
        system.governor = governor;
    const std::vector<Warning> warnings
            = kamorin::machineWarnings(system, load >= 0 ? std::optional(load) : std::nullopt);
    QList<int> kinds;
    for (const Warning &warning : warnings)
        kinds << static_cast<int>(warning.index());
    QCOMPARE(kinds, found);
    if (!kinds.isEmpty() && kinds.front() == kBusy) {
        const auto &busy = std::get<OthersBusy>(warnings.front());
        QCOMPARE(busy.runnable, load);
        QCOMPARE(busy.logicalCpus, cpus);
        QCOMPARE(busy.limitPerCpu, kBusyLoadPerCpu);
    }
}

void TestStatistics::spreadWarnings_data()
{
    QTest::addColumn<Seconds>("seconds");
    QTest::addColumn<bool>("warned");
    QTest::newRow("one run") << Seconds { 1 } << false;
    QTest::newRow("close runs") << Seconds { 100, 101 } << false;
    // Mean 1.1, stddev 0.1414…: 12.9 %.
    QTest::newRow("far apart") << Seconds { 1.0, 1.2 } << true;
    // Mean 1, stddev 0.05 exactly would sit on the limit; 0.0495 below it.
    QTest::newRow("just below five percent") << Seconds { 0.965, 1.035 } << false;
    QTest::newRow("just above five percent") << Seconds { 0.96, 1.04 } << true;
    QTest::newRow("zero mean: nothing to compare") << Seconds { 0, 0 } << false;
}

void TestStatistics::spreadWarnings()
{
    QFETCH(Seconds, seconds);
    const std::vector<Warning> warnings = kamorin::spreadWarnings(statisticsOf(seconds));
    QTEST(!warnings.empty(), "warned");
    if (!warnings.empty())
        QCOMPARE(std::get<NoisyRuns>(warnings.front()).limit, kNoisyRelativeStddev);
}

void TestStatistics::parallelWarnings_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<double>("speedup");
    // Threads of other processes runnable around the copies; below 0, unknown.
    QTest::addColumn<double>("others");
    QTest::addColumn<int>("cpus");
    QTest::addColumn<QStringList>("warned");
    const QStringList above { QStringLiteral("above") };
    const QStringList crowded { QStringLiteral("crowded") };
    QTest::newRow("above the threads, as measured") << 2 << 2.15 << 0.0 << 2 << above;
    QTest::newRow("at the threads") << 2 << 2.0 << 0.0 << 2 << QStringList();
    QTest::newRow("below") << 4 << 3.9 << 0.0 << 4 << QStringList();
    QTest::newRow("load 6 on two CPUs") << 2 << 0.72 << 6.0 << 2 << crowded;
    QTest::newRow("one other thread leaves one CPU for two") << 2 << 1.4 << 1.0 << 2 << crowded;
    QTest::newRow("one other thread, a CPU to spare") << 2 << 1.9 << 1.0 << 3 << QStringList();
    QTest::newRow("half a thread, as a median") << 2 << 1.8 << 0.5 << 2 << crowded;
    QTest::newRow("load unknown") << 2 << 1.9 << -1.0 << 2 << QStringList();
    QTest::newRow("both") << 1 << 1.2 << 1.0 << 1 << QStringList { above.front(), crowded.front() };
}

void TestStatistics::parallelWarnings()
{
    QFETCH(int, threads);
    QFETCH(double, speedup);
    QFETCH(double, others);
    QFETCH(int, cpus);
    ParallelResult parallel;
    parallel.threads = threads;
    parallel.speedup = speedup;
    const std::vector<Warning> warnings = kamorin::parallelWarnings(
            parallel, others >= 0 ? std::optional(others) : std::nullopt, cpus);
    QStringList warned;
    for (const Warning &warning : warnings) {
        if (const auto *w = std::get_if<SpeedupAboveThreads>(&warning)) {
            QCOMPARE(w->speedup, speedup);
            QCOMPARE(w->threads, threads);
            warned << QStringLiteral("above");
        } else if (const auto *w = std::get_if<ParallelCrowded>(&warning)) {
            QCOMPARE(w->othersRunnable, others);
            QCOMPARE(w->cpus, cpus);
            QCOMPARE(w->threads, threads);
            warned << QStringLiteral("crowded");
        }
    }
    QTEST(warned, "warned");
}

QTEST_APPLESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
