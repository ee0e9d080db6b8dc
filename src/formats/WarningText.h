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

// The warnings of the kinds `Kinds` only, worded, in their order.
template<typename... Kinds>
QStringList warningTextsOf(const std::vector<Warning> &warnings)
{
    QStringList texts;
    for (const Warning &warning : warnings)
        if ((std::holds_alternative<Kinds>(warning) || ...))
            texts << warningText(warning);
    return texts;
}

} // namespace kamorin
