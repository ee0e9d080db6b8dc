#pragma once

namespace kamorin {

// Shown how a long run goes while the handler waits for it: the window's run
// button fills as a progress bar.
class RunWatcher
{
public:
    virtual ~RunWatcher() = default;

    virtual void runStarted() = 0;
    // `fraction` of the passes done (0 … 1), after `elapsedSeconds`.
    virtual void runProgressed(double fraction, double elapsedSeconds) = 0;
    // `stopped` when the user asked for the stop.
    virtual void runEnded(bool stopped) = 0;
};

} // namespace kamorin
