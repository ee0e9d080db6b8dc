#pragma once

#include "scoring/ReferenceMachineTable.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kamorin {

// The name this machine's row carries among the reference machines.
QString thisMachineName();

struct RankRow
{
    // 1 + the number of rows strictly faster: equal times share a place.
    int position = 0;
    QString name;
    // For 20,000,000 passes.
    double seconds = 0;
    // That machine's score with this one as the reference: above 1 it is faster.
    double score = 0;
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
};

// Places this machine, which needs `seconds` for 20,000,000 passes, among `machines`.
Ranking rankAmong(std::span<const ReferenceMachine> machines, double seconds);

} // namespace kamorin
