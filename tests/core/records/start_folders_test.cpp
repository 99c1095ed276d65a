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

TEST(StartFolders, TheOptionWinsThenTheFirstFileThatSetsTheKeyAndAnUnusableFolderIsSaid) {
    testing::TempFolder configs, own, shared, other;
    const auto config = [&](const std::string& name, const std::string& text) {
        EXPECT_TRUE(WriteFileAtomically(configs.File(name), text));
        return configs.File(name);
    };
    const std::string player = config("player", "# mine\n"), missing = configs.File("missing");
    const std::string site = config("site", "records-folder=" + shared.path + "\n");
    const std::string last = config("last", "records-folder=" + other.path + "\n");
    const std::string optOut = config("optout", "records-folder=\n");
    const std::string nowhere = config("nowhere", "records-folder=/no/such/folder\n");
    const std::string file = config("a-file", "x"), folder = configs.File("a-folder");
    fs::create_directory(folder);
    const std::string gone = shared.File("gone"), option = " (from --records-folder) ";
    const std::string kept = "; the hall of fame is kept in " + own.path;
    const struct {
        std::optional<std::string> option;
        Lines files;
        std::string folder, said;  // the folder chosen, and what the player is told
    } cases[] = {
        {std::nullopt, {missing, player, site, last}, shared.path, ""},
        {other.path, {site}, other.path, ""},
        // An empty option or value keeps the table with the player's files.
        {"", {site}, own.path, ""},
        {std::nullopt, {optOut, site}, own.path, ""},
        {std::nullopt, {player, missing}, own.path, ""},
        // A configuration file that cannot be read is said and skipped.
        {std::nullopt, {folder, last}, other.path, "cannot read " + folder},
        // A folder that cannot hold the table: the own folder is used instead.
        {gone, {site}, own.path, gone + option + "does not exist" + kept},
        {std::nullopt, {nowhere}, own.path, "/no/such/folder (from " + nowhere + ") does not"},
        {file, {}, own.path, file + option + "is not a folder" + kept},
        {"relative/folder", {}, own.path, "relative/folder" + option + "is not an absolute"},
    };
    for (const auto& c : cases) {
        const RecordsFolderChoice got = ChooseRecordsFolder(c.option, c.files, own.path);
        EXPECT_EQ(got.folder, c.folder) << c.said;
        ASSERT_EQ(got.problems.size(), c.said.empty() ? 0u : 1u) << c.said;
        if (!c.said.empty()) {
            EXPECT_NE(got.problems[0].find(c.said), std::string::npos) << got.problems[0];
        }
    }
    // Nothing is written into the folders that were tried.
    EXPECT_TRUE(fs::is_empty(shared.path));
    EXPECT_TRUE(fs::is_empty(other.path));
    // A share that hangs keeps the game from starting no longer than a moment; it stays the
    // folder of the table, and the store waits for it.
    const auto start = std::chrono::steady_clock::now();
    const RecordsFolderChoice hung =
        ChooseRecordsFolder("/srv/hung", {}, own.path, [](const std::string&) {
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
