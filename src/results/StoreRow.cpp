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

using enum ResultColumn;

// The first schema had no host, options or parallel result, the second no
// typed warnings and no run details, the third no checksum. A store of an
// older schema is read as it is, as results without them, for reading never
// brings a store forward.
constexpr StoreColumn kColumns[] = {
    { Id, "id", 1, "TEXT PRIMARY KEY NOT NULL", true, true, "NULL",
      [](const SavedResult &r) { return QVariant(r.id); } },
    { Started, "started", 1, "TEXT NOT NULL", true, true, "NULL",
      [](const SavedResult &r) { return QVariant(startedText(r.started)); } },
    { Label, "label", 1, "TEXT NOT NULL", true, true, "NULL",
      [](const SavedResult &r) { return QVariant(textOf(r.label)); } },
    { ProgramVersion, "program_version", 1, "TEXT NOT NULL", true, false, "NULL",
      [](const SavedResult &r) { return QVariant(textOf(r.programVersion)); } },
    { CpuModel, "cpu_model", 1, "TEXT NOT NULL", true, true, "NULL",
      [](const SavedResult &r) { return QVariant(textOf(r.system.cpuModel)); } },
    { Host, "host", 2, "TEXT NOT NULL DEFAULT ''", true, true, "''",
      [](const SavedResult &r) { return QVariant(textOf(r.host)); } },
    { Passes, "passes", 1, "REAL NOT NULL", true, true, "NULL",
      [](const SavedResult &r) { return QVariant(r.passes); } },
    { Count, "count", 1, "TEXT NOT NULL", true, false, "NULL",
      [](const SavedResult &r) { return QVariant(textOf(r.settings.count)); } },
    { Unit, "unit", 1, "TEXT NOT NULL", true, false, "NULL",
      [](const SavedResult &r) { return QVariant(textOf(r.settings.unit)); } },
    { Options, "options", 2, "TEXT NOT NULL DEFAULT '{}'", false, false, "NULL",
      [](const SavedResult &r) {
          return QVariant(
                  partText([&](JsonWriter &out) { writeSettings(out, r.settings, r.passes); }));
      } },
    { Runs, "runs", 1, "TEXT NOT NULL", true, false, "NULL",
      [](const SavedResult &r) { return QVariant(runsText(r.seconds())); } },
    { Parallel, "parallel", 2, "TEXT", false, false, "NULL",
      [](const SavedResult &r) {
          return r.parallel
                  ? QVariant(partText([&](JsonWriter &out) { writeParallel(out, r.parallel); }))
                  : QVariant(QMetaType(QMetaType::QString));
      } },
    // The warnings apart, as kinds: the store keeps no sentence.
    { System, "system", 1, "TEXT NOT NULL", false, false, "NULL",
      [](const SavedResult &r) {
          return QVariant(
                  partText([&](JsonWriter &out) { writeSystem(out, r.system, {}, nullptr); }));
      } },
    // So that listing and ranking need not read every run.
    { Median, "median", 2, "REAL NOT NULL DEFAULT 0", false, true, "NULL",
      [](const SavedResult &r) { return QVariant(r.median()); } },
    { Warnings, "warnings", 3, "TEXT", false, false, "NULL",
      [](const SavedResult &r) {
          return QVariant(partText([&](JsonWriter &out) { writeWarnings(out, r.warnings); }));
      } },
    { RunDetails, "run_details", 3, "TEXT", false, false, "NULL",
      [](const SavedResult &r) {
          return QVariant(partText([&](JsonWriter &out) { writeRuns(out, r.runs); }));
      } },
    { Checksum, "checksum", 4, "TEXT", false, false, "NULL", nullptr },
};

// Each column in its own place, and each schema version adding one at
// least: a store is known to be of a version by the first column it added.
constexpr bool wellFormed()
{
    for (int i = 0; i < kStoreColumnCount; ++i) {
        if (kColumns[i].column != ResultColumn(i) || kColumns[i].since < 1
            || kColumns[i].since > kStoreSchemaVersion)
            return false;
    }
    for (int version = 1; version <= kStoreSchemaVersion; ++version) {
        if (std::ranges::none_of(kColumns,
                                 [&](const StoreColumn &c) { return c.since == version; }))
            return false;
    }
    return true;
}
static_assert(std::size(kColumns) == kStoreColumnCount && wellFormed());
// The checksum is of every other value, so it comes last.
static_assert(kColumns[kStoreColumnCount - 1].value == nullptr);

QVariant at(const QSqlQuery &row, ResultColumn column)
{
    return row.value(int(column));
}

} // namespace

std::span<const StoreColumn> storeColumns()
{
    return kColumns;
}

// A summary, or the medians alone, reads NULL for what it leaves out, and so
// cannot be held to its checksum.
QString resultColumns(HistoryDetail detail, int schemaVersion)
{
    QStringList names;
    for (const StoreColumn &c : kColumns) {
        if (c.since > schemaVersion)
            names << QLatin1StringView(c.absent);
        else if ((detail == HistoryDetail::Summary && !c.inSummary)
                 || (detail == HistoryDetail::Medians
                     && !c.inMedians
                     // A store older than the median column has only the runs
                     // to take it from.
                     && !(c.column == Runs && schemaVersion < kColumns[int(Median)].since)))
            names << QStringLiteral("NULL");
        else
            names << QLatin1StringView(c.name);
    }
    return names.join(QStringLiteral(", "));
}

SavedResult resultOfRow(const QSqlQuery &row, const QString &storePath)
{
    SavedResult r;
    r.id = at(row, Id).toString();
    try {
        if (const QVariant checksum = at(row, Checksum); !checksum.isNull()) {
            QVariantList saved;
            for (int column = 0; column < int(Checksum); ++column)
                saved << row.value(column);
            if (rowChecksum(saved) != checksum.toString().toLatin1())
                throw DamagedColumn {};
        }
        r.started = startedFromText(at(row, Started).toString());
        if (!r.started.isValid())
            throw DamagedColumn {};
        r.label = at(row, Label).toString();
        r.programVersion = at(row, ProgramVersion).toString();
        r.host = at(row, Host).toString();
        r.passes = at(row, Passes).toDouble();
        if (const QVariant options = at(row, Options); !options.isNull())
            readStoredSettings(options, r.settings);
        r.settings.count = at(row, Count).toString();
        r.settings.unit = at(row, Unit).toString();
        if (const QVariant median = at(row, Median);
            !median.isNull() && at(row, Runs).isNull() && at(row, RunDetails).isNull()) {
            // Read for its median alone.
            RecordedRun run;
            run.passes = r.passes;
            run.seconds = median.toDouble();
            r.runs = { run };
        } else {
            r.runs = runsOf(at(row, Runs), at(row, RunDetails), r.passes);
        }
        if (const QVariant parallel = at(row, Parallel); !parallel.isNull())
            r.parallel = storedParallel(parallel);
        const QVariant warnings = at(row, Warnings);
        if (const QVariant system = at(row, System); !system.isNull()) {
            const QJsonObject machine = storedSystem(system);
            r.system = systemFrom(machine);
            if (warnings.isNull())
                r.warnings = wordedWarningsFrom(machine);
        }
        r.system.cpuModel = at(row, CpuModel).toString();
        if (!warnings.isNull()) {
            const std::vector<KeptWarning> kept = storedWarnings(warnings);
            r.warnings.insert(r.warnings.end(), kept.begin(), kept.end());
        }
    } catch (const DamagedColumn &) {
        throw ResultsError(Words::tr("結果の保存先「%1」の ID %2 の結果は壊れています"
                                     "（保存したときのとおりに読めません）。"
                                     "このファイルには手を付けません。")
                                   .arg(storePath, r.id));
    }
    return r;
}

const QString &savedColumnNames()
{
    static const QString names = [] {
        QStringList list;
        for (const StoreColumn &c : kColumns)
            list << QLatin1StringView(c.name);
        return list.join(QStringLiteral(", "));
    }();
    return names;
}

QVariantList rowOfResult(const SavedResult &r)
{
    QVariantList values;
    values.reserve(kStoreColumnCount);
    for (const StoreColumn &c : kColumns) {
        if (c.value)
            values << c.value(r);
    }
    values << QString::fromLatin1(rowChecksum(values));
    return values;
}

} // namespace kamorin
