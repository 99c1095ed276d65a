#pragma once
// The table file in a folder that other machines and other players share, and the store of
// finished games into it. A result is safe whatever step fails: it waits in the player's own
// folder from before the store starts (PendingResults) and is let go only when a later read
// shows it. The store itself takes the lock, reads the table as the file server has it,
// inserts what waits, writes a temporary file and renames it over the table, after checking
// that the lock is still its own; a read afterwards tells what landed.

#include <chrono>
#include <string>
#include <vector>

#include "core/base/text_file.h"
#include "core/records/pending_results.h"
#include "core/records/records_table.h"
#include "core/records/share_ops.h"

namespace vorblin {

// What a read or a store found.
struct TableState {
    ReadStatus status = ReadStatus::Ok;
    // The table as last read whole (the default table where there is none yet).
    RecordTable table;
    // The results still on their way into it, not yet seen there.
    RecordTable waiting;
    // Nothing waits any longer.
    bool stored = false;
    // Results seen there long enough ago wait for a read under the lock to let them go.
    bool confirming = false;
};

class SharedTable {
  public:
    // pending: the results on their way, kept in the player's own folder.
    SharedTable(std::string folder, PendingResults& pending, ShareOps& ops = RealShare(),
                Reporter report = ReportOnStderr);

    // The table as it stands, without the lock; a missing one is created with the default
    // entry. What waits is settled against it.
    TableState Read();
    // Stores what waits, under the lock. False in `stored` when anything still waits.
    TableState Store();

    std::string Path() const { return JoinPath(folder_, kRecordsFileName); }
    const std::string& Folder() const { return folder_; }

    std::chrono::milliseconds LockWait{4000};
    std::chrono::milliseconds StaleAfter{8000};
    // How long after a result was seen in the table a read under the lock may let it go.
    std::chrono::milliseconds ConfirmAfter{60000};
    // Leftovers of stores that crashed are removed once this old by the share's clock.
    std::chrono::seconds LeftoverAge{60};

  private:
    // Why the folder must not be written now, or "".
    std::string FolderProblem();
    // The table, read again while it reads shorter than it says (a network client may
    // believe a size from before): `why` tells what is wrong with an unreadable one.
    FileBytes ReadWhole(std::string& why, int patienceMs);
    TableState Finish(TableState state);
    void RemoveLeftovers(int64_t shareNowNs);

    std::string folder_;
    ShareOps& ops_;
    Reporter report_;
    PendingResults& pending_;
};

constexpr std::string_view kMountsFileName = "VorblinMounts.txt";

}  // namespace vorblin
