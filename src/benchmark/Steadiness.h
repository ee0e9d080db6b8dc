#pragma once

#include "benchmark/Warning.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace kamorin {

// What Linux tells without root of how steady the machine is, read before
// and after the runs (never during one: the loop does nothing but its work).
struct MachineSample
{
    // Seconds on the steady clock.
    double seconds = 0;
    // Time stolen by the hypervisor, summed over the CPUs (/proc/stat).
    std::optional<double> stolenSeconds;
    // The threads that are runnable now, this one included (/proc/stat).
    std::optional<int> runnable;
    // The CPU's current frequency in MHz (cpufreq's scaling_cur_freq).
    std::optional<double> frequencyMhz;
};

// Reads proc/stat and sys/devices/system/cpu/cpuN/cpufreq/scaling_cur_freq
// below `root` ("/" on a real machine), N = `cpu`.
MachineSample sampleMachine(const QString &root, int cpu);

// Whether a proc/PID/task/TID/stat line says its thread is runnable (state
// R). The state follows the last ')': the command name before it may hold
// blanks and parentheses.
bool runnableThread(const QByteArray &taskStat);

// Threads of other processes that are runnable now: proc/stat's
// procs_running, which counts every runnable thread, less this process's own
// (`ownTaskStats`, its proc/self/task/TID/stat lines, read at the same time).
// The load average would count this program's earlier runs as others' work.
std::optional<int> othersRunnableFrom(const QByteArray &procStat,
                                      const std::vector<QByteArray> &ownTaskStats);

// The same read from proc/stat and proc/self/task below `root`.
std::optional<int> readOthersRunnable(const QString &root);

// The median of `readings` of readOthersRunnable, a few milliseconds apart:
// one reading catches a passing blip as readily as steady work.
std::optional<double> othersRunnableNow(const QString &root, int readings = 5);

// The median of the readings that were taken; none when none was.
std::optional<double> medianReading(const std::vector<std::optional<int>> &readings);

// Above these, the machine was not steady while it was measured.
inline constexpr double kFrequencyChangeLimit = 0.05; // turbo moves the reading a few percent
inline constexpr double kStolenShareLimit = 0.01;

std::vector<Warning> steadinessWarnings(const MachineSample &before, const MachineSample &after,
                                        int logicalCpus, int cpu);

} // namespace kamorin
