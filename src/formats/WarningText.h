#pragma once

#include "benchmark/SavedResult.h"
#include "benchmark/Warning.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kamorin {

// A warning as the user reads it, in the user's language.
QString warningText(const Warning &warning);
// A kept sentence of an older Kamorin as it stands.
QString warningText(const KeptWarning &warning);

// The warnings told at `told` only, worded, in their order.
QStringList warningTextsTold(Told told, const std::vector<Warning> &warnings);

} // namespace kamorin
