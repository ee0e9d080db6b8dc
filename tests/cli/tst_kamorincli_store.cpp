#include "support/FileHash.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct Result
{
    int status;
    QString out;
    QString err;
};

QJsonObject withRuns(QJsonObject result, const char *id, const QString &label, double seconds)
{
    result[QStringLiteral("id")] = QString::fromLatin1(id);
    result[QStringLiteral("label")] = label;
    QJsonArray runs;
    // Five distinct runs around `seconds`, so that the rank test sees no ties.
    for (int i = 0; i < 5; ++i)
        runs.append(QJsonObject { { QStringLiteral("seconds"), seconds * (1 + 0.001 * i) } });
    result[QStringLiteral("runs")] = runs;
    return result;
}

// Whether every member `part` holds is `whole`'s, value for value, through
// objects and arrays.
bool heldIn(const QJsonValue &part, const QJsonValue &whole)
{
    if (part.isObject()) {
        const QJsonObject p = part.toObject();
        const QJsonObject w = whole.toObject();
        for (auto it = p.begin(); it != p.end(); ++it)
            if (!w.contains(it.key()) || !heldIn(it.value(), w[it.key()]))
                return false;
        return whole.isObject();
    }
    if (part.isArray()) {
        const QJsonArray p = part.toArray();
        const QJsonArray w = whole.toArray();
        if (!whole.isArray() || p.size() != w.size())
            return false;
        for (qsizetype i = 0; i < p.size(); ++i)
            if (!heldIn(p[i], w[i]))
                return false;
        return true;
    }
    return part == whole;
}

// A device node of its own where the system allows one (as root, so that
// a program that replaced it would not replace the system's), else the
// system's node at `system`, which no one else may then replace.
QString deviceNode(const QString &folder, const char *system, unsigned minor)
{
    const QString own = folder + QStringLiteral("/device");
    if (mknod(QFile::encodeName(own).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0) {
        const int fd = open(QFile::encodeName(own).constData(), O_WRONLY);
        if (fd >= 0) {
            close(fd);
            return own;
        }
        // A folder on a file system mounted nodev.
        unlink(QFile::encodeName(own).constData());
    }
    return QString::fromLatin1(system);
}

// What an output is given to write over.
enum class Target
{
    File,
    NewPath,
    NullDevice,
    FullDevice,
    Fifo,
    Store,
    LinkToStore,
    StoreJournal,
    ForeignLink,
    ForeignFolderLink,
    Stdout,
};

} // namespace

Q_DECLARE_METATYPE(Target)

// kamorin-cli's results store as a user drives it, each step a whole process
// on a store reached only through KAMORIN_STORE or --store.
class TestKamorinCliStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void history_data();
    void history();
    void historyFitsTheTerminal();
    void compareGivesAVerdict_data();
    void compareGivesAVerdict();
    void importedMachineRanksByItsMedian();
    void exportIsWhatJsonWrote();
    void historyIsWhatExportHolds();
    void refusedFilesChangeNothing_data();
    void refusedFilesChangeNothing();
    void outputTargets_data();
    void outputTargets();
    void importInputs_data();
    void importInputs();
    void compareRefusesAResultWithItself();
    void skipBadKeepsTheOthers();
    void forget();

private:
    Result cli(const QStringList &arguments, const QString &store = {}) const;
    QString writeDocument(const QString &name, const QJsonArray &results) const;

    QTemporaryDir m_dir;
    QString m_store;
    QString m_savedId;
    // A saved result as an export carries it, the template of the edited ones.
    QJsonObject m_exported;
    // What --json wrote for that run.
    QString m_runJson;
};

Result TestKamorinCliStore::cli(const QStringList &arguments, const QString &store) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KAMORIN_STORE"), store.isEmpty() ? m_store : store);
    process.setProcessEnvironment(environment);
    // The one KAMORIN_CLI names, as for tst_kamorincli, so that the
    // ThreadSanitizer stage can run this test against its instrumented build.
    process.start(qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI)), arguments);
    process.waitForFinished(120000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

QString TestKamorinCliStore::writeDocument(const QString &name, const QJsonArray &results) const
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(QJsonDocument(QJsonObject { { QStringLiteral("format"),
                                             QStringLiteral("kamorin-results") },
                                           { QStringLiteral("version"), 2 },
                                           { QStringLiteral("results"), results } })
                       .toJson());
    return path;
}

void TestKamorinCliStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_store = m_dir.filePath(QStringLiteral("results.sqlite"));
    const QStringList tiny { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                             QStringLiteral("--runs=5"), QStringLiteral("--save") };
    const Result first = cli(tiny + QStringList { QStringLiteral("--label=before") });
    QCOMPARE(first.status, 0);
    QVERIFY2(first.err.contains(QStringLiteral("ID: ")), qPrintable(first.err));
    const Result second
            = cli(tiny + QStringList { QStringLiteral("--label=after"), QStringLiteral("--json") });
    QCOMPARE(second.status, 0);
    m_runJson = second.out;
    m_savedId = QJsonDocument::fromJson(second.out.toUtf8())
                        .object()
                        .value(QStringLiteral("saved_id"))
                        .toString();
    QCOMPARE(m_savedId.size(), 36);

    const QString exported = m_dir.filePath(QStringLiteral("export.json"));
    QCOMPARE(cli({ QStringLiteral("--export"), exported, QStringLiteral("--label=after") }).status,
             0);
    QFile file(exported);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray results
            = QJsonDocument::fromJson(file.readAll()).object()[QStringLiteral("results")].toArray();
    QCOMPARE(results.size(), 1);
    m_exported = results[0].toObject();
    QCOMPARE(m_exported[QStringLiteral("id")].toString(), m_savedId);
}

void TestKamorinCliStore::history_data()
{
    QTest::addColumn<QStringList>("form");
    // The lines above the rows, and what begins a row before its id; none for JSON.
    QTest::addColumn<QStringList>("heading");
    QTest::addColumn<QString>("rowStart");

    QTest::newRow("text") << QStringList {} << QStringList { QStringLiteral("ID") } << QString();
    QTest::newRow("json") << QStringList { QStringLiteral("--json") } << QStringList {}
                          << QString();
    QTest::newRow("csv") << QStringList { QStringLiteral("--csv") }
                         << QStringList { QStringLiteral(
                                    "id,started,label,cpu_model,host,program_version,"
                                    "passes,count,unit,runs,median,mean,stddev,min,max,"
                                    "score,score_machine") }
                         << QString();
    QTest::newRow("markdown") << QStringList { QStringLiteral("--markdown") }
                              << QStringList { QStringLiteral("| ID | 開始 (UTC) | ラベル |"),
                                               QStringLiteral("| --- | --- | --- | --- | --- | "
                                                              "---: | ---: | ---: | ---: |") }
                              << QStringLiteral("| ");
}

void TestKamorinCliStore::history()
{
    QFETCH(QStringList, form);
    QFETCH(QStringList, heading);
    QFETCH(QString, rowStart);
    const Result r = cli(QStringList { QStringLiteral("--history") } + form);
    QCOMPARE(r.status, 0);
    if (!heading.isEmpty()) {
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), heading.size() + 2);
        for (qsizetype i = 0; i < heading.size(); ++i)
            QVERIFY2(lines[i].startsWith(heading[i]), qPrintable(r.out));
        // Newest first.
        QVERIFY2(lines[heading.size()].startsWith(rowStart + m_savedId), qPrintable(r.out));
        QVERIFY(lines[heading.size()].contains(QStringLiteral("after")));
        QVERIFY(lines[heading.size() + 1].contains(QStringLiteral("before")));
        return;
    }
    const QJsonArray list = QJsonDocument::fromJson(r.out.toUtf8()).array();
    QCOMPARE(list.size(), 2);
    const QJsonObject newest = list[0].toObject();
    for (const char *member : { "id", "label", "started", "host", "settings", "runs", "statistics",
                                "system", "score", "score_machine" })
        QVERIFY2(newest.contains(QLatin1StringView(member)), member);
    QCOMPARE(newest[QStringLiteral("id")].toString(), m_savedId);
    QCOMPARE(newest[QStringLiteral("runs")].toArray().size(), 5);
    QCOMPARE(newest[QStringLiteral("settings")][QStringLiteral("passes")].toDouble(), 100.0);
    QVERIFY(newest[QStringLiteral("started")].toString().endsWith(u'Z'));
    QCOMPARE(list[1].toObject()[QStringLiteral("label")].toString(), QStringLiteral("before"));
}

// A terminal of 80 columns gets the listing cut to fit, where a pipe gets it
// whole whatever COLUMNS says.
void TestKamorinCliStore::historyFitsTheTerminal()
{
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("script (util-linux) is not installed");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KAMORIN_STORE"), m_store);
    environment.insert(QStringLiteral("KAMORIN_TTY_CLI"),
                       qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI)));
    // Headings in English, so that a character is a column.
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    environment.remove(QStringLiteral("COLUMNS"));
    process.setProcessEnvironment(environment);
    process.start(script,
                  { QStringLiteral("-qec"),
                    QStringLiteral("stty cols 80 && exec \"$KAMORIN_TTY_CLI\" --history"),
                    QStringLiteral("/dev/null") });
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList lines
            = QString::fromUtf8(process.readAllStandardOutput()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 1 + 2 + 1);
    for (const QString &line : lines)
        QVERIFY2(line.size() <= 80, qPrintable(line));
    // An id keeps a prefix --compare takes.
    QVERIFY2(lines[1].startsWith(m_savedId.left(8) + u'…'), qPrintable(lines[1]));

    const QString whole = cli({ QStringLiteral("--history") }).out;
    environment.insert(QStringLiteral("COLUMNS"), QStringLiteral("40"));
    environment.insert(QStringLiteral("LANGUAGE"), QString());
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI)),
                  { QStringLiteral("--history") });
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), whole);
    QVERIFY2(whole.contains(m_savedId), qPrintable(whole));
}

void TestKamorinCliStore::compareGivesAVerdict_data()
{
    QTest::addColumn<double>("bSeconds");
    QTest::addColumn<QString>("failIfSlower");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("form");

    // Five runs each, wholly apart: the exact p-value is 2 / C(10, 5).
    QTest::newRow("B twice as slow, 50 % allowed") << 2.0 << "50"
                                                   << "slower" << 1 << "--json";
    QTest::newRow("B twice as slow, 150 % allowed") << 2.0 << "150"
                                                    << "slower" << 0 << "--json";
    QTest::newRow("B twice as fast") << 0.5 << "0"
                                     << "faster" << 0 << "--json";
    QTest::newRow("B twice as slow, in Markdown")
            << 2.0 << "50"
            << "| 判定 | 遅い（B は A より遅い） |" << 1 << "--markdown";
    QTest::newRow("B twice as fast, in Markdown")
            << 0.5 << "0"
            << "| 判定 | 速い（B は A より速い） |" << 0 << "--markdown";
}

void TestKamorinCliStore::compareGivesAVerdict()
{
    QFETCH(double, bSeconds);
    QFETCH(QString, failIfSlower);
    QFETCH(QString, verdict);
    QFETCH(int, status);
    QFETCH(QString, form);

    const QString store
            = m_dir.filePath(QStringLiteral("compare-%1-%2.sqlite").arg(bSeconds).arg(form.mid(2)));
    const QString file = writeDocument(
            QStringLiteral("compare.json"),
            { withRuns(m_exported, "00000000-0000-4000-8000-00000000000a", QStringLiteral("A"), 1),
              withRuns(m_exported, "00000000-0000-4000-8000-00000000000b", QStringLiteral("B"),
                       bSeconds) });
    QCOMPARE(cli({ QStringLiteral("--import"), file }, store).status, 0);

    const Result r = cli({ QStringLiteral("--compare"), QStringLiteral("A"), QStringLiteral("B"),
                           QStringLiteral("--fail-if-slower"), failIfSlower, form },
                         store);
    QCOMPARE(r.status, status);
    if (form == QStringLiteral("--markdown")) {
        QVERIFY2(r.out.startsWith(QStringLiteral("| 項目 | 値 |\n| --- | --- |\n| A | ")),
                 qPrintable(r.out));
        QVERIFY2(r.out.endsWith(verdict + u'\n'), qPrintable(r.out));
        return;
    }
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(json[QStringLiteral("a")].toString(),
             QStringLiteral("00000000-0000-4000-8000-00000000000a"));
    QCOMPARE(json[QStringLiteral("b")].toString(),
             QStringLiteral("00000000-0000-4000-8000-00000000000b"));
    QCOMPARE(json[QStringLiteral("verdict")].toString(), verdict);
    QCOMPARE(json[QStringLiteral("speed_ratio")].toDouble(), 1 / bSeconds);
    QVERIFY(json[QStringLiteral("ci_low")].toDouble() <= 1 / bSeconds);
    QVERIFY(json[QStringLiteral("ci_high")].toDouble() >= 1 / bSeconds);
    QVERIFY(qFuzzyCompare(json[QStringLiteral("p_value")].toDouble(), 2.0 / 252));
}

// One shape: what the history lists of a result is what the results file
// holds of it, and the statistics read as --json wrote them, member order
// and all.
void TestKamorinCliStore::historyIsWhatExportHolds()
{
    const Result r = cli({ QStringLiteral("--history"), QStringLiteral("--json"),
                           QStringLiteral("--label=after") });
    QCOMPARE(r.status, 0);
    QJsonObject listed = QJsonDocument::fromJson(r.out.toUtf8()).array()[0].toObject();
    listed.remove(QStringLiteral("score"));
    listed.remove(QStringLiteral("score_machine"));
    QVERIFY2(heldIn(listed, m_exported), qPrintable(r.out));
    const qsizetype at = m_runJson.indexOf(QStringLiteral("\"statistics\": {"));
    QVERIFY(at >= 0);
    const QString statistics = m_runJson.mid(at, m_runJson.indexOf(u'}', at) - at + 1);
    QVERIFY2(r.out.contains(statistics), qPrintable(r.out + statistics));
}

// The store and the file keep a run's parts as --json wrote them, member for
// member, the parallel runs and the warnings among them.
void TestKamorinCliStore::exportIsWhatJsonWrote()
{
    const QString store = m_dir.filePath(QStringLiteral("same.sqlite"));
    const Result run
            = cli({ QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--unit"),
                    QStringLiteral("万回"), QStringLiteral("--threads"), QStringLiteral("2"),
                    QStringLiteral("--save"), QStringLiteral("--json") },
                  store);
    QCOMPARE(run.status, 0);
    const Result exported = cli({ QStringLiteral("--export"), QStringLiteral("-") }, store);
    QCOMPARE(exported.status, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject document = QJsonDocument::fromJson(exported.out.toUtf8()).object();
    QCOMPARE(document[QStringLiteral("version")].toInt(), 2);
    const QJsonObject result = document[QStringLiteral("results")].toArray()[0].toObject();
    QCOMPARE(result[QStringLiteral("id")], json[QStringLiteral("saved_id")]);
    QVERIFY(json[QStringLiteral("parallel")].isObject());
    // A run of 1 万回 is shorter than the minimum time: a warning is always there.
    QVERIFY(!json[QStringLiteral("system")][QStringLiteral("warnings")].toArray().isEmpty());
    for (const char *key : { "started", "settings", "runs", "statistics", "system", "parallel" })
        QCOMPARE(result[QString::fromLatin1(key)], json[QString::fromLatin1(key)]);
}

void TestKamorinCliStore::importedMachineRanksByItsMedian()
{
    // A machine that needs 40 s for the standard run ranks where 40 s ranks
    // among the reference machines, whatever this machine does.
    const double passes = m_exported[QStringLiteral("settings")]
                                  .toObject()[QStringLiteral("passes")]
                                  .toDouble();
    QJsonObject fast = withRuns(m_exported, "00000000-0000-4000-8000-0000000000f0",
                                QStringLiteral("lab"), 40 * passes / 20000000);
    QJsonObject system = fast[QStringLiteral("system")].toObject();
    system[QStringLiteral("cpu_model")] = QStringLiteral("Edited Fast CPU");
    fast[QStringLiteral("system")] = system;
    fast[QStringLiteral("host")] = QStringLiteral("lab7");
    const QString store = m_dir.filePath(QStringLiteral("fleet.sqlite"));
    QCOMPARE(cli({ QStringLiteral("--import"),
                   writeDocument(QStringLiteral("fleet.json"), { fast }) },
                 store)
                     .status,
             0);

    const Result r = cli({ QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                           QStringLiteral("--rank"), QStringLiteral("--json") },
                         store);
    QCOMPARE(r.status, 0);
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8())
                                    .object()[QStringLiteral("rank")]
                                    .toObject()[QStringLiteral("rows")]
                                    .toArray();
    QJsonObject saved;
    for (const QJsonValue &row : rows) {
        if (row.toObject()[QStringLiteral("saved")].toBool())
            saved = row.toObject();
    }
    const double seconds = saved[QStringLiteral("seconds")].toDouble();
    const auto faster = std::count_if(rows.begin(), rows.end(), [&](const QJsonValue &row) {
        return row.toObject()[QStringLiteral("seconds")].toDouble() < seconds;
    });
    QCOMPARE(rows.size(), 270);
    QCOMPARE(saved[QStringLiteral("cpu_model")].toString(), QStringLiteral("Edited Fast CPU"));
    QCOMPARE(saved[QStringLiteral("host")].toString(), QStringLiteral("lab7"));
    QCOMPARE(saved[QStringLiteral("label")].toString(), QStringLiteral("lab"));
    // The median of the five runs.
    QVERIFY(qFuzzyCompare(seconds, 40 * 1.002));
    QCOMPARE(saved[QStringLiteral("place")].toInt(), faster + 1);
    QVERIFY(faster > 0 && faster < 268);
}

void TestKamorinCliStore::refusedFilesChangeNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("store");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QString truncated = m_dir.filePath(QStringLiteral("truncated.json"));
    QFile::copy(m_dir.filePath(QStringLiteral("export.json")), truncated);
    QFile::resize(truncated, QFileInfo(truncated).size() / 2);
    const QString foreign = m_dir.filePath(QStringLiteral("notes.txt"));
    QFile notes(foreign);
    if (notes.open(QIODevice::WriteOnly))
        notes.write("not a store\n");

    QTest::newRow("truncated import") << QStringList { QStringLiteral("--import"), truncated }
                                      << QString() << 65 << QStringLiteral("truncated.json");
    QTest::newRow("history of a foreign file")
            << QStringList { QStringLiteral("--history"), QStringLiteral("--store"), foreign }
            << foreign << 73 << QStringLiteral("notes.txt");
    QTest::newRow("save into a foreign file")
            << QStringList { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                             QStringLiteral("--save") }
            << foreign << 73 << QStringLiteral("notes.txt");
    QTest::newRow("forget a missing id")
            << QStringList { QStringLiteral("--forget"),
                             QStringLiteral("00000000-0000-4000-8000-000000000000") }
            << QString() << 66 << QStringLiteral("00000000-0000-4000-8000-000000000000");
    QTest::newRow("history of a label nobody has")
            << QStringList { QStringLiteral("--history"), QStringLiteral("--label=nosuch") }
            << QString() << 66 << QStringLiteral("ラベルが「nosuch」の結果はありません");
    // Known only after the run: an error of the run, and no store left behind.
    QTest::newRow("save of a run of no pass, where there is no store")
            << QStringList { QStringLiteral("--count=0"), QStringLiteral("--save") }
            << m_dir.filePath(u"none/results.sqlite"_qs) << 2
            << QStringLiteral("1 回以上のループが必要です");
    // --store names the store, so that the file watched is the export's target.
    QTest::newRow("export of a label nobody has, over a file")
            << QStringList { QStringLiteral("--export"), m_dir.filePath(u"export.json"_qs),
                             QStringLiteral("--label=nosuch"), QStringLiteral("--store"), m_store }
            << m_dir.filePath(u"export.json"_qs) << 66 << QStringLiteral("「nosuch」");
}

void TestKamorinCliStore::refusedFilesChangeNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, store);
    QFETCH(int, status);
    QFETCH(QString, message);

    const QString changed = store.isEmpty() ? m_store : store;
    const QByteArray before = fileHash(changed);
    const Result r = cli(arguments, store);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.startsWith(QStringLiteral("kamorin-cli: ")) && r.err.contains(message),
             qPrintable(r.err));
    QCOMPARE(fileHash(changed), before);
}

void TestKamorinCliStore::outputTargets_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const struct
    {
        const char *name;
        Target target;
        int status;
        const char *message;
    } rows[] = {
        { "regular file, replaced", Target::File, 0, "" },
        { "new path", Target::NewPath, 0, "" },
        { "null device, stays one", Target::NullDevice, 0, "" },
        { "full device", Target::FullDevice, 74, "」に書き込めません: 空き領域がありません" },
        { "FIFO, its reader gets it whole", Target::Fifo, 0, "" },
        { "the store", Target::Store, 64, "そのものです" },
        { "a link to the store", Target::LinkToStore, 64, "そのものです" },
        // The next save would delete it.
        { "the store's journal", Target::StoreJournal, 64, "作業ファイル" },
        { "another's link in a sticky folder", Target::ForeignLink, 74, "シンボリックリンク" },
        { "the same, as a folder on the way", Target::ForeignFolderLink, 74, "シンボリックリンク" },
    };
    for (const char *option : { "--export", "--report" }) {
        for (const auto &row : rows)
            QTest::addRow("%s: %s", option, row.name)
                    << QString::fromLatin1(option) << row.target << row.status
                    << QString::fromUtf8(row.message);
    }
    QTest::newRow("--report: -") << QStringLiteral("--report") << Target::Stdout << 0 << QString();
}

// Each target in a folder of its own, so that a new file left beside it shows.
void TestKamorinCliStore::outputTargets()
{
    QFETCH(QString, option);
    QFETCH(Target, target);
    QFETCH(int, status);
    QFETCH(QString, message);

    QTemporaryDir folder(m_dir.filePath(QStringLiteral("target-XXXXXX")));
    QString path = folder.filePath(QStringLiteral("out"));
    QString unchanged = m_store;
    switch (target) {
    case Target::File:
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        break;
    case Target::NewPath:
        break;
    case Target::Store:
        QVERIFY(QFile::copy(m_store, path));
        unchanged = path;
        break;
    case Target::NullDevice:
        path = deviceNode(folder.path(), "/dev/null", 3);
        break;
    case Target::FullDevice:
        path = deviceNode(folder.path(), "/dev/full", 7);
        break;
    case Target::Fifo:
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Target::LinkToStore:
        QVERIFY(QFile::link(m_store, path));
        break;
    case Target::StoreJournal:
        path = m_store + QStringLiteral("-journal");
        break;
    case Target::ForeignLink:
    case Target::ForeignFolderLink: {
        // The kernel's rule needs a link that neither we nor the folder's owner own.
        const passwd *nobody = getpwnam("nobody");
        unchanged = m_dir.filePath(QStringLiteral("notes-of-root.txt"));
        QFile notes(unchanged);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("private\n");
        notes.close();
        QCOMPARE(chmod(QFile::encodeName(folder.path()).constData(), 01777), 0);
        const bool asFolder = target == Target::ForeignFolderLink;
        QVERIFY(QFile::link(asFolder ? m_dir.path() : unchanged, path));
        if (!nobody || nobody->pw_uid == geteuid()
            || lchown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
            QSKIP("a link owned by another user needs root");
        if (asFolder)
            path += QStringLiteral("/notes-of-root.txt");
        break;
    }
    case Target::Stdout:
        path = QStringLiteral("-");
        break;
    }
    const QStringList arguments = option == QStringLiteral("--export")
            ? QStringList { option, path }
            : QStringList { QStringLiteral("--compare"), QStringLiteral("before"),
                            QStringLiteral("after"), option, path };
    const QString store = target == Target::Store ? path : QString();
    const QByteArray before = fileHash(unchanged);

    QProcess reader;
    if (target == Target::Fifo)
        reader.start(QStringLiteral("cat"), { path });
    const Result r = cli(arguments, store);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(fileHash(unchanged), before);
    if (status != 0)
        return;

    QByteArray written;
    if (target == Target::Fifo) {
        QVERIFY(reader.waitForFinished(10000));
        written = reader.readAllStandardOutput();
    } else if (target == Target::Stdout) {
        written = r.out.toUtf8();
    } else if (target == Target::NullDevice) {
        struct stat node
        { };
        QCOMPARE(stat(QFile::encodeName(path).constData(), &node), 0);
        QVERIFY(S_ISCHR(node.st_mode));
        return;
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        written = file.readAll();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
                 QStringList { QStringLiteral("out") });
    }
    if (option == QStringLiteral("--export"))
        QCOMPARE(written, cli({ option, QStringLiteral("-") }).out.toUtf8());
    else
        // The comparison, for stdout, goes to stderr beside a page on stdout.
        QVERIFY(written.startsWith("<!DOCTYPE html>") && written.endsWith("</html>\n"));
}

void TestKamorinCliStore::importInputs_data()
{
    QTest::addColumn<QString>("source");
    // What is written to stdin or the FIFO; for a FIFO with none, no writer comes.
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("memoryLimit");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QFile exported(m_dir.filePath(QStringLiteral("export.json")));
    const QByteArray document = exported.open(QIODevice::ReadOnly) ? exported.readAll() : "";
    const QByteArray nested = "{\"format\":\"kamorin-results\",\"version\":1,\"results\":["
            + QByteArray("[[[[[[[[[[0]]]]]]]]]],").repeated(3000000) + "0]}";

    QTest::newRow("stdin") << "-" << document << 0 << 0 << 0
                           << QStringLiteral("「標準入力」: 1 件を取り込みました");
    // Else whatever took its number would be read: Qt's own event descriptor.
    QTest::newRow("stdin closed") << "closed" << QByteArray() << 0 << 0 << 65
                                  << QStringLiteral("「標準入力」は取り込めません: "
                                                    "開いていないファイル記述子です");
    QTest::newRow("64 MiB of nested lists, 2.5 GB of memory")
            << "file" << nested << 0 << 2500000 << 65
            << QStringLiteral("nested.json」は取り込めません: results[0]: 入れ子が深すぎます");
    // A stop ends the process at once, as for every store command: SQLite's
    // journal rolls back what was begun, and nothing more is said.
    QTest::newRow("FIFO with no writer, SIGINT")
            << "fifo" << QByteArray() << SIGINT << 0 << 130 << QString();
    QTest::newRow("FIFO with no writer, SIGTERM")
            << "fifo" << QByteArray() << SIGTERM << 0 << 143 << QString();
    QTest::newRow("FIFO whose writer trickles, SIGINT")
            << "fifo" << document.left(40) << SIGINT << 0 << 130 << QString();
}

void TestKamorinCliStore::importInputs()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, input);
    QFETCH(int, signalNumber);
    QFETCH(int, memoryLimit);
    QFETCH(int, status);
    QFETCH(QString, message);
    // Built with AddressSanitizer, as this test is, or the ThreadSanitizer
    // kamorin-cli that KAMORIN_CLI names: its shadow memory alone exceeds the limit.
#if defined(__SANITIZE_ADDRESS__)
    const bool sanitized = true;
#else
    const bool sanitized = qEnvironmentVariableIsSet("KAMORIN_CLI");
#endif
    if (memoryLimit > 0 && sanitized)
        QSKIP("A sanitizer's shadow memory alone exceeds the limit");
    // A file that comes in goes into a store of its own; a refused or stopped
    // one must leave the shared store as it was.
    const QString store = status == 0 ? m_dir.filePath(QStringLiteral("stdin.sqlite")) : m_store;
    const QByteArray before = fileHash(store);
    QString file = QStringLiteral("-");
    if (source == u"file") {
        file = m_dir.filePath(QStringLiteral("nested.json"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(input) == input.size());
    } else if (source == u"fifo") {
        file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    }

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KAMORIN_STORE"), store);
    process.setProcessEnvironment(environment);
    const bool closeStdin = source == u"closed";
    if (memoryLimit > 0 || closeStdin) {
        process.setChildProcessModifier([memoryLimit, closeStdin] {
            if (memoryLimit > 0) {
                const rlimit limit { rlim_t(memoryLimit) * 1024, rlim_t(memoryLimit) * 1024 };
                setrlimit(RLIMIT_AS, &limit);
            }
            if (closeStdin)
                ::close(STDIN_FILENO);
        });
    }
    process.start(qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI)),
                  { QStringLiteral("--import"), file });
    QVERIFY(process.waitForStarted());
    if (source == u"-") {
        process.write(input);
        process.closeWriteChannel();
    }
    int writer = -1;
    if (source == u"fifo" && !input.isEmpty()) {
        // Without a reader yet, a writer that will not wait is refused.
        QTRY_VERIFY((writer = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_NONBLOCK))
                    >= 0);
        QCOMPARE(::write(writer, input.constData(), std::size_t(input.size())),
                 ssize_t(input.size()));
    }
    if (signalNumber != 0) {
        QTest::qWait(300);
        ::kill(pid_t(process.processId()), signalNumber);
        QVERIFY2(process.waitForFinished(2000), "no end within two seconds of the signal");
    } else {
        QVERIFY2(process.waitForFinished(closeStdin ? 20000 : 120000), "no end");
    }
    if (writer >= 0)
        ::close(writer);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (message.isEmpty())
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.startsWith(QStringLiteral("kamorin-cli: ")) && err.contains(message),
                 qPrintable(err));
    if (status != 0)
        QCOMPARE(fileHash(store), before);
}

// One result a day ahead of the clock (saved where the clock ran ahead)
// sinks its whole file, unless the user asks for the others.
void TestKamorinCliStore::skipBadKeepsTheOthers()
{
    QJsonObject ahead = withRuns(m_exported, "00000000-0000-4000-8000-0000000000c2",
                                 QStringLiteral("ahead"), 1);
    ahead[QStringLiteral("started")]
            = QDateTime::currentDateTimeUtc().addDays(3).toString(Qt::ISODate);
    const QString file
            = writeDocument(QStringLiteral("one-bad.json"),
                            { withRuns(m_exported, "00000000-0000-4000-8000-0000000000c1",
                                       QStringLiteral("good"), 1),
                              ahead });
    const QString store = m_dir.filePath(QStringLiteral("skip-bad.sqlite"));
    QCOMPARE(cli({ QStringLiteral("--import"), file }, store).status, 65);
    const Result r = cli({ QStringLiteral("--import"), file, QStringLiteral("--skip-bad") }, store);
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.contains(QStringLiteral("00000000-0000-4000-8000-0000000000c2 は取り込みません: "
                                           "results[1].started: 1 日より先の日時です")),
             qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("1 件を取り込みました")), qPrintable(r.err));
    const Result history = cli({ QStringLiteral("--history"), QStringLiteral("--json") }, store);
    QCOMPARE(QJsonDocument::fromJson(history.out.toUtf8()).array().size(), 1);
}

// It would find no difference and pass any --fail-if-slower.
void TestKamorinCliStore::compareRefusesAResultWithItself()
{
    const Result r
            = cli({ QStringLiteral("--compare"), QStringLiteral("last"), QStringLiteral("last"),
                    QStringLiteral("--fail-if-slower"), QStringLiteral("1") });
    QCOMPARE(r.status, 64);
    QVERIFY2(r.err.contains(QStringLiteral("同じ結果")), qPrintable(r.err));
}

void TestKamorinCliStore::forget()
{
    QCOMPARE(cli({ QStringLiteral("--forget"), m_savedId }).status, 0);
    const Result r = cli({ QStringLiteral("--history"), QStringLiteral("--json") });
    QCOMPARE(r.status, 0);
    const QJsonArray list = QJsonDocument::fromJson(r.out.toUtf8()).array();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].toObject()[QStringLiteral("label")].toString(), QStringLiteral("before"));
    QCOMPARE(cli({ QStringLiteral("--forget"), m_savedId }).status, 66);
}

QTEST_GUILESS_MAIN(TestKamorinCliStore)
#include "tst_kamorincli_store.moc"
