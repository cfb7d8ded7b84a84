#pragma once
// Whether an entity holds only finite numbers: in what a drawing file stores of it (its
// placement and record; saving refuses anything else, as opening does) and in what it makes of
// them (the points of its polygons, of a curve's segments and of what it draws). The host's
// own commands make or change nothing that fails this; the exports leave out an entity holding
// such a number and say so.
#include <cmath>
#include <span>

#include "GeMatrix3d.h"
#include "GePoint3d.h"

class decDbEntity;

namespace host {

inline bool IsFinite(const GePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

inline bool AllFinite(std::span<const GePoint3d> points)
{
    for (const GePoint3d& p : points)
        if (!IsFinite(p)) return false;
    return true;
}

bool IsFiniteEntity(decDbEntity& entity);

// Whether the entity moved by the matrix would still hold only finite numbers: what a save
// would write of it and the points of its mesh, polygons and curve segments. It is asked
// without drawing the moved entity (a module's entity may draw only once it is in a drawing):
// a solid is checked at its new placement, any other entity on a moved copy.
bool StaysFinite(decDbEntity& entity, const GeMatrix3d& move);

// Why an export leaves out an entity that cannot be stored.
inline constexpr const char* kHoldsNotFinite = "it holds a number that is not finite";
// Shows that an export leaves the entity out, and why:
// "export obj: object 3 (QCOrvRoof) left out: it holds a number that is not finite".
void ShowLeftOut(const char* exportName, decDbEntity& entity, const char* reason);

}  // namespace host
