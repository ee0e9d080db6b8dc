#include "formats/TextWidth.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kamorin {

namespace {

// East Asian Width W and F (Unicode 15), first and last of each range.
constexpr std::pair<char32_t, char32_t> kWide[] = {
    { 0x1100, 0x115f },   { 0x231a, 0x231b },   { 0x2329, 0x232a },   { 0x23e9, 0x23ec },
    { 0x23f0, 0x23f0 },   { 0x23f3, 0x23f3 },   { 0x25fd, 0x25fe },   { 0x2614, 0x2615 },
    { 0x2648, 0x2653 },   { 0x267f, 0x267f },   { 0x2693, 0x2693 },   { 0x26a1, 0x26a1 },
    { 0x26aa, 0x26ab },   { 0x26bd, 0x26be },   { 0x26c4, 0x26c5 },   { 0x26ce, 0x26ce },
    { 0x26d4, 0x26d4 },   { 0x26ea, 0x26ea },   { 0x26f2, 0x26f3 },   { 0x26f5, 0x26f5 },
    { 0x26fa, 0x26fa },   { 0x26fd, 0x26fd },   { 0x2705, 0x2705 },   { 0x270a, 0x270b },
    { 0x2728, 0x2728 },   { 0x274c, 0x274c },   { 0x274e, 0x274e },   { 0x2753, 0x2755 },
    { 0x2757, 0x2757 },   { 0x2795, 0x2797 },   { 0x27b0, 0x27b0 },   { 0x27bf, 0x27bf },
    { 0x2b1b, 0x2b1c },   { 0x2b50, 0x2b50 },   { 0x2b55, 0x2b55 },   { 0x2e80, 0x303e },
    { 0x3041, 0x3247 },   { 0x3250, 0x4dbf },   { 0x4e00, 0xa4cf },   { 0xa960, 0xa97f },
    { 0xac00, 0xd7a3 },   { 0xf900, 0xfaff },   { 0xfe10, 0xfe19 },   { 0xfe30, 0xfe6f },
    { 0xff00, 0xff60 },   { 0xffe0, 0xffe6 },   { 0x16fe0, 0x16fe4 }, { 0x16ff0, 0x16ff1 },
    { 0x17000, 0x18cd5 }, { 0x18d00, 0x18d08 }, { 0x1aff0, 0x1b2fb }, { 0x1f004, 0x1f004 },
    { 0x1f0cf, 0x1f0cf }, { 0x1f18e, 0x1f18e }, { 0x1f191, 0x1f19a }, { 0x1f200, 0x1f202 },
    { 0x1f210, 0x1f23b }, { 0x1f240, 0x1f248 }, { 0x1f250, 0x1f251 }, { 0x1f260, 0x1f265 },
    { 0x1f300, 0x1f320 }, { 0x1f32d, 0x1f335 }, { 0x1f337, 0x1f37c }, { 0x1f37e, 0x1f393 },
    { 0x1f3a0, 0x1f3ca }, { 0x1f3cf, 0x1f3d3 }, { 0x1f3e0, 0x1f3f0 }, { 0x1f3f4, 0x1f3f4 },
    { 0x1f3f8, 0x1f43e }, { 0x1f440, 0x1f440 }, { 0x1f442, 0x1f4fc }, { 0x1f4ff, 0x1f53d },
    { 0x1f54b, 0x1f54e }, { 0x1f550, 0x1f567 }, { 0x1f57a, 0x1f57a }, { 0x1f595, 0x1f596 },
    { 0x1f5a4, 0x1f5a4 }, { 0x1f5fb, 0x1f64f }, { 0x1f680, 0x1f6c5 }, { 0x1f6cc, 0x1f6cc },
    { 0x1f6d0, 0x1f6d2 }, { 0x1f6d5, 0x1f6d7 }, { 0x1f6dc, 0x1f6df }, { 0x1f6eb, 0x1f6ec },
    { 0x1f6f4, 0x1f6fc }, { 0x1f7e0, 0x1f7eb }, { 0x1f7f0, 0x1f7f0 }, { 0x1f90c, 0x1f93a },
    { 0x1f93c, 0x1f945 }, { 0x1f947, 0x1f9ff }, { 0x1fa70, 0x1faff }, { 0x20000, 0x2fffd },
    { 0x30000, 0x3fffd },
};

} // namespace

char32_t nextCodePoint(QStringView text, qsizetype &i)
{
    const QChar c = text[i++];
    if (c.isHighSurrogate() && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i++]);
    return c.unicode();
}

int columnsOf(char32_t u)
{
    switch (QChar::category(u)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return 0;
    case QChar::Other_Format:
        // The soft hyphen is shown as a hyphen.
        return u == 0xad ? 1 : 0;
    default:
        break;
    }
    if ((u >= 0x1160 && u <= 0x11ff) || (u >= 0xd7b0 && u <= 0xd7ff))
        return 0;
    const auto after
            = std::upper_bound(std::begin(kWide), std::end(kWide), u,
                               [](char32_t v, const auto &range) { return v < range.first; });
    return after != std::begin(kWide) && u <= std::prev(after)->second ? 2 : 1;
}

int displayColumns(QStringView text)
{
    int columns = 0;
    for (qsizetype i = 0; i < text.size();)
        columns += columnsOf(nextCodePoint(text, i));
    return columns;
}

QString leadingColumns(QStringView text, int columns)
{
    int used = 0;
    qsizetype end = 0;
    for (qsizetype i = 0; i < text.size();) {
        const int width = columnsOf(nextCodePoint(text, i));
        // A mark stays with the character before it, whatever the room.
        if (width > 0 && used + width > columns)
            break;
        used += width;
        end = i;
    }
    return text.left(end).toString();
}

QString cutToColumns(const QString &text, int columns)
{
    if (displayColumns(text) <= columns)
        return text;
    return leadingColumns(text, columns - 1) + u'…';
}

} // namespace kamorin
