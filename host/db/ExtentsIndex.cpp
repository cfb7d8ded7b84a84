#include "ExtentsIndex.h"

#include <algorithm>
#include <cmath>

#include "decDbEntity.h"

namespace {

// The share of a coordinate's size by which spans and questions are widened: far more than
// the rounding of a projection, far less than anything a click could tell apart.
constexpr double kRelativeMargin = 1e-9;
// A span over more cells than this is asked about at every question instead.
constexpr std::int64_t kMostCells = 64;

double Magnitude(const GePoint3d& p)
{
    return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
}

double Dot(const GePoint3d& p, const GeVector3d& v)
{
    return p.x * v.x + p.y * v.y + p.z * v.z;
}

host::PlanBox BoxOf(double r0, double r1, double u0, double u1)
{
    return {r0, u0, r1, u1};
}

}  // namespace

bool ExtentsIndex::SeesAlong(const GeVector3d& right, const GeVector3d& up) const
{
    return right.x == m_right.x && right.y == m_right.y && right.z == m_right.z && up.x == m_up.x &&
           up.y == m_up.y && up.z == m_up.z;
}

void ExtentsIndex::Note(std::size_t place)
{
    if (!m_built) return;
    m_pending.push_back(place);
    // Many changes and no question: the next question builds afresh.
    if (m_pending.size() > m_spans.size() + 1024) Reset();
}

void ExtentsIndex::Reset()
{
    m_built = false;
    m_spans.clear();
    m_cells.clear();
    m_everywhere.clear();
    m_pending.clear();
    m_stale = 0;
    m_sizedFrom = 0;
    m_boxes = 0;
}

bool ExtentsIndex::SameSpan(const Span& a, const Span& b)
{
    if (a.kind != b.kind) return false;
    return a.kind != Span::Kind::Box || (a.r0 == b.r0 && a.r1 == b.r1 && a.u0 == b.u0 && a.u1 == b.u1);
}

ExtentsIndex::Span ExtentsIndex::SpanOf(const decDbEntity& entity) const
{
    Span span;
    const GeBoundBox3d& box = entity.GetBoundBox();
    if (box.IsEmpty()) return span;
    const GePoint3d& lo = box.MinPoint();
    const GePoint3d& hi = box.MaxPoint();
    for (int corner = 0; corner < 8; ++corner) {
        const GePoint3d p((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y, (corner & 4) ? hi.z : lo.z);
        const double r = Dot(p, m_right), u = Dot(p, m_up);
        span.r0 = corner == 0 ? r : std::min(span.r0, r);
        span.r1 = corner == 0 ? r : std::max(span.r1, r);
        span.u0 = corner == 0 ? u : std::min(span.u0, u);
        span.u1 = corner == 0 ? u : std::max(span.u1, u);
    }
    const double margin = kRelativeMargin * (1.0 + std::max(Magnitude(lo), Magnitude(hi)));
    span.r0 -= margin;
    span.r1 += margin;
    span.u0 -= margin;
    span.u1 += margin;
    const bool finite = std::isfinite(span.r0) && std::isfinite(span.r1) && std::isfinite(span.u0) &&
                        std::isfinite(span.u1);
    span.kind = finite ? Span::Kind::Box : Span::Kind::Everywhere;
    return span;
}

void ExtentsIndex::Insert(std::size_t place)
{
    const Span& span = m_spans[place];
    if (span.kind == Span::Kind::None) return;
    std::int64_t i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    if (span.kind != Span::Kind::Box ||
        !m_grid.CellsOf(BoxOf(span.r0, span.r1, span.u0, span.u1), kMostCells, i0, i1, j0, j1)) {
        m_everywhere.push_back(place);
        return;
    }
    for (std::int64_t i = i0; i <= i1; ++i)
        for (std::int64_t j = j0; j <= j1; ++j) m_cells[host::CellGrid::Key(i, j)].push_back(place);
}

void ExtentsIndex::Build(std::span<const std::unique_ptr<decDbEntity>> entities)
{
    Reset();
    m_spans.reserve(entities.size());
    for (const auto& entity : entities) m_spans.push_back(SpanOf(*entity));
    // Cells from the entities' own sizes and where most of them lie, so that one entity far
    // from the rest neither widens them nor leaves the rest one cell.
    std::vector<host::PlanBox> boxes;
    for (const Span& span : m_spans)
        if (span.kind == Span::Kind::Box) boxes.push_back(BoxOf(span.r0, span.r1, span.u0, span.u1));
    m_grid = host::CellGrid(boxes);
    m_sizedFrom = m_boxes = boxes.size();
    for (std::size_t place = 0; place < m_spans.size(); ++place) Insert(place);
    m_built = true;
}

void ExtentsIndex::TakePending(std::span<const std::unique_ptr<decDbEntity>> entities)
{
    for (const std::size_t place : m_pending) {
        if (place >= entities.size()) continue;
        const Span span = SpanOf(*entities[place]);
        if (place >= m_spans.size()) {
            m_spans.resize(place + 1);
        } else {
            // Changed but where it was (a window renumbered): its cells hold it already.
            if (SameSpan(span, m_spans[place])) continue;
            ++m_stale;
            if (m_spans[place].kind == Span::Kind::Box) --m_boxes;
        }
        m_spans[place] = span;
        if (span.kind == Span::Kind::Box) ++m_boxes;
        Insert(place);
    }
    m_pending.clear();
}

bool ExtentsIndex::Outgrown() const
{
    return m_boxes > m_sizedFrom && (m_sizedFrom < kSettled || m_boxes >= 2 * m_sizedFrom);
}

void ExtentsIndex::CatchUp(std::span<const std::unique_ptr<decDbEntity>> entities)
{
    if (m_built && m_stale + m_pending.size() > m_spans.size() / 2 + 1024) m_built = false;
    if (m_built) TakePending(entities);
    if (!m_built || Outgrown()) Build(entities);
}

std::vector<std::size_t> ExtentsIndex::Near(std::span<const std::unique_ptr<decDbEntity>> entities,
                                            const GePoint3d& point, double reach)
{
    const double r = Dot(point, m_right), u = Dot(point, m_up);
    const double pad = reach + kRelativeMargin * (1.0 + Magnitude(point));
    return Candidates(entities, BoxOf(r - pad, r + pad, u - pad, u + pad));
}

std::vector<std::size_t> ExtentsIndex::Meeting(std::span<const std::unique_ptr<decDbEntity>> entities,
                                               const host::PlanBox& area)
{
    const double size = std::max({std::fabs(area.x0), std::fabs(area.x1), std::fabs(area.y0), std::fabs(area.y1)});
    const double pad = kRelativeMargin * (1.0 + size);
    std::vector<std::size_t> places =
        Candidates(entities, {area.x0 - pad, area.y0 - pad, area.x1 + pad, area.y1 + pad});
    std::reverse(places.begin(), places.end());
    return places;
}

std::vector<std::size_t> ExtentsIndex::Candidates(std::span<const std::unique_ptr<decDbEntity>> entities,
                                                  const host::PlanBox& area)
{
    CatchUp(entities);
    // An area that is not finite is asked of every entity with extents: the caller decides.
    const bool finite =
        std::isfinite(area.x0) && std::isfinite(area.x1) && std::isfinite(area.y0) && std::isfinite(area.y1);
    const auto meets = [&](std::size_t place) {
        if (place >= entities.size() || entities[place]->IsErased()) return false;
        const Span& span = m_spans[place];
        switch (span.kind) {
        case Span::Kind::None: return false;
        case Span::Kind::Everywhere: return true;
        case Span::Kind::Box: break;
        }
        return !finite || (span.r0 <= area.x1 && area.x0 <= span.r1 && span.u0 <= area.y1 && area.y0 <= span.u1);
    };
    std::vector<std::size_t> places;
    std::int64_t i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    if (m_grid.CellsOf(area, static_cast<std::int64_t>(m_cells.size()), i0, i1, j0, j1)) {
        for (std::int64_t i = i0; i <= i1; ++i)
            for (std::int64_t j = j0; j <= j1; ++j)
                if (const auto it = m_cells.find(host::CellGrid::Key(i, j)); it != m_cells.end())
                    for (const std::size_t place : it->second)
                        if (meets(place)) places.push_back(place);
        for (const std::size_t place : m_everywhere)
            if (meets(place)) places.push_back(place);
        std::sort(places.begin(), places.end(), std::greater<>());
        places.erase(std::unique(places.begin(), places.end()), places.end());
    } else {
        // The area covers more cells than the grid has: every entity is asked.
        for (std::size_t place = m_spans.size(); place-- > 0;)
            if (meets(place)) places.push_back(place);
    }
    return places;
}
