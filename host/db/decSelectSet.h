#pragma once
// A selection: identifiers in the order the user picked them.
#include <vector>

#include "decObjectId.h"

class decDbEntity;

class decSelectSet {
public:
    int GetCount() const { return static_cast<int>(m_ids.size()); }
    // The i-th id; an unset id when i is out of range.
    decObjectId GetAt(int i) const;
    // The i-th entity in the working database; null when out of range, missing or no entity.
    decDbEntity* GetEnt(int i) const;

    // Adds an id unless it is unset or already present.
    void Add(const decObjectId& id);
    void Remove(const decObjectId& id);
    bool Contains(const decObjectId& id) const;
    void Clear() { m_ids.clear(); }
    const std::vector<decObjectId>& Ids() const { return m_ids; }

private:
    std::vector<decObjectId> m_ids;
};
