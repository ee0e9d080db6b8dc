#include "results/JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kamorin {

namespace {

bool needsEscape(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'"' || u == u'\\' || u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

// The text is built in a standard string, whose appends the compiler sees
// whole, rather than a QString, a call into Qt for each: a listing of 10,000
// results appends a few million names, strings, numbers and separators, and
// those calls, with a text made for each value, were most of its time.
using Text = std::u16string;

QStringView viewOf(const Text &text)
{
    return QStringView(text.data(), qsizetype(text.size()));
}

void append(Text &out, QStringView text)
{
    out.append(text.utf16(), std::size_t(text.size()));
}

void appendString(Text &out, QStringView text)
{
    out += u'"';
    // Most texts need nothing escaped: copied whole rather than a character at a time.
    if (std::none_of(text.begin(), text.end(), needsEscape)) {
        append(out, text);
        out += u'"';
        return;
    }
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            if (needsEscape(c))
                append(out, QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
            else
                out += c.unicode();
        }
    }
    out += u'"';
}

void appendLatin1(Text &out, const char *begin, const char *end)
{
    out.append(begin, end);
}

void appendNumber(Text &out, double value)
{
    std::array<char, 32> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    appendLatin1(out, buffer.data(), end);
}

void appendJsonNumber(Text &out, std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        out += u"null";
    else
        appendNumber(out, *value);
}

void appendJsonCount(Text &out, std::optional<double> value)
{
    if (!value || !std::isfinite(*value) || *value != std::floor(*value)) {
        appendJsonNumber(out, value);
        return;
    }
    // Fixed notation with no precision gives the shortest digits that read
    // back, which for a whole number are all of its digits; room for the
    // largest double's 309. Zero is 0 whatever its sign.
    std::array<char, 320> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                   *value == 0 ? 0.0 : *value, std::chars_format::fixed)
                             .ptr;
    appendLatin1(out, buffer.data(), end);
}

} // namespace

QString jsonString(QStringView text)
{
    Text out;
    out.reserve(std::size_t(text.size()) + 2);
    appendString(out, text);
    return viewOf(out).toString();
}

QString shortestNumberText(double value)
{
    Text out;
    appendNumber(out, value);
    return viewOf(out).toString();
}

QString jsonNumber(std::optional<double> value)
{
    Text out;
    appendJsonNumber(out, value);
    return viewOf(out).toString();
}

QString jsonCount(std::optional<double> value)
{
    Text out;
    appendJsonCount(out, value);
    return viewOf(out).toString();
}

JsonWriter::JsonWriter(Layout layout, int depth) : m_layout(layout), m_depth(depth) { }

QString JsonWriter::text() const
{
    return viewOf(m_out).toString();
}

QString JsonWriter::takeText()
{
    // Cleared, not handed over: the next piece is written into the same room.
    QString taken = text();
    m_out.clear();
    return taken;
}

void JsonWriter::newLine(int depth)
{
    m_out += u'\n';
    m_out.append(std::size_t(4 * depth), u' ');
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
        m_out += indented ? u"," : u", ";
    if (indented)
        newLine(m_depth + int(m_filled.size()));
    m_filled.back() = true;
}

JsonWriter &JsonWriter::key(QStringView name)
{
    beforeValue();
    appendString(m_out, name);
    m_out += u": ";
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

JsonWriter &JsonWriter::count(std::optional<double> value)
{
    beforeValue();
    appendJsonCount(m_out, value);
    return *this;
}

JsonWriter &JsonWriter::integer(qint64 value)
{
    beforeValue();
    std::array<char, 24> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    appendLatin1(m_out, buffer.data(), end);
    return *this;
}

JsonWriter &JsonWriter::numberText(QStringView text)
{
    beforeValue();
    append(m_out, text);
    return *this;
}

JsonWriter &JsonWriter::boolean(bool on)
{
    beforeValue();
    m_out += on ? u"true" : u"false";
    return *this;
}

JsonWriter &JsonWriter::null()
{
    beforeValue();
    m_out += u"null";
    return *this;
}

} // namespace kamorin
