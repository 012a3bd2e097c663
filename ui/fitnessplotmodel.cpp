#include "fitnessplotmodel.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {
// Bitwise equality, so that a NaN fitness compares equal to itself.
bool SameRecord(const GAFitInfo& a, const GAFitInfo& b)
{
    return a.generation == b.generation
        && std::bit_cast<std::uint64_t>(a.max) == std::bit_cast<std::uint64_t>(b.max)
        && std::bit_cast<std::uint64_t>(a.average) == std::bit_cast<std::uint64_t>(b.average)
        && std::bit_cast<std::uint64_t>(a.min) == std::bit_cast<std::uint64_t>(b.min);
}
} // namespace

double FitnessPlotModel::Value(const GAFitInfo& record, int series)
{
    switch (series) {
    case 0: return record.max;
    case 1: return record.average;
    default: return record.min;
    }
}

FitnessPlotModel::Change FitnessPlotModel::Update(const std::vector<GAFitInfo>& history, std::uint64_t revision)
{
    // Within one revision the history only grows, so its first records are
    // the ones held: the revision alone tells an extension, at no cost.
    if (hasRevision_ && revision == revision_ && history.size() >= records_.size())
        return Extend(history);
    const Change change = Rebuild(history);
    hasRevision_ = true;
    revision_ = revision;
    return change;
}

FitnessPlotModel::Change FitnessPlotModel::Update(const std::vector<GAFitInfo>& history)
{
    hasRevision_ = false;
    if (history.size() >= records_.size()
        && std::equal(records_.begin(), records_.end(), history.begin(), SameRecord))
        return Extend(history);
    return Rebuild(history);
}

FitnessPlotModel::Change FitnessPlotModel::Extend(const std::vector<GAFitInfo>& history)
{
    const std::size_t held = records_.size();
    if (history.size() == held)
        return Change::None;
    if (held == 0)
        return Rebuild(history);
    // No reserve here: growing by one record per call must stay amortised O(1).
    for (std::size_t i = held; i < history.size(); ++i)
        AppendRecord(history[i]);
    return Change::Appended;
}

FitnessPlotModel::Change FitnessPlotModel::Rebuild(const std::vector<GAFitInfo>& history)
{
    Clear();
    // Pick the final bucket width up front so a rebuild never regroups.
    while (static_cast<std::size_t>(width_) * MaxBuckets < history.size())
        width_ *= 2;
    records_.reserve(history.size());
    for (const GAFitInfo& record : history)
        AppendRecord(record);
    return Change::Rebuilt;
}

void FitnessPlotModel::Clear()
{
    records_.clear();
    hasRevision_ = false;
    buckets_.clear();
    width_ = 1;
    ++layout_;
    hasValueExtent_ = false;
}

bool FitnessPlotModel::LastBucketOpen() const
{
    return !buckets_.empty() && records_.size() < buckets_.size() * static_cast<std::size_t>(width_);
}

void FitnessPlotModel::AppendRecord(const GAFitInfo& record)
{
    const int index = static_cast<int>(records_.size());
    const bool lastBucketHasRoom = !buckets_.empty() && index < BucketCount() * width_;
    records_.push_back(record);

    const double generation = record.generation;
    inOrder_ = index == 0 || (inOrder_ && records_[index - 1].generation <= record.generation);
    if (index == 0) {
        minGeneration_ = maxGeneration_ = generation;
    } else {
        minGeneration_ = std::min(minGeneration_, generation);
        maxGeneration_ = std::max(maxGeneration_, generation);
    }
    for (int s = 0; s < SeriesCount; ++s) {
        const double v = Value(record, s);
        if (!std::isfinite(v))
            continue;
        if (!hasValueExtent_) {
            minValue_ = maxValue_ = v;
            hasValueExtent_ = true;
        } else {
            minValue_ = std::min(minValue_, v);
            maxValue_ = std::max(maxValue_, v);
        }
    }

    if (lastBucketHasRoom) {
        Bucket& bucket = buckets_.back();
        for (int s = 0; s < SeriesCount; ++s) {
            const double v = Value(record, s);
            // Strict comparisons: on ties the earlier record stays, as a
            // build from scratch would choose.
            if (v > Value(records_[bucket[s].high], s))
                bucket[s].high = index;
            if (v < Value(records_[bucket[s].low], s))
                bucket[s].low = index;
        }
        return;
    }
    // All buckets are full; after a merge they are full at twice the width,
    // so the record opens a new bucket either way.
    if (BucketCount() == MaxBuckets)
        MergeBucketPairs();
    Bucket bucket;
    bucket.fill(Extremes{index, index});
    buckets_.push_back(bucket);
}

void FitnessPlotModel::MergeBucketPairs()
{
    // Every bucket is full here and MaxBuckets is even, so pairs line up with
    // the buckets of twice the width.
    std::vector<Bucket> merged;
    merged.reserve(MaxBuckets);
    for (std::size_t k = 0; k + 1 < buckets_.size(); k += 2) {
        const Bucket& first = buckets_[k];
        const Bucket& second = buckets_[k + 1];
        Bucket both;
        for (int s = 0; s < SeriesCount; ++s) {
            both[s].high = Value(records_[second[s].high], s) > Value(records_[first[s].high], s)
                ? second[s].high : first[s].high;
            both[s].low = Value(records_[second[s].low], s) < Value(records_[first[s].low], s)
                ? second[s].low : first[s].low;
        }
        merged.push_back(both);
    }
    buckets_ = std::move(merged);
    width_ *= 2;
    ++layout_;
}

int FitnessPlotModel::BucketPointCount(int bucket, int series) const
{
    const Extremes& e = buckets_[bucket][series];
    return e.high == e.low ? 1 : 2;
}

QList<QPointF> FitnessPlotModel::Points(int series, int firstBucket) const
{
    QList<QPointF> points;
    const int count = BucketCount();
    if (firstBucket >= count)
        return points;
    points.reserve(2 * (count - firstBucket));
    for (int k = std::max(firstBucket, 0); k < count; ++k) {
        const Extremes& e = buckets_[k][series];
        const int first = std::min(e.high, e.low);
        const int last = std::max(e.high, e.low);
        points.append(QPointF(records_[first].generation, Value(records_[first], series)));
        if (last != first)
            points.append(QPointF(records_[last].generation, Value(records_[last], series)));
    }
    return points;
}

int FitnessPlotModel::PointCountBefore(int series, int bucket) const
{
    int points = 0;
    const int end = std::min(bucket, BucketCount());
    for (int k = 0; k < end; ++k)
        points += BucketPointCount(k, series);
    return points;
}

FitnessPlotModel::View FitnessPlotModel::PointsBetween(double low, double high) const
{
    // The records shown: a range of them when the generations are in order
    // (the usual case), else those picked one by one.
    std::vector<int> picked;
    int first = 0, last = 0;
    if (inOrder_) {
        const auto below = [](const GAFitInfo& r, double g) { return r.generation < g; };
        const auto above = [](double g, const GAFitInfo& r) { return g < r.generation; };
        first = static_cast<int>(std::lower_bound(records_.begin(), records_.end(), low, below) - records_.begin());
        last = static_cast<int>(std::upper_bound(records_.begin(), records_.end(), high, above) - records_.begin());
    } else {
        for (int k = 0; k < RecordCount(); ++k)
            if (records_[k].generation >= low && records_[k].generation <= high)
                picked.push_back(k);
        last = static_cast<int>(picked.size());
    }
    const auto record = [&](int n) { return inOrder_ ? n : picked[static_cast<std::size_t>(n)]; };
    const int count = std::max(last - first, 0);
    const int width = std::max(1, (count + MaxBuckets - 1) / MaxBuckets);

    View view;
    for (int begin = first; begin < last; begin += width) {
        const int end = std::min(begin + width, last);
        for (int s = 0; s < SeriesCount; ++s) {
            int high = record(begin), low = high;
            for (int n = begin; n < end; ++n) {
                const int k = record(n);
                const double v = Value(records_[k], s);
                if (v > Value(records_[high], s))
                    high = k;
                if (v < Value(records_[low], s))
                    low = k;
                if (std::isfinite(v)) {
                    view.minValue = view.hasValueExtent ? std::min(view.minValue, v) : v;
                    view.maxValue = view.hasValueExtent ? std::max(view.maxValue, v) : v;
                    view.hasValueExtent = true;
                }
            }
            for (const int k : {std::min(high, low), std::max(high, low)}) {
                view.points[s].append(QPointF(records_[k].generation, Value(records_[k], s)));
                if (high == low)
                    break;
            }
        }
    }
    return view;
}
