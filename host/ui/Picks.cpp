// The database's interactive picks: one entity with its pick point, and faces of solids.
//   single pick:  "#N" or "#N@x,y[,z]" (the pick point; without it, the middle of the
//                 entity's extents); "@x,y[,z]", a click at the point, which takes the
//                 entity there (host::EntityAtPoint); a keyword of the question, or the
//                 label of its way out (the last argument, such as "取消"), which ends the
//                 question (-3)
//   face pick:    "#N:i,j,..." (polygon indices of the entity, from 0) or "@x,y", a click at
//                 the point, which takes the face there seen from above (host::FaceAtPoint);
//                 several in one line. A click beside every face takes nothing of the line,
//                 and the question is asked again.
#include <algorithm>
#include <optional>
#include <string>

#include "DbDatabase.h"
#include "EventLog.h"
#include "Question.h"
#include "Selection.h"
#include "TextParse.h"
#include "decObjectClassInfo.h"

namespace {

GePoint3d MiddleOf(const decDbEntity* entity)
{
    const GeBoundBox3d& box = entity->GetBoundBox();
    return box.IsEmpty() ? GePoint3d() : box.Center();
}

// The face indices of "i,j,...": nothing (and the line refused) when one is no index of the
// entity's polygons.
std::optional<std::vector<int>> ReadFaces(const host::ScriptLine& line, const decDbEntity* entity, std::string_view list)
{
    const int count = static_cast<int>(entity->GetPolygons().size());
    std::vector<int> faces;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) comma = list.size();
        const std::string_view item = list.substr(start, comma - start);
        const auto index = host::ParseInt(item);
        if (!index || *index < 0 || *index >= count) {
            host::RefuseAnswer(line, host::DescribeEntity(entity) + " has " + std::to_string(count) +
                                         " faces (0 to " + std::to_string(count - 1) + "); \"" + std::string(item) +
                                         "\" is none of them");
            return std::nullopt;
        }
        faces.push_back(static_cast<int>(*index));
        start = comma + 1;
    }
    return faces;
}

// The faces picked in one answer, gathered per entity in the order the entities came.
struct PickedFaces {
    std::vector<std::pair<decDbEntity*, BitArray>> entities;
    void Add(decDbEntity* entity, int face)
    {
        auto it = std::find_if(entities.begin(), entities.end(), [&](const auto& e) { return e.first == entity; });
        if (it == entities.end()) it = entities.insert(entities.end(), {entity, BitArray()});
        it->second.Set(face);
    }
};

}  // namespace

int DbDatabase::decPickSingleEntity(decObjectId& outId, GePoint3d& outPickPoint, const char* prompt,
                                    const char* keywords, decSSGet_filter* filter, const char* extraText)
{
    host::EventLog& log = host::EventLog::Instance();
    const std::string call = std::string("decPickSingleEntity") + (keywords ? std::string(" keywords=") + keywords : "") +
                             (filter ? " filter" : "") + (extraText ? std::string(" option=") + extraText : "");
    log.Call(call);
    const auto finish = [&](int code, const std::string& value = {}) {
        log.Call(call + " -> " + std::to_string(code) + (value.empty() ? "" : " " + value));
        return code;
    };
    const auto take = [&](decDbEntity* entity, const GePoint3d& point) {
        outId = entity->GetObjectId();
        outPickPoint = point;
        log.Call("highlight #" + std::to_string(outId.Handle()));
        return finish(dex::eOk, "#" + std::to_string(outId.Handle()) + "@" + host::FormatPoint(point));
    };
    const host::KeywordList keywordList(keywords ? keywords : "");
    while (true) {
        const host::Answer answer = host::Ask(prompt, host::Awaited::Pick);
        switch (answer.kind) {
        case host::AnswerKind::Cancel: return finish(dex::eCancel);
        case host::AnswerKind::End: return finish(dex::eEnded);
        case host::AnswerKind::Enter: return finish(dex::eEmpty);
        case host::AnswerKind::Text: break;
        }
        const std::string& text = answer.line.text;
        if (const int keyword = keywordList.Match(text)) return finish(keyword, text);
        // The question's own way out, labelled by its last argument ("取消", "结束").
        if (extraText && *extraText && host::EqualsNoCase(text, extraText)) return finish(dex::eEnded, text);
        if (text.front() == '@') {
            GePoint3d point;
            const host::PointReading reading = host::ReadPoint(answer.line, std::string_view(text).substr(1), point);
            if (reading == host::PointReading::Malformed) continue;
            if (reading == host::PointReading::NotAPoint) {
                host::RefuseAnswer(answer.line, "a click is @x,y or @x,y,z");
                continue;
            }
            if (decDbEntity* entity = host::EntityAtPoint(point, filter)) return take(entity, point);
            log.Show("nothing at " + host::FormatPoint(point) + " is taken here");
            continue;
        }
        if (text.front() != '#') {
            host::RefuseAnswer(answer.line, "a pick is #N, #N@x,y,z or @x,y,z" +
                                                (keywords ? std::string(" or a keyword of ") + keywords : std::string()) +
                                                ", not \"" + text + "\"");
            continue;
        }
        const std::size_t at = text.find('@');
        decDbEntity* entity = host::ResolveHandle(answer.line, text.substr(0, at));
        if (!entity) continue;
        GePoint3d point = MiddleOf(entity);
        if (at != std::string::npos) {
            const host::PointReading reading = host::ReadPoint(answer.line, std::string_view(text).substr(at + 1), point);
            if (reading == host::PointReading::Malformed) continue;
            if (reading == host::PointReading::NotAPoint) {
                host::RefuseAnswer(answer.line, "the pick point after @ is x,y or x,y,z");
                continue;
            }
        }
        if (!host::FilterAccepts(filter, entity)) {
            log.Show(host::DescribeEntity(entity) + " is not taken here (refused by the selection filter)");
            continue;
        }
        return take(entity, point);
    }
}

int DbDatabase::decPickSubObjects(int mode, decSelectSet& out, decSSGet_filter* filter, const decObjectClassInfo* classInfo)
{
    host::EventLog& log = host::EventLog::Instance();
    const std::string call = "decPickSubObjects mode=" + std::to_string(mode) + (filter ? " filter" : "") +
                             (classInfo && classInfo->className ? std::string(" class=") + classInfo->className : "");
    log.Call(call);
    while (true) {
        out.Clear();
        const host::Answer answer = host::Ask(nullptr, host::Awaited::FacePick);
        switch (answer.kind) {
        case host::AnswerKind::Cancel: log.Call(call + " -> -4"); return dex::eCancel;
        case host::AnswerKind::End: log.Call(call + " -> -3"); return dex::eEnded;
        case host::AnswerKind::Enter: log.Show("selected 0"); log.Call(call + " -> -2"); return dex::eOk;
        case host::AnswerKind::Text: break;
        }
        PickedFaces picked;
        bool missed = false;
        std::string taken;
        for (const std::string& word : host::SplitBlanks(answer.line.text)) {
            if (word.front() == '@') {
                GePoint3d point;
                const host::PointReading reading = host::ReadPoint(answer.line, std::string_view(word).substr(1), point);
                if (reading == host::PointReading::Malformed) {
                    missed = true;
                    continue;
                }
                decDbEntity* entity = nullptr;
                int face = 0;
                if (reading == host::PointReading::NotAPoint) {
                    host::RefuseAnswer(answer.line, "a click is @x,y or @x,y,z");
                    missed = true;
                } else if (host::FaceAtPoint(point, filter, classInfo, entity, face)) {
                    picked.Add(entity, face);
                    taken += " #" + std::to_string(entity->GetObjectId().Handle()) + ":" + std::to_string(face);
                } else {
                    log.Show("no face at " + host::FormatPoint(point) + " is taken here");
                    missed = true;
                }
                continue;
            }
            const std::size_t colon = word.find(':');
            if (colon == std::string::npos) {
                host::RefuseAnswer(answer.line, "a face pick is #N:i,j,... (face indices from 0) or @x,y, not \"" + word + "\"");
                continue;
            }
            decDbEntity* entity = host::ResolveHandle(answer.line, word.substr(0, colon));
            if (!entity) continue;
            const std::optional<std::vector<int>> faces = ReadFaces(answer.line, entity, std::string_view(word).substr(colon + 1));
            if (!faces) continue;
            const bool rightClass = !classInfo || entity->IsKindOf(classInfo);
            if (!rightClass || !host::FilterAccepts(filter, entity)) {
                log.Show(host::DescribeEntity(entity) + " is not taken here (refused by the selection filter)");
                continue;
            }
            for (int face : *faces)
                picked.Add(entity, face);
            taken += " " + word;
        }
        // A click beside every face takes nothing of the line: the question is asked again.
        if (missed) continue;
        for (auto& [entity, faces] : picked.entities) {
            entity->SetSubObjectSelectSet(faces);
            out.Add(entity->GetObjectId());
        }
        log.Show("selected " + std::to_string(out.GetCount()) + (taken.empty() ? "" : ":" + taken));
        log.Call(call + " -> -2" + taken);
        return dex::eOk;
    }
}
