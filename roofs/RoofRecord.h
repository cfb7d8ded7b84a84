#pragma once
// The counted lists of the roof objects' drawing records: an int count, then the items.
// A count of 0 or less is an empty list; a count that claims more items than the record
// still holds refuses the record (host::RecordError) before anything is allocated.
#include <cstddef>
#include <string>

#include "Ge.h"
#include "SerializeFilter.h"

namespace roof_record {

inline constexpr std::size_t kPointBytes = 3 * sizeof(double);

inline std::size_t ReadCount(SerializeFilter& filter, std::size_t itemBytes)
{
    int count = 0;
    filter >> count;
    if (count <= 0)
        return 0;
    const auto n = static_cast<std::size_t>(count);
    if (n > filter.BytesLeft() / itemBytes)
        throw host::RecordError("a roof's count of " + std::to_string(count) + " claims more than the record holds");
    return n;
}

inline void WritePoints(SerializeFilter& filter, const GePoint3dArray& pts)
{
    filter << static_cast<int>(pts.size());
    for (const GePoint3d& p : pts)
        filter << p;
}

inline void ReadPoints(SerializeFilter& filter, GePoint3dArray& pts)
{
    pts.resize(ReadCount(filter, kPointBytes));
    for (GePoint3d& p : pts)
        filter >> p;
}

}  // namespace roof_record
