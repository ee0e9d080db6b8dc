#include "gui/RunProgressText.h"

#include "runtime/LoopProgress.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

QString durationText(double seconds)
{
    // A day of seconds fits an int many times over; an estimate beyond that is noise.
    const double clamped = std::clamp(std::round(seconds), 0.0, 1e9);
    const auto total = static_cast<long long>(clamped);
    const long long hours = total / 3600;
    const long long minutes = total / 60 % 60;
    const long long secs = total % 60;
    if (hours > 0)
        return QStringLiteral("%1時間%2分%3秒").arg(hours).arg(minutes).arg(secs);
    if (minutes > 0)
        return QStringLiteral("%1分%2秒").arg(minutes).arg(secs);
    return QStringLiteral("%1秒").arg(secs);
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
