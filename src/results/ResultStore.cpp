#include "results/ResultStore.h"

#include "results/ResultJson.h"
#include "results/ResultsError.h"
#include "results/StoreConnection.h"
#include "results/StoreFailure.h"
#include "results/StoreSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <unistd.h>

namespace kamorin {

namespace {

// Every column a result is read back from, in the order rowToResult reads
// them; a summary reads NULL for what it leaves out. The first schema had no
// host, options or parallel result, the second no typed warnings and no
// run details: a store of an older schema is read as it is, as results
// without them, for reading never brings a store forward.
QString columns(HistoryDetail detail, int schemaVersion)
{
    const bool whole = detail == HistoryDetail::Whole;
    const bool second = schemaVersion >= 2;
    const bool third = whole && schemaVersion >= 3;
    return QStringList { QStringLiteral("id"),
                         QStringLiteral("started"),
                         QStringLiteral("label"),
                         QStringLiteral("program_version"),
                         QStringLiteral("cpu_model"),
                         second ? QStringLiteral("host") : QStringLiteral("''"),
                         QStringLiteral("passes"),
                         QStringLiteral("count"),
                         QStringLiteral("unit"),
                         whole && second ? QStringLiteral("options") : QStringLiteral("NULL"),
                         QStringLiteral("runs"),
                         whole && second ? QStringLiteral("parallel") : QStringLiteral("NULL"),
                         whole ? QStringLiteral("system") : QStringLiteral("NULL"),
                         third ? QStringLiteral("warnings") : QStringLiteral("NULL"),
                         third ? QStringLiteral("run_details") : QStringLiteral("NULL") }
            .join(QStringLiteral(", "));
}

const QString kNewestFirst = QStringLiteral(" ORDER BY started DESC, rowid DESC");

// A part of a result as the mapping writes it, on one line.
template<typename Write>
QString partText(Write write)
{
    JsonWriter out;
    write(out);
    return out.text();
}

QString runsText(const std::vector<double> &runs)
{
    QStringList numbers;
    for (const double seconds : runs)
        numbers << shortestNumberText(seconds);
    return u'[' + numbers.join(u',') + u']';
}

QJsonDocument parsed(const QVariant &text)
{
    return QJsonDocument::fromJson(text.toString().toUtf8());
}

// The runs column as runsText writes it, "[1.5,2.25]", read by hand: a JSON
// parser costs more for ten numbers than the rest of the row together.
std::vector<double> runsFrom(const QVariant &column)
{
    const QByteArray text = column.toString().toLatin1();
    std::vector<double> runs;
    const char *p = text.constData();
    const char *end = p + text.size();
    if (text.size() >= 2 && *p == '[' && end[-1] == ']') {
        ++p;
        --end;
        while (p < end) {
            double seconds = 0;
            const auto [next, error] = std::from_chars(p, end, seconds);
            if (error != std::errc() || (next < end && *next != ','))
                break;
            runs.push_back(seconds);
            p = next < end ? next + 1 : next;
        }
        if (p == end)
            return runs;
    }
    // Anything else JSON allows.
    runs.clear();
    for (const QJsonValue &seconds : parsed(column).array())
        runs.push_back(seconds.toDouble());
    return runs;
}

std::vector<RecordedRun> runsOf(const QVariant &seconds, const QVariant &details, double passes)
{
    std::vector<RecordedRun> runs;
    if (!details.isNull()) {
        for (const QJsonValue &run : parsed(details).array())
            runs.push_back(runFrom(run.toObject(), passes));
        return runs;
    }
    for (const double s : runsFrom(seconds)) {
        RecordedRun run;
        run.passes = passes;
        run.seconds = s;
        runs.push_back(run);
    }
    return runs;
}

SavedResult rowToResult(const QSqlQuery &row)
{
    SavedResult r;
    r.id = row.value(0).toString();
    r.started = startedFromText(row.value(1).toString());
    r.label = row.value(2).toString();
    r.programVersion = row.value(3).toString();
    r.host = row.value(5).toString();
    r.passes = row.value(6).toDouble();
    if (!row.value(9).isNull())
        readSettings(parsed(row.value(9)).object(), r.settings);
    r.settings.count = row.value(7).toString();
    r.settings.unit = row.value(8).toString();
    r.runs = runsOf(row.value(10), row.value(14), r.passes);
    if (!row.value(11).isNull())
        r.parallel = parallelFrom(parsed(row.value(11)).object());
    if (!row.value(12).isNull()) {
        const QJsonObject system = parsed(row.value(12)).object();
        r.system = systemFrom(system);
        if (row.value(13).isNull())
            r.warnings = wordedWarningsFrom(system);
    }
    r.system.cpuModel = row.value(4).toString();
    for (const QJsonValue &warning : parsed(row.value(13)).array()) {
        if (const auto kept = warningFrom(warning.toObject()))
            r.warnings.push_back(*kept);
    }
    return r;
}

// LIKE's own wildcards in the user's text match only themselves.
QString likePattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
            .replace(QStringLiteral("%"), QStringLiteral("\\%"))
            .replace(QStringLiteral("_"), QStringLiteral("\\_"));
    return QStringLiteral("%") + escaped + QStringLiteral("%");
}

// Every row a query gives, to `visit` in turn; a read that stops on an error
// throws rather than ending the list early.
template<typename Visit>
void eachRow(const StoreConnection &c, QSqlQuery &query, Visit visit)
{
    while (c.next(query))
        visit(query);
}

std::vector<SavedResult> allRows(const StoreConnection &c, QSqlQuery query, qsizetype expected = 0)
{
    std::vector<SavedResult> results;
    results.reserve(std::size_t(std::max<qsizetype>(expected, 0)));
    eachRow(c, query, [&](const QSqlQuery &row) { results.push_back(rowToResult(row)); });
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
// historyQuery's last column, after those of columns().
constexpr int kRowidColumn = 15;

// The history's rows, newest first, each with its rowid after the columns
// rowToResult reads; after `after` and at most `limit` of them when given.
QSqlQuery historyQuery(const StoreConnection &c, const HistoryFilter &filter, HistoryDetail detail,
                       int schemaVersion, const std::optional<PageEnd> &after = {},
                       std::optional<int> limit = {})
{
    QString sql = QStringLiteral("SELECT ") + columns(detail, schemaVersion)
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

// Qt binds a null QString as NULL, which the text columns refuse: a result
// saved without --label, or on a machine that names no CPU model, has the
// empty text there instead.
QString textOf(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Inserts without a transaction of its own; false when the id was there and
// `skipExisting` let it pass.
bool insert(const StoreConnection &c, const SavedResult &r, bool skipExisting)
{
    const QString verb
            = skipExisting ? QStringLiteral("INSERT OR IGNORE") : QStringLiteral("INSERT");
    const QSqlQuery query = c.run(
            verb
                    + QStringLiteral(" INTO results (id, started, label, program_version, "
                                     "cpu_model, host, passes, count, unit, options, runs, "
                                     "parallel, system, median, warnings, run_details) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            { r.id, startedText(r.started), textOf(r.label), textOf(r.programVersion),
              textOf(r.system.cpuModel), textOf(r.host), r.passes, textOf(r.settings.count),
              textOf(r.settings.unit),
              partText([&](JsonWriter &out) { writeSettings(out, r.settings, r.passes); }),
              runsText(r.seconds()),
              r.parallel
                      ? QVariant(partText([&](JsonWriter &out) { writeParallel(out, r.parallel); }))
                      : QVariant(QMetaType(QMetaType::QString)),
              // The warnings apart, as kinds: the store keeps no sentence.
              partText([&](JsonWriter &out) { writeSystem(out, r.system, {}, nullptr); }),
              r.median(), partText([&](JsonWriter &out) { writeWarnings(out, r.warnings); }),
              partText([&](JsonWriter &out) { writeRuns(out, r.runs); }) });
    return query.numRowsAffected() == 1;
}

// Ids are stored in lower case, as the importer writes every UUID it reads;
// one typed or pasted in upper case names the same result.
QString storedIdOf(const QString &key)
{
    static const QRegularExpression idLike(QStringLiteral("^[0-9A-Fa-f-]+$"));
    return idLike.match(key).hasMatch() ? key.toLower() : key;
}

} // namespace

ResultStore::ResultStore(const QString &path, StoreAccess access) : m_path(path)
{
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        throw ResultsError(QStringLiteral("「%1」は Kamorin の結果の保存先ではありません（通常の"
                                          "ファイルではありません）。")
                                   .arg(path));
    if (access == StoreAccess::Read) {
        m_schemaVersion = checkIsStore(path);
        m_connection = std::make_unique<StoreConnection>(path, StoreConnection::Access::ReadOnly);
        return;
    }
    // An empty file holds nothing to lose: it is what a first save that was
    // stopped before its commit leaves behind.
    if (file.exists() && file.size() > 0)
        checkIsStore(path);
    else if (!QDir().mkpath(file.absolutePath()))
        throw ResultsError(QStringLiteral("結果の保存先のフォルダー「%1」を作れません。")
                                   .arg(file.absolutePath()));
    // SQLite opens a file it may not write read-only without a word: said
    // now rather than after a run whose result is then not kept. The folder
    // takes the journal.
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    if ((file.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        || ::access(folder.constData(), W_OK) != 0)
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

ResultStore::~ResultStore() = default;

void ResultStore::save(const SavedResult &result)
{
    WriteTransaction transaction(*m_connection);
    QSqlQuery existing = m_connection->run(QStringLiteral("SELECT 1 FROM results WHERE id = ?"),
                                           { result.id });
    if (m_connection->next(existing))
        throw ResultsError(QStringLiteral("結果の保存先「%1」には ID「%2」の結果がもうあります。")
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
    for (;;) {
        std::vector<SavedResult> page;
        page.reserve(kPageSize);
        {
            QSqlQuery query = historyQuery(*m_connection, filter, HistoryDetail::Whole,
                                           m_schemaVersion, after, kPageSize);
            eachRow(*m_connection, query, [&](const QSqlQuery &row) {
                page.push_back(rowToResult(row));
                after = PageEnd { row.value(1).toString(), row.value(kRowidColumn).toLongLong() };
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
            + columns(HistoryDetail::Whole, m_schemaVersion) + QStringLiteral(" FROM results");
    const auto first = [this](QSqlQuery query) -> std::optional<SavedResult> {
        if (m_connection->next(query))
            return rowToResult(query);
        return std::nullopt;
    };
    if (key == QStringLiteral("last"))
        return first(m_connection->run(select + kNewestFirst + QStringLiteral(" LIMIT 1")));
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
                QStringLiteral(
                        "「%1」で始まる ID の結果が複数あります。もっと長く指定してください。")
                        .arg(key),
                ResultsError::Kind::NoSuchResult);
    if (matches.empty())
        return byLabel;
    if (byLabel && byLabel->id != matches.front().id)
        throw ResultsError(QStringLiteral("「%1」はラベルとしても ID の先頭としても結果に当たります"
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
                QStringLiteral("結果の保存先「%1」に ID「%2」の結果はありません。").arg(m_path, id),
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
