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

// Shows a question's own prompt (when it has one) and reads its answer.
Answer Ask(const char* prompt);

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
