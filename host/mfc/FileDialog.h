#pragma once
// CFileDialog: the file chooser. Headless, it takes the next script line as the chosen path;
// "*cancel*", or no line left, cancels. An empty line is refused and the next one read.
#include "CString.h"
#include "Dialog.h"

constexpr DWORD OFN_READONLY = 0x1;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;
constexpr DWORD OFN_HIDEREADONLY = 0x4;
constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;

struct OPENFILENAME {
    DWORD Flags = 0;
    const char* lpstrFilter = nullptr;
    const char* lpstrDefExt = nullptr;
    const char* lpstrFile = nullptr;
    const char* lpstrTitle = nullptr;
};

class CFileDialog : public CDialog {
public:
    explicit CFileDialog(BOOL openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                         CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);

    INT_PTR DoModal() override;

    CString GetPathName() const { return m_path; }
    // The last part of the path, and what follows its last dot.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    OPENFILENAME m_ofn;

private:
    BOOL m_open;
    CString m_defaultExt, m_filter, m_path;
};
