#include "cli/OptionRules.h"

#include "cli/MachineName.h"
#include "formats/Format.h"

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

QList<QCommandLineOption> outputFormOptions()
{
    QList<QCommandLineOption> options;
    for (const OutputFormEntry &entry : outputForms())
        if (!entry.option.isEmpty())
            options << QCommandLineOption(entry.option);
    return options;
}

namespace {

UsageError notTogether(const QString &first, const QString &second)
{
    return { Words::tr("--%1 と --%2 は同時に指定できません。").arg(first, second) };
}

} // namespace

std::optional<UsageError> bothOutputForms(const QCommandLineParser &parser)
{
    const OutputFormEntry *first = nullptr;
    for (const OutputFormEntry &entry : outputForms()) {
        if (entry.option.isEmpty() || !parser.isSet(entry.option))
            continue;
        if (first)
            return notTogether(first->option, entry.option);
        first = &entry;
    }
    return std::nullopt;
}

OutputForm outputForm(const QCommandLineParser &parser)
{
    for (const OutputFormEntry &entry : outputForms())
        if (!entry.option.isEmpty() && parser.isSet(entry.option))
            return entry.form;
    return OutputForm::Text;
}

std::optional<UsageError> optionTheFormRefuses(const QCommandLineParser &parser)
{
    const OutputFormEntry &entry = outputFormEntry(outputForm(parser));
    for (const QString &option : entry.refuses)
        if (parser.isSet(option))
            return notTogether(entry.option, option);
    return std::nullopt;
}

std::variant<QString, UsageError> referenceMachineOption(const QString &typed)
{
    const MachineMatch match = matchMachineName(typed);
    if (const auto *found = std::get_if<MachineFound>(&match))
        return found->name;
    const auto quotedNames = [](const QStringList &names) {
        QStringList quotedOnes;
        for (const QString &name : names)
            quotedOnes << quoted(name);
        return quotedOnes.join(QStringLiteral(", "));
    };
    if (const auto *ambiguous = std::get_if<MachineAmbiguous>(&match))
        return UsageError { Words::tr("--machine %1 は基準機の表の %2 のどれとも取れます。"
                                      "どれかを表のとおりに指定してください。")
                                    .arg(quoted(typed), quotedNames(ambiguous->names)) };
    const QStringList &nearest = std::get<MachineUnknown>(match).nearest;
    if (nearest.isEmpty())
        return UsageError {
            Words::tr("--machine %1 は基準機の表にありません（一覧は --list-machines）。")
                    .arg(quoted(typed))
        };
    return UsageError { Words::tr("--machine %1 は基準機の表にありません。近い名前: %2"
                                  "（一覧は --list-machines）。")
                                .arg(quoted(typed), quotedNames(nearest)) };
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
