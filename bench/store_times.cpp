// The game-over store, timed one by one: the re-read that decides the place, the lock, the
// fresh read, the insert and the atomic write of a full table. Median and worst of N, in
// a folder of your choice (a local disk, or a network mount: see network_store_bench.sh).
//
//   vorblin_store_times FOLDER [N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/records/hall_of_fame.h"

int main(int argc, char** argv) {
    using namespace vorblin;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [N]\n", argv[0]);
        return 2;
    }
    const int n = argc > 2 ? std::atoi(argv[2]) : 50;
    RecordTable full;
    for (int i = 0; i < 99; ++i)
        full.push_back({"Player" + std::to_string(i), 100000.0 - i * 500});
    HallOfFame fame(argv[1]);
    if (!WriteFileAtomically(fame.Path(), FormatRecords(full)))
        return 1;
    fame.Read_Records_File();
    std::vector<double> ms;
    int32_t score = 50500;
    for (int i = 0; i < n; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const auto entry = fame.Add_Record(
            score++,
            [] {
                return NameEntry{"Bench", false};
            },
            [] { return std::string(); });
        const bool stored = fame.Write_Records_File(entry);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (!stored)
            return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("game-over store in %s: median %.2f ms, worst %.2f ms of %d\n", argv[1],
                ms[ms.size() / 2], ms.back(), n);
    return 0;
}
