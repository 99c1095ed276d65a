// The shared hall of fame against what a share, a crash or a player can do to it: every
// fault heals at the next read, and no result is lost or counted twice.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

#include "core/base/text_file.h"
#include "core/records/file_lock.h"
#include "core/records/hall_of_fame.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// A share that misbehaves on request. `hook` sees every call first, by its name ("open" to
// write or create, "read", "rename", "unlink", "stat") and path, and may delay it, end the process,
// or fail it with the errno it returns. A rename can happen with its reply lost; reads of the table
// can see only the first bytes of it, as a client that believes an earlier size; the folder can
// look like a mount point or like the bare folder beneath one.
struct FaultShare final : ShareOps {
    int Open(const std::string& path, int flags, mode_t mode) override {
        const bool reading = (flags & O_ACCMODE) == O_RDONLY;
        if (const int e = Hook(reading ? "read" : "open", path))
            return Fail(e);
        if (cutReads > 0 && path.ends_with(kRecordsFileName) && reading) {
            --cutReads;
            const std::string bytes = ReadFileBytes(path).bytes.substr(0, cutTo);
            const int fd = memfd_create("cut", MFD_CLOEXEC);
            if (!WriteAll(fd, bytes))
                return Fail(EIO);
            lseek(fd, 0, SEEK_SET);
            return fd;
        }
        const int fd = ShareOps::Open(path, flags, mode);
        if (fd < 0 || !failWrites || reading || path.find(".tmp") == std::string::npos)
            return fd;
        close(fd);  // made, but every write to it fails, as on a full share
        return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (const int e = Hook("rename", to))
            return Fail(e);
        const int rc = ShareOps::Rename(from, to);
        return rc == 0 && loseRenameReply ? Fail(EIO) : rc;
    }
    int Unlink(const std::string& path) override {
        const int e = Hook("unlink", path);
        return e ? Fail(e) : ShareOps::Unlink(path);
    }
    int Stat(const std::string& path, struct stat& info) override {
        if (const int e = Hook("stat", path))
            return Fail(e);
        const int rc = ShareOps::Stat(path, info);
        if (rc == 0 && mounted.has_value() && path.ends_with("/.."))
            info.st_dev += *mounted ? 1 : 0;  // the folder is on a device of its own
        return rc;
    }
    timespec Now() override {
        timespec now = ShareOps::Now();
        now.tv_sec += skew;
        return now;
    }
    int Hook(const char* op, const std::string& path) { return hook ? hook(op, path) : 0; }
    static int Fail(int e) {
        errno = e;
        return -1;
    }
    std::function<int(std::string_view, const std::string&)> hook;
    bool loseRenameReply = false, failWrites = false;
    int cutReads = 0;
    size_t cutTo = 0;
    std::optional<bool> mounted;
    long skew = 0;
};

// What the player is told, collected.
struct Heard {
    void operator()(const std::string& line) {
        const std::lock_guard<std::mutex> guard(mutex);
        lines += line + "\n";
    }
    std::string Text() {
        const std::lock_guard<std::mutex> guard(mutex);
        return lines;
    }
    std::mutex mutex;
    std::string lines;
};

RecordTable Stored(const std::string& folder) {
    return ParseRecords(ReadFileBytes(JoinPath(folder, kRecordsFileName)).bytes);
}

size_t Times(const RecordTable& table, std::string_view name) {
    return static_cast<size_t>(std::count_if(table.begin(), table.end(),
                                             [&](const RecordEntry& e) { return e.Name == name; }));
}

std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Rig {
    Rig() : fame(share.path, own.path, fault, std::ref(heard)) {
        fame.LockWait = milliseconds(300);
        fame.StaleAfter = milliseconds(2000);
    }
    HallOfFame Another() { return HallOfFame(share.path, own2.path, RealShare(), std::ref(heard)); }
    testing::TempFolder share, own, own2;
    FaultShare fault;
    Heard heard;
    HallOfFame fame;
};

// A lock file's text: token, the server's time it was made, pid, host and boot.
std::string LockText(int64_t madeSecondsAgo, long pid, const std::string& host,
                     const std::string& boot) {
    char text[160];
    std::snprintf(text, sizeof text, "0123456789abcdef %012lld 000000000 %010ld %s %s\n",
                  static_cast<long long>(time(nullptr) - madeSecondsAgo), pid, host.c_str(),
                  boot.c_str());
    return text;
}

TEST(SharedTableLock, WaitsForALiveOwnerTakesOverADeadOrStaleOneByTheSharesClock) {
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    const std::string host = FileLock::HostName(), boot = FileLock::BootId();
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const struct {
        std::string text;
        long skew;  // this machine's clock off the share's
        bool taken;
    } cases[] = {
        {LockText(0, getpid(), host, boot), 0, false},        // alive
        {LockText(0, dead, host, boot), 0, true},             // gone from this very machine
        {LockText(0, dead, host, "another-boot"), 0, false},  // the same name elsewhere
        {LockText(0, dead, "elsewhere", boot), 0, false},
        {"elsewhere 1\n", 0, false},  // an older version's, fresh by the file's time
        {host + " " + std::to_string(dead) + "\n", 0, false},  // nor judged by its pid
        {LockText(20, getpid(), host, boot), 0, true},         // older than the limit
        {LockText(1, 1, "elsewhere", ""), 3600, false},        // fresh, whatever this clock says
        {LockText(1, 1, "elsewhere", ""), -3600, false},
        {LockText(20, 1, "elsewhere", ""), 3600, true},
        {LockText(20, 1, "elsewhere", ""), -3600, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileAtomically(lock, c.text));
        FaultShare fault;
        fault.skew = c.skew;
        const FileLock tried(lock, milliseconds(100), milliseconds(8000), fault);
        EXPECT_EQ(tried.Held(), c.taken) << c.text << " with this clock " << c.skew << " s off";
        EXPECT_EQ(Files(dir.path).size(), 1u) << "a breaker or a clock probe left behind";
    }
    // An old lock being broken right now (a fresh breaker beside it) is left to whoever
    // breaks it, until the breaker is old too.
    ASSERT_TRUE(WriteFileAtomically(lock, LockText(3600, 1, "elsewhere", "")));
    ASSERT_TRUE(WriteFileAtomically(lock + ".break", LockText(0, 1, "elsewhere", "")));
    EXPECT_FALSE(FileLock(lock, milliseconds(100)).Held());
    ASSERT_TRUE(WriteFileAtomically(lock + ".break", LockText(3600, 1, "elsewhere", "")));
    {
        FileLock taken(lock, milliseconds(100));
        EXPECT_TRUE(taken.Held());
        EXPECT_TRUE(taken.StillHeld());
        // Then thought stale elsewhere and taken over there: no longer ours, nor ours to remove.
        ASSERT_TRUE(WriteFileAtomically(lock, LockText(0, 1, "elsewhere", "")));
        EXPECT_FALSE(taken.StillHeld());
    }
    EXPECT_EQ(Files(dir.path), std::vector<std::string>{"VorblinFathers.txt.lock"});
}

TEST(SharedTableLock, WhatAFailedCreateSaysOfTheFolderDecidesBetweenWaitingAndGivingUp) {
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    const size_t fds = Files("/proc/self/fd").size();
    // No lock to be seen after the error: a folder that cannot take one is given up at once;
    // a lock that came and went between the two looks is waited for.
    const struct {
        int error;
        bool impossible;
    } cases[] = {{EROFS, true},   {EACCES, true},  {ENOENT, true}, {ENOSPC, true}, {EDQUOT, true},
                 {ENOTDIR, true}, {EEXIST, false}, {EPERM, false}, {EBUSY, false}, {EINTR, false}};
    for (const auto& c : cases) {
        FaultShare fault;
        fault.hook = [&](std::string_view op, const std::string& path) {
            return op == "open" && path == lock ? c.error : 0;
        };
        const auto start = std::chrono::steady_clock::now();
        const FileLock tried(lock, milliseconds(150), milliseconds(8000), fault);
        const bool waited = std::chrono::steady_clock::now() - start >= milliseconds(150);
        EXPECT_FALSE(tried.Held()) << strerror(c.error);
        EXPECT_EQ(tried.Impossible(), c.impossible) << strerror(c.error);
        EXPECT_EQ(waited, !c.impossible) << strerror(c.error);
        EXPECT_TRUE(Files(dir.path).empty()) << strerror(c.error);
    }
    // An error that hides an existing lock (SFTP says "permission denied") is someone's lock.
    ASSERT_TRUE(WriteFileAtomically(lock, LockText(0, getpid(), "x", "")));
    FaultShare sftp;
    sftp.hook = [&](std::string_view op, const std::string& path) {
        return op == "open" && path == lock ? EPERM : 0;
    };
    EXPECT_FALSE(FileLock(lock, milliseconds(50), milliseconds(8000), sftp).Held());
    // Waiting on a lock whose attributes do not change reads it once, not at every look: a
    // file server may refuse its owner to remove a file someone has open.
    int reads = 0;
    FaultShare counted;
    counted.hook = [&](std::string_view op, const std::string& path) {
        reads += op == "read" && path == lock;
        return 0;
    };
    FileLock(lock, milliseconds(300), milliseconds(8000), counted);
    EXPECT_EQ(reads, 1);
    // Judging its age needs the share's clock, from a file we make: a passing error is tried
    // again, a folder that takes no file at all is given up at once.
    for (const auto& [error, times, impossible] : {std::tuple(EIO, 1, false), {EROFS, 99, true}}) {
        int probes = 0;
        FaultShare probe;
        probe.hook = [&](std::string_view op, const std::string& path) {
            return op == "open" && path.ends_with(".clock") && probes++ < times ? error : 0;
        };
        EXPECT_EQ(FileLock(lock, milliseconds(100), milliseconds(8000), probe).Impossible(),
                  impossible)
            << strerror(error);
    }
    // Made, but the reply lost: the probe is tried again and nothing of it stays behind.
    FaultShare lost;
    lost.hook = [&](std::string_view op, const std::string& path) {
        if (op != "open" || !path.ends_with(".clock") || fs::exists(path + ".once"))
            return 0;
        close(::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0664));
        close(::open((path + ".once").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0664));
        return EIO;
    };
    EXPECT_FALSE(FileLock(lock, milliseconds(100), milliseconds(8000), lost).Impossible());
    for (const std::string& name : Files(dir.path))
        EXPECT_TRUE(name == "VorblinFathers.txt.lock" || name.ends_with(".once")) << name;
    EXPECT_EQ(Files("/proc/self/fd").size(), fds);  // and no file left open
}

TEST(SharedTable, AMarkTellsACutReadAndTheStoreReadsAgainUntilItIsWhole) {
    const RecordTable table = testing::Table(5, 20000000);
    const std::string bytes = FormatRecords(table);
    // Whole numbers as digits; the mark speaks of the lines after the first entry.
    const std::string others = bytes.substr(bytes.find("\r\n", 10) + 2);
    char mark[32];
    std::snprintf(mark, sizeof mark, " ~%zu.%08x", others.size(), TableHash(others));
    EXPECT_EQ(bytes.substr(0, bytes.size() - others.size()),
              "20000000\r\n 20000000" + std::string(mark) + "\r\n");
    EXPECT_EQ(others.substr(0, 21), "19999999\r\n 19999999\r\n");
    EXPECT_EQ(ParseRecords(bytes), table);  // read past by the reader, older ones too
    const struct {
        std::string bytes;
        Wholeness whole;
    } cases[] = {
        {bytes, Wholeness::Whole},
        {bytes.substr(0, bytes.size() - 1), Wholeness::Short},
        {bytes.substr(0, 12), Wholeness::Unended},  // cut before the mark
        {bytes.substr(0, bytes.find("\r\n") + 2), Wholeness::Unmarked},
        {bytes + "x\r\n 1\r\n", Wholeness::Other},
        {std::string(bytes).replace(bytes.size() - 3, 1, "9"), Wholeness::Other},
        {std::string(kDefaultRecordsFile), Wholeness::Unmarked},
        {"", Wholeness::Unmarked},
        {"Anna\r\n 5", Wholeness::Unended},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWhole(c.bytes), c.whole) << c.bytes;

    // Under the lock a read cut at the size of the table from before is read again.
    Rig rig;
    rig.fame.Read_Records_File();
    ASSERT_TRUE(WriteFileAtomically(rig.fame.Path(), bytes));
    rig.fault.cutReads = 3;
    rig.fault.cutTo = 11;  // the default table's size
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"new", 7}));
    EXPECT_EQ(Stored(rig.share.path).size(), 6u);
    // Cut for good, behind the mark or before it: never written over; the result waits,
    // and the player hears why.
    rig.fault.cutReads = 1000;
    const size_t size = ReadFileBytes(rig.fame.Path()).bytes.size();
    for (const auto& [cut, why] : {std::pair(size - 5, "reads shorter than its first score line"),
                                   std::pair(size_t{11},
                                             "ends inside a line (cut short, or made "
                                             "by hand without a line end at its end")}) {
        rig.fault.cutTo = cut;
        EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"waits", 8}));
        EXPECT_EQ(Stored(rig.share.path).size(), 6u);
        EXPECT_NE(rig.heard.Text().find(why), std::string::npos) << rig.heard.Text();
    }
    rig.fault.cutReads = 0;
    rig.fame.Read_Records_File();
    EXPECT_EQ(Times(Stored(rig.share.path), "waits"), 2u);  // two games, each once
}

TEST(SharedTable, AStoreSlowerThanTheStaleLimitWritesNothingOverWhatOthersStored) {
    Rig rig;
    rig.fame.StaleAfter = milliseconds(200);
    rig.fame.Read_Records_File();
    std::atomic<bool> stalled = false;
    rig.fault.hook = [&](std::string_view op, const std::string& path) {
        if (op == "open" && path.find("VorblinFathers.txt.tmp") != std::string::npos &&
            !stalled.exchange(true))
            std::this_thread::sleep_for(milliseconds(1500));  // a suspended laptop
        return 0;
    };
    std::thread other([&] {
        std::this_thread::sleep_for(milliseconds(300));
        HallOfFame another = rig.Another();
        another.StaleAfter = milliseconds(200);
        another.LockWait = milliseconds(2000);
        EXPECT_TRUE(another.Write_Records_File(RecordEntry{"other", 50}));
    });
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"slow", 60}));
    other.join();
    EXPECT_EQ(Times(Stored(rig.share.path), "other"), 1u);
    rig.fame.Read_Records_File();  // the next start stores what waited
    const RecordTable table = Stored(rig.share.path);
    EXPECT_EQ(Times(table, "other") + Times(table, "slow"), 2u);
}

TEST(SharedTable, ALostRenameReplyOrBusyFilesStoreOnceAndACrashAtAnyStepLosesNothing) {
    {
        Rig rig;
        rig.fame.Read_Records_File();
        rig.fault.loseRenameReply = true;
        // The read afterwards shows it landed: stored, and stored once.
        EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"lost", 5}));
        rig.fault.loseRenameReply = false;
        for (int start = 0; start < 3; ++start)
            rig.fame.Read_Records_File();
        EXPECT_EQ(Times(Stored(rig.share.path), "lost"), 1u);
        // Seen twice, it has left the player's folder.
        EXPECT_FALSE(fs::exists(JoinPath(rig.own.path, kPendingFileName)));
        // A file server that answers "busy" for files another client holds open: their
        // removal, replacement, and for a moment their reading.
        std::map<std::string, int> tries;
        rig.fault.hook = [&](std::string_view op, const std::string& path) {
            return op != "stat" && op != "open" && ++tries[std::string(op) + path] % 3 != 0 ? EBUSY
                                                                                            : 0;
        };
        EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"busy", 6})) << rig.heard.Text();
        rig.fault.hook = nullptr;
        EXPECT_EQ(Files(rig.share.path), std::vector<std::string>{"VorblinFathers.txt"});
    }
    // Killed at each call a store makes, then started again: the result is there once.
    for (int step = 1;; ++step) {
        Rig rig;
        rig.fame.Read_Records_File();
        ASSERT_TRUE(rig.fame.Write_Records_File(RecordEntry{"before", 9}));
        const pid_t child = fork();
        if (child == 0) {
            // Counted from the moment the result is on the own disk: the store's calls.
            int calls = 0;
            bool kept = false;
            const std::string pending = JoinPath(rig.own.path, kPendingFileName);
            rig.fault.hook = [&](std::string_view op, const std::string& path) {
                if (kept && ++calls == step)
                    _exit(9);
                kept = kept || (op == "rename" && path == pending);
                return 0;
            };
            rig.fame.Write_Records_File(RecordEntry{"crash", 10});
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        HallOfFame again(rig.share.path, rig.own.path, RealShare(), std::ref(rig.heard));
        again.Read_Records_File();  // the next start
        again.Read_Records_File();
        const RecordTable table = Stored(rig.share.path);
        SCOPED_TRACE("killed at call " + std::to_string(step));
        EXPECT_EQ(Times(table, "before"), 1u);
        EXPECT_EQ(Times(table, "crash"), 1u);
        if (WEXITSTATUS(status) == 0)
            break;  // the store got through without reaching this call
        ASSERT_LT(step, 200);
    }
}

TEST(SharedTable, AResultSeenStoredWaitsUntilNoStoreThatReadTheTableBeforeCanWriteItAway) {
    Rig rig;
    rig.fame.Read_Records_File();
    const std::string before = ReadFileBytes(rig.fame.Path()).bytes;
    ASSERT_TRUE(rig.fame.Write_Records_File(RecordEntry{"late", 5}));
    // Another game that read the table before "late" landed still holds the lock: the next
    // starts see "late" there, but may not let it go.
    ASSERT_TRUE(
        WriteFileAtomically(rig.fame.Path() + ".lock",
                            LockText(0, getpid(), FileLock::HostName(), FileLock::BootId())));
    rig.fame.Read_Records_File();
    rig.fame.Read_Records_File();
    ASSERT_TRUE(WriteFileAtomically(rig.fame.Path(), before));  // its table lands
    fs::remove(rig.fame.Path() + ".lock");
    rig.fame.Read_Records_File();
    EXPECT_EQ(Times(Stored(rig.share.path), "late"), 1u);
    rig.fame.Read_Records_File();  // seen again under the lock: let go
    EXPECT_FALSE(fs::exists(JoinPath(rig.own.path, kPendingFileName)));
}

TEST(SharedTable, PlantedFilesAreNeitherFollowedNorWaitedOnNorSwallowed) {
    Rig rig;
    rig.fame.Patience = milliseconds(3000);  // a hang would show as a failed wait
    const std::string secret = rig.own.File("private");
    ASSERT_TRUE(WriteFileAtomically(secret, "secret\r\n 1\r\n"));
    const std::string table = rig.fame.Path();
    std::optional<RecordEntry> victim = RecordEntry{"victim", 5};
    const auto plant = [&](auto make) {
        fs::remove(table);
        make();
        rig.fame.Read_Records_File();
        const bool stored = rig.fame.Write_Records_File(std::exchange(victim, std::nullopt));
        return std::pair(stored, rig.fame.Table);
    };
    // The cap itself, by the byte.
    ASSERT_TRUE(WriteFileAtomically(secret, "0123456789"));
    EXPECT_EQ(ReadShared(RealShare(), secret, nullptr, 10).status, ReadStatus::Ok);
    EXPECT_EQ(ReadShared(RealShare(), secret, nullptr, 9).status, ReadStatus::Unreadable);
    ASSERT_TRUE(WriteFileAtomically(secret, "secret\r\n 1\r\n"));
    const auto sym = plant([&] { fs::create_symlink(secret, table); });
    EXPECT_FALSE(sym.first);
    EXPECT_EQ(Times(sym.second, "secret"), 0u);
    EXPECT_EQ(ReadFileBytes(secret).bytes, "secret\r\n 1\r\n");
    EXPECT_TRUE(fs::is_symlink(table));
    const auto fifo = plant([&] { ASSERT_EQ(mkfifo(table.c_str(), 0666), 0); });
    EXPECT_FALSE(fifo.first);
    const auto zero = plant([&] { fs::create_symlink("/dev/zero", table); });
    EXPECT_FALSE(zero.first);
    const auto huge = plant([&] {
        std::ofstream(table).close();
        fs::resize_file(table, 1u << 30);  // sparse: costs the planter nothing
    });
    EXPECT_FALSE(huge.first);
    EXPECT_EQ(fs::file_size(table), 1u << 30);  // never written over
    const std::string heard = rig.heard.Text();
    for (const char* why : {"a symbolic link", "not a regular file", "larger than"})
        EXPECT_NE(heard.find("the hall of fame " + table + " cannot be used (" + why),
                  std::string::npos)
            << why << " in\n"
            << heard;
    // A FIFO or a symlink where the lock belongs is no one's lock: taken away at once.
    fs::remove(table);
    ASSERT_EQ(mkfifo((table + ".lock").c_str(), 0666), 0);
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(Times(Stored(rig.share.path), "victim"), 1u);
    EXPECT_FALSE(fs::exists(table + ".lock"));
}

TEST(SharedTable, FilesMadeThereAreTheGroupsWhateverTheUmaskAndOtherPlayersLocksAreJudged) {
    Rig rig;
    const mode_t old = umask(077);
    std::vector<mode_t> modes;
    rig.fault.hook = [&](std::string_view op, const std::string& path) {
        struct stat info {};
        if (op == "rename" && path == rig.fame.Path() &&
            ::stat((path + ".lock").c_str(), &info) == 0)
            modes.push_back(info.st_mode & 0777);
        return 0;
    };
    rig.fame.Read_Records_File();
    rig.fame.Write_Records_File(RecordEntry{"a", 1});
    umask(old);
    struct stat info {};
    ASSERT_EQ(stat(rig.fame.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
    EXPECT_EQ(modes, std::vector<mode_t>(2, 0664));  // the lock, at the default's store and ours
    // A lock another player left with 0600 is judged by its age: taken over once stale.
    if (geteuid() != 0)
        GTEST_SKIP() << "making another player's files needs root";
    ASSERT_EQ(chmod(rig.share.path.c_str(), 0777), 0);
    const std::string lock = rig.fame.Path() + ".lock";
    ASSERT_TRUE(
        WriteFileAtomically(lock, "0123456789abcdef 000000000001 000000000 0000000001 x\n"));
    ASSERT_EQ(chmod(lock.c_str(), 0600), 0);
    fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(FileLock(lock, milliseconds(300)).Held() ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    // In a folder with the sticky bit, another player's table cannot be replaced: said so.
    ASSERT_EQ(chown(rig.fame.Path().c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(rig.share.path.c_str(), 01777), 0);
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"sticky", 2}));
    EXPECT_NE(rig.heard.Text().find("sticky bit"), std::string::npos);
    ASSERT_EQ(chmod(rig.share.path.c_str(), 0777), 0);
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
}

TEST(SharedTable, ABareMountPointTakesNothingAndWhatWaitsIsShownMarked) {
    // The records folder is a mount point; once the share is gone, the folder beneath must
    // take nothing, and the result waits for the share.
    Rig rig;
    rig.fault.mounted = true;
    rig.fame.Read_Records_File();
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"mounted", 5}));
    rig.fault.mounted = false;
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"unmounted", 6}));
    EXPECT_EQ(Times(Stored(rig.share.path), "unmounted"), 0u);
    EXPECT_NE(rig.heard.Text().find("is not mounted"), std::string::npos);
    {
        // Started again meanwhile: what waits is shown, marked (the table itself cannot be
        // read without the share).
        HallOfFame restarted(rig.share.path, rig.own.path, rig.fault, std::ref(rig.heard));
        restarted.Read_Records_File();
        restarted.Fill_Table_List();
        EXPECT_EQ(restarted.lstTable.Items, std::vector<std::string>{"1. unmounted*     6"});
    }
    rig.fault.mounted = true;
    rig.fame.Read_Records_File();
    EXPECT_EQ(Times(Stored(rig.share.path), "unmounted"), 1u);
}

TEST(SharedTable, AShareThatHangsNeverFreezesTheWindowAndAFullOwnFolderKeepsTheResult) {
    Rig rig;
    rig.fame.Read_Records_File();
    rig.fame.Patience = milliseconds(200);
    std::mutex gate;
    gate.lock();
    rig.fault.hook = [&](std::string_view, const std::string& path) {
        if (path.starts_with(rig.share.path + "/")) {
            const std::lock_guard<std::mutex> wait(gate);  // a dead mount
        }
        return 0;
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"hung", 40}));
    rig.fame.Clear_Records();  // a new game starts meanwhile
    rig.fame.Read_Records_File();
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(1500));
    rig.fame.Fill_Table_List();  // the table as last read, and what waits, marked
    EXPECT_EQ(rig.fame.lstTable.Items,
              (std::vector<std::string>{"1. hung*          40", "2. Borkin         0"}));
    EXPECT_EQ(rig.fame.Pending().size(), 1u);
    gate.unlock();
    while (rig.fame.ShareBusy())  // the store that waited finishes on its own
        std::this_thread::sleep_for(milliseconds(5));
    rig.fame.Patience.reset();
    rig.fame.Read_Records_File();
    rig.fame.Fill_Table_List();
    EXPECT_EQ(rig.fame.lstTable.Items.front(), "1. hung           40");
    EXPECT_EQ(Times(Stored(rig.share.path), "hung"), 1u);

    // The own folder full: the player hears it, the result is kept in memory and stored.
    rig.fault.hook = [&](std::string_view op, const std::string& path) {
        return op == "open" && path.starts_with(rig.own.path + "/") &&
                       path.find(".tmp") != std::string::npos
                   ? ENOSPC
                   : 0;
    };
    const std::string share = rig.share.path;
    fs::permissions(share, fs::perms::owner_read | fs::perms::owner_exec);
    const bool ro = geteuid() != 0;  // root writes anywhere: then only the own folder fails
    const bool first = rig.fame.Write_Records_File(RecordEntry{"memory", 30});
    EXPECT_EQ(first, !ro);
    EXPECT_NE(rig.heard.Text().find("could not be kept in " + rig.own.path), std::string::npos);
    fs::permissions(share, fs::perms::owner_all);
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(Times(Stored(share), "memory"), 1u);
    // A share too full to take the new table: the old one stays as it was.
    rig.fault.hook = nullptr;
    rig.fault.failWrites = true;
    const std::string before = ReadFileBytes(rig.fame.Path()).bytes;
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"full", 20}));
    EXPECT_EQ(ReadFileBytes(rig.fame.Path()).bytes, before);
    EXPECT_NE(rig.heard.Text().find("the new table could not be written"), std::string::npos);
}

TEST(SharedTable, ThePlayersOwnListReadsBackWhatItKeepsAndSkipsDamagedLines) {
    testing::TempFolder own;
    PendingResults kept(own.path);
    kept.Add("/share", RecordEntry{"Анна", 12.5, "00aa"});
    kept.Add("/share\tb", RecordEntry{"b", 7, "00bb"});      // a folder may hold anything
    kept.Settle("/share", {{"Анна", 12.5, "00aa"}}, false);  // shown once: seen
    std::string text = ReadFileBytes(kept.Path()).bytes;
    text += "nope\n\t1\tx\t/share\n=\t1\tx\t/share\n00cc\t3\n";  // damaged lines
    ASSERT_TRUE(WriteFileAtomically(kept.Path(), text));
    const std::vector<Waiting> share = PendingResults(own.path).For("/share");
    ASSERT_EQ(share.size(), 1u);
    EXPECT_EQ(share[0].entry, (RecordEntry{"Анна", 12.5, "00aa"}));
    EXPECT_TRUE(share[0].seen);
    const std::vector<Waiting> other = PendingResults(own.path).For("/share\tb");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].entry, (RecordEntry{"b", 7, "00bb"}));
    EXPECT_FALSE(other[0].seen);
    // Only the 99 best of a table can ever enter it: no more are kept.
    for (int S = 1; S <= 100; ++S)
        kept.Add("/full", RecordEntry{std::to_string(S), double(S), NewResultId()});
    const std::vector<Waiting> full = kept.For("/full");
    ASSERT_EQ(full.size(), kMaxRecords);
    EXPECT_EQ(full.back().entry.Score, 2);
}

TEST(SharedTable, LeftoversOfCrashedStoresGoOnceOldByTheSharesClock) {
    Rig rig;
    rig.fame.Read_Records_File();
    const std::vector<std::string> ours = {"VorblinFathers.txt.tmp0123",
                                           "VorblinFathers.txt.read77",
                                           "VorblinFathers.txt.lock.0123456789abcdef.3"};
    const std::vector<std::string> others = {"VorblinFathers.txt.keep", "notes.txt"};
    for (const auto& name : ours)
        ASSERT_TRUE(WriteFileAtomically(rig.share.File(name), "x"));
    for (const auto& name : others)
        ASSERT_TRUE(WriteFileAtomically(rig.share.File(name), "x"));
    fs::last_write_time(rig.share.File(ours[0]),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::last_write_time(rig.share.File(ours[2]),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    rig.fault.skew = -3600;  // this machine's clock an hour behind: the share's clock counts
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"x", 1}));
    EXPECT_EQ(Files(rig.share.path),
              (std::vector<std::string>{"VorblinFathers.txt", "VorblinFathers.txt.keep",
                                        "VorblinFathers.txt.read77", "notes.txt"}));
}

}  // namespace
}  // namespace vorblin
