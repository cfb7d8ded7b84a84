#pragma once
// Floor dividing lines: closed lines around a building outline at the top of every storey, on
// layer "楼层分界线". The building command draws them from its floor table; the command
// `layerline` draws them around one picked building, solid or curve, storey by storey from
// typed heights and counts or from the floor table.
#include <cstdint>
#include <vector>

#include "GePoint3dArray.h"

class DbDatabase;

namespace FloorLines {

// The layer of the floor lines, found or made (colour 0xFFFFFF). The database is open for write.
long Layer(DbDatabase* db);

// Draws count storeys of the given height on every ring: for each storey z rises by the height,
// every ring is moved to z and drawn as a closed polyline on the layer. z is left at the last
// line drawn; a count below 1 draws nothing. The database is open for write.
void DrawStoreys(DbDatabase* db, long layer, std::vector<GePoint3dArray>& rings, double& z, double storeyHeight,
                 std::uint32_t count);

// The same for every entry of a floor table, bottom to top.
void DrawTable(DbDatabase* db, long layer, std::vector<GePoint3dArray>& rings, double& z,
               const std::vector<std::uint32_t>& heights, const std::vector<std::uint32_t>& counts);

// The most storeys `layerline` draws for one typed count, the floor table's limit.
inline constexpr double kMaxRepeatCount = 499.0;

}  // namespace FloorLines

// Lets the user pick one building, single-loop solid or curve and appends its level outline to
// ring: a building's base, a solid's loop, a curve's points (arcs sampled; an open curve is
// taken as a ring, its end point included unless it is the start). 1 when a usable
// outline was read. A failed pick prints "未选中目标!退出命令!"; a curve of fewer than 3
// points prints "提示：底轮廓顶点数不能小于3个", one that is not level shows
// "底轮廓必须在同一个水平面上!".
int SelectBaseOutline(GePoint3dArray& ring);
