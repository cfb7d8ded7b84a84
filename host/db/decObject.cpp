#include "decObject.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "DbDatabase.h"
#include "EventLog.h"
#include "HostFault.h"

namespace host {

ClassRegistry& ClassRegistry::Instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::Register(decObjectClassInfo* info)
{
    if (!info || !info->className) return;
    for (decObjectClassInfo* known : m_classes) {
        if (known == info) return;
        if (std::strcmp(known->className, info->className) == 0) {
            EventLog::Instance().Call(std::string("fault class registered twice: ") + info->className);
            return;
        }
    }
    m_classes.push_back(info);
}

const decObjectClassInfo* ClassRegistry::Find(std::string_view className) const
{
    for (const decObjectClassInfo* info : m_classes)
        if (className == info->className) return info;
    return nullptr;
}

void ClassRegistry::Unregister(std::string_view className)
{
    std::erase_if(m_classes, [className](const decObjectClassInfo* info) { return className == info->className; });
}

bool ClassDerivesFrom(const decObjectClassInfo* info, const decObjectClassInfo* base)
{
    if (!base) return false;
    for (const decObjectClassInfo* c = info; c; c = c->parent)
        if (c == base) return true;
    return false;
}

}  // namespace host

decObject::~decObject() = default;

decObjectClassInfo* decObject::Desc()
{
    static decObjectClassInfo info{"decObject", "对象", "host", 1, nullptr, nullptr, sizeof(decObject), {}};
    return &info;
}

bool decObject::IsKindOf(const decObjectClassInfo* info) const
{
    return host::ClassDerivesFrom(IsA(), info);
}

void decObject::RegisterClassA(decObjectClassInfo* info)
{
    host::ClassRegistry::Instance().Register(info);
}

void* decObject::operator new(std::size_t size)
{
    return ::operator new(size);
}

void decObject::operator delete(void* p) noexcept
{
    ::operator delete(p);
}

int decObject::IsOpenForWrite() const
{
    return std::find(m_openStack.begin(), m_openStack.end(), true) != m_openStack.end() ? 1 : 0;
}

int decObject::OpenForRead()
{
    m_openStack.push_back(false);
    return -2;
}

int decObject::OpenForWrite()
{
    if (m_erased) return 0;
    m_openStack.push_back(true);
    return -2;
}

long decObject::Close()
{
    if (m_openStack.empty()) {
        host::ReportFault("Close without an open");
        return 0;
    }
    const bool wasWrite = m_openStack.back();
    m_openStack.pop_back();
    if (wasWrite && !IsOpenForWrite() && m_modified) {
        m_modified = false;
        if (DbDatabase* db = GetDatabase()) db->NotifyObjectModified(this);
    }
    return -2;
}

void decObject::AssertWriteEnabled(int a, int b, int c, int d)
{
    host::EventLog::Instance().Call("AssertWriteEnabled " + std::to_string(a) + " " + std::to_string(b) + " " +
                                    std::to_string(c) + " " + std::to_string(d) + " " + IsA()->className);
    if (IsStored() && !IsOpenForWrite() && !IsWriteEnabledByOwner()) {
        std::string what = "object ";
        what += IsA()->className;
        what += " changed while not open for write";
        host::ReportFault(what);
    }
    m_modified = true;
    OnModified();
}

int decObject::Erase()
{
    if (!IsStored() || !IsOpenForWrite()) {
        host::ReportFault(std::string("Erase of ") + IsA()->className + " that is not open for write in a drawing");
        return 0;
    }
    m_erased = true;
    m_modified = true;
    host::EventLog::Instance().Call("erase " + std::to_string(GetObjectId().Handle()));
    if (DbDatabase* db = GetDatabase()) db->DropFromGroups(GetObjectId());
    return -2;
}

void decObject::SetHide(int hide, int a, int b)
{
    host::EventLog::Instance().Call("SetHide " + std::to_string(hide) + " " + std::to_string(a) + " " + std::to_string(b));
    m_hidden = hide != 0;
}

void decObject::AppendAppXData(decObjectXDataApp* app)
{
    if (!app) return;
    m_xdata.emplace_back(app);
    m_modified = true;
}

decObjectXDataApp* decObject::FindAppXDataByName(const char* appName) const
{
    if (!appName) return nullptr;
    for (const auto& app : m_xdata)
        if (std::strcmp(app->GetAppName(), appName) == 0) return app.get();
    return nullptr;
}

void decObject::RemoveAppXData(const char* appName)
{
    if (!appName) return;
    if (std::erase_if(m_xdata, [appName](const auto& app) { return std::strcmp(app->GetAppName(), appName) == 0; }) > 0)
        m_modified = true;
}

void decObject::RemoveAppXData(decObjectXDataApp* app)
{
    if (std::erase_if(m_xdata, [app](const auto& held) { return held.get() == app; }) > 0) m_modified = true;
}
