#pragma once
#include <vector>

// The region a closed path of straight segments winds around, and its boundary. The
// polygon offset describes its result as where the moved and joined edges of a ring wind at
// least once in the ring's own sense; these routines find that region's boundary without
// forming the faces of the path's arrangement: the path is cut where it crosses or touches
// itself, and a piece is kept when the region lies on exactly one of its sides.
//
// A path is given by 1-based arrays x, y of m + 1 points whose last point repeats the first
// (segment k runs from point k to point k + 1, k = 1..m). Coordinates are plan millimetres,
// best measured from a point of the path so that they stay small.

namespace kernel {

// The winding number of a closed path about a point, counted along the upward ray from it
// (counter-clockwise turns positive). Built once, asked many times; the edges are kept per
// column of the plan so that a point meets only the edges about it, however long the
// path's edges are. The arrays must outlive the object.
class PathWinding {
 public:
  PathWinding(const std::vector<double>& x, const std::vector<double>& y, int edges);

  int At(double px, double py) const;

 private:
  // An edge tried one by one: the x range where it crosses a vertical (lo <= x < hi) and a
  // height it surely stays under.
  struct End {
    double lo, hi, top;
    int edge;
  };
  // An edge spanning a whole column: its heights over the column, widened by the rounding.
  struct Span {
    double bottom, top;
    int turn;  // what the edge adds when it crosses the ray
    int edge, column;
  };

  int Column(double x) const;
  int Crossing(int edge, double px, double py) const;

  const std::vector<double>& x_;
  const std::vector<double>& y_;
  double x0_ = 0.0, w_ = 1.0, inverse_ = 1.0;
  int cols_ = 1;
  std::vector<int> endStart_, spanStart_, above_;
  std::vector<End> ends_;
  std::vector<Span> spans_;
  std::vector<double> tallest_;
};

// One piece of a path, in the direction the path runs.
struct PathPiece {
  double x1, y1, x2, y2;
};

// The pieces of the closed path (x, y as above, m segments) that bound where it winds at
// least once counter-clockwise (sense 1) or clockwise (sense -1). Every segment is cut at
// each point where another crosses it and at the foot of each end of another within
// sideStep of it; a piece is kept when its two sides differ in whether they lie in that
// region. The winding left of a piece is carried along from the one before it where
// nothing but clean crossings lies between them, and otherwise asked by a ray test from a
// point sideStep beside the piece's middle (nearer, at half its distance, when another
// segment passes nearer; one that runs right along the piece is counted with it). Where the
// path crosses itself very often (more than 64 pairs of boxes overlap per segment, as in a
// dense jagged ring shrunk far), a quadtree first settles the winding in the cells that no
// boundary can cross, and only the rest is cut. Segments flagged in cutsOnly (1-based, m + 1
// entries) cut the others but are known never to bound the region: they give no pieces,
// their crossings with one another are not looked for, and the winding is asked afresh
// beyond them. Pieces come in path order, each running the way its segment runs; sideStep
// should be below the distance at which the caller takes two points for one.
std::vector<PathPiece> PathBoundaryPieces(const std::vector<double>& x,
                                          const std::vector<double>& y,
                                          const std::vector<unsigned char>& cutsOnly, int sense,
                                          double sideStep);

// Pieces in path order where each starts exactly where the one before it ends form a run
// (the last piece may lead on to the first). Within a run, a point closer than step in x
// and in y to the last point kept is left out (the run's own end moves onto the last kept
// point instead), so that no piece is shorter than step in both axes unless its whole run
// is: a tracer that drops such short pieces then meets no gap wider than step.
void ThinRuns(std::vector<PathPiece>& pieces, double step);

// Pieces still shorter than step in x and in y once the runs are thinned belong to no run:
// pieces of many segments knotted together within a hair (as where the moved edges of a
// concave arc grown by its radius all pass by its centre). A tracer that drops the short
// pieces first would leave the pieces that lead into the knot and out of it ends wider
// than step apart. So each knot becomes one point: the short pieces with every end within
// reach (in x and in y) of one of theirs, where they all lie within most of one another in
// x and in y, take the coordinates of the first end among them (in piece order), and the
// pieces left with no length go. A knot spread wider than most is left as it is.
void CollapseKnots(std::vector<PathPiece>& pieces, double step, double reach, double most);

}  // namespace kernel
