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

// The player's file first, then the system's in order. Empty variables count as unset;
// XDG_CONFIG_HOME replaces ~/.config; relative and empty entries are no configuration
// folders; no home, no player's file.
TEST(StartFolders, ConfigFilesThePlayersFirstThenTheSystemsInOrder) {
    const std::string file = "/vorblin/vorblin.conf", etc = "/etc/xdg" + file;
    const struct {
        const char *home, *configHome, *configDirs;
        Lines files;
    } cases[] = {
        {"/home/p", nullptr, nullptr, {"/home/p/.config" + file, etc}},
        {"/home/p", "", "", {"/home/p/.config" + file, etc}},
        {"/home/p", "/cfg/", "/a:/b/", {"/cfg" + file, "/a" + file, "/b" + file}},
        {nullptr, "rel", "x::/c:", {"/c" + file}},
        {"", nullptr, nullptr, {etc}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConfigFiles(c.home, c.configHome, c.configDirs), c.files) << c.home;
}

TEST(StartFolders, TheOptionWinsThenTheFirstFileThatSetsTheKeyAndAnUnusableFolderIsSaid) {
    // The last key line of a file counts; an empty value says something too: no shared
    // folder, whatever a later file says.
    EXPECT_EQ(RecordsFolderSetting("# records-folder=/no\n;records-folder=/no\n\n"
                                   "records-folders=/no\nrecords-folder\nother=/no\n"),
              std::nullopt);
    EXPECT_EQ(RecordsFolderSetting("[Vorblin]\r\n  records-folder = /srv/a b \r\n"), "/srv/a b");
    EXPECT_EQ(RecordsFolderSetting("records-folder=/a\nrecords-folder=/x=y\n"), "/x=y");
    EXPECT_EQ(RecordsFolderSetting("records-folder=/a\nrecords-folder=\t"), "");
    testing::TempFolder configs, own, shared, other;
    const auto config = [&](const std::string& name, const std::string& text) {
        EXPECT_TRUE(WriteFileAtomically(configs.File(name), text));
        return configs.File(name);
    };
    const std::string player = config("player", "# mine\n"), missing = configs.File("missing");
    const std::string site = config("site", "records-folder=" + shared.path + "\n");
    const std::string last = config("last", "records-folder=" + other.path + "\n");
    const std::string optOut = config("optout", "records-folder=\n");
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
        {file, {}, own.path, file + option + "is not a folder" + kept},
        {"relative/folder", {}, own.path, "relative/folder" + option + "is not an absolute"},
    };
    for (const auto& c : cases) {
        const RecordsFolderChoice got = ChooseRecordsFolder(c.option, c.files, own.path);
        const std::string said = testing::Joined(got.problems);
        EXPECT_EQ(got.folder, c.folder) << said;
        EXPECT_TRUE(got.problems.size() == !c.said.empty() &&
                    said.find(c.said) != std::string::npos)
            << said;
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
    const std::string said = testing::Joined(hung.problems);
    EXPECT_TRUE(hung.problems.size() == 1 && said.find("/srv/hung (from --records-folder) does "
                                                       "not answer") != std::string::npos)
        << said;
}

}  // namespace
}  // namespace vorblin
