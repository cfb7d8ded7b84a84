#pragma once
#include <vector>

// Cuts every segment of a list at every point where another segment meets it, so that the
// pieces touch only at their ends, and treats repeated pieces by mode:
//   mode 2 keeps every piece; mode 1 keeps the first of pieces that repeat one another
//   (all four coordinates within 0.01, either direction); mode 0 drops every copy of a
//   repeated piece.
// Segment i runs from (x1[i], y1[i]) to (x2[i], y2[i]), i = 1..n; attr[i] is copied onto its
// pieces. A segment shorter than 0.01 in both axes yields nothing. The pieces of a cut
// segment run in ascending x (ascending y for a steep one); an uncut segment keeps its
// direction. The outputs are 1-based and hold outCapacity pieces (entries 1..outCapacity);
// when the survivors would not fit, nothing is written and outCount is 0.
void SplitSegmentsAtCrossings(int mode, int n, const double x1[], const double y1[],
                              const double x2[], const double y2[], const float attr[],
                              int* outCount, double outX1[], double outY1[], double outX2[],
                              double outY2[], float outAttr[], int outCapacity);

// One segment or piece of the list form, with the attribute it carries. A segment marked
// cutOnly cuts the others but yields no pieces itself (nor drops their copies): a caller
// that would throw its pieces away saves cutting it at every crossing.
struct SplitPiece {
  double x1, y1, x2, y2;
  float attr;
  bool cutOnly = false;
};

// The list form of SplitSegmentsAtCrossings (0-based, no capacity): the pieces of every
// segment of the list, the same pieces in the same order, less those of cut-only segments.
std::vector<SplitPiece> SplitSegmentList(int mode, const std::vector<SplitPiece>& segments);
