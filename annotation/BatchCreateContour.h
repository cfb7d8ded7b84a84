#pragma once
// Contour lines drawn flat get their elevations in one pass: the command tocontour takes the
// selected curves that a drawn segment crosses, orders them by where it crosses them (nearest
// to its first point first) and replaces each by a polyline at start, start + interval,
// start + 2 × interval, ... on layer "原始等高线".
#include "Selection.h"

// Takes every host curve (polylines, arcs, circles).
class decSSGet_Curve : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};
