#include "scoring/ReferenceMachineTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <cmath>
#include <sched.h>
#include <signal.h>
#include <sys/utsname.h>

namespace {

struct Result
{
    int status;
    QString out;
    QString err;
};

// The kamorin-cli built beside this test, or the one KAMORIN_CLI names: the
// ThreadSanitizer stage runs this test, built without it, against an
// instrumented kamorin-cli.
QString cliProgram()
{
    return qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI));
}

Result runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(cliProgram(), arguments);
    process.waitForFinished(120000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

QJsonObject parseJson(const QString &text)
{
    QJsonParseError error {};
    const QJsonObject json = QJsonDocument::fromJson(text.toUtf8(), &error).object();
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", qPrintable(text));
    return json;
}

int allowedCpuCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    sched_getaffinity(0, sizeof set, &set);
    return CPU_COUNT(&set);
}

// A run that takes over a second on any machine this is likely to meet.
const QStringList kLongRun { QStringLiteral("--count=1"), QStringLiteral("--unit=億回"),
                             QStringLiteral("--speed=0") };

} // namespace

class TestKamorinCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jsonResults_data();
    void jsonResults();
    void defaultRunInJapanese();
    void runtimeErrors_data();
    void runtimeErrors();
    void badOptions_data();
    void badOptions();
    void helpAndVersion();

    void repeatedRunsWithStatistics();
    void csvRows();
    void rankAgreesWithTheTable();
    void rankAsText();
    void threadsGiveTheSameValue();
    void runScoresAgreeWithScore();
    void runResultsKeptAfterAFailure_data();
    void runResultsKeptAfterAFailure();
    void userTextEscapedOnStderr();
    void badBenchmarkOptions_data();
    void badBenchmarkOptions();
    void stopSignals_data();
    void stopSignals();
    void progressLineOnATerminal();
    void noProgressLineInAPipe();
};

void TestKamorinCli::jsonResults_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("loops");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("digits");

    QTest::newRow("100 回") << QStringList { QStringLiteral("--count=100"),
                                             QStringLiteral("--unit=回") }
                            << "100"
                            << "3.13159290355855"
                            << "1";
    QTest::newRow("10 千回") << QStringList { QStringLiteral("--count"), QStringLiteral("10"),
                                              QStringLiteral("--unit"), QStringLiteral("千回") }
                             << "10000"
                             << "3.14149265359003"
                             << "3";
    QTest::newRow("unknown unit") << QStringList { QStringLiteral("--count=7"),
                                                   QStringLiteral("--unit=x") }
                                  << "7"
                                  << "3.28373848373848"
                                  << "";
    QTest::newRow("negative") << QStringList { QStringLiteral("--count"), QStringLiteral("-5"),
                                               QStringLiteral("--unit=回") }
                              << "-5"
                              << "0"
                              << "";
}

void TestKamorinCli::jsonResults()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments << QStringLiteral("--json"));
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.isEmpty());

    QJsonParseError error {};
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QTEST(json.value(QStringLiteral("loops")).toString(), "loops");
    QTEST(json.value(QStringLiteral("value")).toString(), "value");
    QTEST(json.value(QStringLiteral("digits")).toString(), "digits");
    QCOMPARE(json.value(QStringLiteral("hours")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("minutes")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("seconds")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("hundredths")).toString().size(), 2);
    QCOMPARE(json.value(QStringLiteral("score_enabled")), QJsonValue(false));
}

void TestKamorinCli::defaultRunInJapanese()
{
    const Result r = runCli({});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(QStringLiteral("3.14159260358982")), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("小数点以下 7 桁まで一致しました。")));
    QVERIFY(r.out.contains(QStringLiteral("20000000")));
}

void TestKamorinCli::runtimeErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString mismatch = QStringLiteral("kamorin-cli: 実行時エラー '13': 型が一致しません。\n");
    QTest::newRow("empty count") << QStringList { QStringLiteral("--count=") } << mismatch;
    QTest::newRow("letters") << QStringList { QStringLiteral("--count=abc") } << mismatch;
    QTest::newRow("thousands separator")
            << QStringList { QStringLiteral("--count=1,000") } << mismatch;
    QTest::newRow("nan") << QStringList { QStringLiteral("--count=nan") } << mismatch;
    QTest::newRow("overflow") << QStringList {
        QStringLiteral("--count=1e400")
    } << QStringLiteral("kamorin-cli: 実行時エラー '6': オーバーフローしました。\n");
}

void TestKamorinCli::runtimeErrors()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments << QStringLiteral("--json"));
    QCOMPARE(r.status, 2);
    QTEST(r.err, "message");
    QVERIFY(r.out.isEmpty());
}

void TestKamorinCli::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown") << QStringList { QStringLiteral("--fast") };
    QTest::newRow("missing value") << QStringList { QStringLiteral("--unit") };
}

void TestKamorinCli::badOptions()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments);
    QCOMPARE(r.status, 64);
    QVERIFY(r.err.contains(QStringLiteral("使い方: kamorin-cli")));
    QVERIFY(r.out.isEmpty());
}

void TestKamorinCli::helpAndVersion()
{
    const Result help = runCli({ QStringLiteral("--help") });
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.startsWith(QStringLiteral("使い方: kamorin-cli")));

    const Result version = runCli({ QStringLiteral("--version") });
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("kamorin-cli 1.2.7\n"));
}

void TestKamorinCli::repeatedRunsWithStatistics()
{
    const Result r = runCli({ QStringLiteral("--json"), QStringLiteral("--runs=3"),
                              QStringLiteral("--warmup=1"), QStringLiteral("--count=100"),
                              QStringLiteral("--unit=万回") });
    QCOMPARE(r.status, 0);
    const QJsonObject json = parseJson(r.out);
    QCOMPARE(json.value(QStringLiteral("value")).toString(), QStringLiteral("3.14159165358977"));

    const QJsonArray runs = json.value(QStringLiteral("runs")).toArray();
    QCOMPARE(runs.size(), 3);
    std::vector<double> seconds;
    for (const QJsonValue &run : runs) {
        const QJsonObject o = run.toObject();
        QCOMPARE(o.value(QStringLiteral("value")).toString(), QStringLiteral("3.14159165358977"));
        QCOMPARE(o.value(QStringLiteral("digits")).toString(), QStringLiteral("5"));
        QVERIFY(o.value(QStringLiteral("score")).isNull());
        const double s = o.value(QStringLiteral("seconds")).toDouble();
        QVERIFY(s > 0);
        QCOMPARE(o.value(QStringLiteral("ns_per_pass")).toDouble(), s * 1e9 / 1000000);
        seconds.push_back(s);
    }
    std::sort(seconds.begin(), seconds.end());
    const QJsonObject statistics = json.value(QStringLiteral("statistics")).toObject();
    QCOMPARE(statistics.value(QStringLiteral("min")).toDouble(), seconds[0]);
    QCOMPARE(statistics.value(QStringLiteral("median")).toDouble(), seconds[1]);
    QCOMPARE(statistics.value(QStringLiteral("max")).toDouble(), seconds[2]);
    const double mean = (seconds[0] + seconds[1] + seconds[2]) / 3;
    QVERIFY(std::abs(statistics.value(QStringLiteral("mean")).toDouble() - mean) < 1e-12);
    QVERIFY(statistics.value(QStringLiteral("stddev")).toDouble() >= 0);

    const QJsonObject system = json.value(QStringLiteral("system")).toObject();
    QCOMPARE(system.value(QStringLiteral("logical_cpus")).toInt(), allowedCpuCount());
    utsname names {};
    uname(&names);
    QCOMPARE(system.value(QStringLiteral("kernel")).toString(), QString::fromUtf8(names.release));
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    QVERIFY(cpuinfo.open(QIODevice::ReadOnly));
    const auto model = QRegularExpression(QStringLiteral("^model name\\s*:\\s*(.*)$"),
                                          QRegularExpression::MultilineOption)
                               .match(QString::fromUtf8(cpuinfo.readAll()));
    if (model.hasMatch())
        QCOMPARE(system.value(QStringLiteral("cpu_model")).toString(), model.captured(1).trimmed());
    QCOMPARE(system.value(QStringLiteral("load_average")).toArray().size(), 3);
    QVERIFY(system.value(QStringLiteral("warnings")).isArray());

    // The summary in Japanese shows the spread.
    const Result text = runCli({ QStringLiteral("--runs=2"), QStringLiteral("--count=100"),
                                 QStringLiteral("--unit=回") });
    QCOMPARE(text.status, 0);
    for (const char *heading : { "平均 ± 標準偏差", "中央値", "最小 … 最大" })
        QVERIFY2(text.out.contains(QString::fromUtf8(heading)), heading);
}

void TestKamorinCli::csvRows()
{
    const Result r = runCli({ QStringLiteral("--csv"), QStringLiteral("--runs=2"),
                              QStringLiteral("--count=100"), QStringLiteral("--unit=回") });
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("run,loops,seconds,ns_per_pass,value,digits,score"));
    for (int i = 1; i <= 2; ++i) {
        const QStringList cells = lines[i].split(u',');
        QCOMPARE(cells.size(), 7);
        QCOMPARE(cells[0], QString::number(i));
        QCOMPARE(cells[1], QStringLiteral("100"));
        QVERIFY(cells[2].toDouble() > 0);
        QCOMPARE(cells[4], QStringLiteral("3.13159290355855"));
        QCOMPARE(cells[5], QStringLiteral("1"));
        QCOMPARE(cells[6], QString());
    }
}

void TestKamorinCli::rankAgreesWithTheTable()
{
    const Result r = runCli({ QStringLiteral("--rank"), QStringLiteral("--json"),
                              QStringLiteral("--count=200"), QStringLiteral("--unit=万回") });
    QCOMPARE(r.status, 0);
    const QJsonObject json = parseJson(r.out);
    const QJsonObject rank = json.value(QStringLiteral("rank")).toObject();
    const double runSeconds = json.value(QStringLiteral("runs"))
                                      .toArray()[0]
                                      .toObject()
                                      .value(QStringLiteral("seconds"))
                                      .toDouble();
    const double seconds = rank.value(QStringLiteral("seconds")).toDouble();
    QVERIFY(std::abs(seconds - runSeconds * 10) < 1e-9 * seconds);
    QCOMPARE(rank.value(QStringLiteral("of")).toInt(), 269);

    int faster = 0;
    for (const kamorin::ReferenceMachine &machine : kamorin::ReferenceMachineTable::entries())
        if (machine.seconds < seconds)
            ++faster;
    QCOMPARE(rank.value(QStringLiteral("position")).toInt(), faster + 1);
    if (faster == 0)
        QVERIFY(rank.value(QStringLiteral("faster")).isNull());
    QVERIFY(rank.value(QStringLiteral("slower")).isString());
}

void TestKamorinCli::rankAsText()
{
    const Result r = runCli({ QStringLiteral("--rank"), QStringLiteral("--count=100"),
                              QStringLiteral("--unit=回") });
    QCOMPARE(r.status, 0);
    const QRegularExpression row(
            QStringLiteral("^ *(\\d+)  (.+?) +(\\d+\\.\\d\\d)  +(\\d+\\.\\d\\d\\d)$"));
    int rows = 0;
    int ownRows = 0;
    int lastPosition = 0;
    for (const QString &line : r.out.split(u'\n')) {
        const auto match = row.match(line);
        if (!match.hasMatch())
            continue;
        ++rows;
        QVERIFY(match.captured(1).toInt() >= lastPosition);
        lastPosition = match.captured(1).toInt();
        if (match.captured(2) == QStringLiteral("★この機械")) {
            ++ownRows;
            QCOMPARE(match.captured(4), QStringLiteral("1.000"));
        }
    }
    QCOMPARE(rows, 269);
    QCOMPARE(ownRows, 1);
}

void TestKamorinCli::threadsGiveTheSameValue()
{
    const Result r = runCli({ QStringLiteral("--threads=2"), QStringLiteral("--force-threads"),
                              QStringLiteral("--json"), QStringLiteral("--count=100"),
                              QStringLiteral("--unit=万回") });
    QCOMPARE(r.status, 0);
    const QJsonObject parallel = parseJson(r.out).value(QStringLiteral("parallel")).toObject();
    QCOMPARE(parallel.value(QStringLiteral("threads")).toInt(), 2);
    const QJsonArray values = parallel.value(QStringLiteral("values")).toArray();
    QCOMPARE(values.size(), 2);
    for (const QJsonValue &value : values)
        QCOMPARE(value.toString(), QStringLiteral("3.14159165358977"));
    const double seconds = parallel.value(QStringLiteral("seconds")).toDouble();
    QVERIFY(seconds > 0);
    QCOMPARE(parallel.value(QStringLiteral("passes_per_second")).toDouble(), 2 * 1000000 / seconds);
    const double single = parallel.value(QStringLiteral("single_passes_per_second")).toDouble();
    QCOMPARE(parallel.value(QStringLiteral("speedup")).toDouble(), 2 * 1000000 / seconds / single);
}

void TestKamorinCli::runScoresAgreeWithScore()
{
    const Result r = runCli(QStringList(kLongRun) << QStringLiteral("--json"));
    QCOMPARE(r.status, 0);
    const QJsonObject json = parseJson(r.out);
    if (!json.value(QStringLiteral("score_enabled")).toBool())
        QSKIP("this machine runs 1 億回 in under a second");
    // SCORE works from the hundredths, the run's score from the full seconds.
    const double score = json.value(QStringLiteral("runs"))
                                 .toArray()[0]
                                 .toObject()
                                 .value(QStringLiteral("score"))
                                 .toDouble();
    const double shown = json.value(QStringLiteral("score")).toString().toDouble();
    QVERIFY2(std::abs(score - shown) / shown < 0.02, qPrintable(r.out));
}

void TestKamorinCli::runResultsKeptAfterAFailure_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown machine")
            << QStringList { QStringLiteral("--machine=Pentium 9") }
            << QStringLiteral("kamorin-cli: 基準機「Pentium 9」は登録されていません。\n");
    QTest::newRow("display speed no number")
            << QStringList { QStringLiteral("--speed=fast") }
            << QStringLiteral("kamorin-cli: 実行時エラー '13': 型が一致しません。\n");
}

void TestKamorinCli::runResultsKeptAfterAFailure()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const Result r = runCli(QStringList(kLongRun) << arguments << QStringLiteral("--json"));
    const QJsonObject json = parseJson(r.out);
    if (!json.value(QStringLiteral("score_enabled")).toBool())
        QSKIP("this machine runs 1 億回 in under a second");
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.endsWith(error), qPrintable(r.err));
    QCOMPARE(json.value(QStringLiteral("value")).toString(), QStringLiteral("3.14159264358933"));
    QCOMPARE(json.value(QStringLiteral("runs")).toArray().size(), 1);
    QVERIFY(json.value(QStringLiteral("report")).toString().contains(QStringLiteral("1億回")));
}

void TestKamorinCli::userTextEscapedOnStderr()
{
    const Result r = runCli({ QStringLiteral("--count\x1b]0;title\x07") });
    QCOMPARE(r.status, 64);
    QVERIFY(!r.err.contains(u'\x1b'));
    QVERIFY(!r.err.contains(u'\x07'));
    QVERIFY(r.err.contains(QStringLiteral("--count\\x1B]0;title\\x07")));

    const Result json
            = runCli({ QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                       QStringLiteral("--machine=a\x1b[31mb\u009b"), QStringLiteral("--json") });
    QCOMPARE(json.status, 0);
    QVERIFY(!json.out.contains(u'\x1b'));
    QVERIFY(!json.out.contains(u'\u009b'));
    QCOMPARE(parseJson(json.out).value(QStringLiteral("machine")).toString(),
             QStringLiteral("a\x1b[31mb\u009b"));
}

void TestKamorinCli::badBenchmarkOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const int cpus = allowedCpuCount();
    QTest::newRow("no runs") << QStringList { QStringLiteral("--runs=0") }
                             << QStringLiteral("--runs には 1 から 1000 までの整数");
    QTest::newRow("runs not a number")
            << QStringList { QStringLiteral("--runs"), QStringLiteral("abc") }
            << QStringLiteral("「abc」は使えません");
    QTest::newRow("no threads") << QStringList { QStringLiteral("--threads=0") }
                                << QStringLiteral("--threads には");
    QTest::newRow("negative warm-up") << QStringList { QStringLiteral("--warmup=-1") }
                                      << QStringLiteral("--warmup には 0 から 1000 までの整数");
    QTest::newRow("huge warm-up") << QStringList { QStringLiteral("--warmup=100000000000") }
                                  << QStringLiteral("--warmup には");
    QTest::newRow("CPU that is not there")
            << QStringList { QStringLiteral("--cpu=%1").arg(cpus + 64) }
            << QStringLiteral("論理 CPU %1 はありません").arg(cpus + 64);
    QTest::newRow("more threads than CPUs")
            << QStringList { QStringLiteral("--threads=%1").arg(cpus + 1) }
            << QStringLiteral("--force-threads");
    QTest::newRow("CSV and JSON") << QStringList { QStringLiteral("--csv"),
                                                   QStringLiteral("--json") }
                                  << QStringLiteral("同時に指定できません");
}

void TestKamorinCli::badBenchmarkOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    // A count that would run for hours: nothing may run.
    QElapsedTimer timer;
    timer.start();
    const Result r
            = runCli(arguments << QStringLiteral("--count=1000") << QStringLiteral("--unit=億回"));
    QCOMPARE(r.status, 64);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QVERIFY(timer.elapsed() < 30000);
}

void TestKamorinCli::stopSignals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("status");
    QTest::newRow("SIGINT") << QStringList() << SIGINT << 130;
    QTest::newRow("SIGTERM") << QStringList() << SIGTERM << 143;
    QTest::newRow("SIGINT, JSON, repeated runs")
            << QStringList { QStringLiteral("--json"), QStringLiteral("--runs=3") } << SIGINT
            << 130;
}

void TestKamorinCli::stopSignals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signalNumber);
    // Hours of work: the test ends only if the signal ends the run.
    QProcess process;
    process.start(cliProgram(),
                  arguments << QStringLiteral("--count=1000") << QStringLiteral("--unit=億回"));
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));
    ::kill(static_cast<pid_t>(process.processId()), signalNumber);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(process.waitForFinished(10000));
    QVERIFY2(timer.elapsed() < 5000, "the run went on long after the signal");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QTEST(process.exitCode(), "status");
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.endsWith(QStringLiteral("kamorin-cli: 計算を中止しました。\n")), qPrintable(err));
    QCOMPARE(err.count(QStringLiteral("中止")), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

void TestKamorinCli::progressLineOnATerminal()
{
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("script (util-linux) is not installed");
    QProcess process;
    process.start(script,
                  { QStringLiteral("-qfec"),
                    QStringLiteral("'%1' --count 2 --unit 億回 --speed 0").arg(cliProgram()),
                    QStringLiteral("/dev/null") });
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    // Each frame starts with a carriage return and shows its percentage.
    const QRegularExpression frame(
            QStringLiteral("\r[^\r\n]*\\d+\\.\\d%  \\d+/200000000 回  経過 "));
    QVERIFY2(out.count(frame) >= 3, qPrintable(out));
    // Wiped before the summary, which starts on a clean line.
    QVERIFY2(out.contains(QStringLiteral("\r\x1b[Kループ回数")), qPrintable(out));
}

void TestKamorinCli::noProgressLineInAPipe()
{
    const Result r = runCli({ QStringLiteral("--count=3000"), QStringLiteral("--runs=2") });
    QCOMPARE(r.status, 0);
    QVERIFY(!r.err.contains(u'\r'));
    QVERIFY(!r.err.contains(u'\x1b'));
    QVERIFY(!r.err.contains(QStringLiteral("経過")));
}

QTEST_GUILESS_MAIN(TestKamorinCli)
#include "tst_kamorincli.moc"
