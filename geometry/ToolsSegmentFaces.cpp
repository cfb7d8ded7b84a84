// CTools segments to faces: chaining into polylines (ConnectLineSegs), the face tracer of
// level segment networks (MakeLineSegsToFaces, three front ends) and the consuming tracer
// (MakeLineSegsToFaces1).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "DanglingChains.h"
#include "MarginJoins.h"
#include "PointGrid.h"
#include "PointsInStartOrder.h"
#include "SegmentChains.h"
#include "Tools.h"

namespace {

constexpr double kSmallestTolerance = 1e-6;
constexpr double kAngleTolerance = 1e-6;
constexpr double kUnitTolerance = 0.001;

const GeVector3d kDown(0, -1, 0);
const GeVector3d kUp(0, 0, 1);

double Tolerance(double tolerance) { return tolerance > 0.0 ? tolerance : kSmallestTolerance; }

// The segment points of a network: point i's partner (the other end of its segment) is
// i + 1 for an even i and i - 1 for an odd one.
std::size_t OtherEnd(std::size_t i) { return i ^ 1u; }

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

GeVector3d Direction(const GePoint3dArray& pts, std::size_t from) { return pts[OtherEnd(from)] - pts[from]; }

// A level segment network renumbered for the tracers' searches. Node r is the point of
// place r in start order (x, then y, then index), so that the points a walk visits one after
// another lie close in memory; every node keeps its point's index, by which ties are broken
// as before. Each node knows the nodes within tol of it (ascending by index) and, when
// measured, the turn from its own segment onto theirs: a walk arriving at a node along its
// segment asks for both at every step, a repeated walk and the search for missed faces ask
// again, so both are found once.
class Network {
public:
    // Whether the turns are measured: the consuming tracer turns the other way.
    enum class Measure { Turns, NoTurns };

    Network(const GePoint3dArray& pts, double tol, Measure measure)
        : points_(pts.size()), index_(pts.size()), node_(pts.size()), partner_(pts.size()), offsets_(pts.size() + 1, 0)
    {
        const std::vector<tools::StartKey> keys = tools::StartOrder(pts);
        std::vector<double> xs(pts.size()), ys(pts.size());
        for (std::size_t r = 0; r < keys.size(); ++r) {
            index_[r] = keys[r].i;
            node_[keys[r].i] = static_cast<std::uint32_t>(r);
            points_[r] = pts[keys[r].i];
            xs[r] = keys[r].x;
            ys[r] = keys[r].y;
        }
        for (std::size_t r = 0; r < partner_.size(); ++r)
            partner_[r] = node_[OtherEnd(index_[r])];

        // A little more than tol, so that rounding cannot keep a point within tol out.
        tools::SortedReach reach(xs, ys, tol * 1.01);
        near_.reserve(4 * points_.size());
        if (measure == Measure::Turns)
            turns_.reserve(near_.capacity());
        for (std::size_t self = 0; self < points_.size(); ++self) {
            const std::size_t first = near_.size();
            reach.ForEach(self, [&](std::size_t r) {
                if (r != self && points_[r].DistanceTo(points_[self]) <= tol)
                    near_.push_back(static_cast<std::uint32_t>(r));
            });
            SortByIndex(std::span<std::uint32_t>(near_).subspan(first));
            offsets_[self + 1] = near_.size();
            if (measure == Measure::Turns) {
                const GeVector3d back = Direction(self);
                for (std::size_t e = first; e < near_.size(); ++e)
                    turns_.push_back(back.AngleTo(Direction(near_[e]), kUp, kAngleTolerance));
            }
        }
    }

    std::size_t Size() const { return points_.size(); }
    const GePoint3d& Point(std::size_t r) const { return points_[r]; }
    // The index of node r's point, and the node of point i.
    std::size_t Index(std::size_t r) const { return index_[r]; }
    std::size_t Node(std::size_t i) const { return node_[i]; }
    // The node at the other end of node r's segment.
    std::size_t Partner(std::size_t r) const { return partner_[r]; }
    GeVector3d Direction(std::size_t r) const { return points_[partner_[r]] - points_[r]; }

    // The nodes other than r within tol of it, ascending by index.
    std::span<const std::uint32_t> Near(std::size_t r) const
    {
        return {near_.data() + offsets_[r], near_.data() + offsets_[r + 1]};
    }

    // Entry e: the angle from the back vector of node r (towards its partner) to the
    // direction of Near(r)[e] (away from it), counter-clockwise about +Z.
    std::span<const double> Turns(std::size_t r) const
    {
        return {turns_.data() + offsets_[r], turns_.data() + offsets_[r + 1]};
    }

private:
    // Mostly a few nodes meet at a point: an insertion sort, unless there are many.
    void SortByIndex(std::span<std::uint32_t> nodes) const
    {
        const auto before = [&](std::uint32_t a, std::uint32_t b) { return index_[a] < index_[b]; };
        if (nodes.size() > 16) {
            std::sort(nodes.begin(), nodes.end(), before);
            return;
        }
        for (std::size_t e = 1; e < nodes.size(); ++e)
            for (std::size_t k = e; k > 0 && before(nodes[k], nodes[k - 1]); --k)
                std::swap(nodes[k], nodes[k - 1]);
    }

    GePoint3dArray points_;
    std::vector<std::uint32_t> index_;
    std::vector<std::uint32_t> node_;
    std::vector<std::uint32_t> partner_;
    std::vector<std::size_t> offsets_;
    std::vector<std::uint32_t> near_;
    std::vector<double> turns_;
};

// Nodes 0..n-1, some of them in the set, with the smallest one found fast: one bit per
// node. The smallest rises as the tracer uses points up from left to right, and falls back
// only when a walk is released.
class NodeSet {
public:
    explicit NodeSet(std::size_t n) : words_((n + 63) / 64, 0) {}

    void Insert(std::size_t r)
    {
        words_[r / 64] |= Bit(r);
        low_ = std::min(low_, r / 64);
    }

    void Erase(std::size_t r) { words_[r / 64] &= ~Bit(r); }

    // The smallest node in the set, or npos when it is empty.
    std::size_t First()
    {
        while (low_ < words_.size() && words_[low_] == 0)
            ++low_;
        return low_ < words_.size() ? low_ * 64 + static_cast<std::size_t>(std::countr_zero(words_[low_])) : npos;
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    static std::uint64_t Bit(std::size_t r) { return std::uint64_t{1} << (r % 64); }

    std::vector<std::uint64_t> words_;
    std::size_t low_ = 0;  // no word before it holds a node
};

// Whether each segment can bound a face (segment k is points 2k and 2k + 1): every dangling
// chain, a spur into a face or a line left open at one end, is taken out down to its root
// first, so that no walk runs out along it and turns back.
std::vector<unsigned char> BoundingSegments(const Network& net)
{
    std::vector<unsigned char> kept(net.Size() / 2, 1);
    kernel::DanglingChains<0>().Prune(kept, [&](int e, std::vector<int>& out) {
        out.clear();
        for (const std::uint32_t c : net.Near(net.Node(static_cast<std::size_t>(e))))
            out.push_back(static_cast<int>(net.Index(c)));
    });
    return kept;
}

// The tracer's faces, each with the nodes its sides leave from (the sides of face f are
// sides[from[f], from[f + 1])).
struct TracedFaces {
    std::vector<GePoint3dArray> rings;
    std::vector<std::uint32_t> sides;
    std::vector<std::size_t> from{0};
};

// The tracer over its state: every point has a used count and an allowance, and is
// available while used < allowance; each walk lists the points it took, edge by edge. It
// works on the network's nodes; the free node first in number is the start point.
class FaceTracer {
public:
    FaceTracer(const Network& network, const std::vector<unsigned char>& bounding)
        : net_(network), used_(net_.Size(), 0), allowance_(net_.Size(), 0), free_(net_.Size()),
          position_(net_.Size(), kNotWalked), fromDown_(net_.Size()), downMeasured_(net_.Size(), false)
    {
        // A segment takes part only when it can bound a face.
        for (std::size_t r = 0; r < net_.Size(); ++r)
            allowance_[r] = bounding[net_.Index(r) / 2] ? 2 : 0;
        for (std::size_t r = 0; r < net_.Size(); ++r)
            Update(r);
    }

    TracedFaces Trace()
    {
        TracedFaces traced;
        // Each round adds a face, takes an allowance away or repeats a walk, so the tracer
        // ends; the bounds only keep a slip from hanging the host.
        const std::size_t maxRounds = 4 * net_.Size() + 10;
        bool repeated = false;
        std::vector<std::size_t> starters;
        for (std::size_t round = 0; round < maxRounds; ++round) {
            const std::size_t start = free_.First();
            if (start == NodeSet::npos)
                break;
            starters.clear();
            for (std::size_t c : net_.Near(start))
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
                corners.push_back(net_.Point(walk[k]));
            if (walk.size() >= 6 && CTools::IsPtArrayClockWise(corners)) {
                traced.rings.push_back(std::move(corners));
                for (std::size_t k = 0; k < walk.size(); k += 2)
                    traced.sides.push_back(static_cast<std::uint32_t>(walk[k]));
                traced.from.push_back(traced.sides.size());
                repeated = false;
            } else if (walk.size() >= 6 && !repeated) {
                Release(walk);
                repeated = true;
            } else {
                repeated = false;
            }
        }
        return traced;
    }

private:
    enum class Outcome { Closed, DeadEnd, TooLong };
    static constexpr long kNotWalked = -1;

    bool Available(std::size_t r) const { return used_[r] < allowance_[r]; }

    // Keeps the set of free nodes (used 0, allowance above 0) up to date for node r.
    void Update(std::size_t r)
    {
        if (used_[r] == 0 && allowance_[r] > 0)
            free_.Insert(r);
        else
            free_.Erase(r);
    }

    void CloseSegment(std::size_t r)
    {
        allowance_[r] = allowance_[net_.Partner(r)] = 0;
        Update(r);
        Update(net_.Partner(r));
    }

    void Release(std::span<const std::size_t> walk)
    {
        for (std::size_t r : walk) {
            --used_[r];
            Update(r);
        }
    }

    void Take(std::size_t first, std::size_t second)
    {
        for (const std::size_t r : {first, second}) {
            ++used_[r];
            Update(r);
            position_[r] = static_cast<long>(walk_.size());
            walk_.push_back(r);
        }
    }

    // The position in the walk of its last entry within tol of node r, or kNotWalked: the
    // nodes within tol of r are r and its neighbours, and each knows where the walk took it
    // last.
    long LastNear(std::size_t r) const
    {
        long last = position_[r];
        for (std::size_t c : net_.Near(r))
            last = std::max(last, position_[c]);
        return last;
    }

    // The first edge leaves the start point along the segment turned farthest
    // counter-clockwise from straight down; it runs upward (downward on a repeated walk).
    // A point stays a candidate start for several rounds: its angle is measured once.
    std::size_t FirstEdge(std::size_t start, const std::vector<std::size_t>& starters)
    {
        const auto angle = [&](std::size_t from) {
            if (!downMeasured_[from]) {
                GeVector3d v = net_.Direction(from);
                v.Normalize(kUnitTolerance);
                fromDown_[from] = kDown.AngleTo(v, kUp, kAngleTolerance);
                downMeasured_[from] = true;
            }
            return fromDown_[from];
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
        for (std::size_t r : walk_)
            position_[r] = kNotWalked;
        walk_.clear();
        ring = 0;
        const std::size_t near = FirstEdge(start, starters);
        const std::size_t far = net_.Partner(near);
        std::size_t first = net_.Point(far).y < net_.Point(near).y ? far : near;
        if (repeated)
            first = net_.Partner(first);
        Take(first, net_.Partner(first));
        std::size_t current = net_.Partner(first);

        const std::size_t maxSteps = net_.Size();  // twice the segments, in points
        for (std::size_t step = 0; step < maxSteps; ++step) {
            // The turns are measured from the back vector, which runs along the segment the
            // walk arrived by.
            std::size_t chosen = net_.Size();
            double smallest = 0.0;
            const std::span<const std::uint32_t> candidates = net_.Near(current);
            const std::span<const double> turns = net_.Turns(current);
            for (std::size_t e = 0; e < candidates.size(); ++e) {
                if (!Available(candidates[e]))
                    continue;
                if (chosen == net_.Size() || turns[e] < smallest) {
                    chosen = candidates[e];
                    smallest = turns[e];
                }
            }
            if (chosen == net_.Size())
                return Outcome::DeadEnd;
            const std::size_t next = net_.Partner(chosen);
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

    const Network& net_;
    std::vector<int> used_;
    std::vector<int> allowance_;
    NodeSet free_;                   // the free nodes
    std::vector<std::size_t> walk_;  // the nodes the current walk took, edge by edge
    std::vector<long> position_;     // where in walk_ each node was taken last
    std::vector<double> fromDown_;   // the first-edge angle of each node, once measured
    std::vector<bool> downMeasured_;
};

// The same finite point: at distance 0, within every tolerance.
bool Identical(const GePoint3d& p, const GePoint3d& q)
{
    return p.x == q.x && p.y == q.y && p.z == q.z && std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// IsPtArraySame(a, b, 0, tol) without copying the rings for the common answers. Most faces
// near a ring fail at once: the test pairs a's first point with some point of b in every
// rotation and direction it tries. A ring that is a traced face mostly has the face's very
// points from another start, which the test accepts as every distance is 0.
bool SameRing(const GePoint3dArray& a, const GePoint3dArray& b, double tol)
{
    if (a.size() != b.size())
        return false;
    if (a.empty())
        return true;
    if (std::none_of(b.begin(), b.end(), [&](const GePoint3d& p) { return a[0].DistanceTo(p) < tol; }))
        return false;
    const auto start = std::find_if(b.begin(), b.end(), [&](const GePoint3d& p) { return Identical(a[0], p); });
    if (start != b.end()) {
        const std::size_t k = static_cast<std::size_t>(start - b.begin());
        bool rotated = true;
        for (std::size_t j = 1; j < a.size() && rotated; ++j)
            rotated = Identical(a[j], b[(k + j) % b.size()]);
        if (rotated)
            return true;
    }
    return CTools::IsPtArraySame(a, b, 0, tol) != 0;
}

// The face loops of one cycle of sides (each side followed by the sharpest right turn at the
// corner it runs into), which holds one face on its right: the cycle is cut wherever it comes
// back to a corner it left before, the latest such departure first. A bridge, with the face
// on both sides (a line from the face's outline to an island, or between two islands), comes
// out as loops of two sides, there and back; an island whose corner lies on the outline (a
// corner on a corner) comes apart from the outline as a bridge of no length would. Every loop
// is simple; the clockwise one, if any, is the outline of a bounded face, the others are the
// edges of its islands seen from outside. `depart` holds npos for every corner and is left so.
std::vector<std::vector<std::size_t>> FaceLoops(const Network& net, std::span<const std::size_t> corner,
                                                std::span<const std::size_t> cycle, std::vector<std::size_t>& depart)
{
    constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::vector<std::vector<std::size_t>> loops;
    std::vector<std::size_t> stack, before;  // sides on the way, and the departure each hid
    const auto pop = [&](std::size_t from) {
        while (stack.size() > from) {
            depart[corner[stack.back()]] = before.back();
            stack.pop_back();
            before.pop_back();
        }
    };
    for (const std::size_t s : cycle) {
        before.push_back(depart[corner[s]]);
        depart[corner[s]] = stack.size();
        stack.push_back(s);
        const std::size_t back = depart[corner[net.Partner(s)]];
        if (back == npos)
            continue;
        loops.emplace_back(stack.begin() + static_cast<std::ptrdiff_t>(back), stack.end());
        pop(back);
    }
    pop(0);
    return loops;
}

// The bounded faces of the network: each side of a taking part segment bounds exactly one
// face, so the cycles of sides (sharpest right turn at every meeting point) are the faces'
// boundaries, and the clockwise loop of each (bridges and islands cut off) is a bounded
// face's outline. The tracer's walks miss some: they start only at points no walk has used
// yet, so a face all of whose sides are shared with faces traced before it (a piece of a
// balcony outline reaching into the building) is never started, and a walk closes its ring
// at the first point it meets again, so a face whose outline touches itself is never closed.
// They also give some twice: a point may serve two walks, whichever way they run, and a walk
// that goes out along a bridge and back may trace a face a second time. So each face the
// tracer gave is kept, first and as it was traced, when it is one of these faces and the
// first to be so; the faces none of them is follow. Points, sides and corners are taken in
// index order; the work is on the network's nodes.
std::vector<GePoint3dArray> SoundFaces(const Network& net, const std::vector<unsigned char>& bounding, double tol,
                                       TracedFaces traced)
{
    std::vector<GePoint3dArray>& found = traced.rings;
    const std::size_t n = net.Size();
    // Meeting points: the nodes of taking part segments within tol of one another, chained;
    // each is named by its node of lowest index. A segment that takes no part joins nothing.
    const auto takesPart = [&](std::size_t r) { return bounding[net.Index(r) / 2] != 0; };
    std::vector<std::size_t> corner(n, n);
    std::vector<std::size_t> stack;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t root = net.Node(i);
        if (corner[root] != n || !takesPart(root))
            continue;
        stack.assign(1, root);
        corner[root] = root;
        while (!stack.empty()) {
            const std::size_t k = stack.back();
            stack.pop_back();
            for (std::size_t c : net.Near(k))
                if (corner[c] == n && takesPart(c))
                    corner[c] = root, stack.push_back(c);
        }
    }
    // Sides: node r stands for the side leaving corner[r] along its segment. The sides of
    // each corner, ascending by index, are leaving[from[c], from[c + 1]).
    std::vector<bool> side(n);
    for (std::size_t r = 0; r < n; ++r)
        side[r] = takesPart(r) && corner[r] != corner[net.Partner(r)];
    std::vector<std::size_t> from(n + 1, 0);
    for (std::size_t r = 0; r < n; ++r)
        if (side[r])
            ++from[corner[r] + 1];
    for (std::size_t c = 0; c < n; ++c)
        from[c + 1] += from[c];
    std::vector<std::size_t> leaving(from[n]);
    {
        std::vector<std::size_t> fill(from.begin(), from.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            if (const std::size_t r = net.Node(i); side[r])
                leaving[fill[corner[r]]++] = r;
    }
    // The side after each side s: the sharpest right turn at the corner s runs into, found
    // corner by corner in node order. The sides there are mostly the nodes within tol of
    // s's far end, whose turns are measured already.
    std::vector<std::size_t> after(n, n);
    for (std::size_t at = 0; at < n; ++at) {
        if (!side[at])
            continue;
        const std::span<const std::uint32_t> near = net.Near(at);
        const std::span<const double> turns = net.Turns(at);
        std::size_t e = 0;
        std::size_t best = n;
        double smallest = 0.0;
        for (std::size_t k = from[corner[at]]; k < from[corner[at] + 1]; ++k) {
            const std::size_t out = leaving[k];
            if (out == at)
                continue;
            while (e < near.size() && net.Index(near[e]) < net.Index(out))
                ++e;
            const double a = e < near.size() && near[e] == out
                                 ? turns[e]
                                 : net.Direction(at).AngleTo(net.Direction(out), kUp, kAngleTolerance);
            if (best == n || a < smallest)
                best = out, smallest = a;
        }
        after[net.Partner(at)] = best == n ? at : best;
    }

    // A traced face whose sides follow one another as above, with the face's very points at
    // its corners, is a cycle known before it is walked: a simple clockwise loop, a bounded
    // face. The first traced face of each such cycle is kept; a later one is the same face
    // again.
    std::vector<std::size_t> cycleOf(n, n);  // the cycle of each walked side, numbered from found.size()
    std::vector<bool> kept(found.size(), false), settled(found.size(), false);
    for (std::size_t f = 0; f < found.size(); ++f) {
        const std::span<const std::uint32_t> sides =
            std::span<const std::uint32_t>(traced.sides).subspan(traced.from[f], traced.from[f + 1] - traced.from[f]);
        bool closed = !sides.empty();
        for (std::size_t j = 0; j < sides.size() && closed; ++j)
            closed = side[sides[j]] && after[sides[j]] == sides[(j + 1) % sides.size()] &&
                     Identical(net.Point(corner[sides[j]]), found[f][j]);
        if (!closed)
            continue;
        settled[f] = true;
        kept[f] = cycleOf[sides[0]] == n;
        if (kept[f])
            for (std::size_t s : sides)
                cycleOf[s] = f;
    }

    // Every other cycle, walked once; the clockwise loops of its face.
    std::vector<GePoint3dArray> faces;  // the bounded faces no kept traced face is
    std::vector<std::size_t> depart(n, static_cast<std::size_t>(-1));
    std::vector<bool> visited(n, false);  // the corners of the cycle being walked
    std::vector<std::size_t> cycle;
    std::size_t cycles = found.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t first = net.Node(i);
        if (cycleOf[first] != n || !side[first])
            continue;
        cycle.clear();
        bool simple = true;
        for (std::size_t s = first; cycleOf[s] == n && cycle.size() <= n; s = after[s]) {
            cycleOf[s] = cycles;
            simple = simple && !visited[corner[s]];
            visited[corner[s]] = true;
            cycle.push_back(s);
        }
        ++cycles;
        for (std::size_t s : cycle)
            visited[corner[s]] = false;
        const auto add = [&](std::span<const std::size_t> loop) {
            GePoint3dArray ring;
            ring.reserve(loop.size());
            for (std::size_t s : loop)
                ring.push_back(net.Point(corner[s]));
            if (ring.size() >= 3 && CTools::IsPtArrayClockWise(ring))
                faces.push_back(std::move(ring));
        };
        if (simple)
            add(cycle);
        else
            for (const std::vector<std::size_t>& loop : FaceLoops(net, corner, cycle, depart))
                add(loop);
    }

    // The other traced faces are kept when they are one of those faces, not yet claimed.
    std::vector<double> cx, cy;
    const auto mean = [](const GePoint3dArray& ring, double& x, double& y) {
        x = y = 0.0;
        for (const GePoint3d& p : ring)
            x += p.x / ring.size(), y += p.y / ring.size();
    };
    for (const GePoint3dArray& face : faces) {
        cx.emplace_back();
        cy.emplace_back();
        mean(face, cx.back(), cy.back());
    }
    const tools::PointGrid means(cx, cy, tol);
    std::vector<bool> claimed(faces.size(), false);
    for (std::size_t f = 0; f < found.size(); ++f) {
        if (settled[f])
            continue;
        double x = 0.0, y = 0.0;
        mean(found[f], x, y);
        means.ForEachNear(x, y, [&](std::size_t g) {
            kept[f] = !claimed[g] && SameRing(faces[g], found[f], tol);
            claimed[g] = claimed[g] || kept[f];
            return !kept[f];
        });
    }

    std::vector<GePoint3dArray> sound;
    for (std::size_t f = 0; f < found.size(); ++f)
        if (kept[f])
            sound.push_back(std::move(found[f]));
    for (std::size_t g = 0; g < faces.size(); ++g)
        if (!claimed[g])
            sound.push_back(std::move(faces[g]));
    return sound;
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
    // Walls that meet within the splitter's margin meet here too; what that shortens below
    // the tolerance goes.
    tools::JoinEndsWithinMargin(segments, tol);
    PrepareLevelNetwork(segments, tol);
    if (segments.size() < 6)
        return;
    const Network network(segments, tol, Network::Measure::Turns);
    const std::vector<unsigned char> bounding = BoundingSegments(network);
    faces = SoundFaces(network, bounding, tol, FaceTracer(network, bounding).Trace());
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
    const Network network(pts, tol, Network::Measure::NoTurns);
    std::vector<bool> removed(pts.size(), false);
    std::size_t remaining = pts.size();
    const auto remove = [&](std::size_t i) {
        removed[i] = removed[OtherEnd(i)] = true;
        remaining -= 2;
    };
    const auto nearRemaining = [&](std::size_t i) {
        std::vector<std::size_t> found;
        for (std::size_t c : network.Near(network.Node(i)))
            if (!removed[network.Index(c)])
                found.push_back(network.Index(c));
        return found;
    };

    // Every pass removes at least one segment. The nodes come in start order (x, then y,
    // then index), and a removed point never comes back: the start is the first node not yet
    // removed, found by a cursor that only moves on.
    std::size_t cursor = 0;
    while (remaining >= 3) {
        while (removed[network.Index(cursor)])
            ++cursor;
        const std::size_t start = network.Index(cursor);
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
        GePoint3dArray ring{pts[start], pts[OtherEnd(best)]};
        std::size_t current = OtherEnd(best);
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
                if (pts[OtherEnd(c)].DistanceTo(pts[start]) <= tol) {
                    chosen = c;
                    break;
                }
                const double a = back.AngleTo(Direction(pts, c), down, kAngleTolerance);
                if (a < sharpest) {
                    sharpest = a;
                    chosen = c;
                }
            }
            const std::size_t far = OtherEnd(chosen);
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
