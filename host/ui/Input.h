#pragma once
// The simple questions of the command line. Each returns a dex::ReturnCode: -2 with an
// answer, -6 for Enter where the question has no default to give, -4 for Esc (also when the
// lines have run out), -3 for an ended question ("*end*"). An answer of a kind the question
// does not take is refused on the transcript and the question is asked again.
#include <cstdint>

#include "CString.h"
#include "GePoint3d.h"
#include "decReturnCode.h"

namespace dec {

// A point "x,y[,z]". With a base point the host shows a rubber band from it. Enter gives -6.
// The flag word, cursor type and last argument are recorded only.
int GetPoint(const GePoint3d* base, GePoint3d* out, std::uint32_t flags = 0, int cursorType = 0, int reserved = 0);

// A number; Enter writes the default and gives -2.
int GetReal(const char* prompt, double* out, double defaultValue = 0.0, int flags = 0);

// The whole answer line; Enter on an empty line gives -6 and leaves inOut (the default) as it is.
int GetString(const char* prompt, CString& inOut, int flags = 0);

// A typed number, or two points whose distance is taken. Enter writes the default and gives -2.
int GetDistance(const char* prompt, double* out, double defaultValue = 0.0, int flags = 0);

// An angle in degrees: a typed number, or two points (the direction from the first to the
// second, counter-clockwise from +X, in [0, 360)). Enter writes the default and gives -2.
int GetAngle(const char* prompt, double* out, double defaultValue = 0.0, int flags = 0);

}  // namespace dec
