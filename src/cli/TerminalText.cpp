#include "cli/TerminalText.h"

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

int displayColumns(QStringView text)
{
    int columns = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115f) || (u >= 0x2e80 && u <= 0xa4cf)
                || (u >= 0xac00 && u <= 0xd7a3) || (u >= 0xf900 && u <= 0xfaff)
                || (u >= 0xfe30 && u <= 0xfe4f) || (u >= 0xff00 && u <= 0xff60)
                || (u >= 0xffe0 && u <= 0xffe6);
        columns += wide ? 2 : 1;
    }
    return columns;
}

QString padRight(const QString &text, int columns)
{
    return text + QString(std::max(0, columns - displayColumns(text)), u' ');
}

QString padLeft(const QString &text, int columns)
{
    return QString(std::max(0, columns - displayColumns(text)), u' ') + text;
}

} // namespace kamorin
