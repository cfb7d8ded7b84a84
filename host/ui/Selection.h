#pragma once
// Selecting entities: the multi-selection question and the filters that decide which
// candidates a command takes. Answers name entities by handle:
//   #N            the entity of handle N
//   last          the entity created last
//   all           every entity of the drawing
//   layer:NAME    every entity on the layer NAME
//   @x,y[,z]      the entity a click at that point takes (see EntityAtPoint)
//   box:x1,y1,x2,y2  every shown entity whose extents lie inside that rectangle in plan
// several in one line, separated by blanks. An empty line selects nothing.
#include <string>
#include <vector>

#include "decSelectSet.h"

class decDbEntity;
class GePoint3d;
struct decObjectClassInfo;

// A selection filter: the host asks it about every candidate. Accept writes a non-zero value
// to accept to take the entity; what it returns is not looked at.
class decSSGet_filter {
public:
    virtual int Accept(decDbEntity* entity, int& accept);
    // Asked about a pick point; no host question uses it, so it answers 0.
    virtual int AcceptPickPoint(decDbEntity* entity, const GePoint3d& point);
    virtual ~decSSGet_filter() = default;
};

namespace dec {

// Selects entities: -2 with the set (in the order the user named them; possibly empty), a
// keyword's 1-based index when keywords are given, -4 for Esc, -3 for "*end*". Candidates
// the filter refuses are reported on the transcript and left out. The mode is recorded.
int decSSGet(const char* prompt, decSelectSet& out, decSSGet_filter* filter = nullptr, int mode = 1,
             const char* keywords = nullptr);

}  // namespace dec

namespace host {

struct ScriptLine;

// The entities a selection answer names, in order, without repeats. Items that name no
// entity are refused (naming the line); the rest are still taken. A click takes what the
// filter accepts.
std::vector<decDbEntity*> ResolveSelection(const ScriptLine& line, decSSGet_filter* filter = nullptr);

// The entity of a click word "@x,y[,z]" (EntityAtPoint); refuses the line and gives null when
// the word is no point or the click takes nothing the filter accepts.
decDbEntity* ResolvePointWord(const ScriptLine& line, const std::string& word, decSSGet_filter* filter);

// The entity of a handle word "#N" (live, not erased); refuses the line and gives null
// otherwise.
decDbEntity* ResolveHandle(const ScriptLine& line, const std::string& word);

// The entity a click at the point takes: the most recently made one the filter accepts whose
// extents, seen in the active view, come within 10 window units of the point; null when
// there is none.
decDbEntity* EntityAtPoint(const GePoint3d& point, decSSGet_filter* filter);

// The face a click at the plan point hits from above: of the faces (not open polylines) that
// are not upright and contain the point in plan, of the entities the class (when given) and
// the filter take, the one whose plane lies highest above it; on a tie the most recently
// made entity's, then its first such face. False when there is none.
bool FaceAtPoint(const GePoint3d& point, decSSGet_filter* filter, const decObjectClassInfo* classInfo,
                 decDbEntity*& entity, int& face);

// Asks the filter; true when it takes the entity (always, without a filter).
bool FilterAccepts(decSSGet_filter* filter, decDbEntity* entity);

// "#N" and the entity's persistent class name, for messages.
std::string DescribeEntity(const decDbEntity* entity);

}  // namespace host
