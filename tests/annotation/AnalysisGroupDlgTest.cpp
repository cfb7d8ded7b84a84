// The analysis-group dialogs as the analysis side meets them: the host command
// analysisgroups calls the module's exported queries and the dialog takes the script lines;
// the lists each dialog remembers, the outputs, and a cancelled or group-less call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GroupTestSupport.h"
#include "ModuleGlobals.h"
#include "SetBeforeAfterGroupDlg.h"
#include "SetWinAnalyseHideGroupDlg.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class AnalysisGroupDlgTest : public GroupTest {
protected:
    // A区: a building; B区: a box; C区: a building and a box; W窗: a window only.
    void MakeGroups()
    {
        m_a = AddGroupedBuilding(0, "A区");
        m_b = AddGroupedBox(20000, "B区");
        m_c1 = AddGroupedBuilding(40000, "C区");
        m_c2 = AddGroupedBox(60000, "C区");
        m_w = AddGroupedWindow(5000, "W窗");
    }
    // The transcript of the lines, from an empty one.
    std::string Lines(const std::string& lines)
    {
        host::EventLog::Instance().Clear();
        Script(lines);
        return Transcript();
    }
    void Erase(const decObjectId& id)
    {
        Script("erase " + Handle(id) + "\n");
    }
    // What "items" shows for a box of these names, the first selected.
    static std::string Items(int id, int dialog, const std::vector<std::string>& names)
    {
        std::string text = "dialog " + std::to_string(dialog) + " control " + std::to_string(id) + ": ";
        text += names.empty() ? "no items\n" : std::to_string(names.size()) + (names.size() == 1 ? " item\n" : " items\n");
        for (std::size_t i = 0; i < names.size(); ++i)
            text += "  " + std::to_string(i) + ": " + names[i] + (i == 0 ? " (selected)" : "") + "\n";
        return text;
    }

    decObjectId m_a, m_b, m_c1, m_c2, m_w;
};

TEST_F(AnalysisGroupDlgTest, TheShadingListIsEditedRememberedAndFallsBackToEveryGroup)
{
    MakeGroups();
    // Removing the last entry selects the first; removing another selects its successor.
    std::string out = Lines("analysisgroups hide\nitems 1289\nchoose 1289 3\nclick 1288\nitems 1289\nclick 1288\n"
                            "items 1289\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"A区", "B区", "C区", "W窗"})));
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"A区", "B区", "C区"})));
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"B区", "C区"})));
    EXPECT_THAT(out, HasSubstr("GetHideEntityByGroup: 1\nobjects: 3 objects\n  " + Handle(m_b) + " decDbBox\n  " +
                               Handle(m_c1) + " QCExtrudeBuild\n  " + Handle(m_c2) + " decDbBox\n"));
    EXPECT_THAT(g_analysisGroupLists[5], ElementsAre("B区", "C区"));

    out = Lines("analysisgroups hide faces\nitems 1289\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"B区", "C区"})));
    EXPECT_THAT(out, HasSubstr("GetHideFaceByGroup: 1\nfaces: 18 faces\n"));

    // C区 gone: B区 alone; both gone: every group again. A cancel answers 0.
    Erase(m_c1);
    Erase(m_c2);
    out = Lines("analysisgroups hide\nitems 1289\ncancel\n");
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"B区"})));
    EXPECT_THAT(out, HasSubstr("GetHideEntityByGroup: 0\nobjects: 0 objects\n"));
    Erase(m_b);
    EXPECT_THAT(Lines("analysisgroups hide\nitems 1289\ncancel\n"), HasSubstr(Items(1289, 1099, {"A区", "W窗"})));
    EXPECT_THAT(g_analysisGroupLists[5], ElementsAre("B区", "C区"));
}

TEST_F(AnalysisGroupDlgTest, AnEmptyShadingListIsRefusedAndResetFillsItAskingOnlyWhenItHasEntries)
{
    MakeGroups();
    const std::string out = Lines("analysisgroups hide\nclick 1288\nclick 1288\nclick 1288\nclick 1288\nitems 1289\nok\n"
                                  "click 1287\nitems 1289\nclick 1288\nclick 1287\nno\nitems 1289\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {})));
    EXPECT_THAT(out, HasSubstr("请设置选择遮挡实体所在的组！"));
    EXPECT_EQ(CountOf(out, "重新设置窗遮挡实体所在的主体组？"), 1);
    // Yes/no, exclamation, task-modal (0x2034), answered no.
    EXPECT_THAT(host::EventLog::Instance().Calls("msg_box"), ElementsAre("msg_box style=0 -> 1", "msg_box style=8244 -> 7"));
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"B区", "C区", "W窗"})));
    EXPECT_THAT(out, HasSubstr("GetHideEntityByGroup: 1\nobjects: 3 objects\n"));
}

TEST_F(AnalysisGroupDlgTest, TheBuildingQueryListsEveryGroupAndStillReplacesTheShadingList)
{
    MakeGroups();
    g_analysisGroupLists[5] = {"A区"};
    std::string out = Lines("analysisgroups hide buildings 选择建筑 参与计算的建筑组\nitems 1289\nclick 1288\nclick 1288\n"
                            "click 1288\nitems 1289\nok\n");
    EXPECT_THAT(out, HasSubstr("dialog 1099 \"选择建筑\" opened"));
    EXPECT_THAT(out, HasSubstr(Items(1289, 1099, {"A区", "B区", "C区", "W窗"})));
    EXPECT_THAT(out, HasSubstr("GetHideBuildByGroup: 0\nobjects: 0 objects\n"));
    EXPECT_THAT(g_analysisGroupLists[5], ElementsAre("W窗"));

    out = Lines("analysisgroups hide buildings\nok\n");
    EXPECT_THAT(out, HasSubstr("dialog 1099 \"主体组设置\" opened"));
    EXPECT_THAT(out, HasSubstr("GetHideBuildByGroup: 1\nobjects: 2 objects\n  " + Handle(m_a) +
                               " QCExtrudeBuild\n  " + Handle(m_c1) + " QCExtrudeBuild\n"));
}

TEST_F(AnalysisGroupDlgTest, ACancelOrADrawingWithoutGroupsLeavesTheOutputsAsPassed)
{
    EntityArray objects{nullptr};
    std::vector<GePoint3dArray> faces{{GePoint3d()}};
    EXPECT_EQ(GetHideEntityByGroup(objects), 0);
    EXPECT_EQ(GetBeforeAfterHideFaceByGroup(faces, faces), 0);
    EXPECT_THAT(Transcript(), Not(HasSubstr("opened")));

    MakeGroups();
    Answer("cancel\ncancel\ncancel\n");
    EXPECT_EQ(GetHideFaceByGroup(faces), 0);
    EXPECT_EQ(GetBeforeAfterHideEntByGroup(objects, objects), 0);
    EXPECT_EQ(GetWinBeforeAfterHideEntByGroup(objects, objects, objects), 0);
    EXPECT_EQ(objects.size(), 1u);
    EXPECT_EQ(faces.size(), 1u);
    for (const std::list<CString>& remembered : g_analysisGroupLists)
        EXPECT_TRUE(remembered.empty());
}

TEST_F(AnalysisGroupDlgTest, EachBeforeAfterDialogRemembersItsOwnListsAndDropsVanishedGroups)
{
    MakeGroups();
    // First call: every group in both main lists; windows-only groups add nothing.
    std::string out = Lines("analysisgroups compare\nitems 1266\nitems 1267\nclick 1285\nclick 1285\nclick 1285\n"
                            "choose 1267 1\nclick 1287\nclick 1287\nclick 1287\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1266, 1110, {"A区", "B区", "C区", "W窗"})));
    EXPECT_THAT(out, HasSubstr(Items(1267, 1110, {"A区", "B区", "C区", "W窗"})));
    EXPECT_THAT(out, HasSubstr("GetBeforeAfterHideEntByGroup: 1\nbefore: 0 objects\nafter: 1 object\n  " +
                               Handle(m_a) + " QCExtrudeBuild\n"));
    EXPECT_THAT(g_analysisGroupLists[0], ElementsAre("W窗"));
    EXPECT_THAT(g_analysisGroupLists[1], ElementsAre("A区"));

    // The window dialog is not affected: every group, and the guests are the groups with windows.
    out = Lines("analysisgroups window\nitems 1266\nitems 1268\ncancel\n");
    EXPECT_THAT(out, HasSubstr(Items(1266, 1100, {"A区", "B区", "C区", "W窗"})));
    EXPECT_THAT(out, HasSubstr(Items(1268, 1100, {"W窗"})));

    // W窗 vanishes: the before list stays empty while the after list keeps A区.
    Erase(m_w);
    out = Lines("analysisgroups compare faces\nitems 1266\nitems 1267\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1266, 1110, {})));
    EXPECT_THAT(out, HasSubstr(Items(1267, 1110, {"A区"})));
    EXPECT_THAT(out, HasSubstr("GetBeforeAfterHideFaceByGroup: 1\nbefore: 0 faces\nafter: 6 faces\n"));
}

// The guest names follow the main names and only a name repeating the one just before it is
// dropped: G, Z with guest G collects G twice, A, G with guest G once.
TEST_F(AnalysisGroupDlgTest, GuestGroupsJoinTheMainGroupsUnlessWindowsArePickedInTheDrawing)
{
    const decObjectId guestBox = AddGroupedBox(0, "G");
    const decObjectId guestWindow = AddGroupedWindow(5000, "G");
    const decObjectId other = AddGroupedBox(20000, "Z");
    const std::string g = "  " + Handle(guestBox) + " decDbBox\n";
    const std::string z = "  " + Handle(other) + " decDbBox\n";
    std::string out = Lines("analysisgroups window\nitems 1268\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1268, 1100, {"G"})));
    EXPECT_THAT(out, HasSubstr("before: 3 objects\n" + g + z + g + "after: 3 objects\n" + g + z + g));
    EXPECT_THAT(out, HasSubstr("windows: 1 object\n  " + Handle(guestWindow) + " QCWindow\n"));
    EXPECT_THAT(g_analysisGroupLists[2], ElementsAre("G", "Z"));

    // Before Z only, box ticked: no guest windows and no guest group added.
    out = Lines("analysisgroups window\nclick 1285\ncheck 1311 1\nok\n");
    EXPECT_THAT(out, HasSubstr("before: 1 object\n  " + Handle(other) + " decDbBox\nafter: 2 objects\n"));
    EXPECT_THAT(out, HasSubstr("windows: 0 objects\n"));
    // Entity mode remembered the guests it used (none); the box starts unticked again.
    out = Lines("analysisgroups window faces\nitems 1268\ncheck 1311 1\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1268, 1100, {})));
    EXPECT_THAT(g_analysisGroupLists[4], ElementsAre());

    // Face mode remembers the guests it was shown even when the box is ticked.
    g_analysisGroupLists[4] = {"G"};
    out = Lines("analysisgroups window faces\ncheck 1311 1\nok\n");
    for (const char* part : {"before: 6 faces\n", "after: 12 faces\n", "windows: 0 objects\n"})
        EXPECT_THAT(out, HasSubstr(part));
    out = Lines("analysisgroups window faces\nitems 1268\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1268, 1100, {"G"})));
    // Before Z, G; after G, Z, G.
    for (const char* part : {"before: 12 faces\n", "after: 18 faces\n", "windows: 1 object\n"})
        EXPECT_THAT(out, HasSubstr(part));

    // A guest group right after itself is collected once: before A, G with guest G.
    const decObjectId first = AddGroupedBox(40000, "A");
    const std::string a = "  " + Handle(first) + " decDbBox\n";
    out = Lines("analysisgroups window\nclick 1286\nyes\nchoose 1266 2\nclick 1285\nitems 1266\nok\n");
    EXPECT_THAT(out, HasSubstr(Items(1266, 1100, {"A", "G"})));
    EXPECT_THAT(out, HasSubstr("before: 2 objects\n" + a + g + "after: 3 objects\n" + g + z + g));
}

TEST_F(AnalysisGroupDlgTest, GroupsSurviveSaveAndOpen)
{
    MakeGroups();
    const std::string before = Lines("analysisgroups window\nok\n");
    ASSERT_TRUE(SaveAndOpen());
    EXPECT_EQ(Lines("analysisgroups window\nok\n"), before);
}

}  // namespace
