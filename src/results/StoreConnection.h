#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace kamorin {

// One named Qt SQL connection to the store file, removed again with this
// object. Every failure throws ResultsError naming the file.
class StoreConnection
{
public:
    enum class Access
    {
        ReadOnly,
        ReadWrite
    };

    StoreConnection(const QString &path, Access access);
    ~StoreConnection();
    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

    QSqlDatabase database() const;
    const QString &path() const { return m_path; }

    // Runs `sql` with `values` bound in order; the query is ready to be read.
    QSqlQuery run(const QString &sql, const QVariantList &values = {}) const;
    // The first column of the first row of a statement that gives one value.
    QVariant value(const QString &sql) const;
    // The next row of `query`; false at the end of the rows, and ResultsError
    // when reading stopped on an error instead.
    bool next(QSqlQuery &query) const;
    [[noreturn]] void fail(const QSqlQuery &query) const;

private:
    QString m_path;
    QString m_name;
};

// BEGIN IMMEDIATE takes the write lock at once, waiting for another process's
// change to end (the busy timeout): a transaction that starts as a reader and
// later wants to write could find the lock taken and fail at once instead.
// Rolled back unless committed.
class WriteTransaction
{
public:
    explicit WriteTransaction(const StoreConnection &connection);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    void commit();

private:
    const StoreConnection &m_connection;
    bool m_open = true;
};

} // namespace kamorin
