#include "formats/Json.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

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

QString jsonString(const QString &text)
{
    // Most texts need nothing escaped: copied whole rather than a character at a time.
    if (std::none_of(text.begin(), text.end(), needsEscape))
        return u'"' + text + u'"';
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
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
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

void appendJsonValue(QString &out, const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        out += value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        return;
    case QJsonValue::Double:
        out += jsonNumber(value.toDouble());
        return;
    case QJsonValue::String:
        out += jsonString(value.toString());
        return;
    case QJsonValue::Array: {
        out += u'[';
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (i > 0)
                out += QStringLiteral(", ");
            appendJsonValue(out, array[i]);
        }
        out += u']';
        return;
    }
    case QJsonValue::Object: {
        out += u'{';
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it != object.begin())
                out += QStringLiteral(", ");
            out += jsonString(it.key());
            out += QStringLiteral(": ");
            appendJsonValue(out, it.value());
        }
        out += u'}';
        return;
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    out += QStringLiteral("null");
}

QString jsonValue(const QJsonValue &value)
{
    QString out;
    appendJsonValue(out, value);
    return out;
}

} // namespace kamorin
