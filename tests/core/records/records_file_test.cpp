// The hall of fame: its file, its table, the lock on a shared folder, the place during play.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

#include "core/base/text_file.h"
#include "core/records/file_lock.h"
#include "core/records/hall_of_fame.h"
#include "support/fakes.h"

// The hall-of-fame reader against any bytes (records_fuzz.cpp), also libFuzzer's entry point.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using testing::ShellRig;
using testing::Table;

TEST(RecordsFile, WritesCp1251WithABlankBeforeEachScoreAndReadsWhatHandsLeave) {
    EXPECT_EQ(FormatRecords({{"Борис", 1250}, {"Borkin", 0}, {"neg", -5}, {"late", 7, "a1f"}}),
              "\xC1\xEE\xF0\xE8\xF1\r\n 1250\r\nBorkin\r\n 0\r\nneg\r\n-5\r\nlate\r\n 7 "
              "#a1f\r\n");
    // LF ends, stray blank lines, blanks around the digits, text instead of a number, a
    // name without its score line; an identity only as a word of its own.
    EXPECT_EQ(
        ParseRecords("\xC1\xEE\xF0\xE8\xF1\n 1250 \n\r\n\nAnna\r\n  77abc\r\nx\r\nnone\r\nid\r\n"
                     " 3 #9f \r\nno\r\n 4#9f\r\nlast"),
        (RecordTable{
            {"Борис", 1250}, {"Anna", 77}, {"x", 0}, {"id", 3, "9f"}, {"no", 4}, {"last", 0}}));
    // Windows-1251 always, also where the bytes happen to be valid UTF-8 ("ПЁ" = CF A8).
    EXPECT_EQ(ParseRecords("Anna\r\n 9\r\n\xCF\xA8\r\n 5\r\n"),
              (RecordTable{{"Anna", 9}, {"ПЁ", 5}}));
    std::vector<double> numbers;  // what a score line's leading number reads as
    for (const char* line :
         {"\t-40", "+3", "12.5x", "2e3", "7e", ".5", "-", "", "- 5", "0x1A", "  0x1A", "1e999"})
        numbers.push_back(ScoreOf(line));
    EXPECT_EQ(numbers, (std::vector<double>{-40, 3, 12.5, 2000, 7, 0.5, 0, 0, 0, 0, 0,
                                            std::numeric_limits<double>::max()}));
    // The list: names in the fourth column, padded by characters, a long one not at all; a
    // score read as "-0" is a plain 0.
    EXPECT_EQ(SEEN(TableLine(9, {"Borkin", ScoreOf("-0")}), TableLine(10, {"Юля", 1250}),
                   TableLine(1, {"fourteen-chars", 5}), TableLine(2, {"16-characters-ab", 5})),
              "TableLine(9, {\"Borkin\", ScoreOf(\"-0\")})=9. Borkin         0\n"
              "TableLine(10, {\"Юля\", 1250})=10.Юля            1250\n"
              "TableLine(1, {\"fourteen-chars\", 5})=1. fourteen-chars 5\n"
              "TableLine(2, {\"16-characters-ab\", 5})=2. 16-characters-ab5\n");
}

TEST(RecordsTable, NewScoresGoBehindEqualOnesTheTableKeeps99AndNamesWhatTheFileCarries) {
    RecordTable table{{"a", 50}, {"b", 40}, {"c", 40}, {"d", 30}};
    for (const RecordEntry& e : RecordTable{{"b2", 40}, {"d2", 30}, {"top", 51}})
        EXPECT_TRUE(InsertRecord(table, e));  // behind the equal ones
    EXPECT_EQ(
        table,
        (RecordTable{
            {"top", 51}, {"a", 50}, {"b", 40}, {"c", 40}, {"b2", 40}, {"d", 30}, {"d2", 30}}));
    RecordTable full = Table(98, 99);
    EXPECT_TRUE(InsertRecord(full, {"0", 0}));  // the 99th place
    EXPECT_FALSE(InsertRecord(full, {"equal", 0}));
    EXPECT_TRUE(InsertRecord(full, {"1", 1}));  // and the old 99th drops out
    EXPECT_EQ(full, Table(99, 99));
    // A hand-made table of more than 99: a place behind the 99th is no place at all.
    const RecordTable long_ = Table(120);  // 1000 down to 881; the 99th is 902
    EXPECT_EQ(SEEN(EarnsPlace(long_, 903), EarnsPlace(long_, 902), EarnsPlace(Table(98), -1)),
              "EarnsPlace(long_, 903)=true\nEarnsPlace(long_, 902)=false\n"
              "EarnsPlace(Table(98), -1)=true\n");

    EXPECT_EQ(CleanPlayerName("Иван Петров"), "Иван Петро");  // 10 characters
    EXPECT_EQ(CleanPlayerName("a\r\nb\tc\x7f-\xC2\x85!\xC2\xA0"), "abc-!\xC2\xA0");  // C1, NBSP
    EXPECT_EQ(CleanPlayerName("中a\xFF\xFE😀b€?"), "ab€?");  // and what is not UTF-8 at all
}

TEST(RecordsFile, TheDefaultTableNamesAskedOnlyForAPlaceAndAnUnreadableFileNeverWritten) {
    testing::TempFolder dir;
    HallOfFame fame(dir.path);
    fame.Read_Records_File();
    EXPECT_EQ(ReadFileBytes(fame.Path()).bytes, "Borkin\r\n0\r\n");
    fame.Fill_Table_List();
    EXPECT_EQ(fame.lstTable.Items, std::vector<std::string>{"1. Borkin         0"});
    NameEntry answer{"Cancelled", true};
    const auto ask = [&] { return answer; };
    const auto offer = [&](int32_t S) { return fame.Add_Record(S, ask, [] { return "today"; }); };
    EXPECT_FALSE(offer(100).has_value());
    answer = {"\r\n", false};  // nothing left once cleaned: the date
    EXPECT_EQ(offer(100), (RecordEntry{"today", 100}));
    EXPECT_FALSE(fame.Damaged);  // read again for the place, and read well
    ASSERT_TRUE(WriteFileAtomically(fame.Path(), FormatRecords(Table(99))));
    fame.Clear_Records();
    EXPECT_TRUE(offer(0).has_value());  // an empty table in memory: asked, not read again

    // A folder where the file should be: it exists, but cannot be read as a file.
    fs::remove(fame.Path());
    fs::create_directory(fame.Path());
    fame.Read_Records_File();
    EXPECT_TRUE(fame.Damaged);
    EXPECT_FALSE(fame.Write_Records_File(offer(300)));
    EXPECT_EQ(fame.Table, (RecordTable{{"today", 300}}));  // shown for this game only
    fs::remove(fame.Path());
    EXPECT_TRUE(fame.Write_Records_File(std::nullopt));  // and once it can: all as stored
    EXPECT_EQ(SEEN(fame.Damaged, fame.Table.size()), "fame.Damaged=false\nfame.Table.size()=1\n");
    // No data folder at all: the default table shown, nothing written.
    HallOfFame nowhere(dir.File("gone"));
    EXPECT_FALSE(nowhere.Write_Records_File(RecordEntry{"x", 5}));
    EXPECT_EQ(nowhere.Table, (RecordTable{{"x", 5}}));
    // A table longer than 99 asks no name for a place it would drop.
    ASSERT_TRUE(WriteFileAtomically(fame.Path(), FormatRecords(Table(120))));
    fame.Read_Records_File();
    answer = {"asked", false};
    EXPECT_EQ(SEEN(offer(902).has_value(), offer(903).has_value()),
              "offer(902).has_value()=false\noffer(903).has_value()=true\n");
}

TEST(RecordsLock, WaitsForALiveOwnerTakesOverADeadOrStaleOne) {
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const auto owner = [&](pid_t pid) { return std::string(host) + " " + std::to_string(pid); };
    // A fresh lock of a process that is still running (this one): waited for, not taken.
    ASSERT_TRUE(WriteFileAtomically(lock, owner(getpid()) + "\n"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(300)).Held());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    const pid_t gone = fork();  // the same, but its process has ended: taken over at once
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    ASSERT_TRUE(WriteFileAtomically(lock, owner(gone) + "\n"));
    {
        const FileLock taken(lock, std::chrono::milliseconds(300));
        EXPECT_TRUE(taken.Held());
        // Then thought stale elsewhere and taken over there: no longer ours to remove.
        ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere 1\n"));
    }
    EXPECT_TRUE(fs::exists(lock) && !fs::exists(lock + ".break"));
    // An old lock from elsewhere is stale, but one being broken right now (a fresh breaker
    // beside it) is left to whoever breaks it, until the breaker is old too.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(lock, old);
    ASSERT_TRUE(WriteFileAtomically(lock + ".break", ""));
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(100)).Held());
    fs::last_write_time(lock + ".break", old);
    EXPECT_TRUE(FileLock(lock, std::chrono::milliseconds(100)).Held());
    // Another machine's fresh lock with the same process number is not ours to judge.
    ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere " + std::to_string(gone) + "\n"));
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(50)).Held());
    // A live process this player may not signal still holds it. Root may signal every
    // process, so the judge is a child that gives root up and judges its parent's lock;
    // anyone else judges init's.
    ASSERT_EQ(chmod(dir.path.c_str(), 0777), 0);
    const pid_t judge = fork();
    if (judge == 0) {
        pid_t holder = 1;
        if (geteuid() == 0) {
            holder = getppid();
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
        }
        if (kill(holder, 0) == 0 || errno != EPERM)
            _exit(3);
        if (!WriteFileAtomically(lock, owner(holder) + "\n"))
            _exit(2);
        _exit(FileLock(lock, std::chrono::milliseconds(50)).Held() ? 1 : 0);
    }
    int status = 0;
    waitpid(judge, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "every process here may be signalled";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "judge ended with " << status;
}

// A network share's answers and a machine whose clock is off: an exclusive create or a link
// onto a name that exists fails with EPERM, as over SFTP; renames refused a number of times;
// a folder that takes nothing; this machine's clock `skew` off the file server's.
struct FakeShare final : ShareOps {
    int CreateExclusive(const std::string& path) override {
        if (lockErrno != 0 && path.ends_with(".lock")) {
            errno = lockErrno;
            return -1;
        }
        if (path.find(".lock.") != std::string::npos && ownFiles-- <= 0) {
            errno = EACCES;
            return -1;
        }
        if (Refused(path) || (fullDisk && path.find(".tmp") != std::string::npos)) {
            errno = fullDisk ? ENOSPC : errno;
            return -1;
        }
        return ShareOps::CreateExclusive(path);
    }
    int Link(const std::string& from, const std::string& to) override {
        if (noLinks) {
            errno = EPERM;
            return -1;
        }
        return Refused(to) ? -1 : ShareOps::Link(from, to);
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (refusedRenames > 0) {
            --refusedRenames;
            errno = EBUSY;
            return -1;
        }
        return ShareOps::Rename(from, to);
    }
    timespec Now() override {
        timespec now = ShareOps::Now();
        now.tv_sec += skew.count() + tick.count() * ++calls;
        return now;
    }
    bool Refused(const std::string& path) const {
        errno = readOnly ? EROFS : EPERM;
        return readOnly || fs::exists(path);
    }
    int refusedRenames = 0;
    bool readOnly = false;
    bool fullDisk = false;  // the lock fits, the table does not
    bool noLinks = false;   // a file system without hard links
    std::chrono::seconds skew{0};
    int lockErrno = 0;             // what an exclusive create of the lock's name fails with
    int ownFiles = 1 << 30;        // how many more files of its own a lock can make
    std::chrono::seconds tick{0};  // this machine's clock runs this much on with every look
    int64_t calls = 0;
};

size_t Entries(const std::string& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

TEST(RecordsLock, AnEpermFromAnExclusiveCreateIsSomeonesLockAndTheTableWaitsForIt) {
    testing::TempFolder share, own;
    FakeShare fake;
    HallOfFame fame(share.path, own.path, fake);
    fame.LockWait = milliseconds(200);
    fame.Read_Records_File();
    {
        const FileLock other(fame.Path() + ".lock", milliseconds(0), milliseconds(8000), fake);
        ASSERT_TRUE(other.Held());
        const auto start = std::chrono::steady_clock::now();
        const FileLock second(fame.Path() + ".lock", milliseconds(200), milliseconds(8000), fake);
        EXPECT_EQ(SEEN(second.Held(), second.Impossible()),
                  "second.Held()=false\nsecond.Impossible()=false\n");
        EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(200));
        // Not written without the lock: the result waits in the player's own folder.
        EXPECT_FALSE(fame.Write_Records_File(RecordEntry{"waits", 50}));
        EXPECT_EQ(ReadFileBytes(fame.Path()).bytes, kDefaultRecordsFile);
        EXPECT_EQ(SEEN(fame.Pending().size(), fame.Table.front().Name),
                  "fame.Pending().size()=1\nfame.Table.front().Name=waits\n");
    }
    // Renames refused now and then are tried again; refused for good, the result waits.
    fake.refusedRenames = 2;
    EXPECT_TRUE(fame.Write_Records_File(RecordEntry{"now", 60}));
    EXPECT_EQ(
        SEEN(fame.Table.size(), fame.Table[1].Name, fame.Table[1].Id.size(), fame.Pending().size()),
        "fame.Table.size()=3\nfame.Table[1].Name=waits\nfame.Table[1].Id.size()=16\n"
        "fame.Pending().size()=0\n");
    fake.refusedRenames = 100;
    EXPECT_FALSE(fame.Write_Records_File(RecordEntry{"refused", 70}));
    fake.refusedRenames = 0;
    fake.fullDisk = true;
    EXPECT_FALSE(fame.Write_Records_File(RecordEntry{"full", 80}));
    const size_t stored = ParseRecords(ReadFileBytes(fame.Path()).bytes).size();
    EXPECT_EQ(SEEN(stored, fame.Pending().size(), Entries(share.path)),
              "stored=3\nfame.Pending().size()=2\n"
              "Entries(share.path)=1\n");  // no lock, no temporary file left
    fake.fullDisk = false;
    // Without hard links the lock is created exclusively, and still excludes.
    fake.noLinks = true;
    {
        const FileLock first(fame.Path() + ".lock", milliseconds(0), milliseconds(8000), fake);
        const FileLock second(fame.Path() + ".lock", milliseconds(50), milliseconds(8000), fake);
        EXPECT_EQ(SEEN(first.Held(), second.Held(), second.Impossible()),
                  "first.Held()=true\nsecond.Held()=false\nsecond.Impossible()=false\n");
    }
    EXPECT_TRUE(fame.Write_Records_File(std::nullopt));
    fake.noLinks = false;
    // A folder that takes nothing is told apart at once: no waiting for a lock there.
    fake.readOnly = true;
    const auto start = std::chrono::steady_clock::now();
    const FileLock none(fame.Path() + ".lock", milliseconds(2000), milliseconds(8000), fake);
    EXPECT_EQ(SEEN(none.Held(), none.Impossible()), "none.Held()=false\nnone.Impossible()=true\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(1000));
}

TEST(RecordsLock, WhatAFailedCreateSaysOfTheFolderDecidesBetweenWaitingAndGivingUp) {
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    const size_t fds = Entries("/proc/self/fd");
    // No hard links and no lock to be seen: a folder that cannot take the lock is given up
    // at once; a lock that came and went between the two looks is waited for.
    const struct {
        int error;
        bool impossible, waited;  // and never held
    } cases[] = {{EROFS, true, false},  {EACCES, true, false}, {ENOENT, true, false},
                 {ENOSPC, true, false}, {EDQUOT, true, false}, {EEXIST, false, true},
                 {EPERM, false, true},  {EBUSY, false, true},  {EINTR, false, true}};
    for (const auto& c : cases) {
        FakeShare fake;
        fake.noLinks = true;
        fake.lockErrno = c.error;
        const auto start = std::chrono::steady_clock::now();
        const FileLock second(lock, milliseconds(150), milliseconds(8000), fake);
        const bool waited = std::chrono::steady_clock::now() - start >= milliseconds(150);
        SCOPED_TRACE(strerror(c.error));
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(second.Impossible(), c.impossible);
        EXPECT_EQ(waited, c.waited);
        EXPECT_EQ(Entries(dir.path), 0u);
    }
    // Waiting for a live lock, the own file is made anew each second of the share's time;
    // once the folder takes no more files, waiting on is pointless.
    const FileLock first(lock);
    ASSERT_TRUE(first.Held());
    // Its stamp is the server's time when it was made, just before the file was written.
    struct stat info {};
    ASSERT_EQ(stat(lock.c_str(), &info), 0);
    const FileLock::Owner owner = FileLock::ParseOwner(ReadFileBytes(lock).bytes);
    const int64_t written = info.st_mtim.tv_sec * int64_t{1000000000} + info.st_mtim.tv_nsec;
    EXPECT_TRUE(owner.stampNs <= written && written - owner.stampNs < 200000000)
        << owner.stampNs << " " << written;
    EXPECT_EQ(owner.pid, getpid());
    const size_t before = Entries(dir.path);
    // Without the share's time running on, the first own file serves the whole wait.
    // Own files allowed, seconds a look, then whether it gave up as impossible, and early.
    for (const auto& [allowed, tick, impossible, early] :
         {std::tuple{1, 1, true, true}, std::tuple{2, 1, true, true},
          std::tuple{1, 0, false, false}}) {
        FakeShare fake;
        fake.tick = std::chrono::seconds(tick);
        fake.ownFiles = allowed;
        const auto start = std::chrono::steady_clock::now();
        const FileLock second(lock, milliseconds(300), milliseconds(3600000), fake);
        SCOPED_TRACE(std::to_string(allowed) + " own files, " + std::to_string(tick) + " s a look");
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(second.Impossible(), impossible);
        EXPECT_EQ(std::chrono::steady_clock::now() - start < milliseconds(300), early);
        EXPECT_EQ(Entries(dir.path), before);  // nothing of its own left behind
    }
    EXPECT_EQ(Entries("/proc/self/fd"), fds);  // and no file left open
}

TEST(RecordsLock, AgesAreJudgedByTheFileServersClockNotThisMachines) {
    testing::TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    const auto stamp = [](std::chrono::seconds ago) {
        const auto t = std::chrono::system_clock::now() - ago;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch());
        return " " + std::to_string(ns.count() / 1000000000) + " " +
               std::to_string(ns.count() % 1000000000) + " 1 elsewhere\n";
    };
    for (const int skew : {30, -30}) {
        FakeShare fake;
        fake.skew = std::chrono::seconds(skew);
        const auto held = [&] {
            return FileLock(lock, milliseconds(60), milliseconds(8000), fake).Held();
        };
        SCOPED_TRACE("this machine " + std::to_string(skew) + " s off");
        // Fresh by the share's clock: by its stamp inside, or by the file's time (older
        // versions of the game write no stamp).
        ASSERT_TRUE(WriteFileAtomically(lock, "0123456789abcdef" + stamp(std::chrono::seconds(1))));
        EXPECT_FALSE(held()) << "a fresh stamp";
        ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere 1\n"));
        EXPECT_FALSE(held()) << "a fresh file without a stamp";
        // Older than the limit by the share's clock: taken over.
        ASSERT_TRUE(
            WriteFileAtomically(lock, "0123456789abcdef" + stamp(std::chrono::seconds(20))));
        EXPECT_TRUE(held()) << "an old stamp";
        ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere 1\n"));
        fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::seconds(20));
        EXPECT_TRUE(held()) << "an old file without a stamp";
        EXPECT_EQ(Entries(dir.path), 0u);
    }
}

// Two games of one player ending at once: removing waiting results takes the lock that
// keeping one takes, so a removal never writes back a list without a result kept meanwhile.
TEST(RecordsPending, RemovingWaitsForTheLockThatKeepingTakes) {
    testing::TempFolder own;
    PendingResults kept(own.path);
    kept.Add("/share", RecordEntry{"first", 10});
    const std::string id = kept.For("/share").at(0).Id;
    {
        const FileLock keeping(JoinPath(own.path, kPendingFileName) + ".lock",
                               std::chrono::seconds(1));
        ASSERT_TRUE(keeping.Held());
        kept.Remove({id});  // waits its time out and leaves the list alone
        EXPECT_EQ(kept.For("/share").size(), 1u);
    }
    kept.Remove({id});
    EXPECT_TRUE(kept.For("/share").empty());
}

TEST(RecordsFile, AResultThatCouldNotBeStoredIsStoredOnceAtTheNextStart) {
    testing::TempFolder root, own;
    const std::string share = root.File("share");
    fs::create_directory(share);
    HallOfFame fame(share, own.path);
    fame.LockWait = milliseconds(100);
    fame.Read_Records_File();
    {
        // Held by a process that is alive (this one) for longer than the wait.
        const FileLock busy(fame.Path() + ".lock");
        ASSERT_TRUE(busy.Held());
        EXPECT_FALSE(fame.Write_Records_File(RecordEntry{"busy", 500}));
    }
    // The share gone for a while, then unwritable.
    fs::rename(share, root.File("away"));
    EXPECT_FALSE(fame.Write_Records_File(RecordEntry{"gone", 400}));
    fs::rename(root.File("away"), share);
    FakeShare readOnly;
    readOnly.readOnly = true;
    HallOfFame unwritable(share, own.path, readOnly);
    unwritable.Read_Records_File();
    EXPECT_FALSE(unwritable.Write_Records_File(RecordEntry{"ro", 300}));
    EXPECT_FALSE(fs::exists(JoinPath(share, kPendingFileName)));  // never in the shared folder
    // One waiting for another table stays where it is. Of those, only the 99 best can ever
    // enter a table: no more are kept.
    PendingResults kept(own.path);
    for (int S = 1; S <= 100; ++S)
        kept.Add("/elsewhere", RecordEntry{"other", double(S)});
    kept.Add("/elsewhere", RecordEntry{"later", 100});  // behind the equal one kept before
    const RecordTable others = kept.For("/elsewhere");
    EXPECT_EQ(SEEN(others.size(), others[0].Name, others[1].Name, others.back().Score),
              "others.size()=99\nothers[0].Name=other\nothers[1].Name=later\n"
              "others.back().Score=3\n");
    kept.Remove({others[0].Id});
    const std::string waiting = ReadFileBytes(JoinPath(own.path, kPendingFileName)).bytes;
    const auto start = [&] {
        HallOfFame next(share, own.path);
        next.Read_Records_File();
        std::string names;
        for (const RecordEntry& e : next.Table)
            names += e.Name + " ";
        const size_t waitingHere = next.Pending().size();
        const size_t waitingElsewhere = PendingResults(own.path).For("/elsewhere").size();
        return SEEN(names, waitingHere, waitingElsewhere);
    };
    EXPECT_EQ(start(), "names=busy gone ro Borkin \nwaitingHere=0\nwaitingElsewhere=98\n");
    // A crash between the store and clearing the waiting results, with the dead process's
    // lock left behind: the next start finds them stored already.
    ASSERT_TRUE(WriteFileAtomically(JoinPath(own.path, kPendingFileName), waiting));
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    ASSERT_TRUE(WriteFileAtomically(fame.Path() + ".lock",
                                    std::string(host) + " " + std::to_string(dead) + "\n"));
    EXPECT_EQ(start(), "names=busy gone ro Borkin \nwaitingHere=0\nwaitingElsewhere=98\n");
    EXPECT_EQ(Entries(share), 1u);
}

// Eight machines sharing the folder each finish 50 games one after another and store them
// the way the game-over flow does; the scores 1 to 400 each come once, scattered, each
// under its own number as the name.
TEST(RecordsFile, EightMachinesStoringAtOnceLoseNoResult) {
    const auto score = [](int process, int k) { return (k * 8 + process) * 263 % 400 + 1; };
    testing::TempFolder folder;
    // No file yet, and a stale lock left by a machine that crashed an hour ago.
    ASSERT_TRUE(WriteFileAtomically(folder.File("VorblinFathers.txt.lock"), "elsewhere 1\n"));
    fs::last_write_time(folder.File("VorblinFathers.txt.lock"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    std::vector<pid_t> children;
    for (int p = 0; p < 8; ++p) {
        if (children.emplace_back(fork()) != 0)
            continue;
        HallOfFame fame(folder.path);
        bool stored = true;
        for (int k = 0; k < 50; ++k) {
            fame.Read_Records_File();  // the game's start
            const auto ask = [&] { return NameEntry{std::to_string(score(p, k)), false}; };
            const auto entry = fame.Add_Record(score(p, k), ask, [] { return ""; });
            stored = fame.Write_Records_File(entry) && stored;
        }
        _exit(stored ? 0 : 1);
    }
    for (const pid_t pid : children) {
        int status = -1;
        waitpid(pid, &status, 0);
        EXPECT_EQ(status, 0) << "stores failed";
    }
    // Exactly the 99 best of the 400 results, best first, each name with its own score.
    HallOfFame fame(folder.path);
    fame.Read_Records_File();
    EXPECT_EQ(fame.Table, Table(99, 400));
    // No lock and no temporary file left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator{}), 1);
}

// Files stitched from the pieces a table file is made of, and from pieces that break it:
// Windows-1251 and UTF-8 letters, numbers and what spoils them; random bytes add the rest.
TEST(RecordsFile, ReaderSurvivesStitchedAndRandomFiles) {
    const std::string_view pieces[] = {"\r\n", "\n",   "\r",    " ",        "-7",
                                       "abc",  "12.5", "1e309", " 1250",    "Юля",
                                       "€",    "\x98", "\xD0",  "\xC1\xEE", "9999999999"};
    std::mt19937 random(20261206);
    for (int round = 0; round < 4000; ++round) {
        std::string file;
        for (int i = static_cast<int>(random() % 40); i > 0; --i)
            file += random() % 8 ? std::string(pieces[random() % std::size(pieces)])
                                 : std::string(1, static_cast<char>(random()));
        ASSERT_EQ(
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(file.data()), file.size()), 0);
    }
}

// What a landing leaves: the position, the place and next place captions, whether the next
// place shows, the list's selection, whether the menu flashes, the climb's statistics lines
// and the grid lines in the first-place colour.
struct Landed {
    int position;
    std::string place, nextPlace;
    bool nextShown;
    int listIndex;
    bool flashing;
    std::string climb;
    long firstPlaceGrid;
    bool operator==(const Landed&) const = default;
};

void PrintTo(const Landed& l, std::ostream* out) {
    *out << "position=" << l.position << ", place=" << l.place << ", nextPlace=" << l.nextPlace
         << ", nextShown=" << l.nextShown << ", listIndex=" << l.listIndex
         << ", flashing=" << l.flashing << ", climb=" << l.climb
         << ", firstPlaceGrid=" << l.firstPlaceGrid;
}

// Lands a one-cell figure on the floor of an empty well with the shown score S.
Landed Land(ShellRig& rig, int32_t S) {
    Game& g = rig.game;
    g.board.Reset();
    testing::LandOnNextTick(g, S);
    rig.well.ops.clear();
    g.lstStatistic.Clear();
    Timer& flash = rig.main.menu.tmrMigMenuControls;
    flash.Enabled = false;
    g.tmrDown_Timer();
    std::string climb;  // the landing's own line is the last
    for (size_t i = 0; i + 1 < g.lstStatistic.Items.size(); ++i)
        climb += g.lstStatistic.Items[i] + ";";
    std::ostringstream colour;
    colour << " #" << std::hex << std::uppercase << static_cast<unsigned>(kFirstPlaceGridColour);
    const auto grid = std::ranges::count_if(
        rig.well.ops, [&](const std::string& op) { return op.ends_with(colour.str()); });
    return {g.Position,
            g.lblPosition.Caption,
            g.lblNextPlace.Caption,
            g.lblNextPlace.Visible,
            rig.main.records.lstTable.ListIndex,
            flash.Enabled,
            climb,
            grid};
}

TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    const struct {
        RecordTable table;
        std::vector<std::pair<int32_t, Landed>> landings;  // S, then what is seen
        struct {
            int position;
            const char* place;
            bool nextShown, firstPlaceColour;
        } newGame;
    } cases[] = {
        {{{"a", 500}, {"b", 400}, {"c", 300}},
         {{100, {3, "Place # 4", "Next Place : +200", true, -1, false, "", 0}},
          {450, {1, "Place # 2", "Next Place : +50", true, 1, true, "...Place : 2;", 0}},
          {500, {1, "Place # 2", "Next Place : +0", true, 1, false, "", 0}},  // equal: no pass
          // Hidden, not cleared; the grid once more, in its new colour.
          {501, {0, "Place # 1", "Next Place : +0", false, 0, true, "...VICTORY !!!;", 58}},
          {100000, {0, "Place # 1", "Next Place : +0", false, 0, false, "", 58}}},
         {3, "Place # 4", true, true}},  // the colour stays for the next game
        {Table(99),
         {{902, {99, "", "Next Place : +0", true, -1, false, "", 0}},
          {903, {98, "Place # 99", "Next Place : +0", true, 98, true, "...Place : 99;", 0}}},
         {99, "", true, false}},
        {Table(120),  // hand-made: no place behind the 99th, nor a place number there
         {{902, {99, "", "Next Place : +0", true, -1, false, "", 0}},
          {903, {98, "Place # 99", "Next Place : +0", true, 98, true, "...Place : 99;", 0}}},
         {120, "", true, false}},
        {{}, {{10, {0, "Place # 1", "", true, -1, false, "", 58}}}, {0, "Place # 1", true, false}},
    };
    for (const auto& c : cases) {
        ShellRig rig;
        ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(c.table)));
        rig.main.Form_Load();
        for (const auto& [S, seen] : c.landings)
            EXPECT_EQ(Land(rig, S), seen) << S << " after " << c.table.size() << " entries";
        rig.main.New_Game();
        const Game& g = rig.game;
        SCOPED_TRACE("a new game after " + std::to_string(c.table.size()) + " entries");
        EXPECT_EQ(g.Position, c.newGame.position);
        EXPECT_EQ(g.lblPosition.Caption, c.newGame.place);
        EXPECT_EQ(g.lblNextPlace.Visible, c.newGame.nextShown);
        EXPECT_EQ(g.lblPosition.ForeColor == QBColor(11), c.newGame.firstPlaceColour);
    }
}

}  // namespace
}  // namespace vorblin
