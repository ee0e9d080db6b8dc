#pragma once

#include "benchmark/Session.h"
#include "cli/Options.h"
#include "cli/ProgressLine.h"
#include "cli/SignalWatcher.h"

#include <optional>

namespace kamorin {

// What kamorin-cli does while a session runs: the signals' meaning, the
// progress line, the warnings told before the runs.
// Opening and reading the store may wait for another process: a stop signal
// meanwhile ends the program at once. Nothing has run yet, and a new store's
// schema cut short is rolled back by SQLite's journal. Once the runs are over
// a stop ends it at once again, even in the middle of a blocked write; a save
// it cuts short is rolled back.
class SessionFront : public SessionObserver
{
public:
    SessionFront(RunRegistry &registry, const RunOptions &options)
        : m_registry(registry), m_watcher(registry), m_options(options)
    {
        m_watcher.endProcessOnSignal();
    }
    // The progress line only on a terminal that can redraw it.
    void runsBegin() override;
    // In JSON they are members; elsewhere they are told before the runs begin.
    void machineChecked(const std::vector<Warning> &warnings) override;
    void runsOver() override;

private:
    RunRegistry &m_registry;
    SignalWatcher m_watcher;
    const RunOptions &m_options;
    std::optional<ProgressLine> m_progress;
};

// What the options ask of a session.
SessionPlan planOf(const RunOptions &options);

// A stop: "kamorin-cli: " and the runtime's words, then 128 + the signal number.
int stopped(int signalNumber);

} // namespace kamorin
