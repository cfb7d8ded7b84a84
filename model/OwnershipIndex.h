#pragma once
// Where the ownership records ("WIN_BELONG_BLD", WinBelongBuild.h) and the windows they name
// are, and what bears each building name, without a walk over the drawing. Renaming or
// renumbering windows must rewrite the records that name them (OwnershipRecords.h), and a
// rename carries over to everything that still bears the old name (namebld); a walk to find
// either costs the whole drawing for every edit, even where nothing is found. The index is a
// reactor of the database it is attached to (the working one, by the entry point): it keeps
// the bodies carrying a record, filed under what their records hold, the windows by their
// identifiers, and the buildings, tagged objects and windows by their names, up to date with
// every object appended or changed (a change of a name, of a window's numbers, of an entity's
// records or tag, an erase: each is told when its write open closes). It forgets everything
// when a drawing is opened or made new and is made again by one walk at the next question.
//
// Every question is about the working drawing. When the index is not attached to it (a
// test's own database, a module not entered), the question is answered by a walk, so an
// answer never depends on the index: the walks below are what it must always give.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
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

// The name an entity bears as a rename carries it over: a building's own, a tagged object's
// tag (also an empty one), a window's building name. Nothing for any other entity.
std::optional<CString> NameBorne(decDbEntity* entity);

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
    // The live entities bearing one of the names (NameBorne; letter case counts), each once,
    // in the order a walk over the drawing meets them: the order a rename takes them in.
    EntityArray NameBearers(const std::vector<CString>& names);

    void OnNewDocument(DbDatabase* db) override;
    void OnDocumentOpened(DbDatabase* db) override;
    void OnObjectAppended(DbDatabase* db, decObject* object) override;
    void OnObjectModified(DbDatabase* db, decObject* object) override;

private:
    // Handles filed under the hash of a text (an answer compares the texts themselves), in no
    // order within a hash: many windows of unnamed buildings bear one identifier, and every
    // window of a building its name, so a handle leaves its hash in constant time.
    class TextFiles {
    public:
        // Files the handle under the text, or (for nothing) nowhere; nothing to do when it is
        // filed under the text's hash already.
        void File(std::uint64_t handle, const std::optional<std::string>& text);
        // The handles filed under the text's hash.
        std::span<const std::uint64_t> Under(const std::string& text) const;
        void Clear();

    private:
        // Where a handle is filed: the hash, its place among the handles filed there.
        struct Filed {
            std::size_t hash = 0;
            std::size_t at = 0;
        };
        void Unfile(const Filed& filed);

        std::unordered_map<std::uint64_t, Filed> m_filed;
        std::unordered_map<std::size_t, std::vector<std::uint64_t>> m_byHash;
    };

    // Where a walk over the drawing meets an entity, as a key that sorts in that order.
    using Place = std::pair<std::uint64_t, std::uint64_t>;

    // Whether the index answers for the working drawing; made again first when it must be.
    bool Serves();
    // Files the entity anew as it is now (an erased one nowhere).
    void Refresh(decDbEntity* entity);
    // Files the handle under the keys of its records, or (for nothing) nowhere; nothing to do
    // when it is filed so already.
    void FileCarrier(std::uint64_t handle, std::optional<std::vector<std::string>> keys);
    // Keeps the order the full walk met the handles in, when it is not the order of the handles.
    void KeepWalkOrder(const std::vector<std::uint64_t>& met);
    Place PlaceOf(std::uint64_t handle) const;
    void Clear();
    template <class Handles>
    EntityArray Entities(const Handles& handles) const;

    DbDatabase* m_database = nullptr;
    bool m_current = false;
    // The carriers in handle order, each with its keys, and the carriers under each key.
    std::map<std::uint64_t, std::vector<std::string>> m_carriers;
    std::unordered_map<std::string, std::set<std::uint64_t>> m_carriersByKey;
    // Every window under its identifier; every building, tagged object and window under its name.
    TextFiles m_windows;
    TextFiles m_names;
    // A walk meets the entities in the order they were stored: those of an opened drawing in
    // the order of its file, which a file written elsewhere need not keep by handle, then every
    // one made since, by handle (each made takes a handle above all before it). Here: each
    // handle the full walk met with its place in that walk, sorted by handle; empty when the
    // walk met them by handle, which then orders every entity.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> m_walkOrder;
};

// The answers of a walk over the working drawing.
EntityArray WalkCarriers();
EntityArray WalkCarriersHolding(const std::vector<std::string>& keys);
Windows WalkWindowsBearing(const std::string& id);
EntityArray WalkNameBearers(const std::vector<CString>& names);

}  // namespace WinBelongBuild
