#include "cli/Options.h"
#include "cli/UnitOption.h"
#include "formats/Format.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(UsageText)
};

constexpr qsizetype kHelpColumn = 19;

// The output forms' lines, continued lines under the first.
QString outputFormHelp()
{
    const QString indent(kHelpColumn, u' ');
    QString lines;
    for (const OutputFormEntry &entry : outputForms()) {
        if (!entry.help)
            continue;
        const QString help = QCoreApplication::translate("OutputForms", entry.help);
        lines += (QStringLiteral("  --") + entry.option).leftJustified(kHelpColumn)
                + QString(help).replace(u'\n', u'\n' + indent) + u'\n';
    }
    return lines;
}

// "[--json | --csv | --markdown]"
QString outputFormChoice()
{
    QStringList options;
    for (const OutputFormEntry &entry : outputForms())
        if (!entry.option.isEmpty())
            options << QStringLiteral("--") + entry.option;
    return u'[' + options.join(QStringLiteral(" | ")) + u']';
}

} // namespace

QString usageText()
{
    return Words::
            tr("使い方: kamorin-cli [--count 回数|auto] [--unit 単位] [--speed 表示速度]\n"
               "                   [--machine 基準機] [--runs N] [--warmup K] [--min-time 秒]\n"
               "                   [--threads N [--force-threads]] [--cpu K]\n"
               "                   [--rank] %3 [--no-progress]\n"
               "                   [--save] [--label TEXT] [--report FILE.html] [--store PATH]\n"
               "       kamorin-cli --history [--label TEXT] [--machine-model TEXT]\n"
               "                   [--machine 基準機] %3\n"
               "                   [--store PATH]\n"
               "       kamorin-cli --compare A B [--fail-if-slower PERCENT]\n"
               "                   %3 [--report FILE.html]\n"
               "                   [--store PATH]\n"
               "       kamorin-cli --forget ID [--store PATH]\n"
               "       kamorin-cli --export FILE|- [--label TEXT] [--machine-model TEXT]\n"
               "                   [--store PATH]\n"
               "       kamorin-cli --import FILE... [--skip-bad] [--store PATH]\n"
               "       kamorin-cli --list-machines | --version | -h | --help\n"
               "\n"
               "Kamorin の計算を画面なしで実行し、結果を表示します。1 秒以上かかった計算は\n"
               "基準機と比べて SCORE を求め、最後に COPY と同じ 4 行の結果を出力します。\n"
               "結果を保存しておけば、あとで一覧し、比べ、ほかの機械と持ち寄れます。\n"
               "\n"
               "計測:\n"
               "  --count TEXT     ループ回数の数 (既定: 2000)。auto なら、この機械で\n"
               "                   --min-time 秒以上かかる最小の回数と単位を選びます\n"
               "  --unit TEXT      単位。次のどれか (既定: 万回。ほかは誤り):\n"
               "%1"
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
               "  --rank           268 台の基準機と保存した機械の中でのこの機械の順位表を\n"
               "                   表示します\n"
               "%2"
               "  --no-progress    端末に進み具合を表示しません\n"
               "  --save           結果を保存し、その ID を標準エラー出力 (--json なら\n"
               "                   saved_id) に示します\n"
               "  --label TEXT     保存する結果やレポートに付けるラベル (200 文字まで)\n"
               "  --report FILE    この計測の HTML レポート (グラフ、順位、この機種の履歴) を\n"
               "                   書きます\n"
               "\n"
               "保存した結果 (どれも計測はしません。同時に使えるのは上の形だけです):\n"
               "  --history        保存した結果を新しい順に一覧します。--label (完全一致) と\n"
               "                   --machine-model (CPU 名の一部) で絞り込み、SCORE は\n"
               "                   --machine の基準機と比べます\n"
               "  --compare A B    2 つの結果 (ID か ID の先頭 8 文字以上かラベル、last は\n"
               "                   最後に保存した結果) の実行時間を比べ、速度比 (A ÷ B)、95 %\n"
               "                   信頼区間、Mann–Whitney の p 値と判定を示します\n"
               "  --fail-if-slower PERCENT\n"
               "                   B が A より有意に PERCENT % を超えて遅ければ終了ステータス 1\n"
               "  --forget ID      その ID の結果を消します (確認しません)\n"
               "  --export FILE    選んだ結果 (--label, --machine-model。なければ全部) を\n"
               "                   JSON ファイルに書きます。- なら標準出力に書きます\n"
               "  --import FILE... --export のファイルを取り込みます。ファイルごとに全部か\n"
               "                   無しかで、すでにある ID は飛ばします\n"
               "  --skip-bad       取り込めない結果は名前を示して飛ばし、残りを取り込みます\n"
               "  --store PATH     保存先 (既定: 環境変数 KAMORIN_STORE、なければ\n"
               "                   $XDG_DATA_HOME/kamorin/results.sqlite)\n"
               "\n"
               "  --list-machines  基準機の一覧 (名前とタブと秒数) を出力します\n"
               "  -h, --help       この説明を表示します\n"
               "  --version        バージョンを表示します\n"
               "\n"
               "--rank と --threads は --count も --unit もなければ --count auto で計測します。\n"
               "--rank は保存先があるときだけ保存した機械を加えます (作りはしません)。\n"
               "端末では計算中に進み具合を標準エラー出力に表示します (TERM=dumb では表示\n"
               "しません)。Ctrl-C (SIGINT) か SIGTERM で計算を中止します。計測の直前にほかの\n"
               "プロセスの実行できるスレッドが論理 CPU 1 個あたり 0.3 を超えるとき、ガバナーが\n"
               "powersave のとき、相対標準偏差が 5 % を超えるとき、--min-time より短い計測で\n"
               "順位や速度向上率を求めたとき、ほかのプロセスが並列計算の CPU をふさいだときは\n"
               "警告します。詳しくは man kamorin-cli を参照してください。\n"
               "\n"
               "終了ステータス: 0 成功, 1 --fail-if-slower に当たった, 2 実行時エラー,\n"
               "                64 引数の誤り, 65 取り込めないファイル, 66 結果や保存先がない,\n"
               "                71 スレッドやメモリの不足, 73 保存先を開けない・書けない,\n"
               "                74 出力の失敗, 130 SIGINT で中止, 143 SIGTERM で中止\n")
                    .arg(loopUnitOptionHelp(kHelpColumn), outputFormHelp(), outputFormChoice());
}

} // namespace kamorin
