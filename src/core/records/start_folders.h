#pragma once
// Which folder holds the hall of fame that installed copies of the game share.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorblin {

// Below each configuration folder of the XDG base directories.
inline constexpr char kConfigFileName[] = "vorblin/vorblin.conf";
inline constexpr char kRecordsFolderKey[] = "records-folder";

// The configuration files that may name the records folder, the most important first: the
// player's own ($XDG_CONFIG_HOME, by default ~/.config), then each folder of
// $XDG_CONFIG_DIRS (by default /etc/xdg) in its order. Relative folders in these variables
// are ignored, as the base directories ask. Null stands for an unset variable.
std::vector<std::string> ConfigFiles(const char* home, const char* configHome,
                                     const char* configDirs);

// What a configuration file's text says of the records folder: the value of its last
// "records-folder = DIR" line (blanks around both ignored; "#" and ";" lines are comments,
// "[group]" lines are allowed). An empty value is an answer too: no shared folder.
std::optional<std::string> RecordsFolderSetting(std::string_view text);

struct RecordsFolderChoice {
    std::string folder;
    // What the player or the administrator must hear about (a folder that cannot be used,
    // a configuration file that cannot be read), one message a line.
    std::vector<std::string> problems;
};

// Why a folder cannot hold the shared table (not absolute, missing, not a folder, not
// readable or writable), or nothing when it can.
std::optional<std::string> UsableFolderProblem(const std::string& folder);
using FolderCheck = std::function<std::optional<std::string>(const std::string&)>;
// How long the start waits for a named folder to answer.
inline constexpr std::chrono::milliseconds kFolderPatience{2000};

// The folder of the hall of fame. The command line's folder wins, then the first
// configuration file that sets the key; a folder named there must be absolute, must exist
// and must be readable and writable (the table is re-read and rewritten at every game
// over), otherwise it is reported and fallback is used, as it is when nothing names one.
// A folder that does not answer within kFolderPatience (a share that hangs) is kept, and
// reported: the store waits for it off the window's thread.
RecordsFolderChoice ChooseRecordsFolder(const std::optional<std::string>& option,
                                        const std::vector<std::string>& configFiles,
                                        const std::string& fallback,
                                        const FolderCheck& check = UsableFolderProblem);

}  // namespace vorblin
