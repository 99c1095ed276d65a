// One machine of the shared-table test over a real network share (share_test.sh): stores
// finished games through the folder it is given, starts once more after all have stopped, or
// checks the table the machines left.
//
//   vorblin_store_driver store FOLDER OWN_FOLDER PROCESS COUNT PROCESSES
//   vorblin_store_driver settle FOLDER OWN_FOLDER
//   vorblin_store_driver check FOLDER TOTAL

#include <cstdlib>
#include <filesystem>
#include <numeric>

#include "core/records/hall_of_fame.h"

using namespace vorblin;

// Machine p of `processes` stores `count` games; game k of machine p scores one of 1 to
// count * processes, each exactly once, scattered, each under its own number as the name.
// Whatever had to wait (the lock held too long on a loaded machine) is stored at the next
// starts. Returns 0 once nothing waits any more.
int StoreGames(const std::string& folder, const std::string& own, int p, int count, int processes) {
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
    return fame.Pending().empty() ? 0 : 1;
}

// Machine p's next start, once every machine has stopped (long after, by the game's clock):
// what it saw stored is let go by a read under the lock, and what a late store wrote away
// goes in again. Returns 0 once nothing waits in its own folder.
int Settle(const std::string& folder, const std::string& own) {
    HallOfFame fame(folder, own);
    fame.ConfirmAfter = std::chrono::milliseconds(0);
    for (int start = 0; start < 20 && !PendingResults(own).For(folder).empty(); ++start)
        fame.Read_Records_File();
    return PendingResults(own).For(folder).empty() ? 0 : 1;
}

// Returns 0 when the table holds exactly the best of the `total` results, best first, each
// name with its own score, and nothing else is left in the folder (but the files sshfs
// keeps of a removed file that is still open, for a moment).
int CheckTable(const std::string& folder, int total) {
    std::string want, got;
    for (int S = total; S > 0 && S > total - static_cast<int>(kMaxRecords); --S)
        want += std::to_string(S) + " " + std::to_string(S) + "\n";
    for (const RecordEntry& e :
         ParseRecords(ReadFileBytes(JoinPath(folder, kRecordsFileName)).bytes))
        got += e.Name + " " + ScoreText(e.Score) + "\n";
    std::error_code unreadable;  // a folder that cannot be listed leaves nothing to count
    for (const auto& file : std::filesystem::directory_iterator(folder, unreadable))
        if (const std::string name = file.path().filename().string();
            name != kRecordsFileName && !name.starts_with(".fuse_hidden"))
            got += "left behind: " + name + "\n";
    std::fputs(got == want ? "" : got.c_str(), stderr);
    return got == want ? 0 : 1;
}

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "store" && argc == 7)
        return StoreGames(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]),
                          std::atoi(argv[6]));
    if (mode == "settle" && argc == 4)
        return Settle(argv[2], argv[3]);
    if (mode == "check" && argc == 4)
        return CheckTable(argv[2], std::atoi(argv[3]));
    return 2;  // the usage is at the top of this file
}
