#pragma once
// The hall of fame as the main window holds it: the table read from its file in the
// data folder, the list that shows it, and the lossless store of a finished game.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/base/control_state.h"
#include "core/base/text_file.h"
#include "core/records/pending_results.h"
#include "core/records/records_table.h"
#include "core/records/share_ops.h"

namespace vorblin {

// What the name window hands back: the typed name, and whether it was closed without Ok.
struct NameEntry {
    std::string PlayerName;
    bool bCancelRecord = false;
};

class HallOfFame {
  public:
    // folder holds the table; ownFolder is the player's own data folder, where results the
    // table could not take wait (empty: nowhere, as in tools that only read).
    explicit HallOfFame(std::string folder, std::string ownFolder = {},
                        ShareOps& share = RealShare());

    // Reads the table, after storing the results that wait for it (the game's start).
    // A missing file is created with the default entry and then read; a file that cannot
    // be read shows as an empty table and is never written over.
    void Read_Records_File();
    // lstTable := one line per entry, in order.
    void Fill_Table_List();
    void Clear_Records() { Table.clear(); }

    // Offers a finished game. Asks the name (ask) only when the score earns a place in the
    // table as read again from the file; returns the entry to store, if any.
    std::optional<RecordEntry> Add_Record(int32_t S, const std::function<NameEntry()>& ask,
                                          const std::function<std::string()>& today);
    // Under the lock: reads the file again, inserts the waiting results and the entry into
    // that fresh table by the order rule, and writes it atomically. The table then holds what
    // was stored. Never writes without the lock. False when nothing was written (no lock in
    // time, the file unreadable, the folder gone or not writable, the rename refused): the
    // entry then waits in the player's own folder, and shows in the table meanwhile.
    bool Write_Records_File(const std::optional<RecordEntry>& entry);

    // The results waiting for this table.
    RecordTable Pending() const { return pending_.For(folder_); }

    std::string Path() const { return JoinPath(folder_, kRecordsFileName); }

    RecordTable Table;
    ListBox lstTable;
    // The last read found the file present but unreadable.
    bool Damaged = false;
    // How long a store waits for the lock, and when a lock counts as abandoned.
    std::chrono::milliseconds LockWait{4000};
    std::chrono::milliseconds StaleAfter{8000};

  private:
    // fresh: as the file server has it this moment (under the lock).
    ReadStatus Load(RecordTable& table, bool fresh = false);
    // The table file replaced by these bytes; a refused rename is tried again a few times.
    bool Replace(const std::string& bytes);

    std::string folder_;
    PendingResults pending_;
    ShareOps& share_;
};

}  // namespace vorblin
