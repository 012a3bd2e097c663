#include "fitnessplotmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {
using Change = FitnessPlotModel::Change;

// A deterministic, noisy history: fitness climbing with jitter, so that bucket
// extremes fall anywhere inside a bucket. Shorter histories are prefixes of
// longer ones.
std::vector<GAFitInfo> History(int count, int firstGeneration = 0)
{
    std::vector<GAFitInfo> history;
    history.reserve(static_cast<std::size_t>(count));
    std::uint32_t state = 12345;
    auto noise = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 16) & 0x7FFF) / 32768.0;
    };
    for (int i = 0; i < count; ++i) {
        const double trend = 48.0 * i / (i + 500.0);
        const double max = trend + 4.0 * noise();
        const double min = trend - 4.0 * noise();
        history.push_back({max, (max + min) / 2.0 + noise() - 0.5, min, firstGeneration + i});
    }
    return history;
}

bool SamePoints(const QList<QPointF>& a, const QList<QPointF>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](QPointF p, QPointF q) {
        return p.x() == q.x() && p.y() == q.y();
    });
}
} // namespace

TEST(FitnessPlotModel, SmallHistoriesDrawEveryRecord)
{
    for (int count : {1, 2, 3, 100, FitnessPlotModel::MaxBuckets}) {
        SCOPED_TRACE(count);
        const auto history = History(count, 7);
        FitnessPlotModel model;
        model.Update(history);
        EXPECT_EQ(model.BucketWidth(), 1);
        for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
            const QList<QPointF> points = model.Points(s);
            ASSERT_EQ(points.size(), count);
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(points[i].x(), history[i].generation);
                EXPECT_EQ(points[i].y(), FitnessPlotModel::Value(history[i], s));
            }
        }
    }
}

TEST(FitnessPlotModel, SeriesOrderIsMaximumAverageMinimum)
{
    const GAFitInfo record{5.0, 3.0, 1.0, 9};
    EXPECT_EQ(FitnessPlotModel::Value(record, 0), 5.0);
    EXPECT_EQ(FitnessPlotModel::Value(record, 1), 3.0);
    EXPECT_EQ(FitnessPlotModel::Value(record, 2), 1.0);
}

TEST(FitnessPlotModel, ChangeDetection)
{
    const auto base = History(10);
    auto longer = History(15);
    auto differentLast = base;
    differentLast.back().average += 1.0;
    auto differentMiddle = base;
    differentMiddle[4].min -= 1.0;
    auto longerNewStart = longer;
    longerNewStart.front().generation = 100;
    auto longerNewLastHeld = longer;
    longerNewLastHeld[9].max += 1.0;
    // Same first and last held records, another one between: [A, X, C, D].
    auto longerNewMiddle = longer;
    longerNewMiddle[4].average += 1.0;

    struct Row {
        const char* name;
        std::vector<GAFitInfo> before;
        std::vector<GAFitInfo> after;
        Change expected;
    } rows[] = {
        {"same history again", base, base, Change::None},
        {"empty stays empty", {}, {}, Change::None},
        {"grown with the same records", base, longer, Change::Appended},
        {"first plot", {}, base, Change::Rebuilt},
        {"shrunk", longer, base, Change::Rebuilt},
        {"emptied", base, {}, Change::Rebuilt},
        {"same length, last record differs", base, differentLast, Change::Rebuilt},
        {"same length, a middle record differs", base, differentMiddle, Change::Rebuilt},
        {"longer, first record differs", base, longerNewStart, Change::Rebuilt},
        {"longer, last held record differs", base, longerNewLastHeld, Change::Rebuilt},
        {"longer, a middle held record differs", base, longerNewMiddle, Change::Rebuilt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FitnessPlotModel model;
        model.Update(row.before);
        EXPECT_EQ(model.Update(row.after), row.expected);
        // Whatever it took, the model now shows `after`.
        FitnessPlotModel fresh;
        fresh.Update(row.after);
        ASSERT_EQ(model.RecordCount(), static_cast<int>(row.after.size()));
        for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s)
            EXPECT_TRUE(SamePoints(model.Points(s), fresh.Points(s)));
    }
}

// A GA's history keeps its revision while it only grows and takes a new one
// when it is cleared or replaced, so the revision alone tells an extension.
TEST(FitnessPlotModel, ChangeDetectionByRevision)
{
    const auto base = History(10);
    const auto longer = History(15);
    auto lookalike = longer; // [A, X, C, D] of another history
    lookalike[4].max += 1.0;
    struct Row {
        const char* name;
        std::vector<GAFitInfo> after;
        std::uint64_t revision;
        Change expected;
    } rows[] = {
        {"same revision, same length", base, 7, Change::None},
        {"same revision, grown", longer, 7, Change::Appended},
        {"new revision, same records", base, 8, Change::Rebuilt},
        {"new revision, grown", longer, 8, Change::Rebuilt},
        {"new revision, lookalike", lookalike, 8, Change::Rebuilt},
        {"new revision, emptied", {}, 8, Change::Rebuilt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FitnessPlotModel model;
        EXPECT_EQ(model.Update(base, 7), Change::Rebuilt);
        EXPECT_EQ(model.Update(row.after, row.revision), row.expected);
        FitnessPlotModel fresh;
        fresh.Update(row.after);
        ASSERT_EQ(model.RecordCount(), static_cast<int>(row.after.size()));
        for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s)
            EXPECT_TRUE(SamePoints(model.Points(s), fresh.Points(s)));
    }

    // Plotting without a revision, or clearing, forgets the revision held.
    FitnessPlotModel model;
    model.Update(base, 7);
    model.Update(base);
    EXPECT_EQ(model.Update(longer, 7), Change::Rebuilt);
    model.Clear();
    EXPECT_EQ(model.Update(longer, 7), Change::Rebuilt);
}

TEST(FitnessPlotModel, NanRecordsCompareEqualToThemselves)
{
    std::vector<GAFitInfo> history = History(3);
    history[1].average = std::numeric_limits<double>::quiet_NaN();
    FitnessPlotModel model;
    model.Update(history);
    EXPECT_EQ(model.Update(history), Change::None);
    // Non-finite values stay out of the axis extent.
    EXPECT_TRUE(std::isfinite(model.MinValue()));
    EXPECT_TRUE(std::isfinite(model.MaxValue()));
}

// Growing one generation at a time regroups the buckets as it goes; the
// result must be exactly what a single build of the final history draws.
TEST(FitnessPlotModel, GrowingRecordByRecordMatchesABuildFromScratch)
{
    for (int count : {FitnessPlotModel::MaxBuckets + 1, 2 * FitnessPlotModel::MaxBuckets + 3, 100000}) {
        SCOPED_TRACE(count);
        const auto history = History(count);
        FitnessPlotModel grown;
        std::vector<GAFitInfo> prefix;
        prefix.reserve(history.size());
        for (const GAFitInfo& record : history) {
            prefix.push_back(record);
            const Change change = grown.Update(prefix);
            ASSERT_EQ(change, prefix.size() == 1 ? Change::Rebuilt : Change::Appended);
        }
        FitnessPlotModel built;
        built.Update(history);
        EXPECT_EQ(grown.BucketWidth(), built.BucketWidth());
        EXPECT_EQ(grown.BucketCount(), built.BucketCount());
        for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s)
            EXPECT_TRUE(SamePoints(grown.Points(s), built.Points(s))) << "series " << s;
    }
}

// At 100,000 generations: few points, each a real record in generation
// order, and every bucket's highest and lowest value of every series drawn.
TEST(FitnessPlotModel, LongHistoriesKeepTheExtremesOfEveryBucket)
{
    const int count = 100000;
    const auto history = History(count);
    FitnessPlotModel model;
    model.Update(history);
    const int width = model.BucketWidth();
    EXPECT_LE(model.BucketCount(), FitnessPlotModel::MaxBuckets);
    EXPECT_EQ(model.BucketCount(), (count + width - 1) / width);

    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        SCOPED_TRACE(s);
        const QList<QPointF> points = model.Points(s);
        EXPECT_LE(points.size(), 2 * FitnessPlotModel::MaxBuckets);
        for (int i = 1; i < points.size(); ++i)
            ASSERT_LT(points[i - 1].x(), points[i].x());
        for (const QPointF& p : points) {
            const GAFitInfo& record = history[static_cast<std::size_t>(p.x())];
            ASSERT_EQ(p.y(), FitnessPlotModel::Value(record, s));
        }
        // Brute-force extremes of each bucket of `width` generations.
        int next = 0;
        for (int start = 0; start < count; start += width) {
            const int end = std::min(start + width, count);
            double high = -1e300, low = 1e300;
            for (int i = start; i < end; ++i) {
                high = std::max(high, FitnessPlotModel::Value(history[i], s));
                low = std::min(low, FitnessPlotModel::Value(history[i], s));
            }
            double drawnHigh = -1e300, drawnLow = 1e300;
            for (; next < points.size() && points[next].x() < end; ++next) {
                drawnHigh = std::max(drawnHigh, points[next].y());
                drawnLow = std::min(drawnLow, points[next].y());
            }
            ASSERT_EQ(drawnHigh, high) << "bucket at " << start;
            ASSERT_EQ(drawnLow, low) << "bucket at " << start;
        }
    }
}

TEST(FitnessPlotModel, ExtentFollowsTheData)
{
    FitnessPlotModel model;
    model.Update({{5.0, 3.0, 1.0, 10}, {9.0, 4.0, -2.0, 11}, {7.0, 6.0, 0.5, 12}});
    EXPECT_EQ(model.MinGeneration(), 10.0);
    EXPECT_EQ(model.MaxGeneration(), 12.0);
    EXPECT_EQ(model.MinValue(), -2.0);
    EXPECT_EQ(model.MaxValue(), 9.0);
}

TEST(FitnessPlotModel, PointCountBeforeCountsWholeBuckets)
{
    const auto history = History(3 * FitnessPlotModel::MaxBuckets);
    FitnessPlotModel model;
    model.Update(history);
    for (int s = 0; s < FitnessPlotModel::SeriesCount; ++s) {
        const int total = static_cast<int>(model.Points(s).size());
        EXPECT_EQ(model.PointCountBefore(s, model.BucketCount()), total);
        for (int bucket : {0, 1, 17, model.BucketCount() - 1}) {
            EXPECT_EQ(model.PointCountBefore(s, bucket) + model.Points(s, bucket).size(), total);
        }
    }
}
