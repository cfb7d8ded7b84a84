#pragma once
// Object identifiers: stable numbers handed out by the drawing database (from 1, in
// creation order) and kept unchanged through save and load. The null id (0) is "unset".
#include <cstdint>
#include <vector>

class decObject;
class SerializeFilter;

class decObjectId {
public:
    decObjectId() = default;
    explicit decObjectId(std::uint64_t handle) : m_handle(handle) {}

    std::uint64_t Handle() const { return m_handle; }
    bool IsNull() const { return m_handle == 0; }
    void SetNull() { m_handle = 0; }

    // The object in the working database: null for an unset or unknown id. An erased object
    // is still found (decObject::IsErased tells) until the drawing is saved.
    decObject* GetObjectA() const;
    // The object opened for write; null (and nothing opened) for an unset, unknown or erased id.
    decObject* OpenForWrite() const;

    // Stored as an unsigned 64-bit number.
    void Serialize(SerializeFilter& filter);

    friend bool operator==(const decObjectId&, const decObjectId&) = default;
    friend auto operator<=>(const decObjectId&, const decObjectId&) = default;

private:
    std::uint64_t m_handle = 0;
};

// A growable list of identifiers (group members, legacy window lists).
class decObjectIdArray : public std::vector<decObjectId> {
public:
    using std::vector<decObjectId>::vector;

    int GetSize() const { return static_cast<int>(size()); }
    int GetCount() const { return GetSize(); }
    int Add(const decObjectId& id) { push_back(id); return GetSize() - 1; }
    void RemoveAll() { clear(); }
    decObjectId GetAt(int i) const { return at(static_cast<std::size_t>(i)); }

    // Stored as a uint32 count followed by the ids.
    void Serialize(SerializeFilter& filter);
};
