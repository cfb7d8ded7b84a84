#pragma once
// The host's MFC subset in one include.
//
// Writing a dialog of the module:
//   1. Register its template once (before it runs), e.g. from the module's resources:
//        host::mfc::DialogTemplate t{.id = 1115, .caption = "请输入建筑物楼层信息", .controls = {
//            {.id = 1319, .kind = host::mfc::ControlKind::Edit},
//            {.id = 1318, .kind = host::mfc::ControlKind::CheckBox, .text = "绘制楼层分界线"},
//            {.id = 1277, .kind = host::mfc::ControlKind::ComboBox,
//             .style = host::mfc::kDropDown | host::mfc::kSorted, .items = {"2900", "3000", "3300"}},
//            {.id = 1274, .kind = host::mfc::ControlKind::Spin, .buddy = 1154},
//            {.id = IDOK, .kind = host::mfc::ControlKind::Button, .text = "确定"}, ...}};
//        host::mfc::ResourceRegistry::Instance().AddDialog(t);   // also AddBitmap, AddIcon
//      Radio groups start at a control with kGroupStart; the next kGroupStart ends them.
//   2. Derive from CDialog(templateId, parent) as in MFC: override DoDataExchange (DDX_*/DDV_*),
//      OnInitDialog, OnOK, OnCancel; DECLARE_MESSAGE_MAP() in the class and
//        BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//            ON_BN_CLICKED(1317, &CMyDlg::OnBnClickedCalcHeight)
//            ON_EN_CHANGE(...) ON_EN_KILLFOCUS(...) ON_CBN_SELCHANGE(...) ON_CBN_KILLFOCUS(...)
//            ON_WM_VSCROLL() ON_WM_PAINT() ON_WM_SHOWWINDOW()
//        END_MESSAGE_MAP()
//   3. Run it with DoModal() (under AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState())); the
//      scripted user answers it with the lines documented in Dialog.h.
// Controls: GetDlgItem(id) gives a CEdit, CButton, CComboBox, CListBox, CSpinButtonCtrl or
// CStatic by the control's kind; DDX_Control binds a member of that class instead.
// Tests follow a dialog through the transcript (opened/closed lines, message boxes) and the
// host calls it records (EnableWindow, ShowWindow, SetFocus, SetBitmap, SetIcon, ...).
#include "CArray.h"
#include "CString.h"
#include "Controls.h"
#include "DataExchange.h"
#include "DeviceContext.h"
#include "Dialog.h"
#include "DialogTemplate.h"
#include "FileDialog.h"
#include "FontList.h"
#include "MessageMap.h"
#include "StdioFile.h"
#include "WinApp.h"
#include "WinTypes.h"
#include "Wnd.h"
