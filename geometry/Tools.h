#pragma once
// CTools: the module's toolkit of static geometry routines. It keeps no state; every
// member is static and exported with the class, so the commands of every subsystem and the
// host's analysis side call the same routines.
//
// The class is one declaration shared by several routine groups. Each group has its own
// section below and its own source file (Tools<Group>.cpp); add a new group as a new
// section rather than mixing it into another.
#include "CArray.h"
#include "CString.h"
#include "Ge.h"
#include "OutsideBox.h"
#include "qrxGePoint2d.h"

#include <vector>

class CDC;
struct CRect;
class DbDatabase;
class EntityArray;
class decDbEntity;

class __attribute__((visibility("default"))) CTools {
public:
    // The class holds no data. Objects exist only for the few members that need one; they
    // are made on the stack and let go out of scope.
    CTools() = default;
    virtual ~CTools() = default;

    // ---- Point-array polygon routines (ToolsPointArrays.cpp) --------------------------
    // Rings are GePoint3dArrays whose last point joins back to the first without repeating
    // it; polylines are open arrays. Every outline that is stored or offset passes through
    // ManageGePoint3dArray and IsPtArrayClockWise first.

    // Cleans the points in place: first drops every point within tol (inclusive) of the
    // last point kept (for a ring, the last point also when within tol of the first), then
    // drops vertices where the outline goes straight on or turns back on itself (turn
    // angles within min(tol, 0.0175) rad of 0 or of a half turn). closed non-zero: a ring.
    // An open polyline keeps its two ends; a single point is left alone.
    static void ManageGePoint3dArray(GePoint3dArray& pts, int closed, double tol);
    // Drops every run of consecutive copies (points within tol, inclusive, of the last point
    // kept) down to its first point, and for a ring (closed non-zero) also every copy of the
    // first point at the end, however many, so no edge, the closing one included, is shorter
    // than tol. A point that comes back later in the ring (a keyhole's slit walked in and
    // out) is no copy and stays, as do corners where the outline goes straight on. The first
    // point always stays; fewer than two points are left as they are.
    static void DropRepeatedPoints(GePoint3dArray& pts, int closed, double tol);

    // 1 when the ring runs clockwise in plan (y up, z ignored), by the shoelace sum; fewer
    // than three points also give 1, a ring of zero area 0.
    static int IsPtArrayClockWise(GePoint3dArray pts);

    // The unit normal of a planar ring by the right-hand rule (a counter-clockwise ring in
    // the XY plane gives +Z), taken at a convex corner found on the first axis along which
    // the ring extends beyond tol. (0,0,0) for a ring that is too small or degenerate.
    static GeVector3d GetNormal(GePoint3dArray pts, double tol);

    // Reverses the order of the points in place.
    static void ReverseP3dArray(GePoint3dArray& pts);

    // 1 when the two rings have the same points (each within tol, strictly). inOrder
    // non-zero compares index by index; zero allows any starting vertex and either
    // direction. Different counts give 0; two empty arrays give 1.
    static int IsPtArraySame(GePoint3dArray a, GePoint3dArray b, int inOrder, double tol);

    // ---- Utilities and point metrics (ToolsUtilities.cpp) ------------------------------

    // 1 for a plain decimal number: a digit, sign or point first, then digits and at most
    // one point in the whole text (a leading point counts). No blanks or exponents; "+",
    // "-" and "." alone give 1, the empty text 0.
    static int IsStringANumber(CString text);
    // 1 for a plain integer: a digit or sign first, then digits only; "+" or "-" alone 1.
    static int IsStringAInt(CString text);
    // Appends the non-empty pieces of text between the separators to out (not cleared).
    // Each search starts one character after the previous hit, so a separator that overlaps
    // itself ("aa" in "aaa") leaves empty pieces between its hits. An empty text or
    // separator appends nothing; a text without the separator is one piece.
    static void SplitString(const CString& text, const CString& separator, CArray<CString, CString>& out);
    // The local time as year, month, day, hour and minute without leading zeros:
    // "%d%d%d%d%d'" and "%d.%d.%d %d:%d".
    static CString CurrentTimeToStr();
    static CString CurrentTimeToStr2();
    // Frames the rectangle in red, two pixels wide (inwards). A null context draws nothing.
    static void DlgDrawRect(CDC* dc, const CRect& rect);
    // The nearest integer judged on the first decimal only, halves away from zero: 2.45
    // gives 2, 2.5 gives 3, -2.5 gives -3. Values beyond the range of long saturate; NaN 0.
    static long DoubleToLong(double value);
    // Asks for two points and gives their distance: 1, or 0 (distance unchanged) when either
    // question ends without a point.
    static int PickDistance(double& distance);
    // Shows the points in the active view for a moment: markers (mark == 1) at the given
    // points and a polyline (lines == 1) through them, back to the first when close is
    // non-zero. Runs of 150000 points or more are not shown. The last argument is not read.
    static void ShowPath(GePoint3dArray pts, int close, int mark, int lines, unsigned long colour, long unused);
    // 3-D distance of two points.
    static double DistwithTwoPt(GePoint3d a, GePoint3d b);
    // Plan distance of p from the line through a and b; 0 when a and b are less than 1 apart.
    // The base length is measured in 3-D, so pass level lines.
    static double ptDistToLineWithTwoPts(GePoint3d p, GePoint3d a, GePoint3d b);
    // Crossing of the segments p1-p2 and q1-q2 within tol (a negative tol means 1e-6).
    // Parallel segments (within about one degree) meet only end to end, at q1 or q2. Both
    // segments are lengthened by tol before the crossing test; skew segments cross where
    // their projections along the common normal do, and the point lies on q1-q2. Returns
    // 1 with the point, or 0 leaving out untouched.
    static int GetIntersectPWithTwoLineSeg(GePoint3d p1, GePoint3d p2, GePoint3d q1, GePoint3d q2, GePoint3d& out,
                                           double tol);
    // The same, giving the crossing's position along the lengthened q1-q2 (0 at its start,
    // 1 at its end; exactly 0 or 1 for an end contact of parallel segments).
    static int GetIntersectPWithTwoLineSeg(GePoint3d p1, GePoint3d p2, GePoint3d q1, GePoint3d q2, double& out,
                                           double tol);

    // ---- Bounding boxes, point-in-region, region division (ToolsBoundingBoxes.cpp) ----

    // Axis-aligned extents of the points. With no points the box is (0,0,0)-(0,0,0).
    static void GetBoundBox3d(GePoint3dArray pts, GeBoundBox3d& box);
    // Axis-aligned extents of the entities' boxes; null entities and entities without
    // extents are left out. With none left the box is (0,0,0)-(0,0,0).
    static void GetBoundBox3d(EntityArray entities, GeBoundBox3d& box);
    // 1 when every point has exactly the z of the first (no tolerance); fewer than 2: 1.
    static int isAllPtsOnSameHeight(GePoint3dArray pts);
    // Where the plan point lies against the closed plan polygon, within tol per axis:
    //   100 at a vertex, 10 on a vertical edge, 20 on a horizontal edge, 30 on a sloped
    //   edge, 1 inside, 0 outside (also for an empty polygon).
    // Vertices are tested first, then the edges in order; the first match decides.
    static int PtRegionRelation(GePoint3d pt, GePoint3dArray polygon, double tol);
    // 1 when some point of the array lies within tol (3-D distance, inclusive) of pt.
    static int IsPtBelongToArray(GePoint3d pt, GePoint3dArray pts, double tol);
    // The plan rectangle around the points with two edges along the direction, at z = 0.
    // Its first edge runs against the direction (taken with y >= 0), its second across it.
    // The base point is not used; no points leave the box unchanged; a zero direction is
    // taken as +x.
    static void GetOutsideBox(GePoint3d base, GeVector3d direction, GePoint3dArray pts, OUTSIDEBOX& box);
    // Grid samples of a level region: the centres of sx-by-sy cells over its extents, kept
    // when the centre or a cell corner touches the region (tolerance 0.1); a region of no
    // width or length is sampled along its one axis. Appends the samples (at the region's
    // height) and returns 1; 0 for a region that is not level or has no extent, for
    // spacings that are not positive and for more than 10^7 cells.
    static int RegionDivideWithSpace(GePoint3dArray region, double sx, double sy, GePoint3dArray& out);

    // ---- Face extraction from host entities (ToolsFaceExtraction.cpp) ------------------
    // The loops of an entity are the polygons it enumerates (mesh faces of a solid, the
    // vertex loop of a curve). closed receives 1 for a closed loop, 0 for an open polyline;
    // the points are appended to out.

    // The number of loops (one-vertex loops included).
    static int GetEntPlgCount(decDbEntity* entity);
    // The first loop with the lowest first-vertex z (loops of fewer than 2 vertices are
    // skipped; a non-empty out takes part as the current best). 1 when out ends non-empty.
    static int GetEntBottomPlg(decDbEntity* entity, int& closed, GePoint3dArray& out);
    // The first level loop with the highest first-vertex z, like GetEntBottomPlg. Returns the
    // number of loops of the entity when out ends non-empty, else 0.
    static int GetEntTopPlg(decDbEntity* entity, int& closed, GePoint3dArray& out);
    // The first loop of at least 2 vertices: 1, or 0 when there is none.
    static int GetEntSinglePlg(decDbEntity* entity, int& closed, GePoint3dArray& out);
    // The loop of a 2-D entity that has exactly one: 1; 0 (out untouched) for a null or 3-D
    // entity and for none or several loops.
    static int Get2dEntSinglePlg(decDbEntity* entity, int& closed, GePoint3dArray& out);
    // Shows the prompt and lets the user pick faces; appends every picked closed face of at
    // least 3 vertices to faces. 1 after the pick (even when no face was usable), 0 when the
    // pick was cancelled or ended.
    static int selectFaceS_sub(const char* prompt, DbDatabase* db, CArray<GePoint3dArray, GePoint3dArray>& faces);

    // ---- Polygon offsets (ToolsOffsets.cpp) --------------------------------------------
    // The points go to the kernel's offset engine, whatever their plane. A positive
    // distance moves a level ring outward, a negative one inward, whichever way it runs
    // (the distance is negated for a ring that is not clockwise). A distance of exactly 0
    // hands the input back. The returned loops are cleaned with ManageGePoint3dArray
    // (tolerance 1e-6); a loop's closed flag is 1 for a closed ring. More than 4999 points,
    // like an empty input or an engine result without loops, give no result.

    // The largest loop (by the plan diagonal of its box turned level) of at least
    // minVertices engine vertices, through the engine's all-loops entry; earlier loops win
    // ties. out and outClosed are replaced only when a loop is kept (callers pass out empty).
    static void offset0(GePoint3dArray pts, int closed, double distance, GePoint3dArray& out, int& outClosed,
                        int minVertices);
    // The same through the engine's single-ring entry: the outline offset of roofs.
    static void offset(GePoint3dArray pts, int closed, double distance, GePoint3dArray& out, int& outClosed,
                       int minVertices);
    // Every loop of the offset, index-aligned with its closed flag; the outputs are emptied
    // first (unless the input is empty).
    static void offset(GePoint3dArray pts, int closed, double distance, std::vector<GePoint3dArray>& outLoops,
                       std::vector<int>& outClosed);
    // The plan offset through Offset2d, at the heights of the cleaned input points. Only a
    // distance of 0 gives a result (the cleaned points); otherwise out ends empty (an input
    // that cleans to nothing leaves it untouched).
    static void OffsetHorizontal3d(GePoint3dArray pts, int closed, double distance, GePoint3dArray& out);
    // The plan offset of a run of points is not available: 0, out untouched. A run of two
    // points also raises the assertion report.
    static int Offset2d(const std::vector<qrxGe::point2d>& pts, int closed, double distance,
                        std::vector<qrxGe::point2d>& out);

    // ---- Corner offsets of polylines (ToolsCornerOffsets.cpp) --------------------------
    // A vertex-by-vertex parallel offset in plan: each output vertex is where the offset
    // lines of the two edges at its input vertex meet. side non-zero offsets to the left of
    // the direction of travel (a clockwise ring grows), zero to the right. Directions come
    // from baaf, so edges within 0.1 of an axis count as axis-parallel.

    // One output vertex per input vertex, at the input's heights; pts is not changed.
    // closed non-zero: pts is a ring without a repeated closing point. An open list whose
    // ends coincide is a ring too (and keeps its repeated end). An open list's ends move
    // square to their edges; two points make one moved segment; one point is returned as
    // it is. A corner where the outline turns back on itself (a zero-width spike) has no
    // meeting point: it gets the end of its moved incoming edge.
    void GetLROffSetPtList(double distance, const GePoint3dArray& pts, GePoint3dArray& out, int side, int closed);
    // The offset corner at corner between previous-corner and corner-next: the meeting point
    // (z 0); where the edges go straight on, or turn back so the lines never meet, the end
    // of the moved incoming edge at the corner's height. The array is not read.
    void GetLROffSetPt(double distance, GePoint3d corner, GePoint3d previous, GePoint3d next, GePoint3d& out,
                       const GePoint3dArray& pts, int side);
    // The meeting point in plan (z 0) of the lines through p1-p2 and p3-p4; (0,0,0) for
    // parallel lines.
    GePoint3d interSect2d(GePoint3d p1, GePoint3d p2, GePoint3d p3, GePoint3d p4);
    // The point at the plan direction (radians, counter-clockwise from +x) and distance
    // from base, at base's height.
    static void CfgPolar(GePoint3d base, double angle, double distance, GePoint3d& out);
    // The plan direction from one point to the other by baaf, in [0, 2 pi).
    static double angle(GePoint3d from, GePoint3d to);

    // ---- Single-precision primitives (ToolsFloatPrimitives.cpp) ------------------------
    // Plan geometry in float over plain values and 1-based float arrays (entry 0 unused).
    // Differences are stored in float and compared with double constants; results match
    // the pitched-roof generator's expectations to the last bit.

    // The direction of (x1,y1)->(x2,y2) in [0, 2 pi), snapped onto an axis when the other
    // difference is below 0.1; 0 for a segment shorter than 0.1 both ways.
    static float baaf(float x1, float y1, float x2, float y2);
    // The crossing of the line through P1, P2 with the line through P3, P4. A line whose x
    // differ by less than 1 is vertical, one whose y do is horizontal (that first); x and y
    // are 111 for parallel lines. flag is set to 0 when both lines are sloped.
    static void xianjiaodianzcx(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                                float& x, float& y, float& flag);
    // Where (px, py) lies against the ring xs/ys[1..n] within tol per axis: 100 at a vertex,
    // 10 / 20 / 30 on a vertical / horizontal / sloped edge, 1 inside, 0 outside.
    static int dianquanliwaizcx(float px, float py, const float* xs, const float* ys, int n, float tol);
    // Drops every point within 1.0 on all three axes of an earlier kept point, then sorts
    // the five arrays (1-based, n entries) stably by x, y or z (key 1, 2, 3), ascending
    // (order 1) or descending (order 2). Another order or key only drops. n is updated.
    static void paixuzcx(int order, int key, float* x, float* y, float* z, int* a, int* b, int& n);

    // ---- Segment splitting in double precision (ToolsSegmentSplitting.cpp) -----------
    // Segments in 1-based parallel double arrays (entry 0 unused): segment k runs from
    // (x1, y1, z1)[k] to (x2, y2, z2)[k]. A segment is cut where another one crosses or
    // touches it in a coordinate plane: a crossing must lie more than 0.9 inside the cut
    // segment and within the other one widened by 0.9; collinear overlaps are cut at the
    // ends that lie inside. Segments within 0.1 of an axis of the plane run along it.
    // Cut points within 0.9 of one another merge. A cut segment's pieces run in increasing
    // order of its longer plane axis, with the carried coordinate interpolated; an uncut
    // segment keeps its direction. Of pieces that agree within 1.0 on all six coordinates,
    // either way round, the first stays.

    // Splits the n segments in the plane of mode: 1 XY (z carried), 2 XZ (y carried), 3 YZ
    // (x carried); another mode gives no pieces. A segment within 0.1 of a point on both
    // plane axes gives none either. Every piece carries its segment's a1, a2, a3. Writes
    // *outCount pieces from entry 1; more than 99999 pieces (the size of the callers'
    // arrays) give *outCount 0 with the outputs untouched.
    static void xdlszcx(int mode, int n, const double* x1, const double* y1, const double* z1, const double* x2,
                        const double* y2, const double* z2, const double* a1, const double* a2, const double* a3,
                        int* outCount, double* ox1, double* oy1, double* oz1, double* ox2, double* oy2,
                        double* oz2, double* oa1, double* oa2, double* oa3);
    // Drops every point within 1.0 on all three coordinates (strictly) of an earlier point
    // kept, then sorts the points stably by a (key 1), b (key 2) or c (key 3), ascending;
    // another key only drops. The 1-based arrays and n are rewritten in place.
    static void paixuzcx1(int key, double* a, double* b, double* c, int& n);
    // Splits the n segments starts[k]-ends[k] (0-based) at their crossings in plan and
    // writes the pieces back over them, n becoming their number. The caller's arrays must
    // hold every piece. Fewer than two segments are left as they are. tolerance is not read.
    static void BreakIntoLineSegs(int& n, GePoint3d* starts, GePoint3d* ends, double tolerance);
    // The same, for arrays that hold capacity segments: 1 with the pieces written, 0 with n
    // and both arrays untouched when the pieces would not fit.
    static int BreakIntoLineSegs(int& n, GePoint3d* starts, GePoint3d* ends, double tolerance, int capacity);
    // The same over two arrays of equal length and at least two segments (otherwise nothing
    // changes), which are replaced by the pieces. No limit on their number.
    static void BreakIntoLineSegs(GePoint3dArray& starts, GePoint3dArray& ends, double tolerance);

    // ---- Segment clean-up and chaining in double precision (ToolsSegmentChaining.cpp) --
    // Segments in 1-based parallel double arrays as above; n is the count. Two points lie
    // "within tol" when they differ by less than tol on x, y and z. Both chaining routines
    // first clean the list with qudiaofeifaxianduanzcx at tolerance 1.0, so they rewrite
    // the caller's arrays and n. They take at most 9999 segments (the callers' arrays and
    // the 16-bit counts are sized for it); with more they write nothing and leave the
    // caller's list as it was.

    // Cleans the list in place, in four stages: segments whose ends lie within tol of each
    // other; repeats, within tol on all six coordinates either way round, of an earlier
    // segment; spurs (one end touching nothing, the other two or more segments); shared
    // edges (both ends touching two or more other segments), so that two squares with a
    // common side keep only their outer outline. Kept segments keep their order.
    static void qudiaofeifaxianduanzcx(double* x1, double* y1, double* z1, double* x2, double* y2, double* z2,
                                       long& n, double tolerance);
    // Chains the segments end to end. Each unused segment in order starts a chain at its
    // start and takes the first unused segment (in list order) with an end within tol of
    // the free end, again and again. A chain that comes back within tol of the first
    // segment's end is a ring (code 10001): the first segment's start, then the far end of
    // every segment added, without repeating the first point. Otherwise mode 1 drops it;
    // another mode grows it from the first segment's end too and writes an open polyline
    // (code 1001) of segments + 1 points, from the far end of the segment added last along
    // the chain to its other free end. Points pass through single precision. Chains are
    // appended after chainCount chains and pointCount points (1-based counts, codes and
    // ox, oy, oz), which grow; pass both as 0 for a fresh result. 1, or 0 when nothing was
    // done (more than 9999 segments, or a negative count passed in).
    static int xianduanhechengzcx_c(int mode, double* x1, double* y1, double* z1, double* x2, double* y2,
                                    double* z2, long& n, double tolerance, long& chainCount, long& pointCount,
                                    short* codes, short* counts, double* ox, double* oy, double* oz);
    // Traces closed faces: each unused segment in order starts a face at its start and
    // goes to its end; at every point the walk takes the one unused segment with an end
    // within tol there or, of several, the first counter-clockwise from the way back in the
    // plane (1 YZ, 2 XZ, 3 XY; note the order is the reverse of xdlszcx's modes). A face
    // closes when it comes back within tol of its first point; a walk with nowhere to go,
    // or with several ways in a plane outside 1-3, is abandoned and its segments stay used.
    // Faces go to ox, oy, oz from entry 1 without their closing point, counts[1..faceCount]
    // their sizes. faceCount is 0 for fewer than three segments after the clean-up.
    static void xianduanhechengmianzcx(double* x1, double* y1, double* z1, double* x2, double* y2, double* z2,
                                       long& n, double tolerance, long plane, double* ox, double* oy, double* oz,
                                       long* counts, long& faceCount);

    // ---- Segments to faces (ToolsSegmentFaces.cpp) --------------------------------------
    // Segment sets come as one array of start/end pairs, as starts and ends, or as a count
    // with two point pointers. Every member empties its output first, also when it finds
    // nothing, and takes a tolerance of 0 or less as 1e-6. Faces are rings without their
    // closing point. Points are "within tol" at a distance of tol or less.

    // Chains the count segments end to end (the chaining of xianduanhechengzcx_c, with no
    // limit on the count): mode 0 gives rings and open polylines, any other mode rings only.
    // Each chain of more than one point is cleaned with ManageGePoint3dArray (closed for a
    // ring) at the tolerance.
    static void ConnectLineSegs(int count, GePoint3d* starts, GePoint3d* ends, std::vector<GePoint3dArray>& chains,
                                int mode, double tolerance);
    // The faces a level network of segments encloses, each clockwise in plan at the
    // network's height. Segments shorter than tol go first; a network whose points lie tol
    // or more off the first point's height gives none. Ends the splitter leaves apart are
    // joined first, so walls that meet within its reach meet: an end within 1.0 on both
    // axes of another segment's end moves onto it, and one within 0.9 of another segment's
    // side (the margin within which BreakIntoLineSegs cuts nothing) is put into it; then a
    // segment joined onto the same two places as an earlier one, and what the joins left
    // shorter than tol, go. Only segments both of whose ends meet
    // another point take part. Each walk starts at the leftmost (then lowest) free
    // point, leaves it along the segment turned farthest counter-clockwise from straight
    // down, runs upward along it (downward when the walk is repeated), and at every point
    // takes the sharpest right turn; a ring that comes round counter-clockwise, or a walk
    // that ends nowhere, is walked again the other way once. Every point can serve two
    // faces. The number of walks and their lengths are bounded by the network's size. A face
    // whose every side was taken by faces traced before it cannot start a walk; such faces
    // are found afterwards, by walking the sides the same way, and appended.
    static void MakeLineSegsToFaces(GePoint3dArray segments, std::vector<GePoint3dArray>& faces, double tolerance);
    // The same for count segments starts[k]-ends[k]; nothing for a count of 2 or less.
    static void MakeLineSegsToFaces(long count, GePoint3d* starts, GePoint3d* ends,
                                    std::vector<GePoint3dArray>& faces, double tolerance);
    // The same for two arrays of equal length holding more than 2 segments.
    static void MakeLineSegsToFaces(GePoint3dArray starts, GePoint3dArray ends, std::vector<GePoint3dArray>& faces,
                                    double tolerance);
    // The consuming tracer: from the leftmost remaining point it takes the sharpest left
    // turn at every point, and every segment it walks is used up, so a segment serves one
    // face at most and a face of a network can be lost; there is no orientation test and
    // no filter of dangling segments. Faces of at least 3 points, in the order found.
    static void MakeLineSegsToFaces1(GePoint3dArray segments, std::vector<GePoint3dArray>& faces, double tolerance);

    // ---- Plan-crossing splitters (ToolsPlanSplitters.cpp) ------------------------------
    // Segments in 1-based parallel float arrays: segment i runs from (x1, y1, z1)[i] to
    // (x2, y2, z2)[i]. Each is cut wherever, seen in plan, another one crosses or touches it:
    // a crossing must lie more than 0.1 inside the cut segment and within the other grown by
    // 0.1 (on each one's governing axis: y when |dx| <= |dy|); a segment within 1.0 of an axis
    // runs along it, and one within 1.0 both ways gives no piece but still cuts the others.
    // Collinear overlaps are cut at the ends that lie inside. The pieces of a cut segment run
    // in ascending x (y for a steep one) with z interpolated; an uncut one keeps its
    // direction. Of pieces within 1.0 on all six coordinates, either way round, the first
    // stays. m pieces are written from entry 1; more than 4999 (the size of the callers'
    // arrays) give m = 0 and nothing written.

    // Overlaps count only on exactly the same line.
    static void kjxlszcx(int n, const float* x1, const float* y1, const float* z1, const float* x2, const float* y2,
                         const float* z2, int& m, float* ox1, float* oy1, float* oz1, float* ox2, float* oy2,
                         float* oz2);
    // The twin: lines within 0.1 of each other count as one, and each piece carries its
    // segment's tag.
    static void tskjxlszcx(int n, const float* x1, const float* y1, const float* z1, const float* x2,
                           const float* y2, const float* z2, const int* tags, int& m, float* ox1, float* oy1,
                           float* oz1, float* ox2, float* oy2, float* oz2, int* outTags);

    // ---- Pitched-roof surface generator (ToolsPitchedRoof.cpp) -------------------------

    // The faces of a hipped roof, in float over 1-based arrays (entry 0 unused). Loop 1 is
    // the outer outline, loops 2..nLoops are holes; loop L has loopPointCounts[L] vertices,
    // which follow those of the loops before it in x and y, and its eaves at loopBase[L]; a
    // loop does not repeat its first vertex. slope[k] (radians) belongs to the edge from
    // vertex k to the next vertex of its loop. Each face lies in the plane through its eave
    // that rises at the eave's slope towards the roof's inside, and is bounded by its eave,
    // its hips and valleys, and its ridges.
    // The faces are those of the roof solver's moving eave lines (each eave line moves
    // inward at its own slope as the roof rises; a hole's lines start when the roof reaches
    // its base). A loop that runs the other way than the roof wants (outer clockwise, holes
    // counter-clockwise) is reversed in the caller's x, y and slope, each edge keeping its
    // slope, when a roof is written.
    // Out: faceCount faces; face f has faceVertexCounts[f] vertices (the ring is not closed,
    // clockwise seen from above, starting at its eave), and the vertices of all faces follow
    // one another in faceX, faceY, faceZ. Faces of a single eave come first in edge order,
    // then each group of eaves in one plane (eaves with a concave end open a group with the
    // later ones whose plane coefficients agree within 0.1, and 1.0 on D), its faces that
    // share an edge merged into one. An edge whose face has no area gets none. The caller's
    // arrays hold 1000 counts and 100,000 coordinates: a roof that would not fit gives
    // faceCount 0. So does an input the routine cannot roof, with nothing written: nLoops
    // < 1, a loop of fewer than 3 vertices, more than 999 vertices in all, a slope not
    // strictly between 0 and pi/2, a coordinate or base that is not finite, an edge within
    // 1.0 of a point on both axes, a null array, or a footprint whose eave lines cannot be
    // followed (edges that cross or touch, eaves on one line at different slopes, a hole the
    // roof reaches below its base). Keeps no state.
    static void powudingzcx_c(int nLoops, const int* loopPointCounts, const float* loopBase, float* x, float* y,
                              float* slope, int* faceCount, int* faceVertexCounts, float* faceX, float* faceY,
                              float* faceZ);

    // ---- Cuts of polygons by planes (ToolsSegmentCuts.cpp) -----------------------------
    // The line where two planes meet is drawn as a chord across the polygons' extents and
    // cut at every polygon edge (GetIntersectPWithTwoLineSeg at tolerance); a stretch
    // between two neighbouring hits goes out when its middle lies inside every polygon by
    // PtRegionRelation: with mode 0 inside or on the boundary, with any other mode strictly
    // inside. The middle is classified in plan, so the polygons must not stand upright:
    // the callers cut sloped roof faces. Pieces run from the chord's end at the largest
    // value of its first axis towards the smallest, as start/end pairs in segments, which
    // is emptied first. Hits that coincide (a chord through a vertex) give no zero-length
    // piece. A negative tolerance means 1e-6. 1 with pieces; 0 with segments empty for
    // fewer than 3 points, a polygon without a normal, a zero plane normal, planes within
    // a cosine of 0.99985 of parallel, or no piece.

    // The cut of the polygon by the plane through point with the given normal.
    static int GetIntersectLineSegs(GePoint3dArray polygon, GeVector3d normal, GePoint3d point,
                                    GePoint3dArray& segments, double tolerance, int mode);
    // The cut of two polygons along the line where their planes meet: the pieces inside
    // both.
    static int GetIntersectLineSegs(GePoint3dArray first, GePoint3dArray second, GePoint3dArray& segments,
                                    double tolerance, int mode);

    // ---- Sloped roof faces (ToolsSlopedRoof.cpp) ---------------------------------------

    // The faces of the multi-slope roof over a level outline (at most 499 points, either
    // orientation), slopes[i] in degrees for the edge from point i to the next: replaces
    // faces with the kernel solver's faces in world coordinates at the outline's height,
    // each of at least 3 vertices, looking upward and starting at its eave (its first edge
    // is the lower of the two at its lowest vertex). 1 with faces; 0 with faces empty for
    // a slope count that differs from the point count, too many points or no roof.
    static int GetSlopingRoofVtsAry(GePoint3dArray outline, std::vector<float> slopes,
                                    CArray<GePoint3dArray, GePoint3dArray>& faces);
    // Re-orders a sloped face in place: reversed when it looks downward, then started at its
    // lowest vertex (of equally low ones, within 1e-6, the first along Z x normal). 1 for a
    // re-ordered sloped face; 0 for fewer than 3 vertices or no normal (unchanged) and for a
    // level face (reversed to look upward when it looked downward).
    static int ManageSlopevts(GePoint3dArray& face);
};
