#pragma once
// The root of every host and module object: class records and kind tests, allocation, the
// open/close protocol, write checks, erasing, hiding and extended data.
#include <cstddef>
#include <memory>
#include <vector>

#include "EntityArray.h"
#include "decObjectClassInfo.h"
#include "decObjectId.h"
#include "decObjectXData.h"

class DbDatabase;

// Rewrites identifiers a copied object holds (copy and insert give new ids).
class decIdMapper {
public:
    virtual ~decIdMapper() = default;
    virtual void MapId(decObjectId& id) = 0;
};

class decObject {
public:
    decObject() = default;
    decObject(const decObject&) = delete;
    decObject& operator=(const decObject&) = delete;
    virtual ~decObject();

    static decObjectClassInfo* Desc();
    virtual decObjectClassInfo* GetClassInfoA() const { return Desc(); }
    virtual decObjectClassInfo* IsA() const { return Desc(); }
    // True for the class of the record and its descendants.
    bool IsKindOf(const decObjectClassInfo* info) const;
    // Adds a class to the registry the drawing loader makes objects from. Usable from static
    // initialisers.
    static void RegisterClassA(decObjectClassInfo* info);

    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

    // Whether the host may reference the object from others (module builders answer 1).
    virtual int DisableReference() const { return 0; }

    // Open/close protocol. Opens nest; Close closes the most recent open. An erased object
    // cannot be opened for write (0). Results: -2 on success, 0 on failure. Closing the last
    // write open of a changed object tells the drawing's reactors (OnObjectModified).
    int OpenForRead();
    int OpenForWrite();
    long Close();
    int IsOpenForRead() const { return m_openStack.empty() ? 0 : 1; }
    int IsOpenForWrite() const;

    // Called by an object before one of its fields changes: marks it modified (so its mesh
    // is made again) and reports a fault when it is stored in a drawing and not open for
    // write. The four flags are the host's and recorded only.
    void AssertWriteEnabled(int a = 1, int b = 1, int c = 1, int d = 0);
    void AssertReadEnabled() const {}

    // Erases an object of the drawing that is open for write: it stays addressable and
    // recognisable (IsErased) until the drawing is saved. -2 done, 0 refused. A builder
    // erases its entity.
    virtual int Erase();
    int IsErased() const { return m_erased ? 1 : 0; }

    void SetHide(int hide, int a = 1, int b = 0);
    int IsHidden() const { return m_hidden ? 1 : 0; }

    // The object's drawing and identifier; a builder answers its entity's.
    virtual DbDatabase* GetDatabase() const { return m_database; }
    virtual decObjectId GetObjectId() const { return m_id; }
    // The entities built from this object (a builder's entity); empty for others.
    virtual decObjectIdArray GetOutputObjs() const { return {}; }

    // Copy support: rewrite held identifiers; list objects referred to.
    virtual void OnMapObjectIds(decIdMapper&) {}
    virtual void GetLinkObjects(decObjectArray&) const {}

    // Extended data. AppendAppXData takes ownership and keeps records of the same name
    // (FindAppXDataByName gives the first). Adding or removing a record changes the object:
    // closing its last write open tells the reactors, as for a change of a field.
    void AppendAppXData(decObjectXDataApp* app);
    decObjectXDataApp* FindAppXDataByName(const char* appName) const;
    void RemoveAppXData(const char* appName);
    void RemoveAppXData(decObjectXDataApp* app);
    const std::vector<std::unique_ptr<decObjectXDataApp>>& XDataApps() const { return m_xdata; }

    bool IsModified() const { return m_modified; }
    void ClearModified() { m_modified = false; }

protected:
    // Whether the object is stored in a drawing (write checks apply).
    virtual bool IsStored() const { return m_database != nullptr; }
    // The object changed without a field of its own changing (its builder changed while it is
    // open for write): the reactors are told when its last write open closes.
    void MarkModified() { m_modified = true; }
    // Hook for classes that keep derived data (meshes) fresh.
    virtual void OnModified() {}
    // Write access granted through another object (a builder through its entity).
    virtual bool IsWriteEnabledByOwner() const { return false; }

private:
    friend class DbDatabase;
    void AttachToDatabase(DbDatabase* database, decObjectId id) { m_database = database; m_id = id; }

    DbDatabase* m_database = nullptr;
    decObjectId m_id;
    std::vector<bool> m_openStack;  // true for a write open, most recent last
    bool m_erased = false;
    bool m_hidden = false;
    bool m_modified = false;
    std::vector<std::unique_ptr<decObjectXDataApp>> m_xdata;
};

// Null for null; the pointer when the object is of T's class or a descendant.
template <class T>
T* decCast(const decObject* object)
{
    return (object && object->IsKindOf(T::Desc())) ? static_cast<T*>(const_cast<decObject*>(object)) : nullptr;
}
