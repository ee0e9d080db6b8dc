#include "results/ResultStore.h"

#include "results/ResultsError.h"
#include "results/ShownText.h"
#include "results/StoreConnection.h"
#include "results/StoreFailure.h"
#include "results/StorePath.h"
#include "results/StoreRow.h"
#include "results/StoreSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ResultStoreWords)
};

} // namespace

namespace {

const QString kNewestFirst = QStringLiteral(" ORDER BY started DESC, rowid DESC");

// LIKE's own wildcards in the user's text match only themselves.
QString likePattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
            .replace(QStringLiteral("%"), QStringLiteral("\\%"))
            .replace(QStringLiteral("_"), QStringLiteral("\\_"));
    return QStringLiteral("%") + escaped + QStringLiteral("%");
}

// The folders a first save makes are the user's alone, as the XDG
// base-directory rules ask of the data home, whatever the umask: in a folder
// others may write to, they could put a store of their own in its place.
bool makePrivateFolders(const QString &path)
{
    QString done;
    for (const QString &part : QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts)) {
        done += u'/' + part;
        if (::mkdir(QFile::encodeName(done).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(path).isDir();
}

// Every row a query gives, to `visit` in turn; a read that stops on an error
// throws rather than ending the list early.
template<typename Visit>
void eachRow(const StoreConnection &c, QSqlQuery &query, Visit visit)
{
    while (c.next(query))
        visit(query);
}

// Ids are unique in the table, so one met twice in a listing is an index that
// disagrees with it, which would leave another result out.
class SeenIds
{
public:
    explicit SeenIds(const QString &path) : m_path(path) { }
    void add(const QString &id)
    {
        if (m_ids.contains(id))
            throw damagedStore(m_path);
        m_ids.insert(id);
    }

private:
    const QString &m_path;
    QSet<QString> m_ids;
};

std::vector<SavedResult> allRows(const StoreConnection &c, QSqlQuery query, qsizetype expected = 0)
{
    std::vector<SavedResult> results;
    results.reserve(std::size_t(std::max<qsizetype>(expected, 0)));
    SeenIds seen(c.path());
    eachRow(c, query, [&](const QSqlQuery &row) {
        results.push_back(resultOfRow(row, c.path()));
        seen.add(results.back().id);
    });
    return results;
}

// Where a page of the history ended: the next page is what comes after this
// row, newest first.
struct PageEnd
{
    QString started;
    qint64 rowid = 0;
};

// Results in a page: a few megabytes.
constexpr int kPageSize = 1000;
// historyQuery's last column, after those of resultColumns().
constexpr int kRowidColumn = kStoreColumnCount;

// The history's rows, newest first, each with its rowid after the columns
// resultOfRow reads; after `after` and at most `limit` of them when given.
QSqlQuery historyQuery(const StoreConnection &c, const HistoryFilter &filter, HistoryDetail detail,
                       int schemaVersion, const std::optional<PageEnd> &after = {},
                       std::optional<int> limit = {})
{
    QString sql = QStringLiteral("SELECT ") + resultColumns(detail, schemaVersion)
            + QStringLiteral(", rowid FROM results WHERE 1");
    if (filter.label)
        sql += QStringLiteral(" AND label = :label");
    if (filter.machineModel)
        sql += QStringLiteral(" AND cpu_model LIKE :model ESCAPE '\\'");
    if (after)
        sql += QStringLiteral(" AND (started, rowid) < (:started, :rowid)");
    sql += kNewestFirst;
    if (limit)
        sql += QStringLiteral(" LIMIT :limit");
    QSqlQuery query(c.database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        c.fail(query);
    if (filter.label)
        query.bindValue(QStringLiteral(":label"), *filter.label);
    if (filter.machineModel)
        query.bindValue(QStringLiteral(":model"), likePattern(*filter.machineModel));
    if (after) {
        query.bindValue(QStringLiteral(":started"), after->started);
        query.bindValue(QStringLiteral(":rowid"), after->rowid);
    }
    if (limit)
        query.bindValue(QStringLiteral(":limit"), *limit);
    if (!query.exec())
        c.fail(query);
    return query;
}

// Inserts without a transaction of its own; false when the id was there and
// `skipExisting` let it pass.
bool insert(const StoreConnection &c, const SavedResult &r, bool skipExisting)
{
    const QString verb
            = skipExisting ? QStringLiteral("INSERT OR IGNORE") : QStringLiteral("INSERT");
    const QVariantList values = rowOfResult(r);
    QStringList marks;
    for (qsizetype i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    const QSqlQuery query
            = c.run(verb
                            + QStringLiteral(" INTO results (%1) VALUES (%2)")
                                      .arg(savedColumnNames(), marks.join(QStringLiteral(", "))),
                    values);
    return query.numRowsAffected() == 1;
}

// Ids are stored in lower case, as the importer writes every UUID it reads;
// one typed or pasted in upper case names the same result.
QString storedIdOf(const QString &key)
{
    static const QRegularExpression idLike(QStringLiteral("^[0-9A-Fa-f-]+$"));
    return idLike.match(key).hasMatch() ? key.toLower() : key;
}

// The folder takes the store's journal, and a new store.
void checkFolderTakesFiles(const QString &path)
{
    if (::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK) != 0)
        throw readOnlyStore(path);
}

} // namespace

void ResultStore::checkCanMake(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!makePrivateFolders(folder))
        throw ResultsError(Words::tr("結果の保存先のフォルダー「%1」を作れません。").arg(folder));
    checkFolderTakesFiles(path);
}

ResultStore::ResultStore(const QString &path, StoreAccess access) : m_path(path)
{
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        throw ResultsError(Words::tr("「%1」は Kamorin の結果の保存先ではありません（通常の"
                                     "ファイルではありません）。")
                                   .arg(path));
    if (access == StoreAccess::Read) {
        m_schemaVersion = checkIsStore(path, false);
        m_connection = std::make_unique<StoreConnection>(path, StoreConnection::Access::ReadOnly);
        return;
    }
    if (holdsNoStoreYet(path)) {
        checkCanMake(path);
    } else {
        checkIsStore(path, true);
        checkFolderTakesFiles(path);
    }
    // SQLite opens a file it may not write read-only without a word: said
    // now rather than after a run whose result is then not kept.
    if (file.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        throw readOnlyStore(path);
    m_connection = std::make_unique<StoreConnection>(path, StoreConnection::Access::ReadWrite);
    // The default, stated: a commit is on the disk before save() returns, and a
    // killed process leaves a journal that the next opener rolls back.
    m_connection->run(QStringLiteral("PRAGMA journal_mode = DELETE"));
    m_connection->run(QStringLiteral("PRAGMA synchronous = FULL"));
    // A change must not build on a damaged page it happens not to touch.
    checkUndamaged();
    prepareSchema(*m_connection);
}

void ResultStore::checkUndamaged() const
{
    QSqlQuery check = m_connection->run(QStringLiteral("PRAGMA quick_check(1)"));
    if (!m_connection->next(check) || check.value(0).toString() != QStringLiteral("ok"))
        throw damagedStore(m_path);
}

void ResultStore::checkWhole() const
{
    QSqlQuery check = m_connection->run(QStringLiteral("PRAGMA integrity_check(1)"));
    if (!m_connection->next(check) || check.value(0).toString() != QStringLiteral("ok"))
        throw damagedStore(m_path);
}

ResultStore::~ResultStore() = default;

void ResultStore::save(const SavedResult &result)
{
    WriteTransaction transaction(*m_connection);
    QSqlQuery existing = m_connection->run(QStringLiteral("SELECT 1 FROM results WHERE id = ?"),
                                           { result.id });
    if (m_connection->next(existing))
        throw ResultsError(Words::tr("結果の保存先「%1」には ID「%2」の結果がもうあります。")
                                   .arg(m_path, result.id));
    insert(*m_connection, result, false);
    transaction.commit();
}

std::vector<SavedResult> ResultStore::history(const HistoryFilter &filter,
                                              HistoryDetail detail) const
{
    // As many as there are at most, so that no result is moved as the list grows.
    return allRows(
            *m_connection, historyQuery(*m_connection, filter, detail, m_schemaVersion),
            m_connection->value(QStringLiteral("SELECT count(*) FROM results")).toLongLong());
}

void ResultStore::eachResult(const HistoryFilter &filter,
                             const std::function<void(const SavedResult &)> &visit) const
{
    std::optional<PageEnd> after;
    SeenIds seen(m_path);
    for (;;) {
        std::vector<SavedResult> page;
        page.reserve(kPageSize);
        {
            QSqlQuery query = historyQuery(*m_connection, filter, HistoryDetail::Whole,
                                           m_schemaVersion, after, kPageSize);
            eachRow(*m_connection, query, [&](const QSqlQuery &row) {
                page.push_back(resultOfRow(row, m_path));
                seen.add(page.back().id);
                after = PageEnd { row.value(int(ResultColumn::Started)).toString(),
                                  row.value(kRowidColumn).toLongLong() };
            });
        }
        // The page's read is over before its results go out.
        for (const SavedResult &result : page)
            visit(result);
        if (page.size() < std::size_t(kPageSize))
            return;
    }
}

std::optional<SavedResult> ResultStore::find(const QString &key) const
{
    const QString select = QStringLiteral("SELECT ")
            + resultColumns(HistoryDetail::Whole, m_schemaVersion)
            + QStringLiteral(" FROM results");
    const auto first = [this](QSqlQuery query) -> std::optional<SavedResult> {
        if (m_connection->next(query))
            return resultOfRow(query, m_path);
        return std::nullopt;
    };
    // The one saved or imported last, whatever clock stamped its start: a
    // result from a node whose clock runs ahead would otherwise stay `last`.
    // A new row takes a rowid above every other.
    if (key == kLastResultKey)
        return first(m_connection->run(select + QStringLiteral(" ORDER BY rowid DESC LIMIT 1")));
    const QString id = storedIdOf(key);
    // A whole id names one result, whatever label another may carry.
    if (auto byId = first(m_connection->run(select + QStringLiteral(" WHERE id = ?"), { id })))
        return byId;
    auto byLabel = first(m_connection->run(select + QStringLiteral(" WHERE label = ?")
                                                   + kNewestFirst + QStringLiteral(" LIMIT 1"),
                                           { key }));
    static const QRegularExpression idPrefix(QStringLiteral("^[0-9a-f-]{8,36}$"));
    if (!idPrefix.match(id).hasMatch())
        return byLabel;
    const std::vector<SavedResult> matches = allRows(
            *m_connection,
            m_connection->run(select + QStringLiteral(" WHERE substr(id, 1, ?) = ? LIMIT 2"),
                              { id.size(), id }));
    if (matches.size() > 1)
        throw ResultsError(
                Words::tr("「%1」で始まる ID の結果が複数あります。もっと長く指定してください。")
                        .arg(key),
                ResultsError::Kind::Ambiguous);
    if (matches.empty())
        return byLabel;
    if (byLabel && byLabel->id != matches.front().id)
        throw ResultsError(Words::tr("「%1」はラベルとしても ID の先頭としても結果に当たります"
                                     "（ラベル「%1」の ID %2 と、ID %3）。"
                                     "どちらか ID を全部指定してください。")
                                   .arg(key, byLabel->id, matches.front().id),
                           ResultsError::Kind::Ambiguous);
    return matches.front();
}

void ResultStore::forget(const QString &id)
{
    WriteTransaction transaction(*m_connection);
    const QSqlQuery query = m_connection->run(QStringLiteral("DELETE FROM results WHERE id = ?"),
                                              { storedIdOf(id) });
    if (query.numRowsAffected() != 1)
        throw ResultsError(
                Words::tr("結果の保存先「%1」に ID「%2」の結果はありません。").arg(m_path, id),
                ResultsError::Kind::NoSuchResult);
    transaction.commit();
}

ImportOutcome ResultStore::importResults(std::span<const SavedResult> results)
{
    ImportOutcome outcome;
    WriteTransaction transaction(*m_connection);
    for (const SavedResult &result : results) {
        if (insert(*m_connection, result, true))
            ++outcome.added;
        else
            ++outcome.skipped;
    }
    transaction.commit();
    return outcome;
}

} // namespace kamorin
