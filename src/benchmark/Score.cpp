#include "benchmark/Score.h"

#include "benchmark/Statistics.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "scoring/Command6_Click.h"
#include "scoring/ReferenceMachineTable.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

std::optional<double> measuredScore(double loops, double seconds, double referenceSeconds)
{
    if (!(seconds > 0))
        return std::nullopt;
    try {
        const double score = scoreOf(loops, seconds, referenceSeconds).doubleValue();
        return std::isfinite(score) ? std::optional(score) : std::nullopt;
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

std::optional<double> seriesLoops(const std::vector<RecordedRun> &runs)
{
    if (runs.empty())
        return std::nullopt;
    try {
        return textToNumber(runs.back().loops);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

std::optional<SeriesScore> seriesScore(const std::vector<RecordedRun> &runs, const QString &machine)
{
    const std::optional<double> reference = ReferenceMachineTable::lookup(machine);
    const bool allScored = std::all_of(
            runs.begin(), runs.end(), [](const RecordedRun &run) { return run.score.has_value(); });
    if (!reference || runs.empty() || !allScored)
        return std::nullopt;
    std::vector<double> seconds;
    for (const RecordedRun &run : runs)
        seconds.push_back(run.seconds);
    const std::optional<double> loops = seriesLoops(runs);
    const std::optional<double> score = loops
            ? measuredScore(*loops, statisticsOf(seconds)->median, *reference)
            : std::nullopt;
    if (!score)
        return std::nullopt;
    return SeriesScore { *score, machine, static_cast<int>(runs.size()) };
}

} // namespace kamorin
