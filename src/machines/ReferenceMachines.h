#pragma once

#include <QStringList>

#include <cstddef>
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

// The data of the reference machines, beneath both the window that lists them
// in Combo3 and the SCORE that looks them up. Every entry in the order the
// table is searched: first the 262 names that Combo3 offers, in list order,
// then the six that are found only when typed.
std::span<const ReferenceMachine> referenceMachines();

// The names Combo3 offers, in list order.
QStringList listedReferenceMachineNames();

} // namespace kamorin
