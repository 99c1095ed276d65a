// Where the records folder comes from at the start: the option, the config files, a fallback.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/base/text_file.h"
#include "core/records/start_folders.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(StartFolders, ConfigFilesThePlayersFirstThenTheSystemsInOrder) {
    EXPECT_EQ(ConfigFiles("/home/p", nullptr, nullptr),
              (Lines{"/home/p/.config/vorblin/vorblin.conf", "/etc/xdg/vorblin/vorblin.conf"}));
    // Empty variables count as unset; XDG_CONFIG_HOME replaces ~/.config.
    EXPECT_EQ(ConfigFiles("/home/p", "", ""), ConfigFiles("/home/p", nullptr, nullptr));
    EXPECT_EQ(
        ConfigFiles("/home/p", "/cfg/", "/a:/b/"),
        (Lines{"/cfg/vorblin/vorblin.conf", "/a/vorblin/vorblin.conf", "/b/vorblin/vorblin.conf"}));
    // Relative and empty entries are no configuration folders; no home, no player's file.
    EXPECT_EQ(ConfigFiles(nullptr, "rel", "x::/c:"), (Lines{"/c/vorblin/vorblin.conf"}));
    EXPECT_EQ(ConfigFiles("", nullptr, "/c"), (Lines{"/c/vorblin/vorblin.conf"}));
    EXPECT_EQ(ConfigFiles(nullptr, nullptr, nullptr), (Lines{"/etc/xdg/vorblin/vorblin.conf"}));
}

TEST(StartFolders, RecordsFolderSettingReadsTheLastKeyLine) {
    EXPECT_EQ(RecordsFolderSetting(""), std::nullopt);
    EXPECT_EQ(RecordsFolderSetting("# records-folder=/no\n;records-folder=/no\n\n"
                                   "records-folders=/no\nrecords-folder\nother=/no\n"),
              std::nullopt);
    EXPECT_EQ(RecordsFolderSetting("[Vorblin]\r\n  records-folder = /srv/a b \r\n"), "/srv/a b");
    EXPECT_EQ(RecordsFolderSetting("records-folder=/a\nrecords-folder=/x=y\n"), "/x=y");
    // An empty value says something too: no shared folder, whatever a system file says.
    EXPECT_EQ(RecordsFolderSetting("records-folder=/a\nrecords-folder=\t"), "");
}

struct Choice {
    std::string Config(const std::string& name, const std::string& text) {
        const std::string path = configs.File(name);
        EXPECT_TRUE(WriteFileAtomically(path, text));
        return path;
    }
    RecordsFolderChoice Choose(const std::optional<std::string>& option, const Lines& files) {
        return ChooseRecordsFolder(option, files, own.path);
    }
    testing::TempFolder configs, own, shared, other;
};

TEST(StartFolders, TheOptionWinsThenTheFirstFileThatSetsTheKey) {
    Choice c;
    const std::string player = c.Config("player", "# mine\n");
    const std::string site = c.Config("site", "records-folder=" + c.shared.path + "\n");
    const std::string last = c.Config("last", "records-folder=" + c.other.path + "\n");
    const std::string missing = c.configs.File("missing");

    RecordsFolderChoice got = c.Choose(std::nullopt, {missing, player, site, last});
    EXPECT_EQ(got.folder, c.shared.path);
    EXPECT_TRUE(got.problems.empty());
    EXPECT_EQ(c.Choose(c.other.path, {site}).folder, c.other.path);
    // An empty option or value keeps the table with the player's files.
    EXPECT_EQ(c.Choose("", {site}).folder, c.own.path);
    EXPECT_EQ(c.Choose(std::nullopt, {c.Config("optout", "records-folder=\n"), site}).folder,
              c.own.path);
    EXPECT_EQ(c.Choose(std::nullopt, {player, missing}).folder, c.own.path);

    // A configuration file that cannot be read is said and skipped.
    fs::create_directory(c.configs.File("a-folder"));
    got = c.Choose(std::nullopt, {c.configs.File("a-folder"), last});
    EXPECT_EQ(got.folder, c.other.path);
    ASSERT_EQ(got.problems.size(), 1u);
    EXPECT_NE(got.problems[0].find(c.configs.File("a-folder")), std::string::npos);
    // Nothing is written into the folders that were tried.
    EXPECT_TRUE(fs::is_empty(c.shared.path));
    EXPECT_TRUE(fs::is_empty(c.other.path));
}

TEST(StartFolders, AFolderThatCannotHoldTheTableIsSaidAndTheOwnFolderUsed) {
    Choice c;
    const std::string file = c.shared.File("a-file");
    ASSERT_TRUE(WriteFileAtomically(file, "x"));
    const std::string site = c.Config("site", "records-folder=/no/such/folder\n");
    const struct {
        std::optional<std::string> option;
        Lines files;
        std::string said;
    } cases[] = {
        {c.shared.File("gone"),
         {site},
         c.shared.File("gone") + " (from --records-folder) does not exist"},
        {std::nullopt, {site}, "/no/such/folder (from " + site + ") does not exist"},
        {file, {}, file + " (from --records-folder) is not a folder"},
        {"relative/folder", {}, "relative/folder (from --records-folder) is not an absolute path"},
    };
    for (const auto& each : cases) {
        const RecordsFolderChoice got = c.Choose(each.option, each.files);
        EXPECT_EQ(got.folder, c.own.path) << each.said;
        ASSERT_EQ(got.problems.size(), 1u) << each.said;
        EXPECT_NE(got.problems[0].find(each.said), std::string::npos) << got.problems[0];
        EXPECT_NE(got.problems[0].find("kept in " + c.own.path), std::string::npos);
    }
    // A share that hangs keeps the game from starting no longer than a moment; it stays the
    // folder of the table, and the store waits for it.
    const auto start = std::chrono::steady_clock::now();
    const RecordsFolderChoice hung =
        ChooseRecordsFolder("/srv/hung", {}, c.own.path, [](const std::string&) {
            std::this_thread::sleep_for(kFolderPatience * 3);
            return std::optional<std::string>();
        });
    EXPECT_LT(std::chrono::steady_clock::now() - start, kFolderPatience * 2);
    EXPECT_EQ(hung.folder, "/srv/hung");
    ASSERT_EQ(hung.problems.size(), 1u);
    EXPECT_NE(hung.problems[0].find("/srv/hung (from --records-folder) does not answer"),
              std::string::npos)
        << hung.problems[0];
}

}  // namespace
}  // namespace vorblin
