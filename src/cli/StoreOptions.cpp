#include "cli/OptionRules.h"
#include "mainwindow/Form1.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreOptions)
};

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The store commands, and what each takes besides itself.
struct StoreCommandRule
{
    const QCommandLineOption *option;
    QStringList permitted;
};

const std::vector<StoreCommandRule> &storeCommandRules()
{
    static const std::vector<StoreCommandRule> rules = [] {
        // A listing and a comparison are written in every output form.
        QStringList forms;
        for (const QCommandLineOption &option : outputFormOptions())
            forms << option.names();
        return std::vector<StoreCommandRule> {
            { &kHistory,
              QStringList { QStringLiteral("label"), QStringLiteral("machine-model"),
                            QStringLiteral("machine"), QStringLiteral("store") }
                      + forms },
            { &kForget, { QStringLiteral("store") } },
            { &kCompare,
              QStringList { QStringLiteral("fail-if-slower"), QStringLiteral("report"),
                            QStringLiteral("store") }
                      + forms },
            { &kExport,
              { QStringLiteral("label"), QStringLiteral("machine-model"),
                QStringLiteral("store") } },
            { &kImport, { QStringLiteral("store"), QStringLiteral("skip-bad") } },
        };
    }();
    return rules;
}

HistoryFilter filterOf(const QCommandLineParser &parser)
{
    HistoryFilter filter;
    if (parser.isSet(kLabel))
        filter.label = parser.value(kLabel);
    if (parser.isSet(kMachineModel))
        filter.machineModel = parser.value(kMachineModel);
    return filter;
}

Command storeCommand(const QCommandLineParser &parser, const StoreCommandRule &rule)
{
    const QString command = rule.option->names().front();
    for (const QString &name : parser.optionNames()) {
        if (name != command && !rule.permitted.contains(name))
            return UsageError {
                Words::tr("%1 は --%2 と同時に指定できません。").arg(dashed(name), command)
            };
    }
    QStringList operands = parser.values(*rule.option) + parser.positionalArguments();
    if (rule.option != &kCompare && rule.option != &kImport)
        operands = parser.positionalArguments();
    if (rule.option == &kCompare && operands.size() != 2)
        return UsageError { Words::tr("--compare には比べる 2 つの結果 (ID かラベル、"
                                      "最後に保存したものは last) を指定してください。") };
    if (rule.option != &kCompare && rule.option != &kImport && !operands.isEmpty())
        return UsageError {
            Words::tr("オプションでない引数は受け付けません: %1").arg(operands.front())
        };
    if (const auto refusal = bothOutputForms(parser))
        return *refusal;
    if (const auto refusal
        = emptyValue(parser, { &kForget, &kExport, &kImport, &kReport, &kStore }))
        return *refusal;

    const QString store = parser.value(kStore);
    if (rule.option == &kHistory) {
        ShowHistory history { store, filterOf(parser), Form1().Combo3.text(), outputForm(parser) };
        if (parser.isSet(kMachine)) {
            const auto machine = referenceMachineOption(parser.value(kMachine));
            if (const auto *refusal = std::get_if<UsageError>(&machine))
                return *refusal;
            history.machine = std::get<QString>(machine);
        }
        return StoreCommand(history);
    }
    if (rule.option == &kForget)
        return StoreCommand(ForgetResult { store, parser.value(kForget) });
    if (rule.option == &kCompare) {
        CompareResults compare { store,        operands[0],        operands[1],
                                 std::nullopt, outputForm(parser), std::nullopt };
        if (parser.isSet(kFailIfSlower)) {
            compare.failIfSlowerPercent = plainDecimal(parser.value(kFailIfSlower));
            if (!compare.failIfSlowerPercent
                || *compare.failIfSlowerPercent > kMaxFailIfSlowerPercent)
                return outOfRange(QStringLiteral("--fail-if-slower"), parser.value(kFailIfSlower),
                                  Words::tr("には 0 以上 %1 以下の百分率を指定してください")
                                          .arg(kMaxFailIfSlowerPercent));
        }
        if (parser.isSet(kReport))
            compare.page = parser.value(kReport);
        return StoreCommand(compare);
    }
    if (rule.option == &kExport)
        return StoreCommand(ExportResults { store, parser.value(kExport), filterOf(parser) });
    for (const QString &file : operands) {
        if (file.isEmpty())
            return UsageError { Words::tr("--import には空でないファイル名を指定してください。") };
    }
    // The second would read nothing: the first has read stdin to its end.
    if (operands.count(QStringLiteral("-")) > 1)
        return UsageError { Words::tr("--import の「-」（標準入力）は 1 回だけ指定できます。") };
    return StoreCommand(ImportResults { store, operands, parser.isSet(kSkipBad) });
}

} // namespace

std::optional<Command> parseStoreCommand(const QCommandLineParser &parser)
{
    // One store command at most; it runs nothing.
    const StoreCommandRule *chosen = nullptr;
    for (const StoreCommandRule &rule : storeCommandRules()) {
        if (!parser.isSet(*rule.option))
            continue;
        if (chosen)
            return UsageError { Words::tr("--%1 と --%2 は同時に指定できません。")
                                        .arg(chosen->option->names().front(),
                                             rule.option->names().front()) };
        chosen = &rule;
    }
    if (!chosen)
        return std::nullopt;
    return storeCommand(parser, *chosen);
}

// What only the store commands take, refused with a run.
std::optional<UsageError> storeOnlyOption(const QCommandLineParser &parser)
{
    if (parser.isSet(kMachineModel))
        return UsageError { Words::tr(
                "--machine-model は --history か --export と一緒に指定してください。") };
    if (parser.isSet(kFailIfSlower))
        return UsageError { Words::tr("--fail-if-slower は --compare と一緒に指定してください。") };
    if (parser.isSet(kSkipBad))
        return UsageError { Words::tr("--skip-bad は --import と一緒に指定してください。") };
    return std::nullopt;
}

} // namespace kamorin
