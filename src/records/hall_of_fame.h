#pragma once
// The hall of fame as the main window holds it: the table read from its file in the
// data folder, the list that shows it, and the lossless store of a finished game.

#include <functional>
#include <optional>
#include <string>

#include "records/records_table.h"
#include "toolkit/control_state.h"
#include "toolkit/text_file.h"

namespace vorblin {

// What the name window hands back: the typed name, and whether it was closed without Ok.
struct NameEntry {
    std::string PlayerName;
    bool bCancelRecord = false;
};

class HallOfFame {
  public:
    explicit HallOfFame(std::string folder);

    // Reads the table. A missing file is created with the default entry and then read;
    // a file that cannot be read shows as an empty table and is never written over.
    void Read_Records_File();
    // lstTable := one line per entry, in order.
    void Fill_Table_List();
    void Clear_Records() { Table.clear(); }

    // Offers a finished game. Asks the name (ask) only when the score earns a place in the
    // table as read again from the file; returns the entry to store, if any.
    std::optional<RecordEntry> Add_Record(int32_t S, const std::function<NameEntry()>& ask,
                                          const std::function<std::string()>& today);
    // Under the lock: reads the file again, inserts the entry into that fresh table by the
    // order rule, and writes it atomically. The table then holds what was stored. False
    // when nothing was written (the file unreadable, or the folder not writable).
    bool Write_Records_File(const std::optional<RecordEntry>& entry);

    std::string Path() const { return JoinPath(folder_, kRecordsFileName); }

    RecordTable Table;
    ListBox lstTable;
    // The last read found the file present but unreadable.
    bool Damaged = false;

  private:
    ReadStatus Load(RecordTable& table);

    std::string folder_;
};

}  // namespace vorblin
