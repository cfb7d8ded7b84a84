#include "Input.h"

#include <cmath>
#include <numbers>
#include <string>

#include "EventLog.h"
#include "Question.h"
#include "TextParse.h"

namespace {

using host::AnswerKind;

void Record(const std::string& text)
{
    host::EventLog::Instance().Call(text);
}

int Finish(const std::string& call, int code, const std::string& value = {})
{
    Record(call + " -> " + std::to_string(code) + (value.empty() ? "" : " " + value));
    return code;
}

// A number given as the answer: written out when the caller asked for it, and recorded.
int TakeNumber(const std::string& call, double* out, double value)
{
    if (out) *out = value;
    return Finish(call, dex::eOk, host::FormatNumber(value));
}

// The code of a general answer, or 0 for text the question reads itself.
int GeneralCode(const host::Answer& answer)
{
    switch (answer.kind) {
    case AnswerKind::Cancel: return dex::eCancel;
    case AnswerKind::End: return dex::eEnded;
    default: return 0;
    }
}

// A cursor line "~x,y[,z]" moves the cursor; gives true when the line was one (taken or refused).
bool TakeCursorLine(const host::ScriptLine& line, const GePoint3d* base)
{
    if (line.text.front() != '~') return false;
    GePoint3d cursor;
    if (host::ReadPoint(line, std::string_view(line.text).substr(1), cursor) == host::PointReading::NotAPoint)
        host::RefuseAnswer(line, "a cursor line is ~x,y or ~x,y,z, not \"" + line.text + "\"");
    else if (base)
        Record("rubber band " + host::FormatPoint(*base) + " to " + host::FormatPoint(cursor));
    return true;
}

// A number or two points, for GetDistance and GetAngle.
template <class FromPoints>
int AskValueOrPoints(const char* name, const char* prompt, double* out, double defaultValue, int flags,
                     FromPoints fromPoints)
{
    const std::string call = std::string(name) + " flags=" + std::to_string(flags);
    Record(call);
    while (true) {
        const host::Answer answer = host::Ask(prompt, host::Awaited::NumberOrPoints);
        if (const int code = GeneralCode(answer)) return Finish(call, code);
        if (answer.kind == AnswerKind::Enter) return TakeNumber(call, out, defaultValue);
        const std::string& text = answer.line.text;
        if (TakeCursorLine(answer.line, nullptr)) continue;
        if (const auto value = host::ParseNumber(text)) return TakeNumber(call, out, *value);
        GePoint3d first;
        const host::PointReading reading = host::ReadPoint(answer.line, text, first);
        if (reading == host::PointReading::Malformed) continue;
        if (reading == host::PointReading::NotAPoint) {
            host::RefuseAnswer(answer.line, std::string("the question takes a number or a point, not \"") + text + "\"");
            continue;
        }
        // The second point, with a rubber band from the first; Enter there gives the question up.
        GePoint3d second;
        const int code = dec::GetPoint(&first, &second);
        if (code != dex::eOk) return Finish(call, code == dex::eEmpty ? dex::eCancel : code);
        return TakeNumber(call, out, fromPoints(first, second));
    }
}

}  // namespace

namespace dec {

int GetPoint(const GePoint3d* base, GePoint3d* out, std::uint32_t flags, int cursorType, int reserved)
{
    const std::string call = "GetPoint flags=" + host::FormatHex(flags) + " cursor=" + std::to_string(cursorType) +
                             " arg=" + std::to_string(reserved) + (base ? " base=" + host::FormatPoint(*base) : "");
    Record(call);
    while (true) {
        const host::Answer answer = host::Ask(nullptr, host::Awaited::Point);
        if (const int code = GeneralCode(answer)) return Finish(call, code);
        if (answer.kind == AnswerKind::Enter) return Finish(call, dex::eEmpty);
        if (TakeCursorLine(answer.line, base)) continue;
        GePoint3d point;
        const host::PointReading reading = host::ReadPoint(answer.line, answer.line.text, point);
        if (reading == host::PointReading::Point) {
            if (out) *out = point;
            return Finish(call, dex::eOk, host::FormatPoint(point));
        }
        if (reading == host::PointReading::NotAPoint)
            host::RefuseAnswer(answer.line, "a point is x,y or x,y,z, not \"" + answer.line.text + "\"");
    }
}

int GetReal(const char* prompt, double* out, double defaultValue, int flags)
{
    const std::string call = "GetReal flags=" + std::to_string(flags);
    Record(call);
    while (true) {
        const host::Answer answer = host::Ask(prompt, host::Awaited::Number);
        if (const int code = GeneralCode(answer)) return Finish(call, code);
        if (answer.kind == AnswerKind::Enter) return TakeNumber(call, out, defaultValue);
        if (const auto value = host::ParseNumber(answer.line.text)) return TakeNumber(call, out, *value);
        host::RefuseAnswer(answer.line, "a number is wanted, not \"" + answer.line.text + "\"");
    }
}

int GetString(const char* prompt, CString& inOut, int flags)
{
    const std::string call = "GetString flags=" + std::to_string(flags);
    Record(call);
    const host::Answer answer = host::Ask(prompt, host::Awaited::Text);
    if (const int code = GeneralCode(answer)) return Finish(call, code);
    if (answer.kind == AnswerKind::Enter) return Finish(call, dex::eEmpty);
    inOut = answer.line.text.c_str();
    return Finish(call, dex::eOk, answer.line.text);
}

int GetDistance(const char* prompt, double* out, double defaultValue, int flags)
{
    return AskValueOrPoints("GetDistance", prompt, out, defaultValue, flags,
                            [](const GePoint3d& a, const GePoint3d& b) { return a.DistanceTo(b); });
}

int GetAngle(const char* prompt, double* out, double defaultValue, int flags)
{
    return AskValueOrPoints("GetAngle", prompt, out, defaultValue, flags, [](const GePoint3d& a, const GePoint3d& b) {
        double degrees = std::atan2(b.y - a.y, b.x - a.x) * 180.0 / std::numbers::pi;
        if (degrees < 0.0) degrees += 360.0;
        return degrees >= 360.0 ? 0.0 : degrees;
    });
}

}  // namespace dec
