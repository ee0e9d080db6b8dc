#include "cli/TerminalText.h"

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

} // namespace kamorin
