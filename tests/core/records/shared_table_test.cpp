// The shared hall of fame against what a share, a crash or a player can do to it: every
// fault heals at the next read, and no result is lost or counted twice.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "core/records/file_lock.h"
#include "share_rig.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using namespace testing;
using std::chrono::milliseconds, std::chrono::steady_clock;

// A lock file's text: token, the server's time it was made, pid, host and boot.
std::string LockText(int64_t madeSecondsAgo, long pid, const std::string& host,
                     const std::string& boot = "") {
    char text[160];
    std::snprintf(text, sizeof text, "0123456789abcdef %012lld 000000000 %010ld %s %s\n",
                  static_cast<long long>(time(nullptr) - madeSecondsAgo), pid, host.c_str(),
                  boot.c_str());
    return text;
}

// A live owner is waited for; one gone from this very machine or older than the stale limit by the
// share's clock is taken over. What a failed call tells of the folder decides between waiting and
// giving up: a folder that cannot take a lock is given up at once; a lock that came and went
// between two looks is waited for, after EIO with longer pauses (SMB through FUSE repeats it while
// the name is asked for); an error that hides an existing lock (SFTP says "permission denied") is
// someone's lock. Ages need the share's clock, from a file made there: a passing error is tried
// again for a second at most, and the file goes even when the share refuses its removal for a
// moment. The pauses between tries double up to their most, until the patience is spent.
TEST(SharedTableLock, WaitsForALiveOwnerTakesOverADeadOrStaleOneAndGivesUpWhereNoneCanBe) {
    std::string pauses;
    for (Backoff wait(5, 20, 55); const int ms = wait.Sleep();)
        pauses += std::to_string(ms) + " ";
    EXPECT_EQ(pauses, "5 10 20 20 ");
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock"), breaker = lock + ".break";
    const std::string host = FileLock::HostName(), boot = FileLock::BootId();
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string live = LockText(0, getpid(), host, boot), old = LockText(3600, 1, "x");
    constexpr milliseconds kWait(300);
    constexpr int kEver = 1 << 30, kQuick = 1 + kWait / milliseconds(20);
    const std::vector<int> none = {0}, cannot = {EROFS, EACCES, ENOENT, ENOSPC, EDQUOT, ENOTDIR};
    const std::vector<int> passing = {EEXIST, EPERM, EBUSY, EINTR};
    const struct {
        std::string text, breaker;  // the lock there, and one breaking it right now
        long skew;                  // this machine's clock off the share's
        bool held, impossible;
        std::vector<int> errors;  // each the same row: the call on `suffix` fails `times` times
        std::string call, suffix;
        int times, fewest, most;  // calls seen
    } cases[] = {
        {live, "", 0, false, false, none, "", "", 0, 0, kEver},
        {LockText(0, dead, host, boot), "", 0, true, false, none, "", "", 0, 0, kEver},
        // Another container's (the same boot, another host name), another machine's of the
        // same name: their processes are not ours.
        {LockText(0, dead, "x", boot), "", 0, false, false, none, "", "", 0, 0, kEver},
        {LockText(0, dead, host, "x"), "", 0, false, false, none, "", "", 0, 0, kEver},
        // An older version's lock ("host pid") is judged by its age alone.
        {host + " " + std::to_string(dead), "", 0, false, false, none, "", "", 0, 0, kEver},
        // Older than the limit, by the share's clock whatever this machine's says.
        {LockText(20, getpid(), host, boot), "", 0, true, false, none, "", "", 0, 0, kEver},
        {LockText(20, 1, "x"), "", -3600, true, false, none, "", "", 0, 0, kEver},
        // An old lock being broken is left to its breaker, until the breaker is old too.
        {old, LockText(0, 1, "x"), 0, false, false, none, "", "", 0, 0, kEver},
        {old, LockText(3600, 1, "x"), 0, true, false, none, "", "", 0, 0, kEver},
        // Failed creates, then the clock's probe.
        {"", "", 0, false, true, cannot, "open", ".lock", kEver, 1, 1},
        {"", "", 0, false, false, passing, "open", ".lock", kEver, kQuick, kEver},
        {"", "", 0, false, false, {EIO}, "open", ".lock", kEver, 2, kQuick},
        {live, "", 0, false, false, {EPERM}, "open", ".lock", kEver, 0, kEver},
        {live, "", 0, false, false, none, "read", ".lock", kEver, 0, 1},  // read once
        {live, "", 0, false, true, {EBUSY}, "open", ".clock", kEver, 2, 8},
        {live, "", 0, false, false, {EBUSY, EIO}, "unlink", ".clock", 2, 3, kEver},
        {live, "", 0, false, true, {EROFS}, "open", ".clock", kEver, 1, 1},
        {"", "", 0, false, true, {EIO}, "write", ".lock", kEver, 1, 1},  // the lock unwritable
        // A held lock's removal at the end: a busy share is waited out, a refusal is final.
        {"", "", 0, true, false, {EBUSY}, "unlink", ".lock", 2, 3, 3},
        {"", "", 0, true, false, {EROFS}, "unlink", ".lock", kEver, 1, 1},
    };
    for (const auto& c : cases)
        for (const int error : c.errors) {
            fs::remove(lock);
            fs::remove(breaker);
            ASSERT_TRUE(c.text.empty() || WriteFileAtomically(lock, c.text));
            ASSERT_TRUE(c.breaker.empty() || WriteFileAtomically(breaker, c.breaker));
            int calls = 0;
            FaultShare fault([&](std::string_view op, const std::string& path) {
                const bool hit = op == c.call && path.ends_with(c.suffix);
                return hit && calls++ < c.times ? error : 0;
            });
            fault.skew = c.skew;
            const auto start = steady_clock::now();
            auto tried = std::make_unique<FileLock>(lock, kWait, milliseconds(8000), fault);
            SCOPED_TRACE(c.text + c.breaker + c.call + c.suffix + " " + strerror(error));
            EXPECT_EQ(tried->Held(), c.held);
            EXPECT_EQ(tried->Impossible(), c.impossible);
            EXPECT_TRUE(c.held || c.impossible || steady_clock::now() - start >= kWait);
            // No clock probe left behind, nor a breaker but the other's.
            const size_t files = (c.held || !c.text.empty()) + (!c.held && !c.breaker.empty());
            EXPECT_EQ(Files(dir.path).size(), files);
            tried.reset();
            EXPECT_TRUE(calls >= c.fewest && calls <= c.most) << calls;
        }
}

TEST(SharedTable, AMarkTellsACutReadAndTheStoreReadsAgainUntilItIsWhole) {
    const std::string bytes = FormatRecords(testing::Table(5, 20000000));
    // Under the lock a read cut at the size of the table from before is read again; cut for
    // good, the table is never written over, the result waits, and the player hears why.
    Rig rig;
    ASSERT_TRUE(WriteFileAtomically(rig.fame.Path(), bytes));
    rig.fault.cutReads = 3;
    rig.fault.cutTo = kDefaultRecordsFile.size();
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"new", 7}));
    rig.fault.cutReads = 1000;
    rig.fault.cutTo = ReadFileBytes(rig.fame.Path()).bytes.size() - 5;
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"waits", 8}));
    EXPECT_TRUE(rig.Heard("reads shorter than its first score line")) << rig.told;
    EXPECT_EQ(Stored(rig.share.path).size(), 6u);
    rig.fault.cutReads = 0;
    rig.fame.Read_Records_File();
    EXPECT_EQ(Counts(Stored(rig.share.path), {"new", "waits"}), "new=1\nwaits=1\n");
}

TEST(SharedTable, AStoreSlowerThanTheStaleLimitWritesNothingOverWhatOthersStored) {
    Rig rig;
    testing::TempFolder own2;
    rig.fame.StaleAfter = milliseconds(200);
    std::atomic<bool> stalled = false;
    rig.fault.hook = [&](std::string_view op, const std::string& path) {
        if (op == "open" && path.find("Fathers.txt.tmp") != std::string::npos &&
            !stalled.exchange(true))
            std::this_thread::sleep_for(milliseconds(1500));  // a suspended laptop
        return 0;
    };
    std::thread other([&] {
        std::this_thread::sleep_for(milliseconds(300));
        HallOfFame another = rig.Another(own2.path);
        another.StaleAfter = milliseconds(200);
        EXPECT_TRUE(another.Write_Records_File(RecordEntry{"other", 50}));
    });
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"slow", 60}));
    other.join();
    rig.fame.Read_Records_File();  // the next start stores what waited
    EXPECT_EQ(Counts(Stored(rig.share.path), {"other", "slow"}), "other=1\nslow=1\n");
}

TEST(SharedTable, ALostRenameReplyStoresOnceAndACrashAtAnyStepLosesNothing) {
    {
        Rig rig;
        rig.fault.loseRenameReply = true;
        EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"lost", 5}));  // the read shows it
        rig.fame.Read_Records_File();
        EXPECT_EQ(Counts(Stored(rig.share.path), {"lost"}), "lost=1\n");
    }
    // Killed at each call a store makes from the moment the result is on the own disk, then
    // started again: the result is there once.
    for (int step = 1;; ++step) {
        Rig rig;
        ASSERT_TRUE(rig.fame.Write_Records_File(RecordEntry{"before", 9}));
        int calls = 0;
        bool kept = false;
        rig.fault.hook = [&](std::string_view op, const std::string& path) {
            if (kept && ++calls == step)
                _exit(9);
            kept = kept || (op == "rename" && path.ends_with(kPendingFileName));
            return 0;
        };
        const pid_t child = fork();
        if (child == 0)
            _exit(rig.fame.Write_Records_File(RecordEntry{"crash", 10}) ? 0 : 1);
        int status = 0;
        waitpid(child, &status, 0);
        HallOfFame again = rig.Another(rig.own.path);
        again.Read_Records_File();  // the next start
        again.Read_Records_File();
        EXPECT_EQ(Counts(Stored(rig.share.path), {"before", "crash"}), "before=1\ncrash=1\n")
            << step;
        if (WEXITSTATUS(status) != 9)
            break;  // the store got through without reaching this call
        ASSERT_LT(step, 200);
    }
}

TEST(SharedTable, PlantedFilesAreNeitherFollowedNorWaitedOnNorSwallowed) {
    Rig rig;
    rig.fame.Patience = milliseconds(3000);  // a hang would show as a failed wait
    const std::string secret = rig.own.File("private"), table = rig.fame.Path();
    ASSERT_TRUE(WriteFileAtomically(secret, "secret\r\n 1\r\n"));
    // A link to a file of the player's, a FIFO, a file past the size a table can have.
    const std::pair<const char*, std::function<void()>> plants[] = {
        {"a symbolic link", [&] { fs::create_symlink(secret, table); }},
        {"not a regular file", [&] { ASSERT_EQ(mkfifo(table.c_str(), 0666), 0); }},
        {"larger than", [&] { std::ofstream(table) << std::string(kMaxSharedFileBytes + 1, 'x'); }},
    };
    for (const auto& [why, plant] : plants) {
        fs::remove(table);
        plant();
        rig.fame.Read_Records_File();
        EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{why, 5}));
        EXPECT_TRUE(rig.Heard("the hall of fame " + table + " cannot be used (" + why)) << rig.told;
    }
    EXPECT_EQ(ReadFileBytes(secret).bytes, "secret\r\n 1\r\n");
    EXPECT_EQ(fs::file_size(table), kMaxSharedFileBytes + 1);  // never written over
    fs::resize_file(table, kMaxSharedFileBytes);               // as large as a table may be
    EXPECT_EQ(ReadShared(RealShare(), table).bytes.size(), kMaxSharedFileBytes);
    fs::remove(table);
    ASSERT_EQ(mkfifo((table + ".lock").c_str(), 0666), 0);  // no one's lock: taken away at once
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
    EXPECT_FALSE(fs::exists(table + ".lock"));
    EXPECT_EQ(Counts(Stored(rig.share.path), {"a symbolic link", "not a regular file", "secret"}),
              "a symbolic link=1\nnot a regular file=1\nsecret=0\n");
}

TEST(SharedTable, AShareThatHangsNeverFreezesTheWindow) {
    Rig rig;
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
    rig.fame.Read_Records_File();
    EXPECT_LT(steady_clock::now() - start, milliseconds(1500));
    EXPECT_EQ(rig.fame.Pending().size(), 1u);  // the result waits meanwhile
    gate.unlock();
    while (rig.fame.ShareBusy())  // the store that waited finishes on its own
        std::this_thread::sleep_for(milliseconds(5));
    rig.fame.Patience.reset();
    rig.fame.Read_Records_File();
    EXPECT_EQ(Counts(Stored(rig.share.path), {"hung"}), "hung=1\n");
    // Both folders full, the share's when its new table is written, the own's at the create:
    // the share keeps its old table, the player hears that the result could not be kept, and
    // it waits in memory until a store can take it.
    rig.fault.hook = [&](std::string_view op, const std::string& path) {
        const bool tmp = path.find(".tmp") != path.npos;
        return tmp && op == (path.starts_with(rig.share.path) ? "write" : "open") ? ENOSPC : 0;
    };
    const std::string before = ReadFileBytes(rig.fame.Path()).bytes;
    EXPECT_FALSE(rig.fame.Write_Records_File(RecordEntry{"full", 20}));
    EXPECT_EQ(ReadFileBytes(rig.fame.Path()).bytes, before);
    EXPECT_TRUE(rig.Heard("could not be kept in " + rig.own.path)) << rig.told;
    rig.fame.Fill_Table_List();  // listed meanwhile where it will stand, marked as waiting
    EXPECT_EQ(rig.fame.lstTable.Items,
              (std::vector<std::string>{"1. hung           40", "2. full*          20",
                                        "3. Borkin         0"}));
    rig.fault.hook = nullptr;
    EXPECT_TRUE(rig.fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(Counts(Stored(rig.share.path), {"full"}), "full=1\n");
}

// A store that read the table before a result landed may write it away afterwards: while it
// holds the lock, or, its lock broken as stale, when its rename lands late. The result waits
// in the player's folder until neither can happen any more, and goes in again.
TEST(SharedTable, AResultSeenStoredWaitsUntilNoEarlierStoreCanWriteItAway) {
    for (const bool brokenLock : {false, true}) {
        Rig rig;
        rig.fame.ConfirmAfter = brokenLock ? std::chrono::hours(1) : milliseconds(0);
        const std::string before = ReadFileBytes(rig.fame.Path()).bytes;
        const std::string lock = rig.fame.Path() + ".lock";
        ASSERT_TRUE(rig.fame.Write_Records_File(RecordEntry{"late", 5}));
        ASSERT_TRUE(brokenLock
                        ? rig.fame.Write_Records_File(RecordEntry{"next", 6})
                        : WriteFileAtomically(lock, LockText(0, getpid(), FileLock::HostName(),
                                                             FileLock::BootId())));
        rig.fame.Read_Records_File();                               // the next start sees it there
        ASSERT_TRUE(WriteFileAtomically(rig.fame.Path(), before));  // the other's table lands
        fs::remove(lock);
        rig.fame.Read_Records_File();
        rig.fame.Read_Records_File();  // let go once seen under the lock, long enough after
        EXPECT_EQ(Counts(Stored(rig.share.path), {"late"}), "late=1\n") << brokenLock;
        EXPECT_EQ(fs::exists(JoinPath(rig.own.path, kPendingFileName)), brokenLock);
    }
}

// What waits in the player's own folder reads back, with whether a read showed it stored,
// whatever the folder's name holds; damaged lines are skipped. Without a folder of its own
// the list lives in memory.
TEST(SharedTable, ThePlayersOwnListReadsBackWhatItKeepsAndSkipsDamagedLines) {
    TempFolder own;
    PendingResults kept(own.path);
    kept.Add("/share", RecordEntry{"Анна", 12.5, "00aa"});
    kept.Add("/share\tb", RecordEntry{"b", 7, "00bb"});
    kept.Add("/share", RecordEntry{"c", 12.5, "00dd"});  // behind the equal score before it
    kept.Settle("/share", {{"Анна", 12.5, "00aa"}}, std::nullopt);  // shown once: seen
    const std::string damaged = "nope\n\t1\tx\t/share\n=\t1\tx\t/share\n00cc\t3\n";
    ASSERT_TRUE(WriteFileAtomically(kept.Path(), ReadFileBytes(kept.Path()).bytes + damaged));
    const PendingResults again(own.path);
    std::string read;
    for (const std::string folder : {"/share", "/share\tb"})
        for (const Waiting& w : again.For(folder))
            read += Show(w.entry.Name, ScoreText(w.entry.Score) + "#" + w.entry.Id, "seen", w.seen);
    EXPECT_EQ(read, "Анна=12.5#00aa\nseen=true\nc=12.5#00dd\nseen=false\nb=7#00bb\nseen=false\n");
    PendingResults memory("");  // no folder of its own: what waits waits in memory
    memory.Add("/share", RecordEntry{"m", 1, "00ee"});
    EXPECT_EQ(memory.For("/share").size(), 1u);
}

TEST(SharedTable, LeftoversOfCrashedStoresGoByTheSharesClockAndFilesAreTheGroups) {
    close(0);  // started without standard input, as some launchers do: files open as 0
    Rig rig;
    // The first read made the table (its temporary file opened as 0).
    EXPECT_EQ(Files(rig.share.path), std::vector<std::string>{"VorblinFathers.txt"});
    // Temporary tables, reads of older versions, lock files of one's own: the old ones go;
    // never the breaker of the lock (whoever breaks it removes it), nor others' files.
    for (const std::string name : {"VorblinFathers.txt.tmp0123", "VorblinFathers.txt.read77",
                                   "VorblinFathers.txt.lock.0123456789abcdef.3",
                                   "VorblinFathers.txt.lock.break", "notes.txt"}) {
        ASSERT_TRUE(WriteFileAtomically(rig.share.File(name), "x"));
        fs::last_write_time(rig.share.File(name),
                            fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    ASSERT_TRUE(WriteFileAtomically(rig.share.File("VorblinFathers.txt.tmp4567"), "x"));
    rig.fault.skew = -3600;  // this machine's clock an hour behind: the share's clock counts
    const mode_t umasked = umask(077);
    const fs::path fds = "/proc/self/fd";
    const auto before = std::distance(fs::directory_iterator(fds), {});
    EXPECT_TRUE(rig.fame.Write_Records_File(RecordEntry{"x", 1}));
    EXPECT_EQ(std::distance(fs::directory_iterator(fds), {}), before);  // nothing left open
    umask(umasked);
    struct stat info {};
    ASSERT_EQ(stat(rig.fame.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0664u);  // the group's, whatever the umask
    EXPECT_EQ(Files(rig.share.path),
              (std::vector<std::string>{"VorblinFathers.txt", "VorblinFathers.txt.lock.break",
                                        "VorblinFathers.txt.tmp4567", "notes.txt"}));
}

}  // namespace
}  // namespace vorblin
