#pragma once
// A shared records folder that misbehaves on request, and a hall of fame wired to it.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/records/hall_of_fame.h"
#include "support/fakes.h"

namespace vorblin::testing {

// `hook` sees every call first, by its name ("open" to write or create, "read", "rename",
// "unlink") and path, and may delay it, end the process, or fail it with the errno it
// returns. A rename can land with its reply lost; reads of the table can see only its first
// `cutTo` bytes, as a client that believes an earlier size; the share's clock can be off
// this machine's.
struct FaultShare final : ShareOps {
    using Hook = std::function<int(std::string_view, const std::string&)>;
    explicit FaultShare(Hook h = nullptr) : hook(std::move(h)) {}
    int Open(const std::string& path, int flags, mode_t mode) override {
        const bool reading = (flags & O_ACCMODE) == O_RDONLY;
        if (const int e = Call(reading ? "read" : "open", path))
            return Fail(e);
        if (reading && cutReads > 0 && path.ends_with(kRecordsFileName)) {
            --cutReads;
            const int fd = memfd_create("cut", MFD_CLOEXEC);
            WriteAll(fd, ReadFileBytes(path).bytes.substr(0, cutTo));
            lseek(fd, 0, SEEK_SET);
            return fd;
        }
        // "write": made where asked, but open for reading only, so that every write fails.
        const bool refuse = !reading && Call("write", path);
        return ShareOps::Open(path, refuse ? (flags & ~O_ACCMODE) | O_RDONLY : flags, mode);
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (const int e = Call("rename", to))
            return Fail(e);
        const int rc = ShareOps::Rename(from, to);
        return rc == 0 && loseRenameReply ? Fail(EIO) : rc;
    }
    int Unlink(const std::string& path) override {
        const int e = Call("unlink", path);
        return e ? Fail(e) : ShareOps::Unlink(path);
    }
    timespec Now() override {
        timespec now = ShareOps::Now();
        now.tv_sec += skew;
        return now;
    }
    int Call(const char* op, const std::string& path) { return hook ? hook(op, path) : 0; }
    static int Fail(int e) {
        errno = e;
        return -1;
    }
    Hook hook;
    bool loseRenameReply = false;
    int cutReads = 0;
    size_t cutTo = 0;
    long skew = 0;
};

inline RecordTable Stored(const std::string& folder) {
    return ParseRecords(ReadFileBytes(JoinPath(folder, kRecordsFileName)).bytes);
}

// How often each name stands in the table, a "name=count" line each.
inline std::string Counts(const RecordTable& table, std::initializer_list<std::string> names) {
    std::string counts;
    for (const std::string& name : names)
        counts += Show(name, std::ranges::count(table, name, &RecordEntry::Name));
    return counts;
}

inline std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::ranges::sort(names);
    return names;
}

// A hall of fame in a shared folder of its own, through a FaultShare; what the player is
// told is collected.
struct Rig {
    Rig() : fame(share.path, own.path, fault, [this](const std::string& line) { told += line; }) {
        fame.LockWait = std::chrono::milliseconds(300);
        fame.ConfirmAfter = std::chrono::milliseconds(0);
        fame.Read_Records_File();
    }
    bool Heard(const std::string& what) const { return told.find(what) != std::string::npos; }
    // Another machine's game, or this one's after a new start, on the real share.
    HallOfFame Another(const std::string& ownFolder) {
        return HallOfFame(share.path, ownFolder, RealShare(), [](const std::string&) {});
    }
    TempFolder share, own;
    FaultShare fault;
    std::string told;
    HallOfFame fame;
};

}  // namespace vorblin::testing
