#include "core/records/start_folders.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/base/text_file.h"
#include "core/base/text_scan.h"
#include "core/records/share_worker.h"

namespace vorblin {

namespace fs = std::filesystem;

// Tried, not judged from permission bits: ACLs, read-only mounts and network shares have
// the last word.
std::optional<std::string> UsableFolderProblem(const std::string& folder) {
    if (!fs::path(folder).is_absolute())
        return "is not an absolute path";
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status))
        return "does not exist";
    if (!fs::is_directory(status))
        return "is not a folder";
    if (DIR* dir = opendir(folder.c_str()); dir != nullptr) {
        closedir(dir);
    } else {
        return std::string("cannot be read (") + std::strerror(errno) + ")";
    }
    std::string probe = JoinPath(folder, ".vorblin-write-test-XXXXXX");
    const int fd = mkstemp(probe.data());
    if (fd < 0)
        return std::string("cannot be written (") + std::strerror(errno) + ")";
    close(fd);
    unlink(probe.c_str());
    return std::nullopt;
}

std::vector<std::string> ConfigFiles(const char* home, const char* configHome,
                                     const char* configDirs) {
    std::vector<std::string> files;
    const auto add = [&files](std::string_view folder) {
        if (!folder.empty() && folder.front() == '/')
            files.push_back(JoinPath(std::string(folder), kConfigFileName));
    };
    if (configHome != nullptr && *configHome != '\0')
        add(configHome);
    else if (home != nullptr && *home != '\0')
        add(JoinPath(home, ".config"));
    std::string_view dirs =
        configDirs != nullptr && *configDirs != '\0' ? configDirs : std::string_view("/etc/xdg");
    while (true) {
        const size_t colon = dirs.find(':');
        add(dirs.substr(0, colon));
        if (colon == std::string_view::npos)
            break;
        dirs.remove_prefix(colon + 1);
    }
    return files;
}

std::optional<std::string> RecordsFolderSetting(std::string_view text) {
    std::optional<std::string> value;
    for (const std::string& raw : SplitLines(text)) {
        // Comments and group lines need no rule of their own: their key is never this one.
        const std::string_view line = raw;
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos && Trim(line.substr(0, equals)) == kRecordsFolderKey)
            value = std::string(Trim(line.substr(equals + 1)));
    }
    return value;
}

RecordsFolderChoice ChooseRecordsFolder(const std::optional<std::string>& option,
                                        const std::vector<std::string>& configFiles,
                                        const std::string& fallback, const FolderCheck& check) {
    RecordsFolderChoice choice{fallback, {}};
    std::optional<std::string> named = option;
    std::string source = "--records-folder";
    for (size_t i = 0; !named && i < configFiles.size(); ++i) {
        const FileBytes file = ReadFileBytes(configFiles[i]);
        if (file.status == ReadStatus::Unreadable)
            choice.problems.push_back("cannot read " + configFiles[i] + "; it is skipped");
        if (file.status != ReadStatus::Ok)
            continue;
        named = RecordsFolderSetting(file.bytes);
        source = configFiles[i];
    }
    if (!named || named->empty())
        return choice;
    // Looked at off this thread: a share that hangs must not keep the game from starting.
    // One that does not answer is kept all the same; finished games wait until it does.
    auto why = std::make_shared<std::optional<std::string>>();
    ShareWorker look;
    if (!look.Run([why, check, folder = *named] { *why = check(folder); }, kFolderPatience)) {
        choice.problems.push_back("the records folder " + *named + " (from " + source +
                                  ") does not answer; finished games wait in the player's own "
                                  "folder until it does");
        choice.folder = *named;
        return choice;
    }
    if (*why) {
        choice.problems.push_back("the records folder " + *named + " (from " + source + ") " +
                                  **why + "; the hall of fame is kept in " + fallback);
        return choice;
    }
    choice.folder = *named;
    return choice;
}

}  // namespace vorblin
