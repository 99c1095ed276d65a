#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "records/hall_of_fame.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

// Eight machines sharing the folder each finish 50 games one after another and store them
// the way the game-over flow does; the scores 1 to 400 each come once, scattered.
TEST(RecordsConcurrency, EightMachinesStoringAtOnceLoseNoResult) {
    const auto score = [](int process, int k) { return (k * 8 + process) * 263 % 400 + 1; };
    const auto name = [](int process, int k) {
        return "p" + std::to_string(process) + "-" + std::to_string(k);
    };
    testing::TempFolder folder;
    HallOfFame(folder.path).Read_Records_File();  // the default table
    std::vector<pid_t> children;
    for (int p = 0; p < 8; ++p) {
        children.push_back(fork());
        ASSERT_GE(children.back(), 0);
        if (children.back() != 0)
            continue;
        HallOfFame fame(folder.path);
        int failures = 0;
        for (int k = 0; k < 50; ++k) {
            fame.Read_Records_File();  // the game's start
            const auto ask = [&] { return NameEntry{name(p, k), false}; };
            const auto entry = fame.Add_Record(score(p, k), ask, [] { return "?"; });
            failures += fame.Write_Records_File(entry) ? 0 : 1;
        }
        _exit(std::min(failures, 100));
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed stores: " << status;
    }
    // Exactly the 99 best of the 400 results, best first, each name with its own score.
    RecordTable expected(99);
    for (int p = 0; p < 8; ++p)
        for (int k = 0; k < 50; ++k)
            if (score(p, k) > 400 - 99)
                expected[400 - score(p, k)] = {name(p, k), double(score(p, k))};
    HallOfFame fame(folder.path);
    fame.Read_Records_File();
    EXPECT_EQ(fame.Table, expected);
    // No lock and no temporary file left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                            std::filesystem::directory_iterator{}),
              1);
}

}  // namespace
}  // namespace vorblin
