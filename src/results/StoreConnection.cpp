#include "results/StoreConnection.h"

#include "results/ResultsError.h"
#include "results/StoreFailure.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QUuid>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreConnectionWords)
};

} // namespace

StoreConnection::StoreConnection(const QString &path, Access access)
    : m_path(path), m_name(QStringLiteral("kamorin-store-") + QUuid::createUuid().toString())
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw ResultsError(Words::tr("結果の保存先を開けません: Qt の SQLite ドライバー "
                                     "(libqt6sql6-sqlite) がありません。"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kStoreBusyTimeoutMs);
    if (access == Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) {
        const int code = db.lastError().nativeErrorCode().toInt();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw storeFailure(path, code);
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

QSqlQuery StoreConnection::run(const QString &sql, const QVariantList &values) const
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
    return next(query) ? query.value(0) : QVariant();
}

bool StoreConnection::next(QSqlQuery &query) const
{
    if (query.next())
        return true;
    // A damaged page ends the rows as the last row does; only the error tells
    // the two apart, and a shorter list must never pass for the whole.
    if (query.lastError().isValid())
        fail(query);
    return false;
}

void StoreConnection::fail(const QSqlQuery &query) const
{
    throw storeFailure(m_path, query.lastError().nativeErrorCode().toInt());
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
