#pragma once
// Lists the host hands out: entity pointers (every enumeration and selection result),
// picked sub-object indices, other objects.
#include <cstddef>
#include <vector>

class decDbEntity;
class decObject;

// The host's list of entities: a vector of entity pointers (constructible with a size,
// assignable, swappable, sortable).
class EntityArray : public std::vector<decDbEntity*> {
public:
    using std::vector<decDbEntity*>::vector;
    explicit EntityArray(int size) : std::vector<decDbEntity*>(size > 0 ? static_cast<std::size_t>(size) : 0) {}

    int GetSize() const { return static_cast<int>(size()); }
    int GetCount() const { return GetSize(); }
    void Add(decDbEntity* entity) { push_back(entity); }
    void RemoveAll() { clear(); }
};

// Objects a builder refers to (copy and purge keep them together).
using decObjectArray = std::vector<decObject*>;

// A set of small non-negative indices (sub-objects: polygon i of an entity).
class BitArray {
public:
    bool IsSet(int i) const { return i >= 0 && static_cast<std::size_t>(i) < m_bits.size() && m_bits[static_cast<std::size_t>(i)]; }
    void Set(int i, bool on = true)
    {
        if (i < 0) return;
        if (static_cast<std::size_t>(i) >= m_bits.size()) m_bits.resize(static_cast<std::size_t>(i) + 1, false);
        m_bits[static_cast<std::size_t>(i)] = on;
    }
    void Clear() { m_bits.clear(); }
    bool IsEmpty() const
    {
        for (bool b : m_bits) if (b) return false;
        return true;
    }
    int Count() const
    {
        int n = 0;
        for (bool b : m_bits) n += b ? 1 : 0;
        return n;
    }

private:
    std::vector<bool> m_bits;
};
