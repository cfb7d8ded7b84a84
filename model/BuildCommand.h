#pragma once
// The building command `build` ("拉伸建筑"): turns selected closed outlines into buildings.
// Each batch of outlines gets one height, typed in metres or added up by the floor table, and
// one base elevation; every usable outline becomes an unnamed CExtrudeBuild on layer "建筑"
// with an elevation label, and floor dividing lines when the floor table asks for them. The
// command asks for the next batch until the user selects nothing or cancels a question.

// The last accepted building height and base elevation in metres: the defaults of the next
// questions, kept until the module is unloaded (first 24.0 and 0.0).
extern double g_lastBuildHeight;
extern double g_lastBaseElevation;
