// CTools segment splitting in double precision: the splitter xdlszcx, the point sort
// paixuzcx1 and the segment breaking of BreakIntoLineSegs, all over one growable core.
//
// The margins are the single-precision 0.9 compared in double, next to plain double 0.1 and
// 1.0, exactly as the callers' results were tuned; do not unify them.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>

#include "PlanLines.h"
#include "PointGrid.h"
#include "SplitAtCrossings.h"
#include "Tools.h"

namespace tools {

namespace {

// A segment shorter than this on an axis runs along the other one.
constexpr double kAxisTolerance = 0.1;
// Room kept from a segment's ends, range widening and the merge of cut points: the float
// 0.9 (0.8999999761581421) compared in double.
constexpr float kSpare = 0.9f;
// Pieces that agree within this on every coordinate repeat one another.
constexpr double kRepeatTolerance = 1.0;

// A point in the splitting plane: p and q span the plane, r is carried along.
struct PlanePoint {
    double p;
    double q;
    double r;
};

PlanePoint ToPlane(int mode, const GePoint3d& pt)
{
    if (mode == 2)
        return {pt.x, pt.z, pt.y};
    if (mode == 3)
        return {pt.y, pt.z, pt.x};
    return {pt.x, pt.y, pt.z};
}

GePoint3d FromPlane(int mode, const PlanePoint& pt)
{
    if (mode == 2)
        return {pt.p, pt.r, pt.q};
    if (mode == 3)
        return {pt.r, pt.p, pt.q};
    return {pt.p, pt.q, pt.r};
}

struct PlaneSegment {
    PlanePoint s;
    PlanePoint e;
    double dp = 0.0;  // |delta p|
    double dq = 0.0;  // |delta q|
    SlopeForm<double> line;

    double MinP() const { return std::fmin(s.p, e.p); }
    double MaxP() const { return std::fmax(s.p, e.p); }
    double MinQ() const { return std::fmin(s.q, e.q); }
    double MaxQ() const { return std::fmax(s.q, e.q); }
    bool TooShort() const { return dp <= kAxisTolerance && dq <= kAxisTolerance; }
};

// Along q when the p extent is within 0.1, then along p when the q extent is (a segment
// short both ways counts as running along p); otherwise sloped.
PlaneSegment Classify(const PlanePoint& s, const PlanePoint& e)
{
    PlaneSegment seg{s, e, std::fabs(e.p - s.p), std::fabs(e.q - s.q), {}};
    if (seg.dq <= kAxisTolerance)
        seg.line.kind = LineKind::Horizontal;
    else if (seg.dp <= kAxisTolerance)
        seg.line.kind = LineKind::Vertical;
    else
        seg.line = SlopedLine(s.p, s.q, e.p, e.q);
    return seg;
}

bool InsideWithSpare(double v, double a, double b)
{
    return std::fmin(a, b) + kSpare < v && v < std::fmax(a, b) - kSpare;
}

bool WithinWidened(double v, double a, double b)
{
    return std::fmin(a, b) - kSpare <= v && v <= std::fmax(a, b) + kSpare;
}

// A test on the segment's longer plane axis; on a tie, either axis will do.
template <typename Test>
bool OnLongerAxis(const PlaneSegment& seg, double p, double q, Test test)
{
    return (seg.dp >= seg.dq && test(p, seg.s.p, seg.e.p)) || (seg.dq >= seg.dp && test(q, seg.s.q, seg.e.q));
}

bool BoxesMeet(const PlaneSegment& i, const PlaneSegment& j)
{
    return j.MaxP() + kSpare >= i.MinP() && j.MinP() - kSpare <= i.MaxP() && j.MaxQ() + kSpare >= i.MinQ() &&
           j.MinQ() - kSpare <= i.MaxQ();
}

// The ends of j, lying on i's sloped line, that fall inside i with room to spare: the plane
// is turned about i's start so that i runs along p.
void AddOverlapOnSlopedLine(const PlaneSegment& i, const PlaneSegment& j, std::vector<PlanePoint>& cuts)
{
    const double a = -CTools::baaf(static_cast<float>(i.s.p), static_cast<float>(i.s.q), static_cast<float>(i.e.p),
                                   static_cast<float>(i.e.q));
    const double c = std::cos(a);
    const double s = std::sin(a);
    const auto turnedP = [&](const PlanePoint& v) { return i.s.p + (v.p - i.s.p) * c - (v.q - i.s.q) * s; };
    const auto turnedQ = [&](const PlanePoint& v) { return i.s.q + (v.p - i.s.p) * s + (v.q - i.s.q) * c; };
    if (!(std::fabs(turnedQ(j.s) - i.s.q) < kAxisTolerance))
        return;
    const double end = turnedP(i.e);
    for (const PlanePoint& v : {j.s, j.e})
        if (InsideWithSpare(turnedP(v), i.s.p, end))
            cuts.push_back(v);
}

// Every point where j cuts i.
void AddCuts(const PlaneSegment& i, const PlaneSegment& j, std::vector<PlanePoint>& cuts)
{
    if (AreParallel(i.line, j.line)) {
        // Lines of one direction cut only where they lie on one line.
        if (i.line.kind == LineKind::Horizontal) {
            if (std::fabs(i.s.q - j.s.q) < kAxisTolerance)
                for (const PlanePoint& v : {j.s, j.e})
                    if (InsideWithSpare(v.p, i.s.p, i.e.p))
                        cuts.push_back(v);
        } else if (i.line.kind == LineKind::Vertical) {
            if (std::fabs(i.s.p - j.s.p) < kAxisTolerance)
                for (const PlanePoint& v : {j.s, j.e})
                    if (InsideWithSpare(v.q, i.s.q, i.e.q))
                        cuts.push_back(v);
        } else {
            AddOverlapOnSlopedLine(i, j, cuts);
        }
        return;
    }
    double p = 0.0;
    double q = 0.0;
    CrossLines(i.line, i.s.p, i.s.q, j.line, j.s.p, j.s.q, p, q);
    if (OnLongerAxis(i, p, q, InsideWithSpare) && OnLongerAxis(j, p, q, WithinWidened))
        cuts.push_back({p, q, 0.0});
}

// Drops every cut point within 0.9 in both p and q of an earlier point kept.
void DropCloseCuts(std::vector<PlanePoint>& cuts)
{
    const auto point = [&](std::size_t i, double& x, double& y) {
        x = cuts[i].p;
        y = cuts[i].q;
    };
    const auto probes = [&](std::size_t i, auto add) { add(cuts[i].p, cuts[i].q); };
    const auto near = [&](std::size_t a, std::size_t b) {
        return std::fabs(cuts[a].p - cuts[b].p) < kSpare && std::fabs(cuts[a].q - cuts[b].q) < kSpare;
    };
    const std::vector<bool> dropped = MarkRepeats(cuts.size(), kSpare, point, probes, near);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < cuts.size(); ++k)
        if (!dropped[k])
            cuts[kept++] = cuts[k];
    cuts.resize(kept);
}

// The points at which segment i is cut, its ends included, in the order of its pieces.
std::vector<PlanePoint> CutPoints(std::span<const PlaneSegment> segments, std::size_t i)
{
    const PlaneSegment& si = segments[i];
    std::vector<PlanePoint> cuts{si.s};
    for (std::size_t j = 0; j < segments.size(); ++j)
        if (j != i && BoxesMeet(si, segments[j]))
            AddCuts(si, segments[j], cuts);
    cuts.push_back(si.e);
    if (cuts.size() <= 2)
        return cuts;

    // The carried coordinate of a cut point comes from i itself.
    const bool alongQ = si.dp <= si.dq;
    const double c1 = alongQ ? si.s.q : si.s.p;
    const double c2 = alongQ ? si.e.q : si.e.p;
    for (std::size_t k = 1; k + 1 < cuts.size(); ++k) {
        const double c = alongQ ? cuts[k].q : cuts[k].p;
        cuts[k].r = si.s.r + (c - c1) * (si.e.r - si.s.r) / (c2 - c1);
    }
    DropCloseCuts(cuts);
    if (cuts.size() > 2) {
        std::vector<SortPoint> sorted(cuts.size());
        for (std::size_t k = 0; k < cuts.size(); ++k)
            sorted[k] = {cuts[k].p, cuts[k].q, cuts[k].r};
        MergeAndSortPoints(si.dq > si.dp ? 2 : 1, sorted);
        cuts.resize(sorted.size());
        for (std::size_t k = 0; k < sorted.size(); ++k)
            cuts[k] = {sorted[k].a, sorted[k].b, sorted[k].c};
    }
    return cuts;
}

struct PlanePiece {
    PlanePoint s;
    PlanePoint e;
    std::size_t source;
};

bool Close(double a, double b) { return std::fabs(a - b) < kRepeatTolerance; }

bool ClosePoints(const PlanePoint& a, const PlanePoint& b) { return Close(a.p, b.p) && Close(a.q, b.q) && Close(a.r, b.r); }

// Pieces that agree within 1.0 on all six coordinates, either way round: the first stays.
std::vector<bool> RepeatedPieces(const std::vector<PlanePiece>& pieces)
{
    const auto point = [&](std::size_t i, double& x, double& y) {
        x = pieces[i].s.p;
        y = pieces[i].s.q;
    };
    const auto probes = [&](std::size_t i, auto add) {
        add(pieces[i].s.p, pieces[i].s.q);
        add(pieces[i].e.p, pieces[i].e.q);
    };
    const auto near = [&](std::size_t a, std::size_t b) {
        const PlanePiece& x = pieces[a];
        const PlanePiece& y = pieces[b];
        return (ClosePoints(x.s, y.s) && ClosePoints(x.e, y.e)) || (ClosePoints(x.s, y.e) && ClosePoints(x.e, y.s));
    };
    return MarkRepeats(pieces.size(), kRepeatTolerance, point, probes, near);
}

}  // namespace

std::vector<AttributedSegment> SplitAtCrossings(int mode, std::span<const AttributedSegment> segments)
{
    if (mode < 1 || mode > 3)
        return {};
    std::vector<PlaneSegment> plane;
    plane.reserve(segments.size());
    for (const AttributedSegment& seg : segments)
        plane.push_back(Classify(ToPlane(mode, seg.start), ToPlane(mode, seg.end)));

    std::vector<PlanePiece> pieces;
    for (std::size_t i = 0; i < plane.size(); ++i) {
        if (plane[i].TooShort())
            continue;
        const std::vector<PlanePoint> cuts = CutPoints(plane, i);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k)
            pieces.push_back({cuts[k], cuts[k + 1], i});
    }

    const std::vector<bool> repeated = RepeatedPieces(pieces);
    std::vector<AttributedSegment> out;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (repeated[k])
            continue;
        const AttributedSegment& source = segments[pieces[k].source];
        out.push_back({FromPlane(mode, pieces[k].s), FromPlane(mode, pieces[k].e), source.a1, source.a2, source.a3});
    }
    return out;
}

void MergeAndSortPoints(int key, std::vector<SortPoint>& points)
{
    const auto point = [&](std::size_t i, double& x, double& y) {
        x = points[i].a;
        y = points[i].b;
    };
    const auto probes = [&](std::size_t i, auto add) { add(points[i].a, points[i].b); };
    const auto near = [&](std::size_t i, std::size_t j) {
        return Close(points[i].a, points[j].a) && Close(points[i].b, points[j].b) && Close(points[i].c, points[j].c);
    };
    const std::vector<bool> merged = MarkRepeats(points.size(), kRepeatTolerance, point, probes, near);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < points.size(); ++k)
        if (!merged[k])
            points[kept++] = points[k];
    points.resize(kept);

    if (key < 1 || key > 3)
        return;
    double SortPoint::*member = key == 1 ? &SortPoint::a : key == 2 ? &SortPoint::b : &SortPoint::c;
    // A stable sort gives exactly the order of repeated adjacent swaps.
    std::stable_sort(points.begin(), points.end(),
                     [member](const SortPoint& x, const SortPoint& y) { return x.*member < y.*member; });
}

}  // namespace tools

namespace {

// The most pieces xdlszcx writes: its callers' arrays hold 100000 entries, 1-based.
constexpr std::size_t kSplitterCapacity = 99999;

std::vector<tools::AttributedSegment> FromStartsAndEnds(std::span<const GePoint3d> starts,
                                                        std::span<const GePoint3d> ends)
{
    std::vector<tools::AttributedSegment> segments(starts.size());
    for (std::size_t k = 0; k < starts.size(); ++k)
        segments[k] = {starts[k], ends[k]};
    return segments;
}

// Splits the n segments in plan and writes the pieces back over them, or refuses (false,
// nothing touched) when more than capacity pieces result. Fewer than two segments stand.
bool BreakInPlace(int& n, GePoint3d* starts, GePoint3d* ends, std::size_t capacity)
{
    if (n < 2)
        return true;
    if (starts == nullptr || ends == nullptr)
        return false;
    const std::size_t count = static_cast<std::size_t>(n);
    const std::vector<tools::AttributedSegment> pieces =
        tools::SplitAtCrossings(1, FromStartsAndEnds({starts, count}, {ends, count}));
    if (pieces.size() > capacity)
        return false;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        starts[k] = pieces[k].start;
        ends[k] = pieces[k].end;
    }
    n = static_cast<int>(pieces.size());
    return true;
}

}  // namespace

void CTools::xdlszcx(int mode, int n, const double* x1, const double* y1, const double* z1, const double* x2,
                     const double* y2, const double* z2, const double* a1, const double* a2, const double* a3,
                     int* outCount, double* ox1, double* oy1, double* oz1, double* ox2, double* oy2, double* oz2,
                     double* oa1, double* oa2, double* oa3)
{
    if (outCount == nullptr)
        return;
    std::vector<tools::AttributedSegment> segments(n > 0 ? static_cast<std::size_t>(n) : 0);
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const std::size_t i = k + 1;
        segments[k] = {{x1[i], y1[i], z1[i]}, {x2[i], y2[i], z2[i]}, a1[i], a2[i], a3[i]};
    }
    const std::vector<tools::AttributedSegment> pieces = tools::SplitAtCrossings(mode, segments);
    if (pieces.size() > kSplitterCapacity) {
        *outCount = 0;
        return;
    }
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const std::size_t i = k + 1;
        const tools::AttributedSegment& piece = pieces[k];
        ox1[i] = piece.start.x;
        oy1[i] = piece.start.y;
        oz1[i] = piece.start.z;
        ox2[i] = piece.end.x;
        oy2[i] = piece.end.y;
        oz2[i] = piece.end.z;
        oa1[i] = piece.a1;
        oa2[i] = piece.a2;
        oa3[i] = piece.a3;
    }
    *outCount = static_cast<int>(pieces.size());
}

void CTools::paixuzcx1(int key, double* a, double* b, double* c, int& n)
{
    if (n < 1 || a == nullptr || b == nullptr || c == nullptr)
        return;
    std::vector<tools::SortPoint> points(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        points[i - 1] = {a[i], b[i], c[i]};
    tools::MergeAndSortPoints(key, points);
    n = static_cast<int>(points.size());
    for (int i = 1; i <= n; ++i) {
        a[i] = points[i - 1].a;
        b[i] = points[i - 1].b;
        c[i] = points[i - 1].c;
    }
}

void CTools::BreakIntoLineSegs(int& n, GePoint3d* starts, GePoint3d* ends, double /*tolerance*/)
{
    BreakInPlace(n, starts, ends, std::numeric_limits<std::size_t>::max());
}

int CTools::BreakIntoLineSegs(int& n, GePoint3d* starts, GePoint3d* ends, double /*tolerance*/, int capacity)
{
    return BreakInPlace(n, starts, ends, capacity > 0 ? static_cast<std::size_t>(capacity) : 0) ? 1 : 0;
}

void CTools::BreakIntoLineSegs(GePoint3dArray& starts, GePoint3dArray& ends, double /*tolerance*/)
{
    if (starts.size() != ends.size() || starts.size() < 2)
        return;
    const std::vector<tools::AttributedSegment> pieces = tools::SplitAtCrossings(1, FromStartsAndEnds(starts, ends));
    starts.clear();
    ends.clear();
    for (const tools::AttributedSegment& piece : pieces) {
        starts.push_back(piece.start);
        ends.push_back(piece.end);
    }
}
