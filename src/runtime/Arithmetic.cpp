#include "runtime/Arithmetic.h"

#include "runtime/RuntimeError.h"

#include <cmath>
#include <limits>

namespace kamorin {

namespace {

enum class Operation
{
    AddSubtractMultiply,
    Divide,
};

// Every type-promotion rule of the tagged arithmetic, in one place.
VarType resultType(Operation op, VarType a, VarType b)
{
    const auto operand = [](VarType t) {
        if (t == VarType::Empty)
            return VarType::Integer;
        if (t == VarType::String)
            return VarType::Double;
        return t;
    };
    a = operand(a);
    b = operand(b);
    VarType wider = a < b ? b : a;
    if (wider == VarType::Single && (a == VarType::Long || b == VarType::Long))
        wider = VarType::Double;
    if (op == Operation::Divide)
        return wider == VarType::Single ? VarType::Single : VarType::Double;
    return wider;
}

// Integer operands; only called for Empty, Integer and Long tags.
std::int64_t wholeOperand(const Variant &v)
{
    switch (v.type()) {
    case VarType::Integer:
        return v.integerValue();
    case VarType::Long:
        return v.longValue();
    default:
        return 0;
    }
}

template<typename T>
bool fits(std::int64_t r)
{
    return r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max();
}

Variant widenedInteger(std::int64_t r, VarType type)
{
    if (type == VarType::Integer && fits<std::int16_t>(r))
        return Variant::integer(static_cast<std::int16_t>(r));
    if (fits<std::int32_t>(r))
        return Variant::longInteger(static_cast<std::int32_t>(r));
    return Variant::real(static_cast<double>(r));
}

// After a floating computation on finite operands, a non-finite result is the
// processor's overflow or invalid-operation signal.
double checkedDouble(double r)
{
    if (!std::isfinite(r))
        throw RuntimeError(ErrorNumber::Overflow);
    return r;
}

// A Single result is computed in double and rounded once, which gives the
// correctly rounded single for + - * /.
Variant checkedSingle(double r)
{
    const auto f = static_cast<float>(checkedDouble(r));
    if (!std::isfinite(f))
        throw RuntimeError(ErrorNumber::Overflow);
    return Variant::single(f);
}

template<typename IntegerOp, typename FloatOp>
Variant arithmetic(const Variant &a, const Variant &b, IntegerOp integerOp, FloatOp floatOp)
{
    const VarType type = resultType(Operation::AddSubtractMultiply, a.type(), b.type());
    switch (type) {
    case VarType::Integer:
    case VarType::Long:
        return widenedInteger(integerOp(wholeOperand(a), wholeOperand(b)), type);
    case VarType::Single:
        return checkedSingle(floatOp(a.toDouble(), b.toDouble()));
    default:
        return Variant::real(checkedDouble(floatOp(a.toDouble(), b.toDouble())));
    }
}

int compare(const Variant &a, const Variant &b)
{
    if ((a.isText() || a.isEmpty()) && (b.isText() || b.isEmpty())
        && (a.isText() || b.isText())) {
        const int c = QString::compare(a.isText() ? a.textValue() : QString(),
                                       b.isText() ? b.textValue() : QString(),
                                       Qt::CaseSensitive);
        return (c > 0) - (c < 0);
    }
    // Every numeric tag is exact as a double, so one comparison serves them all.
    const double x = a.toDouble();
    const double y = b.toDouble();
    return (x > y) - (x < y);
}

} // namespace

VarType commonType(VarType a, VarType b)
{
    return resultType(Operation::AddSubtractMultiply, a, b);
}

Variant operator+(const Variant &a, const Variant &b)
{
    // Two texts (or a text and Empty) join rather than add.
    if ((a.isText() && (b.isText() || b.isEmpty())) || (a.isEmpty() && b.isText()))
        return Variant::text(a.isText() ? a.textValue() + (b.isText() ? b.textValue() : QString())
                                        : b.textValue());
    return arithmetic(
            a, b, [](std::int64_t x, std::int64_t y) { return x + y; },
            [](double x, double y) { return x + y; });
}

Variant operator-(const Variant &a, const Variant &b)
{
    return arithmetic(
            a, b, [](std::int64_t x, std::int64_t y) { return x - y; },
            [](double x, double y) { return x - y; });
}

Variant operator*(const Variant &a, const Variant &b)
{
    return arithmetic(
            a, b, [](std::int64_t x, std::int64_t y) { return x * y; },
            [](double x, double y) { return x * y; });
}

Variant operator/(const Variant &a, const Variant &b)
{
    const VarType type = resultType(Operation::Divide, a.type(), b.type());
    const double x = a.toDouble();
    const double y = b.toDouble();
    if (y == 0)
        throw RuntimeError(ErrorNumber::DivisionByZero);
    if (type == VarType::Single)
        return checkedSingle(x / y);
    return Variant::real(checkedDouble(x / y));
}

Variant power(const Variant &base, const Variant &exponent)
{
    const double x = base.toDouble();
    const double y = exponent.toDouble();
    const double r = std::pow(x, y);
    // A negative base with a fractional exponent, or 0 to a negative power,
    // has no value: that is a bad argument, not an overflow.
    if (std::isnan(r) || (x == 0 && y < 0))
        throw RuntimeError(ErrorNumber::InvalidArgument);
    return Variant::real(checkedDouble(r));
}

bool equalTo(const Variant &a, const Variant &b)
{
    return compare(a, b) == 0;
}

bool lessThan(const Variant &a, const Variant &b)
{
    return compare(a, b) < 0;
}

bool greaterThan(const Variant &a, const Variant &b)
{
    return compare(a, b) > 0;
}

Variant wholePart(const Variant &value)
{
    switch (value.type()) {
    case VarType::Empty:
        return Variant::integer(0);
    case VarType::Integer:
    case VarType::Long:
        return value;
    case VarType::Single:
        return Variant::single(std::floor(value.singleValue()));
    default:
        return Variant::real(std::floor(value.toDouble()));
    }
}

std::int32_t checkedAdd(std::int32_t a, std::int32_t b)
{
    const std::int64_t r = std::int64_t { a } + b;
    if (!fits<std::int32_t>(r))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(r);
}

std::int32_t checkedMultiply(std::int32_t a, std::int32_t b)
{
    const std::int64_t r = std::int64_t { a } * b;
    if (!fits<std::int32_t>(r))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(r);
}

} // namespace kamorin
