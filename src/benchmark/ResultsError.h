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
    explicit ResultsError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    { }

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace kamorin
