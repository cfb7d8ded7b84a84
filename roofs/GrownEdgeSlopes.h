#pragma once
// The slopes of a roof edge ring carried to the ring grown from the same outline by another
// overhang. Both rings are offsets of one outline, but the offset may start the grown ring at
// another corner, run it the other way round or drop an edge that closed up, so the slopes
// cannot follow by index: each grown edge takes the slope of the edge it comes from, the one
// running the same way (seen counter-clockwise) on the line moved out by the overhang's
// change and, where several edges lie on that line (the two sides of a notch), beside it.
#include <optional>
#include <vector>

#include "Ge.h"

// slopes[i] belongs to the edge from point i to point i + 1 of `from` (the last edge back to
// point 0); the result is indexed the same way over `to`, which lies `grownBy` further out
// (less when negative). None when an edge of `to` comes from no edge of `from`, or runs
// beside several of unequal slope (collinear edges that grew into one), or when the counts do
// not fit.
std::optional<std::vector<float>> CarriedSlopes(const GePoint3dArray& from, const std::vector<float>& slopes,
                                                const GePoint3dArray& to, double grownBy);
