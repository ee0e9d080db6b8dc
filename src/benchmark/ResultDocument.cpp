#include "benchmark/ResultDocument.h"

#include "benchmark/ResultsError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QUuid>

#include <cmath>

namespace kamorin {

namespace {

// Far beyond any honest file, and small enough that a hostile one costs
// little memory and time before it is refused.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
constexpr qsizetype kMaxResults = 100000;
constexpr qsizetype kMaxRuns = 1000;
constexpr qsizetype kMaxText = 200;
constexpr qsizetype kMaxWarningText = 500;
constexpr qsizetype kMaxMembers = 64;
constexpr qsizetype kMaxListItems = 1024;
constexpr int kMaxDepth = 3;
// About 115 days; a longer run is a typing slip.
constexpr double kMaxSeconds = 1e7;

// A reason why one value is refused: where it is (results[3].runs[2]) and what is wrong.
struct Refusal
{
    QString where;
    QString what;
};

// A value as it stands in the file, to quote it in a message.
QString jsonText(const QJsonValue &value)
{
    const QByteArray list = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(list.mid(1, list.size() - 2));
}

[[noreturn]] void refuse(const QString &where, const QString &what)
{
    throw Refusal { where, what };
}

QString member(const QString &where, const QString &key)
{
    return where + QLatin1Char('.') + key;
}

QString item(const QString &where, qsizetype index)
{
    return where + QStringLiteral("[%1]").arg(index);
}

QString checkedText(const QJsonValue &value, const QString &where, qsizetype limit = kMaxText)
{
    if (!value.isString())
        refuse(where, QStringLiteral("文字列ではありません"));
    const QString text = value.toString();
    if (text.size() > limit)
        refuse(where, QStringLiteral("%1 文字を超えています").arg(limit));
    // A line break or other control character would break the lines of the
    // text and CSV outputs that show it.
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            refuse(where, QStringLiteral("制御文字が含まれています"));
    }
    return text;
}

double checkedNumber(const QJsonValue &value, const QString &where)
{
    if (!value.isDouble())
        refuse(where, QStringLiteral("数ではありません"));
    if (!std::isfinite(value.toDouble()))
        refuse(where, QStringLiteral("有限の数ではありません"));
    return value.toDouble();
}

double checkedPositive(const QJsonValue &value, const QString &where, double limit)
{
    const double number = checkedNumber(value, where);
    if (!(number > 0) || number > limit)
        refuse(where,
               QStringLiteral("0 より大きく %1 以下の数ではありません").arg(limit, 0, 'g', 12));
    return number;
}

QJsonObject checkedObject(const QJsonValue &value, const QString &where)
{
    if (!value.isObject())
        refuse(where, QStringLiteral("オブジェクトではありません"));
    const QJsonObject object = value.toObject();
    if (object.size() > kMaxMembers)
        refuse(where, QStringLiteral("メンバーが %1 個を超えています").arg(kMaxMembers));
    return object;
}

// What only travels with a result (options, parallel result, conditions):
// texts, finite numbers, booleans and nulls, in lists and objects nested a
// little, within the limits.
void checkPlain(const QJsonValue &value, const QString &where, int depth)
{
    switch (value.type()) {
    case QJsonValue::String:
        checkedText(value, where, kMaxWarningText);
        return;
    case QJsonValue::Double:
        checkedNumber(value, where);
        return;
    case QJsonValue::Bool:
    case QJsonValue::Null:
        return;
    case QJsonValue::Array:
    case QJsonValue::Object:
        break;
    case QJsonValue::Undefined:
        refuse(where, QStringLiteral("値がありません"));
    }
    if (depth >= kMaxDepth)
        refuse(where, QStringLiteral("入れ子が深すぎます"));
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        if (array.size() > kMaxListItems)
            refuse(where, QStringLiteral("要素が %1 個を超えています").arg(kMaxListItems));
        for (qsizetype i = 0; i < array.size(); ++i)
            checkPlain(array[i], item(where, i), depth + 1);
        return;
    }
    const QJsonObject object = checkedObject(value, where);
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key().size() > kMaxText)
            refuse(where, QStringLiteral("メンバーの名前が長すぎます"));
        checkPlain(it.value(), member(where, it.key()), depth + 1);
    }
}

QJsonObject checkedSystem(const QJsonValue &value, const QString &where)
{
    const QJsonObject system = checkedObject(value, where);
    checkPlain(system, where, 0);
    const auto textOrAbsent = [&](const QString &key) {
        if (system.contains(key) && !system[key].isNull())
            checkedText(system[key], member(where, key));
    };
    textOrAbsent(QStringLiteral("cpu_model"));
    textOrAbsent(QStringLiteral("kernel"));
    textOrAbsent(QStringLiteral("governor"));
    if (system.contains(QStringLiteral("logical_cpus"))) {
        const QString at = member(where, QStringLiteral("logical_cpus"));
        const double cpus = checkedNumber(system[QStringLiteral("logical_cpus")], at);
        if (cpus < 0 || cpus != std::floor(cpus))
            refuse(at, QStringLiteral("0 以上の整数ではありません"));
    }
    if (const QJsonValue load = system[QStringLiteral("load_average")];
        !load.isNull() && !load.isUndefined()) {
        const QString at = member(where, QStringLiteral("load_average"));
        if (!load.isArray() || load.toArray().size() != 3)
            refuse(at, QStringLiteral("3 つの数の並びではありません"));
        for (qsizetype i = 0; i < 3; ++i) {
            if (checkedNumber(load.toArray()[i], item(at, i)) < 0)
                refuse(item(at, i), QStringLiteral("負の数です"));
        }
    }
    if (system.contains(QStringLiteral("warnings"))
        && !system[QStringLiteral("warnings")].isArray())
        refuse(member(where, QStringLiteral("warnings")), QStringLiteral("並びではありません"));
    return system;
}

const QSet<QString> &knownMembers()
{
    static const QSet<QString> known {
        QStringLiteral("id"),         QStringLiteral("started"),
        QStringLiteral("label"),      QStringLiteral("program_version"),
        QStringLiteral("cpu_model"),  QStringLiteral("host"),
        QStringLiteral("passes"),     QStringLiteral("count"),
        QStringLiteral("unit"),       QStringLiteral("options"),
        QStringLiteral("runs"),       QStringLiteral("median"),
        QStringLiteral("statistics"), QStringLiteral("parallel"),
        QStringLiteral("system"),
    };
    return known;
}

SavedResult checkedResult(const QJsonValue &value, const QString &where)
{
    const QJsonObject object = checkedObject(value, where);
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!knownMembers().contains(it.key()))
            refuse(member(where, it.key()), QStringLiteral("知らないメンバーです"));
    }
    const auto required = [&](const char16_t *key) {
        const QString name = QString::fromUtf16(key);
        if (!object.contains(name))
            refuse(member(where, name), QStringLiteral("ありません"));
        return std::pair { object[name], member(where, name) };
    };
    const auto requiredText = [&](const char16_t *key) {
        const auto [text, at] = required(key);
        return checkedText(text, at);
    };

    SavedResult r;
    const auto [id, idAt] = required(u"id");
    const QUuid uuid = QUuid::fromString(checkedText(id, idAt));
    if (uuid.isNull() || id.toString().size() != 36)
        refuse(idAt, QStringLiteral("UUID ではありません"));
    r.id = uuid.toString(QUuid::WithoutBraces);
    const auto [started, startedAt] = required(u"started");
    r.started = startedFromText(checkedText(started, startedAt));
    if (!r.started.isValid())
        refuse(startedAt, QStringLiteral("UTC かオフセット付きの ISO 8601 の日時ではありません"));
    r.label = requiredText(u"label");
    r.programVersion = requiredText(u"program_version");
    r.cpuModel = requiredText(u"cpu_model");
    r.host = requiredText(u"host");
    const auto [passes, passesAt] = required(u"passes");
    r.passes = checkedPositive(passes, passesAt, 1e300);
    r.count = requiredText(u"count");
    r.unit = requiredText(u"unit");

    const auto [runs, runsAt] = required(u"runs");
    if (!runs.isArray() || runs.toArray().isEmpty() || runs.toArray().size() > kMaxRuns)
        refuse(runsAt, QStringLiteral("1 から %1 個の秒数の並びではありません").arg(kMaxRuns));
    const QJsonArray runList = runs.toArray();
    for (qsizetype i = 0; i < runList.size(); ++i)
        r.runs.push_back(checkedPositive(runList[i], item(runsAt, i), kMaxSeconds));

    if (object.contains(QStringLiteral("options"))) {
        const QString at = member(where, QStringLiteral("options"));
        r.options = checkedObject(object[QStringLiteral("options")], at);
        checkPlain(r.options, at, 0);
    }
    if (object.contains(QStringLiteral("median")))
        checkedNumber(object[QStringLiteral("median")], member(where, QStringLiteral("median")));
    if (object.contains(QStringLiteral("statistics"))) {
        const QString at = member(where, QStringLiteral("statistics"));
        checkPlain(checkedObject(object[QStringLiteral("statistics")], at), at, 0);
    }
    if (const QJsonValue parallel = object[QStringLiteral("parallel")];
        !parallel.isNull() && !parallel.isUndefined()) {
        const QString at = member(where, QStringLiteral("parallel"));
        r.parallel = checkedObject(parallel, at);
        checkPlain(*r.parallel, at, 0);
    }
    const auto [system, systemAt] = required(u"system");
    r.system = checkedSystem(system, systemAt);
    return r;
}

std::vector<SavedResult> checkedDocument(const QJsonDocument &document)
{
    if (!document.isObject())
        refuse(QStringLiteral("$"), QStringLiteral("オブジェクトではありません"));
    const QJsonObject top = document.object();
    if (top[QStringLiteral("format")].toString() != QString::fromUtf16(kDocumentFormat))
        refuse(QStringLiteral("format"),
               QStringLiteral("\"%1\" ではありません。Kamorin の結果のファイルではないようです")
                       .arg(QString::fromUtf16(kDocumentFormat)));
    const QJsonValue version = top[QStringLiteral("version")];
    if (!version.isDouble() || version.toDouble() != kDocumentVersion)
        refuse(QStringLiteral("version"),
               QStringLiteral("形式の版が %1 です。この Kamorin が読めるのは版 %2 のファイルです")
                       .arg(jsonText(version), QString::number(kDocumentVersion)));
    for (auto it = top.begin(); it != top.end(); ++it) {
        if (it.key() != QStringLiteral("format") && it.key() != QStringLiteral("version")
            && it.key() != QStringLiteral("results"))
            refuse(it.key(), QStringLiteral("知らないメンバーです"));
    }
    const QJsonValue results = top[QStringLiteral("results")];
    if (!results.isArray())
        refuse(QStringLiteral("results"), QStringLiteral("結果の並びではありません"));
    const QJsonArray list = results.toArray();
    if (list.size() > kMaxResults)
        refuse(QStringLiteral("results"),
               QStringLiteral("結果が %1 件を超えています").arg(kMaxResults));
    std::vector<SavedResult> read;
    read.reserve(std::size_t(list.size()));
    QSet<QString> ids;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString at = item(QStringLiteral("results"), i);
        read.push_back(checkedResult(list[i], at));
        if (ids.contains(read.back().id))
            refuse(member(at, QStringLiteral("id")),
                   QStringLiteral("同じ ID がこのファイルに二度あります"));
        ids.insert(read.back().id);
    }
    return read;
}

[[noreturn]] void refuseFile(const QString &fileName, const QString &why)
{
    throw ResultsError(QStringLiteral("「%1」は取り込めません: %2。").arg(fileName, why),
                       ResultsError::Kind::Document);
}

} // namespace

std::vector<SavedResult> parseResultDocument(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() > kMaxFileBytes)
        refuseFile(fileName, QStringLiteral("%1 MiB を超えています").arg(kMaxFileBytes >> 20));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        refuseFile(fileName,
                   QStringLiteral("JSON として正しくありません（%1 バイト目: %2）。"
                                  "途中で切れているか、壊れています")
                           .arg(error.offset)
                           .arg(error.errorString()));
    try {
        return checkedDocument(document);
    } catch (const Refusal &refusal) {
        refuseFile(fileName, refusal.where + QStringLiteral(": ") + refusal.what);
    }
}

std::vector<SavedResult> readResultDocument(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuseFile(path, file.errorString());
    if (file.size() > kMaxFileBytes)
        refuseFile(path, QStringLiteral("%1 MiB を超えています").arg(kMaxFileBytes >> 20));
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        refuseFile(path, file.errorString());
    return parseResultDocument(bytes, path);
}

} // namespace kamorin
