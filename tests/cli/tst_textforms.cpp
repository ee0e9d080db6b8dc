#include "benchmark/Ranking.h"
#include "cli/ProgressLine.h"
#include "formats/Csv.h"
#include "formats/Format.h"
#include "formats/ProgressText.h"
#include "formats/TerminalText.h"
#include "formats/TextOutput.h"
#include "results/JsonWriter.h"
#include "support/SampleResult.h"

#include <QDateTime>
#include <QTest>

#include <cmath>
#include <limits>

using namespace kamorin;

class TestTextForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void csvQuoting_data();
    void csvQuoting();
    void csvRows();
    void jsonNumbers_data();
    void jsonNumbers();
    void jsonStringsSafeOnATerminal();
    void controlsEscaped_data();
    void controlsEscaped();
    void progressLine_data();
    void progressLine();
    void rankingHasEveryRow();
    void markdownTables_data();
    void markdownTables();
    void displayColumns_data();
    void displayColumns();
    void lineFitsColumns_data();
    void lineFitsColumns();
    void tableFitsColumns_data();
    void tableFitsColumns();
};

void TestTextForms::csvQuoting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("number") << "3.14159260358982"
                            << "3.14159260358982";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "1,000"
                           << "\"1,000\"";
    QTest::newRow("quote") << "say \"hi\""
                           << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << "a\nb"
                                << "\"a\nb\"";
    QTest::newRow("carriage return") << "a\rb"
                                     << "\"a\rb\"";
    QTest::newRow("blanks kept unquoted") << " a b "
                                          << " a b ";
    // A spreadsheet would run them as formulas.
    QTest::newRow("formula") << "=HYPERLINK(\"http://x\")"
                             << "\"'=HYPERLINK(\"\"http://x\"\")\"";
    QTest::newRow("plus") << "+1+cmd"
                          << "'+1+cmd";
    QTest::newRow("minus") << "-2+3"
                           << "'-2+3";
    QTest::newRow("at") << "@SUM(A1)"
                        << "'@SUM(A1)";
    QTest::newRow("tab") << "\tx"
                         << "'\tx";
    QTest::newRow("a negative number stays one") << "-1.5"
                                                 << "-1.5";
}

void TestTextForms::csvQuoting()
{
    QFETCH(QString, text);
    QTEST(csvField(text), "field");
}

void TestTextForms::csvRows()
{
    RecordedRun longRun;
    // Past 15 digits, where a reader's text would turn to an exponent.
    longRun.loops = QStringLiteral("1000000000000000");
    longRun.passes = 1e15;
    longRun.seconds = 2.5;
    longRun.value = QStringLiteral("3.14159264358933");
    longRun.digits = QStringLiteral("7");
    longRun.score = 82.4;
    RecordedRun noPass;
    noPass.loops = QStringLiteral("0");
    noPass.seconds = 0.125;
    noPass.value = QStringLiteral("0");
    BenchmarkResult result;
    result.runs = { longRun, noPass };
    result.settings.count = QStringLiteral("10000000");
    result.settings.unit = QStringLiteral("億回");
    result.settings.runs = 2;
    result.settings.cpu = 1;
    result.started = QDateTime(QDate(2026, 12, 8), QTime(1, 2, 3, 45), Qt::UTC);
    const QString shaping
            = QStringLiteral(",10000000,億回,%1,0,2,1,,1,2026-12-08T01:02:03.045Z,1.2.7\n");
    QCOMPARE(runsAsCsv(result, QStringLiteral("1.2.7")),
             QStringLiteral("run,loops,seconds,ns_per_pass,value,digits,score,count,unit,passes,"
                            "warmup,runs,cpu,threads,min_time,started,version\n")
                     + QStringLiteral("1,1000000000000000,2.5,2.5e-06,3.14159264358933,7,82.4")
                     + shaping.arg(QStringLiteral("1000000000000000"))
                     + QStringLiteral("2,0,0.125,,0,,") + shaping.arg(QStringLiteral("0")));
}

void TestTextForms::jsonNumbers_data()
{
    // A real as the shortest text that reads back; a count as an integer.
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("count");
    const QString kNull = QStringLiteral("null");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("whole") << 3.0 << "3"
                           << "3";
    QTest::newRow("shortest") << 0.1 << "0.1"
                              << "0.1";
    QTest::newRow("every digit") << 0.1 + 0.2 << "0.30000000000000004"
                                 << "0.30000000000000004";
    QTest::newRow("small") << 1e-5 << "1e-05"
                           << "1e-05";
    QTest::newRow("round million") << 3e6 << "3e+06"
                                   << "3000000";
    QTest::newRow("2000 万回") << 2e7 << "2e+07"
                               << "20000000";
    QTest::newRow("2^53") << 9007199254740992.0 << "9007199254740992"
                          << "9007199254740992";
    QTest::newRow("beyond 2^53") << 1e21 << "1e+21"
                                 << "1000000000000000000000";
    // The whole number the double holds, not the 10^300 a user typed.
    QTest::newRow("1e300")
            << 1e300 << "1e+300"
            << QStringLiteral(
                       "100000000000000005250476025520442024870446858110815915491585411551180245798"
                       "890819578637137508044786404370444383288387817694252323536043057564479218478"
                       "670698284838720092657580373783023379478809005936895323497079994508111903896"
                       "764088007465274278014249457925878882005684283811566947219638686545940054016"
                       "0");
    QTest::newRow("zero") << -0.0 << "-0"
                          << "0";
    QTest::newRow("negative") << -2.5 << "-2.5"
                              << "-2.5";
    QTest::newRow("not a number") << nan << kNull << kNull;
    QTest::newRow("infinite") << inf << kNull << kNull;
    QTest::newRow("minus infinite") << -inf << kNull << kNull;
}

void TestTextForms::jsonNumbers()
{
    QFETCH(double, value);
    QTEST(jsonNumber(value), "json");
    QTEST(jsonCount(value), "count");
    QCOMPARE(jsonNumber(std::nullopt), QStringLiteral("null"));
    QCOMPARE(jsonCount(std::nullopt), QStringLiteral("null"));
    // Every whole count reads back as the very double it was.
    QFETCH(QString, count);
    if (std::isfinite(value))
        QCOMPARE(count.toDouble(), value);
}

void TestTextForms::jsonStringsSafeOnATerminal()
{
    QCOMPARE(jsonString(QStringLiteral("a\"b\\c\n\x1b\x7f\u009bé★")),
             QStringLiteral("\"a\\\"b\\\\c\\n\\u001b\\u007f\\u009bé★\""));
}

void TestTextForms::controlsEscaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("shownKeepingLines");
    QTest::newRow("plain name") << "Mobile　PenIII500"
                                << "Mobile　PenIII500"
                                << "Mobile　PenIII500";
    QTest::newRow("colour") << "\x1b[31mred"
                            << "\\x1B[31mred"
                            << "\\x1B[31mred";
    QTest::newRow("title") << "\x1b]0;t\x07"
                           << "\\x1B]0;t\\x07"
                           << "\\x1B]0;t\\x07";
    QTest::newRow("tab, DEL, C1") << "a\tb\x7f\u009b"
                                  << "a\\x09b\\x7F\\x9B"
                                  << "a\\x09b\\x7F\\x9B";
    QTest::newRow("lines") << "a\nb\r"
                           << "a\\x0Ab\\x0D"
                           << "a\nb\\x0D";
}

void TestTextForms::controlsEscaped()
{
    QFETCH(QString, text);
    QTEST(escapeControls(text), "shown");
    QTEST(escapeControlsKeepingLines(text), "shownKeepingLines");
}

void TestTextForms::progressLine_data()
{
    QTest::addColumn<double>("done");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("elapsed");
    // The recorded run of three, 0 for none.
    QTest::addColumn<int>("recorded");
    QTest::addColumn<QString>("line");
    QTest::newRow("a quarter") << 50.0 << 200.0 << 2.0 << 1
                               << "計測 1/3  25.0%  50/200 回  経過 2.0 秒  残り 約 6.0 秒";
    QTest::newRow("before the first pass")
            << 0.0 << 2e8 << 0.1 << 0 << "0.0%  0/200000000 回  経過 0.1 秒  残り --";
    QTest::newRow("hours") << 1e11 << 1e12 << 3725.0 << 0
                           << "10.0%  100000000000/1000000000000 回  経過 1時間2分5秒  "
                              "残り 約 9時間18分45秒";
    QTest::newRow("nothing to do")
            << 0.0 << 0.0 << 0.0 << 0 << "0.0%  0/0 回  経過 0.0 秒  残り --";
    QTest::newRow("a count of 1e300") << 1e9 << 1e300 << 10.0 << 0
                                      << "0.0%  1000000000/1e+300 回  経過 10.0 秒  "
                                         "残り 見積もれません";
    QTest::newRow("past 99 days") << 1.0 << 1e6 << 10.0 << 0
                                  << "0.0%  1/1000000 回  経過 10.0 秒  残り 約 115 日";
}

void TestTextForms::progressLine()
{
    QFETCH(double, done);
    QFETCH(double, total);
    QFETCH(double, elapsed);
    QFETCH(int, recorded);
    const RunRegistry::Snapshot snapshot {
        true, done, total, elapsed, recorded > 0 ? RunPhase::Recorded : RunPhase::None, recorded, 3
    };
    QTEST(progressLineText(snapshot), "line");
}

void TestTextForms::markdownTables_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");
    const QString historyHead = QStringLiteral(
            "| ID | 開始 (UTC) | ラベル | CPU | ホスト | ループ | 実行 | 中央値 (秒) | SCORE "
            "(MMX-Pentium166) |\n| --- | --- | --- | --- | --- | ---: | ---: | ---: | ---: |\n|");
    const QString linesHead = QStringLiteral("| 項目 | 値 |\n| --- | --- |\n| ");
    QTest::newRow("history: heading, alignment") << "history"
                                                 << "a" << historyHead;
    QTest::newRow("history: pipe") << "history"
                                   << "a|b"
                                   << "| a\\|b |";
    QTest::newRow("history: backslash and pipe") << "history"
                                                 << "a\\|b"
                                                 << "| a\\\\\\|b |";
    QTest::newRow("history: control") << "history"
                                      << "a\x1b"
                                      << "| a\\\\x1B |";
    QTest::newRow("history: image, link and HTML shown as text")
            << "history"
            << "![t](https://x/y.png) <img src=x> **b** _i_ `c` ~~s~~ &lt;"
            << "| \\!\\[t\\](https://x/y.png) \\<img src=x\\> \\*\\*b\\*\\* \\_i\\_ "
               "\\`c\\` \\~\\~s\\~\\~ \\&lt; |";
    QTest::newRow("history: long label whole")
            << "history" << QString(150, u'x')
            << QStringLiteral("| ") + QString(150, u'x') + QStringLiteral(" |");
    QTest::newRow("comparison: heading, alignment") << "comparison"
                                                    << "a" << linesHead + QStringLiteral("A | ");
    QTest::newRow("comparison: pipe") << "comparison"
                                      << "a|b"
                                      << "UTC  a\\|b |\n";
    QTest::newRow("run: heading, alignment") << "run"
                                             << "a" << linesHead + QStringLiteral("ループ回数 | ");
    QTest::newRow("ranking: heading, alignment")
            << "run"
            << "a"
            << "| 順位 | 名前 | 2000万回の秒数 | SCORE |\n| ---: | --- | ---: | ---: |\n";
    QTest::newRow("ranking: pipe") << "run"
                                   << "a|b"
                                   << "| \\[保存\\] CPU（host、a\\|b） | 15.00 |";
}

// Every line a row of a GitHub table, text from the user kept inside its cell.
void TestTextForms::markdownTables()
{
    QFETCH(QString, answer);
    QFETCH(QString, label);
    QFETCH(QString, expected);
    const Format &markdown = formatFor(OutputForm::Markdown);
    const SavedResult a = sampleResult(label), b = sampleResult();
    QString out;
    if (answer == QStringLiteral("history")) {
        const std::vector<SavedResult> results { a, b };
        const std::vector<std::optional<QString>> scores { QStringLiteral("1.00"), std::nullopt };
        markdown.history({ results, scores, QStringLiteral("MMX-Pentium166") },
                         [&out](const QString &piece) { out += piece; });
    } else if (answer == QStringLiteral("comparison")) {
        const Comparison comparison = compareRuns(a.seconds(), b.seconds());
        out = markdown.comparison({ a, b, comparison });
    } else {
        constexpr ReferenceMachine machines[] = { { u"A", 10 }, { u"B", 20 } };
        const SavedMachine saved { QStringLiteral("id"), QStringLiteral("CPU"),
                                   QStringLiteral("host"), label, 15 };
        BenchmarkResult result;
        result.rank = rankAmong(machines, 25, { &saved, 1 });
        const WindowReadings window;
        out = markdown.run({ window, result, std::nullopt, std::nullopt, std::nullopt });
    }
    QVERIFY2(out.contains(expected), qPrintable(out));
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'|'))
            QVERIFY2(line.endsWith(QStringLiteral(" |")) && !line.endsWith(QStringLiteral("\\ |")),
                     qPrintable(line));
    }
}

void TestTextForms::rankingHasEveryRow()
{
    constexpr ReferenceMachine machines[]
            = { { u"D", 30 }, { u"B", 20 }, { u"A", 10 }, { u"C", 20 } };
    const QStringList lines
            = rankingAsText(rankAmong(machines, 25)).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 5);
    QVERIFY(lines[0].contains(QStringLiteral("順位")));
    QCOMPARE(lines[1].simplified(), QStringLiteral("1 A 10.00"));
    QCOMPARE(lines[4].simplified(), QStringLiteral("4 ★この機械 25.00"));
    QCOMPARE(lines[5].simplified(), QStringLiteral("5 D 30.00"));
}

void TestTextForms::displayColumns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");
    QTest::newRow("ASCII") << "abc" << 3;
    QTest::newRow("ideographs") << "計測" << 4;
    QTest::newRow("half-width kana and its mark") << "ｶﾞ" << 2;
    QTest::newRow("full-width letter") << "Ａ" << 2;
    QTest::newRow("ambiguous counts narrow") << "①" << 1;
    QTest::newRow("precomposed é") << "é" << 1;
    QTest::newRow("decomposed é: the mark takes none") << "e\u0301" << 1;
    QTest::newRow("enclosing mark") << "1\u20e3" << 1;
    QTest::newRow("zero-width space") << "a\u200bb" << 2;
    QTest::newRow("conjoining Hangul") << "\u1112\u1161\u11ab" << 2;
    QTest::newRow("emoji, a surrogate pair") << "\U0001F600" << 2;
    QTest::newRow("ideograph beyond the BMP") << "\U00020BB7" << 2;
}

void TestTextForms::displayColumns()
{
    QFETCH(QString, text);
    QTEST(kamorin::displayColumns(text), "columns");
}

void TestTextForms::lineFitsColumns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("fitted");
    QTest::addColumn<QString>("cut");
    QTest::newRow("fits") << "計測 1/3" << 20 << "計測 1/3"
                          << "計測 1/3";
    QTest::newRow("cut at a narrow character") << "計測 1/3" << 6 << "計測 1"
                                               << "計測 …";
    QTest::newRow("a wide character never halved") << "計測 1/3" << 3 << "計"
                                                   << "計…";
    QTest::newRow("no room") << "計測" << 1 << ""
                             << "…";
    QTest::newRow("a mark stays with its letter") << "e\u0301te" << 2 << "e\u0301t"
                                                  << "e\u0301…";
    QTest::newRow("a surrogate pair never split") << "\U0001F600x" << 1 << ""
                                                  << "…";
    QTest::newRow("long label") << "nightly-build-of-the-kernel" << 10 << "nightly-bu"
                                << "nightly-b…";
}

void TestTextForms::lineFitsColumns()
{
    QFETCH(QString, text);
    QFETCH(int, columns);
    QTEST(leadingColumns(text, columns), "fitted");
    QTEST(cutToColumns(text, columns), "cut");
}

void TestTextForms::tableFitsColumns_data()
{
    // One row of cells, as table() lays it out after the cut.
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QList<int>>("narrowest");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("line");
    const QStringList row { QStringLiteral("id-0123456789"), QStringLiteral("label"),
                            QStringLiteral("計測計測") };
    QTest::newRow("fits") << row << QList<int> { 0, 3, 3 } << 30
                          << "id-0123456789  label  計測計測";
    QTest::newRow("the widest first")
            << row << QList<int> { 0, 3, 3 } << 27 << "id-0123456789  label  計測…";
    // A wide character goes whole, so the column may end a column short.
    QTest::newRow("then the next widest")
            << row << QList<int> { 0, 3, 3 } << 24 << "id-0123456789  la…  計…";
    QTest::newRow("a kept column stays whole, however narrow")
            << row << QList<int> { 0, 3, 3 } << 10 << "id-0123456789  la…  計…";
    QTest::newRow("down to its narrowest")
            << row << QList<int> { 9, 3, 3 } << 10 << "id-01234…  la…  計…";
}

void TestTextForms::tableFitsColumns()
{
    QFETCH(QStringList, row);
    QFETCH(QList<int>, narrowest);
    QFETCH(int, columns);
    const std::vector<QStringList> fitted
            = fitToColumns({ row }, std::vector<int>(narrowest.begin(), narrowest.end()), columns);
    QTEST(table(fitted, std::vector<bool>(row.size(), false)).chopped(1), "line");
}

QTEST_APPLESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
