#pragma once
// Finished games the shared table could not take when they ended (no lock in time, the
// share gone, the rename refused): kept in the player's own data folder, never the shared
// one, until the table takes them. Each carries an identity that goes into the table with
// it, so that a result found stored already is never stored twice.

#include <string>
#include <vector>

#include "core/records/records_table.h"

namespace vorblin {

class PendingResults {
  public:
    // ownFolder: the player's own data folder; empty keeps nothing.
    explicit PendingResults(std::string ownFolder);

    // The results waiting for the table in `folder`, each with its Id.
    RecordTable For(const std::string& folder) const;
    // Keeps a result for the table in `folder` under a new identity (the 99 best per table
    // are all that can ever enter it). Nothing is kept without an own folder.
    void Add(const std::string& folder, RecordEntry entry);
    // Forgets the results with these identities (or leaves them to the next time, when the
    // file is busy: their identities keep them from being stored twice).
    void Remove(const std::vector<std::string>& ids);

    std::string Path() const;

  private:
    struct Kept {
        std::string folder;
        RecordEntry entry;
    };
    std::vector<Kept> Load() const;
    void Save(const std::vector<Kept>& kept) const;

    std::string ownFolder_;
};

constexpr std::string_view kPendingFileName = "VorblinPending.txt";

// A new identity for a result: 16 random hexadecimal digits.
std::string NewResultId();

}  // namespace vorblin
