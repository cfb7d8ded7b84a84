#pragma once
// The window-by-window command `orderwin` ("逐个插窗"): the user picks the bottom (or top)
// edge of a wall of a building or an extrusion solid, sets the storeys and sizes in the
// dialog once, and then walks along the edge from the end nearer to the pick: for each window
// the spacing from the current point and the window's width, typed or dragged along the edge.
// Each window is repeated over the storeys, and the command goes on until less than 5 mm of
// the edge remain (a last window may run past the end) or a question is cancelled. "居中" and
// "对齐" in the dialog place one window in the middle of the edge or at its start end.

// The last spacing, the default of the next spacing question, kept until the module is
// unloaded (first 1000).
extern int g_orderWinSpacing;
