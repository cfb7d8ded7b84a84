#pragma once
// The control classes: thin objects over a control's window record, as the program sees
// them through GetDlgItem or binds them with DDX_Control.
#include "Wnd.h"

class CStatic : public CWnd {
public:
    // Shows the bitmap (a handle from LoadBitmap); gives the handle shown before.
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
};

class CEdit : public CWnd {
public:
    void SetLimitText(UINT maxChars);
    UINT GetLimitText() const;
    void SetSel(int /*start*/, int /*end*/) {}
};

class CComboBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    // Adds at the end, or in order when the box is sorted; the index, or CB_ERR.
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetLBText(int index, char* buffer) const;
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindString(int startAfter, const char* prefix) const;
    int FindStringExact(int startAfter, const char* text) const;
    int SelectString(int startAfter, const char* prefix);
    BOOL LimitText(int maxChars);
};

class CListBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetText(int index, char* buffer) const;
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const;
    int FindString(int startAfter, const char* prefix) const;
    int FindStringExact(int startAfter, const char* text) const;
    int SelectString(int startAfter, const char* prefix);
};

// The control a WM_VSCROLL message names. The spin control is one, so that the object a
// scroll handler receives is the spin object itself.
class CScrollBar : public CWnd {};

class CSpinButtonCtrl : public CScrollBar {
public:
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int position);
    int GetPos() const;
    CWnd* SetBuddy(CWnd* buddy);
    CWnd* GetBuddy() const;
};
