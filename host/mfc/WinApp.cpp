#include "WinApp.h"

#include <dlfcn.h>

#include <string>

#include "DialogTemplate.h"
#include "EventLog.h"
#include "Utf8Text.h"

namespace {

CWinApp* g_app = nullptr;

// The base name of the file the address lives in, without a "lib" prefix and extension.
std::string ModuleNameOf(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return "quenra3d";
    std::string name = info.dli_fname;
    if (const auto slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (name.rfind("lib", 0) == 0) name.erase(0, 3);
    if (const auto dot = name.find('.'); dot != std::string::npos) name.erase(dot);
    return name.empty() ? "quenra3d" : name;
}

std::uintptr_t IdOfName(const char* name)
{
    return reinterpret_cast<std::uintptr_t>(name);
}

template <class Handle>
Handle HandleOf(int id)
{
    return reinterpret_cast<Handle>(static_cast<std::intptr_t>(id));
}

}  // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState()
{
    static AFX_MODULE_STATE state;
    return &state;
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : m_state(state)
{
    if (m_state) ++m_state->depth;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2()
{
    if (m_state) --m_state->depth;
}

CWinApp::CWinApp(const char* appName)
{
    const std::string name = appName ? appName : ModuleNameOf(this);
    zo_strncpy(m_name, name.c_str(), static_cast<int>(sizeof m_name) - 1);
    m_pszAppName = m_name;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return ::LoadIcon(nullptr, MAKEINTRESOURCE(id));
}

CWinApp* AfxGetApp()
{
    return g_app;
}

const char* AfxGetAppName()
{
    return g_app ? g_app->m_pszAppName : "quenra3d";
}

HINSTANCE AfxGetInstanceHandle()
{
    return nullptr;
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/)
{
    return MessageBoxA(nullptr, text, AfxGetAppName(), type);
}

HBITMAP LoadBitmap(HINSTANCE /*instance*/, const char* name)
{
    const auto id = static_cast<int>(IdOfName(name));
    const bool known = IdOfName(name) <= 0xFFFF && host::mfc::ResourceRegistry::Instance().FindBitmap(id);
    host::EventLog::Instance().Call("LoadBitmap " + std::to_string(id) + (known ? "" : " (missing)"));
    return known ? HandleOf<HBITMAP>(id) : nullptr;
}

HICON LoadIcon(HINSTANCE /*instance*/, const char* name)
{
    const auto id = static_cast<int>(IdOfName(name));
    const bool known = IdOfName(name) <= 0xFFFF && host::mfc::ResourceRegistry::Instance().FindIcon(id);
    host::EventLog::Instance().Call("LoadIcon " + std::to_string(id) + (known ? "" : " (missing)"));
    return known ? HandleOf<HICON>(id) : nullptr;
}

int ResourceIdOf(const void* handle)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle));
}
