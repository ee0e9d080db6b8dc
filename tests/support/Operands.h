#pragma once

#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <QString>

#include <cstdint>

namespace kamorin::test {

// One operand of a table row. A text operand keeps its text here, so the Variant made
// from it refers to the fetched row, which outlives every use in the test function.
struct Operand
{
    VarType type = VarType::Empty;
    double number = 0;
    QString text;

    Variant variant() const
    {
        switch (type) {
        case VarType::Empty:
            return {};
        case VarType::Integer:
            return Variant::integer(static_cast<std::int16_t>(number));
        case VarType::Long:
            return Variant::longInteger(static_cast<std::int32_t>(number));
        case VarType::Single:
            return Variant::single(static_cast<float>(number));
        case VarType::Double:
            return Variant::real(number);
        case VarType::String:
            return Variant::text(text);
        }
        return {};
    }
};

Operand none()
{
    return {};
}
Operand i16(std::int16_t v)
{
    return { VarType::Integer, double(v), {} };
}
Operand i32(std::int32_t v)
{
    return { VarType::Long, double(v), {} };
}
Operand f32(float v)
{
    return { VarType::Single, double(v), {} };
}
Operand f64(double v)
{
    return { VarType::Double, v, {} };
}
Operand txt(const char16_t *v)
{
    return { VarType::String, 0, QString::fromUtf16(v) };
}

// The number of the runtime error an operation raises, 0 when it raises none.
template<typename F>
int errorOf(F &&operation)
{
    try {
        operation();
        return 0;
    } catch (const RuntimeError &e) {
        return static_cast<int>(e.number());
    }
}

} // namespace kamorin::test
