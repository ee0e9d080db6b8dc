#include "support/FileHash.h"
#include "support/RawSql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

namespace {

struct Result
{
    int status;
    QString err;
};

QString cliPath()
{
    return qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI));
}

void startCli(QProcess &process, const QStringList &arguments, const QString &store,
              const QString &workingDirectory)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KAMORIN_STORE"), store);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(cliPath(), arguments);
}

const QStringList kTinyRun { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                             QStringLiteral("--runs=3") };

} // namespace

// Stores that are damaged, empty, someone else's or no file at all, each met
// by every command that reads or changes the store, as a whole process.
class TestKamorinCliHostileStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hostileStore_data();
    void hostileStore();
    void stopSignalEndsAWaitForALockedStore_data();
    void stopSignalEndsAWaitForALockedStore();
    void fullDiskLeavesTheStoreAsItWas();
    void cleanupTestCase();

private:
    Result cli(const QStringList &arguments, const QString &store) const;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    // A results file of 2,000 results and the store they were imported into.
    QString m_document;
    QString m_whole;
    QString m_mount;
};

Result TestKamorinCliHostileStore::cli(const QStringList &arguments, const QString &store) const
{
    QProcess process;
    startCli(process, arguments, store, path(QStringLiteral("cwd")));
    process.waitForFinished(120000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardError()) };
}

void TestKamorinCliHostileStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("cwd")));
    const QString one = path(QStringLiteral("one.sqlite"));
    QCOMPARE(cli(kTinyRun + QStringList { QStringLiteral("--save") }, one).status, 0);
    const QString exported = path(QStringLiteral("one.json"));
    QCOMPARE(cli({ QStringLiteral("--export"), exported }, one).status, 0);
    QFile file(exported);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject document = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject saved = document[QStringLiteral("results")].toArray()[0].toObject();
    QJsonArray results;
    for (int i = 0; i < 2000; ++i) {
        QJsonObject r = saved;
        r[QStringLiteral("id")]
                = QStringLiteral("00000000-0000-4000-8000-%1").arg(i, 12, 10, QChar(u'0'));
        r[QStringLiteral("label")] = QStringLiteral("r%1").arg(i);
        results.append(r);
    }
    document[QStringLiteral("results")] = results;
    m_document = path(QStringLiteral("2000.json"));
    QFile out(m_document);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(document).toJson(QJsonDocument::Compact));
    out.close();
    m_whole = path(QStringLiteral("whole.sqlite"));
    QCOMPARE(cli({ QStringLiteral("--import"), m_document }, m_whole).status, 0);

    // 64 bytes over the first row of a page of rows (a leaf of the table,
    // type 13) in the middle of the file: damage that SQLite can see, where
    // bytes in a page's free space or inside a text would go unseen.
    const QString damaged = path(QStringLiteral("damaged.sqlite"));
    QVERIFY(QFile::copy(m_whole, damaged));
    QFile store(damaged);
    QVERIFY(store.open(QIODevice::ReadWrite));
    const QByteArray bytes = store.readAll();
    qsizetype page = bytes.size() / 2 / 4096 * 4096;
    while (page < bytes.size() && bytes[page] != 13)
        page += 4096;
    QVERIFY(page < bytes.size());
    const int firstRow = quint8(bytes[page + 8]) << 8 | quint8(bytes[page + 9]);
    store.seek(page + firstRow);
    store.write(QByteArray(64, '\xff'));
    store.close();

    QVERIFY(QFile::copy(m_whole, path(QStringLiteral("cut.sqlite"))));
    QVERIFY(QFile::resize(path(QStringLiteral("cut.sqlite")), 50));
    QVERIFY(QFile::copy(m_whole, path(QStringLiteral("halved.sqlite"))));
    QVERIFY(QFile::resize(path(QStringLiteral("halved.sqlite")), page));
    QFile empty(path(QStringLiteral("empty.sqlite")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    QFile text(path(QStringLiteral("notes.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("id,label\n1,mine\n");
    RawSql(path(QStringLiteral("foreign.sqlite")))(QStringLiteral("CREATE TABLE results (id)"));
}

void TestKamorinCliHostileStore::hostileStore_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("store");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QString id = QStringLiteral("00000000-0000-4000-8000-000000000007");
    const QList<std::pair<const char *, QStringList>> reads {
        { "history", { QStringLiteral("--history") } },
        { "export", { QStringLiteral("--export"), path(QStringLiteral("cwd/out.json")) } },
        { "compare", { QStringLiteral("--compare"), QStringLiteral("r1"), QStringLiteral("r2") } },
        { "rank", kTinyRun + QStringList { QStringLiteral("--rank") } },
        { "report",
          kTinyRun + QStringList { QStringLiteral("--report"), QStringLiteral("p.html") } },
    };
    const QList<std::pair<const char *, QStringList>> writes {
        { "save", kTinyRun + QStringList { QStringLiteral("--save") } },
        { "forget", { QStringLiteral("--forget"), id } },
        { "import", { QStringLiteral("--import"), m_document } },
    };
    const QString damaged = QStringLiteral("」は壊れています");
    const QString notOurs = QStringLiteral("」は Kamorin の結果の保存先ではありません");
    const struct
    {
        const char *name;
        bool reachesWrites;
        int status;
        QString message;
    } stores[] = {
        { "damaged.sqlite", true, 73, damaged },
        { "cut.sqlite", true, 73, damaged },
        { "halved.sqlite", true, 73, damaged },
        { "foreign.sqlite", true, 73, notOurs },
        { "notes.txt", true, 73, notOurs },
        { "empty.sqlite", false, 66, QStringLiteral("」はまだありません") },
    };
    for (const auto &s : stores) {
        for (const auto &[command, arguments] : reads) {
            // A run that ranks or reports without a store runs, as it should.
            if (s.status == 66 && arguments.first() == kTinyRun.first())
                continue;
            QTest::addRow("%s %s", s.name, command)
                    << arguments << path(QString::fromLatin1(s.name)) << s.status
                    << QString::fromLatin1(s.name) + s.message;
        }
        for (const auto &[command, arguments] : writes) {
            // An empty file is made a store by a save or an import.
            if (s.reachesWrites || arguments.first() == QStringLiteral("--forget"))
                QTest::addRow("%s %s", s.name, command)
                        << arguments << path(QString::fromLatin1(s.name)) << s.status
                        << QString::fromLatin1(s.name) + s.message;
        }
    }
    for (const char *uri : { ":memory:", "file::memory:", "file:x.sqlite" }) {
        for (const QStringList &arguments : { QStringList { QStringLiteral("--history") },
                                              kTinyRun + QStringList { QStringLiteral("--save") } })
            QTest::addRow("%s %s", uri, qPrintable(arguments.last()))
                    << arguments << QString::fromLatin1(uri) << 64
                    << QStringLiteral("結果の保存先「%1」は使えません").arg(QLatin1String(uri));
    }
}

void TestKamorinCliHostileStore::hostileStore()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, store);
    QFETCH(int, status);
    QFETCH(QString, message);

    QDir cwd(path(QStringLiteral("cwd")));
    QVERIFY(cwd.removeRecursively() && cwd.mkpath(QStringLiteral(".")));
    const QByteArray before = fileHash(store);
    const Result r = cli(arguments, store);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(QStringLiteral("kamorin-cli: ")) && r.err.contains(message),
             qPrintable(r.err));
    QCOMPARE(fileHash(store), before);
    QVERIFY(!QFile::exists(store + QStringLiteral("-journal")));
    // Nothing written where the command was started: no output, no folder
    // made of a URI.
    QCOMPARE(cwd.entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestKamorinCliHostileStore::stopSignalEndsAWaitForALockedStore_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signalNumber");

    QTest::newRow("history, SIGINT") << QStringList { QStringLiteral("--history") } << SIGINT;
    QTest::newRow("history, SIGTERM") << QStringList { QStringLiteral("--history") } << SIGTERM;
    QTest::newRow("save, SIGINT") << kTinyRun + QStringList { QStringLiteral("--save") } << SIGINT;
    QTest::newRow("import, SIGTERM")
            << QStringList { QStringLiteral("--import"), m_document } << SIGTERM;
}

void TestKamorinCliHostileStore::stopSignalEndsAWaitForALockedStore()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signalNumber);

    const QString store = path(QStringLiteral("locked.sqlite"));
    QFile::remove(store);
    QVERIFY(QFile::copy(m_whole, store));
    const QByteArray before = fileHash(store);
    {
        RawSql holder(store);
        holder(QStringLiteral("BEGIN EXCLUSIVE"));
        QProcess process;
        startCli(process, arguments, store, path(QStringLiteral("cwd")));
        QVERIFY(process.waitForStarted());
        // Long enough to be waiting for the lock, which it would for 10 s.
        QTest::qWait(500);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(process.processId()), signalNumber);
        QVERIFY(process.waitForFinished(2000));
        QVERIFY2(sinceSignal.elapsed() < 2000, qPrintable(QString::number(sinceSignal.elapsed())));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + signalNumber);
        holder(QStringLiteral("ROLLBACK"));
    }
    QCOMPARE(fileHash(store), before);
    QVERIFY(!QFile::exists(store + QStringLiteral("-journal")));
}

// A small file system of its own, full; skipped where this process may not
// mount one (not root, or a container without the right).
void TestKamorinCliHostileStore::fullDiskLeavesTheStoreAsItWas()
{
    const QString mount = path(QStringLiteral("full"));
    QVERIFY(QDir().mkpath(mount));
    if (QProcess::execute(QStringLiteral("mount"),
                          { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=256k"), QStringLiteral("tmpfs"), mount })
        != 0)
        QSKIP("a tmpfs cannot be mounted here");
    m_mount = mount;
    const QString store = mount + QStringLiteral("/results.sqlite");
    QVERIFY(QFile::copy(path(QStringLiteral("one.sqlite")), store));
    QFile filler(mount + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) { }
    filler.close();
    const QByteArray before = fileHash(store);

    const Result r = cli({ QStringLiteral("--import"), m_document }, store);
    QCOMPARE(r.status, 73);
    QVERIFY2(r.err.contains(QStringLiteral("ディスクがいっぱいです")), qPrintable(r.err));
    QCOMPARE(fileHash(store), before);
    QVERIFY(!QFile::exists(store + QStringLiteral("-journal")));
}

void TestKamorinCliHostileStore::cleanupTestCase()
{
    if (!m_mount.isEmpty())
        QProcess::execute(QStringLiteral("umount"), { m_mount });
}

QTEST_GUILESS_MAIN(TestKamorinCliHostileStore)
#include "tst_kamorincli_hostilestore.moc"
