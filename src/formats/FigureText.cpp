#include "formats/FigureText.h"

#include "results/JsonWriter.h"
#include "runtime/Format.h"

#include <cmath>

namespace kamorin {

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

} // namespace kamorin
