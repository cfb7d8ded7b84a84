#include "DimBuildElevationDlg.h"

void CDimBuildElevationDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Radio(dx, kTopRadio, m_nStyle);
}

BOOL CDimBuildElevationDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}
