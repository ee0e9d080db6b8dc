// textToNumber on arbitrary UTF-16: a finite double exactly where the text has
// the documented form, the same double the C library reads from it, and
// otherwise the type-mismatch or overflow error.
#include "FuzzCheck.h"
#include "runtime/NumberText.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

// The accepted form, written down apart from the parser it checks.
bool hasNumberForm(const QString &asciiText)
{
    static const QRegularExpression form(QStringLiteral(
            "\\A[ \\t]*[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?[ \\t]*\\z"));
    return form.match(asciiText).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // UTF-16LE code units, the odd byte dropped, so lone surrogates occur too.
    const auto units = static_cast<qsizetype>(size / 2);
    QString text(units, Qt::Uninitialized);
    // Every code unit beyond ASCII lies outside the form; a control character in
    // its place keeps the verdict and gives the C library plain ASCII.
    std::string ascii(static_cast<std::size_t>(units), '\0');
    for (qsizetype i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
        text[i] = QChar(unit);
        ascii[static_cast<std::size_t>(i)] = unit < 0x80 ? static_cast<char>(unit) : '\x01';
    }
    const bool wellFormed = hasNumberForm(
            QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size())));
    const double expected = wellFormed ? std::strtod(ascii.c_str(), nullptr) : 0;

    double value = 0;
    try {
        value = textToNumber(text);
    } catch (const RuntimeError &error) {
        expectError(error, { ErrorNumber::TypeMismatch, ErrorNumber::Overflow },
                    [&] { return text; });
        if (error.number() == ErrorNumber::TypeMismatch)
            check(!wellFormed, "a number in the accepted form was refused", text);
        else
            check(wellFormed && std::isinf(expected), "overflow for a number within range", text);
        return 0;
    }
    check(std::isfinite(value), "a non-finite number", text);
    check(wellFormed, "a text outside the accepted form was read as a number", text);
    check(value == expected, "not the nearest double",
          text + QStringLiteral(" -> ") + exact(value) + QStringLiteral(" expected ")
                  + exact(expected));
    return 0;
}
