#include "runtime/Conversion.h"

#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"

#include <cmath>

namespace kamorin {

std::int32_t toLong(Variant value)
{
    if (value.type() == VarType::Integer)
        return value.integerValue();
    if (value.type() == VarType::Long)
        return value.longValue();
    // The rounding mode is never changed here, so nearbyint rounds halves to even.
    const double rounded = std::nearbyint(value.toDouble());
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(rounded);
}

float toSingle(Variant value)
{
    const double x = value.toDouble();
    const auto f = static_cast<float>(x);
    if (!std::isfinite(f))
        throw RuntimeError(ErrorNumber::Overflow);
    return f;
}

Variant convertTo(Variant value, VarType type)
{
    switch (type) {
    case VarType::Integer: {
        const std::int32_t whole = toLong(value);
        if (whole < -32768 || whole > 32767)
            throw RuntimeError(ErrorNumber::Overflow);
        return Variant::integer(static_cast<std::int16_t>(whole));
    }
    case VarType::Long:
        return Variant::longInteger(toLong(value));
    case VarType::Single:
        return Variant::single(toSingle(value));
    default:
        return Variant::real(value.toDouble());
    }
}

QString rightPart(Variant value, int count)
{
    if (count < 0)
        throw RuntimeError(ErrorNumber::InvalidArgument);
    return textOf(value).right(count);
}

} // namespace kamorin
