#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <vector>

namespace kamorin {

// A JSON string. Beyond what JSON requires, DEL and the C1 controls are
// escaped too, so the output is as safe on a terminal as the text summary.
QString jsonString(QStringView text);

// A JSON number that reads back as exactly the same double; null for a value
// JSON cannot hold (not a number, infinite) or that is missing.
QString jsonNumber(std::optional<double> value);

// The shortest text that reads back as the same double, e.g. 0.1, 2e-05.
QString shortestNumberText(double value);

// JSON written in the order its members are given, its strings and numbers
// as above: on one line ("a": 1, "b": [1, 2]) for output a script reads, or
// indented four spaces a level for a file a person may read and edit. Every
// value of one output goes through one writer, so the same value always has
// the same text.
class JsonWriter
{
public:
    enum class Layout
    {
        OneLine,
        Indented,
    };

    // `depth` is the level the first value stands at, for a value written
    // inside a document written by other means.
    explicit JsonWriter(Layout layout = Layout::OneLine, int depth = 0);

    JsonWriter &beginObject();
    JsonWriter &endObject();
    JsonWriter &beginArray();
    JsonWriter &endArray();
    // The member the next value is of.
    JsonWriter &key(QStringView name);

    JsonWriter &string(QStringView text);
    JsonWriter &number(std::optional<double> value);
    JsonWriter &integer(qint64 value);
    // A number already in JSON's form, as another rule of the program writes it.
    JsonWriter &numberText(QStringView text);
    JsonWriter &boolean(bool on);
    JsonWriter &null();

    QString text() const;
    // The text written since the last call, which the writer then forgets,
    // going on where it stood: for an output handed on in pieces.
    QString takeText();
    // The length of the text not yet taken.
    qsizetype size() const { return qsizetype(m_out.size()); }

private:
    void beforeValue();
    void newLine(int depth);
    JsonWriter &close(char16_t bracket);

    Layout m_layout;
    int m_depth;
    std::u16string m_out;
    // Whether each open object or array has a value yet.
    std::vector<bool> m_filled;
    bool m_afterKey = false;
};

} // namespace kamorin
