#include "Question.h"

#include <cmath>
#include <cstdio>

#include "CommandLine.h"
#include "EventLog.h"
#include "TextParse.h"

namespace host {

namespace {

// The host's line for a question of the kind asked without a prompt.
const char* Placeholder(Awaited awaited)
{
    switch (awaited) {
    case Awaited::Point: return "(a point x,y[,z], or Enter)";
    case Awaited::PointOrKeyword: return "(a point x,y[,z], a keyword, or Enter)";
    case Awaited::PointOrValue: return "(a point x,y[,z], a keyword or a value, or Enter)";
    case Awaited::Number: return "(a number, or Enter)";
    case Awaited::NumberOrPoints: return "(a number, or two points x,y[,z] on two lines, or Enter)";
    case Awaited::Text: return "(a line of text, or Enter)";
    case Awaited::Pick: return "(an object to pick: #N or @x,y, or Enter)";
    case Awaited::FacePick: return "(faces to pick: #N:i,j or @x,y, or Enter)";
    case Awaited::Selection: break;
    }
    return "(objects: #N, @x,y, box:x1,y1,x2,y2, last, all or layer:NAME, or Enter)";
}

}  // namespace

Answer Ask(const char* prompt, Awaited awaited)
{
    const bool ownPrompt = prompt && *prompt;
    if (ownPrompt) EventLog::Instance().Show(prompt);
    const bool prompted = ownPrompt || CommandLine::Instance().PromptShown();
    Answer answer;
    std::optional<ScriptLine> line = CommandLine::Instance().NextAnswer(prompted ? nullptr : Placeholder(awaited));
    if (!line) return answer;  // Esc
    answer.line = *line;
    if (line->text.empty())
        answer.kind = AnswerKind::Enter;
    else if (EqualsNoCase(line->text, kCancelAnswer))
        answer.kind = AnswerKind::Cancel;
    else if (EqualsNoCase(line->text, kEndAnswer))
        answer.kind = AnswerKind::End;
    else
        answer.kind = AnswerKind::Text;
    return answer;
}

void RefuseAnswer(const ScriptLine& line, const std::string& why)
{
    ScriptedUser::Instance().Refuse(line, why);
}

PointReading ReadPoint(const ScriptLine& line, std::string_view text, GePoint3d& out)
{
    const CoordinateReading reading = ParseCoordinates(text);
    if (reading.value) {
        out = GePoint3d(reading.value->xyz[0], reading.value->xyz[1], reading.value->xyz[2]);
        return PointReading::Point;
    }
    if (reading.error.empty()) return PointReading::NotAPoint;
    RefuseAnswer(line, reading.error);
    return PointReading::Malformed;
}

std::string FormatNumber(double value)
{
    // Rounding noise of computed coordinates (6e-16 for 0) and "-0" print as 0.
    if (std::abs(value) < 1e-9) value = 0.0;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

std::string FormatPoint(const GePoint3d& p)
{
    return FormatNumber(p.x) + "," + FormatNumber(p.y) + "," + FormatNumber(p.z);
}

std::string FormatHex(std::uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", value);
    return buffer;
}

}  // namespace host
