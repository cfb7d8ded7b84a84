#pragma once
// Opening, saving and exporting the working drawing, for the options and the host commands.
// A failure is shown on the transcript (naming the file and what was wrong) and remembered,
// because it makes the executable's exit status 2.
#include <string>

#include "DrawingPicture.h"

namespace host {

bool OpenDrawingFile(const std::string& path);
bool SaveDrawingFile(const std::string& path);
bool ExportObjFile(const std::string& path);
bool ExportSvgFile(const std::string& path, PictureView view, int widthPx);
// Replaces the working drawing by an empty one.
void StartNewDrawing();

// Whether an open, save or export has failed in this run.
bool DrawingFileFailed();

}  // namespace host
