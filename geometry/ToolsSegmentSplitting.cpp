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
#include "NearRepeats.h"
#include "SplitAtCrossings.h"
#include "Tools.h"

namespace tools {

namespace {

// A segment shorter than this on an axis runs along the other one.
constexpr double kAxisTolerance = 0.1;

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
    // The box in the plane.
    double minP = 0.0, maxP = 0.0, minQ = 0.0, maxQ = 0.0;

    bool TooShort() const { return dp <= kAxisTolerance && dq <= kAxisTolerance; }
};

// Along q when the p extent is within 0.1, then along p when the q extent is (a segment
// short both ways counts as running along p); otherwise sloped.
PlaneSegment Classify(const PlanePoint& s, const PlanePoint& e)
{
    PlaneSegment seg{s, e, std::fabs(e.p - s.p), std::fabs(e.q - s.q), {}};
    seg.minP = std::fmin(s.p, e.p);
    seg.maxP = std::fmax(s.p, e.p);
    seg.minQ = std::fmin(s.q, e.q);
    seg.maxQ = std::fmax(s.q, e.q);
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
    return std::fmin(a, b) + kSplitMargin < v && v < std::fmax(a, b) - kSplitMargin;
}

bool WithinWidened(double v, double a, double b)
{
    return std::fmin(a, b) - kSplitMargin <= v && v <= std::fmax(a, b) + kSplitMargin;
}

// A test on the segment's longer plane axis; on a tie, either axis will do.
template <typename Test>
bool OnLongerAxis(const PlaneSegment& seg, double p, double q, Test test)
{
    return (seg.dp >= seg.dq && test(p, seg.s.p, seg.e.p)) || (seg.dq >= seg.dp && test(q, seg.s.q, seg.e.q));
}

bool BoxesMeet(const PlaneSegment& i, const PlaneSegment& j)
{
    return j.maxP + kSplitMargin >= i.minP && j.minP - kSplitMargin <= i.maxP && j.maxQ + kSplitMargin >= i.minQ &&
           j.minQ - kSplitMargin <= i.maxQ;
}

// The segments whose widened boxes may meet a segment's box, through a uniform grid over
// the plane in which every widened box is entered in each cell it covers. Candidates come
// out in list order, so a search through the grid visits the same segments in the same
// order as a scan of the whole list would. Where the grid would hold too many entries (many
// long sloped segments) every segment is a candidate.
class BoxGrid {
public:
    explicit BoxGrid(std::span<const PlaneSegment> segments) : count_(segments.size()), seen_(segments.size(), 0)
    {
        double p0 = std::numeric_limits<double>::max(), q0 = p0, p1 = -p0, q1 = -p0;
        for (const PlaneSegment& seg : segments) {
            if (!Finite(seg))
                continue;
            p0 = std::fmin(p0, seg.minP), q0 = std::fmin(q0, seg.minQ);
            p1 = std::fmax(p1, seg.maxP), q1 = std::fmax(q1, seg.maxQ);
        }
        const int side = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count_)))));
        const double span = std::fmax(p1 - p0, q1 - q0) + 2.0 * kSplitMargin;
        cell_ = span > 0.0 && std::isfinite(span) ? span / side : 1.0;
        p0_ = p0 - kSplitMargin;
        q0_ = q0 - kSplitMargin;
        // Clamped as doubles: a span beyond the double range gives an infinite count.
        cols_ = static_cast<int>(std::clamp(std::ceil((p1 - p0 + 2.0 * kSplitMargin) / cell_), 1.0, static_cast<double>(side)));
        rows_ = static_cast<int>(std::clamp(std::ceil((q1 - q0 + 2.0 * kSplitMargin) / cell_), 1.0, static_cast<double>(side)));

        // Counting pass, then the entries cell by cell.
        std::size_t entries = 0;
        for (const PlaneSegment& seg : segments)
            if (Finite(seg))
                entries += Cells(seg, kSplitMargin).Count();
        if (entries > kEntriesPerSegment * count_ + 4096) {
            everyone_ = true;
            return;
        }
        starts_.assign(static_cast<std::size_t>(cols_) * rows_ + 1, 0);
        for (const PlaneSegment& seg : segments)
            if (Finite(seg))
                Cells(seg, kSplitMargin).ForEach([&](std::size_t c) { ++starts_[c + 1]; });
        for (std::size_t c = 1; c < starts_.size(); ++c)
            starts_[c] += starts_[c - 1];
        ids_.resize(entries);
        std::vector<std::size_t> fill(starts_.begin(), starts_.end() - 1);
        for (std::size_t j = 0; j < segments.size(); ++j) {
            if (Finite(segments[j]))
                Cells(segments[j], kSplitMargin).ForEach([&](std::size_t c) { ids_[fill[c]++] = j; });
            else
                unbounded_.push_back(j);
        }
    }

    // The segments other than i that may meet it, ascending.
    void Candidates(std::size_t i, const PlaneSegment& seg, std::vector<std::size_t>& out)
    {
        out.clear();
        if (everyone_ || !Finite(seg)) {
            for (std::size_t j = 0; j < count_; ++j)
                if (j != i)
                    out.push_back(j);
            return;
        }
        ++stamp_;
        seen_[i] = stamp_;
        const auto add = [&](std::size_t j) {
            if (seen_[j] != stamp_) {
                seen_[j] = stamp_;
                out.push_back(j);
            }
        };
        Cells(seg, 0.0).ForEach([&](std::size_t c) {
            for (std::size_t k = starts_[c]; k < starts_[c + 1]; ++k)
                add(ids_[k]);
        });
        for (std::size_t j : unbounded_)
            add(j);
        std::sort(out.begin(), out.end());
    }

private:
    // Beyond this many grid entries per segment on average, a scan of the list is cheaper.
    static constexpr std::size_t kEntriesPerSegment = 64;

    struct CellRange {
        int c0, c1, r0, r1, cols;
        std::size_t Count() const { return static_cast<std::size_t>(c1 - c0 + 1) * (r1 - r0 + 1); }
        template <typename F>
        void ForEach(F f) const
        {
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    f(static_cast<std::size_t>(r) * cols + c);
        }
    };

    static bool Finite(const PlaneSegment& seg)
    {
        return std::isfinite(seg.minP) && std::isfinite(seg.maxP) && std::isfinite(seg.minQ) &&
               std::isfinite(seg.maxQ);
    }

    int Column(double p) const { return Clamped(std::floor((p - p0_) / cell_), cols_); }
    int Row(double q) const { return Clamped(std::floor((q - q0_) / cell_), rows_); }
    // The cell index held to [0, count - 1] before it becomes an int.
    static int Clamped(double cell, int count)
    {
        return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(count - 1)));
    }

    CellRange Cells(const PlaneSegment& seg, double widen) const
    {
        return {Column(seg.minP - widen), Column(seg.maxP + widen), Row(seg.minQ - widen), Row(seg.maxQ + widen),
                cols_};
    }

    std::size_t count_;
    double p0_ = 0.0, q0_ = 0.0, cell_ = 1.0;
    int cols_ = 1, rows_ = 1;
    bool everyone_ = false;
    std::vector<std::size_t> starts_, ids_, unbounded_;
    std::vector<std::size_t> seen_;
    std::size_t stamp_ = 0;
};

// The ends of j, lying on i's sloped line, that fall inside i with room to spare: the plane
// is turned about i's start so that i runs along p. The angle is taken in single precision
// from i's extent, not from its ends, which far from the origin (a national grid's
// coordinates) single precision rounds by metres and more, turning the plane by a wrong
// angle and cutting i at ends of parallel lines that lie well off it.
void AddOverlapOnSlopedLine(const PlaneSegment& i, const PlaneSegment& j, std::vector<PlanePoint>& cuts)
{
    const double a = -CTools::baaf(0.0f, 0.0f, static_cast<float>(i.e.p - i.s.p), static_cast<float>(i.e.q - i.s.q));
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

// Drops every cut point within 0.9 in both p and q of an earlier point kept. The points lie
// along one segment, which spreads along p when alongP.
void DropCloseCuts(std::vector<PlanePoint>& cuts, bool alongP)
{
    const auto key = [&](std::size_t i) { return alongP ? cuts[i].p : cuts[i].q; };
    const auto near = [&](std::size_t a, std::size_t b) {
        return std::fabs(cuts[a].p - cuts[b].p) < kSplitMargin && std::fabs(cuts[a].q - cuts[b].q) < kSplitMargin;
    };
    const std::vector<bool> dropped = MarkRepeatsAlong(cuts.size(), kSplitMargin, key, near);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < cuts.size(); ++k)
        if (!dropped[k])
            cuts[kept++] = cuts[k];
    cuts.resize(kept);
}

// The points at which segment i is cut, its ends included, in the order of its pieces.
// candidates holds the segments that may meet it, in list order.
std::vector<PlanePoint> CutPoints(std::span<const PlaneSegment> segments, std::size_t i,
                                  const std::vector<std::size_t>& candidates)
{
    const PlaneSegment& si = segments[i];
    std::vector<PlanePoint> cuts{si.s};
    for (std::size_t j : candidates)
        if (BoxesMeet(si, segments[j]))
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
    DropCloseCuts(cuts, si.dp >= si.dq);
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

bool Close(double a, double b) { return std::fabs(a - b) < kSplitMerge; }

bool ClosePoints(const PlanePoint& a, const PlanePoint& b) { return Close(a.p, b.p) && Close(a.q, b.q) && Close(a.r, b.r); }

// The pieces of all segments: piece k runs from points[first[k]] to the point after it.
struct PieceList {
    std::vector<PlanePoint> points;
    std::vector<std::size_t> first;
    std::vector<std::size_t> source;

    const PlanePoint& Start(std::size_t k) const { return points[first[k]]; }
    const PlanePoint& End(std::size_t k) const { return points[first[k] + 1]; }
};

// Pieces that agree within 1.0 on all six coordinates, either way round: the first stays.
std::vector<bool> RepeatedPieces(const PieceList& pieces)
{
    const auto point = [&](std::size_t i, double& x, double& y) {
        x = pieces.Start(i).p;
        y = pieces.Start(i).q;
    };
    const auto probes = [&](std::size_t i, auto add) {
        add(pieces.Start(i).p, pieces.Start(i).q);
        add(pieces.End(i).p, pieces.End(i).q);
    };
    const auto near = [&](std::size_t a, std::size_t b) {
        const PlanePoint &as = pieces.Start(a), &ae = pieces.End(a);
        const PlanePoint &bs = pieces.Start(b), &be = pieces.End(b);
        return (ClosePoints(as, bs) && ClosePoints(ae, be)) || (ClosePoints(as, be) && ClosePoints(ae, bs));
    };
    return MarkRepeats(pieces.first.size(), kSplitMerge, point, probes, near);
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

    BoxGrid grid(plane);
    std::vector<std::size_t> candidates;
    PieceList pieces;
    for (std::size_t i = 0; i < plane.size(); ++i) {
        if (plane[i].TooShort())
            continue;
        grid.Candidates(i, plane[i], candidates);
        const std::vector<PlanePoint> cuts = CutPoints(plane, i, candidates);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            pieces.first.push_back(pieces.points.size() + k);
            pieces.source.push_back(i);
        }
        pieces.points.insert(pieces.points.end(), cuts.begin(), cuts.end());
    }

    const std::vector<bool> repeated = RepeatedPieces(pieces);
    std::vector<AttributedSegment> out;
    for (std::size_t k = 0; k < repeated.size(); ++k) {
        if (repeated[k])
            continue;
        const AttributedSegment& source = segments[pieces.source[k]];
        out.push_back({FromPlane(mode, pieces.Start(k)), FromPlane(mode, pieces.End(k)), source.a1, source.a2, source.a3});
    }
    return out;
}

void MergeAndSortPoints(int key, std::vector<SortPoint>& points)
{
    // The merge searches along the coordinate in which the points spread most.
    double SortPoint::*axis = &SortPoint::a;
    double widest = -1.0;
    for (double SortPoint::*c : {&SortPoint::a, &SortPoint::b, &SortPoint::c}) {
        double low = 0.0, high = 0.0;
        bool any = false;
        for (const SortPoint& pt : points) {
            if (!std::isfinite(pt.*c))
                continue;
            low = any ? std::fmin(low, pt.*c) : pt.*c;
            high = any ? std::fmax(high, pt.*c) : pt.*c;
            any = true;
        }
        if (high - low > widest) {
            widest = high - low;
            axis = c;
        }
    }
    const auto along = [&](std::size_t i) { return points[i].*axis; };
    const auto near = [&](std::size_t i, std::size_t j) {
        return Close(points[i].a, points[j].a) && Close(points[i].b, points[j].b) && Close(points[i].c, points[j].c);
    };
    const std::vector<bool> merged = MarkRepeatsAlong(points.size(), kSplitMerge, along, near);
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
