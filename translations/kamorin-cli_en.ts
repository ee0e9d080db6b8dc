<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
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
    <name>UiLanguage</name>
    <message>
        <source>ja</source>
        <comment>The BCP 47 tag of this translation&apos;s language, e.g. en</comment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>WarningText</name>
    <message>
        <source>計測前の 1 分間の平均負荷が %1 で、論理 CPU %2 個に対して高すぎます（1 個あたり %3 まで）。ほかの処理が計測を遅らせるおそれがあります。</source>
        <translation>The 1-minute load average before the run was %1, too high for %2 logical CPUs (at most %3 per CPU). Other processes may slow the measurement down.</translation>
    </message>
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
</context>
</TS>
