#pragma once

#include "formats/HtmlPage.h"

#include <span>

namespace kamorin {

// What the report of `result` shows: the result, its ranking among the
// reference machines and the machines of `saved` (the store's results, newest
// first), the saved results of its model (with it, once), and the comparison
// when one was asked for.
PageInput pageInputFor(const SavedResult &result, std::span<const SavedResult> saved,
                           std::optional<PageComparison> comparison, const QDateTime &written);

} // namespace kamorin
