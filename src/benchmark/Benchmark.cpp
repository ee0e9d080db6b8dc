#include "benchmark/Benchmark.h"

#include "benchmark/HeadlessPlatform.h"
#include "benchmark/RunRegistry.h"
#include "benchmark/Score.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "runtime/EventDispatch.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "scoring/Command6_Click.h"
#include "scoring/ReferenceMachineTable.h"

namespace kamorin {

void applyPlan(Form1 &form, const SeriesPlan &plan)
{
    if (plan.count)
        form.Combo4.setText(*plan.count);
    if (plan.unit)
        form.Combo5.setText(*plan.unit);
    if (plan.speed)
        form.Combo2.setText(*plan.speed);
    if (plan.machine)
        form.Combo3.setText(*plan.machine);
}

std::optional<double> scoreOfRun(const Form1 &form, double seconds)
{
    const std::optional<double> reference = ReferenceMachineTable::lookup(form.Combo3.text());
    if (!reference)
        return std::nullopt;
    try {
        return measuredScore(textToNumber(form.Combo1.text()), seconds, *reference);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

SeriesEnding runSeries(Form1 &form, HeadlessPlatform &platform, RunRegistry &registry,
                       const SeriesPlan &plan, BenchmarkResult &result)
{
    result.warmupRuns = plan.warmup;
    const int presses = plan.warmup + plan.runs;
    // A single run needs no name on its progress line.
    const bool namePresses = presses > 1;
    for (int press = 0; press < presses; ++press) {
        const bool recorded = press >= plan.warmup;
        if (namePresses)
            registry.setPhase(recorded ? RunPhase::Recorded : RunPhase::Warmup,
                              recorded ? press - plan.warmup + 1 : press + 1,
                              recorded ? plan.runs : plan.warmup);

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
    registry.setPhase(RunPhase::None);
    return SeriesEnding::Finished;
}

} // namespace kamorin
