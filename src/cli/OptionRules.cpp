#include "cli/OptionRules.h"

#include "scoring/ReferenceMachineTable.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(OptionRules)
};

} // namespace

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

std::optional<double> plainDecimal(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    if (text.isEmpty() || (!text.front().isDigit() && text.front() != u'.'))
        return std::nullopt;
    double value = 0;
    const char *end = bytes.constData() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

UsageError outOfRange(const QString &option, const QString &value, const QString &rule)
{
    return { Words::tr("%1 %2（「%3」は使えません）。").arg(option, rule, value) };
}

std::optional<UsageError> bothOutputForms(const QCommandLineParser &parser)
{
    if (parser.isSet(kCsv) && parser.isSet(kJson))
        return UsageError { Words::tr("--csv と --json は同時に指定できません。") };
    return std::nullopt;
}

OutputForm outputForm(const QCommandLineParser &parser)
{
    if (parser.isSet(kJson))
        return OutputForm::Json;
    if (parser.isSet(kCsv))
        return OutputForm::Csv;
    return OutputForm::Text;
}

std::optional<UsageError> machineRefusal(const QString &machine)
{
    if (ReferenceMachineTable::lookup(machine))
        return std::nullopt;
    return UsageError { Words::tr(
                                "--machine %1 は基準機の表にありません（一覧は --list-machines）。")
                                .arg(quoted(machine)) };
}

std::optional<UsageError> emptyValue(const QCommandLineParser &parser,
                                     std::initializer_list<const QCommandLineOption *> options)
{
    for (const QCommandLineOption *option : options) {
        if (parser.isSet(*option) && parser.value(*option).isEmpty())
            return UsageError {
                Words::tr("--%1 には空でない値を指定してください。").arg(option->names().front())
            };
    }
    return std::nullopt;
}

} // namespace kamorin
