// toLong and rightPart on any tagged value: the nearest 32-bit integer with
// halves to even, or the overflow or type-mismatch error; and the last n
// characters of the value's text.
#include "FuzzCheck.h"
#include "VariantSource.h"
#include "runtime/Conversion.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

// Rounded to nearest with halves to the even neighbour, by comparing the
// fraction with one half; the fraction of a double is exact.
double nearestEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

void checkToLong(Variant value)
{
    const auto subject = [&] {
        return QStringLiteral("tag %1 text %2")
                .arg(static_cast<int>(value.type()))
                .arg(value.isText() ? value.textValue() : textOf(value));
    };
    std::optional<ErrorNumber> expectedError;
    double expected = 0;
    try {
        expected = nearestEven(value.toDouble());
        if (expected < -2147483648.0 || expected > 2147483647.0)
            expectedError = ErrorNumber::Overflow;
    } catch (const RuntimeError &error) {
        expectError(error, { ErrorNumber::TypeMismatch, ErrorNumber::Overflow }, subject);
        expectedError = error.number();
    }

    try {
        const std::int32_t result = toLong(value);
        check(!expectedError, "toLong gave a number instead of an error", subject);
        check(result == expected, "toLong is not the nearest integer, halves to even",
              [&] { return subject() + QStringLiteral(" -> %1").arg(result); });
    } catch (const RuntimeError &error) {
        check(expectedError == error.number(), "toLong raised the wrong error",
              [&] { return subject() + QStringLiteral(" -> ") + error.report(); });
    }
}

void checkRightPart(Variant value, int count)
{
    const auto subject = [&] {
        return QStringLiteral("tag %1 count %2").arg(static_cast<int>(value.type())).arg(count);
    };
    try {
        const QString part = rightPart(value, count);
        check(count >= 0, "a negative count was accepted", subject);
        const QString whole = textOf(value);
        const auto length = std::min<qsizetype>(count, whole.size());
        check(part.size() == length && whole.endsWith(part), "not the last characters", [&] {
            return subject() + QStringLiteral(" ") + whole + QStringLiteral(" -> ") + part;
        });
    } catch (const RuntimeError &error) {
        check(count < 0 && error.number() == ErrorNumber::InvalidArgument,
              "rightPart raised the wrong error",
              [&] { return subject() + QStringLiteral(" ") + error.report(); });
    }
}

// No check depends on another, so a longer input reaches nothing new; it only
// makes each run slower, and every expected error is an exception, which
// AddressSanitizer makes costly.
constexpr int kMostChecks = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    VariantSource source(input);
    for (int n = 0; n < kMostChecks && input.remaining_bytes() > 0; ++n) {
        const Variant value = source.next();
        checkToLong(value);
        const int count = input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(-2, 30)
                                              : input.ConsumeIntegral<int>();
        checkRightPart(value, count);
    }
    return 0;
}
