#include "results/JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace kamorin {

namespace {

bool needsEscape(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'"' || u == u'\\' || u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

// The appends below grow `out` once for all their parts and copy them in,
// rather than make texts of their own or add a character at a time: a
// listing of 10,000 results writes half a million names, strings and
// numbers, and those allocations and calls were most of its time.
void appendParts(QString &out, std::initializer_list<QStringView> parts)
{
    qsizetype size = 0;
    for (const QStringView part : parts)
        size += part.size();
    const qsizetype at = out.size();
    out.resize(at + size);
    QChar *to = out.data() + at;
    for (const QStringView part : parts)
        to = std::copy(part.begin(), part.end(), to);
}

// `after` follows the closing quote.
void appendString(QString &out, QStringView text, QStringView after = {})
{
    // Most texts need nothing escaped: copied whole rather than a character at a time.
    if (std::none_of(text.begin(), text.end(), needsEscape)) {
        appendParts(out, { u"\"", text, u"\"", after });
        return;
    }
    out += u'"';
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
    appendParts(out, { u"\"", after });
}

void appendNumber(QString &out, double value)
{
    std::array<char, 32> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    const qsizetype at = out.size();
    out.resize(at + (end - buffer.data()));
    std::transform(buffer.data(), end, out.data() + at, [](char c) { return QLatin1Char(c); });
}

void appendJsonNumber(QString &out, std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        out += QStringLiteral("null");
    else
        appendNumber(out, *value);
}

} // namespace

QString jsonString(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    appendString(out, text);
    return out;
}

QString shortestNumberText(double value)
{
    QString out;
    appendNumber(out, value);
    return out;
}

QString jsonNumber(std::optional<double> value)
{
    QString out;
    appendJsonNumber(out, value);
    return out;
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
    const bool indented = m_layout == Layout::Indented;
    if (m_filled.back())
        m_out += indented ? QStringView(u",") : QStringView(u", ");
    if (indented)
        newLine(m_depth + int(m_filled.size()));
    m_filled.back() = true;
}

JsonWriter &JsonWriter::key(QStringView name)
{
    beforeValue();
    appendString(m_out, name, u": ");
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
    appendString(m_out, text);
    return *this;
}

JsonWriter &JsonWriter::number(std::optional<double> value)
{
    beforeValue();
    appendJsonNumber(m_out, value);
    return *this;
}

QString JsonWriter::takeText()
{
    return std::exchange(m_out, QString());
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
