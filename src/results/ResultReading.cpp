#include "results/ResultChecks.h"
#include "results/ResultJson.h"
#include "results/ShownText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QSet>
#include <QUuid>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ResultReading)
};

} // namespace

namespace {

using namespace checks;

const QSet<QString> &knownMembers(int version)
{
    static const QSet<QString> first {
        QStringLiteral("id"),         QStringLiteral("started"),
        QStringLiteral("label"),      QStringLiteral("program_version"),
        QStringLiteral("cpu_model"),  QStringLiteral("host"),
        QStringLiteral("passes"),     QStringLiteral("count"),
        QStringLiteral("unit"),       QStringLiteral("options"),
        QStringLiteral("runs"),       QStringLiteral("median"),
        QStringLiteral("statistics"), QStringLiteral("parallel"),
        QStringLiteral("system"),
    };
    static const QSet<QString> second {
        QStringLiteral("id"),       QStringLiteral("started"),
        QStringLiteral("label"),    QStringLiteral("program_version"),
        QStringLiteral("host"),     QStringLiteral("settings"),
        QStringLiteral("runs"),     QStringLiteral("statistics"),
        QStringLiteral("system"),   QStringLiteral("parallel"),
        QStringLiteral("warnings"),
    };
    return version == 1 ? first : second;
}

// The members a result of any version has, and what checks them.
class ResultObject
{
public:
    ResultObject(const QJsonValue &value, const QString &where, int version)
        : m_object(checks::object(value, where)), m_where(where)
    {
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            if (!knownMembers(version).contains(it.key()))
                refuse(at(it.key()), Words::tr("知らないメンバーです"));
        }
    }

    QString at(const QString &key) const { return member(m_where, key); }
    const QString &where() const { return m_where; }

    QJsonValue required(const char16_t *key) const
    {
        const QString name = QString::fromUtf16(key);
        if (!m_object.contains(name))
            refuse(at(name), Words::tr("ありません"));
        return m_object[name];
    }
    QString requiredText(const char16_t *key) const
    {
        return text(required(key), at(QString::fromUtf16(key)));
    }
    // Null and missing alike.
    std::optional<QJsonValue> given(const char16_t *key) const
    {
        const QJsonValue value = m_object[QString::fromUtf16(key)];
        if (value.isNull() || value.isUndefined())
            return std::nullopt;
        return value;
    }

private:
    QJsonObject m_object;
    QString m_where;
};

void readHead(const ResultObject &o, SavedResult &r, const QDateTime &now)
{
    const QString idAt = o.at(QStringLiteral("id"));
    const QString id = text(o.required(u"id"), idAt);
    const QUuid uuid = QUuid::fromString(id);
    if (uuid.isNull() || id.size() != 36)
        refuse(idAt, Words::tr("UUID ではありません"));
    r.id = uuid.toString(QUuid::WithoutBraces);
    const QString startedAt = o.at(QStringLiteral("started"));
    r.started = startedFromText(text(o.required(u"started"), startedAt));
    if (!r.started.isValid())
        refuse(startedAt, Words::tr("UTC かオフセット付きの ISO 8601 の日時ではありません"));
    // It would stay the newest result, and `last`, for as long as it is kept.
    if (r.started > now.addDays(1))
        refuse(startedAt, Words::tr("1 日より先の日時です"));
    const QString labelAt = o.at(QStringLiteral("label"));
    r.label = text(o.required(u"label"), labelAt);
    if (const auto fault = labelFault(r.label))
        refuse(labelAt, *fault);
    r.programVersion = o.requiredText(u"program_version");
    r.host = o.requiredText(u"host");
}

QJsonArray runList(const ResultObject &o)
{
    const QJsonValue runs = o.required(u"runs");
    if (!runs.isArray() || runs.toArray().isEmpty() || runs.toArray().size() > kMaxRuns)
        refuse(o.at(QStringLiteral("runs")),
               Words::tr("1 から %1 個の秒数の並びではありません").arg(kMaxRuns));
    return runs.toArray();
}

void readRest(const ResultObject &o, SavedResult &r)
{
    if (const auto statistics = o.given(u"statistics")) {
        const QString at = o.at(QStringLiteral("statistics"));
        plain(checks::object(*statistics, at), at);
    }
    if (const auto p = o.given(u"parallel"))
        r.parallel = checks::parallel(*p, o.at(QStringLiteral("parallel")));
    const QJsonValue system = o.required(u"system");
    const QString systemAt = o.at(QStringLiteral("system"));
    r.system = checks::system(system, systemAt);
    r.warnings = wordedWarningsFrom(system.toObject());
}

// What shaped the runs: every member must be there in version 2, where the
// count, the unit and the passes are among them; version 1 gave the others
// in any measure, and they are held to the same rules when given.
void checkSettings(const QJsonObject &s, const QString &where, bool whole)
{
    plain(s, where);
    const auto check = [&](const char *key, auto rule) {
        const QString name = QString::fromLatin1(key);
        if (!s.contains(name)) {
            if (whole)
                refuse(member(where, name), Words::tr("ありません"));
            return;
        }
        rule(s[name], member(where, name));
    };
    const auto count = [](double high) {
        return [high](const QJsonValue &v, const QString &at) { checks::whole(v, at, 0, high); };
    };
    const auto countOrNull = [](const QJsonValue &v, const QString &at) {
        if (!v.isNull())
            checks::whole(v, at, 0, 65536);
    };
    if (whole) {
        check("passes",
              [](const QJsonValue &v, const QString &at) { checks::whole(v, at, 1, kMaxPasses); });
        check("count", text);
        check("unit", text);
    }
    check("count_auto", flag);
    check("warmup", count(kMaxRuns));
    check("runs", count(kMaxRuns));
    check("cpu", countOrNull);
    check("threads", countOrNull);
    check("min_time", [](const QJsonValue &v, const QString &at) { positive(v, at, kMaxSeconds); });
}

// Version 1: the count, the unit and the passes beside the options, the runs
// as their seconds alone, and the warnings as the sentences of their day.
SavedResult firstVersion(const ResultObject &o, const QDateTime &now)
{
    SavedResult r;
    readHead(o, r, now);
    const QString cpuModel = o.requiredText(u"cpu_model");
    r.passes = whole(o.required(u"passes"), o.at(QStringLiteral("passes")), 1, kMaxPasses);
    if (const auto options = o.given(u"options")) {
        const QString at = o.at(QStringLiteral("options"));
        const QJsonObject checked = checks::object(*options, at);
        checkSettings(checked, at, false);
        readSettings(checked, r.settings);
    }
    r.settings.count = o.requiredText(u"count");
    r.settings.unit = o.requiredText(u"unit");
    passesAgree(r.settings, r.passes, o.where());
    const QJsonArray runs = runList(o);
    for (qsizetype i = 0; i < runs.size(); ++i) {
        RecordedRun run;
        run.passes = r.passes;
        run.seconds = runSeconds(runs[i], item(o.at(QStringLiteral("runs")), i), r.passes);
        r.runs.push_back(run);
    }
    if (const auto median = o.given(u"median"))
        number(*median, o.at(QStringLiteral("median")));
    readRest(o, r);
    r.system.cpuModel = cpuModel;
    return r;
}

// Version 2: the parts as --json writes them, and the warnings as kinds.
SavedResult secondVersion(const ResultObject &o, const QDateTime &now)
{
    SavedResult r;
    readHead(o, r, now);
    const QString settingsAt = o.at(QStringLiteral("settings"));
    const QJsonObject settings = checks::object(o.required(u"settings"), settingsAt);
    checkSettings(settings, settingsAt, true);
    r.passes = settings[QStringLiteral("passes")].toDouble();
    readSettings(settings, r.settings);
    passesAgree(r.settings, r.passes, settingsAt);
    const QJsonArray runs = runList(o);
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const QString at = item(o.at(QStringLiteral("runs")), i);
        const QJsonObject run = checks::object(runs[i], at);
        plain(run, at);
        runSeconds(run[QStringLiteral("seconds")], member(at, QStringLiteral("seconds")), r.passes);
        for (const char *key : { "value", "digits" }) {
            const QString name = QString::fromLatin1(key);
            if (run.contains(name))
                text(run[name], member(at, name));
        }
        r.runs.push_back(runFrom(run, r.passes));
    }
    readRest(o, r);
    // The sentences in system are the exporter's words for these kinds.
    if (const auto warnings = o.given(u"warnings"))
        r.warnings = checks::warnings(*warnings, o.at(QStringLiteral("warnings")));
    return r;
}

} // namespace

SavedResult checkedResult(const QJsonValue &value, const QString &where, const QDateTime &now,
                          int version)
{
    const ResultObject o(value, where, version);
    return version == 1 ? firstVersion(o, now) : secondVersion(o, now);
}

} // namespace kamorin
