#pragma once
// Reading the arguments of the host's own commands. Each reader refuses what it cannot use,
// naming the script line, so a command stops before it changes anything.
#include <optional>
#include <string>
#include <vector>

#include "GePoint3d.h"
#include "ScriptedUser.h"

class decDbEntity;

namespace host {

std::optional<GePoint3d> PointArg(const ScriptLine& line, const std::string& word);
std::optional<double> NumberArg(const ScriptLine& line, const std::string& word, const char* what);
// Numbers separated by commas ("30,30,45"), each read as NumberArg reads one.
std::optional<std::vector<double>> NumberListArg(const ScriptLine& line, const std::string& word, const char* what);
// A number above 0 ("WHAT must be above 0" refuses the rest).
std::optional<double> PositiveArg(const ScriptLine& line, const std::string& word, const char* what);
// Entities named "#N" (live) or clicked "@x,y[,z]", in order, each once however often it is
// named; nothing when one of them is not there.
std::optional<std::vector<decDbEntity*>> EntityArgs(const ScriptLine& line, const std::vector<std::string>& words);
// Refuses the line because of the count of its arguments: "usage: ...".
void Usage(const ScriptLine& line, const std::string& usage);

// Writes "#N CLASS created" for a new entity.
void ReportCreated(const decDbEntity* entity);

}  // namespace host
