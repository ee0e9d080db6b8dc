#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kamorin {

// The machine a benchmark ran on, as far as it tells.
struct SystemInfo
{
    QString cpuModel;
    int logicalCpus = 0;
    // The kernel release, as uname -r gives it.
    QString kernel;
    // The cpufreq scaling governor of the CPU the runs used.
    std::optional<QString> governor;
    // The 1-, 5- and 15-minute load averages.
    std::optional<std::array<double, 3>> loadAverage;
};

// Reads the files below `root` ("/" on a real machine; a test gives a
// directory of its own): proc/cpuinfo, proc/loadavg, proc/sys/kernel/osrelease
// and sys/devices/system/cpu/cpuN/cpufreq/scaling_governor for N = `cpu`.
// What the files lack is taken from uname, or left out.
SystemInfo readSystemInfo(const QString &root, int logicalCpus, int cpu);

// A file of /proc or /sys whole; none when it cannot be read.
std::optional<QByteArray> readSystemFile(const QString &path);

} // namespace kamorin
