#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace kamorin {

// A unit of the loop count: its name as Combo5 lists it, and the factor 実行
// multiplies the count by.
struct LoopUnit
{
    const char16_t *name;
    std::int32_t factor;
};

// Combo5's list at design time, smallest first. Any other text counts
// single passes.
inline constexpr std::array<LoopUnit, 5> kLoopUnits { {
        { u"回", 1 },
        { u"百回", 100 },
        { u"千回", 1000 },
        { u"万回", 10000 },
        { u"億回", 100000000 },
} };

// The factor of a unit named exactly so; none for any other text.
std::optional<std::int32_t> loopUnitFactor(const QString &name);

} // namespace kamorin
