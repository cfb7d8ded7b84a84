#include "FileDialog.h"

#include <string>

#include "EventLog.h"
#include "ScriptedUser.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent, DWORD /*size*/, BOOL /*vistaStyle*/)
    : CDialog(0, parent), m_open(openFileDialog), m_defaultExt(defaultExt), m_filter(filter), m_path(fileName)
{
    m_ofn.Flags = flags;
    m_ofn.lpstrFilter = m_filter;
    m_ofn.lpstrDefExt = m_defaultExt;
    m_ofn.lpstrFile = m_path;
}

INT_PTR CFileDialog::DoModal()
{
    host::EventLog& log = host::EventLog::Instance();
    const std::string title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : (m_open ? "打开" : "另存为");
    log.Call("CFileDialog flags=" + std::to_string(m_ofn.Flags) + " filter=" + m_filter.str());
    log.Show("file dialog \"" + title + "\" (" + m_filter.str() + ")");
    host::ScriptedUser& user = host::ScriptedUser::Instance();
    while (auto line = user.Next()) {
        if (line->text == "*cancel*") break;
        if (line->text.empty()) {
            user.Refuse(*line, "the file dialog takes a path or *cancel*, not an empty line");
            continue;
        }
        m_path = CString(line->text);
        m_ofn.lpstrFile = m_path;
        log.Show("file dialog closed: IDOK");
        return IDOK;
    }
    log.Show("file dialog closed: IDCANCEL");
    return IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    return m_path.Mid(m_path.ReverseFind('/') + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}
