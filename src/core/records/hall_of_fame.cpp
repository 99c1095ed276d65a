#include "core/records/hall_of_fame.h"

#include <unistd.h>

#include <algorithm>
#include <thread>

#include "core/records/file_lock.h"

namespace vorblin {

HallOfFame::HallOfFame(std::string folder, std::string ownFolder, ShareOps& share)
    : folder_(std::move(folder)), pending_(std::move(ownFolder)), share_(share) {}

namespace {

// The file as the server has it now. A network client may still believe the size an
// earlier version of the file had, and read that much of the new one: a name the client
// has never seen (a hard link made for the read) has no such belief.
FileBytes ReadFreshly(const std::string& path, ShareOps& share) {
    static unsigned counter = 0;
    const std::string fresh =
        path + ".read" + std::to_string(getpid()) + "." + NewResultId() + std::to_string(++counter);
    if (share.Link(path, fresh) != 0)
        return ReadFileBytes(path);  // missing, or no hard links here
    FileBytes file = ReadFileBytes(fresh);
    unlink(fresh.c_str());
    return file;
}

}  // namespace

ReadStatus HallOfFame::Load(RecordTable& table, bool fresh) {
    FileBytes file = fresh ? ReadFreshly(Path(), share_) : ReadFileBytes(Path());
    if (file.status == ReadStatus::Missing) {
        // Created only when nothing is there; then read like any other file.
        CreateFileExclusively(Path(), kDefaultRecordsFile, Flush::Lazily);
        file = ReadFileBytes(Path());
        if (file.status == ReadStatus::Missing)
            file = {ReadStatus::Ok, std::string(kDefaultRecordsFile)};
    }
    table = file.status == ReadStatus::Ok ? ParseRecords(file.bytes) : RecordTable{};
    return file.status;
}

void HallOfFame::Read_Records_File() {
    // The start is the next chance for results that could not be stored before.
    // A store that succeeds leaves the table just read and written in memory.
    if (!Pending().empty() && Write_Records_File(std::nullopt))
        return;
    Damaged = Load(Table) == ReadStatus::Unreadable;
}

void HallOfFame::Fill_Table_List() {
    lstTable.Clear();
    for (size_t i = 0; i < Table.size(); ++i)
        lstTable.AddItem(TableLine(i + 1, Table[i]));
}

std::optional<RecordEntry> HallOfFame::Add_Record(int32_t S, const std::function<NameEntry()>& ask,
                                                  const std::function<std::string()>& today) {
    if (!Table.empty()) {
        // Results other machines stored meanwhile decide whether this one earns a place
        // (the waiting results are stored after the name, never while a window waits).
        Damaged = Load(Table) == ReadStatus::Unreadable;
        if (!EarnsPlace(Table, S))
            return std::nullopt;
    }
    const NameEntry answer = ask();
    if (answer.bCancelRecord)
        return std::nullopt;
    std::string name = CleanPlayerName(answer.PlayerName);
    if (name.empty())
        name = today();
    return RecordEntry{std::move(name), static_cast<double>(S)};
}

bool HallOfFame::Replace(const std::string& bytes) {
    const std::string temp =
        WriteTemporary(Path(), bytes, Flush::ToDisk,
                       [this](const std::string& name) { return share_.CreateExclusive(name); });
    if (temp.empty())
        return false;
    // A file server may refuse to replace a file another client has open for a moment.
    for (int attempt = 0;; ++attempt) {
        if (share_.Rename(temp, Path()) == 0)
            return true;
        if (attempt == 3)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25 << attempt));
    }
    unlink(temp.c_str());
    return false;
}

bool HallOfFame::Write_Records_File(const std::optional<RecordEntry>& entry) {
    const RecordTable waiting = Pending();
    bool stored = false;
    {
        // Never hold the lock while a dialog is open: the name has been asked already.
        const FileLock lock(Path() + ".lock", LockWait, StaleAfter, share_);
        RecordTable fresh;
        if (lock.Held() && Load(fresh, true) != ReadStatus::Unreadable) {
            for (const RecordEntry& w : waiting)
                if (std::none_of(fresh.begin(), fresh.end(),
                                 [&](const RecordEntry& e) { return e.Id == w.Id; }))
                    InsertRecord(fresh, w);  // not there yet: no earlier try got this far
            if (entry)
                InsertRecord(fresh, *entry);
            stored = Replace(FormatRecords(fresh));
            if (stored) {
                Table = std::move(fresh);
                Damaged = false;
            }
        }
    }
    if (stored) {
        std::vector<std::string> ids;
        for (const RecordEntry& w : waiting)
            ids.push_back(w.Id);
        pending_.Remove(ids);
        return true;
    }
    // Kept for the next game over or the next start; shown for now.
    if (entry) {
        pending_.Add(folder_, *entry);
        InsertRecord(Table, *entry);
    }
    return false;
}

}  // namespace vorblin
