// CTools face extraction: the loops of a host entity (its enumerated polygons, or the loops
// of its polygon iterator when it enumerates none) read into point lists, and faces picked
// by the user as sub-objects.
#include <functional>
#include <memory>
#include <vector>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "PolygonCollector.h"
#include "Tools.h"
#include "decDbEntity.h"
#include "decReturnCode.h"
#include "decSelectSet.h"

namespace {

// The sub-object pick mode of faces.
constexpr int kPickFaces = 16;

// Opens an object for read for a scope.
class ReadScope {
public:
    explicit ReadScope(decObject* object) : m_object(object), m_open(object && object->OpenForRead() != 0) {}
    ~ReadScope()
    {
        if (m_open)
            m_object->Close();
    }
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

private:
    decObject* m_object;
    bool m_open;
};

// The entity's polygons in enumeration order; false when it enumerates none.
bool Collect(decDbEntity* entity, getPolygon& collector)
{
    if (!entity)
        return false;
    ReadScope open(entity);
    return entity->EnumPolygons(collector) != 0;
}

// A loop of the polygon iterator.
struct IteratorLoop {
    std::vector<GePoint3d> points;
    int closed = 0;
};

// The iterator's usable loops: those with a proper normal.
std::vector<IteratorLoop> UsableIteratorLoops(decDbEntity* entity)
{
    std::vector<IteratorLoop> loops;
    if (!entity)
        return loops;
    ReadScope open(entity);
    const std::unique_ptr<GePolygonIterator> iterator(entity->NewPolygonIterator());
    if (!iterator)
        return loops;
    for (iterator->start(); !iterator->done(); iterator->next()) {
        int count = 0, closed = 0, flag2 = 0;
        const GePoint3d* pts = nullptr;
        iterator->getCurLoop(count, pts, closed, flag2);
        GeVector3d normal;
        if (!pts || count <= 0 || GeUtility::GetPolygonNormal(count, pts, normal) == 0 || normal.Length() == 0.0)
            continue;
        loops.push_back({std::vector<GePoint3d>(pts, pts + count), closed});
    }
    return loops;
}

int ClosedFlag(const PolygonLoop& loop) { return loop.kind == PolygonLoop::kClosed ? 1 : 0; }

void Append(GePoint3dArray& out, const std::vector<GePoint3d>& pts) { out.insert(out.end(), pts.begin(), pts.end()); }

// The first loop of the extreme first-vertex z among the loops the filter admits: a loop
// replaces the current best (the output, which may come filled) when better(its z, the
// output's first z) holds. The number of collected loops, or 0 when nothing was collected.
int ExtremeLoop(decDbEntity* entity, int& closed, GePoint3dArray& out,
                const std::function<bool(const PolygonLoop&)>& admits, const std::function<bool(double, double)>& better)
{
    getPolygon collector;
    if (!Collect(entity, collector) || collector.Loops().empty())
        return 0;
    for (const auto& loop : collector.Loops()) {
        if (loop->vertices.size() < 2 || !admits(*loop))
            continue;
        if (out.empty() || better(loop->vertices.front().z, out.front().z)) {
            out.clear();
            Append(out, loop->vertices);
            closed = ClosedFlag(*loop);
        }
    }
    return static_cast<int>(collector.Loops().size());
}

// The faces of one picked entity whose bits are set: closed loops of at least 3 vertices.
class enumpgn : public EnumShapePolygonCallback {
public:
    BitArray picked;
    CArray<GePoint3dArray, GePoint3dArray> faces;

    void OnMap(int index, const GePolygon& polygon) override
    {
        if (!picked.IsSet(index) || polygon.GetCountVertex() < 3 || polygon.IsPolyline())
            return;
        const GePoint3d* pts = polygon.GetVertexArray();
        faces.Add(GePoint3dArray(pts, pts + polygon.GetCountVertex()));
    }
};

}  // namespace

int CTools::GetEntPlgCount(decDbEntity* entity)
{
    getPolygon collector;
    if (Collect(entity, collector))
        return static_cast<int>(collector.Loops().size());
    return static_cast<int>(UsableIteratorLoops(entity).size());
}

int CTools::GetEntBottomPlg(decDbEntity* entity, int& closed, GePoint3dArray& out)
{
    const int loops = ExtremeLoop(
        entity, closed, out, [](const PolygonLoop&) { return true; }, [](double z, double best) { return z < best; });
    return loops > 0 && !out.empty() ? 1 : 0;
}

int CTools::GetEntTopPlg(decDbEntity* entity, int& closed, GePoint3dArray& out)
{
    const int loops = ExtremeLoop(
        entity, closed, out, [](const PolygonLoop& loop) { return isAllPtsOnSameHeight(loop.vertices) != 0; },
        [](double z, double best) { return z > best; });
    return loops > 0 && !out.empty() ? loops : 0;
}

int CTools::GetEntSinglePlg(decDbEntity* entity, int& closed, GePoint3dArray& out)
{
    getPolygon collector;
    if (Collect(entity, collector)) {
        for (const auto& loop : collector.Loops()) {
            if (loop->vertices.size() < 2)
                continue;
            Append(out, loop->vertices);
            closed = ClosedFlag(*loop);
            return 1;
        }
        return 0;
    }
    for (const IteratorLoop& loop : UsableIteratorLoops(entity)) {
        if (loop.points.size() < 2)
            continue;
        Append(out, loop.points);
        closed = loop.closed;
        return out.size() > 1 ? 1 : 0;
    }
    return 0;
}

int CTools::Get2dEntSinglePlg(decDbEntity* entity, int& closed, GePoint3dArray& out)
{
    if (!entity || !entity->IsKindOf(decDbEntity2d::Desc()))
        return 0;
    getPolygon collector;
    if (Collect(entity, collector)) {
        if (collector.Loops().size() != 1)
            return 0;
        const PolygonLoop& loop = *collector.Loops().front();
        Append(out, loop.vertices);
        closed = ClosedFlag(loop);
        return 1;
    }
    // Several usable loops are a failure: the output is left as it came rather than
    // holding the points of all of them.
    const std::vector<IteratorLoop> loops = UsableIteratorLoops(entity);
    if (loops.size() != 1)
        return 0;
    Append(out, loops.front().points);
    closed = loops.front().closed;
    return 1;
}

int CTools::selectFaceS_sub(const char* prompt, DbDatabase* db, CArray<GePoint3dArray, GePoint3dArray>& faces)
{
    if (prompt)
        dec::PrintPrompt(prompt);
    if (!db)
        return 0;
    decSelectSet picked;
    if (db->decPickSubObjects(kPickFaces, picked, nullptr, nullptr) != dex::eOk)
        return 0;
    enumpgn collector;
    for (int i = 0; i < picked.GetCount(); ++i) {
        decDbEntity* entity = db->GetObjectById(picked.GetAt(i));
        if (!entity)
            continue;
        // The bits are those of this entity alone.
        collector.picked.Clear();
        if (entity->GetSubObjectSelectSet(collector.picked) == 1)
            entity->EnumPolygons(collector);
    }
    db->ClearSubSelectSet();
    for (const GePoint3dArray& face : collector.faces)
        faces.Add(face);
    return 1;
}
