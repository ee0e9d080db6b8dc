#include "formats/FigureText.h"

#include "benchmark/Ranking.h"
#include "formats/UiLanguage.h"
#include "results/JsonWriter.h"
#include "runtime/Format.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(FigureText)
};

QString passesText(double passes)
{
    return std::abs(passes) < 1e15 ? QString::number(passes, 'f', 0) : shortestNumberText(passes);
}

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

QString countText(double count)
{
    // Japanese, the window's own language, writes counts in plain digits; a
    // reader of another language expects them grouped by thousands.
    const QString language = uiLanguageTag();
    if (language == u"ja" || !(std::abs(count) < 1e15) || count != std::floor(count))
        return passesText(count);
    return QLocale(language).toString(static_cast<qlonglong>(count));
}

int numerusOf(double count)
{
    if (std::abs(count) <= std::numeric_limits<int>::max())
        return static_cast<int>(count);
    return 1000000 + static_cast<int>(std::fmod(std::abs(count), 1e6));
}

QString countText(const QString &digits)
{
    static const QRegularExpression whole(QStringLiteral("^[0-9]{1,15}$"));
    return whole.match(digits).hasMatch() ? countText(digits.toDouble()) : digits;
}

QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 4);
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

QString savedMachinePlace(const QString &host, const QString &label)
{
    return label.isEmpty() ? host : Words::tr("%1、%2").arg(host, label);
}

QString savedMachineText(const QString &model, const QString &host, const QString &label)
{
    return Words::tr("[保存] %1（%2）").arg(model, savedMachinePlace(host, label));
}

QString rankRowName(const RankRow &row)
{
    if (row.thisMachine)
        return Words::tr("★この機械");
    if (row.saved)
        return savedMachineText(row.saved->cpuModel, row.saved->host, row.saved->label);
    return row.name;
}

QString rankRowOwnName(const RankRow &row)
{
    if (row.thisMachine)
        return QStringLiteral("★この機械");
    if (!row.saved)
        return row.name;
    QString place = row.saved->host;
    if (!row.saved->label.isEmpty())
        place += u'、' + row.saved->label;
    return row.saved->cpuModel + u'（' + place + u'）';
}

} // namespace kamorin
