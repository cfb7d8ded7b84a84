#pragma once
// Where the ownership records ("WIN_BELONG_BLD", WinBelongBuild.h) and the windows they name
// are, without a walk over the drawing. Renaming or renumbering windows must rewrite the records
// that name them (OwnershipRecords.h); a walk to find those records costs the whole drawing
// for every edit, even where no record exists. The index is a reactor of the database it is
// attached to (the working one, by the entry point): it keeps the bodies carrying a record,
// filed under what their records hold, and the windows by their identifiers, up to date with
// every object appended or changed (a change of a window's name or numbers, of an entity's
// records, an erase: each is told when its write open closes). It forgets everything when a
// drawing is opened or made new and is made again by one walk at the next question.
//
// Every question is about the working drawing. When the index is not attached to it (a
// test's own database, a module not entered), the question is answered by a walk, so an
// answer never depends on the index: the walks below are what it must always give.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "CString.h"
#include "DbDatabaseReactor.h"
#include "EntityArray.h"

class CWindow;
class decDbEntity;

namespace WinBelongBuild {

using Windows = std::vector<const CWindow*>;

// What a body's ownership records are found under: every identifier they hold (as the reader
// reads them) and, for a record standing for a column, the column's own floor-0 identifier;
// sorted, each once. Nothing for an entity that carries no record (HasWindowIds).
std::optional<std::vector<std::string>> RecordKeys(decDbEntity* entity);

class OwnershipIndex : public DbDatabaseReactor {
public:
    OwnershipIndex() = default;
    OwnershipIndex(const OwnershipIndex&) = delete;
    OwnershipIndex& operator=(const OwnershipIndex&) = delete;
    ~OwnershipIndex() override;

    // Adds the index to the database; nothing when it is attached already.
    void Attach(DbDatabase* db);
    void Detach();
    bool IsAttached() const { return m_database != nullptr; }

    // Every live body of the working drawing carrying a record, in the order they were made.
    EntityArray Carriers();
    // Those whose records hold one of the keys (identifiers, or floor-0 identifiers of
    // columns), in the same order.
    EntityArray CarriersHolding(const std::vector<std::string>& keys);
    // The live windows whose identifier is the text, in the order they were made.
    Windows WindowsBearing(const std::string& id);

    void OnNewDocument(DbDatabase* db) override;
    void OnDocumentOpened(DbDatabase* db) override;
    void OnObjectAppended(DbDatabase* db, decObject* object) override;
    void OnObjectModified(DbDatabase* db, decObject* object) override;

private:
    // Where a window is filed: the hash of its identifier, its place among those filed there.
    struct FiledWindow {
        std::size_t hash = 0;
        std::size_t at = 0;
    };

    // Whether the index answers for the working drawing; made again first when it must be.
    bool Serves();
    // Files the entity anew as it is now (an erased one nowhere).
    void Refresh(decDbEntity* entity);
    // Files the handle under the keys of its records, or under the window identifier, or (for
    // nothing) nowhere; nothing to do when it is filed so already.
    void FileCarrier(std::uint64_t handle, std::optional<std::vector<std::string>> keys);
    void FileWindow(std::uint64_t handle, const std::optional<std::string>& id);
    void UnfileWindow(const FiledWindow& filed);
    void Clear();
    template <class Handles>
    EntityArray Entities(const Handles& handles) const;

    DbDatabase* m_database = nullptr;
    bool m_current = false;
    // The carriers in handle order, each with its keys, and the carriers under each key.
    std::map<std::uint64_t, std::vector<std::string>> m_carriers;
    std::unordered_map<std::string, std::set<std::uint64_t>> m_carriersByKey;
    // Every window, filed under the hash of its identifier (an answer compares the identifiers
    // themselves), and the windows under each hash, in no order (many windows of unnamed
    // buildings bear one identifier).
    std::unordered_map<std::uint64_t, FiledWindow> m_windows;
    std::unordered_map<std::size_t, std::vector<std::uint64_t>> m_windowsByHash;
};

// The answers of a walk over the working drawing.
EntityArray WalkCarriers();
EntityArray WalkCarriersHolding(const std::vector<std::string>& keys);
Windows WalkWindowsBearing(const std::string& id);

}  // namespace WinBelongBuild
