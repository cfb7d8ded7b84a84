#pragma once
// Shared helpers of the toolkit tests: rings moved, turned round and measured. Drawings,
// entities and point checks come from the module's test host (ModuleTest.h).
#include <algorithm>
#include <cstddef>
#include <vector>

#include "Ge.h"
#include "ModuleTest.h"

namespace tools_test {

using Ring = GePoint3dArray;
using Faces = std::vector<Ring>;

inline void ExpectPoint(const GePoint3d& actual, const GePoint3d& expected, double tol = 1e-9)
{
    ExpectPointsNear({actual}, {expected}, tol);
}

inline Ring Reversed(Ring ring)
{
    std::reverse(ring.begin(), ring.end());
    return ring;
}

inline Ring Moved(Ring ring, double dx, double dy, double dz = 0.0)
{
    for (GePoint3d& p : ring)
        p += GeVector3d(dx, dy, dz);
    return ring;
}

// The ring with point `at` given `copies` times; at == size gives the first point again at the
// end, so the ring closes onto it `copies` times.
inline Ring Repeated(Ring ring, std::size_t at, int copies)
{
    const GePoint3d repeated = ring[at % ring.size()];
    ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(copies - 1), repeated);
    return ring;
}

inline Ring Lifted(Ring ring, double dz) { return Moved(std::move(ring), 0.0, 0.0, dz); }

// The shoelace area in plan, counter-clockwise positive.
inline double SignedPlanArea(const Ring& ring)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GePoint3d& a = ring[i];
        const GePoint3d& b = ring[(i + 1) % ring.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

}  // namespace tools_test
