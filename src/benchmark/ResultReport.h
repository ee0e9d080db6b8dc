#pragma once

#include "benchmark/HtmlReport.h"

#include <span>

namespace kamorin {

// What the report of `result` shows: the result, its ranking among the
// reference machines and the machines of `saved` (the store's results, newest
// first), the saved results of its model (with it, once), and the comparison
// when one was asked for.
ReportInput reportInputFor(const SavedResult &result, std::span<const SavedResult> saved,
                           std::optional<ReportComparison> comparison, const QDateTime &written);

} // namespace kamorin
