#include "records/hall_of_fame.h"

#include "records/file_lock.h"

namespace vorblin {

HallOfFame::HallOfFame(std::string folder) : folder_(std::move(folder)) {}

ReadStatus HallOfFame::Load(RecordTable& table) {
    FileBytes file = ReadFileBytes(Path());
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
        // Results other machines stored meanwhile decide whether this one earns a place.
        Read_Records_File();
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

bool HallOfFame::Write_Records_File(const std::optional<RecordEntry>& entry) {
    // Never hold the lock while a dialog is open: the name has been asked already.
    const FileLock lock(Path() + ".lock");
    RecordTable fresh;
    const ReadStatus status = Load(fresh);
    if (status == ReadStatus::Unreadable) {
        if (entry)
            InsertRecord(Table, *entry);
        return false;
    }
    if (entry)
        InsertRecord(fresh, *entry);
    Table = std::move(fresh);
    Damaged = false;
    return WriteFileAtomically(Path(), FormatRecords(Table));
}

}  // namespace vorblin
