#pragma once
// The search behind RightLoopThroughSegment and LeftLoopThroughSegment: a depth-first walk
// with backtracking from a search segment S over a pool of loose segments, which it cuts at
// junctions as it goes, taking the sharpest right (or left) turn at every junction until it
// comes back to S.
//
// A step on the current segment C collects the pool entries that meet C anywhere but at its
// start; an entry that has not been walked is turned or cut so that it starts at the junction
// and points away from it, and a collinear overlap is taken out of the pool. Only the
// junctions nearest C's start are kept; C is cut there (its far part goes back into the pool
// as the way straight on), its start point joins the ring, and the turn rule picks the next
// segment. Walked segments stay marked for the whole search, so a branch that failed is never
// offered again; the whole search is bounded by kStepLimit steps.
//
// One context serves one search: construct, Find (or add segments and Run), destroy. It owns
// every record
// it ever made until it is destroyed: a record taken out of the pool may still sit in the
// candidate lists of outer steps, which read its mark again after an inner branch fails.

#include "qrxGeEdge2d.h"
#include "qrxGeRing.h"

#include <memory>
#include <span>
#include <vector>

namespace qrxGe {

// A pool segment and whether a search step has walked it.
struct searchedge2d {
    edge2d edge;
    unsigned char visited = 0;
};

// A way on from a junction: the segment, which starts there, and the junction point.
struct junction2d {
    searchedge2d* segment;
    point2d point;
};

class loopsearch2d {
public:
    enum class turn { right, left };

    // Steps a search may take; the next one fails, and with it the whole search.
    static constexpr int kStepLimit = 1587;

    explicit loopsearch2d(turn rule) : rule_(rule) {}
    loopsearch2d(const loopsearch2d&) = delete;
    loopsearch2d& operator=(const loopsearch2d&) = delete;

    // The whole search of the two loop operations: the non-degenerate segments go into the
    // pool in order, S is walked upwards (a level S from its given end) and searched from.
    // Null for fewer than 3 segments, a degenerate S, or no loop.
    std::unique_ptr<ring2d> Find(const std::vector<edge2d>& segments, const edge2d& s);

    // Appends an unvisited record of the segment to the pool (no degenerate test).
    void Add(const edge2d& segment);
    // One unvisited record per ring side, the last point back to the first.
    void AddRing(std::span<const point2d> ring);

    // Adds S as a further record, makes it the search segment and searches from it. True with
    // the loop's points in `ring` (the start points of its segments in walking order, S's
    // start first); false when no loop is found within the step limit, and `ring` then holds
    // what the failed walk left.
    bool Run(const edge2d& s, ring2d& ring);

    // The pool as it stands (emptied slots are null) and the steps taken so far.
    std::span<searchedge2d* const> Pool() const { return pool_; }
    int Steps() const { return steps_; }

private:
    // The candidates of one step: a copy of the current segment and the ways on.
    struct candidates {
        edge2d current;
        std::vector<junction2d> ways;
    };

    bool Search(searchedge2d* c, ring2d& ring);
    searchedge2d* NewRecord(const edge2d& segment);
    candidates CollectJunctions(searchedge2d* c);
    void KeepNearestJunctions(candidates& set) const;
    void SplitAtJunction(searchedge2d* c, candidates& set);
    // True when every way on is unvisited or is S.
    bool AllWaysOpen(const candidates& set) const;
    // The next segment by the turn rule, or null.
    searchedge2d* NextSegment(const searchedge2d* c, const candidates& set) const;
    bool Qualifies(const junction2d& j) const { return !j.segment->visited || j.segment == s_; }

    turn rule_;
    std::vector<std::unique_ptr<searchedge2d>> records_;
    std::vector<searchedge2d*> pool_;
    searchedge2d* s_ = nullptr;
    int steps_ = 0;
    // A step was refused at the limit: the whole search fails.
    bool exhausted_ = false;
};

} // namespace qrxGe
