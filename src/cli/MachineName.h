#pragma once

#include "machines/ReferenceMachines.h"
#include "scoring/ReferenceMachineTable.h"

#include <QString>
#include <QStringList>

#include <span>
#include <variant>

namespace kamorin {

// The reference machine a name typed on the command line stands for. SCORE
// looks names up exactly; kamorin-cli also takes a name that differs only in
// width or case ("Mobile PenIII500" for "Mobile　PenIII500", "pentiumii266"
// for "PentiumⅡ266"), since a keyboard without Japanese input cannot type the
// table's own spelling. What it finds is that spelling, so everything after
// the command line sees the name SCORE knows.
struct MachineFound
{
    QString name;
};
// More than one name folds to what was typed: none is chosen for the user.
struct MachineAmbiguous
{
    QStringList names;
};
// No name folds to it; the nearest few, nearest first, or none if no name is
// near.
struct MachineUnknown
{
    QStringList nearest;
};
using MachineMatch = std::variant<MachineFound, MachineAmbiguous, MachineUnknown>;

MachineMatch matchMachineName(const QString &typed,
                              std::span<const ReferenceMachine> table
                              = ReferenceMachineTable::entries());

} // namespace kamorin
