#pragma once

#include "scoring/ReferenceMachineTable.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kamorin {

class Form1;

// The name this machine's row carries among the reference machines.
QString thisMachineName();

struct RankRow
{
    // 1 + the number of rows strictly faster: equal times share a place.
    int position = 0;
    QString name;
    // For 20,000,000 passes.
    double seconds = 0;
    // The score this run would get against that machine, the very text SCORE
    // would write; none on this machine's own row or where SCORE would fail.
    std::optional<QString> score;
    bool thisMachine = false;
};

struct Ranking
{
    // Fastest first; among equal times this machine first, then table order.
    std::vector<RankRow> rows;
    int position = 0;
    int of = 0;
    double seconds = 0;
    // The nearest reference machines strictly faster and strictly slower.
    std::optional<QString> faster;
    std::optional<QString> slower;
    // Whether the runs it comes from lasted the minimum time.
    bool reliable = true;
};

// Places this machine, which needs `seconds` for 20,000,000 passes, among `machines`.
Ranking rankAmong(std::span<const ReferenceMachine> machines, double seconds);

// Each reference row's score as SCORE computes and formats it for the run
// `form` shows.
void scoreRowsAsScoreDoes(Ranking &ranking, const Form1 &form);

} // namespace kamorin
