#pragma once
// The name questions of the naming and grouping commands: a name, or Enter on an empty line
// to clear one.
#include "CString.h"

// Asks until a name or an empty Enter (clear := 1) is given; 0 when the question is
// cancelled or ended.
int AskNameOrClear(const char* prompt, CString& name, int& clear);
