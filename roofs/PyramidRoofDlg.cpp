// CPyramidRoofDlg: the exchange with the controls, OK, and the roof's geometry and entities.
#include "PyramidRoofDlg.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "CheckedNumbers.h"
#include "DbDatabase.h"
#include "OutlineCleanup.h"
#include "PyramidRoofDlgTemplate.h"
#include "RoofMeshEntities.h"
#include "TypedNumbers.h"
#include "WorkingDrawing.h"

PyramidRoofDefaults g_pyramidRoofDefaults;

namespace {

constexpr const char* kCaption = "攒尖屋顶";
constexpr const char* kNoEavePoint = "无法计算出檐点，请检查锥顶标高和出檐长！";
constexpr UINT kMaxOverhang = 10000;
constexpr UINT kMaxThickness = 10000;
// A remembered slab opens no thicker than this.
constexpr UINT kMaxOpeningThickness = 50;
// Thicker than this makes slabs rather than faces.
constexpr UINT kMaxFaceThickness = 1;
constexpr double kRayTol = 0.001;

// Twice the signed plan area of the triangle (a, b, c): positive when it turns
// counter-clockwise.
double PlanTurn(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Every triangle from the apex to an eave edge turns the way the outline does: the apex sees
// every edge, and the triangles cover the eave outline once. On a concave outline whose notch
// hides an edge from the vertex mean, that edge's triangle turns back over its neighbours' and
// the roof folds.
bool ApexSeesEveryEdge(const GePoint3d& apex, const std::vector<GePoint3d>& eave, double orientation)
{
    const std::size_t n = eave.size();
    for (std::size_t i = 0; i < n; ++i)
        if (!(PlanTurn(apex, eave[i], eave[(i + 1) % n]) * orientation > 0.0))
            return false;
    return true;
}

}  // namespace

CPyramidRoofDlg::CPyramidRoofDlg(CWnd* parent)
    : CDialog(IDD_PYRAMID_ROOF, parent), m_apexElevation(g_pyramidRoofDefaults.apexHeight), m_wallTop(0),
      m_overhang(g_pyramidRoofDefaults.overhang),
      m_thickness(std::min(g_pyramidRoofDefaults.thickness, kMaxOpeningThickness))
{
}

CPyramidRoofDlg::~CPyramidRoofDlg() = default;

BEGIN_MESSAGE_MAP(CPyramidRoofDlg, CDialog)
    ON_BN_CLICKED(IDOK, &CPyramidRoofDlg::OnBnClickedOk)
END_MESSAGE_MAP()

void CPyramidRoofDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    // The apex is remembered relative to the wall top in an int: an apex whose height above
    // the wall top no int holds is refused with the range message.
    DDX_Text(dx, IDC_PYRAMID_WALL_TOP, m_wallTop);
    DDX_Text(dx, IDC_PYRAMID_APEX, m_apexElevation);
    const IntRange apexes = IntsOverBase(m_wallTop);
    DDV_MinMaxInt(dx, m_apexElevation, apexes.low, apexes.high);
    DDX_Text(dx, IDC_PYRAMID_OVERHANG, m_overhang);
    DDV_MinMaxUInt(dx, m_overhang, 0, kMaxOverhang);
    DDX_Text(dx, IDC_PYRAMID_THICKNESS, m_thickness);
    DDV_MinMaxUInt(dx, m_thickness, 0, kMaxThickness);
}

BOOL CPyramidRoofDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The remembered height over a far base opens held at the int's range.
    const int base = m_baseOutline.empty() ? 0 : TruncToInt(m_baseOutline.front().z);
    m_apexElevation = ClampToInt(static_cast<long long>(m_apexElevation) + base);
    m_wallTop = base;
    UpdateData(FALSE);
    return TRUE;
}

void CPyramidRoofDlg::OnBnClickedOk()
{
    if (!UpdateData(TRUE) || !CreateRoof())
        return;
    CDialog::OnOK();
}

bool CPyramidRoofDlg::CreateRoof()
{
    ComputeApex();
    OffsetOutline();
    if (!ComputeEavePoints() || !ApexSeesEveryEdge(m_apex, m_eavePoints, GetPtsSignedArea(m_baseOutline))) {
        MessageBox(kNoEavePoint, kCaption, MB_OK);
        return false;
    }
    const std::optional<int> apexHeight = StoredAs<int>(static_cast<long long>(m_apexElevation) - m_wallTop);
    g_pyramidRoofDefaults = {apexHeight.value_or(g_pyramidRoofDefaults.apexHeight), m_overhang, m_thickness};
    CreateRoofEntities();
    return true;
}

void CPyramidRoofDlg::ComputeApex()
{
    double x = 0.0, y = 0.0;
    for (const GePoint3d& p : m_baseOutline) {
        x += p.x;
        y += p.y;
    }
    const double n = static_cast<double>(std::max<std::size_t>(m_baseOutline.size(), 1));
    m_apex = GePoint3d(x / n, y / n, m_apexElevation);
}

void CPyramidRoofDlg::OffsetOutline()
{
    m_grownOutline = m_baseOutline;
    if (m_overhang != 0)
        OffsetBorderPts(m_grownOutline, -static_cast<double>(m_overhang));
}

bool CPyramidRoofDlg::ComputeEavePoints()
{
    if (m_overhang == 0) {
        m_eavePoints = m_baseOutline;
        return true;
    }
    const std::size_t n = m_baseOutline.size();
    m_eavePoints.assign(n, GePoint3d());
    for (std::size_t i = 0; i < n; ++i) {
        GePlane face;
        if (!face.Set(m_apex, m_baseOutline[i], m_baseOutline[(i + 1) % n]))
            return false;
        if (!face.IntersectWith(GeRay3d(m_grownOutline[i], -GeVector3d::kZAxis), m_eavePoints[i], kRayTol))
            return false;
    }
    return true;
}

void CPyramidRoofDlg::CreateRoofEntities()
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const long material = RoofMaterial(db);
    const long layer = SlopedRoofLayer(db);
    const std::size_t n = m_eavePoints.size();
    decObjectIdArray ids;
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3dArray triangle = {m_apex, m_eavePoints[i], m_eavePoints[(i + 1) % n]};
        if (m_thickness <= kMaxFaceThickness)
            ids.push_back(CreateFaceEntity(db, triangle, layer, material));
        else
            CreateSlabEntity(db, triangle, m_thickness, layer, material, ids);
    }
    // A piece the host made no mesh of has no entity to group.
    std::erase_if(ids, [](const decObjectId& id) { return id.IsNull(); });
    if (!ids.empty())
        db->MakeGroup(ids, 0);
    db->Close();
}
