#include "charts/Classification.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace tolvane {

namespace {

// Natural breaks cost O(classes x n^2); past this many values they are found on evenly
// spaced values of the sorted list, which keeps the breaks where the data's gaps are.
constexpr size_t kNaturalBreaksSample = 1500;

// The first index (into the sorted values) of each class but the first.
std::vector<size_t> QuantileStarts(size_t n, int classes) {
    std::vector<size_t> starts;
    for (int k = 1; k < classes; ++k)
        starts.push_back(static_cast<size_t>(
            (static_cast<unsigned long long>(k) * n + static_cast<unsigned>(classes) - 1) /
            static_cast<unsigned>(classes)));
    return starts;
}

// Fisher's exact optimisation (Jenks): the lower value of each class but the first.
std::vector<double> NaturalBreakValues(const std::vector<double>& sorted, int classes) {
    const size_t n = sorted.size();
    const auto k = static_cast<size_t>(classes);
    std::vector<std::vector<size_t>> lowerLimit(n + 1, std::vector<size_t>(k + 1, 1));
    std::vector<std::vector<double>> cost(
        n + 1, std::vector<double>(k + 1, std::numeric_limits<double>::infinity()));
    for (size_t j = 1; j <= k; ++j)
        cost[1][j] = 0;
    for (size_t l = 2; l <= n; ++l) {
        double sum = 0, squares = 0, variance = 0;
        for (size_t m = 1; m <= l; ++m) {
            const size_t lowest = l - m + 1;
            const double v = sorted[lowest - 1];
            sum += v;
            squares += v * v;
            variance = squares - sum * sum / static_cast<double>(m);
            if (lowest == 1) continue;
            for (size_t j = 2; j <= k; ++j) {
                if (cost[l][j] >= variance + cost[lowest - 1][j - 1]) {
                    lowerLimit[l][j] = lowest;
                    cost[l][j] = variance + cost[lowest - 1][j - 1];
                }
            }
        }
        lowerLimit[l][1] = 1;
        cost[l][1] = variance;
    }
    std::vector<double> breaks(k - 1);
    size_t last = n;
    for (size_t j = k; j >= 2; --j) {
        const size_t lowest = lowerLimit[last][j];
        breaks[j - 2] = sorted[lowest - 1];
        last = lowest > 1 ? lowest - 1 : 1;
    }
    return breaks;
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
    classes = std::max(classes, 2);
    Classes result;
    result.of.assign(values.size(), 1);
    if (values.empty()) return result;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.front() == sorted.back()) {
        result.lower.assign(static_cast<size_t>(classes), sorted.front());
        result.upper = result.lower;
        return result;
    }

    // Each class but the first starts at the smallest value at or above its break.
    std::vector<double> breaks;
    if (method == ClassMethod::NaturalBreaks) {
        std::vector<double> sample = sorted;
        if (sorted.size() > kNaturalBreaksSample) {
            sample.clear();
            for (size_t i = 0; i < kNaturalBreaksSample; ++i)
                sample.push_back(sorted[i * (sorted.size() - 1) / (kNaturalBreaksSample - 1)]);
        }
        breaks = NaturalBreakValues(sample, std::min(classes, static_cast<int>(sample.size())));
    } else {
        for (size_t start : QuantileStarts(sorted.size(), classes))
            breaks.push_back(sorted[std::min(start, sorted.size() - 1)]);
    }
    const auto classOf = [&](double v) {
        return static_cast<int>(std::upper_bound(breaks.begin(), breaks.end(), v) - breaks.begin());
    };
    const auto n = static_cast<size_t>(classes);
    result.lower.assign(n, std::numeric_limits<double>::infinity());
    result.upper.assign(n, -std::numeric_limits<double>::infinity());
    for (size_t i = 0; i < values.size(); ++i) {
        const int c = classOf(values[i]);
        result.of[i] = c;
        const auto at = static_cast<size_t>(c);
        result.lower[at] = std::min(result.lower[at], values[i]);
        result.upper[at] = std::max(result.upper[at], values[i]);
    }
    for (size_t c = 0; c < n; ++c) {
        if (result.lower[c] <= result.upper[c]) continue;
        const double below = c > 0 ? result.upper[c - 1] : sorted.front();
        result.lower[c] = result.upper[c] = below;
    }
    return result;
}

} // namespace tolvane
