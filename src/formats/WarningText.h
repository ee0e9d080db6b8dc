#pragma once

#include "benchmark/SavedResult.h"
#include "benchmark/Warning.h"

#include <QString>
#include <QStringList>

#include <span>

namespace kamorin {

// A warning as the user reads it, in the user's language.
QString warningText(const Warning &warning);
QStringList warningTexts(std::span<const Warning> warnings);
// A kept sentence of an older Kamorin as it stands.
QString warningText(const KeptWarning &warning);

} // namespace kamorin
