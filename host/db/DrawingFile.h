#pragma once
// Drawing files: the whole drawing written through every object's own Serialize, in the
// versioned binary format described in DRAWING_FORMAT.md.
//
// Reading is all or nothing: a file is read into a separate database, and any fault
// (truncation, a count or length larger than what is left, an unknown section, a bad
// checksum, a record its class does not read completely, a number that is not finite)
// refuses the whole file with a message naming the file and the fault. Writing refuses what
// reading would: a drawing holding a number that is not finite is not saved. A file is read a
// piece at a time, its header first, so no more of it is held than its largest section, and
// a section the memory cannot hold refuses the file too. Saving replaces the file whole
// (FileReplace.h), so a failed save leaves the previous file intact.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "FileReplace.h"

class DbDatabase;
class GeMatrix3d;
class decDbEntity;
class decDbObject;

namespace host {

inline constexpr std::uint32_t kDrawingFormatVersion = 1;

// Class versions to write instead of the registered ones, by persistent class name. The
// storing stream reports them through GetClassVersion, so a class whose Serialize follows
// its version in both directions writes its older layout (tests of drawings made by older
// versions of a class).
using ClassVersions = std::map<std::string, unsigned>;

// The drawing as file bytes (erased objects left out). Throws RecordError naming every object
// (number and class), material or drawing variable holding a number that is not finite,
// since opening refuses such a file.
std::vector<std::uint8_t> EncodeDrawing(const DbDatabase& db, const ClassVersions& versions = {});

// Reads file bytes into an empty database. false with the fault in error (without the file
// name) when the bytes are refused; into is then left in an unspecified state and must be
// discarded. verifyChecksum false skips only the final checksum test (so tests and the
// fuzzer reach the inner checks with altered bytes).
bool DecodeDrawing(std::span<const std::uint8_t> bytes, DbDatabase& into, std::string& error,
                   bool verifyChecksum = true);

// Saves db to path (ReplaceFile), then drops erased objects for good and tells the reactors.
// false with a message naming the file and the reason when it cannot be written: the
// system's, or the objects that hold a number that is not finite. The previous file and the
// drawing are then left as they were, so the user can mend the objects and save again.
bool WriteDrawingFile(DbDatabase& db, const std::string& path, std::string& error,
                      const ClassVersions& versions = {});

// Reads path into an empty database. false with a message naming the file and the fault.
bool ReadDrawingFile(const std::string& path, DbDatabase& into, std::string& error);

// Whether none of an export's files is a drawing of this program: a regular file (links
// followed) that begins with a drawing's header, whole or damaged. false with a message naming
// the first that is one (cannot write "PATH": it is a drawing of this program, ...), so that an
// export refuses before it writes anything rather than replace a drawing.
bool NoDrawingAmong(std::span<const TextFile> files, std::string& error);

// Whether the entity can be written to a drawing file: every number of its placement and of
// its record is finite (what opening requires).
bool CanBeStored(decDbEntity& entity);
// The same for the entity placed elsewhere, its record unchanged.
bool CanBeStored(decDbEntity& entity, const GeMatrix3d& placement);
// How the file's messages name an entity: "object 12 (QCOrvRoof)", by its number and the class
// it is stored under.
std::string StoredObjectName(decDbEntity& entity);

// The record an object writes with its Serialize to a file (class version as registered).
std::vector<std::uint8_t> StoreObjectRecord(decDbObject& object);
// Runs an object's Serialize as a file load over the given record bytes, reporting the given
// class version (tests of records written by older class versions). false with the fault in
// error when the record is short or not read completely.
bool LoadObjectRecord(decDbObject& object, std::span<const std::uint8_t> record, unsigned classVersion,
                      std::string& error);

}  // namespace host
