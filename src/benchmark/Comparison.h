#pragma once

#include <QString>

#include <optional>
#include <span>

namespace kamorin {

enum class Verdict
{
    Faster, // B is faster than A
    Slower, // B is slower than A
    NoDifference,
    NeedMoreRuns,
};

// Fewer recorded runs than this on either side give no verdict.
inline constexpr int kMinimumRunsForVerdict = 5;
inline constexpr double kSignificanceLevel = 0.05;

// Two results' recorded run times, A (the baseline) against B.
struct Comparison
{
    // A's median time ÷ B's median time: above 1, B is faster.
    double speedRatio = 0;
    // The Hodges–Lehmann estimate of the same ratio: the median of the pairwise
    // ratios the interval below is made from, so that it always lies inside it
    // and leans the way the verdict does. 0 with no runs on a side.
    double estimate = 0;
    // The 95 % interval for the ratio of A's times to B's: the Hodges–Lehmann
    // (Moses) interval from the pairwise differences of the logarithms of the
    // times. None when so few runs cannot bound it at 95 %.
    std::optional<double> ciLow;
    std::optional<double> ciHigh;
    // Mann–Whitney U of A: the pairs (a, b) with a > b, ties counting one half.
    double u = 0;
    // Two-sided; twice the smaller tail, at most 1.
    double pValue = 1;
    // Exact (up to 20 runs each) or the normal approximation.
    bool exact = true;
    Verdict verdict = Verdict::NeedMoreRuns;
};

// Every time must be positive (a results file or the store guarantees it);
// with no runs on a side the comparison needs more runs and has no ratio.
Comparison compareRuns(std::span<const double> a, std::span<const double> b);

struct SavedResult;

// Two saved results: their run times as they are when they made the same
// passes; otherwise B's times scaled to A's passes, so that a result of more
// passes is not taken for a slower machine.
Comparison compareResults(const SavedResult &a, const SavedResult &b);

// "faster", "slower", "no_difference", "need_more_runs".
QString verdictKey(Verdict verdict);

// How much longer B takes than A by the estimate, in percent of A's time.
double slowdownPercent(const Comparison &comparison);
// For --fail-if-slower PERCENT: B is significantly slower, and by the estimate
// its time is more than PERCENT % above A's.
bool slowerBeyond(const Comparison &comparison, double percent);

} // namespace kamorin
