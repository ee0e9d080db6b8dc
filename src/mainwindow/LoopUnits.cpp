#include "mainwindow/LoopUnits.h"

#include <QStringList>

namespace kamorin {

std::optional<std::int32_t> loopUnitFactor(const QString &name)
{
    for (const LoopUnit &unit : kLoopUnits)
        if (name == QStringView(unit.name))
            return unit.factor;
    return std::nullopt;
}

QString loopUnitNames()
{
    QStringList names;
    for (const LoopUnit &unit : kLoopUnits)
        names << QString::fromUtf16(unit.name);
    return names.join(u", ");
}

} // namespace kamorin
