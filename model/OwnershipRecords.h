#pragma once
// The ownership records ("WIN_BELONG_BLD", WinBelongBuild.h) name windows by their identifiers
// "NAME-FLOOR-POSITION", so a window given another building name or other numbers would slip
// out of the records that name it, and another window could slip in. OwnershipRecords makes
// the records follow such changes. It finds the records a change could touch, and the windows
// bearing the identifiers concerned, through the module's index (OwnershipIndex.h), so a
// change costs what it touches, and nothing more than the look-up when no record names the
// windows it changes. It holds nothing of its own. Every change of a window's name or numbers
// must go through it.
#include <optional>
#include <vector>

#include "CString.h"

class CWindow;

namespace WinBelongBuild {

// What a window's identifier is made of.
struct WindowLabel {
    CString name;
    int floor = 0;
    int position = 0;
    friend bool operator==(const WindowLabel&, const WindowLabel&) = default;
};

WindowLabel LabelOf(const CWindow& window);

// A window of the drawing whose label changes from before to after; it may bear either one
// when it is reported.
struct Relabel {
    const CWindow* window = nullptr;
    WindowLabel before, after;
};

class OwnershipRecords {
public:

    // Makes the records name the relabelled windows by their new identifiers, as one mapping
    // taken at once (a swap of two numbers in one change swaps them in the records too): an
    // identifier a relabelled window bore becomes the identifiers borne now by every window that
    // bore it (the old one first while a window not relabelled still bears it); identifiers of
    // no relabelled window stay. A record's lone floor-0 identifier ("B1-0-5") stays while the
    // windows of its column stand in one column still, takes their new column when they moved
    // together, and otherwise gives way to their identifiers, floor by floor. A record names
    // each identifier once, keeps its other items where they were, and a record that named
    // windows one by one never comes to stand for a column: a lone floor-0 identifier of one
    // window is written twice. A record whose count would pass what a record stores (32 bits)
    // is left as it was, with a message. A window whose name is cleared belongs to no building
    // and changes no record; windows that are not in the drawing change nothing.
    void Follow(const std::vector<Relabel>& relabels);
    // The same when afterwards every record names exactly the windows it named before (and
    // the windows that come to bear an identifier it held while no window bore it). Otherwise
    // nothing changes and the answer is an identifier that would name a window wrongly: one
    // the change gives a window while another bears it and a record names only one of them.
    std::optional<CString> FollowExactly(const std::vector<Relabel>& relabels);

private:
    std::optional<CString> Apply(const std::vector<Relabel>& relabels, bool exactly);
};

}  // namespace WinBelongBuild
