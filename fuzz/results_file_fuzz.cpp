// Any bytes as a file given to --import: the reader either refuses them as a
// document error naming the file, or returns results within every limit the
// import promises, which write out and read back as themselves. Anything else
// leaving the reader, or a sanitizer report, is a fault.
#include "FuzzCheck.h"
#include "results/ResultDocument.h"
#include "results/ResultDocumentWriter.h"
#include "results/ResultsError.h"

#include <QDateTime>

#include <cmath>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

const QString kFileName = QStringLiteral("fuzz.json");

void checkKept(const SavedResult &result, const QDateTime &latest)
{
    check(result.passes >= 1 && result.passes == std::floor(result.passes), "passes not whole",
          [&] { return QString::number(result.passes); });
    check(result.started <= latest, "start ahead", [&] { return startedText(result.started); });
    check(!result.runs.empty(), "no runs");
    for (const double seconds : result.seconds())
        check(std::isfinite(seconds) && seconds >= result.passes * 1e-10, "run too fast",
              [&] { return QString::number(seconds); });
    check(std::isfinite(result.median()) && result.median() > 0, "median not positive");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    std::vector<SavedResult> results;
    try {
        results = parseResultDocument(bytes, kFileName);
    } catch (const ResultsError &error) {
        check(error.kind() == ResultsError::Kind::Document, "refusal of another kind",
              error.message());
        check(error.message().startsWith(QStringLiteral("「fuzz.json」は取り込めません: ")),
              "refusal without the file's name", error.message());
        return 0;
    }
    const QDateTime latest = QDateTime::currentDateTimeUtc().addDays(1);
    for (const SavedResult &result : results)
        checkKept(result, latest);
    // What export writes of them, import reads back as they were.
    const WarningWords words = [](const Warning &) { return QStringLiteral("warning"); };
    const QByteArray exported = resultDocument(results, words);
    const std::vector<SavedResult> again = parseResultDocument(exported, kFileName);
    check(again.size() == results.size(), "export read back with another count");
    check(resultDocument(again, words) == exported, "export read back changed");
    return 0;
}
