// Labels through save and open: every stored field of the elevation label and of the scaled
// text comes back as it was, and what a label shows (its text in every style, its list line
// and panel) is the same before the save and after the open, whichever way its values came.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "DimBuildElevation.h"
#include "DrawingTestSupport.h"
#include "OrvScaleText.h"

namespace {

// The values, each number to the last bit, each followed by a space.
template <class... Values>
std::string Fields(const Values&... values)
{
    std::ostringstream text;
    text.precision(17);
    ((text << values << ' '), ...);
    return text.str();
}

class LabelRecordTest : public DrawingTest {
protected:
    // Every field, the label's text in each of the five styles, and the list line and panel.
    std::string Shown(const decObjectId& id)
    {
        std::string shown;
        if (const auto* label = CDimBuildElevation::Cast(Entity(id))) {
            const GePoint3d& p = label->Position();
            shown = Fields(label->GetStyle(), label->Height(), label->Top(), label->Bottom(), p.x, p.y, p.z,
                           label->TextHeight(), label->Scale(), label->Font().str());
            CDimBuildElevation copy(*label);
            for (int style = 0; style < 5; ++style) {
                copy.SetStyle(style);
                shown += "\n" + copy.LabelText().str();
            }
        } else if (const auto* text = COrvScaleText::Cast(Entity(id))) {
            const GePoint3d& p = text->Position();
            const GeVector3d &d = text->Direction(), &n = text->Normal();
            shown = Fields(text->GetType(), text->Text().str(), text->Placement(), p.x, p.y, p.z, text->Height(),
                           text->Angle(), text->Scale(), d.x, d.y, d.z, n.x, n.y, n.z, text->Font().str());
        }
        host::EventLog::Instance().Clear();
        Script("list " + Handle(id) + "\nprops " + Handle(id) + "\n");
        return shown + "\n" + Transcript();
    }
    void ExpectShownAfterSaveAndOpen(const decObjectId& id)
    {
        ASSERT_NE(Entity(id), nullptr);
        const std::string before = Shown(id);
        ASSERT_TRUE(SaveAndOpen());
        EXPECT_EQ(Shown(id), before);
    }
};

TEST_F(LabelRecordTest, ALabelShowsAfterAnOpenWhatItShowedBeforeTheSave)
{
    // Set with the value as height; a label of 1000 with the value typed into its top, bottom
    // or height row (2, 3, 4); dimbldelev over a tagged body of the value's height, picked or
    // by an inner point.
    enum Way { kSet = 0, kTypedTop = 2, kTypedBottom = 3, kTypedHeight = 4, kPicked, kInnerPoint };
    const struct {
        const char* what;
        Way way;
        double value, bottom;
        GePoint3d at;
        int height;  // the label's whole-millimetre height
    } kLabels[] = {
        {"gable ridge over 24.4 m", kSet, 27399.6, 0, {12000, 6000, 0}, 27400},
        {"fraction over a whole height", kSet, 24400.4, 450.45, {}, 24400},
        {"half a millimetre", kSet, 24399.5, -3000.25, {-5000, 7000, 0}, 24400},
        {"far site", kSet, 27399.6, 1234.56, {502345678.9, 3345678.25, 0}, 27400},
        {"negative height", kSet, -299.7, 150, {1, 2, 0}, -300},
        {"typed top", kTypedTop, 27399.6, -450.5, {}, 27850},
        {"typed bottom", kTypedBottom, -0.4, 0, {}, 1000},
        {"typed height", kTypedHeight, 24399, -7.125, {}, 24399},
        {"picked named body", kPicked, 27399.6, -450.25, {}, 27400},
        {"inner point of a body", kInnerPoint, 24400.4, -100.5, {}, 24400},
    };
    for (const auto& c : kLabels) {
        SCOPED_TRACE(c.what);
        Script("new\n");
        decObjectId id;
        if (c.way < kPicked) {
            auto* label = new CDimBuildElevation();
            EXPECT_TRUE(label->Set(c.way == kSet ? c.value : 1000, c.bottom, c.at));
            id = AddEntity(label);
            if (c.way != kSet)
                Script("setprop " + Handle(id) + " " + Fields(c.way, c.value) + "\n");
        } else {
            const decObjectId body =
                AddTaggedBox("甲楼", 8000, 6000, c.value, GeMatrix3d().SetToTranslation(GeVector3d(0, 0, c.bottom)));
            Script("dimbldelev\n" + (c.way == kPicked ? Handle(body) : "A\n4000,3000") + "\n1e7,-1e7\n*cancel*\n");
            ASSERT_EQ(All<CDimBuildElevation>().size(), 1u);
            id = All<CDimBuildElevation>()[0]->GetObjectId();
        }
        const auto* label = CDimBuildElevation::Cast(Entity(id));
        EXPECT_EQ(label->Height(), c.height);
        // The top the label shows is the one its record gives back.
        EXPECT_EQ(label->Top(), label->Bottom() + label->Height());
        ExpectShownAfterSaveAndOpen(id);
    }

    const struct {
        const char* what;
        TEXT_UTILITY::TEXT_TYPE kind;
        GePoint3d at;
        GeVector3d direction, normal;
        double height, angle;
        unsigned long placement;
        double scale;
        const char* font;
    } kTexts[] = {
        {"text on a ridge", TEXT_UTILITY::BUILD_DIM, {12000.4, 6000.5, 27399.6}, GeVector3d::kXAxis, GeVector3d::kZAxis,
         5, 0, 18, 500, ""},
        {"text far off, turned, the widest placement", TEXT_UTILITY::WIN_H_DIM, {502345678.9, 3345678.25, -450.25},
         {0.6, 0.8, 0}, {0, 0, -1}, 2.5004, 33.333333333333336, 0xFFFFFFFFul, 0.0011, "宋体"},
        {"text at the grid's far corner", TEXT_UTILITY::OTHER_DIM, {-1e12, 1e12, 0}, {0, 1, 0}, {1, 0, 0},
         199.99999999999997, -720.1, 0, 200000, "黑体"},
        {"text of a placement beyond its record", TEXT_UTILITY::BUILD_DIM, {}, GeVector3d::kXAxis, GeVector3d::kZAxis,
         5, 0, 0xFFFFFFFFul + 0x13, 500, ""},
    };
    for (const auto& c : kTexts) {
        SCOPED_TRACE(c.what);
        Script("new\n");
        auto text = std::make_unique<COrvScaleText>();
        // A placement code beyond the 32 bits of its record is refused, not wrapped into another.
        const bool fits = c.placement <= 0xFFFFFFFFul;
        EXPECT_EQ(text->Set(c.kind, "（甲）1号楼", c.at, c.direction, c.normal, c.height, c.angle, c.placement,
                            c.scale, c.font),
                  fits);
        if (fits)
            ExpectShownAfterSaveAndOpen(AddEntity(text.release()));
        else
            EXPECT_EQ(text->Placement(), 0u);
    }
}

}  // namespace
