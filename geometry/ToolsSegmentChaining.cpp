// CTools segment clean-up, chaining and face tracing in double precision: the raw-array
// routines qudiaofeifaxianduanzcx, xianduanhechengzcx_c and xianduanhechengmianzcx over
// their growable cores.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "NearRepeats.h"
#include "SegmentChains.h"
#include "Tools.h"

namespace tools {

namespace {

// The clean-up tolerance of both chaining routines.
constexpr double kCleanTolerance = 1.0;
// The start value of the face tracer's search for the smallest turn.
constexpr float kNoTurn = 10000.0f;

bool Near(const GePoint3d& a, const GePoint3d& b, double tol)
{
    return std::fabs(a.x - b.x) < tol && std::fabs(a.y - b.y) < tol && std::fabs(a.z - b.z) < tol;
}

// The ends of a segment list, indexed for "within tol" searches.
class SegmentEnds {
public:
    SegmentEnds(const std::vector<Segment>& segments, double tol) : segments_(segments), tol_(tol), grid_(Grid())
    {
    }

    // Calls visit(segment, atStart) for every end within tol of pt, in no particular order.
    template <typename Visit>
    void ForEachAt(const GePoint3d& pt, Visit visit) const
    {
        grid_.ForEachNear(pt.x, pt.y, [&](std::size_t id) {
            const Segment& s = segments_[id / 2];
            const bool atStart = id % 2 == 0;
            if (Near(atStart ? s.start : s.end, pt, tol_))
                visit(id / 2, atStart);
            return true;
        });
    }

    // The segments with an end within tol of pt, in list order, each once with the end that
    // touches (its start when both do).
    std::vector<std::pair<std::size_t, bool>> At(const GePoint3d& pt) const
    {
        std::vector<std::pair<std::size_t, bool>> found;
        ForEachAt(pt, [&](std::size_t seg, bool atStart) { found.emplace_back(seg, atStart); });
        const auto startFirst = [](const auto& a, const auto& b) {
            return a.first < b.first || (a.first == b.first && a.second && !b.second);
        };
        std::sort(found.begin(), found.end(), startFirst);
        const auto sameSegment = [](const auto& a, const auto& b) { return a.first == b.first; };
        found.erase(std::unique(found.begin(), found.end(), sameSegment), found.end());
        return found;
    }

private:
    PointGrid Grid() const
    {
        std::vector<double> xs, ys;
        xs.reserve(segments_.size() * 2);
        ys.reserve(segments_.size() * 2);
        for (const Segment& s : segments_) {
            xs.push_back(s.start.x);
            ys.push_back(s.start.y);
            xs.push_back(s.end.x);
            ys.push_back(s.end.y);
        }
        return PointGrid(xs, ys, tol_);
    }

    const std::vector<Segment>& segments_;
    double tol_;
    PointGrid grid_;
};

// Keeps the segments that are not marked, in their order. False when none was marked.
bool Compact(std::vector<Segment>& segments, const std::vector<bool>& marked)
{
    if (std::find(marked.begin(), marked.end(), true) == marked.end())
        return false;
    std::size_t kept = 0;
    for (std::size_t k = 0; k < segments.size(); ++k)
        if (!marked[k])
            segments[kept++] = segments[k];
    segments.resize(kept);
    return true;
}

std::vector<bool> DegenerateSegments(const std::vector<Segment>& segments, double tol)
{
    std::vector<bool> marked(segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k)
        marked[k] = Near(segments[k].start, segments[k].end, tol);
    return marked;
}

std::vector<bool> RepeatedSegments(const std::vector<Segment>& segments, double tol)
{
    const auto point = [&](std::size_t i, double& x, double& y) {
        x = segments[i].start.x;
        y = segments[i].start.y;
    };
    const auto probes = [&](std::size_t i, auto add) {
        add(segments[i].start.x, segments[i].start.y);
        add(segments[i].end.x, segments[i].end.y);
    };
    const auto near = [&](std::size_t a, std::size_t b) {
        const Segment& s = segments[a];
        const Segment& t = segments[b];
        return (Near(s.start, t.start, tol) && Near(s.end, t.end, tol)) ||
               (Near(s.start, t.end, tol) && Near(s.end, t.start, tol));
    };
    return MarkRepeats(segments.size(), tol, point, probes, near);
}

// How many other segments touch each segment's start and end.
struct Touches {
    int atStart = 0;
    int atEnd = 0;
};

std::vector<Touches> CountTouches(const std::vector<Segment>& segments, double tol)
{
    const SegmentEnds ends(segments, tol);
    const auto others = [&](std::size_t self, const GePoint3d& pt) {
        int count = 0;
        for (const auto& [seg, atStart] : ends.At(pt))
            count += seg != self ? 1 : 0;
        return count;
    };
    std::vector<Touches> touches(segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k)
        touches[k] = {others(k, segments[k].start), others(k, segments[k].end)};
    return touches;
}

// The plan coordinates of a point in the tracer's plane: 1 YZ, 2 XZ, 3 XY.
void InPlane(long plane, const GePoint3d& pt, double& u, double& v)
{
    u = plane == 1 ? pt.y : pt.x;
    v = plane == 3 ? pt.y : pt.z;
}

float Direction(double u1, double v1, double u2, double v2)
{
    return CTools::baaf(static_cast<float>(u1), static_cast<float>(v1), static_cast<float>(u2),
                        static_cast<float>(v2));
}

// Of several far ends, the first counter-clockwise from the way back to previous: each is
// turned so that the way back runs along the first axis, and the smallest direction wins
// (the first on a tie). -1 outside the three planes.
int FirstFromTheWayBack(const std::vector<GePoint3d>& fars, const GePoint3d& current, const GePoint3d& previous,
                        long plane)
{
    if (plane < 1 || plane > 3)
        return -1;
    double cu = 0.0, cv = 0.0, pu = 0.0, pv = 0.0;
    InPlane(plane, current, cu, cv);
    InPlane(plane, previous, pu, pv);
    const double a = -Direction(cu, cv, pu, pv);
    const double c = std::cos(a);
    const double s = std::sin(a);
    int best = -1;
    float smallest = kNoTurn;
    for (std::size_t k = 0; k < fars.size(); ++k) {
        double u = 0.0, v = 0.0;
        InPlane(plane, fars[k], u, v);
        const double tu = cu + (u - cu) * c - (v - cv) * s;
        const double tv = cv + (u - cu) * s + (v - cv) * c;
        const float turn = Direction(cu, cv, tu, tv);
        if (turn < smallest) {
            smallest = turn;
            best = static_cast<int>(k);
        }
    }
    return best;
}

GePoint3d ThroughFloat(const GePoint3d& pt)
{
    return {static_cast<float>(pt.x), static_cast<float>(pt.y), static_cast<float>(pt.z)};
}

}  // namespace

void RemoveInvalidSegments(std::vector<Segment>& segments, double tol)
{
    Compact(segments, DegenerateSegments(segments, tol));
    Compact(segments, RepeatedSegments(segments, tol));

    std::vector<Touches> touches = CountTouches(segments, tol);
    std::vector<bool> spurs(segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const Touches& t = touches[k];
        spurs[k] = (t.atStart == 0 && t.atEnd >= 2) || (t.atEnd == 0 && t.atStart >= 2);
    }
    Compact(segments, spurs);

    touches = CountTouches(segments, tol);
    std::vector<bool> shared(segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k)
        shared[k] = touches[k].atStart >= 2 && touches[k].atEnd >= 2;
    Compact(segments, shared);
}

std::vector<Chain> ChainSegments(int mode, std::vector<Segment>& segments, double tol)
{
    RemoveInvalidSegments(segments, kCleanTolerance);
    const SegmentEnds ends(segments, tol);
    std::vector<bool> used(segments.size(), false);

    // Grows a chain from the free end: the far ends of the segments added, in order.
    const auto grow = [&](GePoint3d free) {
        std::vector<GePoint3d> fars;
        for (;;) {
            std::size_t next = segments.size();
            bool atStart = false;
            ends.ForEachAt(free, [&](std::size_t seg, bool start) {
                if (!used[seg] && (seg < next || (seg == next && start))) {
                    next = seg;
                    atStart = start;
                }
            });
            if (next == segments.size())
                return fars;
            used[next] = true;
            free = atStart ? segments[next].end : segments[next].start;
            fars.push_back(free);
        }
    };

    std::vector<Chain> chains;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        if (used[k])
            continue;
        used[k] = true;
        const Segment s = segments[k];
        const std::vector<GePoint3d> first = grow(s.start);
        Chain chain;
        if (Near(first.empty() ? s.start : first.back(), s.end, tol)) {
            chain.closed = true;
            chain.points.push_back(s.start);
            chain.points.insert(chain.points.end(), first.begin(), first.end());
        } else if (mode == 1) {
            continue;
        } else {
            const std::vector<GePoint3d> second = grow(s.end);
            if (!second.empty()) {
                chain.points.assign(second.rbegin(), second.rend());
                chain.points.push_back(s.end);
                chain.points.push_back(s.start);
                chain.points.insert(chain.points.end(), first.begin(), first.end());
            } else {
                chain.points.assign(first.rbegin(), first.rend());
                chain.points.push_back(s.start);
                chain.points.push_back(s.end);
            }
        }
        for (GePoint3d& pt : chain.points)
            pt = ThroughFloat(pt);
        chains.push_back(std::move(chain));
    }
    return chains;
}

std::vector<std::vector<GePoint3d>> TraceSegmentFaces(std::vector<Segment>& segments, double tol, long plane)
{
    RemoveInvalidSegments(segments, kCleanTolerance);
    std::vector<std::vector<GePoint3d>> faces;
    if (segments.size() < 3)
        return faces;
    const SegmentEnds ends(segments, tol);
    std::vector<bool> used(segments.size(), false);

    for (std::size_t k = 0; k < segments.size(); ++k) {
        if (used[k])
            continue;
        used[k] = true;
        std::vector<GePoint3d> face{segments[k].start, segments[k].end};
        for (;;) {
            const GePoint3d& current = face.back();
            std::vector<std::size_t> next;
            std::vector<GePoint3d> fars;
            for (const auto& [seg, atStart] : ends.At(current)) {
                if (used[seg])
                    continue;
                next.push_back(seg);
                fars.push_back(atStart ? segments[seg].end : segments[seg].start);
            }
            int chosen = next.size() == 1 ? 0 : -1;
            if (next.size() > 1)
                chosen = FirstFromTheWayBack(fars, current, face[face.size() - 2], plane);
            if (chosen < 0)
                break;
            used[next[chosen]] = true;
            if (Near(fars[chosen], face.front(), tol)) {
                faces.push_back(std::move(face));
                break;
            }
            face.push_back(fars[chosen]);
        }
    }
    return faces;
}

}  // namespace tools

namespace {

// The most segments the raw chaining routines take: their int16 counts and their callers'
// arrays are sized for it.
constexpr long kChainingCapacity = 9999;

constexpr short kRingCode = 10001;
constexpr short kPolylineCode = 1001;

std::vector<tools::Segment> ReadSegments(const double* x1, const double* y1, const double* z1, const double* x2,
                                         const double* y2, const double* z2, long n)
{
    std::vector<tools::Segment> segments(n > 0 ? static_cast<std::size_t>(n) : 0);
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const std::size_t i = k + 1;
        segments[k] = {{x1[i], y1[i], z1[i]}, {x2[i], y2[i], z2[i]}};
    }
    return segments;
}

void WriteSegments(const std::vector<tools::Segment>& segments, double* x1, double* y1, double* z1, double* x2,
                   double* y2, double* z2, long& n)
{
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const std::size_t i = k + 1;
        x1[i] = segments[k].start.x;
        y1[i] = segments[k].start.y;
        z1[i] = segments[k].start.z;
        x2[i] = segments[k].end.x;
        y2[i] = segments[k].end.y;
        z2[i] = segments[k].end.z;
    }
    n = static_cast<long>(segments.size());
}

// Appends the points after the pointCount already there (1-based).
void AppendPoints(const std::vector<GePoint3d>& points, long& pointCount, double* ox, double* oy, double* oz)
{
    for (const GePoint3d& pt : points) {
        ++pointCount;
        ox[pointCount] = pt.x;
        oy[pointCount] = pt.y;
        oz[pointCount] = pt.z;
    }
}

}  // namespace

void CTools::qudiaofeifaxianduanzcx(double* x1, double* y1, double* z1, double* x2, double* y2, double* z2, long& n,
                                    double tolerance)
{
    if (n < 1)
        return;
    std::vector<tools::Segment> segments = ReadSegments(x1, y1, z1, x2, y2, z2, n);
    tools::RemoveInvalidSegments(segments, tolerance);
    WriteSegments(segments, x1, y1, z1, x2, y2, z2, n);
}

int CTools::xianduanhechengzcx_c(int mode, double* x1, double* y1, double* z1, double* x2, double* y2, double* z2,
                                 long& n, double tolerance, long& chainCount, long& pointCount, short* codes,
                                 short* counts, double* ox, double* oy, double* oz)
{
    if (n > kChainingCapacity || chainCount < 0 || pointCount < 0)
        return 0;
    std::vector<tools::Segment> segments = ReadSegments(x1, y1, z1, x2, y2, z2, n);
    const std::vector<tools::Chain> chains = tools::ChainSegments(mode, segments, tolerance);
    if (n > 0)
        WriteSegments(segments, x1, y1, z1, x2, y2, z2, n);
    for (const tools::Chain& chain : chains) {
        ++chainCount;
        codes[chainCount] = chain.closed ? kRingCode : kPolylineCode;
        counts[chainCount] = static_cast<short>(chain.points.size());
        AppendPoints(chain.points, pointCount, ox, oy, oz);
    }
    return 1;
}

void CTools::xianduanhechengmianzcx(double* x1, double* y1, double* z1, double* x2, double* y2, double* z2, long& n,
                                    double tolerance, long plane, double* ox, double* oy, double* oz, long* counts,
                                    long& faceCount)
{
    faceCount = 0;
    if (n < 1 || n > kChainingCapacity)
        return;
    std::vector<tools::Segment> segments = ReadSegments(x1, y1, z1, x2, y2, z2, n);
    const std::vector<std::vector<GePoint3d>> faces = tools::TraceSegmentFaces(segments, tolerance, plane);
    WriteSegments(segments, x1, y1, z1, x2, y2, z2, n);
    long pointCount = 0;
    for (const std::vector<GePoint3d>& face : faces) {
        ++faceCount;
        counts[faceCount] = static_cast<long>(face.size());
        AppendPoints(face, pointCount, ox, oy, oz);
    }
}
