#include "cli/Options.h"

#include "mainwindow/Animation.h"
#include "mainwindow/Form1.h"
#include "runtime/RuntimeError.h"
#include "scoring/ReferenceMachineTable.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kamorin {

namespace {

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

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

// A plain decimal number such as 0.5 or 2e1; no blanks, no sign.
std::optional<double> positiveSeconds(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    if (text.isEmpty() || (!text.front().isDigit() && text.front() != u'.'))
        return std::nullopt;
    double value = 0;
    const char *end = bytes.constData() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || !(value > 0)
        || value > kMaxMinimumSeconds)
        return std::nullopt;
    return value;
}

UsageError outOfRange(const QString &option, const QString &value, const QString &rule)
{
    return { option + u' ' + rule + QStringLiteral("（「") + value
             + QStringLiteral("」は使えません）。") };
}

// QCommandLineParser says what went wrong in English; the option it names is
// all that is taken from it.
UsageError grammarError(const QCommandLineParser &parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().front();
        return { QStringLiteral("不明なオプションです: ")
                 + (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name };
    }
    static const QRegularExpression optionInQuotes(QStringLiteral("'([^']*)'"));
    const QString text = parser.errorText();
    const QString option = optionInQuotes.match(text).captured(1);
    if (text.startsWith(QStringLiteral("Missing value")))
        return { option + QStringLiteral(" には値が必要です。") };
    if (text.startsWith(QStringLiteral("Unexpected value")))
        return { option + QStringLiteral(" は値を取りません。") };
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
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption listMachines(QStringLiteral("list-machines"));
    const QCommandLineOption count(QStringLiteral("count"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption unit(QStringLiteral("unit"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption speed(QStringLiteral("speed"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption machine(QStringLiteral("machine"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption runs(QStringLiteral("runs"), {}, QStringLiteral("N"));
    const QCommandLineOption warmup(QStringLiteral("warmup"), {}, QStringLiteral("K"));
    const QCommandLineOption threads(QStringLiteral("threads"), {}, QStringLiteral("N"));
    const QCommandLineOption cpu(QStringLiteral("cpu"), {}, QStringLiteral("K"));
    const QCommandLineOption minTime(QStringLiteral("min-time"), {}, QStringLiteral("SECONDS"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption rank(QStringLiteral("rank"));
    const QCommandLineOption forceThreads(QStringLiteral("force-threads"));
    const QCommandLineOption noProgress(QStringLiteral("no-progress"));

    QCommandLineParser parser;
    parser.addOptions({ help, version, listMachines, count, unit, speed, machine, runs, warmup,
                        threads, cpu, minTime, json, csv, rank, forceThreads, noProgress });
    if (!parser.parse(QStringList { QStringLiteral("kamorin-cli") } + arguments))
        return grammarError(parser);
    if (!parser.positionalArguments().isEmpty())
        return UsageError { QStringLiteral("オプションでない引数は受け付けません: ")
                            + parser.positionalArguments().front() };

    // Each of these does one thing and nothing else.
    for (const auto &[option, command] :
         { std::pair { &help, Command(ShowHelp {}) },
           std::pair { &version, Command(ShowVersion {}) },
           std::pair { &listMachines, Command(ListMachines {}) } }) {
        if (!parser.isSet(*option))
            continue;
        if (parser.optionNames().size() > 1)
            return UsageError { QStringLiteral("--") + option->names().back()
                                + QStringLiteral(" はほかのオプションと同時に指定できません。") };
        return command;
    }

    RunOptions options;
    options.json = parser.isSet(json);
    options.csv = parser.isSet(csv);
    options.rank = parser.isSet(rank);
    options.forceThreads = parser.isSet(forceThreads);
    options.progress = !parser.isSet(noProgress);

    if (parser.isSet(runs)) {
        const auto n = wholeNumber(parser.value(runs), 1, kMaxRuns);
        if (!n)
            return outOfRange(QStringLiteral("--runs"), parser.value(runs),
                              QStringLiteral("には 1 から 1000 までの整数を指定してください"));
        options.series.runs = *n;
    }
    if (parser.isSet(warmup)) {
        const auto n = wholeNumber(parser.value(warmup), 0, kMaxRuns);
        if (!n)
            return outOfRange(QStringLiteral("--warmup"), parser.value(warmup),
                              QStringLiteral("には 0 から 1000 までの整数を指定してください"));
        options.series.warmup = *n;
    }
    if (parser.isSet(threads)) {
        options.threads = wholeNumber(parser.value(threads), 1, kMaxThreads);
        if (!options.threads)
            return outOfRange(QStringLiteral("--threads"), parser.value(threads),
                              QStringLiteral("には 1 から 1024 までの整数を指定してください"));
    }
    if (parser.isSet(cpu)) {
        if (!allDigits(parser.value(cpu)))
            return outOfRange(
                    QStringLiteral("--cpu"), parser.value(cpu),
                    QStringLiteral("には論理 CPU の番号 (0 以上の整数) を指定してください"));
        options.cpu = parser.value(cpu);
    }
    if (parser.isSet(minTime)) {
        const auto seconds = positiveSeconds(parser.value(minTime));
        if (!seconds)
            return outOfRange(
                    QStringLiteral("--min-time"), parser.value(minTime),
                    QStringLiteral("には 0 より大きく 3600 以下の秒数を指定してください"));
        options.minimumSeconds = *seconds;
    }

    if (options.csv && options.json)
        return UsageError { QStringLiteral("--csv と --json は同時に指定できません。") };
    if (options.csv && options.rank)
        return UsageError { QStringLiteral("--csv と --rank は同時に指定できません。") };
    if (options.csv && options.threads)
        return UsageError { QStringLiteral("--csv と --threads は同時に指定できません。") };
    if (options.forceThreads && !options.threads)
        return UsageError { QStringLiteral(
                "--force-threads は --threads と一緒に指定してください。") };

    Form1 form;
    if (parser.isSet(count)) {
        if (parser.value(count) == kAutoCount)
            options.autoCount = true;
        else
            options.series.count = parser.value(count);
    }
    if (parser.isSet(unit)) {
        if (options.autoCount)
            return UsageError { QStringLiteral(
                    "--count auto は単位も選ぶため、--unit と同時に指定できません。") };
        options.series.unit = parser.value(unit);
        // As the window does: any other text counts single passes.
        if (!form.Combo5.list().contains(*options.series.unit))
            options.warnings << QStringLiteral("--unit ") + quoted(*options.series.unit)
                            + QStringLiteral(" は 回, 百回, 千回, 万回, 億回 のどれでもないため、"
                                             "回 として数えます。");
    }
    // A rank or a speed-up needs runs long enough to mean something.
    if ((options.rank || options.threads) && !options.series.count && !options.series.unit)
        options.autoCount = true;
    if (parser.isSet(machine)) {
        options.series.machine = parser.value(machine);
        if (!ReferenceMachineTable::lookup(*options.series.machine))
            return UsageError { QStringLiteral("--machine ") + quoted(*options.series.machine)
                                + QStringLiteral(" は基準機の表にありません"
                                                 "（一覧は --list-machines）。") };
    }
    if (parser.isSet(speed)) {
        options.series.speed = parser.value(speed);
        if (const auto refusal = displaySpeedRefusal(form, *options.series.speed))
            return UsageError { *refusal };
    }
    return options;
}

QString usageText()
{
    return QStringLiteral(
            "使い方: kamorin-cli [--count 回数|auto] [--unit 単位] [--speed 表示速度]\n"
            "                   [--machine 基準機] [--runs N] [--warmup K] [--min-time 秒]\n"
            "                   [--threads N [--force-threads]] [--cpu K]\n"
            "                   [--rank] [--json | --csv] [--no-progress]\n"
            "       kamorin-cli --list-machines | --version | -h | --help\n"
            "\n"
            "Kamorin の計算を画面なしで実行し、結果を表示します。1 秒以上かかった計算は\n"
            "基準機と比べて SCORE を求め、最後に COPY と同じ 4 行の結果を出力します。\n"
            "\n"
            "  --count TEXT     ループ回数の数 (既定: 2000)。auto なら、この機械で\n"
            "                   --min-time 秒以上かかる最小の回数と単位を選びます\n"
            "  --unit TEXT      単位: 回, 百回, 千回, 万回, 億回 (既定: 万回)。\n"
            "                   ほかの文字列は 回 として数えます (警告します)\n"
            "  --speed TEXT     表示速度 0 ～ 5 (既定: 1)\n"
            "  --machine TEXT   比べる基準機の名前 (既定: MMX-Pentium166)\n"
            "  --runs N         記録する計測の回数 1 ～ 1000 (既定: 1)。2 回以上なら\n"
            "                   平均 ± 標準偏差、中央値、最小 … 最大も表示します\n"
            "  --warmup K       記録の前に捨てる計測の回数 0 ～ 1000 (既定: 0)\n"
            "  --min-time 秒    意味のある計測の最短時間 0 < 秒 ≦ 3600 (既定: 1)\n"
            "  --threads N      1 スレッドの計測のあと、N 個の計測を同時に実行して\n"
            "                   マルチコアの速さと速度向上率を求めます (1 ～ 1024、\n"
            "                   N ≦ 論理 CPU 数)。--warmup と --runs の回数だけ繰り返します\n"
            "  --force-threads  論理 CPU 数を超える --threads も受け付けます\n"
            "  --cpu K          1 スレッドの計測を論理 CPU K で実行します\n"
            "  --rank           268 台の基準機とこの機械の順位表を表示します\n"
            "  --json           結果を JSON (UTF-8) で出力します (man kamorin-cli)\n"
            "  --csv            要約の代わりに計測ごとの CSV を出力します\n"
            "  --no-progress    端末に進み具合を表示しません\n"
            "  --list-machines  基準機の一覧 (名前とタブと秒数) を出力します\n"
            "  -h, --help       この説明を表示します\n"
            "  --version        バージョンを表示します\n"
            "\n"
            "--rank と --threads は --count も --unit もなければ --count auto で計測します。\n"
            "端末では計算中に進み具合を標準エラー出力に表示します (TERM=dumb では表示\n"
            "しません)。Ctrl-C (SIGINT) か SIGTERM で計算を中止します。平均負荷が論理\n"
            "CPU 1 個あたり 0.3 を超えるとき、ガバナーが powersave のとき、相対標準偏差\n"
            "が 5 % を超えるとき、--min-time より短い計測で順位や速度向上率を求めたときは\n"
            "警告します。詳しくは man kamorin-cli を参照してください。\n"
            "\n"
            "終了ステータス: 0 成功, 2 実行時エラー, 64 引数の誤り, 71 スレッドやメモリの\n"
            "                不足, 74 出力の失敗, 130 SIGINT で中止, 143 SIGTERM で中止\n");
}

} // namespace kamorin
