#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kamorin {

// The logical CPUs this process may run on, in increasing order (what nproc
// counts).
std::vector<int> allowedCpus();

// The logical CPUs the machine has, allowed to this process or not.
int configuredCpus();

// "0-3,6": the CPUs as a user reads them in an error message.
QString describeCpus(const std::vector<int> &cpus);

// Binds the calling thread to the given CPUs; threads it makes afterwards
// inherit them. Returns whether the system agreed.
bool runCallingThreadOn(const std::vector<int> &cpus);

// The CPU the calling thread runs on right now; -1 where unknown.
int currentCpu();

} // namespace kamorin
