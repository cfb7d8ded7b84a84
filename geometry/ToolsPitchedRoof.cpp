// The pitched-roof surface generator of CTools (powudingzcx_c): one plane face per eave edge
// of a footprint with holes, each edge rising at its own slope, bounded by the lines where
// its plane meets the others.
//
// How a face is found: every edge's plane is cut by its two hips (the lines it shares with
// its neighbours) into a first region, a triangle or a strip up to the ceiling. Where the
// line common to two planes runs inside both first regions it is a candidate boundary of
// each. The candidates of a face are cut where they cross and walked from the eave by the
// sharpest turn towards the inside; the ring that closes is the face. Faces of one plane
// that meet (on either side of a bay, say) are walked on their own first and then merged.
//
// Everything is worked in float, with the double tolerance literals the single-precision
// primitives use: the faces depend on both.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "PlanLines.h"
#include "PlanSplitters.h"
#include "Tools.h"

namespace {

using tools::FloatSegment;

// The far point of each edge's plane record lies this far to the inside of the edge.
constexpr float kReference = 6000.0f;
// Hips end at this height while the roof stays below it.
constexpr float kCeiling = 20000.0f;
// A taller roof gets its ceiling this far above its highest possible point.
constexpr float kCeilingMargin = 1000.0f;
constexpr float kFarAway = 1e7f;
// Planes whose coefficients agree within these are one plane (for the groups of faces).
constexpr double kSameCoefficient = 0.1;
constexpr double kSameOffset = 1.0;
// Coefficients, their differences and determinants below this count as zero.
constexpr double kZero = 0.01;
// Points within this on x and y are one point; pieces must be longer than this.
constexpr double kJoin = 1.0;
// The crossings of a line are sorted along the axis on which they spread, judged at the
// first crossing at least this far from the first one.
constexpr double kSortSpread = 10.0;
constexpr float kSmallestTurnSeed = 1000.0f;
constexpr float kLargestTurnSeed = -1000.0f;
// What a caller's output arrays hold (1-based): face counts and face vertices.
constexpr std::size_t kMaxFaces = 999;
constexpr std::size_t kMaxFaceVertices = 99999;
constexpr int kMaxVertices = 999;

struct Point3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// A plane A x + B y + C z + D = 0, scaled so that its largest coefficient is 1.
struct Plane {
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
};

// The footprint after orientation: vertex k (1-based over all loops) starts edge k and
// face k.
struct Footprint {
    int count = 0;
    std::vector<float> x, y, slope, base;  // 1-based
    std::vector<int> next, prev;           // within the vertex's loop
    float minX = kFarAway, maxX = -kFarAway, minY = kFarAway, maxY = -kFarAway;

    bool Neighbours(int k, int j) const { return next[k] == j || prev[k] == j; }
};

// A plan polygon of 3 or 4 corners, 1-based for dianquanliwaizcx.
struct Region {
    int size = 0;
    float x[5] = {}, y[5] = {};

    bool Holds(float px, float py) const
    {
        return CTools::dianquanliwaizcx(px, py, x, y, size, static_cast<float>(kJoin)) != 0;
    }
    // Whether a point could be held by both regions: it lies within the join tolerance of
    // each, so their boxes grown by it must meet.
    bool MayShareWith(const Region& o) const
    {
        const auto [loX, hiX] = std::minmax_element(x + 1, x + size + 1);
        const auto [loY, hiY] = std::minmax_element(y + 1, y + size + 1);
        const auto [oLoX, oHiX] = std::minmax_element(o.x + 1, o.x + o.size + 1);
        const auto [oLoY, oHiY] = std::minmax_element(o.y + 1, o.y + o.size + 1);
        const double margin = 2.0 * kJoin + 1.0;
        return *loX <= *oHiX + margin && *oLoX <= *hiX + margin && *loY <= *oHiY + margin && *oLoY <= *hiY + margin;
    }
};

// The plane's edge record: its start at the base (P1) and the reference point (P3).
struct EdgeRecord {
    Plane plane;
    Point3 start, reference;
};

// The hip of a vertex, from the vertex at its loop's base to the ceiling.
struct Hip {
    Point3 from, to;
};

enum class Turn { Smallest, Largest };

// A walk through pieces: closed when it came back to its first point.
struct Chain {
    bool closed = false;
    std::vector<Point3> points;
    std::vector<bool> taken;  // per piece
};

using Ring = std::vector<Point3>;

bool Finite(float v) { return std::isfinite(v); }

float Square(float v) { return v * v; }

// The cross product at vertex i with its previous and next vertex: negative where a
// clockwise loop turns right (a convex corner of the roof region).
float CornerTurn(const Footprint& f, int i)
{
    const int p = f.prev[i];
    const int n = f.next[i];
    return (f.x[p] - f.x[i]) * (f.y[i] - f.y[n]) - (f.y[p] - f.y[i]) * (f.x[i] - f.x[n]);
}

// Whether the input can be roofed; the loops' vertex counts as read.
bool CheckInput(int nLoops, const int* loopPointCounts, const float* loopBase, const float* x, const float* y,
                const float* slope, std::vector<int>& counts)
{
    if (nLoops < 1 || loopPointCounts == nullptr || loopBase == nullptr || x == nullptr || y == nullptr ||
        slope == nullptr)
        return false;
    int total = 0;
    for (int l = 1; l <= nLoops; ++l) {
        const int n = loopPointCounts[l];
        if (n < 3 || n > kMaxVertices - total || !Finite(loopBase[l]))
            return false;
        total += n;
        counts.push_back(n);
    }
    int first = 1;
    for (const int n : counts) {
        for (int k = first; k < first + n; ++k) {
            const int next = k + 1 < first + n ? k + 1 : first;
            const float dx = std::fabs(x[k] - x[next]);
            const float dy = std::fabs(y[k] - y[next]);
            // An edge the join tolerance cannot tell from a point has no direction, so its
            // plane, and the hips of both its ends, would be arbitrary.
            const bool tooShort = dx <= kJoin && dy <= kJoin;
            if (!Finite(x[k]) || !Finite(y[k]) || tooShort || !(slope[k] > 0.0f && slope[k] < tools::kHalfPi))
                return false;
        }
        first += n;
    }
    return true;
}

// Copies the loops, turning each so that the roof lies to the right of every edge (the
// outer loop clockwise, holes counter-clockwise); a loop turned round is written back to
// the caller's arrays with each edge keeping its slope. Extents are taken over all loops.
Footprint Orient(std::span<const int> counts, const float* loopBase, float* x, float* y, float* slope)
{
    Footprint f;
    for (const int n : counts)
        f.count += n;
    const std::size_t size = static_cast<std::size_t>(f.count) + 1;
    f.x.assign(size, 0.0f);
    f.y.assign(size, 0.0f);
    f.slope.assign(size, 0.0f);
    f.base.assign(size, 0.0f);
    f.next.assign(size, 0);
    f.prev.assign(size, 0);
    int first = 1;
    for (std::size_t l = 0; l < counts.size(); ++l) {
        const int n = counts[l];
        const int last = first + n - 1;
        int lowest = first;
        for (int k = first; k <= last; ++k) {
            f.x[k] = x[k];
            f.y[k] = y[k];
            f.slope[k] = slope[k];
            f.base[k] = loopBase[l + 1];
            f.next[k] = k < last ? k + 1 : first;
            f.prev[k] = k > first ? k - 1 : last;
            f.minX = std::min(f.minX, x[k]);
            f.maxX = std::max(f.maxX, x[k]);
            f.minY = std::min(f.minY, y[k]);
            f.maxY = std::max(f.maxY, y[k]);
            if (x[k] < x[lowest])
                lowest = k;
        }
        const float c = CornerTurn(f, lowest);
        const bool reverse = l == 0 ? c > 0.0f : c < 0.0f;
        if (reverse) {
            // New edge j runs from old vertex n-1-j to n-2-j: old edge n-2-j turned round.
            for (int j = 0; j < n; ++j) {
                f.x[first + j] = x[last - j];
                f.y[first + j] = y[last - j];
                f.slope[first + j] = slope[first + (n - 2 - j + n) % n];
            }
            for (int k = first; k <= last; ++k) {
                x[k] = f.x[k];
                y[k] = f.y[k];
                slope[k] = f.slope[k];
            }
        }
        first = last + 1;
    }
    return f;
}

// The plane of edge k: through its eave at the base and the point kReference to its right
// at base + kReference tan(slope), scaled by its largest coefficient.
EdgeRecord EdgePlane(const Footprint& f, int k)
{
    const int e = f.next[k];
    const float x1 = f.x[k], y1 = f.y[k], base = f.base[k];
    const float a = CTools::baaf(x1, y1, f.x[e], f.y[e]);
    // The end turned about the start into the edge's frame, moved to the right there, and
    // turned back.
    const float cosBack = std::cos(-a), sinBack = std::sin(-a);
    const float tx = x1 + (f.x[e] - x1) * cosBack - (f.y[e] - y1) * sinBack;
    const float ty = y1 + (f.x[e] - x1) * sinBack + (f.y[e] - y1) * cosBack - kReference;
    const float cosA = std::cos(a), sinA = std::sin(a);
    EdgeRecord r;
    r.start = {x1, y1, base};
    r.reference = {x1 + (tx - x1) * cosA - (ty - y1) * sinA, y1 + (tx - x1) * sinA + (ty - y1) * cosA,
                   base + kReference * std::sin(f.slope[k]) / std::cos(f.slope[k])};
    const float ux = f.x[e] - x1, uy = f.y[e] - y1, uz = 0.0f;
    const float vx = r.reference.x - x1, vy = r.reference.y - y1, vz = r.reference.z - base;
    float pa = uy * vz - uz * vy;
    float pb = uz * vx - ux * vz;
    float pc = ux * vy - uy * vx;
    const float ma = std::fabs(pa), mb = std::fabs(pb), mc = std::fabs(pc);
    // The strictly largest, tested A, B, C; where two tie for largest, the first of them (a
    // 45-degree slope on an axis edge ties B or A with C, and an unscaled plane would defeat
    // every tolerance below).
    float scale = pc;
    if (ma > mb && ma > mc)
        scale = pa;
    else if (mb > ma && mb > mc)
        scale = pb;
    else if (mc > ma && mc > mb)
        scale = pc;
    else if (ma >= mb && ma >= mc)
        scale = pa;
    else if (mb >= mc)
        scale = pb;
    pa /= scale;
    pb /= scale;
    pc /= scale;
    r.plane = {pa, pb, pc, -(pa * x1 + pb * y1 + pc * base)};
    return r;
}

bool SamePlane(const Plane& p, const Plane& q)
{
    const float da = std::fabs(p.a - q.a), db = std::fabs(p.b - q.b), dc = std::fabs(p.c - q.c);
    const float dd = std::fabs(p.d - q.d);
    return da < kSameCoefficient && db < kSameCoefficient && dc < kSameCoefficient && dd < kSameOffset;
}

bool DistinctPlanes(const Plane& p, const Plane& q)
{
    const float da = std::fabs(p.a - q.a), db = std::fabs(p.b - q.b), dc = std::fabs(p.c - q.c);
    return da > kZero || db > kZero || dc > kZero;
}

// Groups of edges in one plane: an edge that has a concave end opens a group with every
// later ungrouped edge in its plane; the group's number is the opening edge's index.
std::vector<int> CoplanarGroups(const Footprint& f, std::span<const EdgeRecord> edges, std::span<const int> corner)
{
    std::vector<int> group(edges.size(), 0);
    for (int k = 1; k <= f.count; ++k) {
        if ((corner[k] == 1 && corner[f.next[k]] == 1) || group[k] != 0)
            continue;
        for (int j = k + 1; j <= f.count; ++j) {
            if (group[j] == 0 && SamePlane(edges[k].plane, edges[j].plane)) {
                group[j] = k;
                group[k] = k;
            }
        }
    }
    return group;
}

// The hip of vertex k: the line its two planes share, from the vertex at the base to the
// ceiling. It is found where the previous edge's line from its start to its reference
// point meets the plane of edge k. That line can run parallel to the plane (the reference
// distance along an eave that ends in a square valley, say); the hip then takes the
// direction common to both planes. Where the eaves run straight on in one plane, or the
// planes meet only along the eave, the hip runs square to the previous edge, through its
// reference point.
Hip VertexHip(const Footprint& f, std::span<const EdgeRecord> edges, int k, float ceiling)
{
    const EdgeRecord& previous = edges[f.prev[k]];
    const Plane& p = edges[k].plane;
    const Plane& q = previous.plane;
    const Point3& s = previous.start;
    const float base = f.base[k];
    const auto reach = [&](float dx, float dy, float dz) {
        const float factor = (ceiling - base) / dz;
        return Point3{f.x[k] + dx * factor, f.y[k] + dy * factor, ceiling};
    };
    const auto through = [&](const Point3& point) {
        return reach(point.x - f.x[k], point.y - f.y[k], point.z - base);
    };
    const auto finite = [](const Point3& e) { return Finite(e.x) && Finite(e.y); };
    // A turn of less than 0.01 rad between eaves of one plane is a straight run: the two
    // planes meet nowhere but in float noise there.
    const int before = f.prev[k], after = f.next[k];
    const float inLength = std::sqrt(Square(f.x[k] - f.x[before]) + Square(f.y[k] - f.y[before]));
    const float outLength = std::sqrt(Square(f.x[after] - f.x[k]) + Square(f.y[after] - f.y[k]));
    const bool straight = std::fabs(CornerTurn(f, k)) <= kZero * inLength * outLength;
    if (!(straight && SamePlane(q, p))) {
        const float dx = previous.reference.x - s.x, dy = previous.reference.y - s.y;
        const float dz = previous.reference.z - s.z;
        const float t = (p.a * s.x + p.b * s.y + p.c * s.z + p.d) / (p.a * dx + p.b * dy + p.c * dz);
        const Point3 end = through({s.x - t * dx, s.y - t * dy, s.z - t * dz});
        if (finite(end))
            return {{f.x[k], f.y[k], base}, end};
        const Point3 along = reach(q.b * p.c - q.c * p.b, q.c * p.a - q.a * p.c, q.a * p.b - q.b * p.a);
        if (finite(along))
            return {{f.x[k], f.y[k], base}, along};
    }
    return {{f.x[k], f.y[k], base}, through(previous.reference)};
}

// The first region of face k: the triangle under the crossing of its hips when that lies
// inside, else the strip between them up to their ends.
Region FirstRegion(const Footprint& f, std::span<const Hip> hips, int k)
{
    const int e = f.next[k];
    const Hip& h1 = hips[k];
    const Hip& h2 = hips[e];
    float cx = 0.0f, cy = 0.0f;
    const bool parallel = tools::CrossInPlan(h1.from.x, h1.from.y, h1.to.x, h1.to.y, h2.from.x, h2.from.y, h2.to.x,
                                             h2.to.y, cx, cy) == tools::PlanCrossing::Parallel;
    bool inside = false;
    if (!parallel) {
        const float a = -CTools::baaf(f.x[k], f.y[k], f.x[e], f.y[e]);
        const float turnedY = f.y[k] + (cx - f.x[k]) * std::sin(a) + (cy - f.y[k]) * std::cos(a);
        inside = turnedY < f.y[k];
    }
    Region r;
    r.x[1] = f.x[k];
    r.y[1] = f.y[k];
    r.x[2] = f.x[e];
    r.y[2] = f.y[e];
    if (inside) {
        r.size = 3;
        r.x[3] = cx;
        r.y[3] = cy;
    } else {
        r.size = 4;
        r.x[3] = h2.to.x;
        r.y[3] = h2.to.y;
        r.x[4] = h1.to.x;
        r.y[4] = h1.to.y;
    }
    return r;
}

// Two points of the line the planes of faces k and j share, or false when the three ways
// of solving for it all find the planes (nearly) parallel.
bool CommonLine(const Plane& k, const Plane& j, const Footprint& f, Point3& p1, Point3& p2)
{
    const float det1 = k.b * j.a - k.a * j.b;
    const float det2 = k.c * j.b - k.b * j.c;
    const float det3 = k.c * j.a - k.a * j.c;
    if (std::fabs(k.a) > kZero && std::fabs(det1) > kZero) {
        const auto at = [&](float z) {
            const float y = (k.a * (j.c * z + j.d) - j.a * (k.c * z + k.d)) / det1;
            return Point3{-(k.b * y + k.c * z + k.d) / k.a, y, z};
        };
        p1 = at(0.0f);
        p2 = at(kCeiling);
        return true;
    }
    if (std::fabs(k.b) > kZero && std::fabs(det2) > kZero) {
        const auto at = [&](float x) {
            const float z = (k.b * (j.a * x + j.d) - j.b * (k.a * x + k.d)) / det2;
            return Point3{x, -(k.a * x + k.c * z + k.d) / k.b, z};
        };
        p1 = at(f.minX);
        p2 = at(f.maxX);
        return true;
    }
    if (std::fabs(k.a) > kZero && std::fabs(det3) > kZero) {
        const auto at = [&](float y) {
            const float z = (k.a * (j.b * y + j.d) - j.a * (k.b * y + k.d)) / det3;
            return Point3{-(k.b * y + k.c * z + k.d) / k.a, y, z};
        };
        p1 = at(f.minY);
        p2 = at(f.maxY);
        return true;
    }
    return false;
}

// The crossings of a line with two regions' sides, 1-based for paixuzcx: at most 4 each.
struct Crossings {
    int n = 0;
    float x[9] = {}, y[9] = {}, z[9] = {};
};

// Adds the crossings of the line p1-p2 with the region's sides (each side's range grown by
// the join tolerance on its governing axis), with heights taken along the line.
void AddCrossings(const Point3& p1, const Point3& p2, const Region& r, Crossings& c)
{
    const float lineDx = std::fabs(p2.x - p1.x), lineDy = std::fabs(p2.y - p1.y);
    for (int i = 1; i <= r.size; ++i) {
        const int e = i < r.size ? i + 1 : 1;
        float cx = 0.0f, cy = 0.0f;
        if (tools::CrossInPlan(p1.x, p1.y, p2.x, p2.y, r.x[i], r.y[i], r.x[e], r.y[e], cx, cy) ==
            tools::PlanCrossing::Parallel)
            continue;
        const float sideDx = std::fabs(r.x[e] - r.x[i]), sideDy = std::fabs(r.y[e] - r.y[i]);
        const bool byX = sideDx >= sideDy;
        const float v = byX ? cx : cy;
        const float lo = byX ? std::min(r.x[i], r.x[e]) : std::min(r.y[i], r.y[e]);
        const float hi = byX ? std::max(r.x[i], r.x[e]) : std::max(r.y[i], r.y[e]);
        if (v < lo - kJoin || v > hi + kJoin)
            continue;
        const float z = lineDy > lineDx ? p1.z + (cy - p1.y) * (p2.z - p1.z) / (p2.y - p1.y)
                                        : p1.z + (cx - p1.x) * (p2.z - p1.z) / (p2.x - p1.x);
        ++c.n;
        c.x[c.n] = cx;
        c.y[c.n] = cy;
        c.z[c.n] = z;
    }
}

// The stretches of the line common to faces k and j that lie in both first regions, as
// candidates of face k tagged j.
void AddSharedStretches(const Point3& p1, const Point3& p2, const Region& rk, const Region& rj, int j,
                        std::vector<FloatSegment>& candidates)
{
    Crossings c;
    AddCrossings(p1, p2, rk, c);
    AddCrossings(p1, p2, rj, c);
    int n = c.n;
    if (n < 2)
        return;
    float* xs = c.x;
    float* ys = c.y;
    float* zs = c.z;
    int probe = n;
    for (int i = 2; i <= n; ++i) {
        const float dx = xs[i] - xs[1], dy = ys[i] - ys[1];
        if (std::sqrt(dx * dx + dy * dy) > kSortSpread) {
            probe = i;
            break;
        }
    }
    const float spreadX = std::fabs(xs[probe] - xs[1]), spreadY = std::fabs(ys[probe] - ys[1]);
    int a[9] = {}, b[9] = {};
    CTools::paixuzcx(1, spreadY > spreadX ? 2 : 1, xs, ys, zs, a, b, n);
    for (int i = 1; i < n; ++i) {
        const float mx = (xs[i] + xs[i + 1]) * 0.5f, my = (ys[i] + ys[i + 1]) * 0.5f;
        const float dx = xs[i + 1] - xs[i], dy = ys[i + 1] - ys[i];
        const bool finite = Finite(zs[i]) && Finite(zs[i + 1]);
        if (finite && rk.Holds(mx, my) && rj.Holds(mx, my) && std::sqrt(dx * dx + dy * dy) > kJoin)
            candidates.push_back({xs[i], ys[i], zs[i], xs[i + 1], ys[i + 1], zs[i + 1], j});
    }
}

bool Near(const Point3& p, float x, float y) { return std::fabs(p.x - x) < kJoin && std::fabs(p.y - y) < kJoin; }

// Walks the pieces from the first one. At each point every untaken piece that ends there is
// taken; of their far ends the one with the smallest (or largest) turn from the way back
// is the next point. Each step takes a piece, so the walk ends.
Chain Walk(std::span<const FloatSegment> pieces, Turn turn)
{
    Chain chain;
    if (pieces.empty())
        return chain;
    std::vector<bool>& taken = chain.taken;
    taken.assign(pieces.size(), false);
    taken[0] = true;
    chain.points = {{pieces[0].x1, pieces[0].y1, pieces[0].z1}, {pieces[0].x2, pieces[0].y2, pieces[0].z2}};
    std::vector<Point3> options;
    while (true) {
        const Point3 current = chain.points.back();
        const Point3 previous = chain.points[chain.points.size() - 2];
        options.clear();
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (taken[i])
                continue;
            const FloatSegment& s = pieces[i];
            if (Near(current, s.x1, s.y1))
                options.push_back({s.x2, s.y2, s.z2});
            else if (Near(current, s.x2, s.y2))
                options.push_back({s.x1, s.y1, s.z1});
            else
                continue;
            taken[i] = true;
        }
        if (options.empty())
            return chain;
        std::size_t pick = 0;
        if (options.size() > 1) {
            const float t = -CTools::baaf(current.x, current.y, previous.x, previous.y);
            const float c = std::cos(t), s = std::sin(t);
            float best = turn == Turn::Smallest ? kSmallestTurnSeed : kLargestTurnSeed;
            for (std::size_t i = 0; i < options.size(); ++i) {
                const float ox = options[i].x - current.x, oy = options[i].y - current.y;
                const float angle = CTools::baaf(current.x, current.y, current.x + ox * c - oy * s,
                                                 current.y + ox * s + oy * c);
                // Going straight back is never a side of a face: a piece lying over the one
                // just walked (a candidate along a hip) would turn the walk round.
                if (angle < kZero || angle > tools::kTwoPi - kZero)
                    continue;
                if (turn == Turn::Smallest ? angle < best : angle > best) {
                    best = angle;
                    pick = i;
                }
            }
        }
        chain.points.push_back(options[pick]);
        if (Near(chain.points.front(), options[pick].x, options[pick].y)) {
            chain.closed = true;
            return chain;
        }
    }
}

// The ring of a closed chain (its last point repeats the first); empty for an open one.
Ring RingOf(const Chain& chain)
{
    if (!chain.closed)
        return {};
    return Ring(chain.points.begin(), chain.points.end() - 1);
}

float HighestPoint(const Chain& chain)
{
    float top = -kFarAway;
    for (const Point3& p : chain.points)
        top = std::max(top, p.z);
    return top;
}

// The sides of a ring as pieces (the closing side included).
void AddRingSides(const Ring& ring, std::vector<FloatSegment>& pieces)
{
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point3& a = ring[i];
        const Point3& b = ring[(i + 1) % ring.size()];
        pieces.push_back({a.x, a.y, a.z, b.x, b.y, b.z, 0});
    }
}

// Whether a side midpoint of the ring lies in or on the other ring.
bool Overlaps(const Ring& ring, const Ring& other)
{
    std::vector<float> ox{0.0f}, oy{0.0f};
    for (const Point3& p : other) {
        ox.push_back(p.x);
        oy.push_back(p.y);
    }
    const int n = static_cast<int>(other.size());
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point3& a = ring[i];
        const Point3& b = ring[(i + 1) % ring.size()];
        if (CTools::dianquanliwaizcx((a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, ox.data(), oy.data(), n,
                                     static_cast<float>(kJoin)) != 0)
            return true;
    }
    return false;
}

// The faces of one group of coplanar faces, given each member's ring in edge order (empty
// where its walk did not close). A member that overlaps no other unwritten member is a face
// by itself; the rest are merged by walking their pooled sides with the largest turn, ring
// after ring until the sides are used up.
void MergeGroup(const std::vector<Ring>& members, std::vector<Ring>& faces)
{
    std::vector<bool> written(members.size(), false);
    for (std::size_t m = 0; m < members.size(); ++m) {
        if (members[m].empty())
            continue;
        bool alone = true;
        for (std::size_t o = 0; o < members.size() && alone; ++o)
            if (o != m && !written[o] && !members[o].empty() && Overlaps(members[m], members[o]))
                alone = false;
        if (alone) {
            faces.push_back(members[m]);
            written[m] = true;
        }
    }
    std::vector<FloatSegment> pool;
    for (std::size_t m = 0; m < members.size(); ++m)
        if (!written[m])
            AddRingSides(members[m], pool);
    while (!pool.empty()) {
        const Chain chain = Walk(pool, Turn::Largest);
        if (chain.closed)
            faces.push_back(RingOf(chain));
        // What the walk did not take starts the next ring.
        std::vector<FloatSegment> rest;
        for (std::size_t i = 0; i < pool.size(); ++i)
            if (!chain.taken[i])
                rest.push_back(pool[i]);
        pool.swap(rest);
    }
}

// Every face of the roof, ungrouped faces in edge order first, then the groups.
std::vector<Ring> RoofFaces(const Footprint& f)
{
    const int n = f.count;
    const std::size_t size = static_cast<std::size_t>(n) + 1;

    std::vector<int> corner(size, 0);
    for (int k = 1; k <= n; ++k)
        corner[k] = CornerTurn(f, k) < 0.0f ? 1 : 2;

    std::vector<EdgeRecord> edges(size);
    for (int k = 1; k <= n; ++k)
        edges[k] = EdgePlane(f, k);
    const std::vector<int> group = CoplanarGroups(f, edges, corner);

    // No point of the roof lies farther from the eaves than half the footprint's shorter
    // side, so the hips of a taller roof than the usual ceiling allows end higher.
    float highestBase = -kFarAway, steepest = 0.0f;
    for (int k = 1; k <= n; ++k) {
        highestBase = std::max(highestBase, f.base[k]);
        steepest = std::max(steepest, f.slope[k]);
    }
    const float halfSide = 0.5f * std::min(f.maxX - f.minX, f.maxY - f.minY);
    const float highest = highestBase + halfSide * std::sin(steepest) / std::cos(steepest);
    const float ceiling = std::max(kCeiling, highest + kCeilingMargin);

    std::vector<Hip> hips(size);
    for (int k = 1; k <= n; ++k)
        hips[k] = VertexHip(f, edges, k, ceiling);
    std::vector<Region> regions(size);
    for (int k = 1; k <= n; ++k)
        regions[k] = FirstRegion(f, hips, k);

    std::vector<std::vector<FloatSegment>> candidates(size);
    for (int k = 1; k <= n; ++k) {
        const int e = f.next[k];
        std::vector<FloatSegment>& mine = candidates[k];
        mine.push_back({f.x[k], f.y[k], f.base[k], f.x[e], f.y[e], f.base[e], k});
        for (const Hip* h : {&hips[k], &hips[e]})
            mine.push_back({h->from.x, h->from.y, h->from.z, h->to.x, h->to.y, h->to.z, k});
        for (int j = 1; j <= n; ++j) {
            if (j == k || f.Neighbours(k, j) || !DistinctPlanes(edges[k].plane, edges[j].plane) ||
                !regions[k].MayShareWith(regions[j]))
                continue;
            Point3 p1, p2;
            if (CommonLine(edges[k].plane, edges[j].plane, f, p1, p2))
                AddSharedStretches(p1, p2, regions[k], regions[j], j, mine);
        }
    }

    std::vector<Ring> faces;
    std::vector<float> highestOf(size, -kFarAway);
    for (int k = 1; k <= n; ++k) {
        if (group[k] != 0)
            continue;
        const Chain chain = Walk(tools::SplitInPlan(candidates[k], false), Turn::Smallest);
        highestOf[k] = HighestPoint(chain);
        if (chain.closed)
            faces.push_back(RingOf(chain));
    }

    // A grouped face leaves out what it shares with an ungrouped face above that face's top:
    // the other face ends lower, so the line is no boundary there.
    std::vector<Ring> rings(size);
    for (int k = 1; k <= n; ++k) {
        if (group[k] == 0)
            continue;
        std::vector<FloatSegment> pieces = tools::SplitInPlan(candidates[k], true);
        std::erase_if(pieces, [&](const FloatSegment& s) {
            return group[s.tag] == 0 && (s.z1 + s.z2) * 0.5f - highestOf[s.tag] > kJoin;
        });
        rings[k] = RingOf(Walk(pieces, Turn::Smallest));
    }

    std::vector<bool> handled(size, false);
    for (int k = 1; k <= n; ++k) {
        if (group[k] == 0 || handled[k])
            continue;
        std::vector<Ring> members;
        for (int j = k; j <= n; ++j) {
            if (group[j] == group[k] && !handled[j]) {
                handled[j] = true;
                members.push_back(std::move(rings[j]));
            }
        }
        MergeGroup(members, faces);
    }
    return faces;
}

}  // namespace

void CTools::powudingzcx_c(int nLoops, const int* loopPointCounts, const float* loopBase, float* x, float* y,
                           float* slope, int* faceCount, int* faceVertexCounts, float* faceX, float* faceY,
                           float* faceZ)
{
    if (faceCount == nullptr)
        return;
    *faceCount = 0;
    std::vector<int> counts;
    if (faceVertexCounts == nullptr || faceX == nullptr || faceY == nullptr || faceZ == nullptr ||
        !CheckInput(nLoops, loopPointCounts, loopBase, x, y, slope, counts))
        return;

    const std::vector<Ring> faces = RoofFaces(Orient(counts, loopBase, x, y, slope));
    std::size_t vertices = 0;
    for (const Ring& face : faces)
        vertices += face.size();
    if (faces.size() > kMaxFaces || vertices > kMaxFaceVertices)
        return;
    int at = 0;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        faceVertexCounts[f + 1] = static_cast<int>(faces[f].size());
        for (const Point3& p : faces[f]) {
            ++at;
            faceX[at] = p.x;
            faceY[at] = p.y;
            faceZ[at] = p.z;
        }
    }
    *faceCount = static_cast<int>(faces.size());
}
