#include "results/ResultChecks.h"

#include "measure/Command1_Click.h"
#include "results/ResultJson.h"
#include "results/ShownText.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <cmath>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ResultChecks)
};

constexpr qsizetype kMaxWarningText = 500;
constexpr qsizetype kMaxMembers = 64;
constexpr qsizetype kMaxListItems = 1024;
constexpr int kMaxDepth = 3;
// No machine makes a pass of eight tagged operations in less.
constexpr double kMinSecondsPerPass = 1e-10;
constexpr double kMaxLogicalCpus = 65536;

QString checkedText(const QJsonValue &value, const QString &where, qsizetype limit)
{
    if (!value.isString())
        refuse(where, Words::tr("文字列ではありません"));
    const QString text = value.toString();
    if (const auto fault = shownTextFault(text, limit))
        refuse(where, *fault);
    return text;
}

void checkPlain(const QJsonValue &value, const QString &where, int depth)
{
    switch (value.type()) {
    case QJsonValue::String:
        checkedText(value, where, kMaxWarningText);
        return;
    case QJsonValue::Double:
        checks::number(value, where);
        return;
    case QJsonValue::Bool:
    case QJsonValue::Null:
        return;
    case QJsonValue::Array:
    case QJsonValue::Object:
        break;
    case QJsonValue::Undefined:
        refuse(where, Words::tr("値がありません"));
    }
    if (depth >= kMaxDepth)
        refuse(where, Words::tr("入れ子が深すぎます"));
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        if (array.size() > kMaxListItems)
            refuse(where, Words::tr("要素が %1 個を超えています").arg(kMaxListItems));
        for (qsizetype i = 0; i < array.size(); ++i)
            checkPlain(array[i], item(where, i), depth + 1);
        return;
    }
    const QJsonObject object = checks::object(value, where);
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (const auto fault = shownTextFault(it.key()))
            refuse(where, Words::tr("メンバーの名前に問題があります: ") + *fault);
        checkPlain(it.value(), member(where, it.key()), depth + 1);
    }
}

// A member that may be missing or null; `check` when it is there.
template<typename Check>
void ifGiven(const QJsonObject &object, const QString &where, const char16_t *key, Check check)
{
    const QString name = QString::fromUtf16(key);
    if (const QJsonValue value = object[name]; !value.isNull() && !value.isUndefined())
        check(value, member(where, name));
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

namespace checks {

QString text(const QJsonValue &value, const QString &where)
{
    return checkedText(value, where, kMaxShownTextLength);
}

double number(const QJsonValue &value, const QString &where)
{
    if (!value.isDouble())
        refuse(where, Words::tr("数ではありません"));
    if (!std::isfinite(value.toDouble()))
        refuse(where, Words::tr("有限の数ではありません"));
    return value.toDouble();
}

double positive(const QJsonValue &value, const QString &where, double limit)
{
    const double n = number(value, where);
    if (!(n > 0) || n > limit)
        refuse(where, Words::tr("0 より大きく %1 以下の数ではありません").arg(limit, 0, 'g', 12));
    return n;
}

double whole(const QJsonValue &value, const QString &where, double low, double high)
{
    const double n = number(value, where);
    if (n < low || n > high || n != std::floor(n))
        refuse(where,
               Words::tr("%1 以上 %2 以下の整数ではありません")
                       .arg(QString::number(low, 'f', 0), QString::number(high, 'f', 0)));
    return n;
}

bool flag(const QJsonValue &value, const QString &where)
{
    if (!value.isBool())
        refuse(where, Words::tr("true か false ではありません"));
    return value.toBool();
}

QJsonObject object(const QJsonValue &value, const QString &where)
{
    if (!value.isObject())
        refuse(where, Words::tr("オブジェクトではありません"));
    const QJsonObject o = value.toObject();
    if (o.size() > kMaxMembers)
        refuse(where, Words::tr("メンバーが %1 個を超えています").arg(kMaxMembers));
    return o;
}

void plain(const QJsonValue &value, const QString &where)
{
    checkPlain(value, where, 0);
}

double runSeconds(const QJsonValue &value, const QString &where, double passes)
{
    const double seconds = positive(value, where, kMaxSeconds);
    if (seconds < passes * kMinSecondsPerPass)
        refuse(where,
               Words::tr("%1 回で %2 秒は 1 回 0.1 ナノ秒より短く、ありえません")
                       .arg(QString::number(passes, 'f', 0), QString::number(seconds, 'g', 6)));
    return seconds;
}

void passesAgree(const BenchmarkSettings &settings, double passes, const QString &where)
{
    double expected = 0;
    try {
        expected = passesFor(settings.count, settings.unit);
    } catch (const RuntimeError &) {
        refuse(member(where, QStringLiteral("count")), Words::tr("ループ回数として読めません"));
    }
    if (expected != passes)
        refuse(member(where, QStringLiteral("passes")),
               Words::tr("count と unit から決まる回数 (%1) と違います")
                       .arg(QString::number(expected, 'f', 0)));
}

SystemInfo system(const QJsonValue &value, const QString &where)
{
    const QJsonObject system = object(value, where);
    plain(system, where);
    const auto textOrNull = [](const QJsonValue &v, const QString &at) { text(v, at); };
    ifGiven(system, where, u"cpu_model", textOrNull);
    ifGiven(system, where, u"kernel", textOrNull);
    ifGiven(system, where, u"governor", textOrNull);
    ifGiven(system, where, u"logical_cpus",
            [](const QJsonValue &v, const QString &at) { whole(v, at, 0, kMaxLogicalCpus); });
    ifGiven(system, where, u"load_average", [](const QJsonValue &load, const QString &at) {
        if (!load.isArray() || load.toArray().size() != 3)
            refuse(at, Words::tr("3 つの数の並びではありません"));
        for (qsizetype i = 0; i < 3; ++i) {
            if (number(load.toArray()[i], item(at, i)) < 0)
                refuse(item(at, i), Words::tr("負の数です"));
        }
    });
    if (system.contains(QStringLiteral("warnings"))
        && !system[QStringLiteral("warnings")].isArray())
        refuse(member(where, QStringLiteral("warnings")), Words::tr("並びではありません"));
    return systemFrom(system);
}

ParallelResult parallel(const QJsonValue &value, const QString &where)
{
    const QJsonObject p = object(value, where);
    plain(p, where);
    ifGiven(p, where, u"threads",
            [](const QJsonValue &v, const QString &at) { whole(v, at, 0, kMaxLogicalCpus); });
    ifGiven(p, where, u"values_agree", flag);
    ifGiven(p, where, u"reliable", flag);
    const auto listOf = [](auto check) {
        return [check](const QJsonValue &v, const QString &at) {
            if (!v.isArray())
                refuse(at, Words::tr("並びではありません"));
            for (qsizetype i = 0; i < v.toArray().size(); ++i)
                check(v.toArray()[i], item(at, i));
        };
    };
    ifGiven(p, where, u"values",
            listOf([](const QJsonValue &v, const QString &at) { text(v, at); }));
    ifGiven(p, where, u"seconds",
            listOf([](const QJsonValue &v, const QString &at) { positive(v, at, kMaxSeconds); }));
    for (const char16_t *key : { u"passes_per_second", u"single_passes_per_second", u"speedup",
                                 u"speedup_min", u"speedup_max" })
        ifGiven(p, where, key, number);
    return parallelFrom(p);
}

std::vector<KeptWarning> warnings(const QJsonValue &value, const QString &where)
{
    if (!value.isArray())
        refuse(where, Words::tr("並びではありません"));
    plain(value, where);
    std::vector<KeptWarning> kept;
    const QJsonArray list = value.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString at = item(where, i);
        const QJsonObject o = object(list[i], at);
        // Every figure a kind has is a finite number, or a text of a few words.
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (!it.value().isString())
                number(it.value(), member(at, it.key()));
        }
        const std::optional<KeptWarning> warning = warningFrom(o);
        if (!warning)
            refuse(member(at, QStringLiteral("kind")), Words::tr("知らない警告の種類です"));
        kept.push_back(*warning);
    }
    return kept;
}

} // namespace checks

} // namespace kamorin
