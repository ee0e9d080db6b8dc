#include "runtime/Arithmetic.h"

#include "runtime/RuntimeError.h"

#include <array>
#include <cmath>
#include <functional>
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

// A numeric operand as a double; the Variant keeps every number exactly so.
double number(Variant v)
{
    return v.doubleValue();
}

// Integer operands; only called for Empty, Integer and Long tags.
std::int64_t wholeOperand(Variant v)
{
    return v.longValue();
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

// A set of operand tag pairs, one bit each. Eight rows rather than six, so
// that the index of a pair is a single address computation.
using TagPairs = std::uint64_t;

constexpr unsigned pairOf(VarType a, VarType b)
{
    return static_cast<unsigned>(a) * 8 + static_cast<unsigned>(b);
}
static_assert(pairOf(VarType::String, VarType::String) < 64);

template<typename Rule>
constexpr TagPairs pairsWhere(Rule rule)
{
    TagPairs pairs = 0;
    for (std::size_t a = 0; a < kTags; ++a) {
        for (std::size_t b = 0; b < kTags; ++b) {
            const auto x = static_cast<VarType>(a);
            const auto y = static_cast<VarType>(b);
            if (x != VarType::String && y != VarType::String && rule(x, y))
                pairs |= TagPairs { 1 } << pairOf(x, y);
        }
    }
    return pairs;
}

// The number pairs whose result is a Double, computed from the operands as
// they are: the caller can finish at once, without a call or a stack frame.
// Every other pair, a text among them, goes the general way.
constexpr TagPairs kDoubleArithmetic = pairsWhere([](VarType a, VarType b) {
    return kArithmeticType[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]
            == VarType::Double;
});
constexpr TagPairs kDoubleDivision = pairsWhere([](VarType a, VarType b) {
    return kDivisionType[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]
            == VarType::Double;
});
constexpr TagPairs kNumbers = pairsWhere([](VarType, VarType) { return true; });

bool among(TagPairs pairs, Variant a, Variant b)
{
    return (pairs >> pairOf(a.type(), b.type())) & 1;
}

// Texts become the Doubles they stand for, the left one first.
template<typename Operation>
Variant withTextsAsNumbers(Variant a, Variant b, Operation operation)
{
    const Variant x = a.isText() ? Variant::real(a.toDouble()) : a;
    const Variant y = b.isText() ? Variant::real(b.toDouble()) : b;
    return operation(x, y);
}

// The operations are types, not arguments, so this has the signature of the
// operators and they jump to it rather than call it. The operators spell out
// their short path themselves: through a shared inline helper, GCC assembles
// the result afresh instead of passing it on.
template<typename IntegerOp, typename FloatOp>
[[gnu::noinline]] Variant anyArithmetic(Variant a, Variant b)
{
    if (hasText(a, b))
        return withTextsAsNumbers(a, b, anyArithmetic<IntegerOp, FloatOp>);
    const VarType type = lookUp(kArithmeticType, a, b);
    if (type == VarType::Double)
        return Variant::real(checkedDouble(FloatOp {}(number(a), number(b))));
    if (type == VarType::Single)
        return checkedSingle(FloatOp {}(number(a), number(b)));
    return widenedInteger(IntegerOp {}(wholeOperand(a), wholeOperand(b)), type);
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
    if (among(kNumbers, a, b)) [[likely]]
        return test(number(a), number(b));
    return test(anyComparison(a, b), 0);
}

} // namespace

VarType commonType(VarType a, VarType b)
{
    return resultType(Operation::AddSubtractMultiply, a, b);
}

Variant operator+(Variant a, Variant b)
{
    if (among(kDoubleArithmetic, a, b)) [[likely]]
        return Variant::real(checkedDouble(number(a) + number(b)));
    return anyArithmetic<std::plus<std::int64_t>, std::plus<double>>(a, b);
}

Variant operator-(Variant a, Variant b)
{
    if (among(kDoubleArithmetic, a, b)) [[likely]]
        return Variant::real(checkedDouble(number(a) - number(b)));
    return anyArithmetic<std::minus<std::int64_t>, std::minus<double>>(a, b);
}

Variant operator*(Variant a, Variant b)
{
    if (among(kDoubleArithmetic, a, b)) [[likely]]
        return Variant::real(checkedDouble(number(a) * number(b)));
    return anyArithmetic<std::multiplies<std::int64_t>, std::multiplies<double>>(a, b);
}

Variant operator/(Variant a, Variant b)
{
    if (among(kDoubleDivision, a, b)) [[likely]]
        return Variant::real(checkedDouble(divided(number(a), number(b))));
    return anyDivision(a, b);
}

Variant power(Variant base, Variant exponent)
{
    if (among(kNumbers, base, exponent)) [[likely]]
        return Variant::real(raised(number(base), number(exponent)));
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
