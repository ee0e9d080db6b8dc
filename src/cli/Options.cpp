#include "cli/Options.h"

#include <array>
#include <functional>

namespace kamorin {

namespace {

struct TextOption
{
    QLatin1StringView name;
    std::optional<QString> SeriesPlan::*target;
};

const std::array<TextOption, 4> kTextOptions { {
        { QLatin1StringView("--count"), &SeriesPlan::count },
        { QLatin1StringView("--unit"), &SeriesPlan::unit },
        { QLatin1StringView("--speed"), &SeriesPlan::speed },
        { QLatin1StringView("--machine"), &SeriesPlan::machine },
} };

struct NumberOption
{
    QLatin1StringView name;
    int minimum;
    int maximum;
    std::function<void(RunOptions &, int)> assign;
    const char *rule;
};

const std::array<NumberOption, 4> kNumberOptions { {
        { QLatin1StringView("--runs"), 1, kMaxRuns, [](RunOptions &o, int n) { o.series.runs = n; },
          "には 1 から 1000 までの整数を指定してください" },
        { QLatin1StringView("--warmup"), 0, kMaxRuns,
          [](RunOptions &o, int n) { o.series.warmup = n; },
          "には 0 から 1000 までの整数を指定してください" },
        { QLatin1StringView("--threads"), 1, kMaxThreads,
          [](RunOptions &o, int n) { o.threads = n; },
          "には 1 から 1024 までの整数を指定してください" },
        // Whether the CPU exists is the machine's to say, once the options are read.
        { QLatin1StringView("--cpu"), 0, 1 << 20, [](RunOptions &o, int n) { o.cpu = n; },
          "には論理 CPU の番号 (0 以上の整数) を指定してください" },
} };

const std::array<std::pair<QLatin1StringView, bool RunOptions::*>, 4> kFlags { {
        { QLatin1StringView("--json"), &RunOptions::json },
        { QLatin1StringView("--csv"), &RunOptions::csv },
        { QLatin1StringView("--rank"), &RunOptions::rank },
        { QLatin1StringView("--force-threads"), &RunOptions::forceThreads },
} };

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

// The value of `name` at arguments[i], as "--name VALUE" or "--name=VALUE";
// none when the argument is another option. Sets `missing` when the value
// should follow but the arguments end.
std::optional<QString> valueOf(QLatin1StringView name, const QStringList &arguments, qsizetype &i,
                               bool &missing)
{
    const QString &argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size()) {
            missing = true;
            return std::nullopt;
        }
        return arguments[++i];
    }
    if (argument.startsWith(name + u'='))
        return argument.mid(name.size() + 1);
    return std::nullopt;
}

std::optional<QString> conflictIn(const RunOptions &options)
{
    if (options.csv && options.json)
        return QStringLiteral("--csv と --json は同時に指定できません。");
    if (options.csv && options.rank)
        return QStringLiteral("--csv と --rank は同時に指定できません。");
    if (options.csv && options.threads)
        return QStringLiteral("--csv と --threads は同時に指定できません。");
    return std::nullopt;
}

} // namespace

Command parseCommandLine(const QStringList &arguments)
{
    RunOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--help" || argument == u"-h")
            return ShowHelp {};
        if (argument == u"--version")
            return ShowVersion {};
        if (argument == u"--list-machines")
            return ListMachines {};

        bool matched = false;
        for (const auto &[name, flag] : kFlags) {
            if (argument == name) {
                options.*flag = true;
                matched = true;
            }
        }
        bool missing = false;
        for (const TextOption &option : kTextOptions) {
            if (matched)
                break;
            if (auto value = valueOf(option.name, arguments, i, missing)) {
                options.series.*(option.target) = *value;
                matched = true;
            }
        }
        for (const NumberOption &option : kNumberOptions) {
            if (matched || missing)
                break;
            if (const auto value = valueOf(option.name, arguments, i, missing)) {
                const auto number = wholeNumber(*value, option.minimum, option.maximum);
                if (!number)
                    return UsageError { option.name + u' ' + QString::fromUtf8(option.rule)
                                        + QStringLiteral("（「") + *value
                                        + QStringLiteral("」は使えません）。") };
                option.assign(options, *number);
                matched = true;
            }
        }
        if (missing)
            return UsageError { argument + QStringLiteral(" には値が必要です。") };
        if (!matched)
            return UsageError { QStringLiteral("不明な引数です: ") + argument };
    }
    if (const auto conflict = conflictIn(options))
        return UsageError { *conflict };
    return options;
}

QString usageText()
{
    return QStringLiteral(
            "使い方: kamorin-cli [--count 回数] [--unit 単位] [--speed 表示速度]\n"
            "                   [--machine 基準機] [--runs N] [--warmup K]\n"
            "                   [--threads N [--force-threads]] [--cpu K]\n"
            "                   [--rank] [--json | --csv]\n"
            "       kamorin-cli --list-machines\n"
            "\n"
            "Kamorin の計算を画面なしで実行し、結果を表示します。1 秒以上かかった計算は\n"
            "基準機と比べて SCORE を求め、最後に COPY と同じ 4 行の結果を出力します。\n"
            "\n"
            "  --count TEXT     ループ回数の数 (既定: 2000)\n"
            "  --unit TEXT      単位: 回, 百回, 千回, 万回, 億回 (既定: 万回)\n"
            "  --speed TEXT     表示速度 0 ～ 5 (既定: 1)\n"
            "  --machine TEXT   比べる基準機の名前 (既定: MMX-Pentium166)\n"
            "  --runs N         記録する計測の回数 1 ～ 1000 (既定: 1)。2 回以上なら\n"
            "                   平均 ± 標準偏差、中央値、最小 … 最大も表示します\n"
            "  --warmup K       記録の前に捨てる計測の回数 0 ～ 1000 (既定: 0)\n"
            "  --threads N      1 スレッドの計測のあと、N 個の計測を同時に実行して\n"
            "                   マルチコアの速さと速度向上率を求めます (N ≦ 論理 CPU 数)\n"
            "  --force-threads  論理 CPU 数を超える --threads も受け付けます\n"
            "  --cpu K          1 スレッドの計測を論理 CPU K で実行します\n"
            "  --rank           268 台の基準機とこの機械の順位表を表示します\n"
            "  --json           結果を JSON (UTF-8) で出力します。ウィンドウの内容のほか\n"
            "                   runs (計測ごとの seconds, ns_per_pass, value, digits,\n"
            "                   score), statistics (mean, stddev, median, min, max),\n"
            "                   system (cpu_model, logical_cpus, kernel, governor,\n"
            "                   load_average, warnings), parallel, rank (position, of,\n"
            "                   seconds, faster, slower) を含みます\n"
            "  --csv            要約の代わりに計測ごとの CSV を出力します\n"
            "  --list-machines  基準機の一覧 (名前とタブと秒数) を出力します\n"
            "  --help           この説明を表示します\n"
            "  --version        バージョンを表示します\n"
            "\n"
            "端末では計算中に進み具合を標準エラー出力に表示します。Ctrl-C (SIGINT) か\n"
            "SIGTERM で計算を中止します。平均負荷が論理 CPU 1 個あたり 0.3 を超えるとき、\n"
            "ガバナーが powersave のとき、相対標準偏差が 5 % を超えるときは警告します。\n"
            "詳しくは man kamorin-cli を参照してください。\n"
            "\n"
            "終了ステータス: 0 成功, 2 実行時エラー, 64 引数の誤り,\n"
            "                130 SIGINT で中止, 143 SIGTERM で中止\n");
}

} // namespace kamorin
