#include "formats/ProgressText.h"

#include "formats/FigureText.h"
#include "runtime/LoopProgress.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ProgressText)
};

constexpr double kSecondsPerDay = 86400;

// Tenths below a minute, whole seconds above as the window says them: a run
// of 1000 億回 takes hours. Past 99 days, days alone: the rest would be noise.
QString duration(double seconds)
{
    if (!std::isfinite(seconds))
        return QStringLiteral("--");
    if (seconds < 60)
        return Words::tr("%1 秒").arg(fixedText(seconds, 1));
    if (seconds >= 100 * kSecondsPerDay)
        return Words::tr("%1 日").arg(countText(std::floor(seconds / kSecondsPerDay)));
    const DurationParts parts = durationParts(seconds);
    return parts.hours > 0
            ? Words::tr("%1時間%2分%3秒").arg(parts.hours).arg(parts.minutes).arg(parts.seconds)
            : Words::tr("%1分%2秒").arg(parts.minutes).arg(parts.seconds);
}

QString phaseText(const RunRegistry::Snapshot &snapshot)
{
    const QString ofCount = QStringLiteral(" %1/%2").arg(snapshot.number).arg(snapshot.count);
    switch (snapshot.phase) {
    case RunPhase::None:
        break;
    case RunPhase::ChoosingCount:
        return Words::tr("回数の選択");
    case RunPhase::Warmup:
        return Words::tr("ウォームアップ") + ofCount;
    case RunPhase::Recorded:
        return Words::tr("計測") + ofCount;
    case RunPhase::Parallel:
        return Words::tr("並列 %n スレッド", nullptr, snapshot.number);
    }
    return {};
}

} // namespace

QString progressLineText(const RunRegistry::Snapshot &snapshot)
{
    const double total = snapshot.totalPasses;
    const double done = std::min(snapshot.passesDone, total);
    const double fraction = total > 0 ? done / total : 0;
    QString line;
    if (const QString phase = phaseText(snapshot); !phase.isEmpty())
        line += phase + QStringLiteral("  ");
    // The rate so far is the best guess there is; before the first pass there is none.
    const RemainingTime left = remainingTime(fraction, snapshot.elapsedSeconds);
    QString remaining = QStringLiteral("--");
    if (left.kind == RemainingTime::Kind::Estimate)
        remaining = Words::tr("約 %1").arg(duration(left.seconds));
    else if (left.kind == RemainingTime::Kind::BeyondEstimate)
        remaining = Words::tr("見積もれません");
    // 回 is a unit name, as the window writes it.
    return line
            + Words::tr("%1%  %2/%3 回  経過 %4  残り %5", nullptr, numerusOf(total))
                      .arg(fixedText(fraction * 100, 1), countText(done), countText(total),
                           duration(snapshot.elapsedSeconds), remaining);
}

} // namespace kamorin
