#include "results/SavedRun.h"

#include "results/ResultJson.h"
#include "results/ResultsError.h"
#include "results/ShownText.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SavedRun)
};

} // namespace

SavedResult savedResultOf(const BenchmarkResult &result, const QString &label,
                          const QString &programVersion)
{
    if (!result.everyRunHasASpeed())
        throw ResultsError(Words::tr("ループを 1 回以上実行した計測でないと保存できません。"),
                           ResultsError::Kind::Document);
    SavedResult saved;
    saved.id = newResultId();
    saved.started = result.started.toUTC();
    saved.label = label;
    saved.programVersion = programVersion;
    // What the import takes back: else the file it is exported in would be
    // refused whole.
    saved.host = keptShownText(QSysInfo::machineHostName());
    saved.settings = result.settings;
    saved.passes = result.runs.back().passes;
    saved.runs = result.runs;
    saved.system = result.system;
    saved.system.cpuModel = keptShownText(result.system.cpuModel);
    saved.warnings = keptWarnings(result.warnings);
    saved.parallel = result.parallel;
    return saved;
}

} // namespace kamorin
