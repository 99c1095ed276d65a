#include "core/records/shared_table.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/records/file_lock.h"

namespace vorblin {

SharedTable::SharedTable(std::string folder, PendingResults& pending, ShareOps& ops,
                         Reporter report)
    : folder_(std::move(folder)), ops_(ops), report_(std::move(report)), pending_(pending) {}

std::string SharedTable::FolderProblem() {
    struct stat here {};
    struct stat parent {};
    // "/." and "/.." follow a folder that is itself a symbolic link, as the player meant.
    if (ops_.Stat(folder_ + "/.", here) != 0)
        return "cannot be reached (" + std::string(std::strerror(errno)) + ")";
    // A folder that is a mount point is remembered as one: when the share is not mounted,
    // the bare folder beneath must not take a result that the share never sees.
    if (ops_.Stat(folder_ + "/..", parent) == 0 && !pending_.OwnFolder().empty()) {
        const bool mountPoint = here.st_dev != parent.st_dev;
        const std::string mounts = JoinPath(pending_.OwnFolder(), kMountsFileName);
        const std::vector<std::string> known = SplitLines(ReadFileBytes(mounts).bytes);
        const bool wasMountPoint = std::find(known.begin(), known.end(), folder_) != known.end();
        if (mountPoint && !wasMountPoint) {
            std::string text;
            for (const std::string& k : known)
                text += k + "\n";
            WriteFileAtomically(mounts, text + folder_ + "\n");
        } else if (!mountPoint && wasMountPoint) {
            return "is not mounted: the share is mounted there otherwise";
        }
    }
    // In a folder with the sticky bit only a file's owner may replace it.
    struct stat table {};
    if ((here.st_mode & S_ISVTX) != 0 && ops_.Stat(Path(), table) == 0 && table.st_uid != geteuid())
        return "has the sticky bit, so only the player who wrote the table last may replace "
               "it; clear the bit (chmod -t) and let the players' group write the folder";
    return {};
}

FileBytes SharedTable::ReadWhole(std::string& why, int patienceMs) {
    Backoff wait(50, patienceMs, patienceMs);
    for (bool first = true;; first = false) {
        FileBytes file = ReadShared(ops_, Path(), &why);
        if (file.status != ReadStatus::Ok)
            return file;
        const Wholeness whole = CheckWhole(file.bytes);
        const bool doubtful = whole == Wholeness::Short || whole == Wholeness::Unended ||
                              (whole == Wholeness::Other && first);
        if (!doubtful)
            return file;
        if (wait.Sleep())
            continue;
        if (whole == Wholeness::Other)
            return file;  // edited by hand: taken as it stands
        // Never written over: a cut read would lose every entry behind the cut.
        why = whole == Wholeness::Short
                  ? "reads shorter than its first score line says (a network client's "
                    "stale size, or a hand edit: remove the \" ~...\" after the first "
                    "score to keep one)"
                  : "ends inside a line (cut short, or made by hand without a line end "
                    "at its end: add one)";
        return {ReadStatus::Unreadable, {}};
    }
}

TableState SharedTable::Finish(TableState state) {
    state.waiting.clear();
    state.confirming = false;
    for (const Waiting& w : pending_.For(folder_)) {
        if (!w.seen)
            state.waiting.push_back(w.entry);
        state.confirming = state.confirming || pending_.Ripe(w, ConfirmAfter);
    }
    state.stored = state.waiting.empty();
    return state;
}

TableState SharedTable::Read() {
    TableState state;
    if (const std::string problem = FolderProblem(); !problem.empty()) {
        report_("the hall of fame in " + folder_ + " " + problem);
        state.status = ReadStatus::Unreadable;
        return Finish(state);
    }
    std::string why;
    FileBytes file = ReadWhole(why, 1000);
    if (file.status == ReadStatus::Missing) {
        // Made under the lock, and only where nothing is: a file server may show the table
        // missing for a moment while another client replaces it (SMB removes, then renames).
        FileLock lock(Path() + ".lock", LockWait, StaleAfter, ops_);
        if (lock.Held()) {
            file = ReadWhole(why, 1000);
            if (file.status == ReadStatus::Missing) {
                const std::string temp = Path() + ".tmp" + NewToken();
                const int fd = CreateShared(ops_, temp);
                const bool written = fd >= 0 && WriteAll(fd, kDefaultRecordsFile);
                if (fd >= 0 && (close(fd) != 0 || !written || !lock.StillHeld() ||
                                RenamePatiently(ops_, temp, Path()) != 0))
                    UnlinkPatiently(ops_, temp);
                file = ReadWhole(why, 1000);
            }
        }
        if (file.status == ReadStatus::Missing)
            file = {ReadStatus::Ok, std::string(kDefaultRecordsFile)};
    }
    state.status = file.status;
    if (file.status == ReadStatus::Ok) {
        state.table = ParseRecords(file.bytes);
        pending_.Settle(folder_, state.table, std::nullopt);
    } else {
        report_("the hall of fame " + Path() + " cannot be used (" + why +
                "); it is shown empty and never written over");
    }
    return Finish(state);
}

TableState SharedTable::Store() {
    TableState state;
    state.status = ReadStatus::Unreadable;
    const auto fail = [&](const std::string& reason) {
        report_("a finished game could not be stored in " + folder_ + ": " + reason +
                "; it waits in the player's own folder for the next game");
        return Finish(state);
    };
    if (const std::string problem = FolderProblem(); !problem.empty())
        return fail("the folder " + problem);
    FileLock lock(Path() + ".lock", LockWait, StaleAfter, ops_);
    if (!lock.Held())
        return fail(lock.Impossible() ? "no file can be made there"
                                      : "another game held the lock all the while");
    std::string why;
    const FileBytes file = ReadWhole(why, 3000);
    if (file.status == ReadStatus::Unreadable)
        return fail("the table cannot be used (" + why + "), and is never written over");
    const RecordTable table =
        ParseRecords(file.status == ReadStatus::Ok ? file.bytes : kDefaultRecordsFile);
    pending_.Settle(folder_, table, ConfirmAfter);
    state.status = ReadStatus::Ok;
    state.table = table;
    RecordTable merged = table;
    for (const Waiting& w : pending_.For(folder_))
        if (std::none_of(table.begin(), table.end(),
                         [&](const RecordEntry& e) { return e.Id == w.entry.Id; }))
            InsertRecord(merged, w.entry);
    // Written also when nothing new came: a table of an older version gets its mark.
    {
        const std::string temp = Path() + ".tmp" + NewToken();
        const int fd = CreateShared(ops_, temp);
        if (fd < 0)
            return fail(std::string("no new table can be made there (") + std::strerror(errno) +
                        ")");
        const std::string bytes = FormatRecords(merged);
        bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
        const int error = errno;
        ok = close(fd) == 0 && ok;
        if (!ok) {
            UnlinkPatiently(ops_, temp);
            return fail(std::string("the new table could not be written (") + std::strerror(error) +
                        ")");
        }
        // Slower than the stale limit, this store may have lost the lock to another that
        // has stored since: what it read is old, and must not be written over that.
        if (!lock.StillHeld()) {
            UnlinkPatiently(ops_, temp);
            return fail(
                "the lock was no longer this game's when the table was to be written "
                "(another game took it over, or the share gave it to two at once)");
        }
        if (RenamePatiently(ops_, temp, Path()) != 0) {
            const int refused = errno;
            UnlinkPatiently(ops_, temp);
            // The reply may have been lost after the server renamed: the read below tells.
            report_("the table in " + folder_ + " could not be replaced (" +
                    std::strerror(refused) + ")");
        }
    }
    // What landed, as the server has it now.
    const FileBytes after = ReadWhole(why, 3000);
    if (after.status == ReadStatus::Ok) {
        state.table = ParseRecords(after.bytes);
        pending_.Settle(folder_, state.table, ConfirmAfter);
    }
    RemoveLeftovers(lock.ShareNowNs());
    state = Finish(state);
    if (!state.stored)
        report_("a finished game could not be stored in " + folder_ +
                "; it waits in the player's own folder for the next game");
    return state;
}

void SharedTable::RemoveLeftovers(int64_t shareNowNs) {
    DIR* dir = opendir(folder_.c_str());
    if (!dir)
        return;
    const std::string prefix = std::string(kRecordsFileName) + ".";
    std::vector<std::string> names;
    while (const dirent* d = readdir(dir)) {
        const std::string_view name = d->d_name;
        if (!name.starts_with(prefix))
            continue;
        const std::string_view rest = name.substr(prefix.size());
        // Temporary tables, the fresh reads of older versions, lock files of one's own and
        // clock probes; never the lock itself, nor its breaker's name alone.
        if (rest.starts_with("tmp") || rest.starts_with("read") ||
            (rest.starts_with("lock.") && rest != "lock.break"))
            names.emplace_back(name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        const std::string path = JoinPath(folder_, name);
        struct stat info {};
        if (ops_.Stat(path, info) == 0 &&
            shareNowNs - Ns(info.st_mtim) > std::chrono::nanoseconds(LeftoverAge).count())
            UnlinkPatiently(ops_, path);
    }
}

}  // namespace vorblin
