#include "BalconyDlg.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "BalconyDlgTemplate.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "HostSolids.h"
#include "Input.h"
#include "MainFrame.h"
#include "ModelHelperLayersMaterials.h"
#include "Tools.h"
#include "TypedNumbers.h"
#include "View.h"

BalconyDefaults g_balconyDefaults;

namespace {

constexpr const char* kWarningCaption = "警告";
constexpr const char* kSlabMessage = "阳台底板厚度必须大于0!";
constexpr const char* kParapetHeightMessage = "栏板高度必须大于0!";
constexpr const char* kParapetThicknessMessage = "栏板厚度必须大于0!";
constexpr const char* kLayerName = "阳台";
constexpr std::uint32_t kLayerColour = 0xa000;
constexpr const char* kMaterialName = "阳台";
constexpr unsigned long kMaterialColour = 0xc9ffbf;
constexpr unsigned long kFaceColour = 0xffff;
constexpr UINT kMostStoreys = 200;
// Point input of the length picks (the host's flag word).
constexpr std::uint32_t kPickFlags = 57825;
// The loft's section code and its half turn (the host's single-precision π), which stands
// the parapet on the left of its run, over the slab.
constexpr int kSectionCode = 1001;
constexpr double kLeftOfPath = 3.1415927;

// Whether face f has one flag per edge: the faces the dialog works on.
bool HasFlagPerEdge(const CBalconyDlg& dlg, std::size_t f)
{
    return f < dlg.m_edgeFlags.size() && dlg.m_edgeFlags[f].size() == dlg.m_faces[f].size();
}

void AddSolid(DbDatabase* db, long layer, long material, std::unique_ptr<decBuilder> solid, decObjectIdArray& ids)
{
    decObjectId id;
    if (db->CreateNewEntity(layer, solid.get(), GeMatrix3d(), id, material) != dex::eOk)
        return;
    solid.release();
    ids.push_back(id);
}

std::unique_ptr<decBuilder> Slab(const GePoint3dArray& face, double thickness)
{
    auto slab = std::make_unique<decDbExtrude>();
    slab->SetData(static_cast<int>(face.size()), face.data(), 1, GeVector3d(0, 0, thickness));
    return slab;
}

// The parapet's section stands at the run's first point: its four corners, taken in reverse
// order, thickness across and height up.
std::unique_ptr<decBuilder> Parapet(const GePoint3dArray& run, double height, double thickness)
{
    const GePoint3d& p = run.front();
    const fdata section{{p + GeVector3d(thickness, 0, 0), p + GeVector3d(thickness, height, 0),
                         p + GeVector3d(0, height, 0), p},
                        kSectionCode};
    auto parapet = std::make_unique<decDbLoft>();
    parapet->SetData({section}, run, kSectionCode, static_cast<int>(run.size()));
    parapet->setState(0, 0, kLeftOfPath);
    return parapet;
}

}  // namespace

CBalconyDlg::CBalconyDlg(CWnd* parent)
    : CDialog(IDD_BALCONY, parent), m_nStoreys(g_balconyDefaults.storeys),
      m_nStoreyHeight(g_balconyDefaults.storeyHeight), m_nBottomLevel(g_balconyDefaults.bottomLevel),
      m_nParapetHeight(g_balconyDefaults.parapetHeight), m_nParapetThickness(g_balconyDefaults.parapetThickness),
      m_nSlabThickness(g_balconyDefaults.slabThickness)
{
}

BEGIN_MESSAGE_MAP(CBalconyDlg, CDialog)
    ON_EN_CHANGE(IDC_BALCONY_SLAB, &CBalconyDlg::OnEnChangeSlabThickness)
    ON_EN_CHANGE(IDC_BALCONY_PARAPET_HEIGHT, &CBalconyDlg::OnEnChangeParapetHeight)
    ON_EN_CHANGE(IDC_BALCONY_PARAPET_THICKNESS, &CBalconyDlg::OnEnChangeParapetThickness)
    ON_BN_CLICKED(IDC_BALCONY_PICK_SLAB, &CBalconyDlg::OnBnClickedPickSlabThickness)
    ON_BN_CLICKED(IDC_BALCONY_PICK_PARAPET_HEIGHT, &CBalconyDlg::OnBnClickedPickParapetHeight)
    ON_BN_CLICKED(IDC_BALCONY_PICK_PARAPET_THICKNESS, &CBalconyDlg::OnBnClickedPickParapetThickness)
END_MESSAGE_MAP()

void CBalconyDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BALCONY_STOREYS_SPIN, m_spinStoreys);
    DDX_Control(dx, IDC_BALCONY_STOREY_HEIGHT, m_comboStoreyHeight);
    DDX_Text(dx, IDC_BALCONY_STOREYS, m_nStoreys);
    DDX_Text(dx, IDC_BALCONY_LEVEL, m_nBottomLevel);
    DDX_Text(dx, IDC_BALCONY_SLAB, m_nSlabThickness);
    DDX_Text(dx, IDC_BALCONY_PARAPET_HEIGHT, m_nParapetHeight);
    DDX_Text(dx, IDC_BALCONY_PARAPET_THICKNESS, m_nParapetThickness);
}

BOOL CBalconyDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_spinStoreys.SetRange(1, static_cast<short>(kMostStoreys));
    AlignBalconyOutlineStart(*this);
    if (m_faces.empty())
        return FALSE;
    if (decView* view = dec::GetActiveView())
        view->Refresh();
    for (const GePoint3dArray& face : m_faces)
        CTools::ShowPath(face, 1, 0, 1, kFaceColour, 10);
    UpdateData(FALSE);
    CString text;
    text.Format("%d", m_nStoreyHeight);
    m_comboStoreyHeight.SetWindowText(text);
    return TRUE;
}

void CBalconyDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CString text;
    m_comboStoreyHeight.GetWindowText(text);
    // Read signed: "-3000" is a storey height below 0, not a wrapped-round huge one. Text
    // that is no number is refused as a storey height of 0 is.
    const std::optional<int> storeyHeight = TypedInt(text);
    if (!storeyHeight || *storeyHeight <= 0) {
        GetDlgItem(IDC_BALCONY_STOREY_HEIGHT)->SetFocus();
        return;
    }
    m_nStoreyHeight = *storeyHeight;
    if (m_nStoreys < 1 || m_nStoreys > kMostStoreys) {
        GetDlgItem(IDC_BALCONY_STOREYS)->SetFocus();
        return;
    }
    CreateBalconyEntities(*this);
    g_balconyDefaults = {m_nStoreys,         m_nStoreyHeight,  m_nParapetHeight,
                         m_nParapetThickness, m_nSlabThickness, m_nBottomLevel};
    EndDialog(IDOK);
}

void CBalconyDlg::KeepPositive(int& field, const char* message)
{
    const int old = field;
    if (!UpdateData(TRUE)) {
        field = old;
    } else if (field < 1) {
        MessageBoxA(message, kWarningCaption, MB_ICONEXCLAMATION);
        field = old;
    }
    UpdateData(FALSE);
}

void CBalconyDlg::OnEnChangeSlabThickness() { KeepPositive(m_nSlabThickness, kSlabMessage); }
void CBalconyDlg::OnEnChangeParapetHeight() { KeepPositive(m_nParapetHeight, kParapetHeightMessage); }
void CBalconyDlg::OnEnChangeParapetThickness() { KeepPositive(m_nParapetThickness, kParapetThicknessMessage); }

void CBalconyDlg::PickLength(const char* prompt, int& field, const char* message)
{
    UpdateData(TRUE);
    ShowWindow(SW_HIDE);
    dec::PrintPrompt(prompt);
    GePoint3d first, second;
    bool picked = false;
    {
        ActivateMainFrameWnd active(this);
        picked = dec::GetPoint(nullptr, &first, kPickFlags, 0, 0) == dex::eOk;
    }
    if (picked) {
        ActivateMainFrameWnd active(this);
        picked = dec::GetPoint(&first, &second, kPickFlags, 0, 0) == dex::eOk;
    }
    ShowWindow(SW_SHOW);
    // Points too far apart for a float length count as no pick.
    const std::optional<float> distance = StoredAs<float>(first.DistanceTo(second));
    if (picked && distance) {
        const int length = TruncToInt(*distance);
        if (length > 0)
            field = length;
        else
            MessageBoxA(message, kWarningCaption, MB_ICONEXCLAMATION);
    }
    UpdateData(FALSE);
}

void CBalconyDlg::OnBnClickedPickSlabThickness() { PickLength("点取阳台底板厚度:", m_nSlabThickness, kSlabMessage); }
void CBalconyDlg::OnBnClickedPickParapetHeight()
{
    PickLength("点取栏板高度:", m_nParapetHeight, kParapetHeightMessage);
}
void CBalconyDlg::OnBnClickedPickParapetThickness()
{
    PickLength("点取栏板厚度:", m_nParapetThickness, kParapetThicknessMessage);
}

void AlignBalconyOutlineStart(CBalconyDlg& dlg)
{
    for (std::size_t f = 0; f < dlg.m_faces.size(); ++f) {
        if (!HasFlagPerEdge(dlg, f))
            continue;
        GePoint3dArray& face = dlg.m_faces[f];
        std::vector<int>& flags = dlg.m_edgeFlags[f];
        const std::size_t n = flags.size();
        if (n == 0 || (flags.front() == 1 && flags.back() == 0))
            continue;
        for (std::size_t k = 1; k < n; ++k)
            if (flags[k] == 1 && flags[k - 1] == 0) {
                std::rotate(face.begin(), face.begin() + static_cast<std::ptrdiff_t>(k), face.end());
                std::rotate(flags.begin(), flags.begin() + static_cast<std::ptrdiff_t>(k), flags.end());
                break;
            }
    }
}

void CreateBalconyEntities(CBalconyDlg& dlg)
{
    DbAutoOpen open(1);
    DbDatabase* db = open.db;
    const long layer = CreateBalconyLayer(db);
    CString materialName(kMaterialName);
    const long material = CreateSolidColorMaterial(db, materialName, kMaterialColour, 0.0);
    const double slab = dlg.m_nSlabThickness;
    decObjectIdArray ids;
    for (std::size_t f = 0; f < dlg.m_faces.size(); ++f) {
        if (!HasFlagPerEdge(dlg, f))
            continue;
        GePoint3dArray& face = dlg.m_faces[f];
        const std::vector<int>& flags = dlg.m_edgeFlags[f];
        const std::size_t n = face.size();
        double level = dlg.m_nBottomLevel;
        for (UINT storey = 0; storey < dlg.m_nStoreys; ++storey, level += dlg.m_nStoreyHeight) {
            for (GePoint3d& p : face)
                p.z = level;
            AddSolid(db, layer, material, Slab(face, slab), ids);
            // A parapet along each run of free edges: from the first vertex of the run to the
            // vertex where the next edge on the building starts.
            GePoint3dArray run;
            for (std::size_t j = 0; j < n; ++j) {
                run.push_back(face[j] + GeVector3d(0, 0, slab));
                if (flags[j] == 1)
                    continue;
                if (run.size() >= 2)
                    AddSolid(db, layer, material, Parapet(run, dlg.m_nParapetHeight, dlg.m_nParapetThickness), ids);
                run.clear();
                while (j + 1 < n && flags[j + 1] == 0)
                    ++j;
            }
        }
    }
    if (!ids.empty())
        db->MakeGroup(ids, 0);
}

long CreateBalconyLayer(DbDatabase* db)
{
    return FindOrCreateLayer(db, kLayerName, kLayerColour);
}
