// Nothing typed into a module object's property rows or handed to its setters gets a number
// into the drawing that the drawing cannot hold: every row of an object of every module class
// is edited with values beyond its member (not finite, beyond a float, beyond whole
// millimetres in an int). Each edit is refused, leaving the drawing's bytes as they were, or
// the row reads back exactly the value typed; and the drawing still saves into bytes that
// read again. (Random edits of every row are the drawing fuzz target's, replayed by the suite.)
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "DimBuildElevation.h"
#include "Dormer.h"
#include "DrawingFile.h"
#include "ExtrudeBuild.h"
#include "ModuleTest.h"
#include "ObjectProperties.h"
#include "OrvRoof.h"
#include "OrvScaleText.h"
#include "PropertyPanel.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "Window.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Real rows: not finite, or beyond the float range (a double member may hold the latter).
constexpr double kBadReals[] = {1e300, -1e300, kNaN, kInf, -kInf, 3.5e38};
constexpr double kNotFinite[] = {kNaN, kInf, -kInf};
// Whole-number rows: beyond the int the members hold.
constexpr long kBadWholes[] = {2147483648L, -2147483649L, 99999999999L, LONG_MAX, LONG_MIN};

class StoredValuesTest : public ModuleTest {
protected:
    std::vector<std::uint8_t> Bytes() const { return host::EncodeDrawing(*Db()); }

    // The drawing saved reads again.
    void ExpectReadsAgain(const std::string& what) const
    {
        DbDatabase again;
        std::string error;
        EXPECT_TRUE(host::DecodeDrawing(Bytes(), again, error)) << what << ": " << error;
    }

    // The change leaves the drawing as it was, byte for byte.
    void ExpectRefused(const std::string& what, const std::function<void()>& change) const
    {
        const std::vector<std::uint8_t> before = Bytes();
        change();
        EXPECT_TRUE(Bytes() == before) << what << " was taken";
    }

    // One edit through the object's own row handler, as the property panel makes it.
    static int Edit(decDbEntity* entity, int row, const prop_data& value)
    {
        auto* owner = dynamic_cast<decDbObject*>(entity->GetBaseObject());
        owner->OpenForWrite();
        const int result = owner->OnPropertyValueChanged(row, value);
        owner->Close();
        return result;
    }

    static decDbEntity* OfClass(const std::vector<decDbEntity*>& objects, const std::string& cls)
    {
        for (decDbEntity* e : objects)
            if (e->GetBaseObject()->GetClassInfoA()->className == cls)
                return e;
        return nullptr;
    }

    // One object of every module class, each with ordinary values.
    std::vector<decDbEntity*> EveryClass()
    {
        std::vector<decDbEntity*> made;
        const GePoint3dArray square = Square(0, 0, 10000);
        made.push_back(Entity(AddBuilding("A", 3000, square)));

        auto* roof = new COrvRoof();
        roof->SetData(square, COrvRoof::kFlat, 500, {}, 100, 600, 300, 240, 100);
        made.push_back(Entity(AddSolid(roof, COrvRoof::FrameOf(square))));
        auto* sloped = new COrvRoof();
        sloped->SetData(Square(20000, 0, 10000), COrvRoof::kSloped, 0, {30, 30, 30, 30}, 100, 0, 0, 0, 0);
        made.push_back(Entity(AddSolid(sloped, COrvRoof::FrameOf(Square(20000, 0, 10000)))));

        auto* dormer = new CDormer();
        dormer->SetData(1200, 800, 400, 100, 200, 0.5);
        made.push_back(Entity(AddSolid(dormer)));

        auto* window = new CWindow();
        window->SetSize(1500, 1800);
        made.push_back(Entity(AddSolid(window)));

        auto* label = new CDimBuildElevation();
        label->Set(18000.0, 0.0, GePoint3d(5000, 5000, 0));
        made.push_back(Entity(AddEntity(label)));

        auto* text = new COrvScaleText();
        text->Set(TEXT_UTILITY::BUILD_DIM, "A", GePoint3d(1, 2, 0), GeVector3d::kXAxis, GeVector3d::kZAxis, 3.5, 0.0,
                  0, 500.0, "");
        made.push_back(Entity(AddEntity(text)));

        auto* legacy = new CQuickBuilding();
        legacy->Set(1, square, 2, 300, {3000.0f, 3000.0f}, "旧");
        made.push_back(Entity(AddSolid(legacy)));
        auto* legacyWindow = new CQuickWindow();
        legacyWindow->Set("1-1-1", 1500, 1800);
        made.push_back(Entity(AddSolid(legacyWindow)));
        return made;
    }
};

TEST_F(StoredValuesTest, EveryNumericRowOfEveryClassTakesExactlyWhatItTypedOrNothing)
{
    int edits = 0;
    for (decDbEntity* entity : EveryClass()) {
        auto& owner = *dynamic_cast<decDbObject*>(entity->GetBaseObject());
        const std::string name = owner.GetClassInfoA()->className;
        for (const TPropertyDef& row : host::PropertyRows(owner)) {
            const std::string what = name + " row " + row.name;
            // Refused (nothing changed) or stored exactly as typed; never stored as something else.
            const auto expectExactOrNothing = [&](const prop_data& value, const std::string& typed, auto same) {
                const std::vector<std::uint8_t> before = Bytes();
                Edit(entity, row.index, value);
                ++edits;
                if (Bytes() != before) {
                    EXPECT_TRUE(same(host::ReadProperty(owner, row.index))) << what << " = " << typed << " stored otherwise";
                }
            };
            prop_data value;
            if (row.kind == 2) {
                for (double bad : kBadReals) {
                    value.SetDouble(bad);
                    expectExactOrNothing(value, std::to_string(bad),
                                         [bad](const prop_data& now) { return std::isfinite(bad) && now.dValue == bad; });
                }
            } else if (row.kind == 1 || row.kind == 3 || row.kind == 5) {
                for (long bad : kBadWholes) {
                    value.SetLong(bad);
                    expectExactOrNothing(value, std::to_string(bad),
                                         [bad](const prop_data& now) { return now.lValue == bad; });
                }
            } else if (row.kind == 4) {
                // Text rows: a number typed as text must not get in as one either.
                for (const char* bad : {"1e300", "-1e300", "nan", "inf", "3.5e38"}) {
                    value.SetText(bad);
                    Edit(entity, row.index, value);
                    ExpectReadsAgain(what + " = " + bad);
                }
            }
        }
    }
    ExpectReadsAgain("after the edits");
    EXPECT_GE(edits, 150);
}

// Values that fit their members but make an object the module itself calls broken.
TEST_F(StoredValuesTest, DegenerateValuesAreRefusedAndTheirNeighboursTaken)
{
    const std::vector<decDbEntity*> objects = EveryClass();
    const auto of = [&objects](const char* cls) { return OfClass(objects, cls); };
    enum { kWhole, kReal };
    const struct {
        const char* cls;
        int row;
        int kind;
        double value;
        bool taken;
    } cases[] = {
        {"QCWindow", 5, kWhole, 0, false},     {"QCWindow", 5, kWhole, -5, false},
        {"QCWindow", 5, kWhole, 1, true},      {"QCWindow", 6, kWhole, 0, false},
        {"QCWindow", 6, kWhole, -1800, false}, {"QCWindow", 6, kWhole, 2400, true},
        {"QCWindow", 8, kWhole, -1, false},    {"QCWindow", 8, kWhole, 6, false},
        {"QCWindow", 8, kWhole, 5, true},      {"QCWindow", 8, kWhole, 0, true},
        // The elevation label's five styles.
        {"QCDimBuildElevation", 1, kWhole, -1, false}, {"QCDimBuildElevation", 1, kWhole, 5, false},
        {"QCDimBuildElevation", 1, kWhole, 89, false}, {"QCDimBuildElevation", 1, kWhole, 0, true},
        // Top and bottom whose difference no whole-millimetre int holds.
        {"QCDimBuildElevation", 3, kReal, -1000.5, true},     {"QCDimBuildElevation", 2, kReal, 3e12, false},
        {"QCDimBuildElevation", 3, kReal, -2147483649.0, false}, {"QCDimBuildElevation", 2, kReal, 2e9, true},
        // Roof lengths beyond whole millimetres in an int.
        {"QCOrvRoof", 2, kReal, 99999999999.0, false}, {"QCOrvRoof", 2, kReal, 2147483648.0, false},
        {"QCOrvRoof", 1, kReal, 1.8e19, false},        {"QCOrvRoof", 5, kReal, 3e9, false},
        {"QCOrvRoof", 2, kReal, 250.0, true},
    };
    for (const auto& c : cases) {
        decDbEntity* entity = of(c.cls);
        ASSERT_NE(entity, nullptr) << c.cls;
        prop_data value;
        if (c.kind == kWhole)
            value.SetLong(static_cast<long>(c.value));
        else
            value.SetDouble(c.value);
        const std::string what = std::string(c.cls) + " row " + std::to_string(c.row) + " = " + std::to_string(c.value);
        const std::vector<std::uint8_t> before = Bytes();
        Edit(entity, c.row, value);
        const prop_data now = host::ReadProperty(*dynamic_cast<decDbObject*>(entity->GetBaseObject()), c.row);
        if (c.taken) {
            EXPECT_TRUE(Bytes() != before) << what << " was refused";
            EXPECT_EQ(c.kind == kWhole ? static_cast<double>(now.lValue) : now.dValue, c.value) << what;
        } else {
            EXPECT_TRUE(Bytes() == before) << what << " was taken";
        }
    }
    ExpectReadsAgain("after the edits");
}

TEST_F(StoredValuesTest, SettersRefuseWhatTheirMembersCannotHold)
{
    const std::vector<decDbEntity*> objects = EveryClass();
    const GePoint3dArray square = Square(0, 0, 10000);
    const auto far = [&square](double v) {
        GePoint3dArray points = square;
        points[2].y = v;
        return points;
    };
    using Call = std::function<void(decObject*, double)>;
    const struct {
        const char* cls;
        const char* what;
        // Also refuses finite values beyond a float or an int (members kept narrower).
        bool narrow;
        Call call;
    } calls[] = {
        {"QCOrvRoof", "SetData overhang", true,
         [&](decObject* o, double v) { EXPECT_EQ(COrvRoof::Cast(o)->SetData(square, 0, v, {}, 100, 0, 0, 0, 0), -1); }},
        {"QCOrvRoof", "SetData outline", false,
         [&](decObject* o, double v) { EXPECT_EQ(COrvRoof::Cast(o)->SetData(far(v), 0, 0, {}, 100, 0, 0, 0, 0), -1); }},
        {"QCOrvRoof", "SetData thickness", false,
         [&](decObject* o, double v) { COrvRoof::Cast(o)->SetData(square, 0, 0, {}, static_cast<float>(v), 0, 0, 0, 0); }},
        {"QCOrvRoof", "SetData parapet width", false,
         [&](decObject* o, double v) { COrvRoof::Cast(o)->SetData(square, 0, 0, {}, 0, 600, 0, static_cast<float>(v), 0); }},
        {"QCOrvRoof", "SetData slope", false,
         [&](decObject* o, double v) { COrvRoof::Cast(o)->SetData(square, 1, 0, {30, static_cast<float>(v), 30, 30}, 0, 0, 0, 0, 0); }},
        {"QCDormer", "SetData slope", true,
         [](decObject* o, double v) { EXPECT_EQ(CDormer::Cast(o)->SetData(1000, 800, 400, 100, 200, v), 0); }},
        {"QCDormer", "SetSection", false, [&](decObject* o, double v) { CDormer::Cast(o)->SetSection({far(v)}); }},
        {"QCWindow", "label settings", false,
         [](decObject* o, double v) {
             CWindow::Cast(o)->SetHorDimHeight(v);
             CWindow::Cast(o)->SetVerDimHeight(v);
             CWindow::Cast(o)->SetScale(v);
         }},
        {"QCExtrudeBuild", "Set", false,
         [&](decObject* o, double v) {
             GeMatrix3d tm;
             CExtrudeBuild::Cast(o)->Set("B", 3000, far(v), tm);
         }},
        {"QCDimBuildElevation", "Set height", true,
         [](decObject* o, double v) { EXPECT_FALSE(CDimBuildElevation::Cast(o)->Set(v, 0.0, GePoint3d())); }},
        {"QCDimBuildElevation", "Set bottom and position, scale, text height", false,
         [](decObject* o, double v) {
             EXPECT_FALSE(CDimBuildElevation::Cast(o)->Set(1000.0, v, GePoint3d()));
             EXPECT_FALSE(CDimBuildElevation::Cast(o)->Set(1000.0, 0.0, GePoint3d(v, 0, 0)));
             CDimBuildElevation::Cast(o)->SetScale(v);
             CDimBuildElevation::Cast(o)->SetTextHeight(v);
         }},
        {"QCOrvScaleText", "Set position and angle, height, scale", false,
         [](decObject* o, double v) {
             auto* text = COrvScaleText::Cast(o);
             EXPECT_FALSE(text->Set(TEXT_UTILITY::BUILD_DIM, "B", GePoint3d(0, v, 0), GeVector3d::kXAxis,
                                    GeVector3d::kZAxis, 3.5, 0.0, 0, 500.0, ""));
             EXPECT_FALSE(text->Set(TEXT_UTILITY::BUILD_DIM, "B", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis,
                                    3.5, v, 0, 500.0, ""));
             text->SetHeight(v);
             text->SetScale(v);
         }},
        {"QCQuickBuilding", "Set outline and storey", false,
         [&](decObject* o, double v) {
             CQuickBuilding::Cast(o)->Set(2, far(v), 1, 0, {3000.0f}, "B");
             CQuickBuilding::Cast(o)->Set(2, square, 1, 0, {static_cast<float>(v)}, "B");
         }},
    };
    for (const auto& c : calls) {
        decObject* object = OfClass(objects, c.cls)->GetBaseObject();
        for (double bad : c.narrow ? std::span<const double>(kBadReals) : std::span<const double>(kNotFinite)) {
            ExpectRefused(std::string(c.cls) + " " + c.what + " " + std::to_string(bad), [&] {
                object->OpenForWrite();
                c.call(object, bad);
                object->Close();
            });
        }
    }
    // Lengths a float holds but whole millimetres in an int do not; storeys that add up to a
    // height in metres beyond a float.
    ExpectRefused("COrvRoof::SetData thickness 3e9", [&] {
        decObject* roof = OfClass(objects, "QCOrvRoof")->GetBaseObject();
        roof->OpenForWrite();
        EXPECT_EQ(COrvRoof::Cast(roof)->SetData(square, 0, 0, {}, 3e9f, 0, 0, 0, 0), -1);
        roof->Close();
    });
    ExpectRefused("CQuickBuilding::Set 1002 storeys of the largest float", [&] {
        decObject* legacy = OfClass(objects, "QCQuickBuilding")->GetBaseObject();
        legacy->OpenForWrite();
        CQuickBuilding::Cast(legacy)->Set(2, square, 1002, 0, std::vector<float>(1002, FLT_MAX), "B");
        legacy->Close();
    });
    ExpectReadsAgain("after the setters");
}

}  // namespace
