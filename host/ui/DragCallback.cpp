#include "DragCallback.h"

#include <cctype>
#include <cstdio>
#include <optional>

#include "EventLog.h"
#include "Question.h"
#include "View.h"


namespace {

// Whether the format holds exactly one conversion, a floating-point one ("%.4f", "%8.2e",
// "%g"), besides any "%%".
bool TakesOneDouble(std::string_view format)
{
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && std::string_view("-+ #0").find(format[j]) != std::string_view::npos) ++j;
        while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
        if (j < format.size() && format[j] == '.') {
            ++j;
            while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
        }
        if (j < format.size() && format[j] == 'l') ++j;
        if (j >= format.size() || std::string_view("fFeEgG").find(format[j]) == std::string_view::npos) return false;
        ++conversions;
        i = j;
    }
    return conversions == 1;
}

// The filter and the drag update for one cursor position; gives the filtered point.
GePoint3d DragUpdate(decDragCallback* callback, decView* view, GePoint3d point)
{
    if (!callback) return point;
    const int moved = callback->OnPointFilter(view, point);
    view->BeginDragFrame();
    callback->OnDragDraw(view, point);
    host::EventLog::Instance().Call("drag update " + host::FormatPoint(point) + (moved ? " (moved)" : ""));
    return point;
}

}  // namespace

void decDragCallbackObj::SetKeywords(const char* list, int defaultIndex)
{
    m_keywords = host::KeywordList(list ? list : "");
    m_defaultKeyword = defaultIndex >= 1 && defaultIndex <= m_keywords.Count() ? defaultIndex : 0;
}

void decDragCallbackObj::ShowTip(const char* format, double value)
{
    const std::string_view text = format ? format : "";
    if (TakesOneDouble(text)) {
        const int length = std::snprintf(nullptr, 0, std::string(text).c_str(), value);
        m_tip.assign(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
        std::snprintf(m_tip.data(), m_tip.size() + 1, std::string(text).c_str(), value);
    } else {
        m_tip = text;
    }
    host::EventLog::Instance().Call("tip " + m_tip);
}

void decDragCallback::OnDragDraw(decView*, const GePoint3d&) {}

int decDragCallback::OnPointFilter(decView*, GePoint3d&)
{
    return 0;
}

namespace dec {

int GetDragPoint(decDragCallback* callback, GePoint3d* inOut, int flag)
{
    host::EventLog& log = host::EventLog::Instance();
    const unsigned flags = callback ? callback->GetUserInputFlags() : 0;
    const std::string keywords = callback ? callback->GetKeywords().Source() : std::string();
    const std::string call = "GetDragPoint flags=" + host::FormatHex(flags) + " keywords=" + keywords +
                             " default=" + std::to_string(callback ? callback->GetDefaultKeyword() : 0) +
                             " arg=" + std::to_string(flag);
    log.Call(call);
    const auto finish = [&](int code, const std::string& value = {}) {
        log.Call(call + " -> " + std::to_string(code) + (value.empty() ? "" : " " + value));
        return code;
    };
    const host::Awaited awaited = (flags & kInputTakesText) != 0 ? host::Awaited::PointOrValue
                                  : keywords.empty()            ? host::Awaited::Point
                                                                : host::Awaited::PointOrKeyword;
    decView* view = GetActiveView();
    std::optional<GePoint3d> cursor;
    while (true) {
        const host::Answer answer = host::Ask(nullptr, awaited);
        switch (answer.kind) {
        case host::AnswerKind::Cancel: return finish(dex::eCancel);
        case host::AnswerKind::End: return finish(dex::eEnded);
        case host::AnswerKind::Enter:
            if (callback && callback->GetDefaultKeyword() > 0) return finish(callback->GetDefaultKeyword());
            if (cursor && inOut) *inOut = *cursor;
            return finish(dex::eEmpty);
        case host::AnswerKind::Text: break;
        }
        const host::ScriptLine& line = answer.line;
        const std::string& text = line.text;
        GePoint3d point;
        if (text.front() == '~') {
            const host::PointReading reading = host::ReadPoint(line, std::string_view(text).substr(1), point);
            if (reading == host::PointReading::Point)
                cursor = DragUpdate(callback, view, point);
            else if (reading == host::PointReading::NotAPoint)
                host::RefuseAnswer(line, "a cursor line is ~x,y or ~x,y,z, not \"" + text + "\"");
            continue;
        }
        if (callback) {
            if (const int keyword = callback->GetKeywords().Match(text)) return finish(keyword, text);
        }
        const bool takesText = (flags & kInputTakesText) != 0;
        const host::CoordinateReading coordinates = host::ParseCoordinates(text);
        if (coordinates.value) {
            point = GePoint3d(coordinates.value->xyz[0], coordinates.value->xyz[1], coordinates.value->xyz[2]);
            point = DragUpdate(callback, view, point);
            if (inOut) *inOut = point;
            return finish(dex::eOk, host::FormatPoint(point));
        }
        if (takesText) {
            callback->SetUserString(text);
            return finish(dex::eTextInput, text);
        }
        if (!coordinates.error.empty())
            host::RefuseAnswer(line, coordinates.error);
        else
            host::RefuseAnswer(line, "this question takes a point x,y[,z]" +
                                         (keywords.empty() ? std::string() : " or a keyword of " + keywords) +
                                         ", not \"" + text + "\"");
    }
}

}  // namespace dec
