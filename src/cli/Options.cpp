#include "cli/Options.h"

#include <array>

namespace kamorin {

namespace {

struct ValueOption
{
    QLatin1StringView name;
    std::optional<QString> RunOptions::*target;
};

const std::array<ValueOption, 4> kValueOptions { {
        { QLatin1StringView("--count"), &RunOptions::count },
        { QLatin1StringView("--unit"), &RunOptions::unit },
        { QLatin1StringView("--speed"), &RunOptions::speed },
        { QLatin1StringView("--machine"), &RunOptions::machine },
} };

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
        if (argument == u"--json") {
            options.json = true;
            continue;
        }
        const ValueOption *option = nullptr;
        std::optional<QString> value;
        for (const ValueOption &candidate : kValueOptions) {
            if (argument == candidate.name) {
                option = &candidate;
                if (i + 1 >= arguments.size())
                    return UsageError { argument + QStringLiteral(" には値が必要です。") };
                value = arguments[++i];
            } else if (argument.startsWith(candidate.name + u'=')) {
                option = &candidate;
                value = argument.mid(candidate.name.size() + 1);
            }
            if (option)
                break;
        }
        if (!option)
            return UsageError { QStringLiteral("不明な引数です: ") + argument };
        options.*(option->target) = *value;
    }
    return options;
}

QString usageText()
{
    return QStringLiteral(
            "使い方: kamorin-cli [--count 回数] [--unit 単位] [--speed 表示速度]\n"
            "                   [--machine 基準機] [--json]\n"
            "       kamorin-cli --list-machines\n"
            "\n"
            "Kamorin の計算を画面なしで実行し、結果を表示します。1 秒以上かかった計算は\n"
            "基準機と比べて SCORE を求め、最後に COPY と同じ 4 行の結果を出力します。\n"
            "\n"
            "  --count TEXT     ループ回数の数 (既定: 2000)\n"
            "  --unit TEXT      単位: 回, 百回, 千回, 万回, 億回 (既定: 万回)\n"
            "  --speed TEXT     表示速度 0 ～ 5 (既定: 1)\n"
            "  --machine TEXT   比べる基準機の名前 (既定: MMX-Pentium166)\n"
            "  --json           結果を JSON (UTF-8) で出力します\n"
            "  --list-machines  基準機の一覧 (名前とタブと秒数) を出力します\n"
            "  --help           この説明を表示します\n"
            "  --version        バージョンを表示します\n"
            "\n"
            "終了ステータス: 0 成功, 2 実行時エラー, 64 引数の誤り\n");
}

} // namespace kamorin
