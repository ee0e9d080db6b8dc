#include "benchmark/SavedMachines.h"

#include "benchmark/Score.h"
#include "measure/Command1_Click.h"
#include "scoring/Command6_Click.h"

#include <QSet>

namespace kamorin {

std::vector<SavedMachine> savedMachines(std::span<const SavedResult> newestFirst,
                                        const QString &leaveOut)
{
    std::vector<SavedMachine> machines;
    QSet<QString> seen;
    for (const SavedResult &result : newestFirst) {
        if (result.id == leaveOut)
            continue;
        // A separator no text of a results file may hold (control characters are refused).
        const QString key = result.system.cpuModel + u'\x1f' + result.host + u'\x1f' + result.label;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (const auto seconds = standardRunSeconds(result.median(), result.passes))
            machines.push_back(
                    { result.id, result.system.cpuModel, result.host, result.label, *seconds });
    }
    return machines;
}

std::vector<std::optional<QString>> scoresAgainst(std::span<const SavedResult> results,
                                                  double referenceSeconds)
{
    std::vector<std::optional<QString>> scores;
    scores.reserve(results.size());
    for (const SavedResult &result : results) {
        const double median = result.median();
        const std::optional<double> score = enablesScore(median)
                ? measuredScore(result.passes, median, referenceSeconds)
                : std::nullopt;
        scores.push_back(score ? std::optional(scoreFigure(*score)) : std::nullopt);
    }
    return scores;
}

} // namespace kamorin
