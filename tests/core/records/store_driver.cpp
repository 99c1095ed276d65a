// One machine of the shared-table test: stores finished games the way the game-over flow
// does, through whatever folder it is given (a network mount, in the test), then checks the
// table the machines left behind.
//
//   vorblin_store_driver store FOLDER OWN_FOLDER PROCESS COUNT PROCESSES
//   vorblin_store_driver check FOLDER TOTAL

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>

#include "core/records/hall_of_fame.h"

namespace {

using namespace vorblin;

// Game k of machine p scores one of 1..total, each exactly once, scattered.
int Score(int p, int k, int processes, int total) {
    int step = 263;
    while (std::gcd(step, total) != 1)
        ++step;
    return static_cast<int>((static_cast<long>(k) * processes + p) * step % total) + 1;
}

int Store(const std::string& folder, const std::string& own, int p, int count, int processes) {
    HallOfFame fame(folder, own);
    for (int k = 0; k < count; ++k) {
        fame.Read_Records_File();  // the game's start
        const int S = Score(p, k, processes, count * processes);
        const auto entry = fame.Add_Record(
            S,
            [&] {
                return NameEntry{std::to_string(S), false};
            },
            [] { return ""; });
        fame.Write_Records_File(entry);
    }
    // Whatever had to wait is stored at the next start (or starts).
    for (int start = 0; start < 20 && !fame.Pending().empty(); ++start)
        fame.Read_Records_File();
    const size_t left = fame.Pending().size();
    if (left > 0)
        std::fprintf(stderr, "machine %d: %zu results still waiting\n", p, left);
    return left == 0 ? 0 : 1;
}

int Check(const std::string& folder, int total) {
    const FileBytes file = ReadFileBytes(JoinPath(folder, kRecordsFileName));
    const RecordTable table = ParseRecords(file.bytes);
    int lost = 0;
    int wrong = 0;
    for (int i = 0; i < 99 && i < total; ++i) {
        const int S = total - i;
        bool found = false;
        for (const RecordEntry& e : table)
            found = found || (e.Score == S && e.Name == std::to_string(S));
        lost += found ? 0 : 1;
        if (i >= static_cast<int>(table.size()) || table[static_cast<size_t>(i)].Score != S ||
            table[static_cast<size_t>(i)].Name != std::to_string(S))
            ++wrong;
    }
    int leftovers = 0;
    int hidden = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* d = readdir(dir)) {
            const std::string name = d->d_name;
            if (name == "." || name == ".." || name == kRecordsFileName)
                continue;
            if (name.starts_with(".fuse_hidden")) {
                ++hidden;
            } else {
                ++leftovers;
                std::fprintf(stderr, "left behind: %s\n", name.c_str());
            }
        }
        closedir(dir);
    }
    std::printf("entries %zu, lost %d, out of place %d, left behind %d, .fuse_hidden %d\n",
                table.size(), lost, wrong, leftovers, hidden);
    const bool ok = table.size() == static_cast<size_t>(std::min(total, 99)) && lost == 0 &&
                    wrong == 0 && leftovers == 0;
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "store" && argc == 7)
        return Store(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    if (mode == "check" && argc == 4)
        return Check(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr,
                 "usage: %s store FOLDER OWN_FOLDER PROCESS COUNT PROCESSES\n"
                 "       %s check FOLDER TOTAL\n",
                 argv[0], argv[0]);
    return 2;
}
