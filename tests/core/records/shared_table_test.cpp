// The shared hall of fame against what a share, a crash or a player can do to it: every
// fault heals at the next read, and no result is lost or counted twice.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <fstream>
#include <map>
#include <thread>
#include <tuple>

#include "core/records/file_lock.h"
#include "share_rig.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testing::Failing;
using testing::FaultShare;
using testing::Files;
using testing::Rig;
using testing::Stored;
using testing::Times;
using Names = std::vector<std::string>;

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
    const std::string lock = dir.File("VorblinFathers.txt.lock"), breaker = lock + ".break";
    const std::string host = FileLock::HostName(), boot = FileLock::BootId();
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string old = LockText(3600, 1, "elsewhere", "");
    const struct {
        std::string text, breaker;  // the lock, and one breaking it right now
        long skew;                  // this machine's clock off the share's
        bool taken;
    } cases[] = {
        {LockText(0, getpid(), host, boot), "", 0, false},        // alive
        {LockText(0, dead, host, boot), "", 0, true},             // gone from this very machine
        {LockText(0, dead, host, "another-boot"), "", 0, false},  // the same name elsewhere
        {LockText(0, dead, "elsewhere", boot), "", 0, false},
        {LockText(0, -2000000000, host, boot), "", 0, false},  // a damaged pid: no one's death
        {"elsewhere 1\n", "", 0, false},  // an older version's, fresh by the file's time
        {host + " " + std::to_string(dead) + "\n", "", 0, false},  // nor judged by its pid
        {LockText(20, getpid(), host, boot), "", 0, true},         // older than the limit
        {LockText(1, 1, "elsewhere", ""), "", 3600, false},  // fresh, whatever this clock says
        {LockText(1, 1, "elsewhere", ""), "", -3600, false},
        {LockText(20, 1, "elsewhere", ""), "", 3600, true},
        {LockText(20, 1, "elsewhere", ""), "", -3600, true},
        // An old lock being broken is left to its breaker, until the breaker is old or dead.
        {old, LockText(0, 1, "elsewhere", ""), 0, false},
        {old, LockText(3600, 1, "elsewhere", ""), 0, true},
        {old, LockText(0, dead, host, boot), 0, true},
    };
    for (const auto& c : cases) {
        fs::remove(breaker);
        ASSERT_TRUE(WriteFileAtomically(lock, c.text));
        ASSERT_TRUE(c.breaker.empty() || WriteFileAtomically(breaker, c.breaker));
        FaultShare fault;
        fault.skew = c.skew;
        const FileLock tried(lock, milliseconds(100), milliseconds(8000), fault);
        SCOPED_TRACE(c.text + c.breaker + " with this clock off by " + std::to_string(c.skew));
        EXPECT_EQ(tried.Held(), c.taken);
        // No clock probe left behind, nor a breaker but the other's.
        EXPECT_EQ(Files(dir.path).size(), c.taken || c.breaker.empty() ? 1u : 2u);
    }
    fs::remove(breaker);
    {
        ASSERT_TRUE(WriteFileAtomically(lock, old));
        FileLock taken(lock, milliseconds(100));
        EXPECT_TRUE(taken.StillHeld());
        // Then thought stale elsewhere and taken over there: no longer ours, nor ours to remove.
        ASSERT_TRUE(WriteFileAtomically(lock, LockText(0, 1, "elsewhere", "")));
        EXPECT_FALSE(taken.StillHeld());
    }
    EXPECT_EQ(Files(dir.path), Names{"VorblinFathers.txt.lock"});
    // A stale lock whose removal the server refuses for a moment (SMB: someone has it open)
    // is removed all the same; refused for good, it is given up within a moment.
    for (const auto& [refusals, taken] : {std::pair(2, true), {1000, false}}) {
        ASSERT_TRUE(WriteFileAtomically(lock, old));
        int refused = 0;
        FaultShare busy(Failing("unlink", lock, EBUSY, &refused, refusals));
        EXPECT_EQ(FileLock(lock, milliseconds(0), milliseconds(8000), busy).Held(), taken);
    }
}

TEST(SharedTableLock, WhatAFailedCreateSaysOfTheFolderDecidesBetweenWaitingAndGivingUp) {
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    const size_t fds = Files("/proc/self/fd").size();
    // No lock to be seen after the error: a folder that cannot take one is given up at once;
    // a lock that came and went between the two looks is waited for, after EIO with longer
    // pauses (SMB through FUSE repeats it while the name is asked for): at least 20 ms.
    constexpr milliseconds kWait(300);
    const struct {
        int error;
        bool impossible;
    } cases[] = {{EROFS, true},  {EACCES, true},  {ENOENT, true},  {ENOSPC, true},
                 {EDQUOT, true}, {ENOTDIR, true}, {EEXIST, false}, {EPERM, false},
                 {EBUSY, false}, {EINTR, false},  {EIO, false}};
    for (const auto& c : cases) {
        int tries = 0;
        FaultShare fault(Failing("open", lock, c.error, &tries));
        const auto start = steady_clock::now();
        const FileLock tried(lock, kWait, milliseconds(8000), fault);
        const bool waited = steady_clock::now() - start >= kWait;
        SCOPED_TRACE(strerror(c.error));
        EXPECT_FALSE(tried.Held());
        EXPECT_EQ(tried.Impossible(), c.impossible);
        EXPECT_EQ(waited, !c.impossible);
        EXPECT_EQ(tries <= 1 + kWait / milliseconds(20), c.impossible || c.error == EIO) << tries;
        EXPECT_TRUE(Files(dir.path).empty());
    }
    // An error that hides an existing lock (SFTP says "permission denied") is someone's lock.
    ASSERT_TRUE(WriteFileAtomically(lock, LockText(0, getpid(), "x", "")));
    int tries = 0;
    FaultShare sftp(Failing("open", lock, EPERM, &tries));
    EXPECT_FALSE(FileLock(lock, milliseconds(50), milliseconds(8000), sftp).Held());
    // Waiting on a lock whose attributes do not change reads it once, not at every look: a
    // file server may refuse its owner to remove a file someone has open.
    int reads = 0;
    FaultShare counted(Failing("read", lock, 0, &reads));
    FileLock(lock, milliseconds(300), milliseconds(8000), counted);
    EXPECT_EQ(reads, 1);
    // Judging its age needs the share's clock, from a file we make: a passing error is tried
    // again (for a second at most), a folder that takes no file at all is given up at once.
    for (const auto& [error, times, impossible] :
         {std::tuple(EIO, 6, false), {EBUSY, 8, true}, {EROFS, 1, true}}) {
        int probes = 0;
        FaultShare probe(Failing("open", ".clock", error, &probes, times));
        EXPECT_EQ(FileLock(lock, milliseconds(100), milliseconds(8000), probe).Impossible(),
                  impossible)
            << strerror(error) << " " << times << " times";
    }
    // Made, but the reply lost: the probe is tried again and nothing of it stays behind.
    FaultShare lost([&](std::string_view op, const std::string& path) {
        if (op != "open" || !path.ends_with(".clock") || fs::exists(path + ".once"))
            return 0;
        close(::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0664));
        close(::open((path + ".once").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0664));
        return EIO;
    });
    EXPECT_FALSE(FileLock(lock, milliseconds(100), milliseconds(8000), lost).Impossible());
    for (const std::string& name : Files(dir.path))
        EXPECT_TRUE(name == "VorblinFathers.txt.lock" || name.ends_with(".once")) << name;
    EXPECT_EQ(Files("/proc/self/fd").size(), fds);  // and no file left open
}

TEST(SharedTable, AMarkTellsACutReadAndTheStoreReadsAgainUntilItIsWhole) {
    const std::string bytes = FormatRecords(testing::Table(5, 20000000));
    // Whole numbers as digits; the mark speaks of the lines after the first entry.
    const std::string others = bytes.substr(bytes.find("\r\n", 10) + 2);
    char mark[32];
    std::snprintf(mark, sizeof mark, " ~%zu.%08x", others.size(), TableHash(others));
    EXPECT_EQ(bytes.substr(0, bytes.size() - others.size()),
              "20000000\r\n 20000000" + std::string(mark) + "\r\n");
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
                                   std::pair(size_t{11}, "ends inside a line (cut short")}) {
        rig.fault.cutTo = cut;
        EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"waits", 8}));
        EXPECT_EQ(Stored(rig.share.path).size(), 6u);
        EXPECT_NE(rig.Heard().find(why), std::string::npos) << rig.Heard();
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
        HallOfFame another = rig.Another(rig.own2.path);
        another.StaleAfter = milliseconds(200);
        another.LockWait = milliseconds(2000);
        EXPECT_TRUE(another.Write_Records_File(RecordEntry{"other", 50}));
    });
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"slow", 60}));
    other.join();
    EXPECT_EQ(Times(Stored(rig.share.path), "other"), 1u);
    rig.fame.Read_Records_File();  // the next start stores what waited
    EXPECT_EQ(Times(Stored(rig.share.path), "slow"), 1u);
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
            const bool busy =
                op != "stat" && op != "open" && ++tries[std::string(op) + path] % 3 != 0;
            return busy ? EBUSY : 0;
        };
        EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"busy", 6})) << rig.Heard();
        rig.fault.hook = nullptr;
        EXPECT_EQ(Files(rig.share.path), Names{"VorblinFathers.txt"});
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
        HallOfFame again = rig.Another(rig.own.path);
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

TEST(SharedTable, PlantedFilesAreNeitherFollowedNorWaitedOnNorSwallowed) {
    Rig rig;
    rig.fame.Patience = milliseconds(3000);  // a hang would show as a failed wait
    const std::string secret = rig.own.File("private"), table = rig.fame.Path();
    // The cap itself, by the byte.
    ASSERT_TRUE(WriteFileAtomically(secret, "0123456789"));
    EXPECT_EQ(ReadShared(RealShare(), secret, nullptr, 10).status, ReadStatus::Ok);
    EXPECT_EQ(ReadShared(RealShare(), secret, nullptr, 9).status, ReadStatus::Unreadable);
    ASSERT_TRUE(WriteFileAtomically(secret, "secret\r\n 1\r\n"));
    std::optional<RecordEntry> victim = RecordEntry{"victim", 5};
    const std::function<void()> plants[] = {
        [&] { fs::create_symlink(secret, table); },
        [&] { ASSERT_EQ(mkfifo(table.c_str(), 0666), 0); },
        [&] { fs::create_symlink("/dev/zero", table); },
        [&] {
            std::ofstream(table).close();
            fs::resize_file(table, 1u << 30);  // sparse: costs the planter nothing
        },
    };
    for (const auto& plant : plants) {
        fs::remove(table);
        plant();
        rig.fame.Read_Records_File();
        EXPECT_FALSE(rig.fame.Write_Records_File(std::exchange(victim, std::nullopt)));
        EXPECT_EQ(Times(rig.fame.Table, "secret"), 0u);
    }
    EXPECT_EQ(ReadFileBytes(secret).bytes, "secret\r\n 1\r\n");
    EXPECT_EQ(fs::file_size(table), 1u << 30);  // never written over
    const std::string heard = rig.Heard();
    for (const char* why : {"a symbolic link", "not a regular file", "larger than"})
        EXPECT_NE(heard.find("the hall of fame " + table + " cannot be used (" + why),
                  std::string::npos)
            << why << " in\n"
            << heard;
    // A FIFO where the lock belongs is no one's lock: taken away at once.
    fs::remove(table);
    ASSERT_EQ(mkfifo((table + ".lock").c_str(), 0666), 0);
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(Times(Stored(rig.share.path), "victim"), 1u);
    EXPECT_FALSE(fs::exists(table + ".lock"));
}

TEST(SharedTable, FilesMadeThereAreTheGroupsWhateverTheUmaskAndOtherPlayersLocksAreJudged) {
    Rig rig;
    const mode_t old = umask(077);
    rig.fame.Read_Records_File();
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"a", 1}));
    umask(old);
    EXPECT_EQ(rig.Heard(), "");  // a store that went well says nothing
    struct stat info {};
    ASSERT_EQ(stat(rig.fame.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);  // made as the lock is, by one call
    // A lock another player left with 0600 is judged by its age: taken over once stale.
    if (geteuid() != 0)
        GTEST_SKIP() << "making another player's files needs root";
    ASSERT_EQ(chmod(rig.share.path.c_str(), 0777), 0);
    const std::string lock = rig.fame.Path() + ".lock";
    ASSERT_TRUE(WriteFileAtomically(lock, LockText(3600, 1, "x", "")));
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
    // In a folder with the sticky bit, one's own table can be replaced, another player's
    // cannot: said so.
    ASSERT_EQ(chmod(rig.share.path.c_str(), 01777), 0);
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"own", 3}));
    ASSERT_EQ(chown(rig.fame.Path().c_str(), 65534, 65534), 0);
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"sticky", 2}));
    EXPECT_NE(rig.Heard().find("sticky bit"), std::string::npos);
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
    EXPECT_NE(rig.Heard().find("is not mounted"), std::string::npos);
    // Started again meanwhile: what waits is shown, marked (the table itself cannot be read
    // without the share).
    HallOfFame restarted(rig.share.path, rig.own.path, rig.fault, rig.Ear());
    restarted.Read_Records_File();
    restarted.Fill_Table_List();
    EXPECT_EQ(restarted.lstTable.Items, Names{"1. unmounted*     6"});
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
        if (path.starts_with(rig.share.path + "/"))
            const std::lock_guard<std::mutex> wait(gate);  // a dead mount
        return 0;
    };
    const auto start = steady_clock::now();
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"hung", 40}));
    rig.fame.Clear_Records();  // a new game starts meanwhile
    rig.fame.Read_Records_File();
    EXPECT_LT(steady_clock::now() - start, milliseconds(1500));
    rig.fame.Fill_Table_List();  // the table as last read, and what waits, marked
    EXPECT_EQ(rig.fame.lstTable.Items, (Names{"1. hung*          40", "2. Borkin         0"}));
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
        const bool ownTemp =
            path.starts_with(rig.own.path + "/") && path.find(".tmp") != std::string::npos;
        return op == "open" && ownTemp ? ENOSPC : 0;
    };
    const std::string share = rig.share.path;
    fs::permissions(share, fs::perms::owner_read | fs::perms::owner_exec);
    const bool ro = geteuid() != 0;  // root writes anywhere: then only the own folder fails
    EXPECT_EQ(rig.fame.Write_Records_File(RecordEntry{"memory", 30}), !ro);
    EXPECT_NE(rig.Heard().find("could not be kept in " + rig.own.path), std::string::npos);
    fs::permissions(share, fs::perms::owner_all);
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(Times(Stored(share), "memory"), 1u);
    // A share too full to take the new table: the old one stays as it was.
    rig.fault.hook = nullptr;
    rig.fault.failWrites = true;
    const std::string before = ReadFileBytes(rig.fame.Path()).bytes;
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"full", 20}));
    EXPECT_EQ(ReadFileBytes(rig.fame.Path()).bytes, before);
    EXPECT_NE(rig.Heard().find("the new table could not be written"), std::string::npos);
}

// A store that read the table before a result landed may write it away afterwards: while it
// holds the lock, or, its lock broken as stale, when its rename lands late. The result waits
// in the player's folder until neither can happen any more, and goes in again.
TEST(SharedTable, AResultSeenStoredWaitsUntilNoEarlierStoreCanWriteItAway) {
    for (const bool brokenLock : {false, true}) {
        SCOPED_TRACE(brokenLock ? "a broken lock's rename lands late" : "the other holds the lock");
        testing::Rig rig;
        rig.fame.ConfirmAfter = brokenLock ? std::chrono::hours(1) : milliseconds(0);
        rig.fame.Read_Records_File();
        const std::string before = ReadFileBytes(rig.fame.Path()).bytes;
        const std::string lock = rig.fame.Path() + ".lock";
        ASSERT_TRUE(rig.fame.Write_Records_File(RecordEntry{"late", 5}));
        if (brokenLock)
            ASSERT_TRUE(rig.fame.Write_Records_File(RecordEntry{"next", 6}));
        else
            ASSERT_TRUE(WriteFileAtomically(
                lock, LockText(0, getpid(), FileLock::HostName(), FileLock::BootId())));
        rig.fame.Read_Records_File();                               // the next start sees it there
        ASSERT_TRUE(WriteFileAtomically(rig.fame.Path(), before));  // the other's table lands
        fs::remove(lock);
        rig.fame.Read_Records_File();
        EXPECT_EQ(Times(Stored(rig.share.path), "late"), 1u);
        rig.fame.Read_Records_File();  // let go once seen under the lock, long enough after
        EXPECT_EQ(fs::exists(JoinPath(rig.own.path, kPendingFileName)), brokenLock);
    }
}

TEST(SharedTable, ThePlayersOwnListReadsBackWhatItKeepsAndSkipsDamagedLines) {
    testing::TempFolder own;
    int writes = 0;
    FaultShare counted(Failing("open", "", 0, &writes));
    PendingResults kept(own.path, counted);
    kept.Add("/share", RecordEntry{"Анна", 12.5, "00aa"});
    kept.Add("/share\tb", RecordEntry{"b", 7, "00bb"});             // a folder may hold anything
    kept.Settle("/share", {{"Анна", 12.5, "00aa"}}, std::nullopt);  // shown once: seen
    writes = 0;
    kept.Settle("/elsewhere", {}, std::nullopt);  // nothing waits for it: nothing is written
    EXPECT_EQ(writes, 0);
    std::string text = ReadFileBytes(kept.Path()).bytes;
    text += "nope\n\t1\tx\t/share\n=\t1\tx\t/share\n00cc\t3\n";  // damaged lines
    ASSERT_TRUE(WriteFileAtomically(kept.Path(), text));
    const struct {
        std::string folder;
        RecordEntry entry;
        bool seen;
    } cases[] = {{"/share", {"Анна", 12.5, "00aa"}, true}, {"/share\tb", {"b", 7, "00bb"}, false}};
    for (const auto& c : cases) {
        const std::vector<Waiting> read = PendingResults(own.path).For(c.folder);
        ASSERT_EQ(read.size(), 1u) << c.folder;
        EXPECT_EQ(read[0].entry, c.entry);
        EXPECT_EQ(read[0].seen, c.seen);
    }
    // Best first, older first among equals, after every game (each sorts them all again);
    // only as many as a table has places are kept. Game k scores k / 2, so the very first,
    // the worst, is not kept.
    std::vector<Waiting> full;
    for (int k = 1; k <= static_cast<int>(kMaxRecords) + 1; ++k) {
        kept.Add("/full", RecordEntry{std::to_string(k), double(k / 2), NewResultId()});
        full = kept.For("/full");
        for (size_t i = 1; i < full.size(); ++i)
            ASSERT_LT(std::pair(-full[i - 1].entry.Score, std::stoi(full[i - 1].entry.Name)),
                      std::pair(-full[i].entry.Score, std::stoi(full[i].entry.Name)))
                << "after game " << k;
    }
    ASSERT_EQ(full.size(), kMaxRecords);
    EXPECT_EQ(full.back().entry.Score, 1);
}

TEST(SharedTable, LeftoversOfCrashedStoresGoOnceOldByTheSharesClock) {
    Rig rig;
    rig.fame.Read_Records_File();
    // Temporary tables, reads of older versions, lock files of one's own: the old ones go;
    // never the breaker of the lock (whoever breaks it removes it).
    const Names old = {"VorblinFathers.txt.tmp0123", "VorblinFathers.txt.read77",
                       "VorblinFathers.txt.lock.0123456789abcdef.3",
                       "VorblinFathers.txt.lock.break"};
    for (const std::string name :
         {"VorblinFathers.txt.tmp4567", "VorblinFathers.txt.keep", "notes.txt"})
        ASSERT_TRUE(WriteFileAtomically(rig.share.File(name), "x"));
    for (const auto& name : old) {
        ASSERT_TRUE(WriteFileAtomically(rig.share.File(name), "x"));
        fs::last_write_time(rig.share.File(name),
                            fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    rig.fault.skew = -3600;  // this machine's clock an hour behind: the share's clock counts
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"x", 1}));
    EXPECT_EQ(Files(rig.share.path),
              (Names{"VorblinFathers.txt", "VorblinFathers.txt.keep",
                     "VorblinFathers.txt.lock.break", "VorblinFathers.txt.tmp4567", "notes.txt"}));
}

}  // namespace
}  // namespace vorblin
