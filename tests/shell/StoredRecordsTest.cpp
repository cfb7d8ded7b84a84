// The module's records read back from damaged drawing files. Each record is written here field
// by field in its stored order (independently of the classes' own Serialize) and put in a
// drawing file under its class name: a value the class cannot hold (a kind outside its
// enumeration, a count beyond the record, a number that is not finite) refuses the file, while
// a value the class keeps or repairs loads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "ShellTestSupport.h"
#include "decDbForeignObject.h"

using ::testing::HasSubstr;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using Bytes = std::vector<std::uint8_t>;

// The base part every record starts with: the object's name, empty. A memory stream writes
// the bytes a file stream would, without refusing a number that is not finite.
StoreFilter Record()
{
    StoreFilter f;
    f << CString();
    return f;
}

Bytes ScaleText(int kind, double height)
{
    StoreFilter f = Record();
    f << kind << CString("1号楼") << GePoint3d(1, 2, 0) << height << 0.0 << 18u << 500.0 << CString("hztxt.shx")
      << GeVector3d(1, 0, 0) << GeVector3d(0, 0, 1);
    return f.TakeBytes();
}

Bytes ElevationLabel(int style, double scale)
{
    StoreFilter f = Record();
    f << style << GePoint3d(0, 0, 0) << 24000 << 0.0 << 5.0 << scale << CString("hztxt.shx");
    return f.TakeBytes();
}

Bytes Building(unsigned count, const std::vector<GePoint3d>& points)
{
    StoreFilter f = Record();
    f << CString("1号楼") << 24000 << count;
    for (const GePoint3d& p : points)
        f << p;
    f << 0;
    return f.TakeBytes();
}

const std::vector<GePoint3d> kSquare = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};

Bytes Window(double scale, int planMode)
{
    StoreFilter f = Record();
    f << 1 << 2 << CString("1") << CString("1号楼") << 1500 << 1800 << 1 << 2.5 << 1.0 << planMode << scale << 3;
    return f.TakeBytes();
}

GeMatrix3d FarAway()
{
    GeMatrix3d tm;
    tm(0, 3) = kInf;
    return tm;
}

struct Case {
    const char* what;
    const char* className;
    unsigned version;
    Bytes record;
    const char* fault;  // what the refusal says; null when the record loads
    GeMatrix3d placement = GeMatrix3d();
};

constexpr double kMarker = 4711.0625;

// A drawing file holding one object of the class with the record's bytes. Saving refuses a
// placement that is not finite, so the file is saved with a marker in its place and the
// marker's bytes replaced afterwards (the files are read without their checksum).
Bytes FileWith(const Case& c)
{
    GeMatrix3d marked = c.placement;
    double spoilt = kMarker;
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k)
            if (!std::isfinite(marked(r, k))) std::swap(spoilt, marked(r, k));
    DbDatabase db;
    db.OpenForWrite();
    auto* object = new decDbForeignObject(c.className, c.version, c.record);
    object->SetLocalTM(marked);
    decObjectId id;
    db.CreateNewEntity(0, object, id);
    db.Close();
    Bytes bytes = host::EncodeDrawing(db);
    const auto marker = std::bit_cast<std::array<std::uint8_t, 8>>(kMarker);
    const auto at = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
    if (at != bytes.end()) std::copy_n(std::bit_cast<std::array<std::uint8_t, 8>>(spoilt).begin(), 8, at);
    return bytes;
}

class StoredRecordsTest : public ShellTest {};

TEST_F(StoredRecordsTest, ValuesTheClassCannotHoldRefuseTheFile)
{
    const Case cases[] = {
        {"scale text of the last kind", "QCOrvScaleText", 2, ScaleText(4, 5.0), nullptr},
        {"scale text kind 127", "QCOrvScaleText", 2, ScaleText(127, 5.0), "its text kind 127 is not one of 0 to 4"},
        {"scale text kind -1", "QCOrvScaleText", 2, ScaleText(-1, 5.0), "its text kind -1 is not one of 0 to 4"},
        {"scale text height NaN", "QCOrvScaleText", 2, ScaleText(0, kNaN), "not finite"},
        {"elevation label scale infinite", "QCDimBuildElevation", 2, ElevationLabel(4, kInf), "not finite"},
        // A style outside the list is the label's own (set through its panel): it shows no text.
        {"elevation label style 7", "QCDimBuildElevation", 2, ElevationLabel(7, 500.0), nullptr},
        {"building", "QCExtrudeBuild", 2, Building(4, kSquare), nullptr},
        {"building count beyond its record", "QCExtrudeBuild", 2, Building(1000, kSquare), "claims more than"},
        {"building placed at infinity", "QCExtrudeBuild", 2, Building(4, kSquare), "not finite", FarAway()},
        {"building corner NaN", "QCExtrudeBuild", 2, Building(4, {{0, 0, 0}, {kNaN, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
         "not finite"},
        {"window scale NaN", "QCWindow", 3, Window(kNaN, 1), "not finite"},
        // A negative plan mode is repaired on reading, as the window's record has it.
        {"window plan mode -3", "QCWindow", 3, Window(500.0, -3), nullptr},
    };
    for (const Case& c : cases) {
        DbDatabase loaded;
        std::string error;
        const bool ok = host::DecodeDrawing(FileWith(c), loaded, error, false);
        if (!c.fault) {
            EXPECT_TRUE(ok) << c.what << ": " << error;
            ASSERT_EQ(loaded.AllObjects().size(), 1u) << c.what;
            EXPECT_FALSE(decDbForeignObject::Cast(loaded.AllObjects()[0])) << c.what << " loads as its own class";
            continue;
        }
        EXPECT_FALSE(ok) << c.what;
        EXPECT_THAT(error, HasSubstr(c.fault)) << c.what;
        EXPECT_THAT(error, HasSubstr(c.className)) << c.what;
    }
}

}  // namespace
