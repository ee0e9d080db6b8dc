#pragma once

#include "benchmark/Warning.h"

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

// Above these, the machine was not steady while it was measured.
inline constexpr double kFrequencyChangeLimit = 0.05; // turbo moves the reading a few percent
inline constexpr double kStolenShareLimit = 0.01;

std::vector<Warning> steadinessWarnings(const MachineSample &before, const MachineSample &after,
                                        int logicalCpus, int cpu);

} // namespace kamorin
