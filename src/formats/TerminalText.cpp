#include "formats/TerminalText.h"

#include <algorithm>

namespace kamorin {

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

QString escaped(QStringView text, bool keepLineBreaks)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!isControl(u) || (keepLineBreaks && u == u'\n')) {
            out += c;
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        out += QStringLiteral("\\x");
        out += QLatin1Char(kHex[u >> 4]);
        out += QLatin1Char(kHex[u & 0xf]);
    }
    return out;
}

} // namespace

QString escapeControls(QStringView text)
{
    return escaped(text, false);
}

QString escapeControlsKeepingLines(QStringView text)
{
    return escaped(text, true);
}

QString padRight(const QString &text, int columns)
{
    return text + QString(std::max(0, columns - displayColumns(text)), u' ');
}

QString padLeft(const QString &text, int columns)
{
    return QString(std::max(0, columns - displayColumns(text)), u' ') + text;
}

QString alignedLines(const LabelledLines &lines)
{
    int width = 0;
    for (const auto &[label, value] : lines)
        width = std::max(width, displayColumns(label));
    QString out;
    for (const auto &[label, value] : lines)
        out += padRight(label, width) + QStringLiteral("  ") + value + u'\n';
    return out;
}

namespace {

std::vector<int> columnWidths(const std::vector<QStringList> &rows, std::size_t count)
{
    std::vector<int> widths(count, 0);
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size() && std::size_t(i) < widths.size(); ++i)
            widths[std::size_t(i)] = std::max(widths[std::size_t(i)], displayColumns(row[i]));
    }
    return widths;
}

} // namespace

std::vector<QStringList> fitToColumns(std::vector<QStringList> rows,
                                      const std::vector<int> &narrowest, int columns)
{
    const std::vector<int> whole = columnWidths(rows, narrowest.size());
    std::vector<int> widths = whole;
    int shown = 2 * std::max(0, int(widths.size()) - 1);
    for (const int width : widths)
        shown += width;
    while (shown > columns) {
        std::size_t widest = widths.size();
        for (std::size_t i = 0; i < widths.size(); ++i)
            if (narrowest[i] > 0 && widths[i] > narrowest[i]
                && (widest == widths.size() || widths[i] > widths[widest]))
                widest = i;
        if (widest == widths.size())
            break;
        --widths[widest];
        --shown;
    }
    for (QStringList &row : rows)
        for (qsizetype i = 0; i < row.size() && std::size_t(i) < widths.size(); ++i)
            if (widths[std::size_t(i)] < whole[std::size_t(i)])
                row[i] = cutToColumns(row[i], widths[std::size_t(i)]);
    return rows;
}

QString table(const std::vector<QStringList> &rows, const std::vector<bool> &rightAligned)
{
    const std::vector<int> widths = columnWidths(rows, rightAligned.size());
    QString out;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size() && std::size_t(i) < widths.size(); ++i) {
            const std::size_t column = std::size_t(i);
            if (i > 0)
                line += QStringLiteral("  ");
            line += rightAligned[column] ? padLeft(row[i], widths[column])
                                         : padRight(row[i], widths[column]);
        }
        while (line.endsWith(u' '))
            line.chop(1);
        out += line + u'\n';
    }
    return out;
}

} // namespace kamorin
