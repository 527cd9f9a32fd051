// Quantile and natural-breaks classes against the classes published for well-known data,
// and natural breaks against trying every way of parting small data.
#include "charts/Classification.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace tolvane {
namespace {

// Employment density of the 58 California counties: the example data of mapclassify
// (PySAL, Python), also used by the tests of statsbreaks (JavaScript).
const std::vector<double> kCalifornia = {
    329.92, 0.42,    5.9,   14.03, 2.78,   1.34,   181.27, 1.65,  10.03, 16.7,   1.32, 3.99,
    3.16,   0.22,    8.7,   6.56,  3.27,   0.33,   370.5,  4.51,  75.29, 0.99,   2.74, 8.68,
    0.14,   0.92,    12.63, 28.7,  12.02,  722.85, 36.68,  0.74,  29.82, 192.05, 3.38, 11.15,
    110.74, 4111.45, 49.47, 10.33, 317.11, 20.47,  264.93, 66.26, 5.39,  0.13,   0.61, 50.65,
    40.48,  36.67,   13.09, 1.81,  0.2,    7.6,    2.51,   57.26, 24.32, 6.97};

// Value of gross farm products per acre of the 102 Illinois counties in 1959: the data of
// Jenks and Caspall (1971), "Error on choroplethic maps", as R's classInt takes it
// (jenks71, in spData). 51.15 occurs twice.
const std::vector<double> kIllinois = {
    50.12, 83.9,  76.43, 71.61, 79.66, 84.84, 87.87, 92.45, 119.9, 155.3, 131.5, 111.8, 96.78,
    86.75, 62.41, 96.37, 75.51, 77.29, 85.41, 116.4, 58.5,  75.29, 66.32, 62.65, 80.45, 72.76,
    63.67, 60.27, 68.45, 100.1, 55.3,  54.07, 57.49, 73.52, 68.25, 64.28, 50.64, 52.47, 68.19,
    57.4,  39.72, 60.66, 57.59, 38.22, 57.22, 67.04, 47.29, 71.05, 50.53, 34.63, 59.65, 62.06,
    52.89, 56.35, 57.26, 53.77, 59.89, 55.44, 45.4,  52.21, 49.38, 51.15, 54.27, 54.32, 41.2,
    34.58, 50.11, 52.05, 33.82, 39.88, 36.24, 41.02, 46.13, 51.15, 32.28, 33.26, 31.78, 31.28,
    50.52, 47.21, 32.69, 38.3,  33.83, 40.3,  40.62, 32.14, 31.66, 26.09, 39.84, 24.83, 28.2,
    31.19, 37.57, 27.16, 23.42, 18.57, 30.97, 17.82, 15.57, 15.93, 28.71, 32.22};

std::vector<int> Counts(const Classes& classes) {
    std::vector<int> counts(static_cast<size_t>(classes.count()), 0);
    for (int c : classes.of)
        ++counts[static_cast<size_t>(c)];
    return counts;
}

// Each class lies between the published breaks around it: `closedAbove` for classes
// (lo, hi] as mapclassify and classInt's jenks give them, else [lo, hi).
void ExpectBetween(const Classes& classes, const std::vector<double>& breaks, bool closedAbove) {
    ASSERT_EQ(classes.count(), static_cast<int>(breaks.size()) + 1);
    for (size_t c = 0; c < breaks.size(); ++c) {
        if (closedAbove) {
            EXPECT_LE(classes.upper[c], breaks[c]) << "class " << c;
            EXPECT_GT(classes.lower[c + 1], breaks[c]) << "class " << c + 1;
        } else {
            EXPECT_LT(classes.upper[c], breaks[c]) << "class " << c;
            EXPECT_GE(classes.lower[c + 1], breaks[c]) << "class " << c + 1;
        }
    }
}

TEST(NaturalBreaks, GiveThePublishedClasses) {
    // mapclassify, FisherJenks(k=5): bins 75.29, 192.05, 370.5, 722.85, 4111.45, counts 49 3 4 1 1.
    const Classes five = ClassifyValues(ClassMethod::NaturalBreaks, kCalifornia, 5);
    EXPECT_EQ(five.upper, (std::vector<double>{75.29, 192.05, 370.5, 722.85, 4111.45}));
    EXPECT_EQ(Counts(five), (std::vector<int>{49, 3, 4, 1, 1}));
    EXPECT_TRUE(ClassesNote(five).isEmpty());

    // mapclassify's test of find_bin on FisherJenks(k=9): the class of each probe value.
    const Classes nine = ClassifyValues(ClassMethod::NaturalBreaks, kCalifornia, 9);
    const double probes[] = {0, 1, 3, 5, 50, 70, 101, 202, 390, 505, 800, 5000, 5001};
    const int published[] = {0, 0, 0, 0, 2, 2, 3, 5, 7, 7, 8, 8, 8};
    for (size_t i = 0; i < std::size(probes); ++i) {
        int c = 0;
        while (c < 8 && nine.upper[static_cast<size_t>(c)] < probes[i])
            ++c;
        EXPECT_EQ(c, published[i]) << probes[i];
    }

    // classInt's documentation, classIntervals(jenks71, n=5, style="jenks"): [15.57,41.2]
    // (41.2,60.66] (60.66,77.29] (77.29,100.1] (100.1,155.3], counts 35 33 18 11 5; these are
    // the breaks Jenks and Caspall give as optimal for five classes.
    const Classes illinois = ClassifyValues(ClassMethod::NaturalBreaks, kIllinois, 5);
    EXPECT_EQ(illinois.upper, (std::vector<double>{41.2, 60.66, 77.29, 100.1, 155.3}));
    EXPECT_EQ(Counts(illinois), (std::vector<int>{35, 33, 18, 11, 5}));

    // classInt's documentation, classIntervals(c(0, 0, 0, 1, 2, 50), n=3, style="jenks"):
    // [0,0] (0,2] (2,50], counts 3 2 1.
    const Classes zeros = ClassifyValues(ClassMethod::NaturalBreaks, {1, 0, 50, 0, 2, 0}, 3);
    EXPECT_EQ(zeros.of, (std::vector<int>{1, 0, 2, 0, 1, 0}));
    EXPECT_EQ(zeros.lower, (std::vector<double>{0, 1, 50}));
    EXPECT_EQ(zeros.upper, (std::vector<double>{0, 2, 50}));
}

TEST(Quantiles, GiveThePublishedClassesWhenNoTieLiesAcrossAQuantile) {
    // mapclassify, Quantiles(k=5): bins 1.464, 5.798, 13.278, 54.616, 4111.45, counts 12 11 12
    // 11 12.
    const Classes cal = ClassifyValues(ClassMethod::Quantile, kCalifornia, 5);
    ExpectBetween(cal, {1.464, 5.798, 13.278, 54.616}, true);
    EXPECT_EQ(Counts(cal), (std::vector<int>{12, 11, 12, 11, 12}));

    // classInt's documentation, classIntervals(jenks71, n=5, style="quantile"): [15.57,33.822)
    // [33.822,50.114) [50.114,57.454) [57.454,73.368) [73.368,155.3], counts 21 20 20 20 21.
    const Classes illinois = ClassifyValues(ClassMethod::Quantile, kIllinois, 5);
    ExpectBetween(illinois, {33.822, 50.114, 57.454, 73.368}, false);
    EXPECT_EQ(Counts(illinois), (std::vector<int>{21, 20, 20, 20, 21}));
}

TEST(Quantiles, KeepEqualValuesTogetherAndMakeNoEmptyClass) {
    // Ten zeros lie across the first two sextiles: they make one class, and the other ten
    // values share the other five classes evenly.
    std::vector<double> values(10, 0);
    for (int v = 10; v <= 55; v += 5)
        values.push_back(v);
    const Classes tied = ClassifyValues(ClassMethod::Quantile, values, 6);
    EXPECT_EQ(tied.lower, (std::vector<double>{0, 10, 20, 30, 40, 50}));
    EXPECT_EQ(tied.upper, (std::vector<double>{0, 15, 25, 35, 45, 55}));
    EXPECT_TRUE(ClassesNote(tied).isEmpty());

    // Three levels for six classes: three classes, and the user is told why.
    const Classes three = ClassifyValues(ClassMethod::Quantile, {0, -5, 0, 0, 1428, 0, 0}, 6);
    EXPECT_EQ(three.of, (std::vector<int>{1, 0, 1, 1, 2, 1, 1}));
    EXPECT_EQ(three.lower, (std::vector<double>{-5, 0, 1428}));
    EXPECT_EQ(ClassesNote(three),
              QStringLiteral("6 classes asked, 3 possible: the values take 3 distinct levels"));

    const Classes one = ClassifyValues(ClassMethod::NaturalBreaks, {4, 4, 4}, 5);
    EXPECT_EQ(one.of, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(one.upper, (std::vector<double>{4}));
    EXPECT_EQ(ClassesNote(one),
              QStringLiteral("5 classes asked, 1 possible: the values take 1 distinct level"));
    EXPECT_EQ(ClassifyValues(ClassMethod::Quantile, {}, 4).count(), 1);

    // Random data full of ties: as many classes as the levels allow, each a run of whole
    // levels, none empty.
    std::mt19937 random(11);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<double> data(3 + random() % 40);
        for (double& v : data)
            v = static_cast<double>(random() % (1 + random() % 12));
        const int asked = 2 + static_cast<int>(random() % 8);
        const Classes q = ClassifyValues(ClassMethod::Quantile, data, asked);
        std::vector<double> levels = data;
        std::sort(levels.begin(), levels.end());
        levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
        ASSERT_EQ(q.count(), std::min<int>(asked, static_cast<int>(levels.size())));
        for (int count : Counts(q))
            EXPECT_GT(count, 0);
        for (size_t c = 0; c + 1 < q.lower.size(); ++c)
            EXPECT_LT(q.upper[c], q.lower[c + 1]);
    }
}

// The squared deviations from the mean of each class, added up.
double WithinSquares(const std::vector<double>& values, const std::vector<int>& of, int classes) {
    double total = 0;
    for (int c = 0; c < classes; ++c) {
        double sum = 0, n = 0;
        for (size_t i = 0; i < values.size(); ++i)
            if (of[i] == c) sum += values[i], n += 1;
        for (size_t i = 0; i < values.size(); ++i)
            if (of[i] == c) total += (values[i] - sum / n) * (values[i] - sum / n);
    }
    return total;
}

// Every way of parting the sorted values between unequal neighbours into `classes` runs:
// the least sum and the next least, and the classes of the best.
struct Tried {
    double best = std::numeric_limits<double>::infinity();
    double second = std::numeric_limits<double>::infinity();
    std::vector<int> of;
};
void TryAll(const std::vector<double>& sorted, int classes, size_t from, std::vector<int>& of,
            int c, Tried& tried) {
    if (c == classes - 1) {
        std::fill(of.begin() + static_cast<long>(from), of.end(), c);
        const double total = WithinSquares(sorted, of, classes);
        if (total < tried.best) {
            tried.second = tried.best;
            tried.best = total;
            tried.of = of;
        } else {
            tried.second = std::min(tried.second, total);
        }
        return;
    }
    for (size_t end = from + 1; end < sorted.size(); ++end) {
        if (sorted[end] == sorted[end - 1]) continue;
        std::fill(of.begin() + static_cast<long>(from), of.begin() + static_cast<long>(end), c);
        TryAll(sorted, classes, end, of, c + 1, tried);
    }
}

TEST(NaturalBreaks, FindTheBestOfEveryWayOfPartingSmallData) {
    std::mt19937 random(5);
    int compared = 0;
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<double> values(4 + random() % 9);
        // Some far from zero, where sums of squares lose digits.
        const double offset = trial % 3 == 0 ? 1e6 : 0;
        for (double& v : values)
            v = offset + static_cast<double>(random() % 25) * 0.25;
        std::sort(values.begin(), values.end());
        const int classes = 2 + static_cast<int>(random() % 4);
        const Classes found = ClassifyValues(ClassMethod::NaturalBreaks, values, classes);
        if (found.count() < classes) continue; // fewer levels than classes
        std::vector<int> of(values.size());
        Tried tried;
        TryAll(values, classes, 0, of, 0, tried);
        ASSERT_NEAR(WithinSquares(values, found.of, classes), tried.best, 1e-6);
        if (tried.second - tried.best > 1e-6) {
            EXPECT_EQ(found.of, tried.of);
            ++compared;
        }
    }
    EXPECT_GT(compared, 200);
}

TEST(NaturalBreaks, AreExactUpToTheLimitAndSampledPastIt) {
    // Seven clusters of distinct values, far apart: the breaks are where they start.
    const auto clusters = [](size_t n) {
        std::vector<double> values;
        for (size_t i = 0; i < n; ++i)
            values.push_back(static_cast<double>(i % 7) * 1000 + static_cast<double>(i) * 1e-4);
        return values;
    };
    const Classes exact = ClassifyValues(ClassMethod::NaturalBreaks, clusters(10000), 7);
    EXPECT_EQ(exact.sample, 0u);
    for (size_t i = 0; i < exact.of.size(); ++i)
        ASSERT_EQ(exact.of[i], static_cast<int>(i % 7)) << i;

    const Classes sampled =
        ClassifyValues(ClassMethod::NaturalBreaks, clusters(kExactNaturalBreaks + 1), 7);
    EXPECT_EQ(sampled.sample, kExactNaturalBreaks);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(static_cast<int>(sampled.lower[static_cast<size_t>(c)] / 1000), c);
    EXPECT_EQ(ClassesNote(sampled), QStringLiteral("Natural breaks found on 50000 values spread "
                                                   "evenly over the 50001 distinct values"));
}

} // namespace
} // namespace tolvane
