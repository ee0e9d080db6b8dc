#include "results/ResultChecks.h"

#include "results/ShownText.h"
#include "measure/Command1_Click.h"
#include "runtime/RuntimeError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QUuid>

#include <cmath>

namespace kamorin {

namespace {

constexpr qsizetype kMaxRuns = 1000;
constexpr qsizetype kMaxWarningText = 500;
constexpr qsizetype kMaxMembers = 64;
constexpr qsizetype kMaxListItems = 1024;
constexpr int kMaxDepth = 3;
// About 115 days; a longer run is a typing slip.
constexpr double kMaxSeconds = 1e7;
// Beyond 2^53 the window's loop counter, a Double, can no longer step by one:
// a loop to there never ends, so no run has made more passes.
constexpr double kMaxPasses = 9007199254740992.0;
// No machine makes a pass of eight tagged operations in less.
constexpr double kMinSecondsPerPass = 1e-10;
constexpr double kMaxLogicalCpus = 65536;

QString checkedText(const QJsonValue &value, const QString &where,
                    qsizetype limit = kMaxShownTextLength)
{
    if (!value.isString())
        refuse(where, QStringLiteral("文字列ではありません"));
    const QString text = value.toString();
    if (const auto fault = shownTextFault(text, limit))
        refuse(where, *fault);
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

double checkedWhole(const QJsonValue &value, const QString &where, double low, double high)
{
    const double number = checkedNumber(value, where);
    if (number < low || number > high || number != std::floor(number))
        refuse(where,
               QStringLiteral("%1 以上 %2 以下の整数ではありません")
                       .arg(QString::number(low, 'f', 0), QString::number(high, 'f', 0)));
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
        if (const auto fault = shownTextFault(it.key()))
            refuse(where, QStringLiteral("メンバーの名前に問題があります: ") + *fault);
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
    if (system.contains(QStringLiteral("logical_cpus")))
        checkedWhole(system[QStringLiteral("logical_cpus")],
                     member(where, QStringLiteral("logical_cpus")), 0, kMaxLogicalCpus);
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

// The passes the count and unit beside them make in the window: a file
// cannot claim a run of one count as a run of another.
void checkPassesAgree(const SavedResult &r, const QString &where)
{
    double expected = 0;
    try {
        expected = passesFor(r.count, r.unit);
    } catch (const RuntimeError &) {
        refuse(member(where, QStringLiteral("count")),
               QStringLiteral("ループ回数として読めません"));
    }
    if (expected != r.passes)
        refuse(member(where, QStringLiteral("passes")),
               QStringLiteral("count と unit から決まる回数 (%1) と違います")
                       .arg(QString::number(expected, 'f', 0)));
}

} // namespace

void refuse(const QString &where, const QString &what)
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

SavedResult checkedResult(const QJsonValue &value, const QString &where, const QDateTime &now)
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
    // It would stay the newest result, and `last`, for as long as it is kept.
    if (r.started > now.addDays(1))
        refuse(startedAt, QStringLiteral("1 日より先の日時です"));
    r.label = requiredText(u"label");
    r.programVersion = requiredText(u"program_version");
    r.cpuModel = requiredText(u"cpu_model");
    r.host = requiredText(u"host");
    const auto [passes, passesAt] = required(u"passes");
    r.passes = checkedWhole(passes, passesAt, 1, kMaxPasses);
    r.count = requiredText(u"count");
    r.unit = requiredText(u"unit");
    checkPassesAgree(r, where);

    const auto [runs, runsAt] = required(u"runs");
    if (!runs.isArray() || runs.toArray().isEmpty() || runs.toArray().size() > kMaxRuns)
        refuse(runsAt, QStringLiteral("1 から %1 個の秒数の並びではありません").arg(kMaxRuns));
    const QJsonArray runList = runs.toArray();
    const double shortestRun = r.passes * kMinSecondsPerPass;
    for (qsizetype i = 0; i < runList.size(); ++i) {
        const QString at = item(runsAt, i);
        r.runs.push_back(checkedPositive(runList[i], at, kMaxSeconds));
        if (r.runs.back() < shortestRun)
            refuse(at,
                   QStringLiteral("%1 回で %2 秒は 1 回 0.1 ナノ秒より短く、ありえません")
                           .arg(QString::number(r.passes, 'f', 0),
                                QString::number(r.runs.back(), 'g', 6)));
    }

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

} // namespace kamorin
