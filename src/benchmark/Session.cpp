#include "benchmark/Session.h"

#include "benchmark/Calibration.h"
#include "benchmark/CpuAffinity.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/ParallelRun.h"
#include "benchmark/RunRegistry.h"
#include "benchmark/SavedMachines.h"
#include "benchmark/Score.h"
#include "benchmark/Steadiness.h"
#include "benchmark/Warnings.h"
#include "mainwindow/Form1.h"
#include "report/Command4_Click.h"
#include "runtime/EventDispatch.h"
#include "scoring/ReferenceMachineTable.h"

#include <algorithm>

namespace kamorin {

namespace {

// What the machine says no to before anything runs.
std::optional<SessionRefusal> machineRefuses(const SessionPlan &plan, const std::vector<int> &cpus,
                                             std::optional<int> &cpu)
{
    if (plan.cpu) {
        bool ok = false;
        const int number = plan.cpu->toInt(&ok);
        if (!ok || std::find(cpus.begin(), cpus.end(), number) == cpus.end()) {
            const bool elsewhere = ok && number >= 0 && number < configuredCpus();
            return SessionRefusal { elsewhere ? SessionRefusal::Kind::CpuNotAllowed
                                              : SessionRefusal::Kind::NoSuchCpu,
                                    *plan.cpu, cpus, 0 };
        }
        cpu = number;
    }
    const int logical = static_cast<int>(cpus.size());
    if (plan.threads && *plan.threads > logical && !plan.forceThreads)
        return SessionRefusal { SessionRefusal::Kind::TooManyThreads, {}, cpus, *plan.threads };
    return std::nullopt;
}

// The plan's text a failed step came from, so that its message names it.
SessionError::Step failedStep(SeriesEnding ending, const SessionPlan &plan)
{
    if (ending == SeriesEnding::FailedBeforeResults && plan.series.count)
        return SessionError::Step::Count;
    if (ending == SeriesEnding::FailedWithResults && plan.series.machine)
        return SessionError::Step::Machine;
    return SessionError::Step::Other;
}

void addRuntimeErrors(std::vector<SessionError> &errors, std::vector<RunError> reported,
                      SessionError::Step step = SessionError::Step::Other)
{
    for (RunError &error : reported)
        errors.push_back(SessionError::ofRuntime(std::move(error), step));
}

class Session
{
public:
    Session(const SessionPlan &plan, RunRegistry &registry, SessionObserver &observer,
            SessionStore *store)
        : m_plan(plan), m_registry(registry), m_observer(observer), m_store(store),
          m_platform(&m_registry)
    { }

    SessionOutcome run();

private:
    SessionOutcome end(SessionEnding ending)
    {
        m_outcome.ending = ending;
        if (ending == SessionEnding::Stopped)
            m_outcome.stopSignal = m_registry.stopSignal();
        return std::move(m_outcome);
    }
    bool stopped() const { return m_registry.stopSignal() != 0; }
    void parallelRuns(const std::vector<int> &cpus, std::optional<int> cpu, double median,
                      bool longEnough);
    void rank(double median, bool longEnough);
    void keep(bool finished);

    const SessionPlan &m_plan;
    SeriesPlan m_series;
    RunRegistry &m_registry;
    SessionObserver &m_observer;
    SessionStore *m_store;
    HeadlessPlatform m_platform;
    // The form the runs are made on, as the window's would be.
    Form1 m_form;
    SessionOutcome m_outcome;
    std::vector<Warning> m_shortness;
};

SessionOutcome Session::run()
{
    const std::vector<int> cpus = allowedCpus();
    std::optional<int> cpu;
    m_outcome.refusal = machineRefuses(m_plan, cpus, cpu);
    if (m_outcome.refusal)
        return end(SessionEnding::Refused);
    m_observer.planAccepted();
    // Read before the runs, and so before this run is saved: a store that
    // cannot be read stops the run before it starts.
    if (m_store) {
        auto saved = m_store->openBeforeRuns(m_plan.readSaved);
        if (!saved)
            return end(SessionEnding::StoreUnreadable);
        m_outcome.savedResults = std::move(*saved);
    }
    m_observer.runsBegin();

    BenchmarkResult &result = m_outcome.result;
    result.started = QDateTime::currentDateTimeUtc();
    result.system = readSystemInfo(QStringLiteral("/"), static_cast<int>(cpus.size()),
                                   cpu.value_or(currentCpu()));
    result.warnings = machineWarnings(result.system, othersRunnableNow(QStringLiteral("/")));
    m_observer.machineChecked(result.warnings);

    if (cpu && !runCallingThreadOn({ *cpu })) {
        m_outcome.refusal = SessionRefusal {
            SessionRefusal::Kind::CpuUnusable, QString::number(*cpu), {}, 0
        };
        return end(SessionEnding::Refused);
    }

    m_series = m_plan.series;
    if (m_plan.autoCount) {
        m_registry.setPhase(RunPhase::ChoosingCount);
        const std::optional<double> rate = measurePassesPerSecond(m_registry, m_series);
        if (stopped())
            return end(SessionEnding::Stopped);
        const ChosenCount chosen = chooseCount(rate, m_plan.minimumSeconds);
        m_series.count = chosen.count;
        m_series.unit = chosen.unit;
        result.chosenCount = chosen;
        m_registry.setPhase(RunPhase::None);
    }

    Form1 &form = m_form;
    Form_Load(form);
    applyPlan(form, m_series);
    result.settings = { form.Combo4.text(), form.Combo5.text(),   m_plan.autoCount,
                        m_series.warmup,    m_series.runs,        cpu,
                        m_plan.threads,     m_plan.minimumSeconds };

    const int sampledCpu = cpu.value_or(currentCpu());
    const MachineSample before = sampleMachine(QStringLiteral("/"), sampledCpu);
    const SeriesEnding ending = runSeries(form, m_platform, m_registry, m_series, result);
    if (ending == SeriesEnding::Stopped)
        return end(SessionEnding::Stopped);
    addRuntimeErrors(m_outcome.errors, m_platform.takeErrors(), failedStep(ending, m_plan));
    if (ending == SeriesEnding::FailedBeforeResults)
        return end(SessionEnding::FailedBeforeResults);
    result.score = seriesScore(result.runs, form.Combo3.text());

    const std::optional<Statistics> statistics = result.statistics();
    const std::vector<Warning> spread = spreadWarnings(statistics);
    result.warnings.insert(result.warnings.end(), spread.begin(), spread.end());
    const bool finished = ending == SeriesEnding::Finished;
    const bool longEnough = statistics && statistics->median >= m_plan.minimumSeconds;
    if (finished && m_plan.threads) {
        parallelRuns(cpus, cpu, statistics->median, longEnough);
        if (stopped())
            return end(SessionEnding::Stopped);
    }
    const std::vector<Warning> unsteady
            = steadinessWarnings(before, sampleMachine(QStringLiteral("/"), sampledCpu),
                                 result.system.logicalCpus, sampledCpu);
    result.warnings.insert(result.warnings.end(), unsteady.begin(), unsteady.end());
    if (finished && m_plan.rank)
        rank(statistics->median, longEnough);
    result.warnings.insert(result.warnings.end(), m_shortness.begin(), m_shortness.end());

    // COPY, as a user would press it now, so the report matches the form.
    dispatch(m_platform, [&] { Command4_Click(form, m_platform); });
    addRuntimeErrors(m_outcome.errors, m_platform.takeErrors());
    m_outcome.window = readWindow(form, m_platform.clipboardText());

    // The hint after a run too short to score names what --count auto would
    // take here, at the run's own rate: no calibration the user did not ask
    // for. A run too short to time names none.
    if (m_plan.hint && !form.Command6.enabled() && statistics) {
        if (const auto rate = rateOfRun(statistics->median, result.runs.back().passes))
            m_outcome.hintCount = chooseCount(rate, m_plan.minimumSeconds);
    }
    if (stopped())
        return end(SessionEnding::Stopped);
    m_observer.runsOver();
    keep(finished);
    return end(SessionEnding::Done);
}

void Session::parallelRuns(const std::vector<int> &cpus, std::optional<int> cpu, double median,
                           bool longEnough)
{
    BenchmarkResult &result = m_outcome.result;
    const RecordedRun &last = result.runs.back();
    m_registry.setPhase(RunPhase::Parallel, *m_plan.threads);
    ParallelOutcome parallel
            = runInParallel(m_series, m_registry, *m_plan.threads, cpu ? cpus : std::vector<int>(),
                            last.value, last.passes, median);
    if (parallel.stopped)
        return;
    const std::vector<Warning> warnings = parallelWarnings(
            parallel.result, medianReading(parallel.othersRunnable), static_cast<int>(cpus.size()));
    parallel.result.reliable = longEnough && warnings.empty();
    if (!longEnough)
        m_shortness.push_back(
                RunsTooShort { m_plan.minimumSeconds, RunsTooShort::Figure::Speedup });
    result.warnings.insert(result.warnings.end(), warnings.begin(), warnings.end());
    result.parallel = parallel.result;
    m_outcome.errors.insert(m_outcome.errors.end(), parallel.errors.begin(), parallel.errors.end());
}

void Session::rank(double median, bool longEnough)
{
    BenchmarkResult &result = m_outcome.result;
    const auto ownSeconds
            = standardRunSeconds(median, result.runs.empty() ? 0 : result.runs.back().passes);
    if (!ownSeconds) {
        m_outcome.errors.push_back(SessionError::ofKind(SessionError::Kind::RankNeedsALoop));
        return;
    }
    const std::vector<SavedMachine> machines = savedMachines(m_outcome.savedResults);
    result.rank = rankAmong(ReferenceMachineTable::entries(), *ownSeconds, machines);
    if (const std::optional<double> loops = seriesLoops(result.runs))
        scoreRows(*result.rank, *loops, median);
    result.rank->reliable = longEnough;
    if (!longEnough)
        m_shortness.push_back(RunsTooShort { m_plan.minimumSeconds, RunsTooShort::Figure::Rank });
}

void Session::keep(bool finished)
{
    if (!m_plan.keep || !m_store)
        return;
    if (!finished) {
        m_outcome.notKept = true;
        return;
    }
    // Known only once the form has read the count: an error of the run, as
    // for a rank, not a refused file.
    if (!m_outcome.result.everyRunHasASpeed()) {
        m_outcome.errors.push_back(SessionError::ofKind(SessionError::Kind::KeepNeedsALoop));
        m_outcome.keepFailed = true;
        return;
    }
    m_outcome.kept = m_store->resultToKeep(m_outcome.result);
    if (!m_outcome.kept) {
        m_outcome.keepFailed = true;
        return;
    }
    if (!m_plan.save)
        return;
    if (m_store->save(*m_outcome.kept))
        m_outcome.savedId = m_outcome.kept->id;
    else
        m_outcome.keepFailed = true;
}

} // namespace

SessionOutcome runSession(const SessionPlan &plan, RunRegistry &registry, SessionObserver &observer,
                          SessionStore *store)
{
    return Session(plan, registry, observer, store).run();
}

} // namespace kamorin
