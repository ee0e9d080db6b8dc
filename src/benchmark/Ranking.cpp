#include "benchmark/Ranking.h"

#include "benchmark/Score.h"
#include "scoring/Command6_Click.h"

#include <algorithm>

namespace kamorin {

std::optional<double> secondsAtPasses(double seconds, double passes, double targetPasses)
{
    if (!(passes > 0) || !(targetPasses > 0))
        return std::nullopt;
    return passes == targetPasses ? seconds : seconds * (targetPasses / passes);
}

std::vector<double> runsAtPasses(std::vector<double> runs, double passes, double targetPasses)
{
    for (double &seconds : runs)
        seconds = secondsAtPasses(seconds, passes, targetPasses).value_or(seconds);
    return runs;
}

std::optional<double> standardRunSeconds(double seconds, double passes)
{
    if (!(seconds > 0))
        return std::nullopt;
    return secondsAtPasses(seconds, passes, kReferencePasses);
}

Ranking rankAmong(std::span<const ReferenceMachine> machines, double seconds,
                  std::span<const SavedMachine> saved)
{
    Ranking ranking;
    ranking.seconds = seconds;
    ranking.of = static_cast<int>(machines.size() + saved.size()) + 1;

    RankRow self;
    self.seconds = seconds;
    self.thisMachine = true;
    ranking.rows.push_back(self);
    for (const ReferenceMachine &machine : machines) {
        RankRow row;
        row.name = QString::fromUtf16(machine.name.data(),
                                      static_cast<qsizetype>(machine.name.size()));
        row.seconds = machine.seconds;
        ranking.rows.push_back(row);
    }
    for (const SavedMachine &machine : saved) {
        RankRow row;
        row.seconds = machine.seconds;
        row.saved = machine;
        ranking.rows.push_back(row);
    }
    // Stable, and this machine first: at a tie it stands before the machines
    // it ties with, since none of them is strictly faster.
    std::stable_sort(ranking.rows.begin(), ranking.rows.end(),
                     [](const RankRow &a, const RankRow &b) { return a.seconds < b.seconds; });

    std::size_t faster = 0;
    for (std::size_t i = 0; i < ranking.rows.size(); ++i) {
        RankRow &row = ranking.rows[i];
        if (i > 0 && ranking.rows[i - 1].seconds < row.seconds)
            faster = i;
        row.position = static_cast<int>(faster) + 1;
    }

    const auto self_ = std::find_if(ranking.rows.begin(), ranking.rows.end(),
                                    [](const RankRow &row) { return row.thisMachine; });
    ranking.position = self_->position;
    if (self_ != ranking.rows.begin())
        ranking.faster = static_cast<std::size_t>(std::prev(self_) - ranking.rows.begin());
    const auto slower = std::find_if(self_, ranking.rows.end(),
                                     [&](const RankRow &row) { return row.seconds > seconds; });
    if (slower != ranking.rows.end())
        ranking.slower = static_cast<std::size_t>(slower - ranking.rows.begin());
    return ranking;
}

void scoreRows(Ranking &ranking, double loops, double seconds)
{
    for (RankRow &row : ranking.rows) {
        row.score.reset();
        if (row.thisMachine)
            continue;
        if (const std::optional<double> score = measuredScore(loops, seconds, row.seconds))
            row.score = scoreFigure(*score);
    }
}

} // namespace kamorin
