// Labels through save and open: every stored field of the elevation label and of the scaled
// text comes back as it was, and what a label shows (its text in every style, its panel, its
// list line) is the same before the save and after the open, whichever way its values came.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "DimBuildElevation.h"
#include "DrawingTestSupport.h"
#include "OrvScaleText.h"

namespace {

class LabelRecordTest : public DrawingTest {
protected:
    // A double as its shortest text that reads back to the same bits.
    static std::string Exact(double v)
    {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", v);
        return text;
    }
    static std::string Exact(const GePoint3d& p) { return Exact(p.x) + "," + Exact(p.y) + "," + Exact(p.z); }
    static std::string Exact(const GeVector3d& v) { return Exact(v.x) + "," + Exact(v.y) + "," + Exact(v.z); }

    // The entity's list line and panel, as the user reads them.
    std::string Listed(const decObjectId& id)
    {
        host::EventLog::Instance().Clear();
        Script("list " + Handle(id) + "\nprops " + Handle(id) + "\n");
        return Transcript();
    }

    // Every field of the label and its text in each of the five styles.
    std::string Shown(const decObjectId& id)
    {
        const auto* label = CDimBuildElevation::Cast(Entity(id));
        if (!label)
            return "no label";
        std::string shown = "style " + std::to_string(label->GetStyle()) + " height " + std::to_string(label->Height()) +
                            " top " + Exact(label->Top()) + " bottom " + Exact(label->Bottom()) + " at " +
                            Exact(label->Position()) + " text height " + Exact(label->TextHeight()) + " scale " +
                            Exact(label->Scale()) + " font " + label->Font().str() + "\n";
        CDimBuildElevation copy(*label);
        for (int style = 0; style < 5; ++style) {
            copy.SetStyle(style);
            shown += copy.LabelText().str() + "\n";
        }
        return shown + Listed(id);
    }

    std::string ShownText(const decObjectId& id)
    {
        const auto* text = COrvScaleText::Cast(Entity(id));
        if (!text)
            return "no text";
        return "kind " + std::to_string(text->GetType()) + " text " + text->Text().str() + " at " +
               Exact(text->Position()) + " height " + Exact(text->Height()) + " angle " + Exact(text->Angle()) +
               " placement " + std::to_string(text->Placement()) + " scale " + Exact(text->Scale()) + " font " +
               text->Font().str() + " direction " + Exact(text->Direction()) + " normal " + Exact(text->Normal()) +
               "\n" + Listed(id);
    }

    static GeMatrix3d Raised(double z)
    {
        GeMatrix3d tm;
        tm.SetToTranslation(GeVector3d(0, 0, z));
        return tm;
    }
};

// How a label got its values: Set (the building command), the panel's top, bottom or height row,
// a picked tagged body, an inner point of one.
enum class Made { kSet, kTopRow, kBottomRow, kHeightRow, kPick, kInnerPoint };

struct LabelCase {
    const char* name;
    Made made;
    double value;  // the height for Set, the typed value for a row, the body's height for a command
    double bottom;
    GePoint3d at;
    int height;  // the whole-millimetre height the label ends with
};

const LabelCase kLabelCases[] = {
    {"gable ridge over a 24.4 m building", Made::kSet, 27399.6, 0, {12000, 6000, 0}, 27399},
    {"fraction above a whole height", Made::kSet, 24400.4, 450.45, {0, 0, 0}, 24400},
    {"half a millimetre", Made::kSet, 24399.5, -3000.25, {-5000, 7000, 0}, 24399},
    {"far site", Made::kSet, 27399.6, 1234.56, {502345678.9, 3345678.25, 0}, 27399},
    {"negative height", Made::kSet, -299.7, 150, {1, 2, 0}, -299},
    {"typed top", Made::kTopRow, 27399.6, -450.5, {0, 0, 0}, 27850},
    {"typed bottom", Made::kBottomRow, -0.4, 0, {0, 0, 0}, 1000},
    {"typed height", Made::kHeightRow, 24399, -7.125, {0, 0, 0}, 24399},
    {"picked named body", Made::kPick, 27399.6, -450.25, {1e7, -1e7, 0}, 27399},
    {"inner point of a tagged body", Made::kInnerPoint, 24400.4, -100.5, {0, 0, 0}, 24400},
};

TEST_F(LabelRecordTest, AnElevationLabelShowsAfterAnOpenWhatItShowedBeforeTheSave)
{
    std::vector<std::pair<decObjectId, std::string>> labels;
    for (const LabelCase& c : kLabelCases) {
        SCOPED_TRACE(c.name);
        Script("new\n");
        decObjectId id;
        switch (c.made) {
        case Made::kSet: {
            auto* label = new CDimBuildElevation();
            ASSERT_TRUE(label->Set(c.value, c.bottom, c.at));
            id = AddEntity(label);
            break;
        }
        case Made::kTopRow:
        case Made::kBottomRow:
        case Made::kHeightRow: {
            auto* label = new CDimBuildElevation();
            ASSERT_TRUE(label->Set(1000, c.bottom, c.at));
            id = AddEntity(label);
            const int row = c.made == Made::kTopRow ? 2 : c.made == Made::kBottomRow ? 3 : 4;
            Script("setprop " + Handle(id) + " " + std::to_string(row) + " " + Exact(c.value) + "\n");
            break;
        }
        case Made::kPick:
        case Made::kInnerPoint: {
            const decObjectId body = AddTaggedBox("甲楼", 8000, 6000, c.value, Raised(c.bottom));
            const std::string choice = c.made == Made::kPick ? Handle(body) : "A\n4000,3000";
            Script("dimbldelev\n" + choice + "\n" + Exact(c.at.x) + "," + Exact(c.at.y) + "\n*cancel*\n");
            const auto made = All<CDimBuildElevation>();
            ASSERT_EQ(made.size(), 1u);
            id = made[0]->GetObjectId();
            break;
        }
        }
        const auto* label = CDimBuildElevation::Cast(Entity(id));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->Height(), c.height);
        // The top the label shows is the one its record can give back.
        EXPECT_EQ(label->Top(), label->Bottom() + label->Height());

        const std::string before = Shown(id);
        ASSERT_TRUE(SaveAndOpen());
        EXPECT_EQ(Shown(id), before);
    }
}

// The scaled text: fractions, far sites, every kind and the widest placement code.
TEST_F(LabelRecordTest, AScaledTextKeepsEveryFieldThroughSaveAndOpen)
{
    const struct {
        TEXT_UTILITY::TEXT_TYPE kind;
        const char* text;
        GePoint3d at;
        GeVector3d direction, normal;
        double height, angle;
        unsigned long placement;
        double scale;
        const char* font;
    } kTexts[] = {
        {TEXT_UTILITY::BUILD_DIM, "1号楼", {12000.4, 6000.5, 27399.6}, GeVector3d::kXAxis, GeVector3d::kZAxis, 5, 0, 18,
         500, ""},
        {TEXT_UTILITY::WIN_H_DIM, "窗 1-2", {502345678.9, 3345678.25, -450.25}, {0.6, 0.8, 0}, {0, 0, -1}, 2.5004,
         33.333333333333336, 0xFFFFFFFFul, 0.0011, "宋体"},
        {TEXT_UTILITY::OTHER_DIM, "（甲）", {-1e12, 1e12, 0}, {0, 1, 0}, {1, 0, 0}, 199.99999999999997, -720.1, 0, 200000,
         "黑体"},
    };
    for (const auto& t : kTexts) {
        SCOPED_TRACE(t.text);
        Script("new\n");
        auto* text = new COrvScaleText();
        ASSERT_TRUE(text->Set(t.kind, t.text, t.at, t.direction, t.normal, t.height, t.angle, t.placement, t.scale, t.font));
        const decObjectId id = AddEntity(text);
        const std::string before = ShownText(id);
        ASSERT_TRUE(SaveAndOpen());
        EXPECT_EQ(ShownText(id), before);
    }
    // A placement code beyond the 32 bits of its record is refused, not wrapped into another.
    if constexpr (sizeof(unsigned long) > 4) {
        COrvScaleText text;
        EXPECT_FALSE(text.Set(TEXT_UTILITY::BUILD_DIM, "甲", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis, 5, 0,
                              0x100000012ul, 500, ""));
        EXPECT_EQ(text.Placement(), 0u);
    }
}

}  // namespace
