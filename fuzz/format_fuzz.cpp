// The three patterns the program formats with, on any finite double: the
// right shape, and the digits of an independent exact computation.
#include "FuzzCheck.h"
#include "runtime/Format.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

struct Case
{
    const char16_t *pattern;
    int decimals;
    const char16_t *shape;
};

// "00" keeps at least two digits, the others one before the point.
constexpr std::array kCases {
    Case { u"00", 0, u"\\A-?(?:[0-9]{2}|[1-9][0-9]{2,})\\z" },
    Case { u"##0.00", 2, u"\\A-?(?:0|[1-9][0-9]*)\\.[0-9]{2}\\z" },
    Case { u"##0.000", 3, u"\\A-?(?:0|[1-9][0-9]*)\\.[0-9]{3}\\z" },
};

constexpr std::uint64_t kScale[] = { 1, 10, 100, 1000 };

// No value's check depends on another's, so a longer input reaches nothing
// new; it only makes each run slower.
constexpr std::size_t kMostValues = 16;

// |value| rounded to `decimals`, halves away from zero, as "digits.decimals"
// without padding, written at `out`; returns the end. Below 2^53 the scaled
// value is exact in long double (53 mantissa bits times at most 10 bits of
// 1000 fit in 64) and below 2^64, so the tie test sees the true binary value;
// above, every double is whole and its digits are those of the integer.
char *independentlyRounded(double value, int decimals, char *out, char *last)
{
    const double magnitude = std::fabs(value);
    if (magnitude >= 0x1p53) {
        out = std::to_chars(out, last, magnitude, std::chars_format::fixed, 0).ptr;
        if (decimals) {
            *out++ = '.';
            out = std::fill_n(out, decimals, '0');
        }
        return out;
    }
    const long double scaled = static_cast<long double>(magnitude) * kScale[decimals];
    const long double whole = std::trunc(scaled);
    auto units = static_cast<std::uint64_t>(whole);
    if (scaled - whole >= 0.5L)
        ++units;
    out = std::to_chars(out, last, units / kScale[decimals]).ptr;
    if (decimals) {
        *out++ = '.';
        std::uint64_t fraction = units % kScale[decimals];
        for (int i = decimals; i > 0; --i, fraction /= 10)
            out[i - 1] = static_cast<char>('0' + fraction % 10);
        out += decimals;
    }
    return out;
}

QString expectedText(double value, int decimals)
{
    std::array<char, 400> buffer;
    // Room in front for a leading zero and a sign.
    char *start = buffer.data() + 2;
    char *const end = independentlyRounded(value, decimals, start, buffer.data() + buffer.size());
    if (decimals == 0 && end - start < 2)
        *--start = '0';
    const bool zero = std::all_of(start, end, [](char c) { return c == '0' || c == '.'; });
    if (value < 0 && !zero)
        *--start = '-';
    return QString::fromLatin1(start, end - start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::array patterns {
        FormatPattern::parse(kCases[0].pattern),
        FormatPattern::parse(kCases[1].pattern),
        FormatPattern::parse(kCases[2].pattern),
    };
    static const std::array shapes {
        QRegularExpression(QString::fromUtf16(kCases[0].shape)),
        QRegularExpression(QString::fromUtf16(kCases[1].shape)),
        QRegularExpression(QString::fromUtf16(kCases[2].shape)),
    };

    const std::size_t end = std::min(size, kMostValues * sizeof(double));
    for (std::size_t offset = 0; offset + sizeof(double) <= end; offset += sizeof(double)) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, data + offset, sizeof bits);
        const double value = std::bit_cast<double>(bits);
        if (!std::isfinite(value))
            continue;
        for (std::size_t i = 0; i < kCases.size(); ++i) {
            const QString text = patterns[i].apply(value);
            const auto subject = [&] {
                return QString::fromUtf16(kCases[i].pattern) + QStringLiteral(" ") + exact(value)
                        + QStringLiteral(" -> ") + text;
            };
            check(shapes[i].match(text).hasMatch(), "wrong shape", subject);
            const QString expected = expectedText(value, kCases[i].decimals);
            check(text == expected, "wrong digits",
                  [&] { return subject() + QStringLiteral(" expected ") + expected; });
        }
    }
    return 0;
}
