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

    // Whether a text is in the language of the translation installed (none in
    // the window, so Japanese there), or in the program's own Japanese
    // whatever is installed, for a text that is data, such as a value in JSON.
    enum class Words
    {
        Translated,
        Own,
    };

    ErrorNumber number() const noexcept { return m_number; }
    // The message on its own, e.g. 型が一致しません。
    QString message(Words words = Words::Translated) const;
    // The message as the user sees it: 実行時エラー '13': 型が一致しません。
    // The program's own errors are told in their own words, without a number.
    QString report(Words words = Words::Translated) const;

    const char *what() const noexcept override;

private:
    RuntimeError(ErrorNumber number, QString subject);

    ErrorNumber m_number;
    QString m_subject;
    // Only for an error with a subject: the others share one text per number.
    QByteArray m_what;
};

} // namespace kamorin
