#pragma once
// Message maps: static tables that route a window's messages and control notifications to
// member functions, searched from the most derived class to its bases.
#include "WinTypes.h"

class CCmdTarget;
class CWnd;
class CScrollBar;

namespace host::mfc {

// One message as the engine delivers it.
struct Message {
    UINT message = 0;      // WM_COMMAND, WM_VSCROLL, WM_PAINT or WM_SHOWWINDOW
    UINT code = 0;         // WM_COMMAND: notification code; WM_VSCROLL: scroll code
    int id = 0;            // WM_COMMAND: control id
    UINT position = 0;     // WM_VSCROLL: position
    CScrollBar* scrollBar = nullptr;  // WM_VSCROLL: the control that scrolled
    BOOL show = FALSE;     // WM_SHOWWINDOW: shown or hidden
    UINT status = 0;       // WM_SHOWWINDOW: why
};

using MessageHandler = void (*)(CCmdTarget* target, const Message& message);

struct MessageMapEntry {
    UINT message;  // 0 ends the table
    UINT code;
    int firstId, lastId;
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();  // null for the root
    const MessageMapEntry* entries;
};

// The handler of a message in the map of target's class or its bases, or null.
MessageHandler FindHandler(const MessageMap* map, const Message& message);

}  // namespace host::mfc

#define DECLARE_MESSAGE_MAP()                                              \
protected:                                                                 \
    static const ::host::mfc::MessageMap* GetThisMessageMap();             \
    const ::host::mfc::MessageMap* GetMessageMap() const override;

// The table of theClass, whose unmatched messages go on to baseClass's.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
    const ::host::mfc::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::host::mfc::MessageMap* theClass::GetThisMessageMap()                             \
    {                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                         \
        using TheBaseClass = baseClass;                                                      \
        static const ::host::mfc::MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                   \
            {0, 0, 0, 0, nullptr}};                                                          \
        static const ::host::mfc::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                                         \
    }

// Entries. A handler is named as a pointer to member, `&CMyDlg::OnBnClickedApply`, and takes
// no arguments; the message entries call the fixed handlers OnVScroll, OnPaint, OnShowWindow.
#define LUMIDRAX_MESSAGE_ENTRY(msg, notifyCode, id, call)                                    \
    {msg, notifyCode, id, id,                                                                \
     [](CCmdTarget* target, const ::host::mfc::Message& m) {                                 \
         (void)m;                                                                            \
         ThisClass* self = static_cast<ThisClass*>(target);                                  \
         call;                                                                               \
     }},
#define LUMIDRAX_NOTIFY_ENTRY(notifyCode, id, memberFxn) \
    LUMIDRAX_MESSAGE_ENTRY(WM_COMMAND, notifyCode, id, (self->*(memberFxn))())

#define ON_COMMAND(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(BN_CLICKED, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(CBN_EDITCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) LUMIDRAX_NOTIFY_ENTRY(LBN_SELCHANGE, id, memberFxn)
#define ON_WM_VSCROLL() LUMIDRAX_MESSAGE_ENTRY(WM_VSCROLL, 0, 0, self->OnVScroll(m.code, m.position, m.scrollBar))
#define ON_WM_PAINT() LUMIDRAX_MESSAGE_ENTRY(WM_PAINT, 0, 0, self->OnPaint())
#define ON_WM_SHOWWINDOW() LUMIDRAX_MESSAGE_ENTRY(WM_SHOWWINDOW, 0, 0, self->OnShowWindow(m.show, m.status))

// Run-time class information is not kept (nothing asks for it); the declarations are accepted.
#define DECLARE_DYNAMIC(theClass)
#define IMPLEMENT_DYNAMIC(theClass, baseClass)

#ifndef afx_msg
#define afx_msg
#endif

// The root of every class with a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    static const ::host::mfc::MessageMap* GetThisMessageMap();
    virtual const ::host::mfc::MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Runs the handler of the message; false when the map has none.
    bool Dispatch(const ::host::mfc::Message& message);
};
