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
#include "ModuleSeed.h"
#include "ModuleTest.h"
#include "ObjectProperties.h"
#include "OrvRoof.h"
#include "OrvScaleText.h"
#include "PropertyPanel.h"
#include "QuickBuilding.h"
#include "Window.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Real rows: not finite, or beyond the float range (a double member may hold the latter).
constexpr double kBadReals[] = {1e300, -1e300, kNaN, kInf, -kInf, 3.5e38};
constexpr double kNotFinite[] = {kNaN, kInf, -kInf};
// A length a float holds but whole millimetres in an int do not.
constexpr double kBadThickness[] = {kNaN, kInf, -kInf, 3e9};
constexpr double kLargestFloat[] = {FLT_MAX};
// Whole-number rows: beyond the int the members hold.
constexpr long kBadWholes[] = {2147483648L, -2147483649L, 99999999999L, LONG_MAX, LONG_MIN};

// Works on the fuzzer's seed objects: one of every module class (the corpus test keeps the
// seed complete), each with ordinary values.
class StoredValuesTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        fuzz::AddEveryModuleClass(*Db());
    }

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
    static int Edit(decDbObject* owner, int row, const prop_data& value)
    {
        owner->OpenForWrite();
        const int result = owner->OnPropertyValueChanged(row, value);
        owner->Close();
        return result;
    }

    static std::string ClassOf(const decDbObject* object) { return object->GetClassInfoA()->className; }

    // The objects of the module's classes, in the order they were made.
    std::vector<decDbObject*> ModuleObjects() const
    {
        std::vector<decDbObject*> objects;
        for (decDbEntity* e : Db()->AllObjects())
            if (auto* owner = dynamic_cast<decDbObject*>(e->GetBaseObject()); owner && ClassOf(owner).starts_with("QC"))
                objects.push_back(owner);
        return objects;
    }

    decDbObject* OfClass(const std::string& cls) const
    {
        for (decDbObject* object : ModuleObjects())
            if (ClassOf(object) == cls)
                return object;
        return nullptr;
    }
};

TEST_F(StoredValuesTest, EveryNumericRowOfEveryClassTakesExactlyWhatItTypedOrNothing)
{
    int edits = 0;
    for (decDbObject* owner : ModuleObjects()) {
        for (const TPropertyDef& row : host::PropertyRows(*owner)) {
            const std::string what = ClassOf(owner) + " row " + row.name;
            // Refused (nothing changed) or stored exactly as typed; never stored as something else.
            const auto expectExactOrNothing = [&](const prop_data& value, const std::string& typed, auto same) {
                const std::vector<std::uint8_t> before = Bytes();
                Edit(owner, row.index, value);
                ++edits;
                if (Bytes() != before) {
                    EXPECT_TRUE(same(host::ReadProperty(*owner, row.index))) << what << " = " << typed << " stored otherwise";
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
                    Edit(owner, row.index, value);
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
    enum { kWhole, kReal };
    const struct {
        const char* cls;
        int row;
        int kind;
        double value;
        bool taken;
    } cases[] = {
        // A window's width or height of 0 or less: the degenerate window the checks report.
        {"QCWindow", 5, kWhole, 0, false},     {"QCWindow", 5, kWhole, -5, false},
        {"QCWindow", 5, kWhole, 1, true},      {"QCWindow", 6, kWhole, 0, false},
        {"QCWindow", 6, kWhole, -1800, false}, {"QCWindow", 6, kWhole, 2400, true},
        {"QCWindow", 8, kWhole, -1, false},    {"QCWindow", 8, kWhole, 6, false},
        {"QCWindow", 8, kWhole, 5, true},      {"QCWindow", 8, kWhole, 0, true},
        // The elevation label's five styles (a style outside them would show no text).
        {"QCDimBuildElevation", 1, kWhole, -1, false}, {"QCDimBuildElevation", 1, kWhole, 5, false},
        {"QCDimBuildElevation", 1, kWhole, 89, false}, {"QCDimBuildElevation", 1, kWhole, 0, true},
        {"QCDimBuildElevation", 1, kWhole, 4, true},
        // Top and bottom whose difference no whole-millimetre int holds (a top taken is held
        // whole millimetres above the bottom, as the record gives it back).
        {"QCDimBuildElevation", 3, kReal, -1000.5, true},     {"QCDimBuildElevation", 2, kReal, 3e12, false},
        {"QCDimBuildElevation", 3, kReal, -2147483649.0, false}, {"QCDimBuildElevation", 2, kReal, 1999999999.5, true},
        // Roof lengths beyond whole millimetres in an int.
        {"QCOrvRoof", 2, kReal, 99999999999.0, false}, {"QCOrvRoof", 2, kReal, 2147483648.0, false},
        {"QCOrvRoof", 1, kReal, 1.8e19, false},        {"QCOrvRoof", 5, kReal, 3e9, false},
        {"QCOrvRoof", 2, kReal, 250.0, true},
    };
    for (const auto& c : cases) {
        decDbObject* object = OfClass(c.cls);
        ASSERT_NE(object, nullptr) << c.cls;
        prop_data value;
        if (c.kind == kWhole)
            value.SetLong(static_cast<long>(c.value));
        else
            value.SetDouble(c.value);
        const std::string what = std::string(c.cls) + " row " + std::to_string(c.row) + " = " + std::to_string(c.value);
        const std::vector<std::uint8_t> before = Bytes();
        Edit(object, c.row, value);
        const prop_data now = host::ReadProperty(*object, c.row);
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
        // Not finite, or also finite values beyond a float or an int (members kept narrower).
        std::span<const double> values;
        Call call;
    } calls[] = {
        {"QCOrvRoof", "SetData overhang", kBadReals,
         [&](decObject* o, double v) { EXPECT_EQ(COrvRoof::Cast(o)->SetData(square, 0, v, {}, 100, 0, 0, 0, 0), -1); }},
        {"QCOrvRoof", "SetData outline", kNotFinite,
         [&](decObject* o, double v) { EXPECT_EQ(COrvRoof::Cast(o)->SetData(far(v), 0, 0, {}, 100, 0, 0, 0, 0), -1); }},
        {"QCOrvRoof", "SetData thickness", kBadThickness,
         [&](decObject* o, double v) {
             EXPECT_EQ(COrvRoof::Cast(o)->SetData(square, 0, 0, {}, static_cast<float>(v), 0, 0, 0, 0), -1);
         }},
        {"QCOrvRoof", "SetData parapet width", kNotFinite,
         [&](decObject* o, double v) { COrvRoof::Cast(o)->SetData(square, 0, 0, {}, 0, 600, 0, static_cast<float>(v), 0); }},
        {"QCOrvRoof", "SetData slope", kNotFinite,
         [&](decObject* o, double v) { COrvRoof::Cast(o)->SetData(square, 1, 0, {30, static_cast<float>(v), 30, 30}, 0, 0, 0, 0, 0); }},
        {"QCDormer", "SetData slope", kBadReals,
         [](decObject* o, double v) { EXPECT_EQ(CDormer::Cast(o)->SetData(1000, 800, 400, 100, 200, v), 0); }},
        {"QCDormer", "SetSection", kNotFinite, [&](decObject* o, double v) { CDormer::Cast(o)->SetSection({far(v)}); }},
        {"QCWindow", "label settings", kNotFinite,
         [](decObject* o, double v) {
             CWindow::Cast(o)->SetHorDimHeight(v);
             CWindow::Cast(o)->SetVerDimHeight(v);
             CWindow::Cast(o)->SetScale(v);
         }},
        {"QCExtrudeBuild", "Set", kNotFinite,
         [&](decObject* o, double v) {
             GeMatrix3d tm;
             CExtrudeBuild::Cast(o)->Set("B", 3000, far(v), tm);
         }},
        {"QCDimBuildElevation", "Set height", kBadReals,
         [](decObject* o, double v) { EXPECT_FALSE(CDimBuildElevation::Cast(o)->Set(v, 0.0, GePoint3d())); }},
        {"QCDimBuildElevation", "Set bottom and position, scale, text height", kNotFinite,
         [](decObject* o, double v) {
             EXPECT_FALSE(CDimBuildElevation::Cast(o)->Set(1000.0, v, GePoint3d()));
             EXPECT_FALSE(CDimBuildElevation::Cast(o)->Set(1000.0, 0.0, GePoint3d(v, 0, 0)));
             CDimBuildElevation::Cast(o)->SetScale(v);
             CDimBuildElevation::Cast(o)->SetTextHeight(v);
         }},
        {"QCOrvScaleText", "Set position and angle, height, scale", kNotFinite,
         [](decObject* o, double v) {
             auto* text = COrvScaleText::Cast(o);
             EXPECT_FALSE(text->Set(TEXT_UTILITY::BUILD_DIM, "B", GePoint3d(0, v, 0), GeVector3d::kXAxis,
                                    GeVector3d::kZAxis, 3.5, 0.0, 0, 500.0, ""));
             EXPECT_FALSE(text->Set(TEXT_UTILITY::BUILD_DIM, "B", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis,
                                    3.5, v, 0, 500.0, ""));
             text->SetHeight(v);
             text->SetScale(v);
         }},
        {"QCQuickBuilding", "Set outline and storey", kNotFinite,
         [&](decObject* o, double v) {
             CQuickBuilding::Cast(o)->Set(2, far(v), 1, 0, {3000.0f}, "B");
             CQuickBuilding::Cast(o)->Set(2, square, 1, 0, {static_cast<float>(v)}, "B");
         }},
        // Storeys that add up to a height in metres beyond a float.
        {"QCQuickBuilding", "Set 1002 storeys", kLargestFloat,
         [&](decObject* o, double v) {
             CQuickBuilding::Cast(o)->Set(2, square, 1002, 0, std::vector<float>(1002, static_cast<float>(v)), "B");
         }},
    };
    for (const auto& c : calls) {
        decObject* object = OfClass(c.cls);
        for (double bad : c.values) {
            ExpectRefused(std::string(c.cls) + " " + c.what + " " + std::to_string(bad), [&] {
                object->OpenForWrite();
                c.call(object, bad);
                object->Close();
            });
        }
    }
    ExpectReadsAgain("after the setters");
}

}  // namespace
