// CTools segments to faces: chaining into polylines (ConnectLineSegs), the face tracer of
// level segment networks (MakeLineSegsToFaces, three front ends) and the consuming tracer
// (MakeLineSegsToFaces1).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "PointGrid.h"
#include "SegmentChains.h"
#include "Tools.h"

namespace {

constexpr double kSmallestTolerance = 1e-6;
constexpr double kAngleTolerance = 1e-6;
constexpr double kUnitTolerance = 0.001;
constexpr int kRingCode = 10001;

const GeVector3d kDown(0, -1, 0);
const GeVector3d kUp(0, 0, 1);

double Tolerance(double tolerance) { return tolerance > 0.0 ? tolerance : kSmallestTolerance; }

// The segment points of a network: point i's partner (the other end of its segment) is
// i + 1 for an even i and i - 1 for an odd one.
std::size_t Partner(std::size_t i) { return i ^ 1u; }

// Drops the segments whose ends lie within tol of each other, then brings every point within
// tol of the first point's height to exactly that height. False (nothing traced) when a
// point lies tol or more off it.
bool PrepareLevelNetwork(GePoint3dArray& pts, double tol)
{
    GePoint3dArray kept;
    for (std::size_t k = 0; k + 1 < pts.size(); k += 2) {
        if (pts[k].DistanceTo(pts[k + 1]) > tol) {
            kept.push_back(pts[k]);
            kept.push_back(pts[k + 1]);
        }
    }
    pts.swap(kept);
    if (pts.empty())
        return true;
    const double z0 = pts[0].z;
    for (GePoint3d& p : pts) {
        if (!(std::fabs(p.z - z0) < tol))
            return false;
        p.z = z0;
    }
    return true;
}

GeVector3d Direction(const GePoint3dArray& pts, std::size_t from) { return pts[Partner(from)] - pts[from]; }

// The network's points in start order (x, then y, then index) and, for each point, the
// points within tol of it, ascending, with the turn from the point's own segment onto
// theirs. A walk that arrives at a point along its segment asks for both at every step, a
// repeated walk and the search for missed faces ask again, so they are found once; they are
// found in start order, which keeps the points a search touches close in memory.
class Network {
public:
    enum class Turns { Measured, Skipped };

    Network(const GePoint3dArray& pts, double tol, Turns turns) : order_(pts.size()), rank_(pts.size())
    {
        std::vector<Key> keys(pts.size());
        for (std::size_t i = 0; i < pts.size(); ++i)
            keys[i] = {pts[i].x, pts[i].y, static_cast<std::uint32_t>(i)};
        std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
            return a.x < b.x || (a.x == b.x && (a.y < b.y || (a.y == b.y && a.i < b.i)));
        });
        for (std::size_t k = 0; k < keys.size(); ++k) {
            order_[k] = keys[k].i;
            rank_[keys[k].i] = static_cast<std::uint32_t>(k);
        }

        std::vector<double> xs(pts.size()), ys(pts.size());
        for (std::size_t i = 0; i < pts.size(); ++i) {
            xs[i] = pts[i].x;
            ys[i] = pts[i].y;
        }
        const tools::PointGrid grid(xs, ys, tol);
        offsets_.assign(pts.size() + 1, 0);
        for (std::size_t k = 0; k < order_.size(); ++k) {
            const std::size_t self = order_[k];
            const std::size_t first = ids_.size();
            grid.ForEachNear(xs[self], ys[self], [&](std::size_t i) {
                if (i != self && pts[i].DistanceTo(pts[self]) <= tol)
                    ids_.push_back(static_cast<std::uint32_t>(i));
                return true;
            });
            std::sort(ids_.begin() + static_cast<std::ptrdiff_t>(first), ids_.end());
            offsets_[k + 1] = ids_.size();
            if (turns == Turns::Measured) {
                const GeVector3d back = Direction(pts, self);
                for (std::size_t e = first; e < ids_.size(); ++e)
                    turns_.push_back(back.AngleTo(Direction(pts, ids_[e]), kUp, kAngleTolerance));
            }
        }
    }

    std::size_t Size() const { return order_.size(); }
    // The point of a place in start order, and the place of a point.
    std::size_t At(std::size_t rank) const { return order_[rank]; }
    std::size_t Rank(std::size_t i) const { return rank_[i]; }

    // The indices other than i within tol of point i, ascending.
    std::span<const std::uint32_t> Near(std::size_t i) const
    {
        const std::size_t k = rank_[i];
        return {ids_.data() + offsets_[k], ids_.data() + offsets_[k + 1]};
    }

    // Entry e: the angle from the back vector of point i (towards its partner) to the
    // direction of Near(i)[e] (away from its own point), counter-clockwise about +Z.
    std::span<const double> Turns(std::size_t i) const
    {
        const std::size_t k = rank_[i];
        return {turns_.data() + offsets_[k], turns_.data() + offsets_[k + 1]};
    }

private:
    struct Key {
        double x, y;
        std::uint32_t i;
    };

    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> rank_;
    std::vector<std::size_t> offsets_;  // by rank
    std::vector<std::uint32_t> ids_;
    std::vector<double> turns_;
};

// Ranks 0..n-1, some of them in the set, with the smallest one found fast: one bit per rank.
// The smallest rises as the tracer uses points up from left to right, and falls back only
// when a walk is released.
class RankSet {
public:
    explicit RankSet(std::size_t n) : words_((n + 63) / 64, 0) {}

    void Insert(std::size_t rank)
    {
        words_[rank / 64] |= Bit(rank);
        low_ = std::min(low_, rank / 64);
    }

    void Erase(std::size_t rank) { words_[rank / 64] &= ~Bit(rank); }

    // The smallest rank in the set, or npos when it is empty.
    std::size_t First()
    {
        while (low_ < words_.size() && words_[low_] == 0)
            ++low_;
        return low_ < words_.size() ? low_ * 64 + static_cast<std::size_t>(std::countr_zero(words_[low_])) : npos;
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    static std::uint64_t Bit(std::size_t rank) { return std::uint64_t{1} << (rank % 64); }

    std::vector<std::uint64_t> words_;
    std::size_t low_ = 0;  // no word before it holds a rank
};

// The point with the smallest x, then the smallest y, then the lowest index, among those
// the filter lets through; pts.size() when there is none.
template <typename Filter>
std::size_t Leftmost(const GePoint3dArray& pts, Filter filter)
{
    std::size_t best = pts.size();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        if (!filter(i))
            continue;
        if (best == pts.size() || pts[i].x < pts[best].x || (pts[i].x == pts[best].x && pts[i].y < pts[best].y))
            best = i;
    }
    return best;
}

// The tracer over its state: every point has a used count and an allowance, and is
// available while used < allowance; each walk lists the points it took, edge by edge.
class FaceTracer {
public:
    FaceTracer(const GePoint3dArray& pts, const Network& network)
        : pts_(pts), network_(network), used_(pts.size(), 0), allowance_(pts.size(), 0), free_(pts.size()),
          position_(pts.size(), kNotWalked)
    {
        // A segment takes part only when each of its ends meets another point.
        for (std::size_t i = 0; i < pts.size(); i += 2) {
            const int allowance = !network_.Near(i).empty() && !network_.Near(i + 1).empty() ? 2 : 0;
            allowance_[i] = allowance_[i + 1] = allowance;
        }
        for (std::size_t i = 0; i < pts.size(); ++i)
            Update(i);
    }

    std::vector<GePoint3dArray> Trace()
    {
        std::vector<GePoint3dArray> faces;
        // Each round adds a face, takes an allowance away or repeats a walk, so the tracer
        // ends; the bounds only keep a slip from hanging the host.
        const std::size_t maxRounds = 4 * pts_.size() + 10;
        bool repeated = false;
        std::vector<std::size_t> starters;
        for (std::size_t round = 0; round < maxRounds; ++round) {
            const std::size_t first = free_.First();
            if (first == RankSet::npos)
                break;
            const std::size_t start = network_.At(first);
            starters.clear();
            for (std::size_t c : network_.Near(start))
                if (Available(c))
                    starters.push_back(c);
            if (starters.empty()) {
                CloseSegment(start);
                continue;
            }
            std::size_t ring = 0;
            const Outcome outcome = Walk(start, starters, repeated, ring);
            const std::span<const std::size_t> walk = std::span<const std::size_t>(walk_).subspan(ring);
            if (outcome == Outcome::TooLong)
                break;
            if (outcome == Outcome::DeadEnd) {
                if (!repeated) {
                    Release(walk);
                    repeated = true;
                } else {
                    CloseSegment(walk.back());
                    repeated = false;
                }
                continue;
            }
            GePoint3dArray corners;
            corners.reserve(walk.size() / 2);
            for (std::size_t k = 0; k < walk.size(); k += 2)
                corners.push_back(pts_[walk[k]]);
            if (walk.size() >= 6 && CTools::IsPtArrayClockWise(corners)) {
                faces.push_back(std::move(corners));
                repeated = false;
            } else if (walk.size() >= 6 && !repeated) {
                Release(walk);
                repeated = true;
            } else {
                repeated = false;
            }
        }
        return faces;
    }

private:
    enum class Outcome { Closed, DeadEnd, TooLong };
    static constexpr long kNotWalked = -1;

    bool Available(std::size_t i) const { return used_[i] < allowance_[i]; }

    // Keeps the set of free points (used 0, allowance above 0) up to date for point i.
    void Update(std::size_t i)
    {
        if (used_[i] == 0 && allowance_[i] > 0)
            free_.Insert(network_.Rank(i));
        else
            free_.Erase(network_.Rank(i));
    }

    void CloseSegment(std::size_t i)
    {
        allowance_[i] = allowance_[Partner(i)] = 0;
        Update(i);
        Update(Partner(i));
    }

    void Release(std::span<const std::size_t> walk)
    {
        for (std::size_t i : walk) {
            --used_[i];
            Update(i);
        }
    }

    void Take(std::size_t first, std::size_t second)
    {
        for (const std::size_t i : {first, second}) {
            ++used_[i];
            Update(i);
            position_[i] = static_cast<long>(walk_.size());
            walk_.push_back(i);
        }
    }

    // The position in the walk of its last entry within tol of point i, or kNotWalked: the
    // points within tol of i are i and its neighbours, and each knows where the walk took
    // it last.
    long LastNear(std::size_t i) const
    {
        long last = position_[i];
        for (std::size_t c : network_.Near(i))
            last = std::max(last, position_[c]);
        return last;
    }

    // The first edge leaves the start point along the segment turned farthest
    // counter-clockwise from straight down; it runs upward (downward on a repeated walk).
    std::size_t FirstEdge(std::size_t start, const std::vector<std::size_t>& starters) const
    {
        const auto angle = [&](std::size_t from) {
            GeVector3d v = Direction(pts_, from);
            v.Normalize(kUnitTolerance);
            return kDown.AngleTo(v, kUp, kAngleTolerance);
        };
        std::size_t best = start;
        double largest = angle(start);
        for (std::size_t c : starters) {
            if (used_[c] != 0 || allowance_[c] <= 0)
                continue;
            const double a = angle(c);
            if (a > largest) {
                largest = a;
                best = c;
            }
        }
        return best;
    }

    // Walks from the start point into walk_; a closed ring is walk_ from position `ring` on,
    // the entries before it already released.
    Outcome Walk(std::size_t start, const std::vector<std::size_t>& starters, bool repeated, std::size_t& ring)
    {
        for (std::size_t i : walk_)
            position_[i] = kNotWalked;
        walk_.clear();
        ring = 0;
        const std::size_t near = FirstEdge(start, starters);
        const std::size_t far = Partner(near);
        std::size_t first = pts_[far].y < pts_[near].y ? far : near;
        if (repeated)
            first = Partner(first);
        Take(first, Partner(first));
        std::size_t current = Partner(first);

        const std::size_t maxSteps = pts_.size();  // twice the segments, in points
        for (std::size_t step = 0; step < maxSteps; ++step) {
            // The turns are measured from the back vector, which runs along the segment the
            // walk arrived by.
            std::size_t chosen = pts_.size();
            double smallest = 0.0;
            const std::span<const std::uint32_t> candidates = network_.Near(current);
            const std::span<const double> turns = network_.Turns(current);
            for (std::size_t e = 0; e < candidates.size(); ++e) {
                if (!Available(candidates[e]))
                    continue;
                if (chosen == pts_.size() || turns[e] < smallest) {
                    chosen = candidates[e];
                    smallest = turns[e];
                }
            }
            if (chosen == pts_.size())
                return Outcome::DeadEnd;
            const std::size_t next = Partner(chosen);
            const long hit = LastNear(next);
            Take(chosen, next);
            current = next;
            if (hit != kNotWalked) {
                ring = static_cast<std::size_t>(hit);
                Release(std::span<const std::size_t>(walk_).first(ring));
                return Outcome::Closed;
            }
        }
        return Outcome::TooLong;
    }

    const GePoint3dArray& pts_;
    const Network& network_;
    std::vector<int> used_;
    std::vector<int> allowance_;
    RankSet free_;                    // ranks of the free points
    std::vector<std::size_t> walk_;   // the points the current walk took, edge by edge
    std::vector<long> position_;      // where in walk_ each point was taken last
};

// Whether IsPtArraySame(a, b, 0, tol) can hold at all: it pairs a's first point with some
// point of b in every rotation and direction it tries. Most faces near a ring fail this
// before the full test copies both.
bool MayMatch(const GePoint3dArray& a, const GePoint3dArray& b, double tol)
{
    return a.size() == b.size() && (a.empty() || std::any_of(b.begin(), b.end(), [&](const GePoint3d& p) {
                                        return a[0].DistanceTo(p) < tol;
                                    }));
}

// The bounded faces the tracer leaves out. Its walks start only at points no walk has used
// yet, so a face all of whose sides are shared with faces traced before it (a piece of a
// balcony outline reaching into the building) is never started. Here the taking part
// segments are walked once on each side, turning sharpest right at every meeting point; a
// clockwise ring without a repeated corner that the tracer did not give is such a face.
std::vector<GePoint3dArray> MissedFaces(const GePoint3dArray& pts, const Network& network, double tol,
                                        const std::vector<GePoint3dArray>& found)
{
    const std::size_t n = pts.size();
    // Meeting points: the points within tol of one another, chained.
    std::vector<std::size_t> corner(n, n);
    std::vector<std::size_t> stack;
    for (std::size_t i = 0; i < n; ++i) {
        if (corner[i] != n)
            continue;
        stack.assign(1, i);
        corner[i] = i;
        while (!stack.empty()) {
            const std::size_t k = stack.back();
            stack.pop_back();
            for (std::size_t c : network.Near(k))
                if (corner[c] == n)
                    corner[c] = i, stack.push_back(c);
        }
    }
    // Sides: point i stands for the side leaving corner[i] along its segment. The sides of
    // each corner, ascending, are leaving[from[c], from[c + 1]).
    const auto side = [&](std::size_t i) {
        return !network.Near(i).empty() && !network.Near(Partner(i)).empty() && corner[i] != corner[Partner(i)];
    };
    std::vector<std::size_t> from(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        from[corner[i] + 1] += side(i) ? 1 : 0;
    for (std::size_t c = 0; c < n; ++c)
        from[c + 1] += from[c];
    std::vector<std::size_t> leaving(from[n]);
    {
        std::vector<std::size_t> fill(from.begin(), from.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            if (side(i))
                leaving[fill[corner[i]]++] = i;
    }
    const auto sidesAt = [&](std::size_t c) {
        return std::span<const std::size_t>(leaving).subspan(from[c], from[c + 1] - from[c]);
    };
    // The side after s: the sharpest right turn at the corner s runs into. The sides there
    // are mostly the points within tol of s's far end, whose turns are measured already.
    const auto next = [&](std::size_t s) {
        const std::size_t at = Partner(s);
        const std::span<const std::uint32_t> near = network.Near(at);
        const std::span<const double> turns = network.Turns(at);
        std::size_t e = 0;
        std::size_t best = n;
        double smallest = 0.0;
        for (std::size_t out : sidesAt(corner[at])) {
            if (out == at)
                continue;
            while (e < near.size() && near[e] < out)
                ++e;
            const double a = e < near.size() && near[e] == out
                                 ? turns[e]
                                 : Direction(pts, at).AngleTo(Direction(pts, out), kUp, kAngleTolerance);
            if (best == n || a < smallest)
                best = out, smallest = a;
        }
        return best == n ? at : best;
    };
    // The faces found, by the mean of their corners: a ring with the same corners has its
    // mean within tol.
    std::vector<double> cx, cy;
    const auto mean = [](const GePoint3dArray& ring, double& x, double& y) {
        x = y = 0.0;
        for (const GePoint3d& p : ring)
            x += p.x / ring.size(), y += p.y / ring.size();
    };
    for (const GePoint3dArray& face : found) {
        cx.emplace_back();
        cy.emplace_back();
        mean(face, cx.back(), cy.back());
    }
    const tools::PointGrid means(cx, cy, tol);

    std::vector<bool> walked(n, false);
    std::vector<bool> visited(n, false);  // the corners of the ring being walked
    std::vector<std::size_t> corners;
    std::vector<GePoint3dArray> missed;
    for (std::size_t first = 0; first < n; ++first) {
        if (walked[first] || !side(first))
            continue;
        GePoint3dArray ring;
        corners.clear();
        bool simple = true;
        for (std::size_t s = first; !walked[s] && ring.size() <= n; s = next(s)) {
            walked[s] = true;
            simple = simple && !visited[corner[s]];
            visited[corner[s]] = true;
            corners.push_back(corner[s]);
            ring.push_back(pts[corner[s]]);
        }
        for (std::size_t c : corners)
            visited[c] = false;
        if (!simple || ring.size() < 3 || !CTools::IsPtArrayClockWise(ring))
            continue;
        double x = 0.0, y = 0.0;
        mean(ring, x, y);
        bool known = false;
        means.ForEachNear(x, y, [&](std::size_t f) {
            known = MayMatch(found[f], ring, tol) && CTools::IsPtArraySame(found[f], ring, 0, tol) != 0;
            return !known;
        });
        if (!known)
            missed.push_back(std::move(ring));
    }
    return missed;
}

// Interleaves starts and ends into one run of start/end pairs.
GePoint3dArray Pairs(const GePoint3d* starts, const GePoint3d* ends, std::size_t n)
{
    GePoint3dArray pts;
    pts.reserve(2 * n);
    for (std::size_t k = 0; k < n; ++k) {
        pts.push_back(starts[k]);
        pts.push_back(ends[k]);
    }
    return pts;
}

}  // namespace

void CTools::ConnectLineSegs(int count, GePoint3d* starts, GePoint3d* ends, std::vector<GePoint3dArray>& chains,
                             int mode, double tolerance)
{
    const double tol = Tolerance(tolerance);
    chains.clear();
    if (count < 1 || starts == nullptr || ends == nullptr)
        return;
    std::vector<tools::Segment> segments(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < segments.size(); ++k)
        segments[k] = {starts[k], ends[k]};
    for (const tools::Chain& chain : tools::ChainSegments(mode != 0 ? 1 : 0, segments, tol)) {
        if (chain.points.size() <= 1)
            continue;
        GePoint3dArray pts(chain.points.begin(), chain.points.end());
        ManageGePoint3dArray(pts, chain.closed ? 1 : 0, tol);
        chains.push_back(pts);
    }
}

void CTools::MakeLineSegsToFaces(GePoint3dArray segments, std::vector<GePoint3dArray>& faces, double tolerance)
{
    const double tol = Tolerance(tolerance);
    faces.clear();
    if (segments.size() % 2 != 0)
        segments.pop_back();
    if (!PrepareLevelNetwork(segments, tol) || segments.size() < 6)
        return;
    const Network network(segments, tol, Network::Turns::Measured);
    faces = FaceTracer(segments, network).Trace();
    const std::vector<GePoint3dArray> missed = MissedFaces(segments, network, tol, faces);
    faces.insert(faces.end(), missed.begin(), missed.end());
}

void CTools::MakeLineSegsToFaces(long count, GePoint3d* starts, GePoint3d* ends, std::vector<GePoint3dArray>& faces,
                                 double tolerance)
{
    faces.clear();
    if (count <= 2 || starts == nullptr || ends == nullptr)
        return;
    MakeLineSegsToFaces(Pairs(starts, ends, static_cast<std::size_t>(count)), faces, tolerance);
}

void CTools::MakeLineSegsToFaces(GePoint3dArray starts, GePoint3dArray ends, std::vector<GePoint3dArray>& faces,
                                 double tolerance)
{
    faces.clear();
    if (starts.size() <= 2 || ends.size() != starts.size())
        return;
    MakeLineSegsToFaces(Pairs(starts.data(), ends.data(), starts.size()), faces, tolerance);
}

void CTools::MakeLineSegsToFaces1(GePoint3dArray segments, std::vector<GePoint3dArray>& faces, double tolerance)
{
    const double tol = Tolerance(tolerance);
    faces.clear();
    if (segments.size() % 2 != 0)
        segments.pop_back();
    if (!PrepareLevelNetwork(segments, tol) || segments.size() < 6)
        return;
    const GePoint3dArray& pts = segments;
    const Network network(pts, tol, Network::Turns::Skipped);
    std::vector<bool> removed(pts.size(), false);
    std::size_t remaining = pts.size();
    const auto remove = [&](std::size_t i) {
        removed[i] = removed[Partner(i)] = true;
        remaining -= 2;
    };
    const auto nearRemaining = [&](std::size_t i) {
        std::vector<std::size_t> found;
        for (std::size_t c : network.Near(i))
            if (!removed[c])
                found.push_back(c);
        return found;
    };

    // Every pass removes at least one segment.
    while (remaining >= 3) {
        const std::size_t start = Leftmost(pts, [&](std::size_t i) { return !removed[i]; });
        const std::vector<std::size_t> starters = nearRemaining(start);
        if (starters.empty()) {
            remove(start);
            continue;
        }
        std::size_t best = start;
        double smallest = kDown.AngleTo(Direction(pts, start), kUp, kAngleTolerance);
        for (std::size_t c : starters) {
            const double a = kDown.AngleTo(Direction(pts, c), kUp, kAngleTolerance);
            if (a < smallest) {
                smallest = a;
                best = c;
            }
        }
        GePoint3dArray ring{pts[start], pts[Partner(best)]};
        std::size_t current = Partner(best);
        remove(best);
        GeVector3d back = pts[start] - pts[current];
        const GeVector3d down(0, 0, -1);
        for (;;) {
            const std::vector<std::size_t> candidates = nearRemaining(current);
            if (candidates.empty())
                break;
            std::size_t chosen = candidates.front();
            double sharpest = back.AngleTo(Direction(pts, chosen), down, kAngleTolerance);
            for (std::size_t k = 1; k < candidates.size(); ++k) {
                const std::size_t c = candidates[k];
                if (pts[Partner(c)].DistanceTo(pts[start]) <= tol) {
                    chosen = c;
                    break;
                }
                const double a = back.AngleTo(Direction(pts, c), down, kAngleTolerance);
                if (a < sharpest) {
                    sharpest = a;
                    chosen = c;
                }
            }
            const std::size_t far = Partner(chosen);
            remove(chosen);
            if (pts[far].DistanceTo(pts[start]) <= tol) {
                if (ring.size() >= 3)
                    faces.push_back(ring);
                break;
            }
            back = ring.back() - pts[far];
            ring.push_back(pts[far]);
            current = far;
        }
    }
}
