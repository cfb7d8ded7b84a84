#pragma once
// Class records: one per object class, built once by the class's static Desc(). The host
// keeps a registry of them by persistent class name so that a drawing file can make an
// object of the class it names.
#include <cstddef>
#include <string_view>
#include <vector>

class decObject;

struct decObjectClassInfo {
    const char* className = nullptr;      // persistent name ("QC" + class for module classes)
    const char* displayName = nullptr;    // shown to the user
    const char* groupName = nullptr;      // "comn" for every module class
    unsigned version = 0;                 // written to drawing files; GetClassVersion reports it
    const decObjectClassInfo* parent = nullptr;  // base class's record; null for decObject
    decObject* (*factory)() = nullptr;    // makes an empty object for loading; null: abstract
    std::size_t objectSize = 0;
    std::size_t reserved[4] = {};
};

namespace host {

// The registry of classes, usable during static initialisation (it lives in a function-local
// static). Registering the same record twice keeps one entry; a second record under a name
// already taken replaces nothing and is reported.
class ClassRegistry {
public:
    static ClassRegistry& Instance();

    void Register(decObjectClassInfo* info);
    const decObjectClassInfo* Find(std::string_view className) const;
    // Removes a class (a module that unloads takes its classes along); objects of it read
    // later are kept as opaque records.
    void Unregister(std::string_view className);
    const std::vector<decObjectClassInfo*>& All() const { return m_classes; }

private:
    std::vector<decObjectClassInfo*> m_classes;
};

// Whether info is base or derives from it.
bool ClassDerivesFrom(const decObjectClassInfo* info, const decObjectClassInfo* base);

}  // namespace host

// Declares the record, the kind queries and the factory of a host class.
#define DEC_DECLARE_CLASS(Name)                                                        \
public:                                                                                \
    static decObjectClassInfo* Desc();                                                 \
    decObjectClassInfo* GetClassInfoA() const override { return Name::Desc(); }        \
    decObjectClassInfo* IsA() const override { return Name::Desc(); }                  \
    static Name* Cast(const decObject* object)                                         \
    {                                                                                  \
        return (object && object->IsKindOf(Name::Desc()))                              \
                   ? static_cast<Name*>(const_cast<decObject*>(object)) : nullptr;     \
    }                                                                                  \
    static decObject* CreateNewObject();

// Defines what DEC_DECLARE_CLASS declared for a class that can be made from a file.
#define DEC_IMPLEMENT_CLASS(Name, Parent, Display, Version)                           \
    decObject* Name::CreateNewObject() { return new Name(); }                         \
    decObjectClassInfo* Name::Desc()                                                   \
    {                                                                                  \
        static decObjectClassInfo info{#Name, Display, "host", Version, Parent::Desc(),\
                                       &Name::CreateNewObject, sizeof(Name), {}};      \
        return &info;                                                                  \
    }

// The same for a class that is never made on its own (no factory).
#define DEC_IMPLEMENT_ABSTRACT_CLASS(Name, Parent, Display)                           \
    decObject* Name::CreateNewObject() { return nullptr; }                            \
    decObjectClassInfo* Name::Desc()                                                   \
    {                                                                                  \
        static decObjectClassInfo info{#Name, Display, "host", 1, Parent::Desc(),     \
                                       nullptr, sizeof(Name), {}};                     \
        return &info;                                                                  \
    }
