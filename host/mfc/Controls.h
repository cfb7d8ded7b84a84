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
    void SetCheck(int check);
    HICON SetIcon(HICON icon);
};

class CEdit : public CWnd {
public:
    void SetSel(int /*start*/, int /*end*/) {}
};

// What combo boxes and list boxes share: a list of text items with one selection. Both
// answer CB_ERR / LB_ERR (the same value) where the list cannot do what was asked.
class CItemListWnd : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    // Adds at the end, or in order when the box is sorted; the index, or the error value.
    // A sorted box orders its items by the stand-in's own rule, not a Windows locale's:
    // ASCII letters compared without case, ties and everything else by their bytes, so
    // Chinese names follow their UTF-8 bytes (that is, their code points).
    int AddString(const char* text);
    int DeleteString(UINT index);
    void ResetContent();
    int FindString(int startAfter, const char* prefix) const;

protected:
    int CopyItem(int index, char* buffer) const;
    void ItemText(int index, CString& text) const;
    int ItemLength(int index) const;
};

class CComboBox : public CItemListWnd {
public:
    int GetLBText(int index, char* buffer) const { return CopyItem(index, buffer); }
    void GetLBText(int index, CString& text) const { ItemText(index, text); }
    BOOL LimitText(int maxChars);
};

class CListBox : public CItemListWnd {
public:
    int GetText(int index, char* buffer) const { return CopyItem(index, buffer); }
    void GetText(int index, CString& text) const { ItemText(index, text); }
    int GetTextLen(int index) const { return ItemLength(index); }
};

// The control a WM_VSCROLL message names. The spin control is one, so that the object a
// scroll handler receives is the spin object itself.
class CScrollBar : public CWnd {};

class CSpinButtonCtrl : public CScrollBar {
public:
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    int SetPos(int position);
    int GetPos() const;
    CWnd* GetBuddy() const;
};
