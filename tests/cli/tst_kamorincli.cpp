#include "formats/TerminalText.h"
#include "scoring/ReferenceMachineTable.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <cmath>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
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

// A kamorin-cli built with AddressSanitizer, as this test is, or the
// ThreadSanitizer one that KAMORIN_CLI names.
bool sanitizedCli()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return qEnvironmentVariableIsSet("KAMORIN_CLI");
#endif
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

// The fields of the window, apart from the measurements.
QJsonObject windowOf(const QJsonObject &json)
{
    return json.value(QStringLiteral("window")).toObject();
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
    void failures_data();
    void failures();
    void badOptions_data();
    void badOptions();
    void helpAndVersion();

    void repeatedRunsWithStatistics();
    void csvRows();
    void rankAgreesWithTheTable();
    void rankAsText();
    void threadsGiveTheSameValue();
    void runScoresAgreeWithScore();
    void userTextEscapedOnStderr();
    void badBenchmarkOptions_data();
    void badBenchmarkOptions();
    void stopSignals_data();
    void stopSignals();
    void progressLineOnATerminal_data();
    void progressLineOnATerminal();
    void noProgressLineInAPipe();
    void outputFailures_data();
    void outputFailures();
    void stopWhileBlockedWriting();
    void countAutoLastsTheMinimum();
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
    QVERIFY2(r.err.isEmpty() || r.err.contains(QStringLiteral("回 として数えます")),
             qPrintable(r.err));

    QJsonParseError error {};
    const QJsonObject all = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(all.value(QStringLiteral("error")), QJsonValue(QJsonValue::Null));
    QCOMPARE(all.value(QStringLiteral("program")).toObject().value(QStringLiteral("version")),
             QJsonValue(QStringLiteral("1.2.7")));
    QVERIFY(QDateTime::fromString(all.value(QStringLiteral("started")).toString(),
                                  Qt::ISODateWithMs)
                    .isValid());
    const QJsonObject settings = all.value(QStringLiteral("settings")).toObject();
    QVERIFY(settings.value(QStringLiteral("passes")).isDouble());
    const QJsonObject json = windowOf(all);
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

void TestKamorinCli::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    // A limit on the address space in KiB, 0 for none.
    QTest::addColumn<int>("memoryLimit");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const auto count = [](const char *text) {
        return QStringList { QStringLiteral("--count=") + QString::fromUtf8(text) };
    };
    const QString mismatch = QStringLiteral("実行時エラー '13': 型が一致しません。");
    QTest::newRow("empty count") << count("") << 0 << 2
                                 << QStringLiteral("--count \"\": ") + mismatch;
    QTest::newRow("letters") << count("abc") << 0 << 2
                             << QStringLiteral("--count \"abc\": ") + mismatch;
    QTest::newRow("thousands separator")
            << count("1,000") << 0 << 2 << QStringLiteral("--count \"1,000\": ") + mismatch;
    QTest::newRow("nan") << count("nan") << 0 << 2
                         << QStringLiteral("--count \"nan\": ") + mismatch;
    QTest::newRow("overflow") << count("1e400") << 0 << 2
                              << "--count \"1e400\": 実行時エラー '6': オーバーフローしました。";
    // A hundred thread stacks do not fit in 600 MB.
    QTest::newRow("threads that cannot be made")
            << QStringList { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                             QStringLiteral("--threads=100"), QStringLiteral("--force-threads") }
            << 600000 << 71 << "スレッドを作れません: ";
}

void TestKamorinCli::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, memoryLimit);
    QFETCH(int, status);
    QFETCH(QString, message);
    if (memoryLimit > 0 && sanitizedCli())
        QSKIP("A sanitizer's shadow memory alone exceeds the limit");
    QProcess process;
    if (memoryLimit > 0) {
        process.setChildProcessModifier([memoryLimit] {
            const rlimit limit { rlim_t(memoryLimit) * 1024, rlim_t(memoryLimit) * 1024 };
            setrlimit(RLIMIT_AS, &limit);
        });
    }
    process.start(cliProgram(), arguments << QStringLiteral("--json"));
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.startsWith(QStringLiteral("kamorin-cli: ") + message), qPrintable(err));
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

void TestKamorinCli::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown") << QStringList { QStringLiteral("--fast") };
    QTest::newRow("missing value") << QStringList { QStringLiteral("--unit") };
    // Hours of runs if anything ran before the check.
    QTest::newRow("machine typo") << QStringList {
        QStringLiteral("--count=9000"), QStringLiteral("--unit=億回"),
        QStringLiteral("--machine=typo"), QStringLiteral("--warmup=2"), QStringLiteral("--runs=3")
    };
    QTest::newRow("speed typo") << QStringList { QStringLiteral("--count=9000"),
                                                 QStringLiteral("--unit=億回"),
                                                 QStringLiteral("--speed=fast") };
}

void TestKamorinCli::badOptions()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments);
    QCOMPARE(r.status, 64);
    QVERIFY(r.err.endsWith(QStringLiteral("使い方は kamorin-cli --help で表示されます。\n")));
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
    QCOMPARE(windowOf(json).value(QStringLiteral("value")).toString(),
             QStringLiteral("3.14159165358977"));
    QCOMPARE(json.value(QStringLiteral("settings")).toObject().value(QStringLiteral("warmup")),
             QJsonValue(1));

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
    const Result text = runCli({ QStringLiteral("--runs=2"), QStringLiteral("--warmup=1"),
                                 QStringLiteral("--count=100"), QStringLiteral("--unit=回") });
    QCOMPARE(text.status, 0);
    for (const char *heading : { "平均 ± 標準偏差", "中央値", "最小 … 最大", "ウォームアップ" })
        QVERIFY2(text.out.contains(QString::fromUtf8(heading)), heading);
}

void TestKamorinCli::csvRows()
{
    const Result r = runCli({ QStringLiteral("--csv"), QStringLiteral("--runs=2"),
                              QStringLiteral("--count=100"), QStringLiteral("--unit=回") });
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0],
             QStringLiteral("run,loops,seconds,ns_per_pass,value,digits,score,count,unit,passes,"
                            "warmup,runs,cpu,threads,min_time,started,version"));
    for (int i = 1; i <= 2; ++i) {
        const QStringList cells = lines[i].split(u',');
        QCOMPARE(cells.size(), 17);
        QCOMPARE(cells.mid(7, 7).join(u','), QStringLiteral("100,回,100,0,2,,"));
        QCOMPARE(cells[16], QStringLiteral("1.2.7"));
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
    QCOMPARE(rank.value(QStringLiteral("rows")).toArray().size(), 269);
    // 200 万回 lasts well under the second a rank needs.
    QCOMPARE(rank.value(QStringLiteral("reliable")), QJsonValue(false));
    QVERIFY(r.err.contains(QStringLiteral("順位は当てになりません")));

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
    // Too short to score: the score column is empty.
    const QRegularExpression row(QStringLiteral("^ *(\\d+)  (.+?) +(\\d+\\.\\d\\d)$"));
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
        if (match.captured(2) == QStringLiteral("★この機械"))
            ++ownRows;
    }
    QCOMPARE(rows, 269);
    QCOMPARE(ownRows, 1);
}

void TestKamorinCli::threadsGiveTheSameValue()
{
    const Result r = runCli({ QStringLiteral("--threads=2"), QStringLiteral("--force-threads"),
                              QStringLiteral("--json"), QStringLiteral("--count=100"),
                              QStringLiteral("--unit=万回"), QStringLiteral("--runs=2") });
    QCOMPARE(r.status, 0);
    const QJsonObject parallel = parseJson(r.out).value(QStringLiteral("parallel")).toObject();
    QCOMPARE(parallel.value(QStringLiteral("threads")).toInt(), 2);
    const QJsonArray values = parallel.value(QStringLiteral("values")).toArray();
    QCOMPARE(values.size(), 2);
    for (const QJsonValue &value : values)
        QCOMPARE(value.toString(), QStringLiteral("3.14159165358977"));
    const QJsonArray seconds = parallel.value(QStringLiteral("seconds")).toArray();
    QCOMPARE(seconds.size(), 2);
    const double median = (seconds[0].toDouble() + seconds[1].toDouble()) / 2;
    QCOMPARE(parallel.value(QStringLiteral("passes_per_second")).toDouble(), 2 * 1000000 / median);
    // As measured, however the runs fall.
    QVERIFY(qFuzzyCompare(
            parallel.value(QStringLiteral("speedup")).toDouble(),
            parallel.value(QStringLiteral("passes_per_second")).toDouble()
                    / parallel.value(QStringLiteral("single_passes_per_second")).toDouble()));
    QCOMPARE(parallel.value(QStringLiteral("reliable")), QJsonValue(false));
}

void TestKamorinCli::runScoresAgreeWithScore()
{
    const QString machine = QStringLiteral("Celeron400@450");
    const Result r
            = runCli(QStringList(kLongRun) << QStringLiteral("--json") << QStringLiteral("--rank")
                                           << QStringLiteral("--machine=") + machine);
    QCOMPARE(r.status, 0);
    const QJsonObject all = parseJson(r.out);
    const QJsonObject json = windowOf(all);
    if (!json.value(QStringLiteral("score_enabled")).toBool())
        QSKIP("this machine runs 1 億回 in under a second");
    // SCORE works from the hundredths, the run's score from the full seconds.
    const double score = all.value(QStringLiteral("runs"))
                                 .toArray()[0]
                                 .toObject()
                                 .value(QStringLiteral("score"))
                                 .toDouble();
    const double shown = json.value(QStringLiteral("score")).toString().toDouble();
    QVERIFY2(std::abs(score - shown) / shown < 0.02, qPrintable(r.out));
    // The machine's rank row reads what SCORE wrote, to the byte.
    for (const QJsonValue &row :
         all.value(QStringLiteral("rank")).toObject().value(QStringLiteral("rows")).toArray())
        if (row.toObject().value(QStringLiteral("name")).toString() == machine)
            QCOMPARE(row.toObject().value(QStringLiteral("score")).toString(),
                     json.value(QStringLiteral("score")).toString());
}

void TestKamorinCli::userTextEscapedOnStderr()
{
    const Result r = runCli({ QStringLiteral("--count\x1b]0;title\x07") });
    QCOMPARE(r.status, 64);
    QVERIFY(!r.err.contains(u'\x1b'));
    QVERIFY(!r.err.contains(u'\x07'));
    QVERIFY(r.err.contains(QStringLiteral("--count\\x1B]0;title\\x07")));

    const Result machine = runCli({ QStringLiteral("--machine=a\x1b[31mb\u009b") });
    QCOMPARE(machine.status, 64);
    QVERIFY(!machine.err.contains(u'\x1b'));
    QVERIFY(!machine.err.contains(u'\u009b'));
    QVERIFY(machine.err.contains(QStringLiteral("a\\x1B[31mb\\x9B")));
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
    QTest::addColumn<bool>("ignored");
    QTest::newRow("SIGINT") << QStringList() << SIGINT << 130 << false;
    QTest::newRow("SIGTERM") << QStringList() << SIGTERM << 143 << false;
    QTest::newRow("SIGINT, JSON, repeated runs")
            << QStringList { QStringLiteral("--json"), QStringLiteral("--runs=3") } << SIGINT << 130
            << false;
    // As in a background job: the signal ignored at start stays so, and only
    // SIGTERM, sent after it, ends the run.
    QTest::newRow("SIGINT ignored at start") << QStringList() << SIGINT << 143 << true;
}

void TestKamorinCli::stopSignals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signalNumber);
    QFETCH(bool, ignored);
    // Hours of work: the test ends only if the signal ends the run.
    QProcess process;
    if (ignored)
        process.setChildProcessModifier([] { signal(SIGINT, SIG_IGN); });
    process.start(cliProgram(),
                  arguments << QStringLiteral("--count=1000") << QStringLiteral("--unit=億回"));
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));
    ::kill(static_cast<pid_t>(process.processId()), signalNumber);
    if (ignored) {
        QVERIFY2(!process.waitForFinished(1500), "an ignored signal ended the run");
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    }
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

void TestKamorinCli::progressLineOnATerminal_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("shown");
    QTest::newRow("wide") << 200 << ""
                          << "" << true;
    QTest::newRow("40 columns, never wrapped") << 40 << ""
                                               << "" << true;
    QTest::newRow("TERM=dumb") << 200 << "TERM=dumb"
                               << "" << false;
    QTest::newRow("--no-progress") << 200 << ""
                                   << "--no-progress" << false;
}

void TestKamorinCli::progressLineOnATerminal()
{
    QFETCH(int, columns);
    QFETCH(QString, environment);
    QFETCH(QString, option);
    QFETCH(bool, shown);
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("script (util-linux) is not installed");
    QProcess process;
    process.start(script,
                  { QStringLiteral("-qfec"),
                    QStringLiteral("stty cols %1; %2 '%3' --count 1 --unit 億回 --speed 0 %4")
                            .arg(columns)
                            .arg(environment, cliProgram(), option),
                    QStringLiteral("/dev/null") });
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    // Each frame starts with a carriage return and ends by wiping the rest of the line.
    const QRegularExpression frame(QStringLiteral("\r([^\r\n\x1b]+)\x1b\\[K"));
    int frames = 0;
    for (const auto &match : frame.globalMatch(out)) {
        ++frames;
        QVERIFY2(kamorin::displayColumns(match.captured(1)) < columns,
                 qPrintable(match.captured(1)));
    }
    if (!shown) {
        QCOMPARE(frames, 0);
        return;
    }
    QVERIFY2(frames >= 3, qPrintable(out));
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

void TestKamorinCli::outputFailures_data()
{
    QTest::addColumn<QString>("shell");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("full disk") << "\"$0\" --count=100 --unit=回 --json >/dev/full" << 74
                               << "標準出力に書き込めません: ";
    QTest::newRow("stdout closed")
            << "\"$0\" --count=100 --unit=回 >&-" << 74 << "標準出力に書き込めません: ";
    // The reader is gone before the output: ended as by SIGPIPE, quietly.
    QTest::newRow("reader gone") << "\"$0\" --list-machines | true; exit ${PIPESTATUS[0]}"
                                 << 128 + SIGPIPE << "";
}

void TestKamorinCli::outputFailures()
{
    QFETCH(QString, shell);
    QFETCH(QString, message);
    QProcess process;
    process.start(QStringLiteral("bash"),
                  { QStringLiteral("-c"), QStringLiteral("sleep 0.2 | { %1; }").arg(shell),
                    cliProgram() });
    QVERIFY(process.waitForFinished(60000));
    QTEST(process.exitCode(), "status");
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (message.isEmpty())
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.contains(QStringLiteral("kamorin-cli: ") + message), qPrintable(err));
}

// A reader that stops reading must not keep a stopped program alive.
void TestKamorinCli::stopWhileBlockedWriting()
{
    QProcess process;
    // A pipe of one page: the rank table cannot fit, so the write blocks.
    process.setChildProcessModifier([] { fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 4096); });
    process.start(cliProgram(),
                  { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                    QStringLiteral("--rank") });
    QVERIFY(process.waitForStarted());
    QThread::sleep(2);
    QCOMPARE(process.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 143);
}

void TestKamorinCli::countAutoLastsTheMinimum()
{
    const Result r = runCli({ QStringLiteral("--count=auto"), QStringLiteral("--min-time=0.5"),
                              QStringLiteral("--json") });
    QCOMPARE(r.status, 0);
    const QJsonObject json = parseJson(r.out);
    const QJsonObject settings = json.value(QStringLiteral("settings")).toObject();
    QCOMPARE(settings.value(QStringLiteral("count_auto")), QJsonValue(true));
    const double seconds = json.value(QStringLiteral("runs"))
                                   .toArray()[0]
                                   .toObject()
                                   .value(QStringLiteral("seconds"))
                                   .toDouble();
    // Never shorter than the minimum, however busy the test machine is; how
    // much longer depends on that business, so it is not timed here.
    QVERIFY2(seconds >= 0.5, qPrintable(r.out));
}

QTEST_GUILESS_MAIN(TestKamorinCli)
#include "tst_kamorincli.moc"
