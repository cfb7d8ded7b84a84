#pragma once
// The sample "*.osm" model of examples/site.osm, and GBK text for test files: no program of
// ours writes the format, so the sample is made here and checked against the committed file.
#include <string>

// UTF-8 text as GBK bytes (the C library's converter); aborts on text GBK cannot hold.
std::string ToGbk(const std::string& utf8);

// The sample model as the file holds it (GBK, CR LF line ends): buildings plain, with an arc
// edge, drawn clockwise with an arc, swept downwards, in two groups, one owning a window, one
// of height 0; windows in millimetres and in metres, one of negative width, one facing 0.
std::string OsmSampleText();
