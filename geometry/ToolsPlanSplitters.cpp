// CTools plan-crossing splitters in single precision: kjxlszcx and its tagged twin
// tskjxlszcx, over one growable core.
//
// Thresholds are inclusive here (1.0 gives an axis line) where the single-precision crossing
// is strict, margins are 0.1, and differences are stored in float before they meet the
// double constants: the pitched-roof generator's results depend on each of these.
#include <cmath>
#include <cstddef>

#include "NearRepeats.h"
#include "PlanLines.h"
#include "PlanSplitters.h"
#include "Tools.h"

namespace tools {

namespace {

// A segment within this of an axis runs along it; shorter both ways, it gives no piece.
constexpr double kAxisTolerance = 1.0;
// Room kept from the cut segment's ends and added beyond the other one's.
constexpr double kMargin = 0.1;
// Cut points of one segment closer than this on both axes are one point.
constexpr double kSamePoint = 0.1;
// Pieces that agree within this on all six coordinates repeat one another.
constexpr double kRepeat = 1.0;

struct PlanSegment {
    const FloatSegment* s;
    float dx = 0.0f;  // |x1 - x2|
    float dy = 0.0f;  // |y1 - y2|
    SlopeForm<float> line;

    bool AlongY() const { return dx <= dy; }
};

// Upright when the x differ by 1.0 or less, then level when the y do (a segment short both
// ways counts as level); otherwise sloped.
PlanSegment Classify(const FloatSegment& s)
{
    PlanSegment seg{&s, std::fabs(s.x1 - s.x2), std::fabs(s.y1 - s.y2), {}};
    if (seg.dy <= kAxisTolerance)
        seg.line.kind = LineKind::Horizontal;
    else if (seg.dx <= kAxisTolerance)
        seg.line.kind = LineKind::Vertical;
    else
        seg.line = SlopedLine(s.x1, s.y1, s.x2, s.y2);
    return seg;
}

bool StrictlyBetween(float v, float a, float b, double margin)
{
    return (a < v - margin && v + margin < b) || (b < v - margin && v + margin < a);
}

// Strictly inside the segment on its governing axis (either axis when its extents are
// equal), shrunk by `shrink` at both ends (a negative shrink grows it).
bool InsideOnGoverningAxis(const PlanSegment& seg, float x, float y, double shrink)
{
    const FloatSegment& s = *seg.s;
    const auto inside = [shrink](float v, float a, float b) {
        return StrictlyBetween(v, a, b, shrink);
    };
    const bool byY = seg.dx <= seg.dy && inside(y, s.y1, s.y2);
    const bool byX = seg.dy <= seg.dx && inside(x, s.x1, s.x2);
    return byX || byY;
}

struct CutPoint {
    float x, y, z;
};

// The ends of j on i's line, when both lie on one sloped (or parallel axis) line, that fall
// inside i shrunk by 0.1: the plane is turned about i's start so that i runs along x.
void AddOverlapOnTurnedLine(const FloatSegment& i, const FloatSegment& j, bool twin, std::vector<CutPoint>& cuts)
{
    const float t = -CTools::baaf(i.x1, i.y1, i.x2, i.y2);
    const float c = std::cos(t);
    const float s = std::sin(t);
    const float turnedY = i.y1 + (j.x1 - i.x1) * s + (j.y1 - i.y1) * c;
    const bool sameLine = twin ? std::fabs(turnedY - i.y1) < kSamePoint : turnedY == i.y1;
    if (!sameLine)
        return;
    const auto turnedX = [&](float x, float y) -> float { return i.x1 + (x - i.x1) * c - (y - i.y1) * s; };
    const float end = turnedX(i.x2, i.y2);
    for (const CutPoint& e : {CutPoint{j.x1, j.y1, 0.0f}, CutPoint{j.x2, j.y2, 0.0f}})
        if (StrictlyBetween(turnedX(e.x, e.y), i.x1, end, kMargin))
            cuts.push_back(e);
}

// Every point where j cuts i.
void AddCuts(const PlanSegment& pi, const PlanSegment& pj, bool twin, std::vector<CutPoint>& cuts)
{
    const FloatSegment& i = *pi.s;
    const FloatSegment& j = *pj.s;
    const auto same = [twin](float a, float b) { return twin ? std::fabs(a - b) < kSamePoint : a == b; };
    if (pi.line.kind == LineKind::Horizontal && pj.line.kind == LineKind::Horizontal && same(j.y1, i.y1)) {
        for (const CutPoint& e : {CutPoint{j.x1, j.y1, 0.0f}, CutPoint{j.x2, j.y2, 0.0f}})
            if (StrictlyBetween(e.x, i.x1, i.x2, kMargin))
                cuts.push_back(e);
    } else if (pi.line.kind == LineKind::Vertical && pj.line.kind == LineKind::Vertical && same(j.x1, i.x1)) {
        for (const CutPoint& e : {CutPoint{j.x1, j.y1, 0.0f}, CutPoint{j.x2, j.y2, 0.0f}})
            if (StrictlyBetween(e.y, i.y1, i.y2, kMargin))
                cuts.push_back(e);
    } else if (!AreParallel(pi.line, pj.line)) {
        float x = 0.0f, y = 0.0f;
        CrossLines(pi.line, i.x1, i.y1, pj.line, j.x1, j.y1, x, y);
        if (InsideOnGoverningAxis(pi, x, y, kMargin) && InsideOnGoverningAxis(pj, x, y, -kMargin))
            cuts.push_back({x, y, 0.0f});
    } else {
        AddOverlapOnTurnedLine(i, j, twin, cuts);
    }
}

// The lists one split works in, kept from segment to segment so that cutting many short
// candidate sets (the roof generator's) does not spend its time allocating.
struct CutLists {
    std::vector<CutPoint> cuts;
    std::vector<float> x, y, z;
    std::vector<int> a, b;
};

// The points at which segment i is cut, its ends included, in the order of its pieces, in
// lists.cuts.
void CutPoints(std::span<const PlanSegment> segments, std::size_t index, bool twin, CutLists& lists)
{
    const PlanSegment& pi = segments[index];
    const FloatSegment& i = *pi.s;
    std::vector<CutPoint>& cuts = lists.cuts;
    cuts.assign(1, {i.x1, i.y1, i.z1});
    for (std::size_t j = 0; j < segments.size(); ++j)
        if (j != index)
            AddCuts(pi, segments[j], twin, cuts);
    cuts.push_back({i.x2, i.y2, i.z2});
    if (cuts.size() <= 2)
        return;

    for (std::size_t k = 1; k + 1 < cuts.size(); ++k) {
        const float c = pi.AlongY() ? cuts[k].y : cuts[k].x;
        const float c1 = pi.AlongY() ? i.y1 : i.x1;
        const float c2 = pi.AlongY() ? i.y2 : i.x2;
        cuts[k].z = i.z1 + (c - c1) * (i.z2 - i.z1) / (c2 - c1);
    }
    const auto key = [&](std::size_t k) { return double(pi.AlongY() ? cuts[k].y : cuts[k].x); };
    const auto near = [&](std::size_t a, std::size_t b) {
        const float ex = std::fabs(cuts[a].x - cuts[b].x);
        const float ey = std::fabs(cuts[a].y - cuts[b].y);
        return ex < kSamePoint && ey < kSamePoint;
    };
    const std::vector<bool> flagged = MarkRepeatsAlong(cuts.size(), kSamePoint, key, near);
    std::vector<float>& x = lists.x;
    std::vector<float>& y = lists.y;
    std::vector<float>& z = lists.z;
    x.assign(1, 0.0f);
    y.assign(1, 0.0f);
    z.assign(1, 0.0f);
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        if (flagged[k])
            continue;
        x.push_back(cuts[k].x);
        y.push_back(cuts[k].y);
        z.push_back(cuts[k].z);
    }
    int n = static_cast<int>(x.size()) - 1;
    if (n > 2) {
        lists.a.assign(x.size(), 0);
        lists.b.assign(x.size(), 0);
        CTools::paixuzcx(1, pi.dy > pi.dx ? 2 : 1, x.data(), y.data(), z.data(), lists.a.data(), lists.b.data(), n);
    }
    cuts.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        cuts[static_cast<std::size_t>(k)] = {x[k + 1], y[k + 1], z[k + 1]};
}

bool Close(float a, float b) { return std::fabs(a - b) < kRepeat; }

bool SamePiece(const FloatSegment& p, const FloatSegment& q)
{
    const bool forward = Close(p.x1, q.x1) && Close(p.y1, q.y1) && Close(p.z1, q.z1) && Close(p.x2, q.x2) &&
                         Close(p.y2, q.y2) && Close(p.z2, q.z2);
    const bool backward = Close(p.x1, q.x2) && Close(p.y1, q.y2) && Close(p.z1, q.z2) && Close(p.x2, q.x1) &&
                          Close(p.y2, q.y1) && Close(p.z2, q.z1);
    return forward || backward;
}

}  // namespace

std::vector<FloatSegment> SplitInPlan(std::span<const FloatSegment> segments, bool twin)
{
    std::vector<PlanSegment> plan;
    plan.reserve(segments.size());
    for (const FloatSegment& s : segments)
        plan.push_back(Classify(s));

    std::vector<FloatSegment> pieces;
    CutLists lists;
    const std::vector<CutPoint>& cuts = lists.cuts;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].dx <= kAxisTolerance && plan[i].dy <= kAxisTolerance)
            continue;
        CutPoints(plan, i, twin, lists);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k)
            pieces.push_back({cuts[k].x, cuts[k].y, cuts[k].z, cuts[k + 1].x, cuts[k + 1].y, cuts[k + 1].z,
                              segments[i].tag});
    }

    const auto point = [&](std::size_t k, double& x, double& y) {
        x = pieces[k].x1;
        y = pieces[k].y1;
    };
    const auto probes = [&](std::size_t k, auto add) {
        add(pieces[k].x1, pieces[k].y1);
        add(pieces[k].x2, pieces[k].y2);
    };
    const auto near = [&](std::size_t p, std::size_t q) { return SamePiece(pieces[p], pieces[q]); };
    const std::vector<bool> repeated = MarkRepeats(pieces.size(), kRepeat, point, probes, near);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k)
        if (!repeated[k])
            pieces[kept++] = pieces[k];
    pieces.resize(kept);
    return pieces;
}

}  // namespace tools

namespace {

// The most pieces the exported splitters write: the generator's arrays hold 5000 entries,
// 1-based.
constexpr std::size_t kPieceCapacity = 4999;

void SplitIntoArrays(int n, const float* x1, const float* y1, const float* z1, const float* x2, const float* y2,
                     const float* z2, const int* tags, bool twin, int& m, float* ox1, float* oy1, float* oz1,
                     float* ox2, float* oy2, float* oz2, int* outTags)
{
    std::vector<tools::FloatSegment> segments(n > 0 ? static_cast<std::size_t>(n) : 0);
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const std::size_t i = k + 1;
        segments[k] = {x1[i], y1[i], z1[i], x2[i], y2[i], z2[i], tags ? tags[i] : 0};
    }
    const std::vector<tools::FloatSegment> pieces = tools::SplitInPlan(segments, twin);
    m = 0;
    if (pieces.size() > kPieceCapacity)
        return;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const std::size_t i = k + 1;
        ox1[i] = pieces[k].x1;
        oy1[i] = pieces[k].y1;
        oz1[i] = pieces[k].z1;
        ox2[i] = pieces[k].x2;
        oy2[i] = pieces[k].y2;
        oz2[i] = pieces[k].z2;
        if (outTags)
            outTags[i] = pieces[k].tag;
    }
    m = static_cast<int>(pieces.size());
}

}  // namespace

void CTools::kjxlszcx(int n, const float* x1, const float* y1, const float* z1, const float* x2, const float* y2,
                      const float* z2, int& m, float* ox1, float* oy1, float* oz1, float* ox2, float* oy2, float* oz2)
{
    SplitIntoArrays(n, x1, y1, z1, x2, y2, z2, nullptr, false, m, ox1, oy1, oz1, ox2, oy2, oz2, nullptr);
}

void CTools::tskjxlszcx(int n, const float* x1, const float* y1, const float* z1, const float* x2, const float* y2,
                        const float* z2, const int* tags, int& m, float* ox1, float* oy1, float* oz1, float* ox2,
                        float* oy2, float* oz2, int* outTags)
{
    SplitIntoArrays(n, x1, y1, z1, x2, y2, z2, tags, true, m, ox1, oy1, oz1, ox2, oy2, oz2, outTags);
}
