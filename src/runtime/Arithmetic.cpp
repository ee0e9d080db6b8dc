#include "runtime/Arithmetic.h"

#include "runtime/RuntimeError.h"

#include <array>
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
constexpr VarType resultType(Operation op, VarType a, VarType b)
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
    // Two 16-bit integers divide into a Single, as Singles do: the quotient
    // of small whole numbers needs no more than single precision.
    if (op == Operation::Divide)
        return wider == VarType::Single || wider == VarType::Integer ? VarType::Single
                                                                     : VarType::Double;
    return wider;
}

constexpr std::size_t kTags = static_cast<std::size_t>(VarType::String) + 1;
using TypeTable = std::array<std::array<VarType, kTags>, kTags>;

// The rule above, looked up rather than re-derived on every operation: the
// workload makes eight of these per pass.
constexpr TypeTable tabulate(Operation op)
{
    TypeTable table {};
    for (std::size_t a = 0; a < kTags; ++a) {
        for (std::size_t b = 0; b < kTags; ++b)
            table[a][b] = resultType(op, static_cast<VarType>(a), static_cast<VarType>(b));
    }
    return table;
}

constexpr TypeTable kArithmeticType = tabulate(Operation::AddSubtractMultiply);
constexpr TypeTable kDivisionType = tabulate(Operation::Divide);

VarType lookUp(const TypeTable &table, Variant a, Variant b)
{
    return table[static_cast<std::size_t>(a.type())][static_cast<std::size_t>(b.type())];
}

// Errors leave through a cold call, so the hot paths need no stack frame.
[[noreturn, gnu::noinline, gnu::cold]] void raise(ErrorNumber number)
{
    throw RuntimeError(number);
}

bool hasText(Variant a, Variant b)
{
    return a.isText() || b.isText();
}

// A numeric operand as a double, exact for every numeric tag. Tested in the
// order the workload meets them; plain branches predict better here than a
// jump table, since one call site sees several tags in turn.
double number(Variant v)
{
    const VarType type = v.type();
    if (type == VarType::Double)
        return v.doubleValue();
    if (type == VarType::Integer)
        return v.integerValue();
    if (type == VarType::Long)
        return v.longValue();
    if (type == VarType::Single)
        return v.singleValue();
    return 0;
}

// Integer operands; only called for Empty, Integer and Long tags.
std::int64_t wholeOperand(Variant v)
{
    if (v.type() == VarType::Integer)
        return v.integerValue();
    if (v.type() == VarType::Long)
        return v.longValue();
    return 0;
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
    if (!std::isfinite(r)) [[unlikely]]
        raise(ErrorNumber::Overflow);
    return r;
}

// A Single result is computed in double and rounded once, which gives the
// correctly rounded single for + - * /.
Variant checkedSingle(double r)
{
    const auto f = static_cast<float>(checkedDouble(r));
    if (!std::isfinite(f))
        raise(ErrorNumber::Overflow);
    return Variant::single(f);
}

constexpr int pairOf(VarType a, VarType b)
{
    return static_cast<int>(a) * static_cast<int>(kTags) + static_cast<int>(b);
}

// The operands as doubles, when they are one of the pairs a Double
// computation meets: Double with Double, with a 16-bit constant on either side.
// These pairs give a Double for every operation, so the caller can finish at
// once, without a call or a stack frame; every other pair goes the general way.
bool asDoublePair(Variant a, Variant b, double &x, double &y)
{
    const int pair = pairOf(a.type(), b.type());
    if (pair == pairOf(VarType::Double, VarType::Double)) [[likely]] {
        x = a.doubleValue();
        y = b.doubleValue();
        return true;
    }
    if (pair == pairOf(VarType::Double, VarType::Integer)) {
        x = a.doubleValue();
        y = b.integerValue();
        return true;
    }
    if (pair == pairOf(VarType::Integer, VarType::Double)) {
        x = a.integerValue();
        y = b.doubleValue();
        return true;
    }
    return false;
}

static_assert(kArithmeticType[4][4] == VarType::Double && kArithmeticType[4][1] == VarType::Double
                      && kArithmeticType[1][4] == VarType::Double
                      && kDivisionType[4][4] == VarType::Double
                      && kDivisionType[4][1] == VarType::Double
                      && kDivisionType[1][4] == VarType::Double,
              "the short path must agree with the rule");

// Texts become the Doubles they stand for, the left one first.
template<typename Operation>
Variant withTextsAsNumbers(Variant a, Variant b, Operation operation)
{
    const Variant x = a.isText() ? Variant::real(a.toDouble()) : a;
    const Variant y = b.isText() ? Variant::real(b.toDouble()) : b;
    return operation(x, y);
}

template<typename IntegerOp, typename FloatOp>
[[gnu::noinline]] Variant anyArithmetic(Variant a, Variant b, IntegerOp integerOp, FloatOp floatOp)
{
    if (hasText(a, b)) {
        return withTextsAsNumbers(a, b, [&](Variant x, Variant y) {
            return anyArithmetic(x, y, integerOp, floatOp);
        });
    }
    const VarType type = lookUp(kArithmeticType, a, b);
    if (type == VarType::Double)
        return Variant::real(checkedDouble(floatOp(number(a), number(b))));
    if (type == VarType::Single)
        return checkedSingle(floatOp(number(a), number(b)));
    return widenedInteger(integerOp(wholeOperand(a), wholeOperand(b)), type);
}

template<typename IntegerOp, typename FloatOp>
Variant arithmetic(Variant a, Variant b, IntegerOp integerOp, FloatOp floatOp)
{
    double x;
    double y;
    if (asDoublePair(a, b, x, y)) [[likely]]
        return Variant::real(checkedDouble(floatOp(x, y)));
    return anyArithmetic(a, b, integerOp, floatOp);
}

double divided(double x, double y)
{
    // An unassigned divisor counts as 0 here too.
    if (y == 0) [[unlikely]]
        raise(ErrorNumber::DivisionByZero);
    return x / y;
}

[[gnu::noinline]] Variant anyDivision(Variant a, Variant b)
{
    if (hasText(a, b))
        return withTextsAsNumbers(a, b, anyDivision);
    const double x = number(a);
    const double quotient = divided(x, number(b));
    if (lookUp(kDivisionType, a, b) == VarType::Single)
        return checkedSingle(quotient);
    return Variant::real(checkedDouble(quotient));
}

double raised(double x, double y)
{
    // 0 to a negative power, or a negative base with a fractional exponent,
    // has no value: that is a bad argument, not an overflow.
    if (x == 0 && y < 0) [[unlikely]]
        raise(ErrorNumber::InvalidArgument);
    const double r = std::pow(x, y);
    if (!std::isfinite(r)) [[unlikely]]
        raise(std::isnan(r) ? ErrorNumber::InvalidArgument : ErrorNumber::Overflow);
    return r;
}

[[gnu::noinline]] Variant anyPower(Variant base, Variant exponent)
{
    if (hasText(base, exponent))
        return withTextsAsNumbers(base, exponent, anyPower);
    return Variant::real(raised(number(base), number(exponent)));
}

[[gnu::noinline]] int anyComparison(Variant a, Variant b)
{
    if (a.isText() && b.isText()) {
        const int c = QString::compare(a.textValue(), b.textValue(), Qt::CaseSensitive);
        return (c > 0) - (c < 0);
    }
    // Every numeric tag is exact as a double, so one comparison serves them all.
    const double x = a.toDouble();
    const double y = b.toDouble();
    return (x > y) - (x < y);
}

template<typename Test>
bool comparison(Variant a, Variant b, Test test)
{
    double x;
    double y;
    if (asDoublePair(a, b, x, y)) [[likely]]
        return test(x, y);
    return test(anyComparison(a, b), 0);
}

} // namespace

VarType commonType(VarType a, VarType b)
{
    return resultType(Operation::AddSubtractMultiply, a, b);
}

Variant operator+(Variant a, Variant b)
{
    return arithmetic(
            a, b, [](std::int64_t x, std::int64_t y) { return x + y; },
            [](double x, double y) { return x + y; });
}

Variant operator-(Variant a, Variant b)
{
    return arithmetic(
            a, b, [](std::int64_t x, std::int64_t y) { return x - y; },
            [](double x, double y) { return x - y; });
}

Variant operator*(Variant a, Variant b)
{
    return arithmetic(
            a, b, [](std::int64_t x, std::int64_t y) { return x * y; },
            [](double x, double y) { return x * y; });
}

Variant operator/(Variant a, Variant b)
{
    double x;
    double y;
    if (asDoublePair(a, b, x, y)) [[likely]]
        return Variant::real(checkedDouble(divided(x, y)));
    return anyDivision(a, b);
}

Variant power(Variant base, Variant exponent)
{
    double x;
    double y;
    if (asDoublePair(base, exponent, x, y)) [[likely]]
        return Variant::real(raised(x, y));
    return anyPower(base, exponent);
}

bool equalTo(Variant a, Variant b)
{
    return comparison(a, b, [](auto x, auto y) { return x == y; });
}

bool lessThan(Variant a, Variant b)
{
    return comparison(a, b, [](auto x, auto y) { return x < y; });
}

bool greaterThan(Variant a, Variant b)
{
    return comparison(a, b, [](auto x, auto y) { return x > y; });
}

Variant wholePart(Variant value)
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

double checkedFloat(double result)
{
    return checkedDouble(result);
}

double checkedQuotient(double dividend, double divisor)
{
    if (divisor == 0 && dividend != 0)
        raise(ErrorNumber::DivisionByZero);
    return checkedDouble(dividend / divisor);
}

std::int32_t checkedAdd(std::int32_t a, std::int32_t b)
{
    const std::int64_t r = std::int64_t { a } + b;
    if (!fits<std::int32_t>(r))
        raise(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(r);
}

std::int32_t checkedMultiply(std::int32_t a, std::int32_t b)
{
    const std::int64_t r = std::int64_t { a } * b;
    if (!fits<std::int32_t>(r))
        raise(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(r);
}

} // namespace kamorin
