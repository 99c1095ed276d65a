#pragma once
// Machines sharing one hall of fame: each stores finished games the way the game-over flow
// does, through whatever folder it is given; then the table they left behind is checked.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>

#include "core/records/hall_of_fame.h"

namespace vorblin::testing {

// Machine p of `processes` stores `count` games; game k of machine p scores one of 1 to
// count * processes, each exactly once, scattered, each under its own number as the name.
// Whatever had to wait (the lock held too long on a loaded machine) is stored at the next
// starts. Returns 0 once nothing waits any more.
inline int StoreGames(const std::string& folder, const std::string& own, int p, int count,
                      int processes) {
    const int total = count * processes;
    int step = 263;
    while (std::gcd(step, total) != 1)
        ++step;
    HallOfFame fame(folder, own);
    for (long k = 0; k < count; ++k) {
        fame.Read_Records_File();  // the game's start
        const int S = static_cast<int>((k * processes + p) * step % total) + 1;
        const auto ask = [&] { return NameEntry{std::to_string(S), false}; };
        fame.Write_Records_File(fame.Add_Record(S, ask, [] { return ""; }));
    }
    for (int start = 0; start < 20 && !fame.Pending().empty(); ++start)
        fame.Read_Records_File();
    if (!fame.Pending().empty())
        std::fprintf(stderr, "machine %d: %zu results still waiting\n", p, fame.Pending().size());
    return fame.Pending().empty() ? 0 : 1;
}

// Machine p's next start, once every machine has stopped (long after, by the game's clock):
// what it saw stored is let go by a read under the lock, and what a late store wrote away
// goes in again. Returns 0 once nothing waits in its own folder.
inline int Settle(const std::string& folder, const std::string& own) {
    HallOfFame fame(folder, own);
    fame.ConfirmAfter = std::chrono::milliseconds(0);
    const PendingResults kept(own);
    for (int start = 0; start < 20 && !kept.For(folder).empty(); ++start)
        fame.Read_Records_File();
    if (!kept.For(folder).empty())
        std::fprintf(stderr, "%zu results still wait in %s\n", kept.For(folder).size(),
                     own.c_str());
    return kept.For(folder).empty() ? 0 : 1;
}

// Returns 0 when the table holds exactly the best of the `total` results, best first, each
// name with its own score, and nothing else is left in the folder (but the files sshfs
// keeps of a removed file that is still open, for a moment).
inline int CheckTable(const std::string& folder, int total) {
    const RecordTable table = ParseRecords(ReadFileBytes(JoinPath(folder, kRecordsFileName)).bytes);
    int wrong = 0, leftovers = 0, hidden = 0;
    for (size_t i = 0; i < kMaxRecords && i < static_cast<size_t>(total); ++i) {
        const std::string S = std::to_string(total - static_cast<int>(i));
        wrong += i >= table.size() || ScoreText(table[i].Score) != S || table[i].Name != S;
    }
    std::error_code unreadable;  // a folder that cannot be listed leaves nothing to count
    for (const auto& file : std::filesystem::directory_iterator(folder, unreadable)) {
        const std::string name = file.path().filename().string();
        const bool kept = name.starts_with(".fuse_hidden");
        hidden += kept;
        leftovers += !kept && name != kRecordsFileName;
        if (!kept && name != kRecordsFileName)
            std::fprintf(stderr, "left behind: %s\n", name.c_str());
    }
    std::printf("entries %zu, out of place %d, left behind %d, .fuse_hidden %d\n", table.size(),
                wrong, leftovers, hidden);
    const size_t expected = std::min<size_t>(kMaxRecords, static_cast<size_t>(total));
    return table.size() == expected && wrong == 0 && leftovers == 0 ? 0 : 1;
}

}  // namespace vorblin::testing
