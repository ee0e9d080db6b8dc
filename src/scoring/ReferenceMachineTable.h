#pragma once

#include "machines/ReferenceMachines.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace kamorin {

class ReferenceMachineTable
{
public:
    // Every entry in the order the table is searched: first the 262 names that
    // Combo3 offers, in list order, then the six that are found only when typed.
    static std::span<const ReferenceMachine> entries() { return referenceMachines(); }

    // The names Combo3 offers, in list order.
    static QStringList listedNames() { return listedReferenceMachineNames(); }

    // Exact, code unit by code unit: no trimming, no case or width folding.
    static std::optional<double> lookup(const QString &name);
};

} // namespace kamorin
