#include "results/JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace kamorin {

namespace {

bool needsEscape(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'"' || u == u'\\' || u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

} // namespace

QString jsonString(QStringView text)
{
    // Most texts need nothing escaped: copied whole rather than a character at a time.
    if (std::none_of(text.begin(), text.end(), needsEscape))
        return u'"' + text.toString() + u'"';
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (needsEscape(c))
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

QString shortestNumberText(double value)
{
    std::array<char, 32> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

QString jsonNumber(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return QStringLiteral("null");
    return shortestNumberText(*value);
}

JsonWriter::JsonWriter(Layout layout, int depth) : m_layout(layout), m_depth(depth) { }

void JsonWriter::newLine(int depth)
{
    m_out += u'\n';
    m_out += QString(4 * depth, u' ');
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_filled.empty())
        return;
    if (m_filled.back())
        m_out += u',';
    if (m_layout == Layout::Indented)
        newLine(m_depth + int(m_filled.size()));
    else if (m_filled.back())
        m_out += u' ';
    m_filled.back() = true;
}

JsonWriter &JsonWriter::key(QStringView name)
{
    beforeValue();
    m_out += jsonString(name);
    m_out += QStringLiteral(": ");
    m_afterKey = true;
    return *this;
}

JsonWriter &JsonWriter::beginObject()
{
    beforeValue();
    m_out += u'{';
    m_filled.push_back(false);
    return *this;
}

JsonWriter &JsonWriter::beginArray()
{
    beforeValue();
    m_out += u'[';
    m_filled.push_back(false);
    return *this;
}

JsonWriter &JsonWriter::close(char16_t bracket)
{
    const bool filled = m_filled.back();
    m_filled.pop_back();
    if (filled && m_layout == Layout::Indented)
        newLine(m_depth + int(m_filled.size()));
    m_out += bracket;
    return *this;
}

JsonWriter &JsonWriter::endObject()
{
    return close(u'}');
}

JsonWriter &JsonWriter::endArray()
{
    return close(u']');
}

JsonWriter &JsonWriter::string(QStringView text)
{
    beforeValue();
    m_out += jsonString(text);
    return *this;
}

JsonWriter &JsonWriter::number(std::optional<double> value)
{
    beforeValue();
    m_out += jsonNumber(value);
    return *this;
}

JsonWriter &JsonWriter::integer(qint64 value)
{
    beforeValue();
    m_out += QString::number(value);
    return *this;
}

JsonWriter &JsonWriter::numberText(QStringView text)
{
    beforeValue();
    m_out += text;
    return *this;
}

JsonWriter &JsonWriter::boolean(bool on)
{
    beforeValue();
    m_out += on ? QStringLiteral("true") : QStringLiteral("false");
    return *this;
}

JsonWriter &JsonWriter::null()
{
    beforeValue();
    m_out += QStringLiteral("null");
    return *this;
}

} // namespace kamorin
