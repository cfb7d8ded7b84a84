#pragma once
// The working drawing: the one database every command and export uses. It lives as long
// as the process; a new or opened drawing replaces its content, so the pointer stays valid
// and the reactors stay registered.
#include <string>

class DbDatabase;

namespace dec {
DbDatabase* GetWorkingDatabase();
}  // namespace dec

namespace host {

// Starts a fresh drawing: no entities, layer "0" current, no materials, variables or
// groups, selection and temporary graphics cleared, no write bracket open. Reactors stay
// registered and receive OnNewDocument.
void NewDrawing();

// Reads a drawing file into a new database and, when it is sound, makes it the working
// drawing and fires OnDocumentOpened. A refused file leaves the working drawing as it was;
// error then says which file and what was wrong.
bool OpenDrawing(const std::string& path, std::string& error);

// Saves the working drawing (see DrawingFile.h).
bool SaveDrawing(const std::string& path, std::string& error);

}  // namespace host
