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

namespace {

// The options that choose the output's form, and the form each chooses.
const std::pair<const QCommandLineOption *, OutputForm> kOutputForms[] = {
    { &kCsv, OutputForm::Csv },
    { &kJson, OutputForm::Json },
    { &kMarkdown, OutputForm::Markdown },
};

} // namespace

std::optional<UsageError> bothOutputForms(const QCommandLineParser &parser)
{
    const QCommandLineOption *first = nullptr;
    for (const auto &[option, form] : kOutputForms) {
        if (!parser.isSet(*option))
            continue;
        if (first)
            return UsageError { Words::tr("--%1 と --%2 は同時に指定できません。")
                                        .arg(first->names().front(), option->names().front()) };
        first = option;
    }
    return std::nullopt;
}

OutputForm outputForm(const QCommandLineParser &parser)
{
    for (const auto &[option, form] : kOutputForms) {
        if (parser.isSet(*option))
            return form;
    }
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
