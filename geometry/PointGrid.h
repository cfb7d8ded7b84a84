#pragma once
// A grid over plan points for the toolkit's "within a tolerance" searches, so that routines
// which compare every point with every other one stay fast on large inputs while keeping
// their order-dependent answers: the grid only narrows the candidates, the caller still
// applies its own test and its own order. Occupied cells are found through a hash table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

namespace tools {

class PointGrid {
public:
    // Indexes the points (x[i], y[i]), i = 0..n-1, for searches that reach no farther than
    // `reach` on either axis. Non-finite coordinates share one cell of their own.
    PointGrid(std::span<const double> x, std::span<const double> y, double reach);

    // The cells around a search point: the ranges of ids_ that hold its candidates.
    struct Neighbourhood {
        std::array<std::pair<std::size_t, std::size_t>, 4> ranges{};
        int count = 0;
    };

    // The candidates of every indexed point that may lie within the reach of (x, y) on both
    // axes. A cell is twice the reach wide, so the reach around (x, y) overlaps at most the
    // cell of (x, y) and one neighbour on each axis, on the side it lies nearer to.
    Neighbourhood Around(double x, double y) const
    {
        const Cell c = CellOf(x, y);
        const std::int64_t sx = c.ix == kFarCell || x / cell_ - static_cast<double>(c.ix) >= 0.5 ? 1 : -1;
        const std::int64_t sy = c.iy == kFarCell || y / cell_ - static_cast<double>(c.iy) >= 0.5 ? 1 : -1;
        Neighbourhood around;
        for (const std::int64_t ix : {c.ix, c.ix + sx})
            for (const std::int64_t iy : {c.iy, c.iy + sy})
                if (const Bucket* bucket = Find({ix, iy}))
                    around.ranges[around.count++] = {bucket->begin, bucket->end};
        return around;
    }

    // Calls visit(i) for every candidate of the neighbourhood, each once, in no particular
    // order; visit returns false to stop early.
    template <typename Visit>
    void ForEach(const Neighbourhood& around, Visit visit) const
    {
        for (int r = 0; r < around.count; ++r)
            for (std::size_t k = around.ranges[r].first; k < around.ranges[r].second; ++k)
                if (!visit(ids_[k]))
                    return;
    }

    template <typename Visit>
    void ForEachNear(double x, double y, Visit visit) const
    {
        ForEach(Around(x, y), visit);
    }

private:
    // The cell of non-finite coordinates: far from every finite cell, and its neighbours too.
    static constexpr std::int64_t kFarCell = std::numeric_limits<std::int64_t>::min() / 4;

    struct Cell {
        std::int64_t ix;
        std::int64_t iy;
        auto operator<=>(const Cell&) const = default;
    };
    // The points of one cell: ids_[begin, end).
    struct Bucket {
        Cell cell;
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
    };

    Cell CellOf(double x, double y) const;

    static std::uint64_t Mix(std::uint64_t h)
    {
        h ^= h >> 30;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 27;
        h *= 0x94D049BB133111EBull;
        return h ^ (h >> 31);
    }

    static std::uint64_t Hash(const Cell& cell)
    {
        return Mix(static_cast<std::uint64_t>(cell.ix) ^ Mix(static_cast<std::uint64_t>(cell.iy)));
    }

    // Most cells searched are empty; a small bit table, filled from the top bits of the
    // hash, answers most of them without touching the large bucket table.
    bool MayHold(std::uint64_t hash) const
    {
        const std::uint64_t bit = (hash >> 32) & filterMask_;
        return (filter_[bit >> 6] >> (bit & 63)) & 1u;
    }

    const Bucket* Find(const Cell& cell) const
    {
        const std::uint64_t hash = Hash(cell);
        if (!MayHold(hash))
            return nullptr;
        for (std::size_t slot = static_cast<std::size_t>(hash) & mask_;; slot = (slot + 1) & mask_) {
            const Bucket& bucket = table_[slot];
            if (bucket.begin == bucket.end)
                return nullptr;
            if (bucket.cell == cell)
                return &bucket;
        }
    }

    double cell_ = 1.0;
    // 32-bit ids keep the index small enough to stay in cache longer; no point set that fits
    // in memory comes near 2^32 points.
    std::vector<std::uint32_t> ids_;  // grouped by cell
    std::vector<Bucket> table_;     // open addressing; an empty slot has begin == end
    std::size_t mask_ = 0;
    std::vector<std::uint64_t> filter_;
    std::uint64_t filterMask_ = 0;
};

}  // namespace tools
