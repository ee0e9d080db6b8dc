#pragma once

#include "benchmark/Ranking.h"
#include "benchmark/SavedResult.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kamorin {

// The machines of the store for a ranking, from its results newest first:
// one for each model, host and label, by its newest result, so that a
// machine saved every night is one row and a "before" and an "after" are
// two. `leaveOut` is the id of the result being ranked, which has a row of
// its own.
std::vector<SavedMachine> savedMachines(std::span<const SavedResult> newestFirst,
                                        const QString &leaveOut = {});

// Each result's score against a reference machine that took
// `referenceSeconds` for the standard run: from its median time
// (measuredScore), as SCORE formats it; none for a median SCORE would not
// score.
std::vector<std::optional<QString>> scoresAgainst(std::span<const SavedResult> results,
                                                  double referenceSeconds);

} // namespace kamorin
