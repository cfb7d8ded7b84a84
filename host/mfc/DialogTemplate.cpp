#include "DialogTemplate.h"

#include <algorithm>
#include <set>

namespace host::mfc {

namespace {

template <class T>
const T* FindById(const std::vector<T>& list, int id)
{
    const auto it = std::find_if(list.begin(), list.end(), [id](const T& e) { return e.id == id; });
    return it == list.end() ? nullptr : &*it;
}

template <class T>
void AddOrReplace(std::vector<T>& list, T entry)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const T& e) { return e.id == entry.id; });
    if (it == list.end())
        list.push_back(std::move(entry));
    else
        *it = std::move(entry);
}

}  // namespace

const char* ControlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static: return "static text";
    case ControlKind::Picture: return "picture";
    case ControlKind::Edit: return "edit";
    case ControlKind::Button: return "button";
    case ControlKind::CheckBox: return "check box";
    case ControlKind::Radio: return "radio button";
    case ControlKind::ComboBox: return "combo box";
    case ControlKind::ListBox: return "list box";
    case ControlKind::Spin: return "spin control";
    }
    return "control";
}

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    return FindById(controls, controlId);
}

ResourceRegistry& ResourceRegistry::Instance()
{
    static ResourceRegistry registry;
    return registry;
}

bool ResourceRegistry::AddDialog(DialogTemplate dialog)
{
    if (dialog.id == 0) return false;
    std::set<int> ids;
    for (const ControlTemplate& c : dialog.controls)
        if (c.id != kStaticId && !ids.insert(c.id).second) return false;
    AddOrReplace(m_dialogs, std::move(dialog));
    return true;
}

const DialogTemplate* ResourceRegistry::FindDialog(int id) const
{
    return FindById(m_dialogs, id);
}

void ResourceRegistry::AddBitmap(ImageResource bitmap)
{
    AddOrReplace(m_bitmaps, std::move(bitmap));
}

const ImageResource* ResourceRegistry::FindBitmap(int id) const
{
    return FindById(m_bitmaps, id);
}

void ResourceRegistry::AddIcon(ImageResource icon)
{
    AddOrReplace(m_icons, std::move(icon));
}

const ImageResource* ResourceRegistry::FindIcon(int id) const
{
    return FindById(m_icons, id);
}

void ResourceRegistry::Clear()
{
    m_dialogs.clear();
    m_bitmaps.clear();
    m_icons.clear();
}

}  // namespace host::mfc
