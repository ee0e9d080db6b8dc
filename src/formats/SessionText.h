#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/Session.h"

#include <QString>

namespace kamorin {

// An error of a session as the user reads it: a runtime error's own words,
// after the option its failed step read (`count` and `machine`, as typed).
RunError sessionErrorText(const SessionError &error, const SeriesPlan &plan);

// Why the machine refused the plan.
QString refusalText(const SessionRefusal &refusal);

} // namespace kamorin
