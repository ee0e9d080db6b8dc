#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

namespace kamorin {

// A results store that cannot be opened, read or written, a file that is not
// one, or a results file that cannot be imported; the message is in Japanese
// and names the file and what is wrong.
class ResultsError : public std::exception
{
public:
    // What went wrong, so that a front can tell a script which.
    enum class Kind
    {
        // The store cannot be opened, created, read or written, or is not ours.
        Store,
        // A results file is unreadable, malformed or doubtful.
        Document,
        // No result fits the id or label given.
        NoSuchResult,
        // The text given fits more than one result (an id prefix several ids
        // start with, or a label and the start of another result's id), or
        // two texts name one result where two are wanted: the words given
        // are at fault, not the store, which lacks nothing.
        Ambiguous,
    };

    explicit ResultsError(QString message, Kind kind = Kind::Store)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()), m_kind(kind)
    { }

    const QString &message() const { return m_message; }
    Kind kind() const { return m_kind; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
    Kind m_kind;
};

} // namespace kamorin
