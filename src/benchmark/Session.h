#pragma once

#include "benchmark/Benchmark.h"
#include "benchmark/BenchmarkResult.h"
#include "benchmark/SavedResult.h"
#include "benchmark/SessionError.h"
#include "benchmark/WindowReadings.h"

#include <QString>

#include <optional>
#include <vector>

namespace kamorin {

class RunRegistry;

// What a front asks of a benchmark session.
struct SessionPlan
{
    SeriesPlan series;
    // The count is chosen by calibration before the runs.
    bool autoCount = false;
    // The shortest run whose figures count as meaningful.
    double minimumSeconds = 1;
    // The CPU as typed: whether it exists is the machine's to say.
    std::optional<QString> cpu;
    std::optional<int> threads;
    bool forceThreads = false;
    bool rank = false;
    // The result is made into a saved result (for the store or a page)…
    bool keep = false;
    // … and written to the store.
    bool save = false;
    // The saved results are read before the runs (a rank or a page needs them).
    bool readSaved = false;
    // A run too short to score names the count --count auto would take here.
    bool hint = false;
};

// Where results are kept, as a session needs it. A failure is kept by the
// store for its front to tell; the session only learns that it failed.
class SessionStore
{
public:
    virtual ~SessionStore() = default;
    // Before the runs, so that a store that cannot be used stops them before
    // they start: the saved results, newest first, when `read` (none when
    // the store cannot be opened or read).
    virtual std::optional<std::vector<SavedResult>> openBeforeRuns(bool read) = 0;
    // `result` as the store would keep it; none when it cannot be made.
    virtual std::optional<SavedResult> resultToKeep(const BenchmarkResult &result) = 0;
    // False when it could not be saved.
    virtual bool save(const SavedResult &result) = 0;
};

// What a front hears of a session while it runs. The registry carries the
// progress of the loops and the stop; these say when a stop means "stop the
// runs" and when it may end everything at once.
class SessionObserver
{
public:
    virtual ~SessionObserver() = default;
    // The machine can run the plan; nothing has been opened or run yet.
    virtual void planAccepted() { }
    // The store has been read; from here until runsOver a stop stops the runs.
    virtual void runsBegin() { }
    // What the machine's conditions say before the first run.
    virtual void machineChecked(const std::vector<Warning> &) { }
    // The last loop is over; what remains (the save) is short.
    virtual void runsOver() { }
};

enum class SessionEnding
{
    // The machine said no before anything ran (see SessionOutcome::refusal).
    Refused,
    // The store could not be opened or read: it holds why.
    StoreUnreadable,
    // A stop signal (SessionOutcome::stopSignal).
    Stopped,
    // The first press failed before it had results: only `errors` stand.
    FailedBeforeResults,
    // The runs are over, completely or with results on the form.
    Done,
};

// Why the machine refused the plan.
struct SessionRefusal
{
    enum class Kind
    {
        NoSuchCpu,
        // The machine has it, but this process may not run there (taskset).
        CpuNotAllowed,
        TooManyThreads,
        CpuUnusable,
    };
    Kind kind = Kind::NoSuchCpu;
    QString cpu;
    std::vector<int> cpus;
    int threads = 0;
};

struct SessionOutcome
{
    SessionEnding ending = SessionEnding::Done;
    std::optional<SessionRefusal> refusal;
    int stopSignal = 0;
    BenchmarkResult result;
    // What the window shows after the runs, and COPY's report.
    WindowReadings window;
    std::vector<SessionError> errors;
    // The count --count auto would take here, for the hint.
    std::optional<ChosenCount> hintCount;
    // The result as kept (for the page), and its id once saved.
    std::optional<SavedResult> kept;
    std::optional<QString> savedId;
    // The runs did not finish, so nothing was kept.
    bool notKept = false;
    bool keepFailed = false;
    // The saved results, read before the runs.
    std::vector<SavedResult> savedResults;
};

// A benchmark's whole course: the saved results, the machine's conditions,
// calibration, the series, the parallel runs, the rank, COPY, the hint and
// the save. `store` may be null when the plan neither reads nor keeps.
SessionOutcome runSession(const SessionPlan &plan, RunRegistry &registry, SessionObserver &observer,
                          SessionStore *store);

} // namespace kamorin
