#include "scoring/ReferenceMachineTable.h"

#include <QStringView>

#include <algorithm>

namespace kamorin {

std::optional<double> ReferenceMachineTable::lookup(const QString &name)
{
    // Linear and first-match on purpose: the table is small, and the search order is what
    // decides should a name ever appear twice.
    const QStringView wanted(name);
    const auto machines = entries();
    const auto it = std::find_if(
            machines.begin(), machines.end(), [wanted](const ReferenceMachine &machine) {
                return wanted == QStringView(machine.name.data(), qsizetype(machine.name.size()));
            });
    if (it == machines.end())
        return std::nullopt;
    return it->seconds;
}

} // namespace kamorin
