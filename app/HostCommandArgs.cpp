#include "HostCommandArgs.h"

#include <unordered_set>

#include "EventLog.h"
#include "Question.h"
#include "Selection.h"
#include "TextParse.h"

namespace host {

std::optional<GePoint3d> PointArg(const ScriptLine& line, const std::string& word)
{
    GePoint3d point;
    const PointReading reading = ReadPoint(line, word, point);
    if (reading == PointReading::Point) return point;
    if (reading == PointReading::NotAPoint)
        RefuseAnswer(line, "a point is x,y or x,y,z, not \"" + word + "\"");
    return std::nullopt;
}

std::optional<double> NumberArg(const ScriptLine& line, const std::string& word, const char* what)
{
    if (const auto value = ParseNumber(word)) return value;
    RefuseAnswer(line, std::string(what) + " is a number, not \"" + word + "\"");
    return std::nullopt;
}

std::optional<std::vector<double>> NumberListArg(const ScriptLine& line, const std::string& word, const char* what)
{
    std::vector<double> values;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = word.find(',', start);
        const auto value = NumberArg(line, word.substr(start, comma - start), what);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        if (comma == std::string::npos)
            return values;
        start = comma + 1;
    }
}

std::optional<double> PositiveArg(const ScriptLine& line, const std::string& word, const char* what)
{
    const auto value = NumberArg(line, word, what);
    if (!value || *value > 0.0) return value;
    RefuseAnswer(line, std::string(what) + " must be above 0");
    return std::nullopt;
}

std::optional<std::vector<decDbEntity*>> EntityArgs(const ScriptLine& line, const std::vector<std::string>& words)
{
    std::vector<decDbEntity*> out;
    std::unordered_set<const decDbEntity*> named;
    for (const std::string& word : words) {
        decDbEntity* entity = word.starts_with("@") ? ResolvePointWord(line, word, nullptr) : ResolveHandle(line, word);
        if (!entity) return std::nullopt;
        // An entity named twice is changed once: moved twice, its sum would go unchecked.
        if (named.insert(entity).second) out.push_back(entity);
    }
    return out;
}

void Usage(const ScriptLine& line, const std::string& usage)
{
    RefuseAnswer(line, "usage: " + usage);
}

void ReportCreated(const decDbEntity* entity)
{
    EventLog::Instance().Show(DescribeEntity(entity) + " created");
}

}  // namespace host
