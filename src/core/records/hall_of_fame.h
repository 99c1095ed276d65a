#pragma once
// The hall of fame as the main window holds it: the table read from its file in the
// data folder, the list that shows it, and the lossless store of a finished game.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/base/control_state.h"
#include "core/base/text_file.h"
#include "core/records/pending_results.h"
#include "core/records/records_table.h"
#include "core/records/share_ops.h"
#include "core/records/share_worker.h"
#include "core/records/shared_table.h"

namespace vorblin {

// What the name window hands back: the typed name, and whether it was closed without Ok.
struct NameEntry {
    std::string PlayerName;
    bool bCancelRecord = false;
};

// The list's mark behind the name of a result still on its way into the shared table.
constexpr std::string_view kWaitingMark = "*";

class HallOfFame {
  public:
    // folder holds the table; ownFolder is the player's own data folder, where finished
    // games wait until the table shows them (empty: in memory, as in tools that only read).
    explicit HallOfFame(std::string folder, std::string ownFolder = {},
                        ShareOps& share = RealShare(), Reporter report = ReportOnStderr);

    // Reads the table and stores the results that wait for it (the game's start). A missing
    // file is created with the default entry and then read; a file that cannot be read
    // shows as an empty table and is never written over.
    void Read_Records_File();
    // lstTable := one line per entry, in order; a result still waiting is marked.
    void Fill_Table_List();
    void Clear_Records() { Table.clear(); }

    // Offers a finished game. Asks the name (ask) only when the score earns a place in the
    // table as read again from the file; returns the entry to store, if any.
    std::optional<RecordEntry> Add_Record(int32_t S, const std::function<NameEntry()>& ask,
                                          const std::function<std::string()>& today);
    // Keeps the entry in the player's own folder first, then stores what waits under the
    // lock (see SharedTable). The table then holds what was stored, and what still waits.
    // False when anything still waits.
    bool Write_Records_File(const std::optional<RecordEntry>& entry);

    // The results on their way into this table, not yet seen there.
    RecordTable Pending() const;
    // Work on the share that did not finish in time still runs (the share hangs).
    bool ShareBusy() const { return worker_.Busy(); }

    std::string Path() const { return JoinPath(folder_, kRecordsFileName); }

    RecordTable Table;
    ListBox lstTable;
    // The last read found the file present but unreadable.
    bool Damaged = false;
    // How long a store waits for the lock, and when a lock counts as abandoned.
    std::chrono::milliseconds LockWait{4000};
    std::chrono::milliseconds StaleAfter{8000};
    // How long after a result was seen stored it is let go from the player's own folder.
    std::chrono::milliseconds ConfirmAfter{60000};
    // How long the window waits for the shared folder before it goes on without it (the
    // work goes on meanwhile); none: the caller's thread does the work, however long.
    std::optional<std::chrono::milliseconds> Patience;

  private:
    // Runs one step on the shared table; false when it did not finish in time.
    bool Run(TableState (*step)(SharedTable&), TableState& state);
    void Show(const TableState& state);
    // When the share does not answer.
    void ShowKnown();

    std::string folder_;
    ShareOps& share_;
    Reporter report_;
    std::shared_ptr<PendingResults> pending_;
    ShareWorker worker_;
    // The entries of Table that still wait.
    RecordTable waiting_;
    // The table as last read, without what waits.
    RecordTable lastRead_;
};

}  // namespace vorblin
