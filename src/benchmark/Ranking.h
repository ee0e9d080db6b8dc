#pragma once

#include "scoring/ReferenceMachineTable.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kamorin {

// A machine of the results store, by one of its saved results.
struct SavedMachine
{
    QString id;
    QString cpuModel;
    QString host;
    QString label;
    // For 20,000,000 passes, at the result's median.
    double seconds = 0;
};

struct RankRow
{
    // 1 + the number of rows strictly faster: equal times share a place.
    int position = 0;
    // A reference machine's name; the formats word this machine and the
    // saved ones from what they are.
    QString name;
    // For 20,000,000 passes.
    double seconds = 0;
    // The score this run would get against that machine, the very text SCORE
    // would write; none on this machine's own row or where SCORE would fail.
    std::optional<QString> score;
    bool thisMachine = false;
    // Set on the row of a machine from the results store.
    std::optional<SavedMachine> saved;
};

struct Ranking
{
    // Fastest first; among equal times this machine first, then table order.
    std::vector<RankRow> rows;
    int position = 0;
    int of = 0;
    double seconds = 0;
    // The nearest rows strictly faster and strictly slower, in `rows`.
    std::optional<std::size_t> faster;
    std::optional<std::size_t> slower;
    // Whether the runs it comes from lasted the minimum time.
    bool reliable = true;
};

// Places this machine, which needs `seconds` for 20,000,000 passes, among the
// reference `machines` and the `saved` ones, which follow them at a tie.
Ranking rankAmong(std::span<const ReferenceMachine> machines, double seconds,
                  std::span<const SavedMachine> saved = {});

// `seconds` of a run of `passes` passes, at the same speed for `targetPasses`;
// none without a pass on either side.
std::optional<double> secondsAtPasses(double seconds, double passes, double targetPasses);
// Each of `runs` so; as they are without a pass on either side.
std::vector<double> runsAtPasses(std::vector<double> runs, double passes, double targetPasses);

// The seconds of the standard run of 20,000,000 passes at the speed of a run
// of `passes` passes in `seconds`; none without a pass.
std::optional<double> standardRunSeconds(double seconds, double passes);

// Each row's score (measuredScore, as SCORE formats it) for a result of
// `loops` passes in `seconds`: against the machine the window chose, the
// same figure as the result's own score.
void scoreRows(Ranking &ranking, double loops, double seconds);

} // namespace kamorin
