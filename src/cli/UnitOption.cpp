#include "cli/UnitOption.h"

#include "mainwindow/LoopUnits.h"

#include <QStringList>

#include <string_view>

namespace kamorin {

namespace {

// The ASCII names, each beside the window's unit it stands for; the
// multiplier comes from the window's own table, so the two cannot differ.
struct AsciiUnitName
{
    std::u16string_view name;
    std::u16string_view unit;
};

constexpr AsciiUnitName kAsciiUnitNames[] {
    { u"1", u"回" },      { u"100", u"百回" }, { u"1k", u"千回" },
    { u"1000", u"千回" }, { u"10k", u"万回" }, { u"10000", u"万回" },
    { u"100M", u"億回" }, { u"1e8", u"億回" }, { u"100000000", u"億回" },
};

QString textOf(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

QStringList asciiNamesOf(const LoopUnit &unit)
{
    QStringList names;
    for (const AsciiUnitName &ascii : kAsciiUnitNames)
        if (ascii.unit == unit.name)
            names << textOf(ascii.name);
    return names;
}

} // namespace

std::optional<QString> loopUnitOfOption(const QString &typed)
{
    if (loopUnitFactor(typed))
        return typed;
    for (const AsciiUnitName &ascii : kAsciiUnitNames)
        if (typed == textOf(ascii.name))
            return textOf(ascii.unit);
    return std::nullopt;
}

QString loopUnitOptionNames()
{
    QStringList units;
    for (const LoopUnit &unit : kLoopUnits)
        units << QString::fromUtf16(unit.name) + QStringLiteral(" (")
                        + asciiNamesOf(unit).join(u", ") + u')';
    return units.join(u", ");
}

QString loopUnitOptionHelp(qsizetype column)
{
    // A unit's characters take two columns each on a terminal; the ASCII names
    // after them line up however wide the unit is.
    constexpr qsizetype kUnitColumns = 6;
    constexpr qsizetype kNamesColumns = 22;
    QString lines;
    for (const LoopUnit &unit : kLoopUnits) {
        const QString name = QString::fromUtf16(unit.name);
        lines += QString(column, u' ') + name + QString(kUnitColumns - 2 * name.size(), u' ')
                + asciiNamesOf(unit).join(u", ").leftJustified(kNamesColumns) + u'×'
                + QString::number(unit.factor) + u'\n';
    }
    return lines;
}

} // namespace kamorin
