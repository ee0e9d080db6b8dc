#include "results/ResultStore.h"
#include "results/ResultsError.h"
#include "results/StoreSchema.h"
#include "support/RawSql.h"
#include "support/SampleResult.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/stat.h>

using namespace kamorin;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList idsOf(const std::vector<SavedResult> &results)
{
    QStringList ids;
    for (const SavedResult &r : results)
        ids.append(r.id);
    return ids;
}

QStringList idsPrintedBy(QProcess &saver)
{
    return QString::fromUtf8(saver.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QDateTime day(int d)
{
    return QDateTime(QDate(2026, 11, d), QTime(12, 0), Qt::UTC);
}

} // namespace

class TestResultStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveHistoryFindForget();
    void findByKey_data();
    void findByKey();
    void migratesFromEveryOlderSchema_data();
    void migratesFromEveryOlderSchema();
    void foreignFileIsRefusedAndUnchanged_data();
    void foreignFileIsRefusedAndUnchanged();
    void twoSaversLoseNothing();
    void killedSaverLeavesASoundStore();

private:
    QTemporaryDir m_dir;
};

void TestResultStore::saveHistoryFindForget()
{
    const QString path = m_dir.filePath(QStringLiteral("a/b/results.sqlite"));
    // The folders made are the user's alone, whatever the umask.
    const mode_t mask = umask(0);
    ResultStore store(path);
    umask(mask);
    for (const char *folder : { "a", "a/b" }) {
        struct stat st
        { };
        QCOMPARE(
                stat(QFile::encodeName(m_dir.filePath(QLatin1StringView(folder))).constData(), &st),
                0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
    }
    const SavedResult old
            = sampleResult(QStringLiteral("before"), QStringLiteral("AMD Ryzen 7"), day(1));
    const SavedResult mid
            = sampleResult(QStringLiteral("after"), QStringLiteral("Intel Core i5"), day(2));
    const SavedResult neu = sampleResult(QStringLiteral("after"), QStringLiteral("AMD Ryzen 7"),
                                         day(3), { 2.0, 1.0, 3.0 });
    for (const SavedResult *r : { &mid, &neu, &old })
        store.save(*r);
    QVERIFY_THROWS_EXCEPTION(ResultsError, store.save(old));
    // Saved without --label and on a machine that names no CPU model.
    SavedResult plain = sampleResult(QString(), QString(), day(4));
    plain.host = QString();
    store.save(plain);
    QCOMPARE(store.find(plain.id)->label, QString());
    store.forget(plain.id);

    const std::vector<SavedResult> all = store.history();
    QCOMPARE(idsOf(all), (QStringList { neu.id, mid.id, old.id }));
    // Everything comes back as it went in.
    QCOMPARE(resultText(all.front()), resultText(neu));
    QCOMPARE(all.front().median(), 2.0);
    QCOMPARE(idsOf(store.history({ QStringLiteral("after"), {} })),
             (QStringList { neu.id, mid.id }));
    QCOMPARE(idsOf(store.history({ {}, QStringLiteral("ryzen") })),
             (QStringList { neu.id, old.id }));
    QCOMPARE(idsOf(store.history({ {}, QStringLiteral("%") })), QStringList {});

    // Saved last, though it started first.
    QCOMPARE(store.find(QStringLiteral("last"))->id, old.id);
    QCOMPARE(store.find(mid.id)->id, mid.id);
    QCOMPARE(store.find(QStringLiteral("before"))->id, old.id);
    QCOMPARE(store.find(QStringLiteral("after"))->id, neu.id);
    QCOMPARE(store.find(old.id.left(13))->id, old.id);
    QVERIFY(!store.find(QStringLiteral("nothing")));

    store.forget(mid.id);
    QCOMPARE(idsOf(store.history()), (QStringList { neu.id, old.id }));
    QVERIFY_THROWS_EXCEPTION(ResultsError, store.forget(mid.id));
}

void TestResultStore::findByKey_data()
{
    QTest::addColumn<QString>("key");
    // The id found, "none", or "ambiguous" for a key that fits several results.
    QTest::addColumn<QString>("found");

    const QString before = QStringLiteral("0a0c8aa8-8e89-41c1-b055-fd574b41449a");
    const QString beef = QStringLiteral("deadbeef-0000-4000-8000-000000000003");
    // Saved last, though it started first.
    QTest::newRow("last") << u"last"_qs << u"5a7ed1a5-0000-4000-8000-000000000006"_qs;
    QTest::newRow("whole id") << before << before;
    QTest::newRow("whole id in upper case") << before.toUpper() << before;
    QTest::newRow("prefix in upper case") << u"0A0C8AA8-8E"_qs << before;
    QTest::newRow("prefix of two") << u"0a0c8aa8"_qs << u"ambiguous"_qs;
    QTest::newRow("label") << u"before"_qs << before;
    QTest::newRow("label and another's prefix") << u"deadbeef"_qs << u"ambiguous"_qs;
    QTest::newRow("prefix, not the label's case") << u"DEADBEEF"_qs << beef;
    QTest::newRow("label and its own prefix")
            << u"facade00"_qs << u"facade00-0000-4000-8000-000000000005"_qs;
    QTest::newRow("prefix too short") << u"0a0c8aa"_qs << u"none"_qs;
    QTest::newRow("nothing") << u"nothing"_qs << u"none"_qs;
}

void TestResultStore::findByKey()
{
    QFETCH(QString, key);
    QFETCH(QString, found);
    ResultStore store(m_dir.filePath(QStringLiteral("keys.sqlite")));
    if (store.history().empty()) {
        const std::pair<const char *, const char *> saved[] = {
            { "0a0c8aa8-8e89-41c1-b055-fd574b41449a", "before" },
            { "0a0c8aa8-1111-4000-8000-000000000002", "after" },
            { "deadbeef-0000-4000-8000-000000000003", "" },
            { "cafef00d-0000-4000-8000-000000000004", "deadbeef" },
            { "facade00-0000-4000-8000-000000000005", "facade00" },
            { "5a7ed1a5-0000-4000-8000-000000000006", "saved last" },
        };
        int d = 2;
        for (const auto &[id, label] : saved) {
            SavedResult r = sampleResult(QString::fromLatin1(label), QString(),
                                         day(QByteArray(label) == "saved last" ? 1 : d++));
            r.id = QString::fromLatin1(id);
            store.save(r);
        }
    }
    try {
        const std::optional<SavedResult> result = store.find(key);
        QCOMPARE(result ? result->id : u"none"_qs, found);
    } catch (const ResultsError &error) {
        QCOMPARE(error.kind() == ResultsError::Kind::Ambiguous ? u"ambiguous"_qs : error.message(),
                 found);
    }
}

void TestResultStore::migratesFromEveryOlderSchema_data()
{
    QTest::addColumn<int>("version");
    // Parts of the old result, as a results file holds it, that must come through.
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("1") << 1
                       << QStringList { u"\"host\": \"\""_qs, u"\"seconds\": 4.25"_qs,
                                        u"\"kernel\": \"5.10\""_qs,
                                        // The sentence an older Kamorin kept stays as written.
                                        u"負荷が高すぎます。"_qs };
    QTest::newRow("2") << 2
                       << QStringList { u"\"host\": \"old-box\""_qs, u"\"warmup\": 2"_qs,
                                        u"\"speedup\": 1.96"_qs, u"負荷が高すぎます。"_qs };
    QTest::newRow("3") << 3
                       << QStringList { u"\"host\": \"old-box\""_qs, u"\"speedup\": 1.96"_qs,
                                        u"\"kind\": \"noisy_runs\""_qs, u"\"score\": 18.37"_qs };
}

void TestResultStore::migratesFromEveryOlderSchema()
{
    QFETCH(int, version);
    QFETCH(QStringList, kept);
    const auto tableShape = [](RawSql &sql) {
        return sql(QStringLiteral("SELECT group_concat(name || ' ' || type || ' ' || \"notnull\""
                                  " || ' ' || ifnull(dflt_value, '-'), ', ')"
                                  " FROM pragma_table_info('results')"))
                       .toString()
                + sql(QStringLiteral("SELECT group_concat(name) FROM"
                                     " (SELECT name FROM sqlite_master ORDER BY name)"))
                          .toString();
    };
    const QString fresh = m_dir.filePath(QStringLiteral("fresh.sqlite"));
    QString newShape;
    {
        const ResultStore made(fresh);
        RawSql sql(fresh);
        newShape = tableShape(sql);
    }

    // Each schema as the Kamorin of its time made it, with a result that uses
    // every column it has.
    const QString path = m_dir.filePath(QStringLiteral("schema-%1.sqlite").arg(version));
    {
        RawSql sql(path);
        sql(QStringLiteral(
                "CREATE TABLE results (id TEXT PRIMARY KEY NOT NULL, started TEXT NOT NULL,"
                " label TEXT NOT NULL, program_version TEXT NOT NULL, cpu_model TEXT NOT NULL,"
                " passes REAL NOT NULL, count TEXT NOT NULL, unit TEXT NOT NULL,"
                " runs TEXT NOT NULL, system TEXT NOT NULL)"));
        QString columns = QStringLiteral("id, started, label, program_version, cpu_model, passes, "
                                         "count, unit, runs, system");
        QString values = QStringLiteral(
                "'6f1c3c52-9c1e-4e57-9a53-0d2b8d1f0a11', '2026-10-01T08:00:00.000Z', 'old',"
                " '1.2.7', 'Pentium M', 20000000, '2000', '万回', '[4.5,4.25,4.75]',"
                " '{\"kernel\":\"5.10\",\"warnings\":[\"負荷が高すぎます。\"]}'");
        if (version >= 2) {
            for (const char *column :
                 { "host TEXT NOT NULL DEFAULT ''", "options TEXT NOT NULL DEFAULT '{}'",
                   "parallel TEXT", "median REAL NOT NULL DEFAULT 0" })
                sql(QStringLiteral("ALTER TABLE results ADD COLUMN ") + QLatin1StringView(column));
            sql(QStringLiteral("CREATE INDEX results_by_started ON results (started)"));
            sql(QStringLiteral("CREATE INDEX results_by_model ON results (cpu_model, started)"));
            columns += QStringLiteral(", host, options, parallel, median");
            values += QStringLiteral(
                    ", 'old-box', '{\"count\":\"2000\",\"count_auto\":false,\"unit\":\"万回\","
                    "\"passes\":20000000,\"warmup\":2,\"runs\":3,\"cpu\":null,\"threads\":2,"
                    "\"min_time\":0}', '{\"threads\":2,\"values\":[\"3.14159260358979\","
                    "\"3.14159260358979\"],\"values_agree\":true,\"seconds\":[2.3,2.25],"
                    "\"passes_per_second\":17582417.6,\"single_passes_per_second\":4444444.4,"
                    "\"speedup\":1.96,\"speedup_min\":1.9,\"speedup_max\":2,"
                    "\"reliable\":true}', 4.5");
        }
        if (version >= 3) {
            sql(QStringLiteral("ALTER TABLE results ADD COLUMN warnings TEXT"));
            sql(QStringLiteral("ALTER TABLE results ADD COLUMN run_details TEXT"));
            columns += QStringLiteral(", warnings, run_details");
            QStringList runs;
            for (const char *seconds : { "4.5", "4.25", "4.75" })
                runs << QStringLiteral("{\"seconds\":%1,\"ns_per_pass\":225,"
                                       "\"value\":\"3.14159260358979\",\"digits\":\"7\","
                                       "\"score\":18.37}")
                                .arg(QLatin1StringView(seconds));
            values += QStringLiteral(", '[{\"kind\":\"noisy_runs\",\"relative_stddev\":0.08,"
                                     "\"limit\":0.05}]', '[")
                    + runs.join(u',') + QStringLiteral("]'");
        }
        sql(QStringLiteral("INSERT INTO results (%1) VALUES (%2)").arg(columns, values));
        sql(QStringLiteral("PRAGMA application_id = 1263358542"));
        sql(QStringLiteral("PRAGMA user_version = %1").arg(version));
    }
    const QByteArray before = bytesOf(path);
    QString asItWas;
    {
        // Reading takes the store as it is and leaves it so.
        const ResultStore reader(path, StoreAccess::Read);
        const std::optional<SavedResult> old = reader.find(QStringLiteral("old"));
        QVERIFY(old);
        asItWas = resultText(*old);
        QCOMPARE(reader.history().size(), std::size_t(1));
        // The medians alone: from the runs in a store older than its column.
        const std::vector<SavedResult> medians = reader.history({}, HistoryDetail::Medians);
        QCOMPARE(medians.size(), std::size_t(1));
        QCOMPARE(medians.front().median(), old->median());
        QCOMPARE(medians.front().passes, old->passes);
        QCOMPARE(medians.front().host, old->host);
    }
    QCOMPARE(bytesOf(path), before);
    for (const QString &part : kept)
        QVERIFY2(asItWas.contains(part), qPrintable(part + u" in "_qs + asItWas));

    ResultStore store(path);
    const std::vector<SavedResult> all = store.history({ {}, QStringLiteral("Pentium") });
    QCOMPARE(all.size(), std::size_t(1));
    QCOMPARE(resultText(all.front()), asItWas);
    const SavedResult typed = sampleResult();
    store.save(typed);
    QCOMPARE(resultText(*store.find(typed.id)), resultText(typed));
    RawSql sql(path);
    QCOMPARE(sql(QStringLiteral("PRAGMA user_version")).toInt(), kStoreSchemaVersion);
    QCOMPARE(sql(QStringLiteral("SELECT median FROM results WHERE label = 'old'")).toDouble(), 4.5);
    QCOMPARE(tableShape(sql), newShape);
}

void TestResultStore::foreignFileIsRefusedAndUnchanged_data()
{
    QTest::addColumn<std::function<void(const QString &)>>("make");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a text file") << std::function([](const QString &path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("id,label\n1,mine\n");
    }) << QStringLiteral("SQLite のデータベースではありません");
    QTest::newRow("a folder") << std::function([](const QString &path) {
        QVERIFY(QDir().mkdir(path));
    }) << QStringLiteral("通常のファイルではありません");
    QTest::newRow("another program's SQLite") << std::function([](const QString &path) {
        RawSql sql(path);
        sql(QStringLiteral("CREATE TABLE results (id TEXT)"));
    }) << QStringLiteral("別のプログラム");
    QTest::newRow("a store from a newer Kamorin") << std::function([](const QString &path) {
        RawSql sql(path);
        sql(QStringLiteral("CREATE TABLE results (id TEXT)"));
        sql(QStringLiteral("PRAGMA application_id = 1263358542"));
        sql(QStringLiteral("PRAGMA user_version = 9"));
    }) << QStringLiteral("新しい");
}

void TestResultStore::foreignFileIsRefusedAndUnchanged()
{
    QFETCH(std::function<void(const QString &)>, make);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    make(path);
    const QByteArray before = bytesOf(path);
    try {
        ResultStore store(path);
        QFAIL("opened");
    } catch (const ResultsError &error) {
        QVERIFY2(error.message().contains(path) && error.message().contains(reason),
                 qPrintable(error.message()));
    }
    QCOMPARE(bytesOf(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

void TestResultStore::twoSaversLoseNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("shared.sqlite"));
    QProcess first, second;
    for (QProcess *saver : { &first, &second })
        saver->start(QStringLiteral(KAMORIN_STORE_SAVER),
                     { path, QStringLiteral("20"), QStringLiteral("x") });
    QStringList printed;
    for (QProcess *saver : { &first, &second }) {
        QVERIFY(saver->waitForFinished(60000));
        QCOMPARE(saver->exitCode(), 0);
        printed += idsPrintedBy(*saver);
    }
    QCOMPARE(printed.size(), 40);
    QStringList saved = idsOf(ResultStore(path).history());
    saved.sort();
    printed.sort();
    QCOMPARE(saved, printed);
}

void TestResultStore::killedSaverLeavesASoundStore()
{
    const QString path = m_dir.filePath(QStringLiteral("killed.sqlite"));
    QProcess saver;
    saver.start(QStringLiteral(KAMORIN_STORE_SAVER),
                { path, QStringLiteral("100000"), QStringLiteral("k") });
    QStringList printed;
    while (printed.size() < 15 && saver.waitForReadyRead(30000)) {
        printed += idsPrintedBy(saver);
    }
    ::kill(pid_t(saver.processId()), SIGKILL);
    QVERIFY(saver.waitForFinished(10000));
    QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
    printed += idsPrintedBy(saver);
    QVERIFY(printed.size() >= 15);

    const QStringList saved = idsOf(ResultStore(path).history());
    for (const QString &id : printed)
        QVERIFY2(saved.contains(id), qPrintable(id));
    RawSql sql(path);
    QCOMPARE(sql(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

QTEST_GUILESS_MAIN(TestResultStore)
#include "tst_resultstore.moc"
