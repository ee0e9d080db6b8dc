#include "runtime/LoopProgress.h"

#include "runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

void LoopProgress::raiseCancelled()
{
    throw RuntimeError(ErrorNumber::Cancelled);
}

double LoopProgress::fractionDone() const noexcept
{
    const double total = totalPasses();
    if (!(total > 0))
        return 0;
    return std::clamp(passesDone() / total, 0.0, 1.0);
}

RemainingTime remainingTime(double fraction, double elapsedSeconds) noexcept
{
    constexpr double kLongestEstimate = 1e9;
    if (!(fraction > 0) || !std::isfinite(elapsedSeconds))
        return {};
    const double seconds = elapsedSeconds * (1 - std::min(fraction, 1.0)) / fraction;
    if (!(seconds <= kLongestEstimate))
        return { RemainingTime::Kind::BeyondEstimate };
    return { RemainingTime::Kind::Estimate, std::max(seconds, 0.0) };
}

DurationParts durationParts(double seconds) noexcept
{
    const auto total = static_cast<long long>(std::clamp(std::round(seconds), 0.0, 1e9));
    return { total / 3600, static_cast<int>(total / 60 % 60), static_cast<int>(total % 60) };
}

} // namespace kamorin
