#include "Window.h"

#include <cmath>
#include <iterator>
#include <new>
#include <optional>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "DbDatabase.h"
#include "ModelHelperBuildings.h"
#include "OwnershipRecords.h"
#include "WorkingDrawing.h"
#include "decDbEntity.h"

namespace {

// Sizes and text heights at or below this are no sizes.
constexpr double geom_tol = 0.001;
// Label heights and scale change only by at least this much.
constexpr double kSettingTol = 0.001;
// Room counts the property panel takes.
constexpr long kMaxRooms = 50;
// Depth of the window's box behind the facade.
constexpr double kBoxDepth = 50.0;

// Label placement in the window's frame and the labels' look.
constexpr std::uint32_t kLabelColour = 0xFF00FF;
constexpr double kElevationLabelOffset = 55.0;
constexpr double kPlanLabelOffset = 80.0;
constexpr double kLabelWidthFactor = 0.8;
constexpr unsigned kElevationLabelAlignment = 18;
constexpr unsigned kPlanLabelAlignment = 10;

// Repairs of values read from a record.
constexpr double kMinSetting = 0.001;
constexpr double kMaxLabelHeight = 1000.0;
constexpr double kMaxScale = 10000.0;
constexpr double kDefaultHorDimHeight = 2.5;
constexpr double kDefaultVerDimHeight = 1.0;
constexpr double kDefaultScale = 500.0;
constexpr int kDefaultPlanMode = 1;
// The class version from which records carry the room count.
constexpr unsigned kRoomCountVersion = 3;

enum Property {
    kPropIndex = 0,
    kPropFloor = 1,
    kPropDoor = 2,
    kPropRoom = 3,
    kPropBuild = 4,
    kPropWidth = 5,
    kPropHeight = 6,
    kPropShowDim = 7,
    kPropPlanMode = 8,
};

const TPropertyDef kProperties[] = {
    {"窗编号", "位号", "输入位号", kPropIndex, 1, 0, 0},
    {"窗编号", "层号", "输入层号", kPropFloor, 1, 0, 0},
    {"窗编号", "户号", "输入所属户号", kPropDoor, 4, 0, 0},
    {"窗编号", "居室数", "输入所属户居室数", kPropRoom, 1, 0, 0},
    {"窗编号", "所属建筑", "从图形上选择所属建筑", kPropBuild, 7, 0, 0},
    {"窗尺寸", "窗宽", "输入窗宽", kPropWidth, 1, 0, 0},
    {"窗尺寸", "窗高", "输入窗高", kPropHeight, 1, 0, 0},
    {"窗标注", "显示标注", "显示窗标注", kPropShowDim, 3, 0, 0},
    {"窗标注", "平面标注", "平面图标注显示内容", kPropPlanMode, 5, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

// What the plan label shows, by plan mode (the list position is the mode).
const char* const kPlanModeNames[] = {"不显示", "位号", "户号", "户号(居室数)", "居室数", "建筑"};

// The window panel gives a window a name or numbers another window bears only when the
// ownership records go on naming exactly the windows they named; what to do instead.
constexpr const char* kRelabelAdvice =
    "对调两个窗口的编号时，请经一个未用的编号中转：先把其中一个改为未用的编号，再改另一个，最后把第一个改为所需的编号。";

// Whether the windows may take their new labels: true once the records naming them follow;
// false, with the refusal printed and nothing changed, when the records could not go on
// naming exactly the windows they name.
bool RecordsFollow(const std::vector<WinBelongBuild::Relabel>& relabels)
{
    return WinBelongBuild::OwnershipRecords().FollowOrRefuse(relabels, kRelabelAdvice);
}

// v when it lies in [low, high] (inclusive), else the fallback; a NaN is out of range.
double InRangeOr(double v, double low, double high, double fallback)
{
    return (v >= low && v <= high) ? v : fallback;
}

}  // namespace

decObjectClassInfo* CWindow::Desc()
{
    static decObjectClassInfo info{"QCWindow", "窗户", "comn", 3, decBuilder::Desc(), &CWindow::CreateNewObject,
                                   sizeof(CWindow), {}};
    return &info;
}

decObject* CWindow::CreateNewObject()
{
    try {
        return new CWindow();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CWindow::CWindow(const CWindow& other)
    : decBuilder(), m_nIndex(other.m_nIndex), m_nFloor(other.m_nFloor), m_strDoor(other.m_strDoor),
      m_nRoom(other.m_nRoom), m_strBuild(other.m_strBuild), m_nWidth(other.m_nWidth), m_nHeight(other.m_nHeight),
      m_bShowDim(other.m_bShowDim), m_dblHorDimHeight(other.m_dblHorDimHeight),
      m_dblVerDimHeight(other.m_dblVerDimHeight), m_nPlanDimMode(other.m_nPlanDimMode), m_dblScale(other.m_dblScale)
{
}

CWindow& CWindow::operator=(const CWindow& other)
{
    if (this != &other) {
        m_nIndex = other.m_nIndex;
        m_nFloor = other.m_nFloor;
        m_strDoor = other.m_strDoor;
        m_nRoom = other.m_nRoom;
        m_strBuild = other.m_strBuild;
        m_nWidth = other.m_nWidth;
        m_nHeight = other.m_nHeight;
        m_bShowDim = other.m_bShowDim;
        m_dblHorDimHeight = other.m_dblHorDimHeight;
        m_dblVerDimHeight = other.m_dblVerDimHeight;
        m_nPlanDimMode = other.m_nPlanDimMode;
        m_dblScale = other.m_dblScale;
    }
    return *this;
}

// ---- setters -------------------------------------------------------------------------

void CWindow::SetIndex(int index)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_nIndex = index;
}

void CWindow::SetFloor(int floor)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_nFloor = floor;
}

void CWindow::SetRoom(int room)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_nRoom = room;
}

void CWindow::SetDoor(const CString& door)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_strDoor = door;
}

void CWindow::SetBuild(const CString& build)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_strBuild = build;
}

void CWindow::SetHorDimHeight(double height)
{
    if (!StoredAs<double>(height) || std::abs(height - m_dblHorDimHeight) < kSettingTol)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_dblHorDimHeight = height;
}

void CWindow::SetVerDimHeight(double height)
{
    if (!StoredAs<double>(height) || std::abs(height - m_dblVerDimHeight) < kSettingTol)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_dblVerDimHeight = height;
}

void CWindow::SetScale(double scale)
{
    if (!StoredAs<double>(scale) || std::abs(scale - m_dblScale) < kSettingTol)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_dblScale = scale;
}

void CWindow::SetSize(int width, int height)
{
    ORV_ASSERT(width > geom_tol && height > geom_tol && "窗尺寸异常", "Window");
    m_nWidth = width;
    m_nHeight = height;
}

// ---- record --------------------------------------------------------------------------

void CWindow::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    // Records of a file written by a class version before 3 have no room count; undo and
    // copy records always have it.
    const bool hasRoom = !(filter.IsFileSerialize() && filter.GetClassVersion() < kRoomCountVersion);
    if (filter.IsStoring()) {
        filter << m_nIndex << m_nFloor << m_strDoor << m_strBuild << m_nWidth << m_nHeight << m_bShowDim
               << m_dblHorDimHeight << m_dblVerDimHeight << m_nPlanDimMode << m_dblScale;
        if (hasRoom)
            filter << m_nRoom;
        return;
    }
    // Read everything first, so a record that ends early leaves the window as it was.
    int index = 0, floor = 0, width = 0, height = 0, showDim = 0, planMode = 0, room = 0;
    CString door, build;
    double horHeight = 0.0, verHeight = 0.0, scale = 0.0;
    filter >> index >> floor >> door >> build >> width >> height >> showDim >> horHeight >> verHeight >> planMode >>
        scale;
    if (hasRoom)
        filter >> room;

    m_nIndex = index;
    m_nFloor = floor;
    m_strDoor = std::move(door);
    m_strBuild = std::move(build);
    m_nWidth = width;
    m_nHeight = height;
    m_bShowDim = showDim;
    m_dblHorDimHeight = InRangeOr(horHeight, kMinSetting, kMaxLabelHeight, kDefaultHorDimHeight);
    m_dblVerDimHeight = InRangeOr(verHeight, kMinSetting, kMaxLabelHeight, kDefaultVerDimHeight);
    m_nPlanDimMode = planMode < 0 ? kDefaultPlanMode : planMode;
    m_dblScale = InRangeOr(scale, kMinSetting, kMaxScale, kDefaultScale);
    m_nRoom = room;
}

// ---- property panel ------------------------------------------------------------------

const TPropertyDef* CWindow::GetObjectPropertyDefine() const
{
    return kProperties;
}

void CWindow::OnPropertyComboBoxInit(int id, TPropertyComboBoxData& entries)
{
    if (id != kPropPlanMode)
        return;
    for (const char* name : kPlanModeNames)
        entries.AddString(name);
}

void CWindow::OnPropertyValueGet(int id, prop_data& value)
{
    switch (id) {
    case kPropIndex: value.SetLong(m_nIndex); break;
    case kPropFloor: value.SetLong(m_nFloor); break;
    case kPropDoor: value.SetText(m_strDoor); break;
    case kPropRoom: value.SetLong(m_nRoom); break;
    case kPropBuild: value.SetText(m_strBuild); break;
    case kPropWidth: value.SetLong(m_nWidth); break;
    case kPropHeight: value.SetLong(m_nHeight); break;
    case kPropShowDim: value.SetLong(m_bShowDim); break;
    case kPropPlanMode: value.SetLong(m_nPlanDimMode); break;
    default: break;
    }
}

int CWindow::OnPropertyValueChanged(int id, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    // A number the member cannot hold, or one the row's own rule refuses, is ignored without
    // a word: the panel keeps the old value.
    const std::optional<int> number = StoredAs<int>(value.lValue);
    const auto take = [&](int& member, bool rule) {
        if (number && rule)
            member = *number;
    };
    // A new floor or position only when the records naming windows can follow it.
    const auto renumber = [this, &number](int& member, int floor, int position) {
        if (number && RecordsFollow({{this, WinBelongBuild::LabelOf(*this), {m_strBuild, floor, position}}}))
            member = *number;
    };
    switch (id) {
    case kPropIndex: renumber(m_nIndex, m_nFloor, number.value_or(0)); break;
    case kPropFloor: renumber(m_nFloor, number.value_or(0), m_nIndex); break;
    case kPropDoor: m_strDoor = value.szValue; break;
    // 0 to 50 rooms.
    case kPropRoom: take(m_nRoom, value.lValue >= 0 && value.lValue <= kMaxRooms); break;
    case kPropBuild: m_strBuild = value.szValue; break;
    // A window of no width or height is the degenerate one the checks report.
    case kPropWidth: take(m_nWidth, value.lValue > 0); break;
    case kPropHeight: take(m_nHeight, value.lValue > 0); break;
    case kPropShowDim: take(m_bShowDim, true); break;
    // Only a position of the row's list.
    case kPropPlanMode: take(m_nPlanDimMode, value.lValue >= 0 && value.lValue < std::ssize(kPlanModeNames)); break;
    default: break;
    }
    return dex::eOk;
}

int CWindow::OnPropertyOtherEdit(long id, const char*, long count, decObject** objects, int&)
{
    if (id != kPropBuild)
        return 0;
    // Close only the bracket opened here: the caller's own bracket stays as it was.
    DbDatabase* db = dec::GetWorkingDatabase();
    const bool opened = !db->IsOpenForWrite() && db->OpenForWrite() == dex::eOk;
    CString name;
    if (!GetBuildName(name)) {
        if (opened)
            db->Close();
        return 0;
    }
    prop_data value;
    value.SetText(name);
    // Only windows take a building name through this row, all of them or, when the records
    // naming windows could not follow, none.
    std::vector<CWindow*> windows;
    std::vector<WinBelongBuild::Relabel> relabels;
    for (long i = 0; objects && i < count; ++i)
        if (CWindow* window = CWindow::Cast(objects[i])) {
            windows.push_back(window);
            const WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*window);
            relabels.push_back({window, label, {value.szValue, label.floor, label.position}});
        }
    const bool follows = RecordsFollow(relabels);
    for (CWindow* window : windows) {
        if (!follows || window->OpenForWrite() != dex::eOk)
            continue;
        window->OnPropertyValueChanged(kPropBuild, value);
        window->Close();
    }
    if (opened)
        db->Close();
    return follows ? 1 : 0;
}

// ---- shape and labels ----------------------------------------------------------------

int CWindow::MakeMesh(decMesh3** out) const
{
    if (!out)
        return 0;
    auto* mesh = new decMesh3();
    // The host's box lies behind the facade: x in [-w/2, w/2], y in [-50, 0], z in [0, h].
    if (!mesh->CreateBox(static_cast<double>(m_nWidth), kBoxDepth, static_cast<double>(m_nHeight), 1)) {
        delete mesh;
        return 0;
    }
    *out = mesh;
    return 1;
}

CString CWindow::PlanLabelText() const
{
    CString text;
    switch (m_nPlanDimMode) {
    case 1: text.Format("%d", m_nIndex); break;
    case 2: text = m_strDoor; break;
    case 3:
        if (m_nRoom >= 1)
            text.Format("%s(%d)", m_strDoor.GetString(), m_nRoom);
        else
            text.Format("%s(?)", m_strDoor.GetString());
        break;
    case 4:
        if (m_nRoom >= 1)
            text.Format("%d", m_nRoom);
        else
            text = "?";
        break;
    case 5: text = m_strBuild; break;
    default: break;
    }
    return text;
}

void CWindow::OnMakeDisplayBuf(unsigned long flags, decViewFilter& filter)
{
    decBuilder::OnMakeDisplayBuf(flags, filter);
    if (!m_bShowDim)
        return;
    filter.SetColor(kLabelColour);

    const GePoint3d origin;
    const GeVector3d& X = GeVector3d::kXAxis;
    const GeVector3d& Y = GeVector3d::kYAxis;
    const GeVector3d& Z = GeVector3d::kZAxis;

    CString elevation;
    elevation.Format("%d-%d", m_nFloor, m_nIndex);
    const GePoint3d elevationPos = origin + Z * (m_nHeight * 0.5) + Y * kElevationLabelOffset;
    ORV_ASSERT(m_dblScale > geom_tol && m_dblVerDimHeight > geom_tol && "文字高度信息异常", "Window");
    filter.Text(elevation, elevationPos, -X, Y, 0.0, m_dblVerDimHeight * m_dblScale, kLabelWidthFactor,
                kElevationLabelAlignment);

    const GePoint3d planPos = origin + Y * kPlanLabelOffset;
    GeVector3d direction = -X;
    GeVector3d normal = Z;
    // In a mirrored frame the text is written the other way on the other side, so that it
    // reads right. A window without an entity is drawn without the test.
    const decObjectIdArray outputs = GetOutputObjs();
    const decObject* pRef = outputs.empty() ? nullptr : outputs.front().GetObjectA();
    if (ORV_ASSERT(pRef, "Window")) {
        const decDbEntity3d* entity = decDbEntity3d::Cast(pRef);
        if (entity && entity->GetNodeTm().IsMirrorMatrix()) {
            direction = X;
            normal = -Z;
        }
    }
    const CString text = PlanLabelText();
    if (!text.IsEmpty())
        filter.Text(text, planPos, direction, normal, 0.0, m_dblHorDimHeight * m_dblScale, kLabelWidthFactor,
                    kPlanLabelAlignment);
}
