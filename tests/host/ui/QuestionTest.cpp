// The simple questions, answered in-process from queued lines.
#include <gtest/gtest.h>

#include <functional>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "DragCallback.h"
#include "Input.h"
#include "Selection.h"
#include "UiTestSupport.h"

using ::host::QueueAnswers;

class QuestionTest : public HostTest {};

TEST_F(QuestionTest, GetRealGivesTheDefaultOnEnterAndRefusesText)
{
    QueueAnswers("\nabc\n4.25\n*cancel*\n*end*\n");
    double value = 0;
    EXPECT_EQ(dec::GetReal("高度", &value, 3.5, 2), dex::eOk);
    EXPECT_EQ(value, 3.5);
    EXPECT_EQ(dec::GetReal("高度", &value, 3.5, 2), dex::eOk);
    EXPECT_EQ(value, 4.25);
    EXPECT_TRUE(Failed());
    EXPECT_TRUE(Shown("answers:2: a number is wanted, not \"abc\""));
    EXPECT_EQ(dec::GetReal("高度", &value, 3.5, 2), dex::eCancel);
    EXPECT_EQ(dec::GetReal("高度", &value, 3.5, 2), dex::eEnded);
    EXPECT_EQ(value, 4.25);  // untouched by cancel and end
    // The flag word is kept for tests.
    EXPECT_EQ(host::EventLog::Instance().Calls("GetReal flags=2").size(), 8u);
}

TEST_F(QuestionTest, QuestionsAnswerEscWhenTheLinesRunOutAndSaySoOnce)
{
    double value = 1;
    GePoint3d point;
    EXPECT_EQ(dec::GetReal(nullptr, &value, 0, 0), dex::eCancel);
    EXPECT_EQ(dec::GetPoint(nullptr, &point), dex::eCancel);
    const std::string transcript = Transcript();
    EXPECT_EQ(transcript.find("the lines ran out"), transcript.rfind("the lines ran out"));
    EXPECT_NE(transcript.find("the lines ran out"), std::string::npos);
    EXPECT_FALSE(Failed());
}

TEST_F(QuestionTest, GetPointTakesCoordinatesAndCursorLinesAndRecordsItsFlags)
{
    QueueAnswers("~1,1\n12\n3,4\n\n");
    GePoint3d base(1, 1, 1);
    GePoint3d point;
    EXPECT_EQ(dec::GetPoint(&base, &point, 0xE1E1, 0, 0), dex::eOk);
    EXPECT_EQ(point, GePoint3d(3, 4, 0));
    EXPECT_EQ(dec::GetPoint(nullptr, &point, 0xFFFFFF, 0, 0), dex::eEmpty);
    const auto& log = host::EventLog::Instance();
    EXPECT_EQ(log.Calls("rubber band").size(), 1u);
    EXPECT_EQ(log.Calls("GetPoint flags=0xE1E1 cursor=0 arg=0 base=1,1,1").size(), 2u);
    EXPECT_TRUE(Shown("answers:2: a point is x,y or x,y,z, not \"12\""));
}

TEST_F(QuestionTest, GetStringKeepsTheDefaultOnEnterAndTakesTheWholeLine)
{
    QueueAnswers("\n  a b  \n*cancel*\n");
    CString text = "默认";
    EXPECT_EQ(dec::GetString("名称", text, 0), dex::eEmpty);
    EXPECT_EQ(text, "默认");
    EXPECT_EQ(dec::GetString("名称", text, 1), dex::eOk);
    EXPECT_EQ(text, "a b");  // blanks around a line are not part of it
    EXPECT_EQ(dec::GetString("名称", text, 1), dex::eCancel);
    EXPECT_EQ(text, "a b");
}

TEST_F(QuestionTest, DistancesAndAnglesFromPoints)
{
    QueueAnswers("0,0\n3,4\n1,1\n0,2\n10,10\n\n1,1\n*cancel*\n");
    double value = 0;
    EXPECT_EQ(dec::GetDistance("距离", &value, 0, 0), dex::eOk);
    EXPECT_DOUBLE_EQ(value, 5.0);
    EXPECT_EQ(dec::GetAngle("角度", &value, 0, 0), dex::eOk);
    EXPECT_DOUBLE_EQ(value, 135.0);
    // Enter at the second point gives up the question; Esc there cancels it.
    EXPECT_EQ(dec::GetDistance("距离", &value, 0, 0), dex::eCancel);
    EXPECT_EQ(dec::GetAngle("角度", &value, 0, 0), dex::eCancel);
    EXPECT_DOUBLE_EQ(value, 135.0);
}

TEST_F(QuestionTest, MissingOutputPointersAreTolerated)
{
    QueueAnswers("1,2\n5\n7\n");
    EXPECT_EQ(dec::GetPoint(nullptr, nullptr), dex::eOk);
    EXPECT_EQ(dec::GetReal("x", nullptr, 0, 0), dex::eOk);
    EXPECT_EQ(dec::GetDistance("x", nullptr, 0, 0), dex::eOk);
}

// A question asked without a prompt (a point question has none of its own: the module's last
// printed line is its prompt when it reads as one) shows the host's line naming what it waits
// for, and shows it again when it asks again after a refused answer; a question with a prompt
// shows its prompt only.
TEST_F(QuestionTest, AQuestionWithoutAPromptShowsWhatItWaitsFor)
{
    const auto db = [] { return dec::GetWorkingDatabase(); };
    decDragCallback keywords, text;
    text.SetUserInputFlags(kInputTakesText);
    const struct {
        const char* name;
        std::function<void()> ask;
        const char* answers;
        std::string shown;  // the transcript
    } kQuestions[] = {
        {"a pause", [] { GePoint3d p; dec::GetPoint(nullptr, &p); }, "结束\n1,2\n",
         "(a point x,y[,z], or Enter)\nanswers:1: a point is x,y or x,y,z, not \"结束\"\n(a point x,y[,z], or Enter)\n"},
        {"a number, empty prompt", [] { double v; dec::GetReal("", &v); }, "\n", "(a number, or Enter)\n"},
        {"a number with its prompt", [] { double v; dec::GetReal("高度", &v); }, "\n", "高度\n"},
        {"an angle", [] { double v; dec::GetAngle(nullptr, &v); }, "\n",
         "(a number, or two points x,y[,z] on two lines, or Enter)\n"},
        {"a text", [] { CString s; dec::GetString(nullptr, s); }, "\n", "(a line of text, or Enter)\n"},
        {"a drag", [] { GePoint3d p; dec::GetDragPoint(nullptr, &p); }, "\n", "(a point x,y[,z], or Enter)\n"},
        {"a drag with keywords", [&] { GePoint3d p; keywords.SetKeywords("高度(&H)"); dec::GetDragPoint(&keywords, &p); },
         "\n", "(a point x,y[,z], a keyword, or Enter)\n"},
        {"a drag that takes text", [&] { GePoint3d p; dec::GetDragPoint(&text, &p); }, "\n",
         "(a point x,y[,z], a keyword or a value, or Enter)\n"},
        {"a pick", [&] { decObjectId id; GePoint3d p; db()->decPickSingleEntity(id, p, nullptr, nullptr, nullptr, nullptr); },
         "\n", "(an object to pick: #N or @x,y, or Enter)\n"},
        {"a face pick", [&] { decSelectSet set; db()->decPickSubObjects(1, set, nullptr, nullptr); }, "*cancel*\n",
         "(faces to pick: #N:i,j or @x,y, or Enter)\n"},
        {"a selection", [] { decSelectSet set; dec::decSSGet(nullptr, set); }, "*cancel*\n",
         "(objects: #N, @x,y, box:x1,y1,x2,y2, last, all or layer:NAME, or Enter)\n"},
        // The module's last printed line stands for a point question's prompt when it reads as
        // one; a message does not (the last row leaves no prompt shown for the rows above).
        {"a point after a prompt", [] { GePoint3d p; dec::PrintPrompt("左窗台点: "); dec::GetPoint(nullptr, &p); },
         "\n", "左窗台点: \n"},
        {"a point after a message",
         [] { GePoint3d p; dec::PrintPrompt("红色高亮显示的未分组三维对象数量是：3"); dec::GetPoint(nullptr, &p); },
         "\n", "红色高亮显示的未分组三维对象数量是：3\n(a point x,y[,z], or Enter)\n"},
    };
    for (const auto& question : kQuestions) {
        Reset();
        QueueAnswers(question.answers);
        question.ask();
        EXPECT_EQ(Transcript(), question.shown) << question.name;
    }
}
