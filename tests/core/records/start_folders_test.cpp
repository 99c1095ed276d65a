// Where the records folder comes from at the start: the option, the config files, a fallback.
#include <gtest/gtest.h>

#include "core/records/start_folders.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using Lines = std::vector<std::string>;

// The player's file first, then the system's in order. Empty variables count as unset;
// XDG_CONFIG_HOME replaces ~/.config, and XDG_CONFIG_DIRS the system's folder (an empty entry
// there names none).
TEST(StartFolders, ConfigFilesThePlayersFirstThenTheSystemsInOrder) {
    const std::string file = "/vorblin/vorblin.conf", etc = "/etc/xdg" + file;
    const struct {
        const char *home, *configHome, *configDirs;
        Lines files;
    } cases[] = {
        {"/home/p", "", "", {"/home/p/.config" + file, etc}},
        {"/home/p", "/cfg/", "/a::/b/", {"/cfg" + file, "/a" + file, "/b" + file}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConfigFiles(c.home, c.configHome, c.configDirs), c.files) << c.configDirs;
}

// The option wins, then the first file that sets the key, by its last key line; an empty
// option or value keeps the table with the player's files. A folder that cannot hold the
// table is said.
TEST(StartFolders, TheOptionWinsThenTheFirstFileThatSetsTheKeyAndAnUnusableFolderIsSaid) {
    testing::TempFolder configs, own, shared, other;
    const auto config = [&](const std::string& name, const std::string& text) {
        EXPECT_TRUE(WriteFileAtomically(configs.File(name), text));
        return configs.File(name);
    };
    const std::string player = config("player", "# records-folder=/no\nrecords-folders=/no\n");
    const std::string site = config(
        "site", "[Vorblin]\r\n records-folder = /x \r\nrecords-folder= " + shared.path + " \n");
    const std::string last = config("last", "records-folder=" + other.path + "\n");
    const std::string optOut = config("optout", "records-folder=/x\nrecords-folder=\t\n");
    const std::string gone = shared.File("gone");
    const std::string named = "the records folder ", option = " (from --records-folder) ";
    const std::string kept = "; the hall of fame is kept in " + own.path;
    const struct {
        std::optional<std::string> option;
        Lines files;
        std::string folder, said;  // the folder chosen, and the start of what the player is told
    } cases[] = {
        {std::nullopt, {configs.File("missing"), player, site, last}, shared.path, ""},
        {other.path, {site}, other.path, ""},
        {"", {site}, own.path, ""},
        {std::nullopt, {optOut, site}, own.path, ""},
        {gone, {site}, own.path, named + gone + option + "does not exist" + kept},
        {"relative", {}, own.path, named + "relative" + option + "is not an absolute"},
    };
    for (const auto& c : cases) {
        const RecordsFolderChoice got = ChooseRecordsFolder(c.option, c.files, own.path);
        const std::string said = testing::Joined(got.problems);
        EXPECT_EQ(got.folder, c.folder) << said;
        EXPECT_EQ(c.said.empty() ? said : said.substr(0, c.said.size()), c.said);
    }
}

}  // namespace
}  // namespace vorblin
