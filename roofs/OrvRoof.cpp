// COrvRoof as a drawing object: its class record, its record in the drawing, the property
// panel with the edits that rebuild it, and its mesh.
#include "OrvRoof.h"

#include <cstdint>
#include <cstdio>
#include <new>
#include <optional>
#include <string>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "FaceMesh.h"
#include "GrownEdgeSlopes.h"
#include "RoofRecord.h"
#include "Tools.h"
#include "TypedNumbers.h"

namespace {

using roof_record::ReadCount;
using roof_record::ReadPoints;
using roof_record::WritePoints;

constexpr const char* kGroup = "屋顶信息";
constexpr const char* kFlatText = "平屋顶";
constexpr const char* kSlopedText = "坡屋顶";
constexpr const char* kVariousSlopesText = "**多种**";
constexpr const char* kEdgeCountChangedText = "修改后的挑出距离会造成屋顶边数改变!请使用编辑屋顶功能!";
// Slopes the panel accepts, in degrees.
constexpr float kMinSlope = 1.0f;
constexpr float kMaxSlope = 89.0f;
// The edge ring must keep at least this many points.
constexpr int kMinRingPoints = 3;
// A polygon needs more points than this.
constexpr std::size_t kMinPolygonPoints = 3;

enum Property {
    kPropKind = 0,
    kPropOverhang = 1,
    kPropThickness = 2,
    kPropSlope = 3,
    kPropHeightA = 4,
    kPropWidthA = 5,
    kPropHeightB = 6,
    kPropWidthB = 7,
};

}  // namespace

const TPropertyDef COrvRoof::flat_roof[] = {
    {kGroup, "屋顶形式", "屋顶形式", kPropKind, 4, 1, 0},
    {kGroup, "挑出距离", "挑出距离 单位:mm", kPropOverhang, 2, 0, 0},
    {kGroup, "屋面厚度", "屋面厚度 单位:mm", kPropThickness, 2, 0, 0},
    {kGroup, "女儿墙高a", "女儿墙高a 单位:mm", kPropHeightA, 2, 0, 0},
    {kGroup, "女儿墙宽a", "女儿墙宽a 单位:mm", kPropWidthA, 2, 0, 0},
    {kGroup, "女儿墙高b", "女儿墙高b 单位:mm", kPropHeightB, 2, 0, 0},
    {kGroup, "女儿墙宽b", "女儿墙宽b 单位:mm", kPropWidthB, 2, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

const TPropertyDef COrvRoof::pitched_roof[] = {
    {kGroup, "屋顶形式", "屋顶形式", kPropKind, 4, 1, 0},
    {kGroup, "挑出距离", "挑出距离 单位:mm", kPropOverhang, 2, 0, 0},
    {kGroup, "屋面厚度", "屋面厚度 单位:mm", kPropThickness, 2, 0, 0},
    {kGroup, "屋顶坡度", "屋顶坡度 单位:度", kPropSlope, 4, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

COrvRoof::COrvRoof() = default;
COrvRoof::~COrvRoof() = default;

decObjectClassInfo* COrvRoof::Desc()
{
    static decObjectClassInfo info{"QCOrvRoof", "日照屋顶", "comn", 2, decBuilder::Desc(), &COrvRoof::CreateNewObject,
                                   sizeof(COrvRoof), {}};
    return &info;
}

decObject* COrvRoof::CreateNewObject()
{
    try {
        return new COrvRoof();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void COrvRoof::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    if (filter.IsStoring()) {
        WritePoints(filter, outline);
        filter << kind << overhang << thickness << parapetHeightA << parapetHeightB << parapetWidthA << parapetWidthB;
        filter << static_cast<int>(faceLoops.size());
        for (const GePoint3dArray& loop : faceLoops)
            WritePoints(filter, loop);
        WritePoints(filter, extraPoints);
        filter << static_cast<int>(slopes.size());
        for (float slope : slopes)
            filter << slope;
        return;
    }
    outline.clear();
    faceLoops.RemoveAll();
    extraPoints.clear();
    slopes.clear();
    ReadPoints(filter, outline);
    filter >> kind >> overhang >> thickness >> parapetHeightA >> parapetHeightB >> parapetWidthA >> parapetWidthB;
    // Every loop holds at least its own count.
    faceLoops.SetSize(static_cast<int>(ReadCount(filter, sizeof(int))));
    for (GePoint3dArray& loop : faceLoops)
        ReadPoints(filter, loop);
    ReadPoints(filter, extraPoints);
    slopes.resize(ReadCount(filter, sizeof(float)));
    for (float& slope : slopes)
        filter >> slope;
}

const TPropertyDef* COrvRoof::GetObjectPropertyDefine() const
{
    switch (kind) {
    case kFlat: return flat_roof;
    case kSloped: return pitched_roof;
    default: return nullptr;
    }
}

void COrvRoof::OnPropertyValueGet(int index, prop_data& value)
{
    switch (index) {
    case kPropKind:
        if (kind == kFlat)
            value.SetText(kFlatText);
        else if (kind == kSloped)
            value.SetText(kSlopedText);
        break;
    case kPropOverhang: value.SetDouble(overhang); break;
    case kPropThickness: value.SetDouble(thickness); break;
    case kPropSlope: {
        if (kind == kFlat) {
            value.SetText("0");
            break;
        }
        bool same = !slopes.empty();
        for (float slope : slopes)
            same = same && slope == slopes.front();
        char text[64];
        std::snprintf(text, sizeof text, "%.0f", same ? slopes.front() : 0.0f);
        value.SetText(same ? text : kVariousSlopesText);
        break;
    }
    case kPropHeightA: value.SetDouble(parapetHeightA); break;
    case kPropWidthA: value.SetDouble(parapetWidthA); break;
    case kPropHeightB: value.SetDouble(parapetHeightB); break;
    case kPropWidthB: value.SetDouble(parapetWidthB); break;
    default: ORV_ASSERT(0, "OrvRoof"); break;
    }
}

COrvRoof::Parameters COrvRoof::SavedParameters() const
{
    return {overhang, thickness, parapetHeightA, parapetHeightB, parapetWidthA, parapetWidthB, slopes};
}

void COrvRoof::Restore(const Parameters& saved)
{
    overhang = saved.overhang;
    thickness = saved.thickness;
    parapetHeightA = saved.ha;
    parapetHeightB = saved.hb;
    parapetWidthA = saved.wa;
    parapetWidthB = saved.wb;
    slopes = saved.slopes;
}

int COrvRoof::Rebuild()
{
    return SetData(outline, kind, overhang, slopes, thickness, parapetHeightA, parapetHeightB, parapetWidthA,
                   parapetWidthB);
}

// The overhang is taken when the grown ring keeps one point per slope: a flat roof's slopes
// are all zero, a sloped roof carries each slope to the grown edge that comes from its edge
// (the grown ring may start at another corner or run the other way). A flat roof takes the
// overhang anyway with one zero slope per point of the new ring; a sloped roof whose edges no
// longer match keeps its overhang.
void COrvRoof::EditOverhang(double value)
{
    const auto f = static_cast<float>(value);
    GePoint3dArray ring;
    int ringClosed = 0;
    CTools::offset(outline, 1, f, ring, ringClosed, kMinRingPoints);
    if (kind == kFlat) {
        slopes.assign(ring.size(), 0.0f);
        overhang = f;
        return;
    }
    GePoint3dArray current;
    CTools::offset(outline, 1, overhang, current, ringClosed, kMinRingPoints);
    const std::optional<std::vector<float>> carried =
        ring.size() == slopes.size() ? CarriedSlopes(current, slopes, ring, f - overhang) : std::nullopt;
    if (!carried) {
        dec::PrintPrompt(kEdgeCountChangedText);
        return;
    }
    slopes = *carried;
    overhang = f;
}

// One slope for every edge. A text starting with "*" (the shown "**多种**") keeps the
// per-edge slopes.
void COrvRoof::EditSlopes(const char* text)
{
    if (text[0] == '*')
        return;
    // Compared as the float it is stored as; text that is no number ("18x5") and a number
    // beyond the float range are no slope.
    const std::optional<float> typed = TypedFloat(text);
    if (typed && *typed >= kMinSlope && *typed <= kMaxSlope)
        slopes.assign(slopes.size(), *typed);
}

int COrvRoof::OnPropertyValueChanged(int index, const prop_data& value)
{
    const Parameters saved = SavedParameters();
    AssertWriteEnabled(1, 1, 1, 0);
    // Lengths below 0, NaN, and lengths beyond whole millimetres in 32 bits change nothing.
    const std::optional<float> length =
        value.dValue >= 0.0 && IsLength(value.dValue) ? StoredAs<float>(value.dValue) : std::nullopt;
    switch (index) {
    case kPropOverhang:
        if (length)
            EditOverhang(*length);
        break;
    case kPropThickness:
        if (length)
            thickness = *length;
        break;
    case kPropSlope:
        if (kind == kSloped)
            EditSlopes(value.szValue);
        break;
    case kPropHeightA:
    case kPropWidthA:
    case kPropHeightB:
    case kPropWidthB: {
        if (kind != kFlat || !length)
            break;
        float* fields[] = {&parapetHeightA, &parapetWidthA, &parapetHeightB, &parapetWidthB};
        *fields[index - kPropHeightA] = *length;
        break;
    }
    default:
        break;
    }
    if (Rebuild() != 1) {
        Restore(saved);
        Rebuild();
    }
    return dex::eOk;
}

int COrvRoof::MakeMesh(decMesh3** out) const
{
    if (!out || faceLoops.size() < 3)
        return 0;
    *out = MeshOfFaces(faceLoops, kMinPolygonPoints);
    return 1;
}
