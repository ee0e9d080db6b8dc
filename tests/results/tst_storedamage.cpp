#include "results/ResultDocumentWriter.h"
#include "results/ResultStore.h"
#include "results/ResultsError.h"
#include "support/FileHash.h"
#include "support/RawSql.h"
#include "support/SampleResult.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kamorin;

// Damage inside a store is an error naming what is damaged, never a shorter
// or other answer: what a reader of every result (an export) and a reader of
// one (a comparison) get from a store changed behind the program's back.
class TestStoreDamage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void changedRowNamesItsId_data();
    void changedRowNamesItsId();
    void indexThatDisagreesIsDamage();
    void readerLeavesAHotJournalAlone();
    void everyFlippedByteIsDamageOrNothing();

private:
    QString copyOfStore(const QString &name) const;

    QTemporaryDir m_dir;
    QString m_store;
    QString m_id;
};

namespace {

constexpr int kResults = 200;

// What an export of every result writes, or "damaged" when the store refuses
// to be read as a whole; anything else fails the test.
QByteArray exported(const QString &path)
{
    try {
        ResultStore store(path, StoreAccess::Read);
        store.checkWhole();
        QByteArray out;
        ResultDocumentWriter document([&](QByteArrayView bytes) { out += bytes; },
                                      [](const Warning &) { return QStringLiteral("警告"); });
        store.eachResult({}, [&](const SavedResult &result) { document.add(result); });
        document.finish();
        return out;
    } catch (const ResultsError &error) {
        if (error.kind() != ResultsError::Kind::Store)
            qFatal("not a store's error: %s", error.what());
        return QByteArrayLiteral("damaged");
    }
}

} // namespace

void TestStoreDamage::initTestCase()
{
    m_store = m_dir.filePath(QStringLiteral("results.sqlite"));
    ResultStore store(m_store);
    for (int i = 0; i < kResults; ++i) {
        SavedResult r = sampleResult(QStringLiteral("label-%1").arg(i % 7));
        r.started = r.started.addSecs(i * 60);
        if (i % 3 == 0) {
            ParallelResult parallel;
            parallel.threads = 2;
            parallel.values = { QStringLiteral("3.14159260358979") };
            parallel.seconds = { 1.5, 1.6 };
            parallel.speedup = 1.9;
            r.parallel = parallel;
        }
        store.save(r);
        if (i == kResults / 2)
            m_id = r.id;
    }
}

QString TestStoreDamage::copyOfStore(const QString &name) const
{
    const QString copy = m_dir.filePath(name);
    QFile::remove(copy);
    if (!QFile::copy(m_store, copy))
        qFatal("cannot copy the store");
    return copy;
}

void TestStoreDamage::changedRowNamesItsId_data()
{
    QTest::addColumn<QString>("change");

    // With the checksum kept, any change is found; with none (a row an older
    // Kamorin saved), a column that cannot be what was written still is.
    QTest::newRow("a label changed, checksum kept") << u"label = 'other'"_qs;
    QTest::newRow("runs that do not parse")
            << u"run_details = '[{\"seconds\":3.4', checksum = NULL"_qs;
    QTest::newRow("runs of the wrong shape")
            << u"run_details = '[{\"seconds\":\"3.4\"}]', checksum = NULL"_qs;
    QTest::newRow("no runs at all") << u"run_details = '[]', checksum = NULL"_qs;
    QTest::newRow("options that are a list") << u"options = '[1]', checksum = NULL"_qs;
    QTest::newRow("a machine's load that is text")
            << u"system = '{\"load_average\":\"high\"}', checksum = NULL"_qs;
    QTest::newRow("a warning that is no object") << u"warnings = '[1]', checksum = NULL"_qs;
    QTest::newRow("parallel runs cut short") << u"parallel = '{\"threads\":', checksum = NULL"_qs;
}

void TestStoreDamage::changedRowNamesItsId()
{
    QFETCH(QString, change);
    const QString path = copyOfStore(QStringLiteral("changed.sqlite"));
    {
        RawSql sql(path);
        sql(QStringLiteral("UPDATE results SET %1 WHERE id = '%2'").arg(change, m_id));
    }
    ResultStore store(path, StoreAccess::Read);
    for (const auto &read : std::initializer_list<std::function<void()>> {
                 [&] { store.find(m_id); }, [&] { store.history({}, HistoryDetail::Whole); },
                 [&] { store.eachResult({}, [](const SavedResult &) {}); } }) {
        try {
            read();
            QFAIL("a damaged row was read");
        } catch (const ResultsError &error) {
            QCOMPARE(error.kind(), ResultsError::Kind::Store);
            QVERIFY2(error.message().contains(m_id), qPrintable(error.message()));
        }
    }
}

void TestStoreDamage::indexThatDisagreesIsDamage()
{
    const QString path = copyOfStore(QStringLiteral("index.sqlite"));
    {
        // The index's entries stay those of the start times while it now
        // claims to hold the labels: it no longer agrees with its table.
        RawSql sql(path);
        sql(QStringLiteral("PRAGMA writable_schema = ON"));
        sql(QStringLiteral("UPDATE sqlite_master SET sql = "
                           "'CREATE INDEX results_by_started ON results (label)' "
                           "WHERE name = 'results_by_started'"));
    }
    QCOMPARE(exported(path), QByteArrayLiteral("damaged"));
}

// A change cut short is rolled back by the next writer, never by a reader,
// who may have no right to write and is told what the store needs.
void TestStoreDamage::readerLeavesAHotJournalAlone()
{
    const QString path = m_dir.filePath(QStringLiteral("hot.sqlite"));
    const QString journal = path + QStringLiteral("-journal");
    {
        // The store and its journal as a saver killed in the middle leaves
        // them: a change too big for the cache has begun to reach the file.
        const QString live = copyOfStore(QStringLiteral("live.sqlite"));
        RawSql sql(live);
        sql(QStringLiteral("PRAGMA cache_size = 2"));
        sql(QStringLiteral("BEGIN"));
        sql(QStringLiteral("UPDATE results SET label = 'changed', checksum = NULL"));
        QFile::remove(path);
        QFile::remove(journal);
        QVERIFY(QFile::copy(live, path));
        QVERIFY(QFile::copy(live + QStringLiteral("-journal"), journal));
        sql(QStringLiteral("ROLLBACK"));
    }
    const QByteArray before = fileHash(path) + fileHash(journal);
    try {
        ResultStore store(path, StoreAccess::Read);
        QFAIL("a store that needs recovery was read");
    } catch (const ResultsError &error) {
        QCOMPARE(error.kind(), ResultsError::Kind::Store);
        QVERIFY2(error.message().contains(QStringLiteral("-journal")), error.what());
    }
    QCOMPARE(fileHash(path) + fileHash(journal), before);
    ResultStore writer(path);
    QCOMPARE(writer.history().size(), std::size_t(kResults));
    QVERIFY(!QFile::exists(journal));
}

// Every byte of a real store in turn, at random, changed to another value:
// the export is then refused as damage or is exactly what it was.
void TestStoreDamage::everyFlippedByteIsDamageOrNothing()
{
    const QByteArray before = exported(m_store);
    QVERIFY(before.size() > 100 * kResults);
    QFile original(m_store);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    QRandomGenerator random(31);
    const QString path = m_dir.filePath(QStringLiteral("flipped.sqlite"));
    constexpr int kFlips = 400;
    int refused = 0;
    QElapsedTimer timer;
    timer.start();
    for (int flip = 0; flip < kFlips; ++flip) {
        QByteArray changed = bytes;
        const qsizetype at = random.bounded(int(changed.size()));
        changed[at] = char(changed[at] ^ char(1 + random.bounded(255)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(changed);
        file.close();
        const QByteArray after = exported(path);
        if (after == QByteArrayLiteral("damaged"))
            ++refused;
        else if (after != before)
            QFAIL(qPrintable(QStringLiteral("byte %1 changed the export without a word").arg(at)));
    }
    qInfo("%d flips of a %lld-byte store, %d refused as damage, in %lld ms", kFlips,
          qlonglong(bytes.size()), refused, qlonglong(timer.elapsed()));
}

QTEST_GUILESS_MAIN(TestStoreDamage)
#include "tst_storedamage.moc"
