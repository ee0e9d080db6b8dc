#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// SQL on a store file of the test's own, past the store's checks: to damage
// it, lock it or read what a command left in it.
class RawSql
{
public:
    explicit RawSql(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~RawSql()
    {
        QSqlDatabase::database(kName).close();
        QSqlDatabase::removeDatabase(kName);
    }
    RawSql(const RawSql &) = delete;
    RawSql &operator=(const RawSql &) = delete;

    // The first column of the first row, if any.
    QVariant operator()(const QString &sql)
    {
        QSqlQuery query(QSqlDatabase::database(kName));
        if (!query.exec(sql))
            qFatal("%s", qPrintable(sql));
        return query.next() ? query.value(0) : QVariant();
    }

private:
    static inline const QString kName = QStringLiteral("raw");
};
