#include "benchmark/Calibration.h"

#include "benchmark/Benchmark.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/RunRegistry.h"
#include "mainwindow/Form1.h"
#include "mainwindow/LoopUnits.h"
#include "measure/Command1_Click.h"
#include "runtime/EventDispatch.h"
#include "runtime/NumberText.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace kamorin {

namespace {

// Long enough that the clock's resolution and the handler's own work are
// lost in it, short enough that calibrating costs well under a second.
constexpr double kCalibrationSeconds = 0.1;
constexpr double kFirstCalibrationPasses = 10000;
constexpr double kLastCalibrationPasses = 1e12;

// Of two counts as long, the one in the unit first here: the window's own 万回
// before the rest.
constexpr std::array<const char16_t *, 5> kUnitsByPreference { u"万回", u"億回", u"千回", u"百回",
                                                               u"回" };

} // namespace

ChosenCount chooseCount(std::optional<double> passesPerSecond, double minimumSeconds)
{
    const Form1 form;
    if (!passesPerSecond)
        return { form.Combo4.text(), form.Combo5.text(),
                 form.Combo4.text().toDouble() * *loopUnitFactor(form.Combo5.text()) };
    const double needed = *passesPerSecond * minimumSeconds * kCountMargin;
    std::optional<ChosenCount> best;
    std::optional<ChosenCount> largest;
    for (const char16_t *name : kUnitsByPreference) {
        const QString unit = QString::fromUtf16(name);
        const double factor = *loopUnitFactor(unit);
        for (const QString &count : form.Combo4.list()) {
            const double passes = count.toDouble() * factor;
            const ChosenCount choice { count, unit, passes };
            if (!largest || passes > largest->passes)
                largest = choice;
            if (passes >= needed && (!best || passes < best->passes))
                best = choice;
        }
    }
    return best ? *best : *largest;
}

namespace {

double threadProcessorSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The processor seconds of one press of 実行 on a form of its own; none when stopped.
std::optional<double> pressSeconds(RunRegistry &registry, const SeriesPlan &plan,
                                   const QString &count, const QString &unit)
{
    HeadlessPlatform platform(&registry);
    Form1 form;
    Form_Load(form);
    applyPlan(form, plan);
    form.Combo4.setText(count);
    form.Combo5.setText(unit);
    const double start = threadProcessorSeconds();
    dispatch(platform, [&] { Command1_Click(form, platform); });
    const double seconds = threadProcessorSeconds() - start;
    if (registry.stopSignal() != 0 || !platform.runReachedItsEnd())
        return std::nullopt;
    return seconds;
}

} // namespace

std::optional<double> rateOfRun(double seconds, double passes)
{
    constexpr double kShortestTimedRun = 0.01;
    if (!(seconds >= kShortestTimedRun) || !(passes > 0))
        return std::nullopt;
    return passes / seconds;
}

std::optional<double> measurePassesPerSecond(RunRegistry &registry, const SeriesPlan &plan)
{
    const auto press = [&](double passes) {
        return pressSeconds(registry, plan, doubleToText(passes), QStringLiteral("回"));
    };

    double passes = kFirstCalibrationPasses;
    for (;;) {
        const std::optional<double> seconds = press(passes);
        if (!seconds)
            return std::nullopt;
        if (*seconds >= kCalibrationSeconds || passes >= kLastCalibrationPasses) {
            double fastest = *seconds;
            for (int again = 0; again < 2; ++again) {
                const std::optional<double> more = press(passes);
                if (!more)
                    return std::nullopt;
                fastest = std::min(fastest, *more);
            }
            if (!(fastest > 0))
                return std::nullopt;
            return passes / fastest;
        }
        passes *= 10;
    }
}

} // namespace kamorin
