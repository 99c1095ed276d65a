#include "core/records/hall_of_fame.h"

#include <algorithm>

namespace vorblin {

HallOfFame::HallOfFame(std::string folder, std::string ownFolder, ShareOps& share, Reporter report)
    : folder_(std::move(folder)),
      share_(share),
      report_(std::move(report)),
      pending_(std::make_shared<PendingResults>(std::move(ownFolder), share, report_)) {}

RecordTable HallOfFame::Pending() const {
    RecordTable waiting;
    for (const Waiting& w : pending_->For(folder_))
        if (!w.seen)
            waiting.push_back(w.entry);
    return waiting;
}

bool HallOfFame::Run(TableState (*step)(SharedTable&), TableState& state) {
    const auto work = [folder = folder_, pending = pending_, &share = share_, report = report_,
                       wait = LockWait, stale = StaleAfter, confirm = ConfirmAfter, step] {
        SharedTable table(folder, *pending, share, report);
        table.LockWait = wait;
        table.StaleAfter = stale;
        table.ConfirmAfter = confirm;
        return step(table);
    };
    if (!Patience) {
        state = work();
        return true;
    }
    const auto result = std::make_shared<TableState>();
    if (worker_.Run([work, result] { *result = work(); }, *Patience)) {
        state = *result;
        return true;
    }
    report_("the shared folder " + folder_ +
            " does not answer; the game goes on, and finished games wait in the player's own "
            "folder");
    return false;
}

void HallOfFame::Show(const TableState& state) {
    Damaged = state.status == ReadStatus::Unreadable;
    Table = state.table;
    lastRead_ = state.table;
    waiting_ = state.waiting;
    // Shown meanwhile where they will stand.
    for (const RecordEntry& w : waiting_)
        if (std::none_of(Table.begin(), Table.end(),
                         [&](const RecordEntry& e) { return e.Id == w.Id; }))
            InsertRecord(Table, w);
}

void HallOfFame::Read_Records_File() {
    TableState state;
    const bool answered = Run(
        [](SharedTable& table) {
            TableState read = table.Read();
            // The start is the next chance for results that could not be stored before, and
            // to let go of those stored, once no other store can still write over them.
            return read.status == ReadStatus::Ok && (!read.waiting.empty() || read.confirming)
                       ? table.Store()
                       : read;
        },
        state);
    if (answered)
        Show(state);
    else
        ShowKnown();
}

void HallOfFame::Fill_Table_List() {
    lstTable.Clear();
    for (size_t i = 0; i < Table.size(); ++i) {
        RecordEntry shown = Table[i];
        if (!shown.Id.empty() &&
            std::any_of(waiting_.begin(), waiting_.end(),
                        [&](const RecordEntry& w) { return w.Id == shown.Id; }))
            shown.Name += kWaitingMark;
        lstTable.AddItem(TableLine(i + 1, shown));
    }
}

std::optional<RecordEntry> HallOfFame::Add_Record(int32_t S, const std::function<NameEntry()>& ask,
                                                  const std::function<std::string()>& today) {
    if (!Table.empty()) {
        // Results other machines stored meanwhile decide whether this one earns a place
        // (the waiting results are stored after the name, never while a window waits).
        TableState state;
        if (Run([](SharedTable& table) { return table.Read(); }, state))
            Show(state);
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
    if (entry) {
        // On the player's own disk before the share is touched: whatever happens to the
        // store from here on, the result is there to be stored again.
        RecordEntry result = *entry;
        if (result.Id.empty())
            result.Id = NewResultId();
        pending_->Add(folder_, result);
    }
    TableState state;
    if (Run([](SharedTable& table) { return table.Store(); }, state)) {
        Show(state);
        return state.stored;
    }
    ShowKnown();
    return false;
}

void HallOfFame::ShowKnown() {
    // The table as last read (a new game has cleared the one shown), and what waits.
    const bool damaged = Damaged;
    TableState known;
    known.table = lastRead_;
    known.waiting = Pending();
    Show(known);
    Damaged = damaged;
}

}  // namespace vorblin
