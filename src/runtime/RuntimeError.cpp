#include "runtime/RuntimeError.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <utility>

namespace kamorin {

namespace {

constexpr std::array kErrorNumbers {
    ErrorNumber::InvalidArgument,
    ErrorNumber::Overflow,
    ErrorNumber::DivisionByZero,
    ErrorNumber::TypeMismatch,
    ErrorNumber::InvalidPropertyValue,
    ErrorNumber::UnknownReferenceMachine,
    ErrorNumber::Cancelled,
};

QString worded(const char *text, RuntimeError::Words words)
{
    return words == RuntimeError::Words::Own ? QString::fromUtf8(text)
                                             : QCoreApplication::translate("RuntimeError", text);
}

} // namespace

RuntimeError::RuntimeError(ErrorNumber number) : m_number(number) { }

// Only an error with a subject keeps its own report; it is rare enough to
// put together at once.
RuntimeError::RuntimeError(ErrorNumber number, QString subject)
    : m_number(number), m_subject(std::move(subject)), m_what(report().toUtf8())
{ }

RuntimeError RuntimeError::unknownReferenceMachine(const QString &name)
{
    return RuntimeError(ErrorNumber::UnknownReferenceMachine, name);
}

QString RuntimeError::message(Words words) const
{
    switch (m_number) {
    case ErrorNumber::InvalidArgument:
        return worded(
                QT_TRANSLATE_NOOP("RuntimeError", "プロシージャの呼び出し、または引数が不正です。"),
                words);
    case ErrorNumber::Overflow:
        return worded(QT_TRANSLATE_NOOP("RuntimeError", "オーバーフローしました。"), words);
    case ErrorNumber::DivisionByZero:
        return worded(QT_TRANSLATE_NOOP("RuntimeError", "0 で除算しました。"), words);
    case ErrorNumber::TypeMismatch:
        return worded(QT_TRANSLATE_NOOP("RuntimeError", "型が一致しません。"), words);
    case ErrorNumber::InvalidPropertyValue:
        return worded(QT_TRANSLATE_NOOP("RuntimeError", "プロパティの値が不正です。"), words);
    case ErrorNumber::UnknownReferenceMachine:
        return worded(QT_TRANSLATE_NOOP("RuntimeError", "基準機「%1」は登録されていません。"),
                      words)
                .arg(m_subject);
    case ErrorNumber::Cancelled:
        return worded(QT_TRANSLATE_NOOP("RuntimeError", "計算を中止しました。"), words);
    }
    return {};
}

QString RuntimeError::report(Words words) const
{
    if (m_number == ErrorNumber::UnknownReferenceMachine || m_number == ErrorNumber::Cancelled)
        return message(words);
    return worded(QT_TRANSLATE_NOOP("RuntimeError", "実行時エラー '%1': %2"), words)
            .arg(static_cast<int>(m_number))
            .arg(message(words));
}

const char *RuntimeError::what() const noexcept
{
    if (!m_what.isEmpty())
        return m_what.constData();
    // Without a subject the report depends on the number alone, so each is
    // made once, when first read: most errors are caught and passed over
    // (a text that is no number), and raising one then costs no text at all.
    static const auto reports = [] {
        std::array<QByteArray, kErrorNumbers.size()> texts;
        for (std::size_t i = 0; i < texts.size(); ++i)
            texts[i] = RuntimeError(kErrorNumbers[i]).report().toUtf8();
        return texts;
    }();
    const auto found = std::find(kErrorNumbers.begin(), kErrorNumbers.end(), m_number);
    return found == kErrorNumbers.end()
            ? ""
            : reports[static_cast<std::size_t>(found - kErrorNumbers.begin())].constData();
}

} // namespace kamorin
