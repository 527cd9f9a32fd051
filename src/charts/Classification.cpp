#include "charts/Classification.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

namespace tolvane {

namespace {

// The distinct values in order, each with how often it occurs.
struct Levels {
    std::vector<double> value;
    std::vector<double> weight;
    size_t size() const { return value.size(); }
};

Levels LevelsOf(const std::vector<double>& sorted) {
    Levels levels;
    for (double v : sorted) {
        if (levels.value.empty() || levels.value.back() != v) {
            levels.value.push_back(v);
            levels.weight.push_back(0);
        }
        levels.weight.back() += 1;
    }
    return levels;
}

// Each class but the first is given by the level it starts at: starts[c - 1] for class c.
using Starts = std::vector<size_t>;

// The least-cost way to part the levels into `classes` runs of one or more levels, where
// run(from, to) is the cost of levels from .. to - 1: the start of each class but the first.
// Row by row of classes, the best start of the last class moves right as the levels grow,
// as it does for any run cost obeying the quadrangle inequality, so each row is solved by
// halving: O(classes x levels x log levels). Ties go to the earliest start.
template <class Run> Starts LeastCostStarts(size_t d, int classes, const Run& run) {
    const auto k = static_cast<size_t>(classes);
    // cost[i]: the least cost of levels 0 .. i - 1 in the classes so far.
    std::vector<double> cost(d + 1), next(d + 1);
    for (size_t i = 1; i <= d; ++i)
        cost[i] = run(0, i);
    std::vector<std::vector<uint32_t>> start(k, std::vector<uint32_t>(d + 1, 0));

    for (size_t c = 1; c < k; ++c) {
        // Up to where the later classes still fit; of the last row only its end is needed.
        const size_t last = d - (k - 1 - c);
        const size_t first = c + 1 == k ? d : c + 1;
        const std::function<void(size_t, size_t, size_t, size_t)> solve =
            [&](size_t lo, size_t hi, size_t optLo, size_t optHi) {
                const size_t mid = lo + (hi - lo) / 2;
                double best = std::numeric_limits<double>::infinity();
                size_t bestAt = optLo;
                for (size_t m = optLo; m <= std::min(mid - 1, optHi); ++m) {
                    const double total = cost[m] + run(m, mid);
                    if (total < best) {
                        best = total;
                        bestAt = m;
                    }
                }
                next[mid] = best;
                start[c][mid] = static_cast<uint32_t>(bestAt);
                if (mid > lo) solve(lo, mid - 1, optLo, bestAt);
                if (mid < hi) solve(mid + 1, hi, bestAt, optHi);
            };
        solve(first, last, c, last - 1);
        std::swap(cost, next);
    }
    Starts starts(k - 1);
    size_t end = d;
    for (size_t c = k - 1; c >= 1; --c) {
        end = start[c][end];
        starts[c - 1] = end;
    }
    return starts;
}

// How many values lie below each level, and in all.
std::vector<int64_t> ValuesBelow(const Levels& levels) {
    std::vector<int64_t> below(levels.size() + 1, 0);
    for (size_t b = 0; b < levels.size(); ++b)
        below[b + 1] = below[b] + static_cast<int64_t>(levels.weight[b]);
    return below;
}

// Quantiles: classes holding as equally many values as equal values, which are never
// parted, allow. Where no tie lies across a quantile, that is how R and numpy part them
// (class i ends after the values at or below the i-th quantile), and their way is taken;
// else the way whose classes are off an equal share by the fewest values, squared.
Starts QuantileStarts(const Levels& levels, int classes) {
    const size_t d = levels.size();
    const std::vector<int64_t> below = ValuesBelow(levels);
    const int64_t n = below[d];
    Starts starts;
    for (int64_t i = 1; i < classes; ++i) {
        const int64_t end = (n - 1) * i / classes + 1;
        const auto at = std::lower_bound(below.begin(), below.end(), end);
        if (*at != end) break;
        starts.push_back(static_cast<size_t>(at - below.begin()));
    }
    if (starts.size() + 1 == static_cast<size_t>(classes)) return starts;
    // Equal values lie across a quantile: the fewest values off an equal share, squared.
    return LeastCostStarts(d, classes, [&](size_t from, size_t to) {
        const auto off = static_cast<double>((below[to] - below[from]) * classes - n);
        return off * off;
    });
}

// Natural breaks (Fisher's exact grouping, as Jenks used it): the classes whose squared
// deviations from their means add up least. The sums run over the levels, taken from the
// middle level, which keeps them small where the values lie far from zero.
Starts NaturalBreakStarts(const Levels& levels, int classes) {
    const size_t d = levels.size();
    std::vector<double> weight(d + 1, 0), sum(d + 1, 0), squares(d + 1, 0);
    const double origin = levels.value[d / 2];
    for (size_t i = 0; i < d; ++i) {
        const double w = levels.weight[i];
        const double v = levels.value[i] - origin;
        weight[i + 1] = weight[i] + w;
        sum[i + 1] = sum[i] + w * v;
        squares[i + 1] = squares[i] + w * v * v;
    }
    return LeastCostStarts(d, classes, [&](size_t from, size_t to) {
        const double w = weight[to] - weight[from];
        const double s = sum[to] - sum[from];
        return std::max(squares[to] - squares[from] - s * s / w, 0.0);
    });
}

// Evenly spaced values of the sorted list, ends included.
std::vector<double> EvenSample(const std::vector<double>& sorted, size_t count) {
    std::vector<double> sample;
    sample.reserve(count);
    for (size_t i = 0; i < count; ++i)
        sample.push_back(sorted[i * (sorted.size() - 1) / (count - 1)]);
    return sample;
}

} // namespace

QString ClassMethodName(ClassMethod method) {
    switch (method) {
    case ClassMethod::Quantile:
        return QStringLiteral("Quantile");
    case ClassMethod::NaturalBreaks:
        return QStringLiteral("Natural breaks (Jenks)");
    case ClassMethod::EqualInterval:
        break;
    }
    return QStringLiteral("Equal interval");
}

Classes ClassifyValues(ClassMethod method, const std::vector<double>& values, int classes) {
    Classes result;
    result.asked = std::max(classes, 2);
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    Levels levels = LevelsOf(sorted);
    result.levels = levels.size();
    if (method == ClassMethod::NaturalBreaks && levels.size() > kExactNaturalBreaks) {
        result.sample = kExactNaturalBreaks;
        levels = LevelsOf(EvenSample(sorted, kExactNaturalBreaks));
    }

    const auto count = static_cast<int>(std::min<size_t>(result.asked, levels.size()));
    Starts starts;
    if (count >= 2)
        starts = method == ClassMethod::NaturalBreaks ? NaturalBreakStarts(levels, count)
                                                      : QuantileStarts(levels, count);
    std::vector<double> breaks;
    for (size_t s : starts)
        breaks.push_back(levels.value[s]);

    const auto n = static_cast<size_t>(std::max(count, 1));
    result.lower.assign(n, std::numeric_limits<double>::infinity());
    result.upper.assign(n, -std::numeric_limits<double>::infinity());
    result.of.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const auto c = static_cast<size_t>(
            std::upper_bound(breaks.begin(), breaks.end(), values[i]) - breaks.begin());
        result.of[i] = static_cast<int>(c);
        result.lower[c] = std::min(result.lower[c], values[i]);
        result.upper[c] = std::max(result.upper[c], values[i]);
    }
    if (values.empty()) result.lower[0] = result.upper[0] = 0;
    return result;
}

QString ClassesNote(const Classes& classes) {
    QString note;
    if (classes.count() < classes.asked && classes.levels > 0)
        note = QStringLiteral("%1 classes asked, %2 possible: the values take %3 distinct %4")
                   .arg(classes.asked)
                   .arg(classes.count())
                   .arg(classes.levels)
                   .arg(classes.levels == 1 ? QStringLiteral("level") : QStringLiteral("levels"));
    if (classes.sample > 0) {
        if (!note.isEmpty()) note += QStringLiteral(". ");
        note += QStringLiteral("Natural breaks found on %1 values spread evenly over the %2 "
                               "distinct values")
                    .arg(classes.sample)
                    .arg(classes.levels);
    }
    return note;
}

} // namespace tolvane
