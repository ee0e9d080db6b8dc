#pragma once

#include "formats/HtmlPage.h"

#include <span>

namespace kamorin {

enum class ResultSaved
{
    No,
    Yes,
};

// What the page of `result` shows: the result, its ranking among the
// reference machines and the machines of `saved` (the store's results, newest
// first), the saved results of its model (with it, once, when it is saved),
// and the comparison when one was asked for.
PageInput pageInputFor(const SavedResult &result, ResultSaved resultSaved,
                       std::span<const SavedResult> saved, std::optional<PageComparison> comparison,
                       const QDateTime &written);

} // namespace kamorin
