#include "benchmark/Calibration.h"
#include "benchmark/CpuAffinity.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/RunRegistry.h"
#include "benchmark/Session.h"
#include "mainwindow/Form1.h"
#include "mainwindow/LoopUnits.h"
#include "scoring/Command6_Click.h"
#include "scoring/ReferenceMachineTable.h"
#include "support/SampleResult.h"
#include "support/VectorStateWatch.h"

#include <QTest>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>

using namespace kamorin;

namespace {

// The store in memory, failing where a test says.
class FakeStore : public SessionStore
{
public:
    bool opens = true;
    bool makes = true;
    bool saves = true;
    std::vector<SavedResult> saved;
    int savesAsked = 0;

    std::optional<std::vector<SavedResult>> openBeforeRuns(bool read) override
    {
        if (!opens)
            return std::nullopt;
        return read ? saved : std::vector<SavedResult>();
    }
    std::optional<SavedResult> resultToKeep(const BenchmarkResult &result) override
    {
        if (!makes)
            return std::nullopt;
        SavedResult kept = sampleResult();
        kept.runs = result.runs;
        return kept;
    }
    bool save(const SavedResult &result) override
    {
        ++savesAsked;
        if (saves)
            saved.insert(saved.begin(), result);
        return saves;
    }
};

// What the session told, and a stop asked for when the runs begin.
struct Observer : SessionObserver
{
    RunRegistry *stopAtBegin = nullptr;
    QString heard;
    void planAccepted() override { heard += u'p'; }
    void runsBegin() override
    {
        heard += u'b';
        if (stopAtBegin)
            stopAtBegin->requestStop(SIGINT);
    }
    void machineChecked(const std::vector<Warning> &) override { heard += u'm'; }
    void runsOver() override { heard += u'o'; }
};

SessionPlan planOf(const char *count, const char *unit, int runs = 1, int warmup = 0)
{
    SessionPlan plan;
    plan.series.count = QString::fromUtf8(count);
    plan.series.unit = QString::fromUtf8(unit);
    plan.series.speed = QStringLiteral("0");
    plan.series.runs = runs;
    plan.series.warmup = warmup;
    return plan;
}

QList<int> warningKinds(const BenchmarkResult &result)
{
    QList<int> kinds;
    for (const Warning &warning : result.warnings)
        // What the machine happens to be doing is not the session's to decide.
        if (!std::holds_alternative<BusyMachine>(warning)
            && !std::holds_alternative<OthersBusy>(warning)
            && !std::holds_alternative<ParallelCrowded>(warning)
            && !std::holds_alternative<PowersaveGovernor>(warning)
            && !std::holds_alternative<FrequencyChanged>(warning)
            && !std::holds_alternative<TimeStolen>(warning)
            && !std::holds_alternative<CrowdedCpus>(warning))
            kinds << static_cast<int>(warning.index());
    return kinds;
}

QList<int> errorKinds(const SessionOutcome &outcome)
{
    QList<int> kinds;
    for (const SessionError &error : outcome.errors)
        kinds << static_cast<int>(error.kind);
    return kinds;
}

constexpr int kTooShort = 4; // RunsTooShort's index in Warning
constexpr int kRuntime = int(SessionError::Kind::Runtime);
constexpr int kNoLoop = int(SessionError::Kind::RankNeedsALoop);

} // namespace

Q_DECLARE_METATYPE(kamorin::SessionPlan)

class TestSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void courses_data();
    void courses();
    void refusals_data();
    void refusals();
    void series();
    void rankAmongSavedMachines();
    void countAutoLastsTheMinimum();
    void chosenCounts_data();
    void chosenCounts();
    void store_data();
    void store();
    void stopAtEachStage_data();
    void stopAtEachStage();
    void runScoreIsScoresFormula_data();
    void runScoreIsScoresFormula();
    void everyLoopStartsFromACleanVectorState();
};

void TestSession::courses_data()
{
    QTest::addColumn<SessionPlan>("plan");
    QTest::addColumn<int>("ending");
    QTest::addColumn<int>("recorded");
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("warnings");

    const auto with = [](SessionPlan plan, auto change) {
        change(plan);
        return plan;
    };
    const int done = int(SessionEnding::Done);
    const int count = int(SessionError::Step::Count);
    const int other = int(SessionError::Step::Other);
    const SessionPlan tiny = planOf("100", "回");
    const auto longEnough = [](SessionPlan &p) { p.minimumSeconds = 0; };
    const auto tooShort = [](SessionPlan &p) { p.minimumSeconds = 1000; };
    QTest::newRow("one run") << tiny << done << 1 << QList<int>() << other << QList<int>();
    QTest::newRow("a count that is no number")
            << planOf("abc", "回") << int(SessionEnding::FailedBeforeResults) << 0
            << QList<int> { kRuntime } << count << QList<int>();
    QTest::newRow("rank, long enough") << with(tiny,
                                               [&](SessionPlan &p) {
                                                   p.rank = true;
                                                   longEnough(p);
                                               })
                                       << done << 1 << QList<int>() << other << QList<int>();
    QTest::newRow("rank, too short")
            << with(tiny,
                    [&](SessionPlan &p) {
                        p.rank = true;
                        tooShort(p);
                    })
            << done << 1 << QList<int>() << other << QList<int> { kTooShort };
    QTest::newRow("rank without a loop")
            << with(planOf("0", "回"), [](SessionPlan &p) { p.rank = true; }) << done << 1
            << QList<int> { kNoLoop } << other << QList<int>();
    QTest::newRow("parallel, too short")
            << with(tiny,
                    [&](SessionPlan &p) {
                        p.threads = 2;
                        tooShort(p);
                    })
            << done << 1 << QList<int>() << other << QList<int> { kTooShort };
    QTest::newRow("parallel and rank, too short") << with(tiny, [&](SessionPlan &p) {
        p.threads = 2;
        p.forceThreads = true;
        p.rank = true;
        tooShort(p);
    }) << done << 1 << QList<int>() << other << QList<int> { kTooShort, kTooShort };
}

void TestSession::courses()
{
    QFETCH(SessionPlan, plan);
    QFETCH(QList<int>, errors);
    QFETCH(int, step);
    plan.forceThreads = true;
    RunRegistry registry;
    Observer observer;
    const SessionOutcome outcome = runSession(plan, registry, observer, nullptr);
    QTEST(int(outcome.ending), "ending");
    QTEST(int(outcome.result.runs.size()), "recorded");
    QCOMPARE(errorKinds(outcome), errors);
    if (!errors.isEmpty())
        QCOMPARE(int(outcome.errors.front().step), step);
    QTEST(warningKinds(outcome.result), "warnings");
    if (outcome.ending != SessionEnding::Done)
        return;
    QCOMPARE(observer.heard, QStringLiteral("pbmo"));
    // COPY was pressed on the form the runs left.
    QVERIFY(outcome.window.report.contains(outcome.window.value));
    const bool shortRuns = plan.minimumSeconds > 1;
    if (outcome.result.rank)
        QCOMPARE(outcome.result.rank->reliable, !shortRuns);
    if (plan.threads) {
        QVERIFY(outcome.result.parallel);
        QCOMPARE(outcome.result.parallel->threads, *plan.threads);
        QCOMPARE(outcome.result.parallel->values, QStringList(*plan.threads, outcome.window.value));
        if (shortRuns)
            QVERIFY(!outcome.result.parallel->reliable);
    }
}

void TestSession::refusals_data()
{
    QTest::addColumn<QString>("cpu");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("kind");
    QTest::newRow("a CPU that is not there") << "4096" << 0 << int(SessionRefusal::Kind::NoSuchCpu);
    QTest::newRow("a CPU that is no number") << "x" << 0 << int(SessionRefusal::Kind::NoSuchCpu);
    // Run with this thread held to CPU 0, as taskset -c 0 would hold it.
    QTest::newRow("a CPU outside the allowed set")
            << "1" << 0 << int(SessionRefusal::Kind::CpuNotAllowed);
    QTest::newRow("more threads than CPUs")
            << "" << 4096 << int(SessionRefusal::Kind::TooManyThreads);
}

void TestSession::refusals()
{
    QFETCH(QString, cpu);
    QFETCH(int, threads);
    SessionPlan plan = planOf("1000", "億回");
    if (!cpu.isEmpty())
        plan.cpu = cpu;
    if (threads > 0)
        plan.threads = threads;
    plan.save = plan.keep = true;
    RunRegistry registry;
    Observer observer;
    FakeStore store;
    const std::vector<int> allowed = allowedCpus();
    const bool held = qstrcmp(QTest::currentDataTag(), "a CPU outside the allowed set") == 0;
    if (held && (configuredCpus() < 2 || !runCallingThreadOn({ 0 })))
        QSKIP("needs two CPUs and this thread held to the first");
    const SessionOutcome outcome = runSession(plan, registry, observer, &store);
    if (held)
        runCallingThreadOn(allowed);
    QCOMPARE(outcome.ending, SessionEnding::Refused);
    QTEST(int(outcome.refusal->kind), "kind");
    // Nothing was opened or run.
    QCOMPARE(observer.heard, QString());
    QVERIFY(outcome.result.runs.empty());
}

void TestSession::series()
{
    RunRegistry registry;
    Observer observer;
    const SessionOutcome outcome
            = runSession(planOf("100", "万回", 3, 1), registry, observer, nullptr);
    const BenchmarkResult &result = outcome.result;
    QCOMPARE(result.warmupRuns, 1);
    QCOMPARE(result.runs.size(), std::size_t { 3 });
    for (const RecordedRun &run : result.runs) {
        QCOMPARE(run.value, QStringLiteral("3.14159165358977"));
        QCOMPARE(run.passes, 1e6);
        QVERIFY(run.seconds > 0);
    }
    std::vector<double> seconds = result.seconds();
    std::sort(seconds.begin(), seconds.end());
    QCOMPARE(result.statistics()->median, seconds[1]);
    QCOMPARE(result.settings.count, QStringLiteral("100"));
    QCOMPARE(result.settings.runs, 3);
    // Too short to score: the hint was not asked for, so nothing calibrated.
    QVERIFY(!outcome.hintCount);
}

void TestSession::rankAmongSavedMachines()
{
    SessionPlan plan = planOf("100", "万回");
    plan.rank = plan.readSaved = plan.hint = true;
    FakeStore store;
    store.saved = { sampleResult(QStringLiteral("before")), sampleResult(QStringLiteral("after")) };
    RunRegistry registry;
    Observer observer;
    const SessionOutcome outcome = runSession(plan, registry, observer, &store);
    QCOMPARE(outcome.savedResults.size(), std::size_t { 2 });
    const Ranking &rank = *outcome.result.rank;
    const int references = int(ReferenceMachineTable::entries().size());
    // Every reference machine, both saved machines (one label each) and this one.
    QCOMPARE(rank.of, references + 3);
    QCOMPARE(int(rank.rows.size()), references + 3);
    QCOMPARE(rank.seconds, outcome.result.runs.front().seconds * 20);
    int faster = 0;
    for (const RankRow &row : rank.rows)
        if (row.seconds < rank.seconds)
            ++faster;
    QCOMPARE(rank.position, faster + 1);
    // A run too short to score: the hint names a count.
    QVERIFY(outcome.hintCount);
    QCOMPARE(store.savesAsked, 0);
}

void TestSession::countAutoLastsTheMinimum()
{
    SessionPlan plan;
    plan.autoCount = true;
    plan.minimumSeconds = 0.2;
    plan.series.speed = QStringLiteral("0");
    RunRegistry registry;
    Observer observer;
    const SessionOutcome outcome = runSession(plan, registry, observer, nullptr);
    QCOMPARE(outcome.ending, SessionEnding::Done);
    const ChosenCount chosen = *outcome.result.chosenCount;
    QCOMPARE(outcome.result.settings.count, chosen.count);
    QCOMPARE(outcome.result.settings.unit, chosen.unit);
    QVERIFY(outcome.result.settings.countChosen);
    // Never shorter than the minimum, however busy the machine is.
    QVERIFY(outcome.result.runs.front().seconds >= 0.2);
}

void TestSession::chosenCounts_data()
{
    QTest::addColumn<std::optional<double>>("rate");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("unit");
    QTest::newRow("no rate: the window's own") << std::optional<double>() << 1.0 << "2000"
                                               << "万回";
    QTest::newRow("a rate of 0 gives the smallest") << std::optional<double>(0) << 1.0 << "1"
                                                    << "回";
    QTest::newRow("the smallest that lasts") << std::optional(1e7) << 1.0 << "2000"
                                             << "万回";
    QTest::newRow("none lasts: the largest") << std::optional(1e15) << 3600.0 << "9000"
                                             << "億回";
}

void TestSession::chosenCounts()
{
    QFETCH(std::optional<double>, rate);
    QFETCH(double, minimum);
    const ChosenCount chosen = chooseCount(rate, minimum);
    QTEST(chosen.count, "count");
    QTEST(chosen.unit, "unit");
    QCOMPARE(chosen.passes, chosen.count.toDouble() * *loopUnitFactor(chosen.unit));
}

void TestSession::store_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("makes");
    QTest::addColumn<bool>("saves");
    QTest::addColumn<int>("ending");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QList<int>>("errors");
    const int done = int(SessionEnding::Done);
    const QList<int> none;
    QTest::newRow("saved") << "100" << true << true << true << true << done << true << true << false
                           << none;
    QTest::newRow("kept for a page only")
            << "100" << false << true << true << true << done << true << false << false << none;
    QTest::newRow("a store that cannot be opened: nothing runs")
            << "100" << true << false << true << true << int(SessionEnding::StoreUnreadable)
            << false << false << false << none;
    QTest::newRow("a result that cannot be made")
            << "100" << true << true << false << true << done << false << false << true << none;
    QTest::newRow("a save that fails: the page still has it")
            << "100" << true << true << true << false << done << true << false << true << none;
    QTest::newRow("a run of no pass: an error of the run, the store not asked")
            << "0" << true << true << true << true << done << false << false << true
            << QList<int> { int(SessionError::Kind::KeepNeedsALoop) };
}

void TestSession::store()
{
    QFETCH(QString, count);
    QFETCH(bool, save);
    SessionPlan plan = planOf(count.toUtf8().constData(), "回");
    plan.keep = true;
    plan.save = save;
    FakeStore store;
    QFETCH(bool, opens);
    QFETCH(bool, makes);
    QFETCH(bool, saves);
    store.opens = opens;
    store.makes = makes;
    store.saves = saves;
    RunRegistry registry;
    Observer observer;
    const SessionOutcome outcome = runSession(plan, registry, observer, &store);
    QTEST(int(outcome.ending), "ending");
    QTEST(outcome.kept.has_value(), "kept");
    QTEST(outcome.savedId.has_value(), "saved");
    QTEST(outcome.keepFailed, "failed");
    QTEST(errorKinds(outcome), "errors");
    if (!opens)
        QCOMPARE(observer.heard, QStringLiteral("p"));
    if (outcome.savedId)
        QCOMPARE(store.saved.front().id, *outcome.savedId);
    QCOMPARE(store.savesAsked, save && outcome.kept ? 1 : 0);
}

void TestSession::stopAtEachStage_data()
{
    QTest::addColumn<SessionPlan>("plan");
    // The phase whose loop the stop comes in; -1: as the runs begin.
    QTest::addColumn<int>("phase");
    const SessionPlan hours = planOf("1000", "億回", 2, 1);
    SessionPlan automatic = hours;
    automatic.autoCount = true;
    automatic.series.count.reset();
    automatic.series.unit.reset();
    SessionPlan parallel = planOf("300", "万回");
    parallel.threads = 2;
    parallel.forceThreads = true;
    QTest::newRow("as the runs begin") << hours << -1;
    QTest::newRow("choosing the count") << automatic << int(RunPhase::ChoosingCount);
    QTest::newRow("warm-up") << hours << int(RunPhase::Warmup);
    QTest::newRow("recorded run") << planOf("1000", "億回", 2) << int(RunPhase::Recorded);
    QTest::newRow("parallel copies") << parallel << int(RunPhase::Parallel);
}

void TestSession::stopAtEachStage()
{
    QFETCH(SessionPlan, plan);
    QFETCH(int, phase);
    plan.keep = plan.save = true;
    RunRegistry registry;
    Observer observer;
    FakeStore store;
    if (phase < 0)
        observer.stopAtBegin = &registry;
    std::atomic<bool> over { false };
    std::thread stopper([&] {
        while (!over && phase >= 0) {
            bool inPhase = false;
            registry.withSnapshot([&](const RunRegistry::Snapshot &s) {
                inPhase = s.running && int(s.phase) == phase;
            });
            if (inPhase)
                registry.requestStop(SIGTERM);
            if (registry.stopSignal() != 0)
                return;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const SessionOutcome outcome = runSession(plan, registry, observer, &store);
    over = true;
    stopper.join();
    QCOMPARE(outcome.ending, SessionEnding::Stopped);
    QCOMPARE(outcome.stopSignal, phase < 0 ? SIGINT : SIGTERM);
    // Stopped before the runs were over: nothing kept.
    QVERIFY(!observer.heard.contains(u'o'));
    QCOMPARE(store.savesAsked, 0);
}

void TestSession::runScoreIsScoresFormula_data()
{
    QTest::addColumn<QString>("loops");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("hundredths");
    QTest::addColumn<QString>("machine");
    QTest::newRow("the standard run") << "20000000"
                                      << "3"
                                      << "00"
                                      << "Celeron400@450";
    QTest::newRow("a longer one") << "100000000"
                                  << "12"
                                  << "34"
                                  << "MMX-Pentium166";
    QTest::newRow("a short one") << "1000000"
                                 << "1"
                                 << "05"
                                 << "Celeron400@450";
}

// A run's score is SCORE's, from the full seconds rather than the hundredths.
void TestSession::runScoreIsScoresFormula()
{
    QFETCH(QString, loops);
    QFETCH(QString, seconds);
    QFETCH(QString, hundredths);
    QFETCH(QString, machine);
    Form1 form;
    Form_Load(form);
    form.Combo1.setText(loops);
    form.Combo3.setText(machine);
    form.Text6.setText(QStringLiteral("0"));
    form.Text5.setText(QStringLiteral("0"));
    form.Text3.setText(seconds);
    form.Text8.setText(hundredths);
    form.Combo2.setText(QStringLiteral("0"));
    const double time = seconds.toDouble() + hundredths.toDouble() / 100;
    HeadlessPlatform platform;
    Command6_Click(form, platform);
    QCOMPARE(scoreFigure(*scoreOfRun(form, time)), form.Text7.text());
    QVERIFY(!scoreOfRun(form, 0));
}

// Calibration, the warm-up, the runs and each parallel copy on its thread.
void TestSession::everyLoopStartsFromACleanVectorState()
{
    if (!test::VectorStateWatch::possible())
        QSKIP(test::VectorStateWatch::kWhyNot);
    SessionPlan plan;
    plan.autoCount = true;
    plan.minimumSeconds = 0.1;
    plan.series.speed = QStringLiteral("0");
    plan.series.warmup = 1;
    plan.series.runs = 2;
    plan.threads = 2;
    plan.forceThreads = true;
    RunRegistry registry;
    Observer observer;
    const test::VectorStateWatch watch;
    test::VectorStateWatch::dirty();

    const SessionOutcome outcome = runSession(plan, registry, observer, nullptr);

    QCOMPARE(outcome.ending, SessionEnding::Done);
    QVERIFY(outcome.result.parallel.has_value());
    // At least one calibration loop, the warm-up, two runs and two copies.
    QVERIFY2(watch.loopsReady() >= 6, qPrintable(QString::number(watch.loopsReady())));
    QCOMPARE(watch.loopsDirtied(), watch.loopsReady());
    QCOMPARE(watch.dirtyAtStart(), 0);
    QCOMPARE(watch.dirtyAtEnd(), 0);
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
