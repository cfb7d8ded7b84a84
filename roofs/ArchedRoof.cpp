#include "ArchedRoof.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "HostSolids.h"
#include "Input.h"
#include "OrvCommandHandlers.h"
#include "OutlineCleanup.h"
#include "RoofMeshEntities.h"
#include "WorkingDrawing.h"

double g_archedRoofThickness = 0.0;

namespace {

constexpr const char* kTitle = "***拱形屋顶***";
constexpr const char* kSectionStartPrompt = "请指定屋顶截面起始点：";
constexpr const char* kSectionEndPrompt = "请指定屋顶截面终点：";
constexpr const char* kRidgeEndPrompt = "请指定屋脊延伸线终点：";
constexpr const char* kRisePrompt = "请输入拱高";
constexpr const char* kThicknessPrompt = "请输入板厚";
// Point input flags of the first point and of the points with a rubber band (the host's).
constexpr std::uint32_t kFirstPointFlags = 0xffff;
constexpr std::uint32_t kNextPointFlags = 0xffffff;
// Points closer than this to the previous one are asked again.
constexpr double kShortestDistance = 100.0;
constexpr double kTol = 0.001;
constexpr int kArcSamples = 18;
// The half circle's sweep as the host's single-precision π.
constexpr double kHalfTurn = 3.1415927410125732;

// Asks a point until it lies at least kShortestDistance in plan from the base; false on a
// cancel. The distance is taken at the base's height, where the point is put afterwards, so a
// point straight above the base does not pass.
bool AskDistantPoint(const char* prompt, const GePoint3d& base, GePoint3d& out)
{
    while (true) {
        dec::PrintPrompt(prompt);
        if (dec::GetPoint(&base, &out, kNextPointFlags, 0, 0) != dex::eOk)
            return false;
        const GePoint3d level(out.x, out.y, base.z);
        if (base.DistanceTo(level) >= kShortestDistance)
            return true;
    }
}

void SwapYZ(std::vector<GePoint3d>& pts)
{
    for (GePoint3d& p : pts)
        std::swap(p.y, p.z);
}

}  // namespace

void CArchedRoof::Run()
{
    if (!Input())
        return;
    ComputeFrame();
    ComputeArcProfile();
    Create();
}

bool CArchedRoof::HasSlab() const
{
    return m_thickness > kTol;
}

int CArchedRoof::Input()
{
    dec::PrintPrompt(kSectionStartPrompt);
    if (dec::GetPoint(nullptr, &m_sectionStart, kFirstPointFlags, 0, 0) != dex::eOk)
        return 0;
    if (!AskDistantPoint(kSectionEndPrompt, m_sectionStart, m_sectionEnd))
        return 0;
    if (!AskDistantPoint(kRidgeEndPrompt, m_sectionEnd, m_ridgeEnd))
        return 0;
    m_sectionEnd.z = m_ridgeEnd.z = m_sectionStart.z;
    // An arch needs a rise: none would put the arc's three points on one line, and a negative
    // one would hang it below the section.
    const double halfSpan = m_sectionStart.DistanceTo(m_sectionEnd) / 2.0;
    do {
        if (dec::GetReal(kRisePrompt, &m_rise, halfSpan, 0) != dex::eOk)
            return 0;
    } while (!(m_rise > 0.0));
    if (dec::GetReal(kThicknessPrompt, &m_thickness, g_archedRoofThickness, 0) != dex::eOk)
        return 0;
    g_archedRoofThickness = m_thickness;
    return 1;
}

void CArchedRoof::ComputeFrame()
{
    const GePoint3d middle((m_sectionStart.x + m_sectionEnd.x) * 0.5, (m_sectionStart.y + m_sectionEnd.y) * 0.5,
                           m_sectionStart.z);
    const GeVector3d direction = m_sectionEnd - middle;
    const double angle = direction.AngleTo(GeVector3d::kXAxis, GeVector3d::kZAxis, 1e-6);
    GeMatrix3d turn, move;
    turn.SetToRotation(angle, GeVector3d::kZAxis, middle);
    move.SetToTranslation(GePoint3d::kOrigin - middle);
    // Turned about the vertical through the middle first, then moved to the origin.
    m_frame = move * turn;
    m_sectionStart.TransformBy(m_frame);
    m_sectionEnd.TransformBy(m_frame);
    m_ridgeEnd.TransformBy(m_frame);
}

void CArchedRoof::ComputeArcProfile()
{
    const double h = m_sectionStart.DistanceTo(m_sectionEnd) / 2.0;
    m_profile.clear();
    if (m_rise <= h - kTol) {
        // Flatter than a half circle: the arc through both ends and the crown.
        GeArc3d(m_sectionStart, GePoint3d(0, 0, m_rise), m_sectionEnd).GetSamplePoints(kArcSamples, m_profile);
    } else {
        GeArc3d(GePoint3d::kOrigin, -GeVector3d::kYAxis, GeVector3d::kXAxis, h, 0.0, kHalfTurn)
            .GetSamplePoints(kArcSamples, m_profile);
        if (m_rise > h + kTol && !m_profile.empty()) {
            // Stilted: the half circle raised onto upright legs down to the section line.
            for (GePoint3d& p : m_profile)
                p.z += m_rise - h;
            const GePoint3d first(m_profile.front().x, m_profile.front().y, 0.0);
            const GePoint3d last(m_profile.back().x, m_profile.back().y, 0.0);
            m_profile.insert(m_profile.begin(), first);
            m_profile.push_back(last);
        }
    }
    if (!HasSlab() || m_profile.empty())
        return;

    // The inner face: the arc laid into the plan, its edges moved inwards by the thickness
    // (the arc and its chord enclose the inside), stood up again and run backwards so that
    // the profile goes round; its ends come down onto the section line.
    std::vector<GePoint3d> inner = m_profile;
    SwapYZ(inner);
    OffsetBorderPts(inner, m_thickness);
    SwapYZ(inner);
    std::reverse(inner.begin(), inner.end());
    inner.front().z = 0.0;
    inner.back().z = 0.0;
    m_profile.reserve(2 * m_profile.size());
    m_profile.insert(m_profile.end(), inner.begin(), inner.end());
}

void CArchedRoof::Create()
{
    const double length = m_sectionEnd.DistanceTo(m_ridgeEnd);
    GeVector3d extrusion = GeVector3d::kYAxis * length;
    // Towards the ridge end's side of the section.
    if (GetPtsSignedArea({m_sectionStart, m_sectionEnd, m_ridgeEnd}) < 0.0)
        extrusion = -extrusion;
    // The profile stands upright, so its plan area is 0 and it keeps its order.
    if (GetPtsSignedArea(m_profile) < 0.0)
        std::reverse(m_profile.begin(), m_profile.end());
    auto extrude = std::make_unique<decDbExtrude>();
    extrude->SetData(static_cast<int>(m_profile.size()), m_profile.data(), HasSlab() ? 1 : 0, extrusion);

    DbAutoOpen open(1);
    DbDatabase* db = open.db;
    const long layer = SlopedRoofLayer(db);
    const long material = RoofMaterial(db);
    decObjectId id;
    if (db->CreateNewEntity(layer, extrude.get(), m_frame.Inverse(), id, material) == dex::eOk)
        extrude.release();
}

void CMD_ARCHED_ROOF()
{
    dec::PrintPrompt(kTitle);
    CArchedRoof roof;
    roof.Run();
}
