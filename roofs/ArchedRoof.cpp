#include "ArchedRoof.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "HostSolids.h"
#include "Input.h"
#include "OrvCommandHandlers.h"
#include "GeUtility.h"
#include "OutlineCleanup.h"
#include "qrxGeScalar.h"
#include "RoofMeshEntities.h"
#include "RoofRings.h"
#include "WorkingDrawing.h"

double g_archedRoofThickness = 0.0;

namespace {

constexpr const char* kTitle = "***拱形屋顶***";
constexpr const char* kSectionStartPrompt = "请指定屋顶截面起始点：";
constexpr const char* kSectionEndPrompt = "请指定屋顶截面终点：";
constexpr const char* kRidgeEndPrompt = "请指定屋脊延伸线终点：";
constexpr const char* kRisePrompt = "请输入拱高";
constexpr const char* kThicknessPrompt = "请输入板厚";
constexpr const char* kNotCreated = "提示：创建拱形屋顶失败。";
// Point input flags of the first point and of the points with a rubber band (the host's).
constexpr std::uint32_t kFirstPointFlags = 0xffff;
constexpr std::uint32_t kNextPointFlags = 0xffffff;
// Points closer than this to the previous one are asked again.
constexpr double kShortestDistance = 100.0;
constexpr double kTol = 0.001;
constexpr int kArcSamples = 18;
// The half circle's sweep as the host's single-precision π.
constexpr double kHalfTurn = qrxGe::kPi;

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

// The ridge end, at the section's height, makes a ridge of the clicks: it leaves the line of
// the section, beside which the arch is to run, and it is not the section's end clicked again
// a little way back over the section. The arch runs square to the section whatever the
// ridge's angle, so a ridge end behind the square through the section's end that lies within
// a sliver's width of the section's line (taking it out moves the clicks no farther) is such a
// slip, as it would be on a roof's outline; one farther off is drawn, however short.
bool MakesARidge(const GePoint3d& sectionStart, const GePoint3d& sectionEnd, const GePoint3d& ridgeEnd)
{
    // In the section's direction, so that points typed far out do not overflow; what is no
    // number is left to the checks that follow.
    const double span = std::hypot(sectionEnd.x - sectionStart.x, sectionEnd.y - sectionStart.y);
    const double wayX = (sectionEnd.x - sectionStart.x) / span, wayY = (sectionEnd.y - sectionStart.y) / span;
    const double outX = ridgeEnd.x - sectionEnd.x, outY = ridgeEnd.y - sectionEnd.y;
    const double away = std::fabs(wayX * outY - wayY * outX);
    const bool onTheLine = away <= kTol;
    const bool clickedAgain = wayX * outX + wayY * outY < 0.0 && away <= roof_rings::kSliverWidth;
    return !onTheLine && !clickedAgain;
}

// The circle the arch lies on in the section frame (x along the section, z up, the section
// line at z = 0): a flat arc's circle through both ends and the crown, its centre below the
// line; a half circle's centre on the line, or raised onto the legs of a stilted arch.
struct ArchCircle {
    double centreZ = 0.0;
    double radius = 0.0;
    bool legs = false;
};

bool IsFlatArc(double h, double rise)
{
    return rise <= h - kTol;
}

ArchCircle CircleOf(double h, double rise)
{
    if (IsFlatArc(h, rise)) {
        const double radius = (h * h + rise * rise) / (2.0 * rise);
        return {rise - radius, radius, false};
    }
    return {rise > h + kTol ? rise - h : 0.0, h, rise > h + kTol};
}

// The outer arc over the section from -h to h (the half circle from h to -h), sampled; a
// stilted arch with its feet on the section line. Empty when the points span no arc.
std::vector<GePoint3d> OuterArc(double h, double rise)
{
    std::vector<GePoint3d> arc;
    if (IsFlatArc(h, rise)) {
        GeArc3d(GePoint3d(-h, 0, 0), GePoint3d(0, 0, rise), GePoint3d(h, 0, 0)).GetSamplePoints(kArcSamples, arc);
        return arc;
    }
    GeArc3d(GePoint3d::kOrigin, -GeVector3d::kYAxis, GeVector3d::kXAxis, h, 0.0, kHalfTurn)
        .GetSamplePoints(kArcSamples, arc);
    if (rise > h + kTol && !arc.empty()) {
        for (GePoint3d& p : arc)
            p.z += rise - h;
        const GePoint3d first(arc.front().x, arc.front().y, 0.0);
        const GePoint3d last(arc.back().x, arc.back().y, 0.0);
        arc.insert(arc.begin(), first);
        arc.push_back(last);
    }
    return arc;
}

// The rise gives an arch the extrusion can be made of: every sample of the arc, finite.
bool SpansAnArc(double h, double rise)
{
    const std::vector<GePoint3d> arc = OuterArc(h, rise);
    return arc.size() >= static_cast<std::size_t>(kArcSamples) && AllFinite(arc);
}

// A slab must stay above the section line and short of the centre: thinner than a flat arc's
// rise (its inner arc would meet the line nowhere) and than a half circle's radius.
bool SlabFits(double h, double rise, double thickness)
{
    return thickness < (IsFlatArc(h, rise) ? rise : h);
}

// The inner face of the slab: the concentric arc of radius R - thickness, sampled as many
// times as the arc and cut where it meets the section line (a stilted arch's legs stand
// thickness inside the outer ones), running from the outer arc's last end back to its first.
std::vector<GePoint3d> InnerArc(const std::vector<GePoint3d>& outer, const ArchCircle& circle, double thickness)
{
    const double r = circle.radius - thickness;
    // Where the inner circle meets the section line, measured from the horizontal.
    const double rim = circle.centreZ < 0.0 ? std::asin(std::clamp(-circle.centreZ / r, -1.0, 1.0)) : 0.0;
    // The outer arc runs from -x to +x or the other way; the inner one runs back.
    const bool fromRight = outer.back().x < outer.front().x;
    const double from = fromRight ? std::numbers::pi - rim : rim;
    const double to = fromRight ? rim : std::numbers::pi - rim;
    std::vector<GePoint3d> inner;
    if (circle.legs)
        inner.emplace_back(r * std::cos(from), 0.0, 0.0);
    for (int k = 0; k < kArcSamples; ++k) {
        const double a = from + (to - from) * k / (kArcSamples - 1);
        inner.emplace_back(r * std::cos(a), 0.0, circle.centreZ + r * std::sin(a));
    }
    if (circle.legs)
        inner.emplace_back(r * std::cos(to), 0.0, 0.0);
    // Exactly on the section line, where the arc meets it or the legs stand.
    inner.front().z = 0.0;
    inner.back().z = 0.0;
    return inner;
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
    do {
        if (!AskDistantPoint(kRidgeEndPrompt, m_sectionEnd, m_ridgeEnd))
            return 0;
    } while (!MakesARidge(m_sectionStart, m_sectionEnd, m_ridgeEnd));
    m_sectionEnd.z = m_ridgeEnd.z = m_sectionStart.z;
    // An arch needs a rise that spans an arc: none would put the arc's three points on one line,
    // a negative one would hang it below the section, and one too small for the arc to be
    // found leaves the extrusion without a mesh.
    const double halfSpan = m_sectionStart.DistanceTo(m_sectionEnd) / 2.0;
    do {
        if (dec::GetReal(kRisePrompt, &m_rise, halfSpan, 0) != dex::eOk)
            return 0;
    } while (!(m_rise > 0.0) || !SpansAnArc(halfSpan, m_rise));
    // A slab that reaches the section line or the arch's centre is asked again.
    do {
        if (dec::GetReal(kThicknessPrompt, &m_thickness, g_archedRoofThickness, 0) != dex::eOk)
            return 0;
    } while (!std::isfinite(m_thickness) || !SlabFits(halfSpan, m_rise, m_thickness));
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
    m_profile = OuterArc(h, m_rise);
    if (!HasSlab() || m_profile.empty())
        return;
    const std::vector<GePoint3d> inner = InnerArc(m_profile, CircleOf(h, m_rise), m_thickness);
    m_profile.insert(m_profile.end(), inner.begin(), inner.end());
}

bool CArchedRoof::IsFiniteInDrawing(const GeVector3d& extrusion) const
{
    // An arc through points this far apart samples to nothing.
    if (m_profile.size() < 2)
        return false;
    const GeMatrix3d toDrawing = m_frame.Inverse();
    for (const GePoint3d& p : m_profile)
        if (!IsFinite(toDrawing * p) || !IsFinite(toDrawing * (p + extrusion)))
            return false;
    return true;
}

void CArchedRoof::Create()
{
    const double length = m_sectionEnd.DistanceTo(m_ridgeEnd);
    GeVector3d extrusion = GeVector3d::kYAxis * length;
    // Towards the ridge end's side of the section.
    if (GetPtsSignedArea({m_sectionStart, m_sectionEnd, m_ridgeEnd}) < 0.0)
        extrusion = -extrusion;
    // Faces outward: the profile (an open arc taken with its chord) turns about the
    // extrusion by the right hand, so the end moved by the extrusion faces along it.
    GeVector3d turning;
    if (GeUtility::GetPolygonNormal(static_cast<int>(m_profile.size()), m_profile.data(), turning) &&
        turning.DotProduct(extrusion) < 0.0)
        std::reverse(m_profile.begin(), m_profile.end());
    // Points typed too far out give a roof whose numbers overflow, or no arc: nothing is made.
    if (!IsFiniteInDrawing(extrusion)) {
        dec::PrintPrompt(kNotCreated);
        return;
    }
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
