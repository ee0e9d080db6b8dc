#include "benchmark/StoreConnection.h"

#include "benchmark/ResultsError.h"

#include <QSqlError>
#include <QUuid>

namespace kamorin {

namespace {

// Long enough for another process's save or a whole import to end.
constexpr int kBusyTimeoutMs = 10000;

} // namespace

StoreConnection::StoreConnection(const QString &path, Access access)
    : m_path(path), m_name(QStringLiteral("kamorin-store-") + QUuid::createUuid().toString())
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw ResultsError(QStringLiteral("結果の保存先を開けません: Qt の SQLite ドライバー "
                                          "(libqt6sql6-sqlite) がありません。"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (access == Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw ResultsError(QStringLiteral("結果の保存先「%1」を開けません: %2").arg(path, reason));
    }
}

StoreConnection::~StoreConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase StoreConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery StoreConnection::run(const QString &sql, std::initializer_list<QVariant> values) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query);
    return query;
}

QVariant StoreConnection::value(const QString &sql) const
{
    QSqlQuery query = run(sql);
    return query.next() ? query.value(0) : QVariant();
}

void StoreConnection::fail(const QSqlQuery &query) const
{
    // SQLite's primary result codes: the two a user can do something about
    // are said in plain words rather than in SQLite's English.
    const QString code = query.lastError().nativeErrorCode();
    if (code == QStringLiteral("5") || code == QStringLiteral("6"))
        throw ResultsError(QStringLiteral("結果の保存先「%1」はほかのプロセスが %2 秒を超えて"
                                          "使っています。あとでもう一度実行してください。")
                                   .arg(m_path)
                                   .arg(kBusyTimeoutMs / 1000));
    if (code == QStringLiteral("8"))
        throw ResultsError(
                QStringLiteral("結果の保存先「%1」に書き込めません（読み取り専用です）。")
                        .arg(m_path));
    throw ResultsError(QStringLiteral("結果の保存先「%1」で失敗しました: %2")
                               .arg(m_path, query.lastError().text()));
}

WriteTransaction::WriteTransaction(const StoreConnection &connection) : m_connection(connection)
{
    m_connection.run(QStringLiteral("BEGIN IMMEDIATE"));
}

WriteTransaction::~WriteTransaction()
{
    if (!m_open)
        return;
    QSqlQuery rollback(m_connection.database());
    rollback.exec(QStringLiteral("ROLLBACK"));
}

void WriteTransaction::commit()
{
    m_connection.run(QStringLiteral("COMMIT"));
    m_open = false;
}

} // namespace kamorin
