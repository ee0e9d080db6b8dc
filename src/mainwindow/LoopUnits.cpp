#include "mainwindow/LoopUnits.h"

namespace kamorin {

std::optional<std::int32_t> loopUnitFactor(const QString &name)
{
    for (const LoopUnit &unit : kLoopUnits)
        if (name == QStringView(unit.name))
            return unit.factor;
    return std::nullopt;
}

} // namespace kamorin
