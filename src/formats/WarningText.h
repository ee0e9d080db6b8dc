#pragma once

#include "benchmark/Warning.h"

#include <QString>

namespace kamorin {

// A warning as the user reads it, in the user's language.
QString warningText(const Warning &warning);

} // namespace kamorin
