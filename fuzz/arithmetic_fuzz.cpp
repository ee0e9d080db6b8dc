// Tagged arithmetic on values of every tag: each operation gives the value
// and the tag the widening rules call for, or a runtime error, and never
// undefined behaviour. The rules are restated here, apart from the runtime.
#include "FuzzCheck.h"
#include "VariantSource.h"
#include "runtime/Arithmetic.h"
#include "runtime/Conversion.h"
#include "runtime/CountedLoop.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

// What an operation should give: an error, or a value of a tag.
struct Expected
{
    std::optional<ErrorNumber> error;
    VarType type = VarType::Empty;
    double value = 0;

    static Expected failure(ErrorNumber number) { return { number, VarType::Empty, 0 }; }
    static Expected of(VarType type, double value) { return { std::nullopt, type, value }; }
};

// An operand as arithmetic sees it: Empty is the 16-bit 0, a text the Double
// it stands for (or the error reading it raises).
struct Operand
{
    std::optional<ErrorNumber> error;
    VarType type = VarType::Integer;
    double value = 0;
};

Operand operandOf(Variant v)
{
    switch (v.type()) {
    case VarType::Empty:
        return { std::nullopt, VarType::Integer, 0 };
    case VarType::String:
        try {
            return { std::nullopt, VarType::Double, textToNumber(v.textValue()) };
        } catch (const RuntimeError &error) {
            return { error.number(), VarType::Double, 0 };
        }
    default:
        return { std::nullopt, v.type(), v.toDouble() };
    }
}

int rank(VarType t)
{
    switch (t) {
    case VarType::Integer:
        return 1;
    case VarType::Long:
        return 2;
    case VarType::Single:
        return 3;
    default:
        return 4;
    }
}

// The wider tag wins, except that a Single beside a 32-bit integer gives a
// Double: a Single cannot hold every 32-bit integer.
VarType wider(VarType a, VarType b)
{
    if ((a == VarType::Single && b == VarType::Long)
        || (a == VarType::Long && b == VarType::Single))
        return VarType::Double;
    return rank(a) >= rank(b) ? a : b;
}

Expected floating(VarType type, double exact)
{
    if (!std::isfinite(exact))
        return Expected::failure(ErrorNumber::Overflow);
    if (type == VarType::Single) {
        const auto single = static_cast<float>(exact);
        if (!std::isfinite(single))
            return Expected::failure(ErrorNumber::Overflow);
        return Expected::of(type, single);
    }
    return Expected::of(VarType::Double, exact);
}

// Integers widen 16 -> 32 bits -> Double rather than overflow.
Expected widened(VarType type, long long exact)
{
    if (type == VarType::Integer && exact >= -32768 && exact <= 32767)
        return Expected::of(VarType::Integer, static_cast<double>(exact));
    if (exact >= -2147483648LL && exact <= 2147483647LL)
        return Expected::of(VarType::Long, static_cast<double>(exact));
    return Expected::of(VarType::Double, static_cast<double>(exact));
}

enum class Op
{
    Add,
    Subtract,
    Multiply,
    Divide,
    Power
};

// Operands are read once for all five operations: reading a text that is no
// number raises an error, and raising one costs more than any operation.
Expected expectedOf(Op op, const Operand &x, const Operand &y)
{
    if (x.error)
        return Expected::failure(*x.error);
    if (y.error)
        return Expected::failure(*y.error);
    const VarType type = wider(x.type, y.type);
    switch (op) {
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
        if (type == VarType::Integer || type == VarType::Long) {
            const auto i = static_cast<long long>(x.value);
            const auto j = static_cast<long long>(y.value);
            return widened(type, op == Op::Add ? i + j : op == Op::Subtract ? i - j : i * j);
        }
        return floating(type,
                        op == Op::Add                ? x.value + y.value
                                : op == Op::Subtract ? x.value - y.value
                                                     : x.value * y.value);
    case Op::Divide:
        if (y.value == 0)
            return Expected::failure(ErrorNumber::DivisionByZero);
        return floating(type == VarType::Single || type == VarType::Integer ? VarType::Single
                                                                            : VarType::Double,
                        x.value / y.value);
    case Op::Power: {
        if (x.value == 0 && y.value < 0)
            return Expected::failure(ErrorNumber::InvalidArgument);
        const double r = std::pow(x.value, y.value);
        if (std::isnan(r))
            return Expected::failure(ErrorNumber::InvalidArgument);
        return floating(VarType::Double, r);
    }
    }
    return {};
}

QString describe(Variant v)
{
    if (v.isText())
        return QStringLiteral("text\"%1\"").arg(v.textValue());
    return QStringLiteral("tag%1:%2").arg(static_cast<int>(v.type())).arg(exact(v.toDouble()));
}

template<typename Subject, typename Operation>
void verify(const char *what, const Expected &expected, const Subject &subject,
            const Operation &operation)
{
    try {
        const Variant result = operation();
        check(!expected.error, "a value where an error was due", [&] {
            return subject() + QStringLiteral(" -> ") + describe(result) + QStringLiteral(" in ")
                    + QString::fromLatin1(what);
        });
        check(result.type() == expected.type, "wrong result tag", [&] {
            return subject() + QStringLiteral(" -> ") + describe(result)
                    + QStringLiteral(" want tag %1 in ").arg(static_cast<int>(expected.type))
                    + QString::fromLatin1(what);
        });
        check(result.toDouble() == expected.value, "wrong result value", [&] {
            return subject() + QStringLiteral(" -> ") + describe(result) + QStringLiteral(" want ")
                    + exact(expected.value) + QStringLiteral(" in ") + QString::fromLatin1(what);
        });
    } catch (const RuntimeError &error) {
        check(expected.error == error.number(), "wrong runtime error", [&] {
            return subject() + QStringLiteral(" -> ") + error.report() + QStringLiteral(" in ")
                    + QString::fromLatin1(what);
        });
    }
}

void checkArithmetic(Variant a, Variant b)
{
    struct Operation
    {
        const char *name;
        Op op;
        Variant (*apply)(Variant, Variant);
    };
    static constexpr Operation kOperations[] = {
        { "+", Op::Add, [](Variant x, Variant y) { return x + y; } },
        { "-", Op::Subtract, [](Variant x, Variant y) { return x - y; } },
        { "*", Op::Multiply, [](Variant x, Variant y) { return x * y; } },
        { "/", Op::Divide, [](Variant x, Variant y) { return x / y; } },
        { "^", Op::Power, [](Variant x, Variant y) { return power(x, y); } },
    };
    const auto subject = [&] { return describe(a) + QStringLiteral(" , ") + describe(b); };
    const Operand x = operandOf(a);
    const Operand y = operandOf(b);
    for (const Operation &operation : kOperations) {
        const auto apply = [&] { return operation.apply(a, b); };
        verify(operation.name, expectedOf(operation.op, x, y), subject, apply);
    }
}

// Exactly one of < = > holds: texts by code units, anything else by number.
void checkComparison(Variant a, Variant b)
{
    const auto subject = [&] { return describe(a) + QStringLiteral(" vs ") + describe(b); };
    int expected = 0;
    std::optional<ErrorNumber> error;
    if (a.isText() && b.isText()) {
        const QStringView x = a.textValue();
        const QStringView y = b.textValue();
        const auto byUnit = [](QChar p, QChar q) { return p.unicode() < q.unicode(); };
        expected = x == y                                                                      ? 0
                : std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), byUnit) ? -1
                                                                                               : 1;
    } else {
        const Operand x = operandOf(a);
        const Operand y = operandOf(b);
        error = x.error ? x.error : y.error;
        expected = (x.value > y.value) - (x.value < y.value);
    }
    const std::array<std::pair<bool (*)(Variant, Variant), int>, 3> tests {
        { { lessThan, -1 }, { equalTo, 0 }, { greaterThan, 1 } }
    };
    for (const auto &[test, when] : tests) {
        try {
            const bool holds = test(a, b);
            check(!error, "a comparison where an error was due", subject);
            check(holds == (expected == when), "wrong comparison", subject);
        } catch (const RuntimeError &raised) {
            check(error == raised.number(), "wrong error from a comparison",
                  [&] { return subject() + QStringLiteral(" ") + raised.report(); });
        }
    }
}

double nearestEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction != 0.5)
        return fraction > 0.5 ? below + 1 : below;
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

Expected converted(const Operand &operand, VarType type)
{
    if (operand.error)
        return Expected::failure(*operand.error);
    const double x = operand.value;
    switch (type) {
    case VarType::Integer:
    case VarType::Long: {
        const double r = nearestEven(x);
        const double limit = type == VarType::Integer ? 32768 : 2147483648.0;
        if (r < -limit || r > limit - 1)
            return Expected::failure(ErrorNumber::Overflow);
        return Expected::of(type, r);
    }
    case VarType::Single:
        return floating(VarType::Single, x);
    default:
        return Expected::of(VarType::Double, x);
    }
}

void checkConversions(Variant v)
{
    const auto subject = [&] { return describe(v); };
    const Operand x = operandOf(v);
    const Expected whole = v.isEmpty() ? Expected::of(VarType::Integer, 0)
            : x.error                  ? Expected::failure(*x.error)
            : v.type() == VarType::Single
            ? Expected::of(VarType::Single, std::floor(v.singleValue()))
            : Expected::of(x.type, std::floor(x.value));
    verify("wholePart", whole, subject, [&] { return wholePart(v); });
    for (const VarType type : { VarType::Integer, VarType::Long, VarType::Single, VarType::Double })
        verify("convertTo", converted(x, type), subject, [&] { return convertTo(v, type); });
}

void checkTypedIntegers(std::int32_t a, std::int32_t b)
{
    const auto subject = [&] { return QStringLiteral("%1 , %2").arg(a).arg(b); };
    const auto expect = [&](const char *what, long long exact, auto operation) {
        const bool fits = exact >= -2147483648LL && exact <= 2147483647LL;
        const Expected expected = fits ? Expected::of(VarType::Long, static_cast<double>(exact))
                                       : Expected::failure(ErrorNumber::Overflow);
        verify(what, expected, subject, [&] { return Variant::longInteger(operation(a, b)); });
    };
    expect("checkedAdd", static_cast<long long>(a) + b, checkedAdd);
    expect("checkedMultiply", static_cast<long long>(a) * b, checkedMultiply);
}

// A counted loop runs from start by step while not past the end, its counter
// of the widest tag of the three and widening further as + does.
void checkCountedLoop(Variant start, Variant end, Variant step)
{
    const auto subject = [&] {
        return describe(start) + QStringLiteral(" to ") + describe(end) + QStringLiteral(" step ")
                + describe(step);
    };
    const Operand first = operandOf(start);
    const Operand limit = operandOf(end);
    const Operand increment = operandOf(step);
    const VarType type = wider(wider(first.type, limit.type), increment.type);
    Expected counter = converted(first, type);
    const Expected last = counter.error ? counter : converted(limit, type);
    const Expected by = last.error ? last : converted(increment, type);
    const std::optional<ErrorNumber> setUpError = by.error;

    std::optional<CountedLoop> loop;
    try {
        loop.emplace(start, end, step);
        check(!setUpError, "a loop started where an error was due", subject);
    } catch (const RuntimeError &error) {
        check(setUpError == error.number(), "wrong error starting a loop",
              [&] { return subject() + QStringLiteral(" ") + error.report(); });
        return;
    }
    const bool descending = by.value < 0;
    const Operand stepOperand = operandOf(convertTo(step, type));
    for (int pass = 0; pass < 40; ++pass) {
        check(loop->counter().type() == counter.type && loop->counter().toDouble() == counter.value,
              "wrong loop counter",
              [&] { return subject() + QStringLiteral(" at ") + describe(loop->counter()); });
        const bool running = descending ? counter.value >= last.value : counter.value <= last.value;
        check(loop->running() == running, "the loop ends at the wrong place", subject);
        if (!running)
            return;
        const Variant current = loop->counter();
        const Expected following = expectedOf(Op::Add, operandOf(current), stepOperand);
        try {
            loop->next();
            check(!following.error, "a step where an error was due", subject);
        } catch (const RuntimeError &error) {
            check(following.error == error.number(), "wrong error stepping a loop",
                  [&] { return subject() + QStringLiteral(" ") + error.report(); });
            return;
        }
        counter = following;
    }
}

// No check depends on another: a longer input adds only how often the same
// paths are taken, and makes each run slower, since every expected error is an
// exception, which AddressSanitizer makes costly. Sixteen checks lost some of
// those counts; thirty-two keep them at twice the speed of no limit.
constexpr int kMostChecks = 32;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    VariantSource source(input);
    for (int n = 0; n < kMostChecks && input.remaining_bytes() > 0; ++n) {
        switch (input.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            checkArithmetic(source.next(), source.next());
            break;
        case 1:
            checkComparison(source.next(), source.next());
            break;
        case 2:
            checkConversions(source.next());
            break;
        case 3:
            checkTypedIntegers(input.ConsumeIntegral<std::int32_t>(),
                               input.ConsumeIntegral<std::int32_t>());
            break;
        default: {
            const Variant start = source.next();
            const Variant end = source.next();
            checkCountedLoop(start, end, source.next());
            break;
        }
        }
    }
    return 0;
}
