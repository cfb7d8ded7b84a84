#pragma once
// What every question of the host shares: showing its prompt, reading the answer line and
// telling the general answers (Enter, Esc, ended, lines run out) from the specific ones.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "GePoint3d.h"
#include "ScriptedUser.h"

namespace host {

enum class AnswerKind {
    Text,    // anything else: the question reads it
    Enter,   // an empty line
    Cancel,  // "*cancel*", or the lines have run out
    End,     // "*end*"
};

struct Answer {
    AnswerKind kind = AnswerKind::Cancel;
    ScriptLine line;  // the line itself (empty when the lines ran out)
};

// What a question waits for. A question the module asks without a prompt (a point question
// takes none of its own, so its prompt is the line the module printed last, when that line
// reads as one) shows the host's own line naming it, so that no question waits unseen.
enum class Awaited {
    Selection,       // decSSGet
    Point,           // GetPoint
    PointOrKeyword,  // a drag question with keywords
    PointOrValue,    // a drag question that takes typed text too
    Number,          // GetReal
    NumberOrPoints,  // GetDistance, GetAngle
    Text,            // GetString
    Pick,            // one entity
    FacePick,        // faces of entities
};

// Shows the question's own prompt, or when it has none and the module's last printed line is
// no prompt either, the host's line for its kind ("(a point x,y[,z], or Enter)") just above
// the answer; then reads its answer.
Answer Ask(const char* prompt, Awaited awaited);

// Reports an answer the question does not take; the question is then asked again.
void RefuseAnswer(const ScriptLine& line, const std::string& why);

// "x,y" or "x,y,z" as a point; refuses a malformed one and gives nothing.
enum class PointReading { NotAPoint, Point, Malformed };
PointReading ReadPoint(const ScriptLine& line, std::string_view text, GePoint3d& out);

// Text for the log and the transcript.
std::string FormatNumber(double value);
std::string FormatPoint(const GePoint3d& p);
std::string FormatHex(std::uint32_t value);

}  // namespace host
