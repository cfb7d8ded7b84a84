#pragma once
// Where the entities of a drawing lie seen along two directions (a view's right and up, or
// the plan's x and y): a grid over their extents projected on the two directions, so that a
// click or a window selection asks about the entities near it instead of about every entity
// of the drawing.
//
// Entities are known by their place in the drawing's creation order. The index answers
// conservatively: every entity whose projected extents come within the reach of the point, or
// meet the area, is a candidate (with a margin for rounding), and so may be a few more; the
// caller makes its exact test on each. An entity with extents that are not finite is a
// candidate everywhere, one without extents nowhere. The drawing keeps the index current: Note
// when an entity is made or its extents may have changed, Reset when entities change places (a
// drawing opened, new or purged). The grid is built at the first question, not before, and
// built again as the drawing grows: its cells are sized from the extents it was built from, so
// a grid made early (on an empty drawing, or beside one leftover object far from the site to
// come) would put a growing site into one cell, or into the list asked at every question. A
// grid built from fewer than kSettled extents is provisional (built again at the next question
// once more are known); a settled one is built again when the extents known have doubled
// since. So every grid fits the drawing within a factor of two, and the builds of a drawing
// made between clicks cost a few times its size in all.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "CellGrid.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

class decDbEntity;

class ExtentsIndex {
public:
    ExtentsIndex(const GeVector3d& right, const GeVector3d& up) : m_right(right), m_up(up) {}

    // Whether the index sees along these directions.
    bool SeesAlong(const GeVector3d& right, const GeVector3d& up) const;

    // The entity at this place was made, or its extents may have changed.
    void Note(std::size_t place);
    // The places changed: the grid is made again at the next question.
    void Reset();

    // The places of the live entities that may lie within reach of the point (in drawing
    // units, along each direction), the most recently made first.
    std::vector<std::size_t> Near(std::span<const std::unique_ptr<decDbEntity>> entities, const GePoint3d& point,
                                  double reach);
    // The places of the live entities whose extents may meet the area (its coordinates along
    // the two directions), in creation order.
    std::vector<std::size_t> Meeting(std::span<const std::unique_ptr<decDbEntity>> entities, const host::PlanBox& area);

private:
    static constexpr std::size_t kSettled = 32;

    // One entity's extents along the two directions, grown by the rounding margin.
    struct Span {
        enum class Kind : std::uint8_t { None, Box, Everywhere } kind = Kind::None;
        double r0 = 0.0, r1 = 0.0, u0 = 0.0, u1 = 0.0;
    };

    Span SpanOf(const decDbEntity& entity) const;
    static bool SameSpan(const Span& a, const Span& b);
    // The places of the live entities whose span meets the area (the most recently made first);
    // an area that is not finite is met by every entity with extents.
    std::vector<std::size_t> Candidates(std::span<const std::unique_ptr<decDbEntity>> entities,
                                        const host::PlanBox& area);
    void Build(std::span<const std::unique_ptr<decDbEntity>> entities);
    void Insert(std::size_t place);
    void CatchUp(std::span<const std::unique_ptr<decDbEntity>> entities);
    // Takes the noted entities' new extents into the grid.
    void TakePending(std::span<const std::unique_ptr<decDbEntity>> entities);
    // Whether the grid was sized from too few extents for those known now.
    bool Outgrown() const;

    GeVector3d m_right, m_up;
    bool m_built = false;
    host::CellGrid m_grid;
    std::vector<Span> m_spans;
    // Grid cells (keyed by both cell numbers) holding the places whose span meets them. An
    // entity whose extents changed keeps its old entries until the next build: the exact test
    // passes over them.
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_cells;
    // Places asked about at every question: spans over too many cells, too far out to be
    // numbered, or not finite.
    std::vector<std::size_t> m_everywhere;
    std::vector<std::size_t> m_pending;
    std::size_t m_stale = 0;
    // Entities with finite extents: those the grid was sized from, and those known now.
    std::size_t m_sizedFrom = 0, m_boxes = 0;
};
