// The headless pointer over child windows: the window under it is the last one made whose
// rectangle holds it, and a message sent there is recorded with the window's id.
#include <gtest/gtest.h>

#include "EventLog.h"
#include "Mfc.h"

namespace {

TEST(HeadlessPointer, FindsTheLastChildWindowUnderIt)
{
    host::EventLog::Instance().Clear();
    CWnd lower, upper;
    ASSERT_TRUE(lower.Create(nullptr, "lower", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 100));
    ASSERT_TRUE(upper.Create(nullptr, "upper", WS_CHILD | WS_VISIBLE, CRect(50, 50, 150, 150), nullptr, 101));
    const struct {
        int x, y;
        CWnd* expected;
    } cases[] = {{10, 10, &lower}, {60, 60, &upper}, {149, 149, &upper}, {150, 150, nullptr}, {-1, 5, nullptr}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetCursorPos(c.x, c.y));
        POINT at{};
        ASSERT_TRUE(GetCursorPos(&at));
        EXPECT_EQ(CWnd::FromHandle(WindowFromPoint(at)), c.expected) << c.x << "," << c.y;
    }
    SetCursorPos(60, 60);
    POINT at{};
    GetCursorPos(&at);
    SendMessage(WindowFromPoint(at), WM_MOUSEWHEEL, 120, 0);
    upper.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandle(WindowFromPoint(at)), &lower);
    EXPECT_EQ(host::EventLog::Instance().Calls("SendMessage"), std::vector<std::string>{"SendMessage 522 to 101"});
    SetCursorPos(0, 0);
}

}  // namespace
