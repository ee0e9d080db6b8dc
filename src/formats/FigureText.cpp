#include "formats/FigureText.h"

#include "benchmark/Ranking.h"
#include "results/JsonWriter.h"
#include "runtime/Format.h"

#include <QCoreApplication>

#include <array>
#include <charconv>
#include <cmath>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(FigureText)
};

} // namespace

QString fixedText(double value, int decimals)
{
    // Room for the largest double's 309 digits and the decimals after them.
    std::array<char, 400> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals)
                             .ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

QString passesText(double passes)
{
    return std::abs(passes) < 1e15 ? QString::number(passes, 'f', 0) : shortestNumberText(passes);
}

QString secondsText(double seconds)
{
    return QString::number(seconds, 'g', 6);
}

QString rankSecondsText(double seconds)
{
    static const FormatPattern twoDecimals = FormatPattern::parse(u"##0.00");
    return twoDecimals.apply(seconds);
}

QString utcText(const QDateTime &time)
{
    // The ISO form to the second, read with a blank between date and time
    // and "UTC" said by whoever shows it.
    QString text = time.toUTC().toString(Qt::ISODate);
    if (text.endsWith(u'Z'))
        text.chop(1);
    if (text.size() > 10 && text[10] == u'T')
        text[10] = u' ';
    return text;
}

QString utcNamedText(const QDateTime &time)
{
    return utcText(time) + QStringLiteral(" UTC");
}

QString rankRowName(const RankRow &row)
{
    return row.thisMachine ? Words::tr("★この機械") : row.name;
}

} // namespace kamorin
