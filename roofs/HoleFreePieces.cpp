#include "HoleFreePieces.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "GeUtility.h"
#include "qrxGeRing.h"

namespace {

// The two coordinates of the view along the axis the normal is closest to, in the order that
// keeps the face's turning sense seen from the normal's side.
struct View {
    int u = 0, v = 1;
    double U(const GePoint3d& p) const { return Coordinate(p, u); }
    double V(const GePoint3d& p) const { return Coordinate(p, v); }
    static double Coordinate(const GePoint3d& p, int axis) { return axis == 0 ? p.x : (axis == 1 ? p.y : p.z); }
};

View ViewAlong(const GeVector3d& n)
{
    const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (az >= ax && az >= ay)
        return {0, 1};
    return ax >= ay ? View{1, 2} : View{2, 0};
}

struct Edge {
    GePoint3d a, b;
};

// The point of the edge at u, taken along the edge in space; the ends exactly.
GePoint3d At(const Edge& e, const View& view, double u)
{
    const double ua = view.U(e.a), ub = view.U(e.b);
    if (u == ua)
        return e.a;
    if (u == ub)
        return e.b;
    return e.a + (e.b - e.a) * ((u - ua) / (ub - ua));
}

double VAt(const Edge& e, const View& view, double u)
{
    const double ua = view.U(e.a), ub = view.U(e.b);
    return view.V(e.a) + (view.V(e.b) - view.V(e.a)) * ((u - ua) / (ub - ua));
}

double SignedArea(const GePoint3dArray& ring, const View& view)
{
    qrxGe::ring2d seen;
    seen.reserve(ring.size());
    for (const GePoint3d& p : ring)
        seen.emplace_back(view.U(p), view.V(p));
    return qrxGe::SignedArea(seen);
}

// A piece between a lower and an upper edge, from the strip line `from` on.
struct OpenPiece {
    std::size_t low = 0, high = 0;
    double from = 0.0;
};

class Cutter {
public:
    Cutter(const View& view, std::vector<Edge> edges, bool reversed)
        : m_view(view), m_edges(std::move(edges)), m_reversed(reversed)
    {
    }

    std::vector<GePoint3dArray> Run()
    {
        std::vector<double> lines;
        for (const Edge& e : m_edges)
            lines.push_back(m_view.U(e.a));
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
        for (std::size_t k = 0; k + 1 < lines.size(); ++k)
            Strip(lines[k], lines[k + 1]);
        if (!lines.empty())
            CloseAll(lines.back());
        return std::move(m_pieces);
    }

private:
    // The pieces of the strip between the lines u0 and u1, which no vertex lies strictly
    // between: the edges crossing it pair up from the low side.
    void Strip(double u0, double u1)
    {
        const double mid = (u0 + u1) / 2.0;
        std::vector<std::pair<double, std::size_t>> crossing;
        for (std::size_t i = 0; i < m_edges.size(); ++i) {
            const double ua = m_view.U(m_edges[i].a), ub = m_view.U(m_edges[i].b);
            if (std::min(ua, ub) <= u0 && std::max(ua, ub) >= u1)
                crossing.emplace_back(VAt(m_edges[i], m_view, mid), i);
        }
        std::sort(crossing.begin(), crossing.end());
        std::vector<OpenPiece> next;
        for (std::size_t k = 0; k + 1 < crossing.size(); k += 2) {
            const std::size_t low = crossing[k].second, high = crossing[k + 1].second;
            const auto same = std::find_if(m_open.begin(), m_open.end(),
                                           [&](const OpenPiece& p) { return p.low == low && p.high == high; });
            if (same != m_open.end()) {
                next.push_back(*same);
                m_open.erase(same);
            } else {
                next.push_back({low, high, u0});
            }
        }
        CloseAll(u0);
        m_open = std::move(next);
    }

    void CloseAll(double to)
    {
        for (const OpenPiece& p : m_open)
            Emit(p, to);
        m_open.clear();
    }

    void Emit(const OpenPiece& p, double to)
    {
        const Edge& low = m_edges[p.low];
        const Edge& high = m_edges[p.high];
        GePoint3dArray piece;
        for (const GePoint3d& q : {At(low, m_view, p.from), At(low, m_view, to), At(high, m_view, to),
                                   At(high, m_view, p.from)})
            if (piece.empty() || !(q.x == piece.back().x && q.y == piece.back().y && q.z == piece.back().z))
                piece.push_back(q);
        const GePoint3d& first = piece.front();
        if (piece.size() > 1 && first.x == piece.back().x && first.y == piece.back().y && first.z == piece.back().z)
            piece.pop_back();
        if (piece.size() < 3 || !(SignedArea(piece, m_view) > 0.0))
            return;
        if (m_reversed)
            std::reverse(piece.begin(), piece.end());
        m_pieces.push_back(std::move(piece));
    }

    View m_view;
    std::vector<Edge> m_edges;
    bool m_reversed;
    std::vector<OpenPiece> m_open;
    std::vector<GePoint3dArray> m_pieces;
};

void AddEdges(const GePoint3dArray& ring, const View& view, std::vector<Edge>& edges)
{
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Edge e{ring[i], ring[(i + 1) % ring.size()]};
        // An edge along the cut lines bounds no strip.
        if (view.U(e.a) != view.U(e.b))
            edges.push_back(e);
    }
}

}  // namespace

std::vector<GePoint3dArray> HoleFreePieces(const GePoint3dArray& outer, const std::vector<GePoint3dArray>& holes)
{
    GeVector3d normal;
    if (holes.empty() || !GeUtility::GetPolygonNormal(static_cast<int>(outer.size()), outer.data(), normal))
        return {outer};
    const View view = ViewAlong(normal);
    std::vector<Edge> edges;
    AddEdges(outer, view, edges);
    for (const GePoint3dArray& hole : holes)
        AddEdges(hole, view, edges);
    return Cutter(view, std::move(edges), SignedArea(outer, view) < 0.0).Run();
}
