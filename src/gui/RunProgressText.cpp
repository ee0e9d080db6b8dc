#include "gui/RunProgressText.h"

#include "runtime/LoopProgress.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

QString durationText(double seconds)
{
    const DurationParts parts = durationParts(seconds);
    if (parts.hours > 0)
        return QStringLiteral("%1時間%2分%3秒")
                .arg(parts.hours)
                .arg(parts.minutes)
                .arg(parts.seconds);
    if (parts.minutes > 0)
        return QStringLiteral("%1分%2秒").arg(parts.minutes).arg(parts.seconds);
    return QStringLiteral("%1秒").arg(parts.seconds);
}

QString runProgressText(double fraction, double elapsedSeconds)
{
    const int percent = static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * 100));
    QString text
            = QStringLiteral("計算中 %1%　経過 %2").arg(percent).arg(durationText(elapsedSeconds));
    // Too early to tell before the first pass: nothing is said of it.
    const RemainingTime left = remainingTime(fraction, elapsedSeconds);
    if (left.kind == RemainingTime::Kind::Estimate)
        text += QStringLiteral("　残り 約%1").arg(durationText(left.seconds));
    else if (left.kind == RemainingTime::Kind::BeyondEstimate)
        text += QStringLiteral("　残り 見積もれません");
    return text;
}

} // namespace kamorin
