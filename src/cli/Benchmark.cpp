#include "cli/Benchmark.h"

#include "cli/CliPlatform.h"
#include "cli/Options.h"
#include "cli/RunRegistry.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "runtime/EventDispatch.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "scoring/Command6_Click.h"
#include "scoring/ReferenceMachineTable.h"

#include <cmath>

namespace kamorin {

namespace {

constexpr double kReferencePasses = 20000000;

QString labelOf(const QString &stage, int number, int count)
{
    return stage + u' ' + QString::number(number) + u'/' + QString::number(count);
}

} // namespace

void applyOptions(Form1 &form, const RunOptions &options)
{
    if (options.count)
        form.Combo4.setText(*options.count);
    if (options.unit)
        form.Combo5.setText(*options.unit);
    if (options.speed)
        form.Combo2.setText(*options.speed);
    if (options.machine)
        form.Combo3.setText(*options.machine);
}

std::optional<double> scoreOfRun(const Form1 &form, double seconds)
{
    const std::optional<double> reference = ReferenceMachineTable::lookup(form.Combo3.text());
    if (!reference || !(seconds > 0))
        return std::nullopt;
    try {
        const double loops = textToNumber(form.Combo1.text());
        const double score = (loops / seconds) / (kReferencePasses / *reference);
        return std::isfinite(score) ? std::optional(score) : std::nullopt;
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

SeriesEnding runSeries(Form1 &form, CliPlatform &platform, RunRegistry &registry,
                       const RunOptions &options, BenchmarkResult &result)
{
    result.warmupRuns = options.warmup;
    const int presses = options.warmup + options.runs;
    // A single run needs no name on its progress line.
    const bool namePresses = presses > 1;
    for (int press = 0; press < presses; ++press) {
        const bool recorded = press >= options.warmup;
        if (namePresses)
            registry.setLabel(recorded ? labelOf(QStringLiteral("計測"), press - options.warmup + 1,
                                                 options.runs)
                                       : labelOf(QStringLiteral("ウォームアップ"), press + 1,
                                                 options.warmup));

        platform.forgetClockReadings();
        bool ok = dispatch(platform, [&] { Command1_Click(form, platform); });
        if (ok && form.Command6.enabled())
            ok = dispatch(platform, [&] { Command6_Click(form, platform); });

        if (registry.stopSignal() != 0)
            return SeriesEnding::Stopped;
        const bool haveResults = platform.runReachedItsEnd();
        if (recorded && haveResults) {
            RecordedRun run;
            run.loops = form.Combo1.text();
            run.passes = platform.lastLoopPasses();
            run.seconds = platform.secondsBetweenLastReadings();
            run.value = form.Text2.text();
            run.digits = form.Text4.text();
            // The form's own rule for "long enough to score": Command1_Click
            // enabled SCORE.
            if (form.Command6.enabled())
                run.score = scoreOfRun(form, run.seconds);
            result.runs.push_back(run);
        }
        if (!ok)
            return haveResults ? SeriesEnding::FailedWithResults
                               : SeriesEnding::FailedBeforeResults;
    }
    registry.setLabel(QString());
    return SeriesEnding::Finished;
}

} // namespace kamorin
