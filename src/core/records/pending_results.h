#pragma once
// Finished games on their way into a shared table, kept in the player's own data folder
// (never the shared one) from before the store starts until a later read of the table shows
// them there, or shows them fairly pushed out of the best 99. Each carries an identity that
// goes into the table with it, so that a result is never stored twice: a lost reply, a
// crash, a store overtaken by another all heal at the next read.

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/records/records_table.h"
#include "core/records/share_ops.h"

namespace vorblin {

struct Waiting {
    RecordEntry entry;
    // A read of the table showed it. It waits on, unseen by the player, until a read under
    // the lock shows it again long enough after: a slower store may still write over it.
    bool seen = false;
};

class PendingResults {
  public:
    // ownFolder: the player's own data folder; empty keeps them in memory only.
    explicit PendingResults(std::string ownFolder, ShareOps& ops = RealShare(),
                            Reporter report = ReportOnStderr);

    // The results on their way into the table in `folder`.
    std::vector<Waiting> For(const std::string& folder) const;
    // Keeps a result (with its Id) for the table in `folder`, on the disk before this
    // returns. When it cannot be written (the own folder full or gone), the player hears it
    // and it is kept in memory and written with the next change.
    void Add(const std::string& folder, const RecordEntry& entry);
    // What a whole read of the table in `folder` says of them: one that earns no place in it
    // is let go; one shown the first time is marked seen; one not shown is unmarked (it goes
    // in again). One seen is let go only by a read under the lock (`letGoAfter` given) made
    // at least that long after this game first saw it there. Until the lock is ours, a store
    // that read the table before the result landed may still write over it; after, for a
    // while, the rename of one whose lock was broken may still be on its way (SMB).
    void Settle(const std::string& folder, const RecordTable& table,
                std::optional<std::chrono::milliseconds> letGoAfter);
    // Whether a read under the lock that shows `w` may let it go now.
    bool Ripe(const Waiting& w, std::chrono::milliseconds after) const;

    std::string Path() const;
    const std::string& OwnFolder() const { return ownFolder_; }

  private:
    struct Kept {
        std::string folder;
        Waiting waiting;
    };
    std::vector<Kept> Load() const;
    // Writes them and reports a failure; the failed ones stay in memory.
    void Save(std::vector<Kept> kept);
    template <typename Change>
    void Update(Change change);

    std::string ownFolder_;
    ShareOps& ops_;
    Reporter report_;
    // Those the own folder could not take; a store runs on a thread of its own.
    mutable std::mutex memory_;
    std::vector<Kept> unsaved_;
    // When this game first saw each result in its table (by identity); a result seen by an
    // earlier game is not here, and was seen long enough ago.
    std::map<std::string, std::chrono::steady_clock::time_point> seenAt_;
};

constexpr std::string_view kPendingFileName = "VorblinPending.txt";

// A new identity for a result: 16 random hexadecimal digits.
inline std::string NewResultId() {
    return NewToken();
}

}  // namespace vorblin
