#pragma once

#include <optional>
#include <span>

namespace kamorin {

// The spread of the recorded runs' seconds.
struct Statistics
{
    double mean = 0;
    // The sample standard deviation (n − 1); 0 for a single run.
    double stddev = 0;
    // Of an even number of runs, the mean of the middle two.
    double median = 0;
    double min = 0;
    double max = 0;

    // stddev / mean; none when the mean is 0.
    std::optional<double> relativeStddev() const;
};

// None for no runs at all.
std::optional<Statistics> statisticsOf(std::span<const double> seconds);

} // namespace kamorin
