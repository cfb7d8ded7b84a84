#pragma once
// The "*.osm" model file of other insolation software, as the import command reads it: a
// comma-separated text file of building records (name, base elevation, height, an outline
// whose edges may be arcs given by bulges, an extrusion direction, a group and one owned
// window) and window records (numbers, household, building, size, position and facing).
// Texts are UTF-8 here. In the file they are GBK, unless the file starts with the UTF-8
// byte-order mark (which is skipped) or is valid UTF-8 throughout and holds a byte beyond
// ASCII: then it is read as UTF-8 (GBK text is almost never valid UTF-8 throughout; where it
// is, it is read as UTF-8). The module never writes this format.
//
// Layout: N; N building records; one line not read; M; M window records.
//   building: "name,elevation,height"; K; K lines alternating vertex "x,y,z" and bulge "b,";
//             optionally "normal" and a direction "x,y,z"; "group,windowIndex,windowFloor"
//   window:   "index,floor,household,building,width,height,extra"; "x,y,z,angle"
// Numbers read as the C library's atof and atoi read them (in the C locale; integers clamped
// to the int range). A bulge is the arc's included angle in radians, positive
// counter-clockwise.
//
// A file is taken whole or not at all: one that cannot be opened or read, that ends inside a
// record, has a count line that holds no number (after blanks and a sign) or a negative
// count, or a text that is not of the file's encoding gives no records, a message box and a
// command-line line naming where it went wrong. A record with a number that is not finite
// is dropped alone, with a line naming where it starts.
#include <vector>

#include "CString.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

class ModelFileLines;

// One building record.
class CImportBuildInfo {
public:
    // Reads one record from the next line on and brings its outline to its final vertex list
    // (counter-clockwise with arcs sampled when any edge has a bulge). 1 when every number
    // in it is finite, 0 when it must be dropped (its lines are consumed all the same). A
    // file that ends inside the record, or a negative outline count, throws ModelFileError.
    int Read(ModelFileLines& in);
    // Puts the 16 inner samples of every arc edge (|bulge| above 0.001) after its start
    // vertex: n vertices with a arcs give n + 16·a. An arc that cannot be drawn (a chord
    // shorter than 0.001, a bulge of 2π or more) leaves its edge straight.
    static void ExpandArcs(std::vector<GePoint3d>& outline, const std::vector<double>& bulges);

    CString m_strName;
    double m_dblElevation = 0.0;
    double m_dblHeight = 0.0;
    std::vector<GePoint3d> m_ptsOutline;
    GeVector3d m_vecNormal = GeVector3d::kZAxis;
    CString m_strGroup;          // empty: no group
    int m_nWinIndex = 0;         // position number of the owned window; 0 or less: none
    int m_nWinFloor = 0;
    int m_nLine = 0;             // the file line the record starts on (1-based), for messages
};

// One window record.
class CImportWindowInfo {
public:
    // Reads the record's two lines. 1 when every number is finite, 0 when it must be dropped;
    // a file that ends inside it throws ModelFileError.
    int Read(ModelFileLines& in);

    CString m_strBuild;
    int m_nIndex = 0;
    int m_nFloor = 0;
    CString m_strDoor;
    GePoint3d m_ptPos;
    double m_dblAngle = 0.0;  // radians
    double m_dblWidth = 0.0;
    double m_dblHeight = 0.0;
    CString m_strExtra;       // kept, not used
    int m_nLine = 0;
};

// What reading gave besides the records.
struct ModelFileResult {
    bool wholeFile = false;    // false: the file was refused and both lists are empty
    int droppedBuilds = 0;     // records left out for numbers that are not finite
    int droppedWindows = 0;
};

// Reads the file into the two lists (replaced). An empty file gives two empty lists and no
// message; a file that ends at the line after the buildings or at the window count gives no
// windows.
ModelFileResult ReadModelFile(const CString& path, std::vector<CImportBuildInfo>& builds,
                              std::vector<CImportWindowInfo>& windows);

// Makes the ring counter-clockwise: a ring whose doubled signed area is not above 0 (or is
// NaN) is reversed, each edge keeping its arc with the bulge negated.
void OrientBulgeOutline(std::vector<GePoint3d>& outline, std::vector<double>& bulges);

// The 18 samples of the arc from start to end with the bulge, the first at start and the
// last at end. False, samples emptied, when there is no such arc: |bulge| not in
// (0.001, 2π), a chord shorter than 0.001, or a number that is not finite.
bool GetArcPoints(const GePoint3d& start, const GePoint3d& end, double bulge, std::vector<GePoint3d>& samples);
