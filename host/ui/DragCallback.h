#pragma once
// Dragging: a point question during which the host hands each cursor position to a callback,
// which may move the point (OnPointFilter) and draws what the point would make (OnDragDraw).
// The callback also carries the question's input state: the user-input flags, the keyword
// list with its default, the text typed, and the cursor tip.
#include <string>

#include "GePoint3d.h"
#include "TextParse.h"
#include "decReturnCode.h"

class decView;

// User-input flag: typed text that is neither a point nor a keyword is an answer (-5).
inline constexpr unsigned kInputTakesText = 0x100;

class decDragCallbackObj {
public:
    virtual ~decDragCallbackObj() = default;

    void SetUserInputFlags(unsigned flags) { m_inputFlags = flags; }
    unsigned GetUserInputFlags() const { return m_inputFlags; }
    // The text typed after a drag question answered -5.
    const char* GetUserString() const { return m_userString.c_str(); }
    void SetUserString(std::string text) { m_userString = std::move(text); }

    // A keyword list such as "建筑高度(&H)/楼层表(&T)"; defaultIndex (1-based, 0 for none) is
    // the keyword an empty answer gives.
    void SetKeywords(const char* list, int defaultIndex = 0);
    const host::KeywordList& GetKeywords() const { return m_keywords; }
    int GetDefaultKeyword() const { return m_defaultKeyword; }

    // Shows a cursor tip made of a format with one floating-point conversion and a value. A
    // format that is not of that shape is shown as it stands, never handed to printf.
    void ShowTip(const char* format, double value);
    const std::string& GetTip() const { return m_tip; }

private:
    unsigned m_inputFlags = 0;
    std::string m_userString;
    host::KeywordList m_keywords;
    int m_defaultKeyword = 0;
    std::string m_tip;
};

class decDragCallback : public decDragCallbackObj {
public:
    ~decDragCallback() override = default;
    // Draws the drag frame for the (filtered) point; draws nothing by default.
    virtual void OnDragDraw(decView* view, const GePoint3d& pt);
    // May move the cursor point; returns 1 when it did. Leaves it alone by default.
    virtual int OnPointFilter(decView* view, GePoint3d& pt);
};

namespace dec {

// A point question with a drag callback. Answers: a point "x,y[,z]" (the callback's filter
// and drag update run with it; -2 with the filtered point in *inOut), a keyword of the
// callback's list (its 1-based index), Enter (the default keyword, or -6 with the last
// filtered cursor point in *inOut when the cursor moved), typed text when the callback's
// flags take text (-5, read with GetUserString), "*cancel*" (-4), "*end*" (-3). Cursor lines
// "~x,y[,z]" run the filter and the drag update and wait for the answer.
int GetDragPoint(decDragCallback* callback, GePoint3d* inOut, int flag = 1);

}  // namespace dec
