// One machine of the shared-table test over a real network share (share_test.sh): stores
// finished games through the folder it is given, starts once more after all have stopped, or
// checks the table the machines left.
//
//   vorblin_store_driver store FOLDER OWN_FOLDER PROCESS COUNT PROCESSES
//   vorblin_store_driver settle FOLDER OWN_FOLDER
//   vorblin_store_driver check FOLDER TOTAL

#include <cstdlib>

#include "store_games.h"

int main(int argc, char** argv) {
    using namespace vorblin::testing;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "store" && argc == 7)
        return StoreGames(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]),
                          std::atoi(argv[6]));
    if (mode == "settle" && argc == 4)
        return Settle(argv[2], argv[3]);
    if (mode == "check" && argc == 4)
        return CheckTable(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr,
                 "usage: %s store FOLDER OWN_FOLDER PROCESS COUNT PROCESSES\n"
                 "       %s settle FOLDER OWN_FOLDER\n"
                 "       %s check FOLDER TOTAL\n",
                 argv[0], argv[0], argv[0]);
    return 2;
}
