#pragma once
// What the fitness chart draws for a fitness history, kept up to date
// incrementally so that plotting once per generation costs the same at
// generation 100 and at generation 100,000.
//
// The records are grouped into at most MaxBuckets consecutive buckets of
// BucketWidth() records each (a power of two that doubles when the buckets run
// out). For every bucket and every series (0 maximum, 1 average, 2 minimum) the
// drawn points are the bucket's highest and lowest record, at their own
// generation; so no series ever holds more than 2 * MaxBuckets points, every
// point is a real record, and the envelope a user sees at screen resolution is
// the one of the full history. Up to MaxBuckets records every record is drawn.
#include "gadata.h"

#include <QList>
#include <QPointF>

#include <array>
#include <cstdint>
#include <vector>

class FitnessPlotModel {
public:
    static constexpr int MaxBuckets = 2048;
    static constexpr int SeriesCount = 3; // 0 maximum, 1 average, 2 minimum

    enum class Change { None, Appended, Rebuilt };

    // Brings the model to `history`, the fitness history of revision
    // `revision` (GA::HistoryRevision: a history keeps its number only while
    // records are appended to it), and says what that took:
    // - None: the same revision and length as held;
    // - Appended: the same revision, longer: only the new records are added;
    // - Rebuilt: anything else; the model is built afresh.
    Change Update(const std::vector<GAFitInfo>& history, std::uint64_t revision);
    // The same for a history without a revision: None when it equals what is
    // held, Appended when what is held is a prefix of it (checked record by
    // record, so it costs a comparison of the whole history), else Rebuilt.
    Change Update(const std::vector<GAFitInfo>& history);
    void Clear();

    int RecordCount() const { return static_cast<int>(records_.size()); }
    const std::vector<GAFitInfo>& Records() const { return records_; }

    int BucketWidth() const { return width_; }
    int BucketCount() const { return static_cast<int>(buckets_.size()); }
    // True when the last bucket still has room, so its points may change.
    bool LastBucketOpen() const;
    // Changes whenever points drawn before may no longer be kept (a rebuild or
    // a regrouping of the buckets); while it stays the same, the points of all
    // closed buckets stay the same.
    std::uint64_t Layout() const { return layout_; }

    // The points of `series` contributed by buckets firstBucket.., in record order.
    QList<QPointF> Points(int series, int firstBucket = 0) const;
    // How many points buckets [0, bucket) contribute to `series`.
    int PointCountBefore(int series, int bucket) const;

    // Extent of the records for the axes; meaningful only with records.
    // The value extent covers the finite values of all three series.
    double MinGeneration() const { return minGeneration_; }
    double MaxGeneration() const { return maxGeneration_; }
    bool HasValueExtent() const { return hasValueExtent_; }
    double MinValue() const { return minValue_; }
    double MaxValue() const { return maxValue_; }

    static double Value(const GAFitInfo& record, int series);

    // What a chart zoomed into the generations [low, high] draws: the records
    // of those generations grouped as Points groups the whole history (at
    // most MaxBuckets buckets of consecutive records, each drawn as its
    // highest and lowest record), and the extent of their finite values.
    struct View {
        std::array<QList<QPointF>, SeriesCount> points;
        bool hasValueExtent = false;
        double minValue = 0.0;
        double maxValue = 0.0;
    };
    View PointsBetween(double low, double high) const;

private:
    struct Extremes {
        int high; // record index of the bucket's highest value
        int low;  // record index of the bucket's lowest value
    };
    using Bucket = std::array<Extremes, SeriesCount>;

    Change Extend(const std::vector<GAFitInfo>& history);
    Change Rebuild(const std::vector<GAFitInfo>& history);
    void AppendRecord(const GAFitInfo& record);
    void MergeBucketPairs();
    int BucketPointCount(int bucket, int series) const;

    std::vector<GAFitInfo> records_;
    bool inOrder_ = true; // generations never decrease along records_
    bool hasRevision_ = false; // records_ are revision_ of a GA's history
    std::uint64_t revision_ = 0;
    std::vector<Bucket> buckets_;
    int width_ = 1;
    std::uint64_t layout_ = 0;
    double minGeneration_ = 0.0;
    double maxGeneration_ = 0.0;
    bool hasValueExtent_ = false;
    double minValue_ = 0.0;
    double maxValue_ = 0.0;
};
