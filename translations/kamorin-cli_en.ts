<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>ExitStatus</name>
    <message>
        <source>kamorin-cli: メモリが足りません。
</source>
        <translation>kamorin-cli: out of memory.
</translation>
    </message>
</context>
<context>
    <name>FigureText</name>
    <message>
        <source>★この機械</source>
        <translation>★This machine</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>[保存] %1（%2）</source>
        <translation>[saved] %1 (%2)</translation>
    </message>
</context>
<context>
    <name>HtmlPage</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>マシンと条件</source>
        <translation>Machine and conditions</translation>
    </message>
    <message>
        <source>論理 CPU</source>
        <translation>Logical CPUs</translation>
    </message>
    <message>
        <source>カーネル</source>
        <translation>Kernel</translation>
    </message>
    <message>
        <source>周波数の制御</source>
        <translation>Frequency governor</translation>
    </message>
    <message>
        <source>負荷 (1・5・15 分)</source>
        <translation>Load (1, 5, 15 min)</translation>
    </message>
    <message>
        <source>ホスト</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>ラベル</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>ループ回数</source>
        <translation>Loop count</translation>
    </message>
    <message numerus="yes">
        <source>%1 %2（%3 回）</source>
        <translation>
            <numerusform>%1 %2 (%3 loop)</numerusform>
            <numerusform>%1 %2 (%3 loops)</numerusform>
        </translation>
    </message>
    <message>
        <source>条件</source>
        <translation>Conditions</translation>
    </message>
    <message>
        <source>記録した実行</source>
        <translation>Recorded runs</translation>
    </message>
    <message>
        <source>この実行</source>
        <translation>This run</translation>
    </message>
    <message>
        <source>記録した各実行の秒数（点）と箱ひげ図</source>
        <translation>Seconds of each recorded run (dots) and a box plot</translation>
    </message>
    <message>
        <source>点が 1 回の実行、箱が四分位範囲、太線が中央値、ひげが最小から最大です。</source>
        <translation>Each dot is one run; the box is the interquartile range, the thick line the median, the whiskers the minimum to the maximum.</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>この機械は %1 台中 %2 位です（2000 万回 %3 秒）。</source>
        <translation>This machine ranks %2 of %1 (%3 s for 20,000,000 loops).</translation>
    </message>
    <message>
        <source>この機械</source>
        <translation>This machine</translation>
    </message>
    <message>
        <source>保存した機械</source>
        <translation>Saved machines</translation>
    </message>
    <message>
        <source>基準機</source>
        <translation>Reference machines</translation>
    </message>
    <message>
        <source>棒が短いほど速い機械です。</source>
        <translation>The shorter the bar, the faster the machine.</translation>
    </message>
    <message>
        <source>この機種の履歴</source>
        <translation>History of this CPU model</translation>
    </message>
    <message numerus="yes">
        <source>%1: 保存した結果 %2 件</source>
        <translation>
            <numerusform>%1: %2 saved result</numerusform>
            <numerusform>%1: %2 saved results</numerusform>
        </translation>
    </message>
    <message>
        <source>比較</source>
        <translation>Comparison</translation>
    </message>
    <message>
        <source>判定: %1</source>
        <translation>Verdict: %1</translation>
    </message>
    <message>
        <source>%1 %2 %3（%4）</source>
        <translation>%1 %2 %3 (%4)</translation>
    </message>
    <message>
        <source>速度比 (A の中央値 ÷ B の中央値)</source>
        <translation>Speed ratio (A&apos;s median ÷ B&apos;s median)</translation>
    </message>
    <message>
        <source>推定 (Hodges–Lehmann)</source>
        <translation>Estimate (Hodges–Lehmann)</translation>
    </message>
    <message>
        <source>95 % 信頼区間</source>
        <translation>95 % confidence interval</translation>
    </message>
    <message>
        <source>実行の数が少なく求められません</source>
        <translation>too few runs to tell</translation>
    </message>
    <message>
        <source>p 値 (Mann–Whitney U)</source>
        <translation>p-value (Mann–Whitney U)</translation>
    </message>
    <message>
        <source>%1（正確）</source>
        <translation>%1 (exact)</translation>
    </message>
    <message>
        <source>%1（正規近似）</source>
        <translation>%1 (normal approximation)</translation>
    </message>
    <message>
        <source>A と B のループ回数が違うため、B の時間を A の回数 (%1 回) に換算して比べています。</source>
        <translation>A and B have different loop counts, so B&apos;s times are scaled to A&apos;s count (%1 loops) before they are compared.</translation>
    </message>
    <message>
        <source>A と B の各実行の秒数</source>
        <translation>Seconds of each run of A and B</translation>
    </message>
    <message>
        <source>信頼区間は実行時間の対数の組ごとの差から求めた Hodges–Lehmann (Moses) の区間です。</source>
        <translation>The confidence interval is the Hodges–Lehmann (Moses) interval of the pairwise differences of the logarithms of the run times.</translation>
    </message>
    <message>
        <source>Kamorin ベンチマーク報告 — %1</source>
        <translation>Kamorin benchmark — %1</translation>
    </message>
    <message>
        <source>Kamorin ベンチマーク報告</source>
        <translation>Kamorin benchmark</translation>
    </message>
    <message>
        <source>%1 に作成</source>
        <translation>Made on %1</translation>
    </message>
    <message>
        <source>回数は --count auto が選択</source>
        <translation>count chosen by --count auto</translation>
    </message>
    <message>
        <source>回数は指定どおり</source>
        <translation>count as given</translation>
    </message>
    <message numerus="yes">
        <source>ウォームアップ %n 回</source>
        <translation>
            <numerusform>%n warm-up run</numerusform>
            <numerusform>%n warm-up runs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>記録 %n 回</source>
        <translation>
            <numerusform>%n recorded run</numerusform>
            <numerusform>%n recorded runs</numerusform>
        </translation>
    </message>
    <message>
        <source>最短時間 %1 秒</source>
        <translation>minimum time %1 s</translation>
    </message>
    <message>
        <source>論理 CPU %1 で実行</source>
        <translation>on logical CPU %1</translation>
    </message>
    <message>
        <source>CPU の指定なし</source>
        <translation>on any CPU</translation>
    </message>
    <message numerus="yes">
        <source>並列 %n スレッド</source>
        <translation>
            <numerusform>%n thread in parallel</numerusform>
            <numerusform>%n threads in parallel</numerusform>
        </translation>
    </message>
    <message>
        <source>並列計算なし</source>
        <translation>no parallel run</translation>
    </message>
    <message numerus="yes">
        <source>%n 回: 中央値 %1 秒、平均 %2 秒、標準偏差 %3 秒、最小 %4 秒、最大 %5 秒</source>
        <translation>
            <numerusform>%n run: median %1 s, mean %2 s, standard deviation %3 s, min %4 s, max %5 s</numerusform>
            <numerusform>%n runs: median %1 s, mean %2 s, standard deviation %3 s, min %4 s, max %5 s</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 台のうち %2 台を示します: この機械の前後、速い順に最初の保存した機械、残りから等間隔に選んだ機械です（保存した機械は %3 台のうち %4 台）。</source>
        <translation>Of the %1 machines, %2 are shown: those next to this machine, the fastest saved machines, and machines picked at even steps from the rest (saved machines shown: %4 of %3).</translation>
    </message>
</context>
<context>
    <name>ImportInputWords</name>
    <message>
        <source>標準入力</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>「%1」は取り込めません: %2。</source>
        <translation>Cannot import &quot;%1&quot;: %2.</translation>
    </message>
</context>
<context>
    <name>MarkdownOutput</name>
    <message>
        <source>項目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>値</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>2000万回の秒数</source>
        <translation>Seconds for 20,000,000</translation>
    </message>
</context>
<context>
    <name>OptionRules</name>
    <message>
        <source>%1 %2（「%3」は使えません）。</source>
        <translation>%1 %2 (&quot;%3&quot; is not allowed).</translation>
    </message>
    <message>
        <source>--%1 と --%2 は同時に指定できません。</source>
        <translation>--%1 and --%2 cannot be used together.</translation>
    </message>
    <message>
        <source>--machine %1 は基準機の表にありません（一覧は --list-machines）。</source>
        <translation>--machine %1 is not in the table of reference machines (see --list-machines).</translation>
    </message>
    <message>
        <source>--%1 には空でない値を指定してください。</source>
        <translation>--%1 needs a value that is not empty.</translation>
    </message>
    <message>
        <source>--machine %1 は基準機の表の %2 のどれとも取れます。どれかを表のとおりに指定してください。</source>
        <translation>--machine %1 could be any of %2 in the table of reference machines; give one as the table writes it.</translation>
    </message>
    <message>
        <source>--machine %1 は基準機の表にありません。近い名前: %2（一覧は --list-machines）。</source>
        <translation>--machine %1 is not in the table of reference machines; the nearest: %2 (see --list-machines).</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>不明なオプションです: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>%1 には値が必要です。</source>
        <translation>%1 needs a value.</translation>
    </message>
    <message>
        <source>%1 は値を取りません。</source>
        <translation>%1 takes no value.</translation>
    </message>
    <message>
        <source>--%1 はほかのオプションと同時に指定できません。</source>
        <translation>--%1 cannot be used with other options.</translation>
    </message>
    <message>
        <source>オプションでない引数は受け付けません: %1</source>
        <translation>Arguments that are not options are not accepted: %1</translation>
    </message>
    <message>
        <source>には論理 CPU の番号 (0 以上の整数) を指定してください</source>
        <translation>takes the number of a logical CPU (a whole number, 0 or more)</translation>
    </message>
    <message>
        <source>--label は --save か --report と一緒に指定してください（保存した結果を選ぶときは --history か --export と）。</source>
        <translation>--label goes with --save or --report (or, to choose saved results, with --history or --export).</translation>
    </message>
    <message>
        <source>--store は --save, --rank, --report か、保存した結果を扱うオプション（--history など）と一緒に指定してください。</source>
        <translation>--store goes with --save, --rank, --report or an option that works on saved results (--history and the like).</translation>
    </message>
    <message>
        <source>--force-threads は --threads と一緒に指定してください。</source>
        <translation>--force-threads goes with --threads.</translation>
    </message>
    <message>
        <source>--count auto は単位も選ぶため、--unit と同時に指定できません。</source>
        <translation>--count auto chooses the unit as well, so it cannot be used with --unit.</translation>
    </message>
    <message>
        <source>には %1 から %2 までの整数を指定してください</source>
        <translation>takes a whole number from %1 to %2</translation>
    </message>
    <message>
        <source>には 0 より大きく %1 以下の秒数を指定してください</source>
        <translation>takes seconds above 0 and at most %1</translation>
    </message>
    <message>
        <source>--label には last 以外の、制御文字、文字の向きを変える制御文字、行区切りと段落区切りを含まない %1 文字以内の文字列を指定してください（%2）。</source>
        <translation>--label takes a text other than last, of at most %1 characters, without control characters, text-direction controls, or line and paragraph separators (%2).</translation>
    </message>
    <message>
        <source>には単位 %1 のどれかを指定してください</source>
        <translation>takes one of the units %1</translation>
    </message>
</context>
<context>
    <name>OutputForms</name>
    <message>
        <source>要約の代わりに計測ごとの CSV を出力します</source>
        <translation>writes CSV, one row per run, instead of the summary</translation>
    </message>
    <message>
        <source>結果を JSON (UTF-8) で出力します (man kamorin-cli)</source>
        <translation>writes the result as JSON (UTF-8) (man kamorin-cli)</translation>
    </message>
    <message>
        <source>要約と順位表を Markdown (GitHub) の表で出力します。
--history と --compare の出力も表にします</source>
        <translation>writes the summary and the rank table as Markdown (GitHub)
tables; --history and --compare too</translation>
    </message>
</context>
<context>
    <name>OutputTargetWords</name>
    <message>
        <source>標準出力</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>「%1」</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1は結果の保存先「%2」そのものです。保存した結果が消えるため、そこには書き出しません。</source>
        <translation>%1 is the results store &quot;%2&quot; itself. Writing there would destroy the saved results, so nothing is written.</translation>
    </message>
    <message>
        <source>kamorin-cli: %1に書き込めません: %2
</source>
        <translation>kamorin-cli: cannot write to %1: %2
</translation>
    </message>
    <message>
        <source>その先の「%1」は</source>
        <translation>its target &quot;%1&quot; </translation>
    </message>
    <message>
        <source>誰でも書き込めるスティッキーなフォルダーにある、ほかのユーザーのシンボリックリンクです。リンクの先には手を付けません</source>
        <translation>is another user&apos;s symbolic link in a sticky folder that everyone can write to. Its target is left alone</translation>
    </message>
    <message>
        <source>開く間にシンボリックリンクに置き換えられました</source>
        <translation>was replaced by a symbolic link while it was being opened</translation>
    </message>
    <message>
        <source>開く間に別のファイルに置き換えられました</source>
        <translation>was replaced by another file while it was being opened</translation>
    </message>
    <message>
        <source>誰でも書き込めるスティッキーなフォルダーにある、ほかのユーザーの%1です。そこには書き出しません</source>
        <translation>is another user&apos;s %1 in a sticky folder that everyone can write to. Nothing is written to it</translation>
    </message>
    <message>
        <source>FIFO</source>
        <translation>FIFO</translation>
    </message>
    <message>
        <source>デバイス</source>
        <translation>device</translation>
    </message>
    <message>
        <source>「%1」は結果の保存先「%2」の横に SQLite が置く作業ファイルの名前です。保存先を変えるたびに消されるため、そこには書き出しません。</source>
        <translation>&quot;%1&quot; is the name of a working file SQLite keeps beside the results store &quot;%2&quot;. It is removed whenever the store changes, so nothing is written there.</translation>
    </message>
    <message>
        <source>フォルダー「%1」がありません</source>
        <translation>the folder &quot;%1&quot; does not exist</translation>
    </message>
</context>
<context>
    <name>PageCharts</name>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>%1 回目: %2 秒</source>
        <translation>Run %1: %2 s</translation>
    </message>
    <message>
        <source>順位: 2000 万回の秒数（対数目盛）</source>
        <translation>Ranking: seconds for 20,000,000 loops (log scale)</translation>
    </message>
    <message>
        <source>2000 万回の秒数（対数目盛）</source>
        <translation>Seconds for 20,000,000 loops (log scale)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1: %2 秒</source>
        <translation>%1: %2 s</translation>
    </message>
    <message>
        <source>この機種の履歴: 各結果の中央値を 2000 万回に換算した秒数</source>
        <translation>History of this CPU model: each result&apos;s median, in seconds for 20,000,000 loops</translation>
    </message>
    <message>
        <source>開始日時 (UTC) →&#x3000;縦軸: 2000 万回の秒数</source>
        <translation>Start (UTC) →   vertical: seconds for 20,000,000 loops</translation>
    </message>
    <message>
        <source>%1 %2: 2000 万回 %3 秒</source>
        <translation>%1 %2: %3 s for 20,000,000 loops</translation>
    </message>
    <message>
        <source>%1 ～ %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>%1: 中央値 %2 秒（最小 %3 秒、最大 %4 秒、結果 %5 件）</source>
        <translation>%1: median %2 s (lowest %3 s, highest %4 s, results: %5)</translation>
    </message>
    <message>
        <source>点は保存した結果 1 件ずつです（全 %1 件）。</source>
        <translation>Each point is one saved result (results: %1).</translation>
    </message>
    <message>
        <source>点は 1 日ごとの保存した結果の中央値、縦棒はその日の最小から最大です（結果 %1 件、%2 日）。</source>
        <translation>Each point is the median of one day&apos;s saved results, its bar that day&apos;s lowest to highest (results: %1, days: %2).</translation>
    </message>
    <message>
        <source>点は %3 日ごとの保存した結果の中央値、縦棒はその期間の最小から最大です（結果 %1 件、%2 期間）。</source>
        <translation>Each point is the median of the saved results of %3 days, its bar their lowest to highest (results: %1, spans of days: %2).</translation>
    </message>
    <message>
        <source>◇ は保存していないこの実行です。</source>
        <translation>◇ is this run, which is not saved.</translation>
    </message>
    <message>
        <source>保存していないこの実行 %1: 2000 万回 %2 秒</source>
        <translation>This run, not saved, %1: %2 s for 20,000,000 loops</translation>
    </message>
    <message>
        <source>保存した結果</source>
        <translation>Saved results</translation>
    </message>
    <message>
        <source>保存していないこの実行</source>
        <translation>This run, not saved</translation>
    </message>
</context>
<context>
    <name>ProgressText</name>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 日</source>
        <translation>%1 days</translation>
    </message>
    <message>
        <source>%1時間%2分%3秒</source>
        <translation>%1 h %2 min %3 s</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>回数の選択</source>
        <translation>choosing the count</translation>
    </message>
    <message>
        <source>ウォームアップ</source>
        <translation>warm-up</translation>
    </message>
    <message>
        <source>計測</source>
        <translation>run</translation>
    </message>
    <message>
        <source>約 %1</source>
        <translation>about %1</translation>
    </message>
    <message>
        <source>見積もれません</source>
        <translation>cannot be estimated</translation>
    </message>
    <message numerus="yes">
        <source>%1%  %2/%3 回  経過 %4  残り %5</source>
        <translation>
            <numerusform>%1%  %2/%3 loop  elapsed %4  left %5</numerusform>
            <numerusform>%1%  %2/%3 loops  elapsed %4  left %5</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>並列 %n スレッド</source>
        <translation>
            <numerusform>parallel, %n thread</numerusform>
            <numerusform>parallel, %n threads</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ResultChecks</name>
    <message>
        <source>true か false ではありません</source>
        <translation>is not true or false</translation>
    </message>
    <message>
        <source>知らない警告の種類です</source>
        <translation>is an unknown kind of warning</translation>
    </message>
    <message>
        <source>文字列ではありません</source>
        <translation>is not a string</translation>
    </message>
    <message>
        <source>値がありません</source>
        <translation>has no value</translation>
    </message>
    <message>
        <source>入れ子が深すぎます</source>
        <translation>is nested too deeply</translation>
    </message>
    <message>
        <source>要素が %1 個を超えています</source>
        <translation>has more than %1 elements</translation>
    </message>
    <message>
        <source>メンバーの名前に問題があります: </source>
        <translation>has a bad member name: </translation>
    </message>
    <message>
        <source>数ではありません</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <source>有限の数ではありません</source>
        <translation>is not a finite number</translation>
    </message>
    <message>
        <source>0 より大きく %1 以下の数ではありません</source>
        <translation>is not a number greater than 0 and at most %1</translation>
    </message>
    <message>
        <source>%1 以上 %2 以下の整数ではありません</source>
        <translation>is not a whole number from %1 to %2</translation>
    </message>
    <message>
        <source>オブジェクトではありません</source>
        <translation>is not an object</translation>
    </message>
    <message>
        <source>メンバーが %1 個を超えています</source>
        <translation>has more than %1 members</translation>
    </message>
    <message>
        <source>%1 回で %2 秒は 1 回 0.1 ナノ秒より短く、ありえません</source>
        <translation>%2 s for %1 loops is under 0.1 ns per loop, which cannot be</translation>
    </message>
    <message>
        <source>ループ回数として読めません</source>
        <translation>cannot be read as a loop count</translation>
    </message>
    <message>
        <source>count と unit から決まる回数 (%1) と違います</source>
        <translation>differs from the count that count and unit give (%1)</translation>
    </message>
    <message>
        <source>3 つの数の並びではありません</source>
        <translation>is not a list of 3 numbers</translation>
    </message>
    <message>
        <source>負の数です</source>
        <translation>is negative</translation>
    </message>
    <message>
        <source>並びではありません</source>
        <translation>is not a list</translation>
    </message>
</context>
<context>
    <name>ResultDocument</name>
    <message>
        <source>1 と %1</source>
        <translation>1 and %1</translation>
    </message>
    <message>
        <source>版 %1 のファイルの結果の形ではありません</source>
        <translation>is not shaped as a result of a version %1 file</translation>
    </message>
    <message>
        <source>途中で終わっています</source>
        <translation>ends too early</translation>
    </message>
    <message>
        <source>「:」があるべきところです</source>
        <translation>a &quot;:&quot; should be here</translation>
    </message>
    <message>
        <source>「,」があるべきところです</source>
        <translation>a &quot;,&quot; should be here</translation>
    </message>
    <message>
        <source>数が正しくありません</source>
        <translation>a number is malformed</translation>
    </message>
    <message>
        <source>文字列のエスケープが正しくありません</source>
        <translation>a string has a malformed escape</translation>
    </message>
    <message>
        <source>UTF-8 として正しくない文字列です</source>
        <translation>a string is not valid UTF-8</translation>
    </message>
    <message>
        <source>値の後に余計なものがあります</source>
        <translation>something follows the value</translation>
    </message>
    <message>
        <source>値として正しくありません</source>
        <translation>not a valid value</translation>
    </message>
    <message>
        <source>二度あります</source>
        <translation>appears twice</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ではありません。Kamorin の結果のファイルではないようです</source>
        <translation>is not &quot;%1&quot;. This does not look like a Kamorin results file</translation>
    </message>
    <message>
        <source>形式の版が %1 です。この Kamorin が読めるのは版 %2 のファイルです</source>
        <translation>the format version is %1; this Kamorin reads files of version %2</translation>
    </message>
    <message>
        <source>知らないメンバーです</source>
        <translation>is an unknown member</translation>
    </message>
    <message>
        <source>結果の並びではありません</source>
        <translation>is not a list of results</translation>
    </message>
    <message>
        <source>同じ ID がこのファイルに二度あります</source>
        <translation>the same ID appears twice in this file</translation>
    </message>
    <message>
        <source>「%1」は取り込めません: %2。</source>
        <translation>Cannot import &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>JSON として正しくありません（%1 バイト目: %2）。途中で切れているか、壊れています</source>
        <translation>not valid JSON (at byte %1: %2). The file is cut short or damaged</translation>
    </message>
</context>
<context>
    <name>ResultFileScannerWords</name>
    <message>
        <source>%1 MiB を超えています（%2 件の結果に 1 件 %3 KiB まで）</source>
        <translation>larger than %1 MiB (%2 results at %3 KiB each at most)</translation>
    </message>
    <message>
        <source>途中で終わっています</source>
        <translation>ends too early</translation>
    </message>
    <message>
        <source>「%1」があるべきところです</source>
        <translation>a &quot;%1&quot; should be here</translation>
    </message>
    <message>
        <source>文字列が途中で終わっています</source>
        <translation>a string ends too early</translation>
    </message>
    <message>
        <source>入れ子が深すぎます</source>
        <translation>is nested too deeply</translation>
    </message>
    <message>
        <source>括弧の対応が取れていません</source>
        <translation>the brackets do not match</translation>
    </message>
    <message>
        <source>%1 KiB を超えています</source>
        <translation>larger than %1 KiB</translation>
    </message>
    <message>
        <source>メンバーの名前があるべきところです</source>
        <translation>a member name should be here</translation>
    </message>
    <message>
        <source>メンバーの名前が正しくありません</source>
        <translation>a member name is malformed</translation>
    </message>
    <message>
        <source>オブジェクトではありません</source>
        <translation>is not an object</translation>
    </message>
    <message>
        <source>結果が %1 件を超えています</source>
        <translation>more than %1 results</translation>
    </message>
    <message>
        <source>オブジェクトの後に余計なものがあります</source>
        <translation>something follows the object</translation>
    </message>
</context>
<context>
    <name>ResultReading</name>
    <message>
        <source>知らないメンバーです</source>
        <translation>is an unknown member</translation>
    </message>
    <message>
        <source>ありません</source>
        <translation>is missing</translation>
    </message>
    <message>
        <source>UUID ではありません</source>
        <translation>is not a UUID</translation>
    </message>
    <message>
        <source>UTC かオフセット付きの ISO 8601 の日時ではありません</source>
        <translation>is not an ISO 8601 date and time in UTC or with an offset</translation>
    </message>
    <message>
        <source>1 日より先の日時です</source>
        <translation>is more than 1 day in the future</translation>
    </message>
    <message>
        <source>1 から %1 個の秒数の並びではありません</source>
        <translation>is not a list of 1 to %1 numbers of seconds</translation>
    </message>
</context>
<context>
    <name>ResultStoreWords</name>
    <message>
        <source>「%1」は Kamorin の結果の保存先ではありません（通常のファイルではありません）。</source>
        <translation>&quot;%1&quot; is not a Kamorin results store (it is not a regular file).</translation>
    </message>
    <message>
        <source>結果の保存先のフォルダー「%1」を作れません。</source>
        <translation>Cannot create the results store&apos;s folder &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>結果の保存先「%1」には ID「%2」の結果がもうあります。</source>
        <translation>The results store &quot;%1&quot; already has a result with ID &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>「%1」で始まる ID の結果が複数あります。もっと長く指定してください。</source>
        <translation>More than one result has an ID starting with &quot;%1&quot;. Give more of it.</translation>
    </message>
    <message>
        <source>「%1」はラベルとしても ID の先頭としても結果に当たります（ラベル「%1」の ID %2 と、ID %3）。どちらか ID を全部指定してください。</source>
        <translation>&quot;%1&quot; matches a result both as a label and as the start of an ID (ID %2, labelled &quot;%1&quot;, and ID %3). Give the whole ID of the one you mean.</translation>
    </message>
    <message>
        <source>結果の保存先「%1」に ID「%2」の結果はありません。</source>
        <translation>The results store &quot;%1&quot; has no result with ID &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>RunStoreWords</name>
    <message>
        <source>結果の保存先「%1」がないため、保存した機械は加えません。</source>
        <translation>There is no results store &quot;%1&quot;, so no saved machines are added.</translation>
    </message>
</context>
<context>
    <name>RuntimeError</name>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation>Invalid procedure call or argument</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>Overflow</translation>
    </message>
    <message>
        <source>0 で除算しました。</source>
        <translation>Division by zero</translation>
    </message>
    <message>
        <source>型が一致しません。</source>
        <translation>Type mismatch</translation>
    </message>
    <message>
        <source>プロパティの値が不正です。</source>
        <translation>Invalid property value</translation>
    </message>
    <message>
        <source>基準機「%1」は登録されていません。</source>
        <translation>There is no reference machine named &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>計算を中止しました。</source>
        <translation>The calculation was stopped.</translation>
    </message>
    <message>
        <source>実行時エラー &apos;%1&apos;: %2</source>
        <translation>Run-time error &apos;%1&apos;: %2</translation>
    </message>
</context>
<context>
    <name>SavedRun</name>
    <message>
        <source>ループを 1 回以上実行した計測でないと保存できません。</source>
        <translation>Only a run of at least 1 loop can be saved.</translation>
    </message>
</context>
<context>
    <name>SessionText</name>
    <message>
        <source>並列計算のスレッド %1 の計算値 %2 が、1 スレッドの計算値 %3 と一致しません。</source>
        <translation>Thread %1 of the parallel run calculated %2, which differs from the single-thread value %3.</translation>
    </message>
    <message>
        <source>順位を付けるには 1 回以上のループが必要です。</source>
        <translation>A rank needs at least 1 loop.</translation>
    </message>
    <message>
        <source>--threads %1 は論理 CPU の数 (%2) を超えています。それでも実行するには --force-threads を付けてください。</source>
        <translation>--threads %1 exceeds the number of logical CPUs (%2). Add --force-threads to run anyway.</translation>
    </message>
    <message>
        <source>論理 CPU %1 で実行できません。</source>
        <translation>Cannot run on logical CPU %1.</translation>
    </message>
    <message>
        <source>論理 CPU %1 はありません（使える論理 CPU: %2）。</source>
        <translation>There is no logical CPU %1 (logical CPUs available: %2).</translation>
    </message>
    <message>
        <source>論理 CPU %1 はこのプロセスに許された CPU の外です（使える論理 CPU: %2）。</source>
        <translation>Logical CPU %1 is outside the CPUs this process may use (logical CPUs available: %2).</translation>
    </message>
    <message>
        <source>結果を保存するにもレポートにするにも 1 回以上のループが必要です。</source>
        <translation>Saving or reporting a result needs at least 1 loop.</translation>
    </message>
</context>
<context>
    <name>ShownText</name>
    <message>
        <source>対になっていないサロゲートが含まれています</source>
        <translation>contains an unpaired surrogate</translation>
    </message>
    <message>
        <source>制御文字が含まれています</source>
        <translation>contains a control character</translation>
    </message>
    <message>
        <source>文字の向きを変える制御文字が含まれています</source>
        <translation>contains a text-direction control</translation>
    </message>
    <message>
        <source>行区切りか段落区切りの文字が含まれています</source>
        <translation>contains a line or paragraph separator</translation>
    </message>
    <message>
        <source>%1 文字を超えています</source>
        <translation>is longer than %1 characters</translation>
    </message>
    <message>
        <source>見えない書式文字 (U+%1) が含まれています</source>
        <translation>contains an invisible format character (U+%1)</translation>
    </message>
    <message>
        <source>last は --compare などで最後に保存した結果を指します</source>
        <translation>to --compare and the like, last means the result saved last</translation>
    </message>
</context>
<context>
    <name>StandardStreams</name>
    <message>
        <source>空き領域がありません</source>
        <translation>no space left on the device</translation>
    </message>
    <message>
        <source>ディスクの使用量の上限を超えました</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>許可がありません</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>読み出し専用のファイルシステムです</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>そのようなファイルやフォルダーはありません</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>途中にフォルダーでないものがあります</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>フォルダーです</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>シンボリックリンクをたどる回数が多すぎます</source>
        <translation>too many levels of symbolic links</translation>
    </message>
    <message>
        <source>書き込める相手がいません（ソケットか、つながっていない装置です）</source>
        <translation>nothing to write to (a socket, or a device that is not connected)</translation>
    </message>
    <message>
        <source>開いていないファイル記述子です</source>
        <translation>the file descriptor is not open</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>入出力エラーです</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>kamorin-cli: 標準出力に書き込めません: %1
</source>
        <translation>kamorin-cli: cannot write to standard output: %1
</translation>
    </message>
    <message>
        <source>kamorin-cli: 警告: %1
</source>
        <translation>kamorin-cli: warning: %1
</translation>
    </message>
</context>
<context>
    <name>StoreCommands</name>
    <message>
        <source>結果の保存先「%1」にラベルが「%2」で、CPU の機種に「%3」を含む結果はありません。</source>
        <translation>The results store &quot;%1&quot; has no results labelled &quot;%2&quot; with &quot;%3&quot; in the CPU model.</translation>
    </message>
    <message>
        <source>結果の保存先「%1」にラベルが「%2」の結果はありません。</source>
        <translation>The results store &quot;%1&quot; has no results labelled &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>結果の保存先「%1」にCPU の機種に「%2」を含む結果はありません。</source>
        <translation>The results store &quot;%1&quot; has no results with &quot;%2&quot; in the CPU model.</translation>
    </message>
    <message>
        <source>保存した結果はありません（保存先「%1」）。</source>
        <translation>No saved results (store &quot;%1&quot;).</translation>
    </message>
    <message>
        <source>ID %1 の結果を消しました。</source>
        <translation>Deleted the result with ID %1.</translation>
    </message>
    <message>
        <source>結果の保存先「%1」に「%2」に当たる結果はありません（ID、ID の先頭 8 文字以上、ラベルか last）。</source>
        <translation>The results store &quot;%1&quot; has no result matching &quot;%2&quot; (an ID, its first 8 or more characters, a label, or last).</translation>
    </message>
    <message>
        <source>結果の保存先「%1」はまだありません（--save か --import で作られます）。</source>
        <translation>The results store &quot;%1&quot; does not exist yet (--save or --import creates it).</translation>
    </message>
    <message>
        <source>「%1」と「%2」はどちらも同じ結果 (ID %3) です。結果をそれ自身と比べることはしません。</source>
        <translation>&quot;%1&quot; and &quot;%2&quot; are the same result (ID %3). A result is not compared with itself.</translation>
    </message>
    <message>
        <source>中止しました。「%1」までは取り込み済みで、残りのファイルは取り込んでいません。</source>
        <translation>Stopped. Everything up to &quot;%1&quot; is imported; the remaining files are not.</translation>
    </message>
    <message>
        <source>「%1」の結果 %2 は取り込みません: %3。</source>
        <translation>&quot;%1&quot;: the result %2 is not imported: %3.</translation>
    </message>
    <message>
        <source>(ID なし)</source>
        <translation>(no ID)</translation>
    </message>
    <message>
        <source>A と B のループ回数が違うため、B の時間を A の回数 (%1) に換算して比べます。</source>
        <translation>A and B have different loop counts, so B&apos;s times are scaled to A&apos;s count (%1) before they are compared.</translation>
    </message>
    <message>
        <source>判定には両方に %1 回以上の計測が必要なため、--fail-if-slower は判断しませんでした。</source>
        <translation>A verdict needs at least %1 runs on both sides, so --fail-if-slower decided nothing.</translation>
    </message>
    <message>
        <source>B は A より有意に遅く、推定で %1 % 遅くなっています（--fail-if-slower は %2 % まで）。</source>
        <translation>B is significantly slower than A: %1 % slower by the estimate, where --fail-if-slower allows %2 %.</translation>
    </message>
    <message numerus="yes">
        <source>%n 件の結果を「%1」に書き出しました。</source>
        <translation>
            <numerusform>Exported %n result to &quot;%1&quot;.</numerusform>
            <numerusform>Exported %n results to &quot;%1&quot;.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>「%1」: %n 件を取り込みました</source>
        <translation>
            <numerusform>&quot;%1&quot;: imported %n result</numerusform>
            <numerusform>&quot;%1&quot;: imported %n results</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>（すでにあった %n 件は飛ばしました）。</source>
        <translation>
            <numerusform> (skipped %n already in the store).</numerusform>
            <numerusform> (skipped %n already in the store).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StoreConnectionWords</name>
    <message>
        <source>結果の保存先を開けません: Qt の SQLite ドライバー (libqt6sql6-sqlite) がありません。</source>
        <translation>Cannot open the results store: Qt&apos;s SQLite driver (libqt6sql6-sqlite) is missing.</translation>
    </message>
</context>
<context>
    <name>StoreFailure</name>
    <message>
        <source>結果の保存先「%1」%2</source>
        <translation>The results store &quot;%1&quot; %2</translation>
    </message>
    <message>
        <source>に書き込めません（読み取り専用です）。</source>
        <translation>cannot be written (it is read-only).</translation>
    </message>
    <message>
        <source>は壊れています（SQLite のデータベースとして読めない所があります）。このファイルには手を付けません。</source>
        <translation>is damaged (parts of it cannot be read as an SQLite database). The file is left alone.</translation>
    </message>
    <message>
        <source>はほかのプロセスが %1 秒を超えて使っています。あとでもう一度実行してください。</source>
        <translation>has been in use by another process for more than %1 s. Try again later.</translation>
    </message>
    <message>
        <source>を使う許可がありません。</source>
        <translation>cannot be used: permission denied.</translation>
    </message>
    <message>
        <source>を扱うメモリが足りません。</source>
        <translation>cannot be handled: out of memory.</translation>
    </message>
    <message>
        <source>の読み書きで入出力エラーが起きました。</source>
        <translation>met an input/output error.</translation>
    </message>
    <message>
        <source>に書き込めません: ディスクがいっぱいです。</source>
        <translation>cannot be written: the disk is full.</translation>
    </message>
    <message>
        <source>を開けません（ファイルかフォルダーに入る許可がないか、フォルダーがありません）。</source>
        <translation>cannot be opened (no permission for the file or its folder, or the folder does not exist).</translation>
    </message>
    <message>
        <source>で SQLite のエラー (コード %1) が起きました。</source>
        <translation>met an SQLite error (code %1).</translation>
    </message>
</context>
<context>
    <name>StoreOptions</name>
    <message>
        <source>%1 は --%2 と同時に指定できません。</source>
        <translation>%1 cannot be used with --%2.</translation>
    </message>
    <message>
        <source>オプションでない引数は受け付けません: %1</source>
        <translation>Arguments that are not options are not accepted: %1</translation>
    </message>
    <message>
        <source>--import には空でないファイル名を指定してください。</source>
        <translation>--import needs a file name that is not empty.</translation>
    </message>
    <message>
        <source>--import の「-」（標準入力）は 1 回だけ指定できます。</source>
        <translation>&quot;-&quot; (standard input) can be given to --import only once.</translation>
    </message>
    <message>
        <source>--%1 と --%2 は同時に指定できません。</source>
        <translation>--%1 and --%2 cannot be used together.</translation>
    </message>
    <message>
        <source>--machine-model は --history か --export と一緒に指定してください。</source>
        <translation>--machine-model goes with --history or --export.</translation>
    </message>
    <message>
        <source>--fail-if-slower は --compare と一緒に指定してください。</source>
        <translation>--fail-if-slower goes with --compare.</translation>
    </message>
    <message>
        <source>--skip-bad は --import と一緒に指定してください。</source>
        <translation>--skip-bad goes with --import.</translation>
    </message>
    <message>
        <source>--compare には比べる 2 つの結果 (ID かラベル、最後に保存したものは last) を指定してください。</source>
        <translation>--compare takes the two results to compare (an ID or a label; last is the result saved last).</translation>
    </message>
    <message>
        <source>には 0 以上 %1 以下の百分率を指定してください</source>
        <translation>takes a percentage from 0 to %1</translation>
    </message>
</context>
<context>
    <name>StoreOutput</name>
    <message>
        <source>開始 (UTC)</source>
        <translation>Started (UTC)</translation>
    </message>
    <message>
        <source>ラベル</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>ホスト</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>ループ</source>
        <translation>Loops</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Runs</translation>
    </message>
    <message>
        <source>中央値 (秒)</source>
        <translation>Median (s)</translation>
    </message>
    <message>
        <source>速度比 (A ÷ B)</source>
        <translation>Speed ratio (A ÷ B)</translation>
    </message>
    <message>
        <source>%1（1 より大きければ B が速い）</source>
        <translation>%1 (above 1: B is faster)</translation>
    </message>
    <message>
        <source>推定 (Hodges–Lehmann)</source>
        <translation>Estimate (Hodges–Lehmann)</translation>
    </message>
    <message>
        <source>95 % 信頼区間</source>
        <translation>95 % confidence interval</translation>
    </message>
    <message>
        <source>実行の数が少なく求められません</source>
        <translation>too few runs to tell</translation>
    </message>
    <message>
        <source>p 値</source>
        <translation>p-value</translation>
    </message>
    <message>
        <source>%1（Mann–Whitney U = %2、%3）</source>
        <translation>%1 (Mann–Whitney U = %2, %3)</translation>
    </message>
    <message>
        <source>正確</source>
        <translation>exact</translation>
    </message>
    <message>
        <source>正規近似</source>
        <translation>normal approximation</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
    <message numerus="yes">
        <source>%1（%2）  中央値 %3 秒（%n 回）</source>
        <translation>
            <numerusform>%1 (%2)  median %3 s (%n run)</numerusform>
            <numerusform>%1 (%2)  median %3 s (%n runs)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StorePath</name>
    <message>
        <source>結果の保存先「%1」は使えません: 保存先はファイルのパスで指定してください（:memory: や file: で始まる URI は保存先になりません）。</source>
        <translation>The results store &quot;%1&quot; cannot be used: give the store as the path of a file (:memory: and URIs starting with file: cannot be stores).</translation>
    </message>
</context>
<context>
    <name>StoreRow</name>
    <message>
        <source>結果の保存先「%1」の ID %2 の結果は壊れています（保存したときのとおりに読めません）。このファイルには手を付けません。</source>
        <translation>The result with the ID %2 in the results store &quot;%1&quot; is damaged (it does not read as it was saved). The file is left alone.</translation>
    </message>
</context>
<context>
    <name>StoreSchema</name>
    <message>
        <source>「%1」は Kamorin の結果の保存先ではありません（%2）。このファイルには手を付けません。</source>
        <translation>&quot;%1&quot; is not a Kamorin results store (%2). The file is left alone.</translation>
    </message>
    <message>
        <source>SQLite のデータベースではありません</source>
        <translation>it is not an SQLite database</translation>
    </message>
    <message>
        <source>別のプログラムの SQLite データベースです</source>
        <translation>it is another program&apos;s SQLite database</translation>
    </message>
    <message>
        <source>「%1」はこの版より新しい Kamorin の保存先です（形式 %2。この版が読めるのは形式 %3 まで）。このファイルには手を付けません。</source>
        <translation>&quot;%1&quot; is a store of a newer Kamorin (format %2; this version reads up to format %3). The file is left alone.</translation>
    </message>
    <message>
        <source>結果の保存先「%1」は、途中で止まった変更を元に戻す必要があります（「%1-journal」が残っています）。読むだけのコマンドは保存先に書き込みません。書き込める利用者が次に保存先を変えるコマンド（--save か --import）を実行すると、その前に元に戻ります。</source>
        <translation>The results store &quot;%1&quot; needs a change that was cut short rolled back (&quot;%1-journal&quot; is left). A command that only reads never writes to the store; the next command that changes it (--save or --import), run by a user who may write to it, rolls it back first.</translation>
    </message>
</context>
<context>
    <name>TextOutput</name>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>ミリ秒</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>マイクロ秒</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>ウォームアップ</source>
        <translation>Warm-up</translation>
    </message>
    <message>
        <source>（1 ループ %1 ナノ秒）</source>
        <translation> (%1 ns per loop)</translation>
    </message>
    <message>
        <source>実測時間</source>
        <translation>Measured time</translation>
    </message>
    <message>
        <source>計測回数</source>
        <translation>Runs</translation>
    </message>
    <message>
        <source>%1 回</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>平均 ± 標準偏差</source>
        <translation>Mean ± std. dev.</translation>
    </message>
    <message>
        <source>中央値</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>最小 … 最大</source>
        <translation>Min … max</translation>
    </message>
    <message>
        <source>並列計算</source>
        <translation>Parallel run</translation>
    </message>
    <message>
        <source>マルチコア: 毎秒 %1 ループ（1 スレッド: 毎秒 %2 ループ）</source>
        <translation>Multi-core: %1 loops per second (1 thread: %2 loops per second)</translation>
    </message>
    <message>
        <source>速度向上 %1 倍</source>
        <translation>Speedup %1×</translation>
    </message>
    <message>
        <source>（%1 回の中央値、%2 … %3 倍）</source>
        <translation> (median of %1 runs, %2 … %3×)</translation>
    </message>
    <message>
        <source>（スレッド数を超えており当てになりません）</source>
        <translation> (above the thread count, not reliable)</translation>
    </message>
    <message>
        <source>（計測が短すぎて当てになりません）</source>
        <translation> (the runs were too short to be reliable)</translation>
    </message>
    <message>
        <source>ループ回数</source>
        <translation>Loop count</translation>
    </message>
    <message>
        <source>（--count auto が選んだ %1 %2）</source>
        <translation>(%1 %2, chosen by --count auto)</translation>
    </message>
    <message>
        <source>計算値</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>真値</source>
        <translation>True value</translation>
    </message>
    <message>
        <source>一致した桁</source>
        <translation>Matching digits</translation>
    </message>
    <message>
        <source>小数点以下で一致した桁はありません</source>
        <translation>no digits after the decimal point match</translation>
    </message>
    <message>
        <source>計算時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>%1時間%2分%3秒%4</source>
        <translation>%1 h %2 min %3.%4 s</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>%1 台中 %2 位</source>
        <translation>%2 of %1</translation>
    </message>
    <message>
        <source>%1（基準機：%2）</source>
        <translation>%1 (reference machine: %2)</translation>
    </message>
    <message>
        <source>SCORE には 1 秒以上かかった計算結果が必要です。</source>
        <translation>SCORE needs a calculation that took 1 second or more. </translation>
    </message>
    <message>
        <source>ループ回数を増やしてください（--count auto なら、ここでは --count %1 --unit %2）。</source>
        <translation>Raise the loop count (--count auto would choose --count %1 --unit %2 here).</translation>
    </message>
    <message>
        <source>ループ回数を増やしてください（--count auto）。</source>
        <translation>Raise the loop count (--count auto).</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>2000万回の秒数</source>
        <translation>Seconds for 20,000,000</translation>
    </message>
    <message>
        <source>小数点以下 %1 桁まで一致しました。</source>
        <translation>%1 after the decimal point</translation>
    </message>
    <message>
        <source>%1（基準機：%2、中央値の計測）</source>
        <translation>%1 (reference machine: %2, median run)</translation>
    </message>
    <message>
        <source>最後の計測の COPY:</source>
        <translation>COPY of the last run:</translation>
    </message>
    <message numerus="yes">
        <source>%n 回（記録せず）</source>
        <translation>
            <numerusform>%n run (not recorded)</numerusform>
            <numerusform>%n runs (not recorded)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n スレッドで同時に計算し、計算値はすべて一致</source>
        <translation>
            <numerusform>Calculated on %n thread at once; all values agree</numerusform>
            <numerusform>Calculated on %n threads at once; all values agree</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n スレッドで同時に計算したが、計算値が一致しません</source>
        <translation>
            <numerusform>Calculated on %n thread at once, but the values disagree</numerusform>
            <numerusform>Calculated on %n threads at once, but the values disagree</numerusform>
        </translation>
    </message>
    <message>
        <source>（ほかの処理で CPU が足りず当てになりません）</source>
        <translation> (other processes left too few CPUs, not reliable)</translation>
    </message>
</context>
<context>
    <name>UiLanguage</name>
    <message>
        <source>ja</source>
        <comment>The BCP 47 tag of this translation&apos;s language, e.g. en</comment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>UsageText</name>
    <message>
        <source>使い方: kamorin-cli [--count 回数|auto] [--unit 単位] [--speed 表示速度]
                   [--machine 基準機] [--runs N] [--warmup K] [--min-time 秒]
                   [--threads N [--force-threads]] [--cpu K]
                   [--rank] %3 [--no-progress]
                   [--save] [--label TEXT] [--report FILE.html] [--store PATH]
       kamorin-cli --history [--label TEXT] [--machine-model TEXT]
                   [--machine 基準機] %3
                   [--store PATH]
       kamorin-cli --compare A B [--fail-if-slower PERCENT]
                   %3 [--report FILE.html]
                   [--store PATH]
       kamorin-cli --forget ID [--store PATH]
       kamorin-cli --export FILE|- [--label TEXT] [--machine-model TEXT]
                   [--store PATH]
       kamorin-cli --import FILE... [--skip-bad] [--store PATH]
       kamorin-cli --list-machines | --version | -h | --help

Kamorin の計算を画面なしで実行し、結果を表示します。1 秒以上かかった計算は
基準機と比べて SCORE を求め、最後に COPY と同じ 4 行の結果を出力します。
結果を保存しておけば、あとで一覧し、比べ、ほかの機械と持ち寄れます。

計測:
  --count TEXT     ループ回数の数 (既定: 2000)。auto なら、この機械で
                   --min-time 秒以上かかる最小の回数と単位を選びます
  --unit TEXT      単位。次のどれか (既定: 万回。ほかは誤り):
%1  --speed TEXT     表示速度 0 ～ 5 (既定: 1)
  --machine TEXT   比べる基準機の名前 (既定: MMX-Pentium166)
  --runs N         記録する計測の回数 1 ～ 1000 (既定: 1)。2 回以上なら
                   平均 ± 標準偏差、中央値、最小 … 最大も表示します
  --warmup K       記録の前に捨てる計測の回数 0 ～ 1000 (既定: 0)
  --min-time 秒    意味のある計測の最短時間 0 &lt; 秒 ≦ 3600 (既定: 1)
  --threads N      1 スレッドの計測のあと、N 個の計測を同時に実行して
                   マルチコアの速さと速度向上率を求めます (1 ～ 1024、
                   N ≦ 論理 CPU 数)。--warmup と --runs の回数だけ繰り返します
  --force-threads  論理 CPU 数を超える --threads も受け付けます
  --cpu K          1 スレッドの計測を論理 CPU K で実行します
  --rank           268 台の基準機と保存した機械の中でのこの機械の順位表を
                   表示します
%2  --no-progress    端末に進み具合を表示しません
  --save           結果を保存し、その ID を標準エラー出力 (--json なら
                   saved_id) に示します
  --label TEXT     保存する結果やレポートに付けるラベル (200 文字まで)
  --report FILE    この計測の HTML レポート (グラフ、順位、この機種の履歴) を
                   書きます

保存した結果 (どれも計測はしません。同時に使えるのは上の形だけです):
  --history        保存した結果を新しい順に一覧します。--label (完全一致) と
                   --machine-model (CPU 名の一部) で絞り込み、SCORE は
                   --machine の基準機と比べます
  --compare A B    2 つの結果 (ID か ID の先頭 8 文字以上かラベル、last は
                   最後に保存した結果) の実行時間を比べ、速度比 (A ÷ B)、95 %
                   信頼区間、Mann–Whitney の p 値と判定を示します
  --fail-if-slower PERCENT
                   B が A より有意に PERCENT % を超えて遅ければ終了ステータス 1
  --forget ID      その ID の結果を消します (確認しません)
  --export FILE    選んだ結果 (--label, --machine-model。なければ全部) を
                   JSON ファイルに書きます。- なら標準出力に書きます
  --import FILE... --export のファイルを取り込みます。ファイルごとに全部か
                   無しかで、すでにある ID は飛ばします
  --skip-bad       取り込めない結果は名前を示して飛ばし、残りを取り込みます
  --store PATH     保存先 (既定: 環境変数 KAMORIN_STORE、なければ
                   $XDG_DATA_HOME/kamorin/results.sqlite)

  --list-machines  基準機の一覧 (名前とタブと秒数) を出力します
  -h, --help       この説明を表示します
  --version        バージョンを表示します

--rank と --threads は --count も --unit もなければ --count auto で計測します。
--rank は保存先があるときだけ保存した機械を加えます (作りはしません)。
端末では計算中に進み具合を標準エラー出力に表示します (TERM=dumb では表示
しません)。Ctrl-C (SIGINT) か SIGTERM で計算を中止します。計測の直前にほかの
プロセスの実行できるスレッドが論理 CPU 1 個あたり 0.3 を超えるとき、ガバナーが
powersave のとき、相対標準偏差が 5 % を超えるとき、--min-time より短い計測で
順位や速度向上率を求めたとき、ほかのプロセスが並列計算の CPU をふさいだときは
警告します。詳しくは man kamorin-cli を参照してください。

終了ステータス: 0 成功, 1 --fail-if-slower に当たった, 2 実行時エラー,
                64 引数の誤り, 65 取り込めないファイル, 66 結果や保存先がない,
                71 スレッドやメモリの不足, 73 保存先を開けない・書けない,
                74 出力の失敗, 130 SIGINT で中止, 143 SIGTERM で中止
</source>
        <translation>Usage: kamorin-cli [--count COUNT|auto] [--unit UNIT] [--speed SPEED]
                   [--machine MACHINE] [--runs N] [--warmup K] [--min-time S]
                   [--threads N [--force-threads]] [--cpu K]
                   [--rank] %3 [--no-progress]
                   [--save] [--label TEXT] [--report FILE.html] [--store PATH]
       kamorin-cli --history [--label TEXT] [--machine-model TEXT]
                   [--machine MACHINE] %3
                   [--store PATH]
       kamorin-cli --compare A B [--fail-if-slower PERCENT]
                   %3 [--report FILE.html]
                   [--store PATH]
       kamorin-cli --forget ID [--store PATH]
       kamorin-cli --export FILE|- [--label TEXT] [--machine-model TEXT]
                   [--store PATH]
       kamorin-cli --import FILE... [--skip-bad] [--store PATH]
       kamorin-cli --list-machines | --version | -h | --help

Runs Kamorin&apos;s calculation without a window and shows the result. A calculation
that took 1 second or more is scored (SCORE) against a reference machine; last
come the same 4 lines of result that COPY gives. Saved results can be listed,
compared and carried to other machines later.

Measuring:
  --count TEXT     the number of loops, in UNIT (default: 2000). auto chooses
                   the smallest count and unit that take --min-time seconds
                   or more on this machine
  --unit TEXT      the unit, one of these (default: 万回; nothing else):
%1  --speed TEXT     display speed 0 to 5 (default: 1)
  --machine TEXT   the reference machine to compare with
                   (default: MMX-Pentium166)
  --runs N         the number of runs to record, 1 to 1000 (default: 1). With 2
                   or more, also mean ± standard deviation, median, min … max
  --warmup K       the number of runs to discard first, 0 to 1000 (default: 0)
  --min-time S     the shortest meaningful run in seconds, 0 &lt; S ≤ 3600
                   (default: 1)
  --threads N      after the single-thread run, runs N copies at once for the
                   multi-core speed and the speedup (1 to 1024,
                   N ≤ logical CPUs). Repeated as often as --warmup and --runs
  --force-threads  accepts --threads above the number of logical CPUs
  --cpu K          runs the single-thread run on logical CPU K
  --rank           shows this machine&apos;s rank among the 268 reference machines
                   and the saved machines
%2  --no-progress    shows no progress on the terminal
  --save           saves the result and tells its ID on standard error
                   (saved_id with --json)
  --label TEXT     a label for the saved result or the page (200 characters
                   at most)
  --report FILE    writes this run&apos;s HTML page (charts, rank, this CPU model&apos;s
                   history)

Saved results (none of these measures; each goes only with the forms above):
  --history        lists the saved results, newest first. --label (exact match)
                   and --machine-model (part of the CPU name) filter them; SCORE
                   is against the --machine reference machine
  --compare A B    compares the run times of two results (an ID, its first 8
                   or more characters, a label, or last: the one saved last):
                   speed ratio (A ÷ B), 95 % confidence interval, Mann–Whitney
                   p-value and a verdict
  --fail-if-slower PERCENT
                   exit status 1 if B is significantly slower than A by more
                   than PERCENT %
  --forget ID      deletes the result with that ID (without asking)
  --export FILE    writes the chosen results (--label, --machine-model; all
                   without them) to a JSON file; - writes to standard output
  --import FILE... imports files written by --export. Each file goes in whole
                   or not at all; IDs already there are skipped
  --skip-bad       names and skips a result that cannot be imported, and
                   imports the others
  --store PATH     the results store (default: the environment variable
                   KAMORIN_STORE, else $XDG_DATA_HOME/kamorin/results.sqlite)

  --list-machines  lists the reference machines (name, a tab, seconds)
  -h, --help       shows this help
  --version        shows the version

--rank and --threads measure with --count auto when neither --count nor --unit
is given. --rank adds the saved machines only when a store exists (it creates
none). On a terminal the progress is shown on standard error while calculating
(not with TERM=dumb). Ctrl-C (SIGINT) or SIGTERM stops the calculation. A
warning is given when other processes&apos; runnable threads exceed 0.3 per logical
CPU right before the run, when the governor is powersave, when the relative
standard deviation exceeds 5 %, when a rank or a speedup comes from runs
shorter than --min-time, and when other processes left the parallel runs too
few CPUs. See man kamorin-cli for more.

Exit status: 0 success, 1 --fail-if-slower was met, 2 run-time error,
             64 wrong arguments, 65 a file that cannot be imported,
             66 no such result or store, 71 out of threads or memory,
             73 the store cannot be opened or written, 74 output failed,
             130 stopped by SIGINT, 143 stopped by SIGTERM
</translation>
    </message>
</context>
<context>
    <name>VerdictText</name>
    <message>
        <source>速い</source>
        <translation>faster</translation>
    </message>
    <message>
        <source>遅い</source>
        <translation>slower</translation>
    </message>
    <message>
        <source>有意な差なし</source>
        <translation>no significant difference</translation>
    </message>
    <message>
        <source>判定には両方に %1 回以上の記録が必要です</source>
        <translation>a verdict needs at least %1 recorded runs on both sides</translation>
    </message>
    <message>
        <source>（B は A より%1）</source>
        <translation> (B is %1 than A)</translation>
    </message>
</context>
<context>
    <name>WarningText</name>
    <message>
        <source>CPU 周波数のガバナーが powersave です。CPU が本来の速さで動かず、結果が遅く出るおそれがあります。</source>
        <translation>The CPU frequency governor is powersave. The CPU may not run at its full speed, and the results may come out slow.</translation>
    </message>
    <message>
        <source>計測のばらつきが大きすぎます（相対標準偏差 %1 %、%2 % まで）。ほかの処理を止めるか、--runs を増やしてください。</source>
        <translation>The runs vary too much (relative standard deviation %1 %, at most %2 %). Stop other processes or raise --runs.</translation>
    </message>
    <message>
        <source>速度向上率 %1 倍がスレッド数 %2 を超えています。1 スレッドの計測がほかの処理に乱されて遅くなったと考えられ、速度向上率は当てになりません。</source>
        <translation>The speedup of %1× exceeds the thread count of %2. The single-thread run was probably slowed down by other processes, so the speedup is not reliable.</translation>
    </message>
    <message>
        <source>速度向上率</source>
        <translation>speedup</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>rank</translation>
    </message>
    <message>
        <source>計測が %1 秒より短いため、%2は当てになりません（--count auto か --min-time を使ってください）。</source>
        <translation>The runs took less than %1 s, so the %2 is not reliable (use --count auto or --min-time).</translation>
    </message>
    <message>
        <source>計測中に CPU %1 の周波数が %2 MHz から %3 MHz に変わりました。結果は CPU 本来の速さを表していないおそれがあります。</source>
        <translation>The frequency of CPU %1 changed from %2 MHz to %3 MHz during the measurement. The result may not show the CPU&apos;s real speed.</translation>
    </message>
    <message>
        <source>計測中にハイパーバイザーが CPU 時間の %1 % を奪いました（%2 % まで）。仮想マシンのほかの利用者が計測を遅らせたおそれがあります。</source>
        <translation>The hypervisor took %1 % of the CPU time during the measurement (at most %2 %). Other users of the virtual machine may have slowed it down.</translation>
    </message>
    <message numerus="yes">
        <source>論理 CPU %n 個</source>
        <translation>
            <numerusform>%n logical CPU</numerusform>
            <numerusform>%n logical CPUs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>使える CPU %n 個</source>
        <translation>
            <numerusform>%n usable CPU</numerusform>
            <numerusform>%n usable CPUs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>スレッド数 %n</source>
        <translation>
            <numerusform>%n thread</numerusform>
            <numerusform>%n threads</numerusform>
        </translation>
    </message>
    <message>
        <source>計測前の 1 分間の平均負荷が %1 で、%2に対して高すぎます（1 個あたり %3 まで。この平均にはそれまでの計測も含まれます）。ほかの処理が計測を遅らせるおそれがあります。</source>
        <translation>The 1-minute load average before the run was %1, too high for %2 (at most %3 per CPU; the average includes earlier runs too). Other processes may slow the measurement down.</translation>
    </message>
    <message numerus="yes">
        <source>計測の直前に、ほかのプロセスの実行できるスレッドが %1 個あり、%2に対して多すぎます（1 個あたり %3 まで）。ほかの処理が計測を遅らせるおそれがあります。</source>
        <translation>
            <numerusform>Right before the run, other processes had %1 runnable thread, too many for %2 (at most %3 per CPU). Other processes may slow the measurement down.</numerusform>
            <numerusform>Right before the run, other processes had %1 runnable threads, too many for %2 (at most %3 per CPU). Other processes may slow the measurement down.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>並列計算のあいだ、ほかのプロセスの実行できるスレッドが %1 個あり、%2のうち空いていたのは%3 より少なかったため、速度向上率は当てになりません。</source>
        <translation>
            <numerusform>During the parallel runs, other processes had %1 runnable thread, leaving fewer of the %2 free than the %3, so the speedup is not reliable.</numerusform>
            <numerusform>During the parallel runs, other processes had %1 runnable threads, leaving fewer of the %2 free than the %3, so the speedup is not reliable.</numerusform>
        </translation>
    </message>
    <message>
        <source>計測の前後に実行できるスレッドが %1 個（この計測を含む）あり、%2を超えていました。CPU を待った処理が計測を遅らせたおそれがあります。</source>
        <translation>%1 threads were runnable before or after the measurement (this one included), more than the %2. Work waiting for a CPU may have slowed the measurement down.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>
使い方は kamorin-cli --help で表示されます。
</source>
        <translation>
kamorin-cli --help shows the usage.
</translation>
    </message>
    <message>
        <source>計測が最後まで終わらなかったため、結果の保存もレポートもしません。</source>
        <translation>The runs did not finish, so nothing is saved and no page is written.</translation>
    </message>
    <message>
        <source>kamorin-cli: 結果を保存しました。ID: %1
</source>
        <translation>kamorin-cli: result saved. ID: %1
</translation>
    </message>
    <message>
        <source>kamorin-cli: スレッドを作れません: %1
</source>
        <translation>kamorin-cli: cannot create a thread: %1
</translation>
    </message>
    <message>
        <source>kamorin-cli: メモリが足りません: %1
</source>
        <translation>kamorin-cli: out of memory: %1
</translation>
    </message>
</context>
</TS>
