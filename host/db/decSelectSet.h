#pragma once
// A selection: identifiers in the order the user picked them, each once. Membership is kept by
// handle beside the order, so asking about or adding one id costs the same in a selection of
// a hundred thousand as in one of ten.
#include <cstdint>
#include <unordered_set>
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
    bool Contains(const decObjectId& id) const { return m_handles.contains(id.Handle()); }
    void Clear();
    const std::vector<decObjectId>& Ids() const { return m_ids; }

    // Removes every id the predicate names, keeping the order of the rest.
    template <class Predicate>
    void RemoveIf(Predicate names)
    {
        std::erase_if(m_ids, [&](const decObjectId& id) {
            if (!names(id)) return false;
            m_handles.erase(id.Handle());
            return true;
        });
    }

private:
    std::vector<decObjectId> m_ids;
    std::unordered_set<std::uint64_t> m_handles;
};
