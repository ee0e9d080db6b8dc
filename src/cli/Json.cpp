#include "cli/Json.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>

namespace kamorin {

QString jsonString(const QString &text)
{
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

QString jsonValue(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return jsonNumber(value.toDouble());
    case QJsonValue::String:
        return jsonString(value.toString());
    case QJsonValue::Array: {
        QStringList items;
        for (const QJsonValue &item : value.toArray())
            items << jsonValue(item);
        return u'[' + items.join(QStringLiteral(", ")) + u']';
    }
    case QJsonValue::Object: {
        QStringList members;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            members << jsonString(it.key()) + QStringLiteral(": ") + jsonValue(it.value());
        return u'{' + members.join(QStringLiteral(", ")) + u'}';
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

} // namespace kamorin
