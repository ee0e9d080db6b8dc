#include "cli/Options.h"

#include "cli/OptionRules.h"
#include "cli/UnitOption.h"
#include "mainwindow/Animation.h"
#include "mainwindow/Form1.h"
#include "results/ShownText.h"
#include "runtime/RuntimeError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Options)
};

// Plain decimal digits only: no sign, no blanks, no exponent, so "1e3",
// " 2" and "+3" are refused rather than guessed at.
std::optional<int> wholeNumber(const QString &text, int minimum, int maximum)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
}

// What an option of whole numbers takes, worded with its bounds.
QString wholeNumberWanted(int lowest, int highest)
{
    return Words::tr("には %1 から %2 までの整数を指定してください").arg(lowest).arg(highest);
}

std::optional<double> positiveSeconds(const QString &text)
{
    const auto value = plainDecimal(text);
    if (!value || !(*value > 0) || *value > kMaxMinimumSeconds)
        return std::nullopt;
    return value;
}

// QCommandLineParser says what went wrong in English; the option it names is
// all that is taken from it.
UsageError grammarError(const QCommandLineParser &parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().front();
        return { Words::tr("不明なオプションです: %1")
                         .arg((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"))
                              + name) };
    }
    static const QRegularExpression optionInQuotes(QStringLiteral("'([^']*)'"));
    const QString text = parser.errorText();
    const QString option = optionInQuotes.match(text).captured(1);
    if (text.startsWith(QStringLiteral("Missing value")))
        return { Words::tr("%1 には値が必要です。").arg(option) };
    if (text.startsWith(QStringLiteral("Unexpected value")))
        return { Words::tr("%1 は値を取りません。").arg(option) };
    return { text };
}

std::optional<QString> displaySpeedRefusal(Form1 &form, const QString &speed)
{
    form.Combo2.setText(speed);
    try {
        stageRepeatCount(form.Combo2);
    } catch (const RuntimeError &error) {
        return QStringLiteral("--speed ") + quoted(speed) + QStringLiteral(": ") + error.report();
    }
    return std::nullopt;
}

} // namespace

Command parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions({ kHelp,    kVersion,      kListMachines, kCount,   kUnit,    kSpeed,
                        kMachine, kRuns,         kWarmup,       kThreads, kCpu,     kMinTime,
                        kRank,    kForceThreads, kNoProgress,   kSave,    kLabel,   kStore,
                        kReport,  kHistory,      kMachineModel, kForget,  kCompare, kFailIfSlower,
                        kExport,  kImport,       kSkipBad });
    parser.addOptions(outputFormOptions());
    if (!parser.parse(QStringList { QStringLiteral("kamorin-cli") } + arguments))
        return grammarError(parser);

    // Each of these does one thing and nothing else.
    for (const auto &[option, command] :
         { std::pair { &kHelp, Command(ShowHelp {}) },
           std::pair { &kVersion, Command(ShowVersion {}) },
           std::pair { &kListMachines, Command(ListMachines {}) } }) {
        if (!parser.isSet(*option))
            continue;
        if (parser.optionNames().size() > 1 || !parser.positionalArguments().isEmpty())
            return UsageError { Words::tr("--%1 はほかのオプションと同時に指定できません。")
                                        .arg(option->names().back()) };
        return command;
    }

    if (auto command = parseStoreCommand(parser))
        return *command;

    if (!parser.positionalArguments().isEmpty())
        return UsageError { Words::tr("オプションでない引数は受け付けません: %1")
                                    .arg(parser.positionalArguments().front()) };
    if (const auto refusal = storeOnlyOption(parser))
        return *refusal;

    RunOptions options;
    options.form = outputForm(parser);
    options.rank = parser.isSet(kRank);
    options.forceThreads = parser.isSet(kForceThreads);
    options.progress = !parser.isSet(kNoProgress);
    options.save = parser.isSet(kSave);
    options.store = parser.value(kStore);
    if (parser.isSet(kReport))
        options.page = parser.value(kReport);

    if (parser.isSet(kRuns)) {
        const auto n = wholeNumber(parser.value(kRuns), 1, kMaxRuns);
        if (!n)
            return outOfRange(QStringLiteral("--runs"), parser.value(kRuns),
                              wholeNumberWanted(1, kMaxRuns));
        options.series.runs = *n;
    }
    if (parser.isSet(kWarmup)) {
        const auto n = wholeNumber(parser.value(kWarmup), 0, kMaxRuns);
        if (!n)
            return outOfRange(QStringLiteral("--warmup"), parser.value(kWarmup),
                              wholeNumberWanted(0, kMaxRuns));
        options.series.warmup = *n;
    }
    if (parser.isSet(kThreads)) {
        options.threads = wholeNumber(parser.value(kThreads), 1, kMaxThreads);
        if (!options.threads)
            return outOfRange(QStringLiteral("--threads"), parser.value(kThreads),
                              wholeNumberWanted(1, kMaxThreads));
    }
    if (parser.isSet(kCpu)) {
        if (!allDigits(parser.value(kCpu)))
            return outOfRange(QStringLiteral("--cpu"), parser.value(kCpu),
                              Words::tr("には論理 CPU の番号 (0 以上の整数) を指定してください"));
        options.cpu = parser.value(kCpu);
    }
    if (parser.isSet(kMinTime)) {
        const auto seconds = positiveSeconds(parser.value(kMinTime));
        if (!seconds)
            return outOfRange(QStringLiteral("--min-time"), parser.value(kMinTime),
                              Words::tr("には 0 より大きく %1 以下の秒数を指定してください")
                                      .arg(kMaxMinimumSeconds));
        options.minimumSeconds = *seconds;
    }
    if (parser.isSet(kLabel)) {
        if (!options.save && !options.page)
            return UsageError { Words::tr(
                    "--label は --save か --report と一緒に指定してください"
                    "（保存した結果を選ぶときは --history か --export と）。") };
        options.label = parser.value(kLabel);
        if (const auto fault = labelFault(options.label))
            // Not quoted: the label would deceive the terminal as it would the page.
            return UsageError { Words::tr("--label には last 以外の、制御文字、文字の向きを変える"
                                          "制御文字、行区切りと段落区切りを含まない %1 文字以内の"
                                          "文字列を指定してください（%2）。")
                                        .arg(QString::number(kMaxShownTextLength), *fault) };
    }
    if (parser.isSet(kStore) && !options.save && !options.rank && !options.page)
        return UsageError { Words::tr(
                "--store は --save, --rank, --report か、保存した結果を扱うオプション"
                "（--history など）と一緒に指定してください。") };
    if (const auto refusal = emptyValue(parser, { &kStore, &kReport }))
        return *refusal;

    if (const auto refusal = bothOutputForms(parser))
        return *refusal;
    if (const auto refusal = optionTheFormRefuses(parser))
        return *refusal;
    if (options.forceThreads && !options.threads)
        return UsageError { Words::tr("--force-threads は --threads と一緒に指定してください。") };

    Form1 form;
    if (parser.isSet(kCount)) {
        if (parser.value(kCount) == kAutoCount)
            options.autoCount = true;
        else
            options.series.count = parser.value(kCount);
    }
    if (parser.isSet(kUnit)) {
        if (options.autoCount)
            return UsageError { Words::tr(
                    "--count auto は単位も選ぶため、--unit と同時に指定できません。") };
        options.series.unit = loopUnitOfOption(parser.value(kUnit));
        if (!options.series.unit)
            return outOfRange(
                    QStringLiteral("--unit"), parser.value(kUnit),
                    Words::tr("には単位 %1 のどれかを指定してください").arg(loopUnitOptionNames()));
    }
    // A rank or a speed-up needs runs long enough to mean something.
    if ((options.rank || options.threads) && !options.series.count && !options.series.unit)
        options.autoCount = true;
    if (parser.isSet(kMachine)) {
        const auto machine = referenceMachineOption(parser.value(kMachine));
        if (const auto *refusal = std::get_if<UsageError>(&machine))
            return *refusal;
        options.series.machine = std::get<QString>(machine);
    }
    if (parser.isSet(kSpeed)) {
        options.series.speed = parser.value(kSpeed);
        if (const auto refusal = displaySpeedRefusal(form, *options.series.speed))
            return UsageError { *refusal };
    }
    return options;
}

} // namespace kamorin
