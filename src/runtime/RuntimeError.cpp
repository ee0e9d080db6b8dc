#include "runtime/RuntimeError.h"

#include <utility>

namespace kamorin {

RuntimeError::RuntimeError(ErrorNumber number) : RuntimeError(number, QString()) { }

RuntimeError::RuntimeError(ErrorNumber number, QString subject)
    : m_number(number), m_subject(std::move(subject)), m_what(report().toUtf8())
{ }

RuntimeError RuntimeError::unknownReferenceMachine(const QString &name)
{
    return RuntimeError(ErrorNumber::UnknownReferenceMachine, name);
}

QString RuntimeError::message() const
{
    switch (m_number) {
    case ErrorNumber::InvalidArgument:
        return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case ErrorNumber::Overflow:
        return QStringLiteral("オーバーフローしました。");
    case ErrorNumber::DivisionByZero:
        return QStringLiteral("0 で除算しました。");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("型が一致しません。");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("プロパティの値が不正です。");
    case ErrorNumber::UnknownReferenceMachine:
        return QStringLiteral("基準機「%1」は登録されていません。").arg(m_subject);
    case ErrorNumber::Cancelled:
        return QStringLiteral("計算を中止しました。");
    }
    return {};
}

QString RuntimeError::report() const
{
    if (m_number == ErrorNumber::UnknownReferenceMachine || m_number == ErrorNumber::Cancelled)
        return message();
    return QStringLiteral("実行時エラー '%1': %2").arg(static_cast<int>(m_number)).arg(message());
}

const char *RuntimeError::what() const noexcept
{
    return m_what.constData();
}

} // namespace kamorin
