#include "benchmark/CpuAffinity.h"

#include <sched.h>
#include <unistd.h>

namespace kamorin {

std::vector<int> allowedCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &set))
            cpus.push_back(cpu);
    return cpus;
}

int configuredCpus()
{
    return static_cast<int>(sysconf(_SC_NPROCESSORS_CONF));
}

QString describeCpus(const std::vector<int> &cpus)
{
    QStringList ranges;
    for (std::size_t i = 0; i < cpus.size();) {
        std::size_t j = i;
        while (j + 1 < cpus.size() && cpus[j + 1] == cpus[j] + 1)
            ++j;
        ranges << (j == i ? QString::number(cpus[i])
                          : QString::number(cpus[i]) + u'-' + QString::number(cpus[j]));
        i = j + 1;
    }
    return ranges.join(u',');
}

bool runCallingThreadOn(const std::vector<int> &cpus)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    for (const int cpu : cpus)
        if (cpu >= 0 && cpu < CPU_SETSIZE)
            CPU_SET(cpu, &set);
    // pid 0 is the calling thread alone, not the whole process.
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

int currentCpu()
{
    return sched_getcpu();
}

} // namespace kamorin
