#include "results/StoreRow.h"

#include "results/ResultJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <charconv>

namespace kamorin {

namespace {

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

// Qt binds a null QString as NULL, which the text columns refuse: a result
// saved without --label, or on a machine that names no CPU model, has the
// empty text there instead.
QString textOf(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

// Every column a result is read back from, in the order resultOfRow reads
// them; a summary reads NULL for what it leaves out. The first schema had no
// host, options or parallel result, the second no typed warnings and no
// run details: a store of an older schema is read as it is, as results
// without them, for reading never brings a store forward.
QString resultColumns(HistoryDetail detail, int schemaVersion)
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

SavedResult resultOfRow(const QSqlQuery &row)
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

QVariantList rowOfResult(const SavedResult &r)
{
    return { r.id, startedText(r.started), textOf(r.label), textOf(r.programVersion),
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
             partText([&](JsonWriter &out) { writeRuns(out, r.runs); }) };
}

} // namespace kamorin
