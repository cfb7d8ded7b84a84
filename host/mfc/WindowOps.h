#pragma once
// The engine's operations on window records, shared by the window, control, dialog and
// data-exchange code.
#include <memory>
#include <vector>

#include "CString.h"
#include "DialogTemplate.h"
#include "Wnd.h"

namespace host::mfc {

// A window record for a control of the dialog (or for the dialog itself when control is null).
std::unique_ptr<WindowState> MakeWindow(CDialog* dialog, const ControlTemplate* control);

// The window that has the input focus, if any.
WindowState*& FocusedWindow();
// Where the headless pointer rests.
POINT& CursorPosition();
// The child windows made by CWnd::Create that exist, in the order they were made.
std::vector<WindowState*>& ChildWindows();

// Sets a window's text as the program does: an edit sends EN_CHANGE, a drop-list combo box
// selects the item of that text; the text is not cut to the field's limit.
void SetText(WindowState& window, const CString& text);
// The text the window shows (a drop-list combo box: its selected item).
CString TextOf(const WindowState& window);

// Adds an item at the end, or in order when the box is sorted; gives its index.
int AddItem(WindowState& box, const CString& text);
// Selects item index of a combo or list box (a combo box shows its text); an index outside
// the list clears the selection and gives -1.
int SelectItem(WindowState& box, int index);
// The first item after startAfter (-1: from the start, wrapping round) that begins with
// text, or equals it when exact; case does not matter. -1 when none.
int FindItem(const WindowState& box, int startAfter, const char* text, bool exact);

// Records a change the program made to a window as a host call, naming the window:
// "WHAT dialog T control C VALUE", "WHAT dialog T VALUE" or "WHAT window "CAPTION" VALUE".
void RecordChange(const char* what, const WindowState& window, int value);

// An integer as the data exchange reads it: blanks around it allowed, nothing else; an
// unsigned one takes no sign. False when the text is not such a number or is out of range.
bool ParseInteger(const CString& text, bool isSigned, long long& value);
// A real number with blanks around it allowed, nothing else.
bool ParseReal(const CString& text, double& value);

}  // namespace host::mfc
