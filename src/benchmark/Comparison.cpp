#include "benchmark/Comparison.h"

#include "benchmark/Ranking.h"
#include "benchmark/SavedResult.h"
#include "benchmark/Statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace kamorin {

namespace {

// Up to this many runs on both sides, the p-value and the interval come from
// the exact distributions; beyond, from the normal approximation.
constexpr std::size_t kExactLimit = 20;
// The normal quantile for a two-sided 95 % interval.
constexpr double kZ975 = 1.959963984540054;

// Twice the midranks of the pooled times, A's first: whole numbers, so that the
// exact distribution below counts sums exactly even with ties.
std::vector<int> doubledMidranks(std::span<const double> a, std::span<const double> b)
{
    std::vector<double> pooled(a.begin(), a.end());
    pooled.insert(pooled.end(), b.begin(), b.end());
    std::vector<std::size_t> order(pooled.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t x, std::size_t y) { return pooled[x] < pooled[y]; });
    std::vector<int> ranks(pooled.size());
    for (std::size_t first = 0; first < order.size();) {
        std::size_t last = first;
        while (last + 1 < order.size() && pooled[order[last + 1]] == pooled[order[first]])
            ++last;
        // Positions first + 1 … last + 1 share their mean; doubled, their sum.
        for (std::size_t i = first; i <= last; ++i)
            ranks[order[i]] = int(first + 1 + last + 1);
        first = last + 1;
    }
    return ranks;
}

// ways[s]: how many ways `n` of `ranks` sum to s; the permutation distribution
// of A's rank sum when A's and B's runs are exchangeable.
std::vector<double> rankSumCounts(const std::vector<int> &ranks, std::size_t n)
{
    const int total = std::accumulate(ranks.begin(), ranks.end(), 0);
    std::vector<std::vector<double>> ways(n + 1, std::vector<double>(std::size_t(total) + 1, 0));
    ways[0][0] = 1;
    for (const int rank : ranks) {
        for (std::size_t k = n; k >= 1; --k) {
            for (int s = total; s >= rank; --s)
                ways[k][std::size_t(s)] += ways[k - 1][std::size_t(s - rank)];
        }
    }
    return ways[n];
}

double exactTwoSidedP(const std::vector<int> &ranks, std::size_t n, int observedSum)
{
    const std::vector<double> counts = rankSumCounts(ranks, n);
    double all = 0, atMost = 0, atLeast = 0;
    for (std::size_t s = 0; s < counts.size(); ++s) {
        all += counts[s];
        if (int(s) <= observedSum)
            atMost += counts[s];
        if (int(s) >= observedSum)
            atLeast += counts[s];
    }
    return std::min(1.0, 2 * std::min(atMost, atLeast) / all);
}

double normalTwoSidedP(const std::vector<int> &ranks, std::size_t n, std::size_t m, double u)
{
    const double nm = double(n) * double(m);
    const double big = double(n + m);
    std::vector<int> sorted = ranks;
    std::sort(sorted.begin(), sorted.end());
    double ties = 0;
    for (std::size_t first = 0; first < sorted.size();) {
        std::size_t last = first;
        while (last + 1 < sorted.size() && sorted[last + 1] == sorted[first])
            ++last;
        const double t = double(last - first + 1);
        ties += t * t * t - t;
        first = last + 1;
    }
    const double variance = nm / 12 * ((big + 1) - ties / (big * (big - 1)));
    if (!(variance > 0))
        return 1;
    // The larger of the two U's, less one half for continuity.
    const double z = (std::max(u, nm - u) - nm / 2 - 0.5) / std::sqrt(variance);
    return std::min(1.0, std::erfc(z / std::sqrt(2.0)));
}

// The k of the interval [d(k), d(nm + 1 − k)] over the sorted differences:
// the largest k with P(U ≤ k − 1) ≤ 2.5 % when A and B do not differ (the
// distribution without ties); 0 when no k qualifies.
std::size_t intervalRank(std::size_t n, std::size_t m, bool exact)
{
    const double nm = double(n) * double(m);
    if (!exact) {
        const double k = std::round(nm / 2 - kZ975 * std::sqrt(nm * double(n + m + 1) / 12));
        return k < 1 ? 0 : std::size_t(k);
    }
    std::vector<int> ranks(n + m);
    for (std::size_t i = 0; i < ranks.size(); ++i)
        ranks[i] = int(i + 1);
    const std::vector<double> counts = rankSumCounts(ranks, n);
    const double all = std::accumulate(counts.begin(), counts.end(), 0.0);
    // U = rank sum − n(n + 1)/2.
    const std::size_t offset = n * (n + 1) / 2;
    double below = 0;
    std::size_t k = 0;
    for (std::size_t u = 0; offset + u < counts.size(); ++u) {
        below += counts[offset + u];
        if (below / all > 0.025)
            break;
        k = u + 1;
    }
    return k;
}

} // namespace

Comparison compareRuns(std::span<const double> a, std::span<const double> b)
{
    Comparison c;
    if (a.empty() || b.empty())
        return c;
    const std::size_t n = a.size(), m = b.size();
    c.speedRatio = statisticsOf(a)->median / statisticsOf(b)->median;

    const std::vector<int> ranks = doubledMidranks(a, b);
    const int sumOfA = std::accumulate(ranks.begin(), ranks.begin() + std::ptrdiff_t(n), 0);
    c.u = sumOfA / 2.0 - double(n * (n + 1)) / 2;
    c.exact = n <= kExactLimit && m <= kExactLimit;
    c.pValue = c.exact ? exactTwoSidedP(ranks, n, sumOfA) : normalTwoSidedP(ranks, n, m, c.u);

    std::vector<double> differences;
    differences.reserve(n * m);
    for (const double x : a) {
        for (const double y : b)
            differences.push_back(std::log(x) - std::log(y));
    }
    std::sort(differences.begin(), differences.end());
    const std::size_t middle = n * m / 2;
    c.estimate = std::exp(n * m % 2 == 1 ? differences[middle]
                                         : (differences[middle - 1] + differences[middle]) / 2);
    if (const std::size_t k = intervalRank(n, m, c.exact); k >= 1) {
        c.ciLow = std::exp(differences[k - 1]);
        c.ciHigh = std::exp(differences[n * m - k]);
    }

    const double half = double(n * m) / 2;
    if (n < std::size_t(kMinimumRunsForVerdict) || m < std::size_t(kMinimumRunsForVerdict))
        c.verdict = Verdict::NeedMoreRuns;
    else if (c.pValue >= kSignificanceLevel || c.u == half)
        c.verdict = Verdict::NoDifference;
    else
        // A's times mostly the longer: B is the faster.
        c.verdict = c.u > half ? Verdict::Faster : Verdict::Slower;
    return c;
}

QString verdictKey(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Faster:
        return QStringLiteral("faster");
    case Verdict::Slower:
        return QStringLiteral("slower");
    case Verdict::NoDifference:
        return QStringLiteral("no_difference");
    case Verdict::NeedMoreRuns:
        break;
    }
    return QStringLiteral("need_more_runs");
}

double slowdownPercent(const Comparison &comparison)
{
    return (1 / comparison.estimate - 1) * 100;
}

bool slowerBeyond(const Comparison &comparison, double percent)
{
    // The estimate, not the ratio of medians: two medians can lean the other
    // way from the rank test when the times fall in two clusters, and a slow-down
    // reported as slower must then still fail.
    return comparison.verdict == Verdict::Slower && slowdownPercent(comparison) > percent;
}

Comparison compareResults(const SavedResult &a, const SavedResult &b)
{
    return compareRuns(a.seconds(), runsAtPasses(b.seconds(), b.passes, a.passes));
}

} // namespace kamorin
