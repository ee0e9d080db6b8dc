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

// A count held in a double (passes, a loop count), as typed readers take it:
// a whole number is written as a JSON integer, 3000000 and never 3e+06, which
// Go's int and Rust's u64 refuse. Within 2^53 every count is exact; beyond,
// where a double no longer holds every whole number, the digits are those of
// the whole number the double holds, still an integer and reading back as the
// same double. What is not whole is no count: written as a real, so that
// nothing is lost and a schema's integer type catches it. Null as jsonNumber.
QString jsonCount(std::optional<double> value);

// JSON written in the order its members are given, its strings, numbers and
// counts as above: on one line ("a": 1, "b": [1, 2]) for output a script reads, or
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
    JsonWriter &count(std::optional<double> value);
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
