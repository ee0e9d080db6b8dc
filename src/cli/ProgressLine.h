#pragma once

#include "benchmark/RunRegistry.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kamorin {

// Redraws that line in place on stderr five times a second while a loop
// runs, and wipes it as soon as the last loop ends, before anything else is
// printed, cut to the terminal's width as it is at each redraw. Only for a
// terminal: a pipe or a file gets none of it.
class ProgressLine
{
public:
    explicit ProgressLine(RunRegistry &registry);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

private:
    void tick();

    RunRegistry &m_registry;
    // Only touched with the registry's lock held, by the draw and the idle hook.
    bool m_shown = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quitting = false;
    std::thread m_thread;
};

} // namespace kamorin
