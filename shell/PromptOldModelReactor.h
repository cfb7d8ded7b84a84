#pragma once
// The database reactor that warns, when a drawing has been opened, that it still holds
// buildings or windows made by versions below 4.0, and points the user to the upgrade
// commands. It converts nothing itself.
#include "DbDatabaseReactor.h"

class PromptOldModelReactor : public DbDatabaseReactor {
public:
    PromptOldModelReactor() = default;
    PromptOldModelReactor(const PromptOldModelReactor&) = delete;
    PromptOldModelReactor& operator=(const PromptOldModelReactor&) = delete;
    // The host must not keep a reactor that no longer exists: detach on destruction.
    ~PromptOldModelReactor() override;

    // Shows the warning (OK only) when the working drawing holds an old object; the answer
    // is not looked at. The working drawing is tested, not the database passed.
    void OnDocumentOpened(DbDatabase* db) override;

    // Adds the reactor to the database; nothing when it is attached already.
    void Attach(DbDatabase* db);
    // Removes it from the database it was attached to.
    void Detach();
    bool IsAttached() const { return m_database != nullptr; }

private:
    DbDatabase* m_database = nullptr;
};
