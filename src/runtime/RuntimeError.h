#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace kamorin {

// The runtime errors the program can meet, by the numbers users know them by.
enum class ErrorNumber : int
{
    InvalidArgument = 5,
    Overflow = 6,
    DivisionByZero = 11,
    TypeMismatch = 13,
    InvalidPropertyValue = 380,
    // The program's own: SCORE against a machine the reference table lacks.
    UnknownReferenceMachine = 1001,
    // The program's own: the user stopped a run before its end.
    Cancelled = 1002,
};

// Raised where an operation fails; it ends the handler that was running, and
// the event dispatch has the platform report it.
class RuntimeError : public std::exception
{
public:
    explicit RuntimeError(ErrorNumber number);
    static RuntimeError unknownReferenceMachine(const QString &name);

    ErrorNumber number() const noexcept { return m_number; }
    // The Japanese message on its own, e.g. 型が一致しません。
    QString message() const;
    // The message as the user sees it: 実行時エラー '13': 型が一致しません。
    // The program's own errors are told in their own words, without a number.
    QString report() const;

    const char *what() const noexcept override;

private:
    RuntimeError(ErrorNumber number, QString subject);

    ErrorNumber m_number;
    QString m_subject;
    // Only for an error with a subject: the others share one text per number.
    QByteArray m_what;
};

} // namespace kamorin
