#pragma once
// The Windows types, message numbers and notification codes the module's dialogs use.
#include <cstdint>

#include "MsgBox.h"  // HWND, MB_* styles and ID* answers

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using LONG = long;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LPARAM = std::intptr_t;
using WPARAM = std::uintptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;
using LPCSTR = const char*;
using LPCTSTR = const char*;
using HDC = struct HDC__*;
using HICON = struct HICON__*;
using HBITMAP = struct HBITMAP__*;
using HINSTANCE = struct HINSTANCE__*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef CALLBACK
#define CALLBACK
#endif

// Window messages.
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_MOUSEWHEEL = 0x020A;

// Window styles.
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Scroll codes of WM_VSCROLL.
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_ENDSCROLL = 8;

// Notification codes of WM_COMMAND.
constexpr UINT BN_CLICKED = 0;
constexpr UINT EN_SETFOCUS = 0x0100;
constexpr UINT EN_KILLFOCUS = 0x0200;
constexpr UINT EN_CHANGE = 0x0300;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_KILLFOCUS = 5;

// List and combo results.
constexpr int LB_ERR = -1;
constexpr int CB_ERR = -1;

// Button check states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

struct POINT {
    long x, y;
};

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(long px, long py) : POINT{px, py} {}
};

struct RECT {
    long left, top, right, bottom;
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(long l, long t, long r, long b) : RECT{l, t, r, b} {}
    long Width() const { return right - left; }
    long Height() const { return bottom - top; }
    void InflateRect(long dx, long dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
};

// Grows the rectangle by dx on the left and right and dy at the top and bottom (shrinks it
// for negative values).
inline BOOL InflateRect(RECT* rect, int dx, int dy)
{
    if (!rect) return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt{0, 0};
};
