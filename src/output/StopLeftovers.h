#pragma once

#include <QByteArray>

namespace kamorin {

// A stop signal after the runs ends the process at once, without unwinding,
// so the new file an output was being written to would stay beside its
// target. Such files are named here while they exist under their own name.
void removeIfStopped(const QByteArray &path);
void noLongerRemoveIfStopped(const QByteArray &path);
// From the signal watcher, just before the process ends.
void removeWhatAStopLeaves();

} // namespace kamorin
