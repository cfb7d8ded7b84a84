// Labels through save and open: every stored field of the elevation label and of the scaled
// text comes back as it was, and what a label shows (its text in every style, its list line
// and panel) is the same before the save and after the open, whichever way its values came.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "DimBuildElevation.h"
#include "DrawingTestSupport.h"
#include "OrvScaleText.h"

namespace {

// Each number as the shortest text that reads back to the same bits.
std::string Exact(std::initializer_list<double> values)
{
    std::string text;
    for (double v : values) {
        char number[40];
        std::snprintf(number, sizeof number, " %.17g", v);
        text += number;
    }
    return text;
}

class LabelRecordTest : public DrawingTest {
protected:
    // Every field, the label's text in each of the five styles, and the list line and panel.
    std::string Shown(const decObjectId& id)
    {
        std::string shown;
        if (const auto* label = CDimBuildElevation::Cast(Entity(id))) {
            const GePoint3d& p = label->Position();
            shown = std::to_string(label->GetStyle()) + " " + std::to_string(label->Height()) +
                    Exact({label->Top(), label->Bottom(), p.x, p.y, p.z, label->TextHeight(), label->Scale()}) + " " +
                    label->Font().str() + "\n";
            CDimBuildElevation copy(*label);
            for (int style = 0; style < 5; ++style) {
                copy.SetStyle(style);
                shown += copy.LabelText().str() + "\n";
            }
        } else if (const auto* text = COrvScaleText::Cast(Entity(id))) {
            const GePoint3d& p = text->Position();
            const GeVector3d &d = text->Direction(), &n = text->Normal();
            shown = std::to_string(text->GetType()) + " " + text->Text().str() + " " + std::to_string(text->Placement()) +
                    Exact({p.x, p.y, p.z, text->Height(), text->Angle(), text->Scale(), d.x, d.y, d.z, n.x, n.y, n.z}) +
                    " " + text->Font().str() + "\n";
        }
        host::EventLog::Instance().Clear();
        Script("list " + Handle(id) + "\nprops " + Handle(id) + "\n");
        return shown + Transcript();
    }

public:
    // The ways a label or text gets its values, for the table's rows.
    decObjectId NewLabel(double height, double bottom, const GePoint3d& at)
    {
        auto* label = new CDimBuildElevation();
        EXPECT_TRUE(label->Set(height, bottom, at));
        return AddEntity(label);
    }
    // A label of 1000 over the bottom, then a value typed into one of its rows.
    decObjectId TypedLabel(double bottom, int row, double value)
    {
        const decObjectId id = NewLabel(1000, bottom, GePoint3d());
        Script("setprop " + Handle(id) + " " + std::to_string(row) + Exact({value}) + "\n");
        return id;
    }
    // dimbldelev over a tagged body of the height standing on the bottom, by a pick or by an
    // inner point.
    decObjectId CommandLabel(double height, double bottom, bool innerPoint)
    {
        GeMatrix3d raised;
        raised.SetToTranslation(GeVector3d(0, 0, bottom));
        const decObjectId body = AddTaggedBox("甲楼", 8000, 6000, height, raised);
        Script("dimbldelev\n" + (innerPoint ? std::string("A\n4000,3000") : Handle(body)) + "\n1e7,-1e7\n*cancel*\n");
        const auto labels = All<CDimBuildElevation>();
        return labels.empty() ? decObjectId() : labels[0]->GetObjectId();
    }
    decObjectId NewText(TEXT_UTILITY::TEXT_TYPE kind, const GePoint3d& at, const GeVector3d& direction,
                        const GeVector3d& normal, double height, double angle, unsigned long placement, double scale,
                        const char* font)
    {
        auto* text = new COrvScaleText();
        EXPECT_TRUE(text->Set(kind, "（甲）1号楼", at, direction, normal, height, angle, placement, scale, font));
        return AddEntity(text);
    }
};

TEST_F(LabelRecordTest, ALabelShowsAfterAnOpenWhatItShowedBeforeTheSave)
{
    using T = LabelRecordTest;
    const struct {
        const char* name;
        std::function<decObjectId(T&)> make;
        int height = 0;  // the label's whole-millimetre height
    } kCases[] = {
        {"gable ridge over 24.4 m", [](T& t) { return t.NewLabel(27399.6, 0, {12000, 6000, 0}); }, 27400},
        {"fraction over a whole height", [](T& t) { return t.NewLabel(24400.4, 450.45, {}); }, 24400},
        {"half a millimetre", [](T& t) { return t.NewLabel(24399.5, -3000.25, {-5000, 7000, 0}); }, 24400},
        {"far site", [](T& t) { return t.NewLabel(27399.6, 1234.56, {502345678.9, 3345678.25, 0}); }, 27400},
        {"negative height", [](T& t) { return t.NewLabel(-299.7, 150, {1, 2, 0}); }, -300},
        {"typed top", [](T& t) { return t.TypedLabel(-450.5, 2, 27399.6); }, 27850},
        {"typed bottom", [](T& t) { return t.TypedLabel(0, 3, -0.4); }, 1000},
        {"typed height", [](T& t) { return t.TypedLabel(-7.125, 4, 24399); }, 24399},
        {"picked named body", [](T& t) { return t.CommandLabel(27399.6, -450.25, false); }, 27400},
        {"inner point of a body", [](T& t) { return t.CommandLabel(24400.4, -100.5, true); }, 24400},
        {"text on a ridge",
         [](T& t) {
             return t.NewText(TEXT_UTILITY::BUILD_DIM, {12000.4, 6000.5, 27399.6}, GeVector3d::kXAxis,
                              GeVector3d::kZAxis, 5, 0, 18, 500, "");
         }},
        {"text far off, turned, the widest placement",
         [](T& t) {
             return t.NewText(TEXT_UTILITY::WIN_H_DIM, {502345678.9, 3345678.25, -450.25}, {0.6, 0.8, 0}, {0, 0, -1},
                              2.5004, 33.333333333333336, 0xFFFFFFFFul, 0.0011, "宋体");
         }},
        {"text at the grid's far corner",
         [](T& t) {
             return t.NewText(TEXT_UTILITY::OTHER_DIM, {-1e12, 1e12, 0}, {0, 1, 0}, {1, 0, 0}, 199.99999999999997,
                              -720.1, 0, 200000, "黑体");
         }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Script("new\n");
        const decObjectId id = c.make(*this);
        ASSERT_NE(Entity(id), nullptr);
        if (const auto* label = CDimBuildElevation::Cast(Entity(id))) {
            EXPECT_EQ(label->Height(), c.height);
            // The top the label shows is the one its record gives back.
            EXPECT_EQ(label->Top(), label->Bottom() + label->Height());
        }
        const std::string before = Shown(id);
        ASSERT_TRUE(SaveAndOpen());
        EXPECT_EQ(Shown(id), before);
    }
}

// A placement code beyond the 32 bits of its record is refused, not wrapped into another.
TEST_F(LabelRecordTest, ATextRefusesAPlacementItsRecordCannotHold)
{
    if constexpr (sizeof(unsigned long) > 4) {
        COrvScaleText text;
        EXPECT_FALSE(text.Set(TEXT_UTILITY::BUILD_DIM, "甲", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis, 5, 0,
                              0x100000012ul, 500, ""));
        EXPECT_EQ(text.Placement(), 0u);
    }
}

}  // namespace
