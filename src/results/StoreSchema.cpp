#include "results/StoreSchema.h"

#include "benchmark/Statistics.h"
#include "results/ResultsError.h"
#include "results/StoreConnection.h"
#include "results/StoreFailure.h"
#include "results/StoreRow.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>

#include <iterator>
#include <utility>
#include <vector>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreSchema)
};

} // namespace

namespace {

// With its extended codes, such as a journal to roll back, in the upper bits.
constexpr int kSqliteReadOnly = 8;

// What the first bytes and the size of a file say before SQLite is asked.
enum class FileLook
{
    SqliteFile,
    // Not an SQLite file at all: someone else's, left alone.
    Foreign,
    // SQLite's header, but cut short of the pages it counts.
    Damaged,
};

FileLook look(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileLook::SqliteFile; // SQLite says why it cannot be read.
    static constexpr char kMagic[] = "SQLite format 3";
    const QByteArray header = file.read(100);
    if (!header.startsWith(QByteArray(kMagic, sizeof kMagic)))
        return FileLook::Foreign;
    if (header.size() < 100)
        return FileLook::Damaged;
    const auto byte = [&](int i) { return quint32(quint8(header[i])); };
    // A page size of 1 in the header stands for 65536.
    const quint32 pageSize = (byte(16) << 8 | byte(17)) == 1 ? 65536 : byte(16) << 8 | byte(17);
    const quint32 pages = byte(28) << 24 | byte(29) << 16 | byte(30) << 8 | byte(31);
    // The page count is meant only while the change counter beside it agrees
    // (offsets 24 and 92); older writers left it stale. A change cut short
    // may leave the file shorter than its count, with the journal (or the
    // log of another program's WAL mode) that SQLite mends it from.
    const bool countValid = header.mid(24, 4) == header.mid(92, 4);
    const bool mendable = QFile::exists(path + QStringLiteral("-journal"))
            || QFile::exists(path + QStringLiteral("-wal"));
    if (countValid && !mendable && pages > 0 && qint64(pageSize) * pages > file.size())
        return FileLook::Damaged;
    return FileLook::SqliteFile;
}

QString refusal(const QString &path, const QString &why)
{
    return Words::tr("「%1」は Kamorin の結果の保存先ではありません（%2）。このファイルには"
                     "手を付けません。")
            .arg(path, why);
}

QString notSqlite()
{
    return Words::tr("SQLite のデータベースではありません");
}

QString someoneElses()
{
    return Words::tr("別のプログラムの SQLite データベースです");
}

[[noreturn]] void refuseNewer(const QString &path, int version)
{
    throw ResultsError(
            Words::tr("「%1」はこの版より新しい Kamorin の保存先です（形式 %2。"
                      "この版が読めるのは形式 %3 まで）。このファイルには手を付けません。")
                    .arg(path, QString::number(version), QString::number(kStoreSchemaVersion)));
}

// The columns that arrived in `version`, as they were made then: the first
// version's make the table. A new store is made by the same steps an old one
// is brought forward by, so every step is used.
void addColumnsOf(const StoreConnection &c, int version)
{
    QStringList made;
    for (const StoreColumn &column : storeColumns()) {
        if (column.since != version)
            continue;
        const QString declared
                = QLatin1StringView(column.name) + u' ' + QLatin1StringView(column.declaration);
        if (version == 1)
            made << u' ' + declared;
        else
            c.run(QStringLiteral("ALTER TABLE results ADD COLUMN ") + declared);
    }
    if (version == 1)
        c.run(QStringLiteral("CREATE TABLE results (") + made.join(u',') + u')');
}

double medianOfRunsText(const QString &runsText)
{
    std::vector<double> runs;
    for (const QJsonValue &seconds : QJsonDocument::fromJson(runsText.toUtf8()).array())
        runs.push_back(seconds.toDouble());
    const std::optional<Statistics> s = statisticsOf(runs);
    return s ? s->median : 0;
}

// The second schema keeps the host, the options and the parallel result, and
// the median of the runs, which an older row is given here; the indexes serve
// the history, newest first, and a machine model's history.
void fillMediansAndIndex(const StoreConnection &c)
{
    std::vector<std::pair<qlonglong, double>> medians;
    QSqlQuery rows = c.run(QStringLiteral("SELECT rowid, runs FROM results"));
    while (c.next(rows))
        medians.emplace_back(rows.value(0).toLongLong(),
                             medianOfRunsText(rows.value(1).toString()));
    for (const auto &[row, median] : medians)
        c.run(QStringLiteral("UPDATE results SET median = ? WHERE rowid = ?"), { median, row });
    c.run(QStringLiteral("CREATE INDEX results_by_started ON results (started)"));
    c.run(QStringLiteral("CREATE INDEX results_by_model ON results (cpu_model, started)"));
}

// The third schema keeps the warnings as kinds with their figures, apart from
// the machine, and each run's value, digits and score beside its seconds. An
// older row keeps NULL there: its warnings stay the sentences in its system
// column, shown as they are, and its runs their seconds alone. The fourth
// keeps a checksum of each row's values as saved, so that a changed byte
// inside a row is found as damage rather than read as other data; an older
// row has none and is read as it is. Neither needs more than its columns.
void columnsAlone(const StoreConnection &) { }

using Step = void (*)(const StoreConnection &);
// What bringing a store to version i + 1 does after adding that version's columns.
constexpr Step kStepsAfterColumns[]
        = { columnsAlone, fillMediansAndIndex, columnsAlone, columnsAlone };
static_assert(std::size(kStepsAfterColumns) == kStoreSchemaVersion);

// The first column a version added: a table that has it is of that version at least.
QLatin1StringView firstColumnOf(int version)
{
    for (const StoreColumn &column : storeColumns()) {
        if (column.since == version)
            return QLatin1StringView(column.name);
    }
    Q_UNREACHABLE();
}

} // namespace

int checkIsStore(const QString &path, bool mayRecover)
{
    switch (look(path)) {
    case FileLook::Foreign:
        throw ResultsError(refusal(path, notSqlite()));
    case FileLook::Damaged:
        throw damagedStore(path);
    case FileLook::SqliteFile:
        break;
    }
    bool recovered = false;
    for (;;) {
        const StoreConnection c(path, StoreConnection::Access::ReadOnly);
        QSqlQuery query(c.database());
        if (query.exec(QStringLiteral("PRAGMA application_id")) && query.next()) {
            if (query.value(0).toInt() != kStoreApplicationId)
                throw ResultsError(refusal(path, someoneElses()));
            break;
        }
        // A process killed in the middle of a save leaves its journal, which
        // only a writer may roll back; the first read of a read-write
        // connection does that, and writes nothing else: the store is then as
        // its last commit left it, as any reader of it would find it.
        const int code = query.lastError().nativeErrorCode().toInt();
        if ((code & 0xff) != kSqliteReadOnly || recovered
            || !QFile::exists(path + QStringLiteral("-journal")))
            c.fail(query);
        // A command that only reads writes nothing, this neither: a user who
        // may only read would be told that the store cannot be written.
        if (!mayRecover)
            throw ResultsError(
                    Words::tr("結果の保存先「%1」は、途中で止まった変更を元に戻す必要があります"
                              "（「%1-journal」が残っています）。読むだけのコマンドは保存先に"
                              "書き込みません。書き込める利用者が次に保存先を変えるコマンド"
                              "（--save か --import）を実行すると、その前に元に戻ります。")
                            .arg(path));
        const StoreConnection writer(path, StoreConnection::Access::ReadWrite);
        writer.value(QStringLiteral("PRAGMA application_id"));
        recovered = true;
    }
    const StoreConnection c(path, StoreConnection::Access::ReadOnly);
    const int version = c.value(QStringLiteral("PRAGMA user_version")).toInt();
    if (version > kStoreSchemaVersion)
        refuseNewer(path, version);
    if (version < 1)
        throw ResultsError(refusal(path, someoneElses()));
    // A version below the columns the table has is a changed byte in the
    // header: read as it says, the rows would lose what the later schemas
    // keep, their checksum with it.
    for (int later = version + 1; later <= kStoreSchemaVersion; ++later) {
        if (c.value(QStringLiteral("SELECT count(*) FROM pragma_table_info('results') "
                                   "WHERE name = '%1'")
                            .arg(firstColumnOf(later)))
                    .toInt()
            != 0)
            throw damagedStore(path);
    }
    return version;
}

void prepareSchema(const StoreConnection &c)
{
    if (c.value(QStringLiteral("PRAGMA application_id")).toInt() == kStoreApplicationId
        && c.value(QStringLiteral("PRAGMA user_version")).toInt() == kStoreSchemaVersion)
        return;
    WriteTransaction transaction(c);
    // Looked at again under the write lock: another process may have made or
    // brought forward the store in the meantime.
    const int applicationId = c.value(QStringLiteral("PRAGMA application_id")).toInt();
    int version = c.value(QStringLiteral("PRAGMA user_version")).toInt();
    if (applicationId != kStoreApplicationId) {
        const bool empty
                = c.value(QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt() == 0;
        if (applicationId != 0 || !empty)
            throw ResultsError(refusal(c.path(), someoneElses()));
        version = 0;
        c.run(QStringLiteral("PRAGMA application_id = %1").arg(kStoreApplicationId));
    }
    if (version > kStoreSchemaVersion)
        refuseNewer(c.path(), version);
    for (int step = version; step < kStoreSchemaVersion; ++step) {
        addColumnsOf(c, step + 1);
        kStepsAfterColumns[step](c);
    }
    c.run(QStringLiteral("PRAGMA user_version = %1").arg(kStoreSchemaVersion));
    transaction.commit();
}

} // namespace kamorin
