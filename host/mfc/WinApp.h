#pragma once
// The application object of the module, the module-state guard, resources and the
// framework's message box.
#include "MessageMap.h"
#include "WinTypes.h"

// The module's state: which resources a dialog's template comes from. The host keeps one set of
// resources, so the state only counts how deeply it is selected.
struct AFX_MODULE_STATE {
    int depth = 0;
};

AFX_MODULE_STATE* AfxGetStaticModuleState();

// Selects the module's state for the lifetime of the guard.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_state;
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

class CWinApp : public CCmdTarget {
public:
    // An application without a name takes the name of the module file it lives in.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    HICON LoadIcon(UINT id) const;

    const char* m_pszAppName = nullptr;

private:
    char m_name[64] = {};
};

CWinApp* AfxGetApp();
// The application's name: the caption of the framework's message boxes.
const char* AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();

// The framework's message box, under the application's name.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Resources by id: a handle names the resource (no pixels); null when the module has no such
// bitmap or icon.
#define MAKEINTRESOURCE(id) (reinterpret_cast<const char*>(static_cast<std::uintptr_t>(static_cast<WORD>(id))))
HBITMAP LoadBitmap(HINSTANCE instance, const char* name);
HICON LoadIcon(HINSTANCE instance, const char* name);
// The resource id a bitmap or icon handle stands for (0 for null).
int ResourceIdOf(const void* handle);
