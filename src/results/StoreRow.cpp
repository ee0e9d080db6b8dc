#include "results/StoreRow.h"

#include "results/ResultJson.h"
#include "results/ResultsError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <algorithm>
#include <charconv>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreRow)
};

// A row whose column does not read as what was written there: one changed
// byte, made no shorter answer by being read as a default.
struct DamagedColumn
{ };

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

QJsonValue parsed(const QVariant &text, QJsonValue::Type shape)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toString().toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        throw DamagedColumn {};
    const QJsonValue value
            = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    if (value.type() != shape)
        throw DamagedColumn {};
    return value;
}

QJsonObject objectIn(const QVariant &text)
{
    return parsed(text, QJsonValue::Object).toObject();
}

QJsonArray arrayIn(const QVariant &text)
{
    return parsed(text, QJsonValue::Array).toArray();
}

// The JSON types a member may have; a member the writers always write is
// required with `needed`.
struct Member
{
    const char16_t *key;
    std::initializer_list<QJsonValue::Type> types;
    bool needed = false;
};

constexpr auto kText = QJsonValue::String;
constexpr auto kNumber = QJsonValue::Double;
constexpr auto kFlag = QJsonValue::Bool;
constexpr auto kNull = QJsonValue::Null;
constexpr auto kList = QJsonValue::Array;

const QJsonObject &shaped(const QJsonObject &object, std::initializer_list<Member> members)
{
    for (const Member &m : members) {
        const QJsonValue value = object[QStringView(m.key)];
        if (value.isUndefined()
                    ? m.needed
                    : std::find(m.types.begin(), m.types.end(), value.type()) == m.types.end())
            throw DamagedColumn {};
    }
    return object;
}

void everyItemIs(const QJsonValue &list, QJsonValue::Type type)
{
    for (const QJsonValue &item : list.toArray()) {
        if (item.type() != type)
            throw DamagedColumn {};
    }
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
    for (const QJsonValue &seconds : arrayIn(column)) {
        if (!seconds.isDouble())
            throw DamagedColumn {};
        runs.push_back(seconds.toDouble());
    }
    return runs;
}

std::vector<RecordedRun> runsOf(const QVariant &seconds, const QVariant &details, double passes)
{
    std::vector<RecordedRun> runs;
    if (!details.isNull()) {
        for (const QJsonValue &run : arrayIn(details)) {
            if (!run.isObject())
                throw DamagedColumn {};
            runs.push_back(runFrom(shaped(run.toObject(),
                                          { { u"seconds", { kNumber }, true },
                                            { u"ns_per_pass", { kNumber, kNull } },
                                            { u"value", { kText } },
                                            { u"digits", { kText } },
                                            { u"score", { kNumber, kNull } } }),
                                   passes));
        }
    } else {
        for (const double s : runsFrom(seconds)) {
            RecordedRun run;
            run.passes = passes;
            run.seconds = s;
            runs.push_back(run);
        }
    }
    // Every result is saved with a run at least.
    if (runs.empty())
        throw DamagedColumn {};
    return runs;
}

void readStoredSettings(const QVariant &column, BenchmarkSettings &settings)
{
    readSettings(shaped(objectIn(column),
                        { { u"count", { kText } },
                          { u"count_auto", { kFlag } },
                          { u"unit", { kText } },
                          { u"passes", { kNumber, kNull } },
                          { u"warmup", { kNumber } },
                          { u"runs", { kNumber } },
                          { u"cpu", { kNumber, kNull } },
                          { u"threads", { kNumber, kNull } },
                          { u"min_time", { kNumber } } }),
                 settings);
}

ParallelResult storedParallel(const QVariant &column)
{
    const QJsonObject p = shaped(objectIn(column),
                                 { { u"threads", { kNumber }, true },
                                   { u"values", { kList } },
                                   { u"values_agree", { kFlag } },
                                   { u"seconds", { kList } },
                                   { u"passes_per_second", { kNumber, kNull } },
                                   { u"single_passes_per_second", { kNumber, kNull } },
                                   { u"speedup", { kNumber, kNull } },
                                   { u"speedup_min", { kNumber, kNull } },
                                   { u"speedup_max", { kNumber, kNull } },
                                   { u"reliable", { kFlag } } });
    everyItemIs(p[u"values"], kText);
    everyItemIs(p[u"seconds"], kNumber);
    return parallelFrom(p);
}

QJsonObject storedSystem(const QVariant &column)
{
    const QJsonObject system = shaped(objectIn(column),
                                      { { u"cpu_model", { kText } },
                                        { u"logical_cpus", { kNumber } },
                                        { u"kernel", { kText } },
                                        { u"governor", { kText, kNull } },
                                        { u"load_average", { kList, kNull } },
                                        { u"warnings", { kList } } });
    everyItemIs(system[u"load_average"], kNumber);
    everyItemIs(system[u"warnings"], kText);
    return system;
}

std::vector<KeptWarning> storedWarnings(const QVariant &column)
{
    std::vector<KeptWarning> warnings;
    for (const QJsonValue &warning : arrayIn(column)) {
        if (!warning.isObject())
            throw DamagedColumn {};
        // A kind this program does not know is a later one's, passed over.
        if (const auto kept
            = warningFrom(shaped(warning.toObject(), { { u"kind", { kText }, true } })))
            warnings.push_back(*kept);
    }
    return warnings;
}

// What a row's values were when saved, as one text: each value's kind and
// its text, a number as the shortest text that reads back as it.
QByteArray rowChecksum(const QVariantList &values)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QVariant &value : values) {
        if (value.isNull()) {
            hash.addData("N;");
        } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong
                   || value.typeId() == QMetaType::Int) {
            hash.addData(QByteArray("R") + shortestNumberText(value.toDouble()).toUtf8() + ';');
        } else {
            const QByteArray text = value.toString().toUtf8();
            hash.addData(QByteArray("T") + QByteArray::number(text.size()) + ':' + text);
        }
    }
    return hash.result().toHex();
}

// Qt binds a null QString as NULL, which the text columns refuse: a result
// saved without --label, or on a machine that names no CPU model, has the
// empty text there instead.
QString textOf(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

// Every column a result is read back from, in the order resultOfRow reads
// them; a summary reads NULL for what it leaves out, and so cannot be held to
// its checksum. The first schema had no
// host, options or parallel result, the second no typed warnings and no
// run details: a store of an older schema is read as it is, as results
// without them, for reading never brings a store forward.
QString resultColumns(HistoryDetail detail, int schemaVersion)
{
    const bool whole = detail == HistoryDetail::Whole;
    const bool second = schemaVersion >= 2;
    const bool third = whole && schemaVersion >= 3;
    const bool fourth = whole && schemaVersion >= 4;
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
                         third ? QStringLiteral("run_details") : QStringLiteral("NULL"),
                         whole && second ? QStringLiteral("median") : QStringLiteral("NULL"),
                         fourth ? QStringLiteral("checksum") : QStringLiteral("NULL") }
            .join(QStringLiteral(", "));
}

SavedResult resultOfRow(const QSqlQuery &row, const QString &storePath)
{
    SavedResult r;
    r.id = row.value(0).toString();
    try {
        if (!row.value(16).isNull()) {
            QVariantList saved;
            for (const int column : { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 13, 14 })
                saved << row.value(column);
            if (rowChecksum(saved) != row.value(16).toString().toLatin1())
                throw DamagedColumn {};
        }
        r.started = startedFromText(row.value(1).toString());
        if (!r.started.isValid())
            throw DamagedColumn {};
        r.label = row.value(2).toString();
        r.programVersion = row.value(3).toString();
        r.host = row.value(5).toString();
        r.passes = row.value(6).toDouble();
        if (!row.value(9).isNull())
            readStoredSettings(row.value(9), r.settings);
        r.settings.count = row.value(7).toString();
        r.settings.unit = row.value(8).toString();
        r.runs = runsOf(row.value(10), row.value(14), r.passes);
        if (!row.value(11).isNull())
            r.parallel = storedParallel(row.value(11));
        if (!row.value(12).isNull()) {
            const QJsonObject system = storedSystem(row.value(12));
            r.system = systemFrom(system);
            if (row.value(13).isNull())
                r.warnings = wordedWarningsFrom(system);
        }
        r.system.cpuModel = row.value(4).toString();
        if (!row.value(13).isNull()) {
            const std::vector<KeptWarning> warnings = storedWarnings(row.value(13));
            r.warnings.insert(r.warnings.end(), warnings.begin(), warnings.end());
        }
    } catch (const DamagedColumn &) {
        throw ResultsError(Words::tr("結果の保存先「%1」の ID %2 の結果は壊れています"
                                     "（保存したときのとおりに読めません）。"
                                     "このファイルには手を付けません。")
                                   .arg(storePath, r.id));
    }
    return r;
}

QVariantList rowOfResult(const SavedResult &r)
{
    QVariantList values {
        r.id, startedText(r.started), textOf(r.label), textOf(r.programVersion),
        textOf(r.system.cpuModel), textOf(r.host), r.passes, textOf(r.settings.count),
        textOf(r.settings.unit),
        partText([&](JsonWriter &out) { writeSettings(out, r.settings, r.passes); }),
        runsText(r.seconds()),
        r.parallel ? QVariant(partText([&](JsonWriter &out) { writeParallel(out, r.parallel); }))
                   : QVariant(QMetaType(QMetaType::QString)),
        // The warnings apart, as kinds: the store keeps no sentence.
        partText([&](JsonWriter &out) { writeSystem(out, r.system, {}, nullptr); }), r.median(),
        partText([&](JsonWriter &out) { writeWarnings(out, r.warnings); }),
        partText([&](JsonWriter &out) { writeRuns(out, r.runs); })
    };
    values << QString::fromLatin1(rowChecksum(values));
    return values;
}

} // namespace kamorin
