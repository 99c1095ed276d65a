#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "records/hall_of_fame.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

constexpr int kProcesses = 8;
constexpr int kResultsEach = 50;

// Scores 1 to 400, each once, in a scattered order.
int32_t ScoreOf(int process, int k) {
    return (k * kProcesses + process) * 263 % (kProcesses * kResultsEach) + 1;
}

// One machine finishing games one after another, the way the game-over flow stores them.
int Player(const std::string& folder, int process) {
    HallOfFame fame(folder);
    int failures = 0;
    for (int k = 0; k < kResultsEach; ++k) {
        fame.Read_Records_File();  // the game's start
        const std::string name = "p" + std::to_string(process) + "-" + std::to_string(k);
        const auto entry = fame.Add_Record(
            ScoreOf(process, k),
            [&] {
                return NameEntry{name, false};
            },
            [] { return std::string("05.12.2026"); });
        if (!fame.Write_Records_File(entry))
            ++failures;
    }
    return failures;
}

TEST(RecordsConcurrency, EightMachinesStoringAtOnceLoseNoResult) {
    testing::TempFolder folder;
    HallOfFame(folder.path).Read_Records_File();  // the default table
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            _exit(std::min(Player(folder.path, p), 100));
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed stores: " << status;
    }

    // Exactly the 99 best of the 400 results, best first, each name with its own score.
    RecordTable expected;
    for (int32_t score = 400; score > 400 - 99; --score)
        for (int p = 0; p < kProcesses; ++p)
            for (int k = 0; k < kResultsEach; ++k)
                if (ScoreOf(p, k) == score)
                    expected.push_back(
                        {"p" + std::to_string(p) + "-" + std::to_string(k), double(score)});
    HallOfFame fame(folder.path);
    fame.Read_Records_File();
    EXPECT_EQ(fame.Table, expected);
    EXPECT_FALSE(std::filesystem::exists(fame.Path() + ".lock"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                            std::filesystem::directory_iterator{}),
              1);  // no temporary file left behind
}

}  // namespace
}  // namespace vorblin
