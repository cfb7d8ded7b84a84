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
#include <utility>
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

// Windows of the drawing, each with the label a command is to give it.
using Relabelling = std::vector<std::pair<CWindow*, WindowLabel>>;

// What keeps a change from being followed exactly: an identifier that would name a window a
// record did not name (or no longer name one it named), and that window.
struct Clash {
    CString id;
    const CWindow* window = nullptr;
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
    // each identifier once, keeps its other items where they were, and never comes to stand
    // for a column it did not stand for, nor for one naming other windows than it named: a lone
    // floor-0 identifier of one window is written twice. A record whose count would pass what a record stores (32 bits)
    // is left as it was, with a message. A window whose name is cleared belongs to no building
    // and changes no record; windows that are not in the drawing change nothing.
    void Follow(const std::vector<Relabel>& relabels);
    // The same when afterwards every record names exactly the windows it named before (and
    // the windows that come to bear an identifier it held while no window bore it). Otherwise
    // nothing changes and the answer is the clash: an identifier the change gives a window
    // while another bears it and a record names only one of them.
    std::optional<Clash> FollowExactly(const std::vector<Relabel>& relabels);
    // FollowExactly for a command that relabels windows once the records follow: true when they
    // do; otherwise the refusal (Refusal, with the command's advice) is printed, nothing changed.
    bool FollowOrRefuse(const std::vector<Relabel>& relabels, const char* advice);
    // Gives the windows their labels once the records follow them all (FollowOrRefuse): true;
    // false, with the refusal printed, when nothing was written.
    bool RelabelWindows(const Relabelling& relabelling, const char* advice);

    // For windows about to be made with the labels: one of them that would bear an identifier
    // a record holds while a window of the drawing bears it (the record would come to name
    // both). The records are the drawing's and those the same step writes (each given by its
    // identifiers, as AttachWindowIds takes them). A window of no building joins no record;
    // windows made together may share an identifier no window of the drawing bears.
    static std::optional<Clash> Joining(const std::vector<WindowLabel>& labels,
                                        const std::vector<std::vector<CString>>& written = {});
    // For windows a new record is to name: a window of the drawing not among them that bears
    // one of their identifiers (the record would name it too).
    static std::optional<Clash> Twin(const std::vector<const CWindow*>& windows);

private:
    std::optional<Clash> Apply(const std::vector<Relabel>& relabels, bool exactly);
};

// The command line's refusal of a clash: which identifier would name which window (where it
// stands), that nothing was done, and the advice of the command refused.
CString Refusal(const Clash& clash, const char* advice);

}  // namespace WinBelongBuild
