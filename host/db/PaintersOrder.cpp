#include "PaintersOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <utility>

#include "CellGrid.h"
#include "FiniteEntity.h"
#include "GePoint2dArray.h"

namespace host {
namespace {

// A convex piece of a face in the flat pool of points, counter-clockwise.
struct Piece {
    std::uint32_t first, count;
};

// What the ordering needs of one item.
struct Prepared {
    double minX = 0, minY = 0, maxX = -1, maxY = -1;  // an empty box overlaps nothing
    double meanDepth = 0.0;
    double area = 0.0;  // of the picture of a face or label
    // depth = a x + b y + c over the plane of a face or label.
    double a = 0, b = 0, c = 0;
    std::uint32_t firstPiece = 0, pieceCount = 0;
    bool inOverlaps = false;

    bool Polygonal() const { return pieceCount > 0; }
    double DepthAt(const GePoint2d& p) const { return a * p.x + b * p.y + c; }
};

// Cuts a simple loop (counter-clockwise) into triangles by clipping ears; false when no ear is
// left before the end (a loop that crosses itself).
bool Triangulate(std::span<const GePoint2d> loop, std::vector<std::array<GePoint2d, 3>>& out)
{
    std::vector<std::size_t> left(loop.size());
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = i;
    while (left.size() > 3) {
        bool clipped = false;
        for (std::size_t k = 0; k < left.size() && !clipped; ++k) {
            const GePoint2d p = loop[left[(k + left.size() - 1) % left.size()]], q = loop[left[k]],
                            r = loop[left[(k + 1) % left.size()]];
            if ((q - p).CrossProduct(r - q) <= 0.0) continue;
            bool empty = true;
            for (std::size_t m : left) {
                const GePoint2d s = loop[m];
                if ((s.x == p.x && s.y == p.y) || (s.x == q.x && s.y == q.y) || (s.x == r.x && s.y == r.y)) continue;
                if ((q - p).CrossProduct(s - p) >= 0.0 && (r - q).CrossProduct(s - q) >= 0.0 &&
                    (p - r).CrossProduct(s - r) >= 0.0) {
                    empty = false;
                    break;
                }
            }
            if (!empty) continue;
            out.push_back({p, q, r});
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
            clipped = true;
        }
        if (!clipped) return false;
    }
    out.push_back({loop[left[0]], loop[left[1]], loop[left[2]]});
    return true;
}

bool Convex(std::span<const GePoint2d> loop)
{
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i)
        if ((loop[(i + 1) % n] - loop[i]).CrossProduct(loop[(i + 2) % n] - loop[(i + 1) % n]) < 0.0) return false;
    return true;
}

class Orderer {
public:
    explicit Orderer(std::span<const DepthItem> items) : m_items(items), m_prepared(items.size()) {}

    std::vector<std::size_t> Run()
    {
        for (std::size_t i = 0; i < m_items.size(); ++i) Prepare(i);
        FindTolerances();
        FindOverlaps();
        return Sort();
    }

private:
    void Prepare(std::size_t i)
    {
        const DepthItem& item = m_items[i];
        Prepared& p = m_prepared[i];
        if (item.points.empty() || !AllFinite(item.points)) {
            p.meanDepth = std::numeric_limits<double>::infinity();
            return;
        }
        double depth = 0.0;
        p.minX = p.maxX = item.points[0].x;
        p.minY = p.maxY = item.points[0].y;
        for (const GePoint3d& q : item.points) {
            depth += q.z;
            p.minX = std::min(p.minX, q.x), p.maxX = std::max(p.maxX, q.x);
            p.minY = std::min(p.minY, q.y), p.maxY = std::max(p.maxY, q.y);
        }
        p.meanDepth = depth / static_cast<double>(item.points.size());
        if (item.kind == DepthItem::Kind::Line) {
            p.inOverlaps = item.points.size() == 2;
            return;
        }
        if (item.points.size() < 3 || !FindPlane(item.points, p)) return;
        GePoint2dArray loop;
        for (const GePoint3d& q : item.points) loop.emplace_back(q.x, q.y);
        p.area = loop.SignedArea();
        if (p.area < 0.0) {
            std::reverse(loop.begin(), loop.end());
            p.area = -p.area;
        }
        if (!(p.area > 0.0)) return;
        p.firstPiece = static_cast<std::uint32_t>(m_pieces.size());
        if (Convex(loop)) {
            AddPiece(loop);
        } else {
            std::vector<std::array<GePoint2d, 3>> triangles;
            if (!Triangulate(loop, triangles)) {
                // A loop that crosses itself: a fan stands in for it.
                triangles.clear();
                for (std::size_t k = 1; k + 1 < loop.size(); ++k) triangles.push_back({loop[0], loop[k], loop[k + 1]});
            }
            for (auto& t : triangles) {
                if ((t[1] - t[0]).CrossProduct(t[2] - t[0]) < 0.0) std::swap(t[1], t[2]);
                AddPiece(t);
            }
        }
        p.pieceCount = static_cast<std::uint32_t>(m_pieces.size()) - p.firstPiece;
        p.inOverlaps = p.pieceCount > 0;
    }

    // The plane through the loop (Newell's normal through its centre) as a depth over the
    // picture; false for a loop seen edge-on.
    static bool FindPlane(const std::vector<GePoint3d>& loop, Prepared& p)
    {
        double nx = 0, ny = 0, nz = 0, cx = 0, cy = 0, cz = 0;
        for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
            const GePoint3d &u = loop[j], &v = loop[i];
            nx += (u.y - v.y) * (u.z + v.z);
            ny += (u.z - v.z) * (u.x + v.x);
            nz += (u.x - v.x) * (u.y + v.y);
            cx += v.x, cy += v.y, cz += v.z;
        }
        const double n = static_cast<double>(loop.size());
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (!(std::abs(nz) > 1e-9 * length)) return false;
        p.a = -nx / nz;
        p.b = -ny / nz;
        p.c = cz / n - p.a * cx / n - p.b * cy / n;
        return true;
    }

    void AddPiece(std::span<const GePoint2d> loop)
    {
        m_pieces.push_back({static_cast<std::uint32_t>(m_points.size()), static_cast<std::uint32_t>(loop.size())});
        m_points.insert(m_points.end(), loop.begin(), loop.end());
    }

    std::span<const GePoint2d> PointsOf(const Piece& piece) const { return {m_points.data() + piece.first, piece.count}; }

    // Tolerances relative to the size of the scene where most of its items lie, so millimetres
    // and site coordinates both work and one item far from the rest changes nothing.
    void FindTolerances()
    {
        std::vector<double> lows[3], highs[3];
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_prepared[i].maxX < m_prepared[i].minX) continue;
            GePoint3d lo = m_items[i].points[0], hi = lo;
            for (const GePoint3d& q : m_items[i].points) {
                lo.x = std::min(lo.x, q.x), lo.y = std::min(lo.y, q.y), lo.z = std::min(lo.z, q.z);
                hi.x = std::max(hi.x, q.x), hi.y = std::max(hi.y, q.y), hi.z = std::max(hi.z, q.z);
            }
            lows[0].push_back(lo.x), lows[1].push_back(lo.y), lows[2].push_back(lo.z);
            highs[0].push_back(hi.x), highs[1].push_back(hi.y), highs[2].push_back(hi.z);
        }
        double size = 0.0, extent = 0.0;
        for (int axis = 0; axis < 3; ++axis) {
            const Range range = MiddleRange(lows[axis], highs[axis]);
            extent = std::max(extent, range.high - range.low);
            size = std::max({size, std::abs(range.low), std::abs(range.high)});
        }
        // Rounding in site coordinates grows with their size, overlaps with the picture's.
        m_depthTolerance = 1e-6 * extent + 1e-12 * size;
        m_lengthTolerance = 1e-7 * extent + 1e-12 * size;
        m_areaTolerance = m_lengthTolerance * m_lengthTolerance * 1e4;
    }

    // Relates the items whose boxes share a cell of a grid sized from the items, each pair once:
    // in the cell where the low corner of the common part of their boxes lies. The cells are
    // kept by number, so an item far from the rest has a cell of its own; an item over more
    // cells than there are items, or too far out for its cells to be numbered, is related to
    // every other item instead (a short list).
    void FindOverlaps()
    {
        std::vector<std::uint32_t> placed;
        std::vector<PlanBox> boxes;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (!m_prepared[i].inOverlaps) continue;
            const Prepared& p = m_prepared[i];
            placed.push_back(static_cast<std::uint32_t>(i));
            boxes.push_back({p.minX, p.minY, p.maxX, p.maxY});
        }
        const CellGrid grid(boxes);
        struct Entry {
            std::int64_t column, row;
            std::uint32_t item;
            bool operator<(const Entry& o) const
            {
                return column != o.column ? column < o.column : row != o.row ? row < o.row : item < o.item;
            }
        };
        std::vector<Entry> entries;
        std::vector<std::uint32_t> loose;
        // The low corner cell of each item's box.
        std::vector<std::pair<std::int64_t, std::int64_t>> corner(m_items.size());
        const auto most = std::max<std::int64_t>(64, static_cast<std::int64_t>(placed.size()));
        for (std::size_t k = 0; k < placed.size(); ++k) {
            const std::uint32_t i = placed[k];
            std::int64_t c0 = 0, c1 = 0, r0 = 0, r1 = 0;
            if (!grid.CellsOf(boxes[k], most, c0, c1, r0, r1)) {
                loose.push_back(i);
                continue;
            }
            corner[i] = {c0, r0};
            for (std::int64_t c = c0; c <= c1; ++c)
                for (std::int64_t r = r0; r <= r1; ++r) entries.push_back({c, r, i});
        }
        std::sort(entries.begin(), entries.end());
        for (std::size_t first = 0, end = 0; first < entries.size(); first = end) {
            const std::int64_t column = entries[first].column, row = entries[first].row;
            for (end = first; end < entries.size() && entries[end].column == column && entries[end].row == row;) ++end;
            for (std::size_t a = first; a < end; ++a) {
                const std::uint32_t i = entries[a].item;
                for (std::size_t b = a + 1; b < end; ++b) {
                    const std::uint32_t j = entries[b].item;
                    if (std::max(corner[i].first, corner[j].first) == column &&
                        std::max(corner[i].second, corner[j].second) == row)
                        Relate(i, j);
                }
            }
        }
        std::vector<char> isLoose(m_items.size(), 0);
        for (const std::uint32_t i : loose) isLoose[i] = 1;
        for (const std::uint32_t i : loose)
            for (const std::uint32_t j : placed)
                if (j != i && (!isLoose[j] || j > i)) Relate(std::min(i, j), std::max(i, j));
    }

    // Adds "draw first before second" when their pictures overlap.
    void Relate(std::size_t i, std::size_t j)
    {
        const Prepared &p = m_prepared[i], &q = m_prepared[j];
        if (p.maxX < q.minX || q.maxX < p.minX || p.maxY < q.minY || q.maxY < p.minY) return;
        const DepthItem::Kind ki = m_items[i].kind, kj = m_items[j].kind;
        using Kind = DepthItem::Kind;
        // Lines and labels are ordered against faces only.
        if (ki != Kind::Face && kj != Kind::Face) return;
        GePoint2d at;
        double di = 0, dj = 0;
        if (ki == Kind::Line || kj == Kind::Line) {
            const std::size_t line = ki == Kind::Line ? i : j, other = line == i ? j : i;
            if (!m_prepared[other].Polygonal()) return;
            double t = 0;
            if (!LineInside(line, other, t)) return;
            const GePoint3d &s = m_items[line].points[0], &e = m_items[line].points[1];
            at = {s.x + (e.x - s.x) * t, s.y + (e.y - s.y) * t};
            const double lineDepth = s.z + (e.z - s.z) * t, otherDepth = m_prepared[other].DepthAt(at);
            di = line == i ? lineDepth : otherDepth;
            dj = line == i ? otherDepth : lineDepth;
        } else {
            if (!SharedPoint(i, j, at)) return;
            di = p.DepthAt(at);
            dj = q.DepthAt(at);
        }
        if (di > dj + m_depthTolerance) return AddEdge(i, j);
        if (dj > di + m_depthTolerance) return AddEdge(j, i);
        // In one plane: what lies on a face goes after it; the smaller face after the larger.
        if (ki != kj) return ki == Kind::Face ? AddEdge(i, j) : AddEdge(j, i);
        if (ki == Kind::Face) return q.area > p.area ? AddEdge(j, i) : AddEdge(i, j);
    }

    void AddEdge(std::size_t from, std::size_t to) { m_edges.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to)}); }

    // The centre of the largest convex piece the two pictures share; false when they share
    // no piece of area above the tolerance.
    bool SharedPoint(std::size_t i, std::size_t j, GePoint2d& at)
    {
        const Prepared &p = m_prepared[i], &q = m_prepared[j];
        double best = m_areaTolerance;
        bool found = false;
        for (std::uint32_t a = 0; a < p.pieceCount; ++a) {
            for (std::uint32_t b = 0; b < q.pieceCount; ++b) {
                Clip(PointsOf(m_pieces[p.firstPiece + a]), PointsOf(m_pieces[q.firstPiece + b]));
                if (m_clipped.size() < 3) continue;
                const double area = m_clipped.SignedArea();
                if (area <= best) continue;
                best = area;
                found = true;
                at = Centroid(m_clipped, area);
            }
        }
        return found;
    }

    static GePoint2d Centroid(std::span<const GePoint2d> loop, double area)
    {
        double x = 0, y = 0;
        const GePoint2d o = loop[0];
        for (std::size_t k = 1; k + 1 < loop.size(); ++k) {
            const GeVector2d u = loop[k] - o, v = loop[k + 1] - o;
            const double w = u.CrossProduct(v);
            x += w * (u.x + v.x);
            y += w * (u.y + v.y);
        }
        return {o.x + x / (6.0 * area), o.y + y / (6.0 * area)};
    }

    // Sutherland and Hodgman: the part of subject inside the convex clip loop, into m_clipped.
    void Clip(std::span<const GePoint2d> subject, std::span<const GePoint2d> clip)
    {
        m_clipped.assign(subject.begin(), subject.end());
        for (std::size_t e = 0; e < clip.size() && m_clipped.size() >= 3; ++e) {
            const GePoint2d a = clip[e], b = clip[(e + 1) % clip.size()];
            const GeVector2d edge = b - a;
            m_input.swap(m_clipped);
            m_clipped.clear();
            for (std::size_t k = 0; k < m_input.size(); ++k) {
                const GePoint2d s = m_input[k], t = m_input[(k + 1) % m_input.size()];
                const double ds = edge.CrossProduct(s - a), dt = edge.CrossProduct(t - a);
                if (ds >= 0.0) m_clipped.push_back(s);
                if ((ds >= 0.0) != (dt >= 0.0)) {
                    const double f = ds / (ds - dt);
                    m_clipped.push_back({s.x + (t.x - s.x) * f, s.y + (t.y - s.y) * f});
                }
            }
        }
    }

    // The middle (as a parameter along the line) of the longest part of the line inside one
    // piece of the other item; a dot is inside when a piece holds it.
    bool LineInside(std::size_t line, std::size_t other, double& t) const
    {
        const GePoint3d &s3 = m_items[line].points[0], &e3 = m_items[line].points[1];
        const GePoint2d s{s3.x, s3.y};
        const GeVector2d d{e3.x - s3.x, e3.y - s3.y};
        const double length = std::hypot(d.x, d.y);
        const Prepared& o = m_prepared[other];
        double best = -1.0;
        for (std::uint32_t k = 0; k < o.pieceCount; ++k) {
            const auto loop = PointsOf(m_pieces[o.firstPiece + k]);
            double t0 = 0.0, t1 = 1.0;
            for (std::size_t e = 0; e < loop.size() && t0 <= t1; ++e) {
                const GeVector2d edge = loop[(e + 1) % loop.size()] - loop[e];
                const double num = edge.CrossProduct(s - loop[e]), den = edge.CrossProduct(d);
                if (den == 0.0) {
                    if (num < 0.0) t1 = -1.0;
                } else if (den > 0.0) {
                    t0 = std::max(t0, -num / den);
                } else {
                    t1 = std::min(t1, -num / den);
                }
            }
            if (t0 > t1) continue;
            const double inside = (t1 - t0) * length;
            if (inside > best && (length == 0.0 || inside > m_lengthTolerance)) {
                best = inside;
                t = (t0 + t1) / 2.0;
            }
        }
        return best >= 0.0;
    }

    // Kahn's order over the relation, the farthest free item first; a cycle gives way at its
    // farthest item.
    std::vector<std::size_t> Sort() const
    {
        const std::size_t n = m_items.size();
        const auto farther = [&](std::size_t a, std::size_t b) {
            const double da = m_prepared[a].meanDepth, db = m_prepared[b].meanDepth;
            return da != db ? da > db : a < b;
        };
        std::vector<std::uint32_t> start(n + 1, 0), targets(m_edges.size()), waiting(n, 0);
        for (const auto& [from, to] : m_edges) ++start[from + 1], ++waiting[to];
        for (std::size_t k = 1; k <= n; ++k) start[k] += start[k - 1];
        std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
        for (const auto& [from, to] : m_edges) targets[fill[from]++] = to;

        std::vector<std::size_t> byDepth(n);
        for (std::size_t k = 0; k < n; ++k) byDepth[k] = k;
        std::sort(byDepth.begin(), byDepth.end(), farther);
        const auto later = [&](std::size_t a, std::size_t b) { return farther(b, a); };
        std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(later)> ready(later);
        for (std::size_t k = 0; k < n; ++k)
            if (waiting[k] == 0) ready.push(k);

        std::vector<char> drawn(n, 0);
        std::vector<std::size_t> order;
        order.reserve(n);
        std::size_t nextByDepth = 0;
        while (order.size() < n) {
            std::size_t item = 0;
            if (!ready.empty()) {
                item = ready.top();
                ready.pop();
                if (drawn[item]) continue;
            } else {
                while (drawn[byDepth[nextByDepth]]) ++nextByDepth;
                item = byDepth[nextByDepth];
            }
            drawn[item] = 1;
            order.push_back(item);
            for (std::uint32_t k = start[item]; k < start[item + 1]; ++k)
                if (--waiting[targets[k]] == 0 && !drawn[targets[k]]) ready.push(targets[k]);
        }
        return order;
    }

    std::span<const DepthItem> m_items;
    std::vector<Prepared> m_prepared;
    std::vector<Piece> m_pieces;
    std::vector<GePoint2d> m_points;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_edges;
    GePoint2dArray m_clipped, m_input;
    double m_depthTolerance = 0, m_lengthTolerance = 0, m_areaTolerance = 0;
};

}  // namespace

std::vector<std::size_t> PaintersOrder(std::span<const DepthItem> items)
{
    return Orderer(items).Run();
}

}  // namespace host
