#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <string_view>

namespace kamorin {

// One processor the benchmark was run on when the program was made, with the
// seconds it took for the standard run of 20,000,000 passes.
struct ReferenceMachine
{
    std::u16string_view name;
    double seconds;
};

class ReferenceMachineTable
{
public:
    // Every entry in the order the table is searched: first the 262 names that
    // Combo3 offers, in list order, then the six that are found only when typed.
    static std::span<const ReferenceMachine> entries();

    // The names Combo3 offers, in list order.
    static QStringList listedNames();

    // Exact, code unit by code unit: no trimming, no case or width folding.
    static std::optional<double> lookup(const QString &name);
};

} // namespace kamorin
