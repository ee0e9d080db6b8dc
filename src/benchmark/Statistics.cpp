#include "benchmark/Statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kamorin {

std::optional<double> Statistics::relativeStddev() const
{
    if (mean == 0)
        return std::nullopt;
    return stddev / mean;
}

std::optional<Statistics> statisticsOf(std::span<const double> seconds)
{
    if (seconds.empty())
        return std::nullopt;
    std::vector<double> sorted(seconds.begin(), seconds.end());
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();

    Statistics s;
    s.min = sorted.front();
    s.max = sorted.back();
    s.median = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    double sum = 0;
    for (const double x : sorted)
        sum += x;
    s.mean = sum / static_cast<double>(n);
    // Two passes: the squares of deviations from the mean, not the mean of
    // squares, which loses every digit when runs differ by microseconds.
    if (n > 1) {
        double squares = 0;
        for (const double x : sorted)
            squares += (x - s.mean) * (x - s.mean);
        s.stddev = std::sqrt(squares / static_cast<double>(n - 1));
    }
    return s;
}

} // namespace kamorin
