#include "Selection.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "DbDatabase.h"
#include "EventLog.h"
#include "GeUtility.h"
#include "Question.h"
#include "TextParse.h"
#include "View.h"
#include "WorkingDrawing.h"

int decSSGet_filter::Accept(decDbEntity*, int& accept)
{
    accept = 1;
    return 1;
}

int decSSGet_filter::AcceptPickPoint(decDbEntity*, const GePoint3d&)
{
    return 0;
}

namespace host {

namespace {

bool IsLive(const decDbEntity* entity)
{
    return entity && !entity->IsErased();
}

std::vector<decDbEntity*> LiveEntities()
{
    std::vector<decDbEntity*> out;
    for (decDbEntity* entity : dec::GetWorkingDatabase()->AllObjects())
        if (IsLive(entity)) out.push_back(entity);
    return out;
}

}  // namespace

std::string DescribeEntity(const decDbEntity* entity)
{
    if (!entity) return "(none)";
    // A 3-D entity is known by the class of the object that defines it (its builder).
    const decObject* base = entity->GetBaseObject();
    const decObjectClassInfo* info = (base ? base : entity)->GetClassInfoA();
    return "#" + std::to_string(entity->GetObjectId().Handle()) + " " +
           (info && info->className ? info->className : "?");
}

decDbEntity* ResolveHandle(const ScriptLine& line, const std::string& word)
{
    const auto handle = ParseHandle(word);
    if (!handle) {
        RefuseAnswer(line, "\"" + word + "\" is no entity handle (#N)");
        return nullptr;
    }
    decDbEntity* entity = dec::GetWorkingDatabase()->GetObjectById(decObjectId(*handle));
    if (!IsLive(entity)) {
        RefuseAnswer(line, "there is no entity " + word + " in the drawing");
        return nullptr;
    }
    return entity;
}

decDbEntity* ResolvePointWord(const ScriptLine& line, const std::string& word, decSSGet_filter* filter)
{
    GePoint3d point;
    const PointReading reading = ReadPoint(line, std::string_view(word).substr(1), point);
    if (reading == PointReading::Malformed) return nullptr;
    if (reading == PointReading::NotAPoint) {
        RefuseAnswer(line, "a click is @x,y or @x,y,z, not \"" + word + "\"");
        return nullptr;
    }
    decDbEntity* entity = EntityAtPoint(point, filter);
    if (!entity) RefuseAnswer(line, "nothing at " + FormatPoint(point) + " is taken here");
    return entity;
}

namespace {

// The rectangle of "box:x1,y1,x2,y2" in plan, low corner first; refuses the line and gives
// nothing when the four numbers are not there.
std::optional<PlanBox> ReadBox(const ScriptLine& line, const std::string& word)
{
    const std::string_view numbers = std::string_view(word).substr(4);
    const std::size_t middle = numbers.find(',', numbers.find(',') + 1);
    GePoint3d a, b;
    const PointReading first = middle == std::string_view::npos ? PointReading::NotAPoint
                                                                : ReadPoint(line, numbers.substr(0, middle), a);
    const PointReading second = first == PointReading::Point ? ReadPoint(line, numbers.substr(middle + 1), b)
                                                             : PointReading::NotAPoint;
    if (first == PointReading::Point && second == PointReading::Point)
        return PlanBox{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (first != PointReading::Malformed && second != PointReading::Malformed)
        RefuseAnswer(line, "a window selection is box:x1,y1,x2,y2, not \"" + word + "\"");
    return std::nullopt;
}

// Whether the entity is shown and its extents lie inside the plan rectangle.
bool InsideBox(const decDbEntity* entity, const PlanBox& box)
{
    const GeBoundBox3d& extents = entity->GetBoundBox();
    return !entity->IsHidden() && !extents.IsEmpty() && extents.MinPoint().x >= box.x0 &&
           extents.MinPoint().y >= box.y0 && extents.MaxPoint().x <= box.x1 && extents.MaxPoint().y <= box.y1;
}

}  // namespace

std::vector<decDbEntity*> ResolveSelection(const ScriptLine& line, decSSGet_filter* filter)
{
    std::vector<decDbEntity*> out;
    std::unordered_set<const decDbEntity*> taken;
    const auto add = [&](decDbEntity* entity) {
        if (entity && taken.insert(entity).second) out.push_back(entity);
    };
    DbDatabase* db = dec::GetWorkingDatabase();
    for (const std::string& word : SplitBlanks(line.text)) {
        if (word.front() == '#') {
            add(ResolveHandle(line, word));
        } else if (word.front() == '@') {
            add(ResolvePointWord(line, word, filter));
        } else if (AsciiLower(word.substr(0, 4)) == "box:") {
            // Only an entity whose extents meet the rectangle can lie inside it.
            if (const auto box = ReadBox(line, word))
                for (decDbEntity* entity : db->EntitiesMeeting(*box))
                    if (InsideBox(entity, *box)) add(entity);
        } else if (EqualsNoCase(word, "all")) {
            for (decDbEntity* entity : LiveEntities()) add(entity);
        } else if (EqualsNoCase(word, "last")) {
            if (decDbEntity* last = db->LastLiveEntity())
                add(last);
            else
                RefuseAnswer(line, "\"last\": the drawing has no entity");
        } else if (AsciiLower(word.substr(0, 6)) == "layer:") {
            const std::string name = word.substr(6);
            const decLayer* layer = db->GetTableLayer()->SearchLayer(name.c_str());
            if (!layer) {
                RefuseAnswer(line, "there is no layer \"" + name + "\"");
                continue;
            }
            for (decDbEntity* entity : LiveEntities())
                if (entity->GetLayerId() == layer->GetID()) add(entity);
        } else {
            RefuseAnswer(line, "\"" + word + "\" names no entities (#N, @x,y, last, all, layer:NAME or box:x1,y1,x2,y2)");
        }
    }
    return out;
}

decDbEntity* EntityAtPoint(const GePoint3d& point, decSSGet_filter* filter)
{
    // The pick aperture, in window units.
    constexpr int kAperture = 10;
    const decView* view = dec::GetActiveView();
    if (!view) return nullptr;
    int px = 0, py = 0;
    view->WorldToWindow(point, px, py);
    GePoint3d target;
    GeVector3d viewUp, viewRight, viewDir;
    view->GetCamera(target, viewUp, viewRight, viewDir);
    // The aperture in drawing units, a unit more on each side for the rounding to window
    // units, and a margin for the rounding of the projection far from the origin.
    const double reach = (kAperture + 2) / view->GetScale() +
                         1e-9 * (1.0 + std::max({std::fabs(target.x), std::fabs(target.y), std::fabs(target.z)}));
    for (decDbEntity* entity : dec::GetWorkingDatabase()->EntitiesNear(viewRight, viewUp, point, reach)) {
        const GeBoundBox3d& box = entity->GetBoundBox();
        if (box.IsEmpty()) continue;
        const GePoint3d& lo = box.MinPoint();
        const GePoint3d& hi = box.MaxPoint();
        int left = 0, right = 0, top = 0, bottom = 0;
        for (int corner = 0; corner < 8; ++corner) {
            const GePoint3d p((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y, (corner & 4) ? hi.z : lo.z);
            int x = 0, y = 0;
            view->WorldToWindow(p, x, y);
            left = corner == 0 ? x : std::min(left, x);
            right = corner == 0 ? x : std::max(right, x);
            top = corner == 0 ? y : std::min(top, y);
            bottom = corner == 0 ? y : std::max(bottom, y);
        }
        const bool near = px >= left - kAperture && px <= right + kAperture && py >= top - kAperture &&
                          py <= bottom + kAperture;
        if (near && FilterAccepts(filter, entity)) return entity;
    }
    return nullptr;
}

bool FaceAtPoint(const GePoint3d& point, decSSGet_filter* filter, const decObjectClassInfo* classInfo,
                 decDbEntity*& entity, int& face)
{
    // A face whose normal rises less than this is upright: a click from above cannot hit it.
    constexpr double kUpright = 1e-9;
    const GePoint2d at(point.x, point.y);
    bool found = false;
    double highest = 0.0;
    // Only an entity whose plan extents hold the point can have a face over it.
    const std::vector<decDbEntity*> near = dec::GetWorkingDatabase()->EntitiesNear(
        GeVector3d(1.0, 0.0, 0.0), GeVector3d(0.0, 1.0, 0.0), point, 0.0);
    for (auto it = near.begin(); it != near.end(); ++it) {
        const std::vector<GePolygon> polygons = (*it)->GetPolygons();
        bool taken = false, asked = false;
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            const GePolygon& polygon = polygons[i];
            const int n = polygon.GetCountVertex();
            GeVector3d normal;
            if (polygon.IsPolyline() || !GeUtility::GetPolygonNormal(n, polygon.GetVertexArray(), normal) ||
                std::fabs(normal.z) < kUpright)
                continue;
            std::vector<GePoint2d> plan;
            for (int k = 0; k < n; ++k)
                plan.emplace_back(polygon.GetVertexArray()[k].x, polygon.GetVertexArray()[k].y);
            if (!GeUtility::PointInsidePolygon(n, plan.data(), at, 0.0)) continue;
            const GePoint3d& p0 = polygon.GetVertexArray()[0];
            const double z = p0.z - (normal.x * (point.x - p0.x) + normal.y * (point.y - p0.y)) / normal.z;
            if (found && z <= highest) continue;
            if (!asked) {
                taken = (!classInfo || (*it)->IsKindOf(classInfo)) && FilterAccepts(filter, *it);
                asked = true;
            }
            if (!taken) break;
            found = true;
            highest = z;
            entity = *it;
            face = static_cast<int>(i);
        }
    }
    return found;
}

bool FilterAccepts(decSSGet_filter* filter, decDbEntity* entity)
{
    if (!filter) return true;
    int accept = 0;
    filter->Accept(entity, accept);
    return accept != 0;
}

}  // namespace host

namespace dec {

int decSSGet(const char* prompt, decSelectSet& out, decSSGet_filter* filter, int mode, const char* keywords)
{
    host::EventLog& log = host::EventLog::Instance();
    const std::string call = "decSSGet mode=" + std::to_string(mode) + (filter ? " filter" : "") +
                             (keywords ? std::string(" keywords=") + keywords : "");
    log.Call(call);
    const auto finish = [&](int code) {
        std::string ids;
        for (const decObjectId& id : out.Ids()) ids += " #" + std::to_string(id.Handle());
        log.Call(call + " -> " + std::to_string(code) + ids);
        return code;
    };
    out.Clear();
    const host::KeywordList keywordList(keywords ? keywords : "");
    const host::Answer answer = host::Ask(prompt, host::Awaited::Selection);
    switch (answer.kind) {
    case host::AnswerKind::Cancel: return finish(dex::eCancel);
    case host::AnswerKind::End: return finish(dex::eEnded);
    case host::AnswerKind::Enter: log.Show("selected 0"); return finish(dex::eOk);
    case host::AnswerKind::Text: break;
    }
    if (const int keyword = keywordList.Match(answer.line.text)) return finish(keyword);
    std::string taken;
    for (decDbEntity* entity : host::ResolveSelection(answer.line, filter)) {
        if (!host::FilterAccepts(filter, entity)) {
            log.Show(host::DescribeEntity(entity) + " is not taken here (refused by the selection filter)");
            continue;
        }
        out.Add(entity->GetObjectId());
        log.Call("highlight #" + std::to_string(entity->GetObjectId().Handle()));
        taken += " #" + std::to_string(entity->GetObjectId().Handle());
    }
    log.Show("selected " + std::to_string(out.GetCount()) + (taken.empty() ? "" : ":" + taken));
    return finish(dex::eOk);
}

}  // namespace dec
