#include "results/ResultDocument.h"
#include "results/ResultDocumentWriter.h"
#include "results/ResultStore.h"
#include "results/ResultsError.h"
#include "results/SavedRun.h"
#include "support/SampleResult.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace kamorin;

Q_DECLARE_METATYPE(KeptWarning)

namespace {

const QString kScriptLabel = QStringLiteral("<script>alert(1)</script>");

using Edit = std::function<QByteArray(QJsonObject)>;

// Changes the first result's member `key` to `value` in the good file.
Edit firstResult(const QString &key, const QJsonValue &value)
{
    return [=](QJsonObject top) {
        QJsonArray results = top[QStringLiteral("results")].toArray();
        QJsonObject first = results[0].toObject();
        if (value.isUndefined())
            first.remove(key);
        else
            first[key] = value;
        results[0] = first;
        top[QStringLiteral("results")] = results;
        return QJsonDocument(top).toJson();
    };
}

// The good file with `padding` after the first result and `more` elements
// after the last, as bytes.
Edit spliced(const QByteArray &padding, const QByteArray &more = {})
{
    return [=](QJsonObject top) {
        QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Compact);
        const QByteArray between = "},{\"host\"";
        bytes.insert(bytes.indexOf(between) + 1, padding);
        bytes.insert(bytes.lastIndexOf("]"), more);
        return bytes;
    };
}

// Changes the member `key` of the first result's `part` (settings, system).
Edit firstResultPart(const QString &part, const QString &key, const QJsonValue &value)
{
    return [=](QJsonObject top) {
        QJsonArray results = top[QStringLiteral("results")].toArray();
        QJsonObject first = results[0].toObject();
        QJsonObject inner = first[part].toObject();
        inner[key] = value;
        first[part] = inner;
        results[0] = first;
        top[QStringLiteral("results")] = results;
        return QJsonDocument(top).toJson();
    };
}

QJsonObject run(const QJsonValue &seconds)
{
    return { { QStringLiteral("seconds"), seconds } };
}

// The good file as the first version wrote it: the count, the unit and the
// passes beside the options, the runs as their seconds alone, the warnings
// as sentences; `version` as given.
Edit asFirstVersion(int version)
{
    return [=](QJsonObject top) {
        QJsonArray results;
        for (const QJsonValue &value : top[QStringLiteral("results")].toArray()) {
            QJsonObject r = value.toObject();
            QJsonObject options = r.take(QStringLiteral("settings")).toObject();
            for (const char *key : { "count", "unit", "passes" })
                r[QString::fromLatin1(key)] = options.take(QString::fromLatin1(key));
            r[QStringLiteral("options")] = options;
            r[QStringLiteral("cpu_model")]
                    = r[QStringLiteral("system")].toObject()[QStringLiteral("cpu_model")];
            QJsonArray seconds;
            for (const QJsonValue &run : r[QStringLiteral("runs")].toArray())
                seconds.append(run.toObject()[QStringLiteral("seconds")]);
            r[QStringLiteral("runs")] = seconds;
            r.remove(QStringLiteral("warnings"));
            results.append(r);
        }
        top[QStringLiteral("results")] = results;
        top[QStringLiteral("version")] = version;
        return QJsonDocument(top).toJson();
    };
}

// What a result of the first version keeps: its runs' seconds, its warnings'
// sentences.
SavedResult keptByTheFirstVersion(SavedResult r, const QString &sentence)
{
    for (RecordedRun &run : r.runs)
        run = { {}, r.passes, run.seconds, {}, {}, std::nullopt };
    for (KeptWarning &warning : r.warnings) {
        if (std::holds_alternative<Warning>(warning))
            warning = WordedWarning { sentence };
    }
    return r;
}

const QString kSentence = QStringLiteral("警告");

QString emoji(int count)
{
    return QString::fromUcs4(U"\U0001F600").repeated(count);
}

} // namespace

class TestResultDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void import_data();
    void import();
    void warningsKeepTheirKinds_data();
    void warningsKeepTheirKinds();
    void savedNamesComeBack_data();
    void savedNamesComeBack();

private:
    void keepsItsKind(const KeptWarning &warning, const QString &name);

    QTemporaryDir m_dir;
};

void TestResultDocument::import_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("imports");
    QTest::addColumn<int>("added");
    // Empty when the file is taken; else a piece of the message.
    QTest::addColumn<QString>("refusal");

    const auto asIs = [](QJsonObject top) { return QJsonDocument(top).toJson(); };
    QTest::newRow("good file") << Edit(asIs) << 1 << 2 << QString();
    QTest::newRow("version 1 file") << asFirstVersion(1) << 1 << 2 << QString();
    QTest::newRow("version 1 results in a version 2 file")
            << asFirstVersion(2) << 1 << 0
            << QStringLiteral("results[0]: 版 2 のファイルの結果の形ではありません");
    QTest::newRow("same file twice") << Edit(asIs) << 2 << 0 << QString();
    QTest::newRow("truncated") << Edit([](QJsonObject top) {
        const QByteArray whole = QJsonDocument(top).toJson();
        return whole.left(whole.size() / 2);
    }) << 1 << 0 << QStringLiteral("JSON として正しくありません");
    QTest::newRow("another format version") << Edit([](QJsonObject top) {
        top[QStringLiteral("version")] = 3;
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("形式の版が 3 です");
    QTest::newRow("another format") << Edit([](QJsonObject top) {
        top[QStringLiteral("format")] = QStringLiteral("hyperfine");
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("format");
    QTest::newRow("negative time")
            << firstResult(QStringLiteral("runs"), QJsonArray { run(1.5), run(-1) }) << 1 << 0
            << QStringLiteral("results[0].runs[1]");
    QTest::newRow("time as text") << firstResult(QStringLiteral("runs"),
                                                 QJsonArray { run(QStringLiteral("1.5")) })
                                  << 1 << 0 << QStringLiteral("results[0].runs[0]");
    QTest::newRow("no runs") << firstResult(QStringLiteral("runs"), QJsonArray {}) << 1 << 0
                             << QStringLiteral("results[0].runs");
    QTest::newRow("line break in a label")
            << firstResult(QStringLiteral("label"), QStringLiteral("a\nb")) << 1 << 0
            << QStringLiteral("制御文字");
    QTest::newRow("overlong label")
            << firstResult(QStringLiteral("label"), QString(201, QLatin1Char('x'))) << 1 << 0
            << QStringLiteral("200 文字");
    QTest::newRow("unknown member") << firstResult(QStringLiteral("score"), 9) << 1 << 0
                                    << QStringLiteral("results[0].score: 知らないメンバー");
    QTest::newRow("id not a UUID")
            << firstResult(QStringLiteral("id"), QStringLiteral("1; DROP TABLE results")) << 1 << 0
            << QStringLiteral("UUID");
    QTest::newRow("local time") << firstResult(QStringLiteral("started"),
                                               QStringLiteral("2026-12-01T09:30:00"))
                                << 1 << 0 << QStringLiteral("ISO 8601");
    QTest::newRow("no system") << firstResult(QStringLiteral("system"),
                                              QJsonValue(QJsonValue::Undefined))
                               << 1 << 0 << QStringLiteral("results[0].system: ありません");
    QTest::newRow("nested too deep") << firstResultPart(
            QStringLiteral("settings"), QStringLiteral("note"),
            QJsonObject { { QStringLiteral("a"),
                            QJsonObject { { QStringLiteral("b"),
                                            QJsonObject { { QStringLiteral("c"),
                                                            QJsonArray { 1 } } } } } } })
                                     << 1 << 0 << QStringLiteral("入れ子");
    QTest::newRow("nested lists as results")
            << spliced({}, QByteArray(",[[[[[[[[[[0]]]]]]]]]]").repeated(1000)) << 1 << 0
            << QStringLiteral("results[2]: 入れ子が深すぎます");
    QTest::newRow("one result over 256 KiB")
            << firstResultPart(QStringLiteral("settings"), QStringLiteral("note"),
                               QString(300000, u'x'))
            << 1 << 0 << QStringLiteral("results[0]: 256 KiB を超えています");
    QTest::newRow("a result too many")
            << spliced({}, QByteArray(",{}").repeated(100000 - 1)) << 1 << 0
            << QStringLiteral("results: 結果が 100000 件を超えています");
    QTest::newRow("over 64 MiB, within the limits")
            << spliced(QByteArray(65 << 20, ' ')) << 1 << 2 << QString();
    QTest::newRow("another version after a result it cannot read") << Edit([](QJsonObject top) {
        top[QStringLiteral("version")] = 3;
        top[QStringLiteral("results")] = QJsonArray { QJsonObject { { QStringLiteral("x"), 1 } } };
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("形式の版が 3 です");
    const QString settings = QStringLiteral("settings");
    const QString passes = QStringLiteral("passes");
    QTest::newRow("half a pass") << firstResultPart(settings, passes, 0.5) << 1 << 0
                                 << QStringLiteral("results[0].settings.passes: 1 以上");
    QTest::newRow("passes no loop can make")
            << firstResultPart(settings, passes, 1e300) << 1 << 0
            << QStringLiteral("results[0].settings.passes: 1 以上");
    QTest::newRow("passes beside another count")
            << firstResultPart(settings, passes, 20000001) << 1 << 0
            << QStringLiteral(
                       "results[0].settings.passes: count と unit から決まる回数 (20000000)");
    QTest::newRow("count no loop reads")
            << firstResultPart(settings, QStringLiteral("count"), QStringLiteral("abc")) << 1 << 0
            << QStringLiteral("results[0].settings.count");
    QTest::newRow("run faster than 0.1 ns a pass")
            << firstResult(QStringLiteral("runs"), QJsonArray { run(3.4), run(5e-324) }) << 1 << 0
            << QStringLiteral("results[0].runs[1].seconds: 20000000 回で");
    QTest::newRow("warning of an unknown kind")
            << firstResult(QStringLiteral("warnings"),
                           QJsonArray { QJsonObject { { QStringLiteral("kind"), 1 } } })
            << 1 << 0 << QStringLiteral("results[0].warnings[0].kind: 知らない警告の種類");
    QTest::newRow("start in the year 9999")
            << firstResult(QStringLiteral("started"), QStringLiteral("9999-01-01T00:00:00Z")) << 1
            << 0 << QStringLiteral("results[0].started: 1 日より先");
    QTest::newRow("start two days ahead")
            << firstResult(QStringLiteral("started"),
                           startedText(QDateTime::currentDateTimeUtc().addDays(2)))
            << 1 << 0 << QStringLiteral("results[0].started: 1 日より先");
    QTest::newRow("absurd CPU count")
            << firstResultPart(QStringLiteral("system"), QStringLiteral("logical_cpus"), 1e300) << 1
            << 0 << QStringLiteral("results[0].system.logical_cpus: 0 以上 65536 以下");
    QTest::newRow("right-to-left override in a label")
            << firstResult(QStringLiteral("label"), QStringLiteral("a\u202eLTR")) << 1 << 0
            << QStringLiteral("results[0].label: 文字の向きを変える");
    QTest::newRow("isolate in a host")
            << firstResult(QStringLiteral("host"), QStringLiteral("a\u2066b")) << 1 << 0
            << QStringLiteral("results[0].host: 文字の向き");
    QTest::newRow("embedding in a CPU name")
            << firstResultPart(QStringLiteral("system"), QStringLiteral("cpu_model"),
                               QStringLiteral("a\u202ab"))
            << 1 << 0 << QStringLiteral("results[0].system.cpu_model: 文字の向き");
    QTest::newRow("line separator in a CPU name")
            << firstResultPart(QStringLiteral("system"), QStringLiteral("cpu_model"),
                               QStringLiteral("a\u2028b"))
            << 1 << 0 << QStringLiteral("results[0].system.cpu_model: 行区切りか段落区切り");
    QTest::newRow("paragraph separator in a label")
            << firstResult(QStringLiteral("label"), QStringLiteral("a\u2029b")) << 1 << 0
            << QStringLiteral("results[0].label: 行区切りか段落区切り");
    QTest::newRow("label of 200 emoji")
            << firstResult(QStringLiteral("label"), emoji(200)) << 1 << 2 << QString();
    QTest::newRow("label of 201 emoji") << firstResult(QStringLiteral("label"), emoji(201)) << 1
                                        << 0 << QStringLiteral("results[0].label: 200 文字");
    QTest::newRow("half a surrogate pair in a label")
            << firstResult(QStringLiteral("label"), QString(QChar(0xd800))) << 1 << 0
            << QStringLiteral("results[0].label: 対になっていない");
    QTest::newRow("one id twice") << Edit([](QJsonObject top) {
        QJsonArray results = top[QStringLiteral("results")].toArray();
        results.append(results[0]);
        top[QStringLiteral("results")] = results;
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("同じ ID");
}

void TestResultDocument::import()
{
    QFETCH(Edit, edit);
    QFETCH(int, imports);
    QFETCH(QString, refusal);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString file = m_dir.filePath(tag + QStringLiteral(".json"));
    const SavedResult results[] = { sampleResult(), sampleResult(kScriptLabel) };
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(edit(QJsonDocument::fromJson(resultDocument(results, [](const Warning &) {
                           return kSentence;
                       })).object()));
    }
    ResultStore store(m_dir.filePath(tag + QStringLiteral(".sqlite")));

    ImportOutcome outcome;
    try {
        for (int i = 0; i < imports; ++i)
            outcome = store.importResults(readResultDocument(file));
        QVERIFY2(refusal.isEmpty(), "taken");
    } catch (const ResultsError &error) {
        QVERIFY2(!refusal.isEmpty() && error.message().contains(file)
                         && error.message().contains(refusal),
                 qPrintable(error.message()));
        QVERIFY(store.history().empty());
        return;
    }
    QTEST(outcome.added, "added");
    QCOMPARE(outcome.skipped, 2 - outcome.added);
    const std::vector<SavedResult> saved = store.history();
    QCOMPARE(saved.size(), std::size_t(2));
    // The label is kept as written; only what shows it escapes it. The rows
    // edit the first result only: the second comes back as it was.
    QCOMPARE(store.find(results[1].id)->label, kScriptLabel);
    const SavedResult expected = tag.startsWith(QStringLiteral("version 1"))
            ? keptByTheFirstVersion(results[1], kSentence)
            : results[1];
    QCOMPARE(resultText(*store.find(results[1].id)), resultText(expected));
}

void TestResultDocument::warningsKeepTheirKinds_data()
{
    QTest::addColumn<KeptWarning>("warning");
    using Figure = RunsTooShort::Figure;
    QTest::newRow("busy machine") << KeptWarning(Warning(BusyMachine { 2.75, 4, 0.3 }));
    QTest::newRow("powersave") << KeptWarning(Warning(PowersaveGovernor {}));
    QTest::newRow("noisy runs") << KeptWarning(Warning(NoisyRuns { 0.0712, 0.05 }));
    QTest::newRow("speed-up") << KeptWarning(Warning(SpeedupAboveThreads { 2.15, 2 }));
    QTest::newRow("short: speed-up") << KeptWarning(Warning(RunsTooShort { 1.5, Figure::Speedup }));
    QTest::newRow("short: rank") << KeptWarning(Warning(RunsTooShort { 1, Figure::Rank }));
    QTest::newRow("frequency") << KeptWarning(Warning(FrequencyChanged { 3, 3400.5, 2800 }));
    QTest::newRow("stolen time") << KeptWarning(Warning(TimeStolen { 0.0213, 0.01 }));
    QTest::newRow("crowded") << KeptWarning(Warning(CrowdedCpus { 5, 2 }));
    QTest::newRow("others busy") << KeptWarning(Warning(OthersBusy { 1.5, 2, 0.3 }));
    QTest::newRow("parallel crowded") << KeptWarning(Warning(ParallelCrowded { 6, 2, 2 }));
    QTest::newRow("older sentence")
            << KeptWarning(WordedWarning { QStringLiteral("負荷が高すぎます。") });
    QTest::newRow("every kind") << KeptWarning();
}

// Every kind the engine can give, whether or not a row above names it: a
// kind the readers forget fails here.
template<std::size_t... Index>
QList<KeptWarning> everyKind(std::index_sequence<Index...>)
{
    return { KeptWarning(Warning(std::in_place_index<Index>))... };
}

// Through the file and through the store, a warning comes back as the same
// kind with the same figures.
void TestResultDocument::warningsKeepTheirKinds()
{
    QFETCH(KeptWarning, warning);
    if (QTest::currentDataTag() == QByteArrayView("every kind")) {
        for (const KeptWarning &kind :
             everyKind(std::make_index_sequence<std::variant_size_v<Warning>>()))
            keepsItsKind(kind, QString::number(std::get<Warning>(kind).index()));
        return;
    }
    keepsItsKind(warning, QString::fromLatin1(QTest::currentDataTag()));
}

void TestResultDocument::keepsItsKind(const KeptWarning &warning, const QString &name)
{
    SavedResult result = sampleResult();
    result.warnings = { warning };
    const auto words = [](const Warning &) { return kSentence; };
    const std::vector<SavedResult> read
            = parseResultDocument(resultDocument({ &result, 1 }, words), QStringLiteral("k.json"));
    QCOMPARE(read.size(), std::size_t(1));
    QCOMPARE(resultText(read.front()), resultText(result));
    ResultStore store(m_dir.filePath(name + QStringLiteral(".sqlite")));
    store.save(result);
    QCOMPARE(resultText(*store.find(result.id)), resultText(result));
}

void TestResultDocument::savedNamesComeBack_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("kept");

    QTest::newRow("plain") << u"Intel(R) Xeon(R)"_qs << u"Intel(R) Xeon(R)"_qs;
    QTest::newRow("escape") << u"CPU\x1b[31m"_qs << u"CPU\\x1B[31m"_qs;
    QTest::newRow("right-to-left override") << u"CPU\u202eX"_qs << u"CPU\\u202EX"_qs;
    QTest::newRow("zero-width space") << u"CPU\u200b"_qs << u"CPU\\u200B"_qs;
    QTest::newRow("tag character") << u"CPU\U000E0041"_qs << u"CPU\\U000E0041"_qs;
    QTest::newRow("too long") << QString(201, u'x') << QString(200, u'x');
}

// What a machine names itself is saved so that the export of it is taken
// back: else one odd host or CPU name would sink the whole file.
void TestResultDocument::savedNamesComeBack()
{
    QFETCH(QString, model);
    BenchmarkResult run;
    run.started = QDateTime::currentDateTimeUtc();
    const SavedResult sample = sampleResult();
    run.runs = sample.runs;
    run.settings = sample.settings;
    run.system = sample.system;
    run.system.cpuModel = model;
    const SavedResult saved = savedResultOf(run, QStringLiteral("l"), QStringLiteral("1.2.7"));
    QTEST(saved.system.cpuModel, "kept");
    const QByteArray file = resultDocument(std::vector { saved },
                                           [](const Warning &) { return QStringLiteral("w"); });
    const std::vector<SavedResult> back = parseResultDocument(file, QStringLiteral("f"));
    QCOMPARE(back.at(0).system.cpuModel, saved.system.cpuModel);
    QCOMPARE(back.at(0).host, saved.host);
}

QTEST_GUILESS_MAIN(TestResultDocument)
#include "tst_resultdocument.moc"
