#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "records/file_lock.h"
#include "records/hall_of_fame.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
void PrintTo(const RecordEntry& e, std::ostream* os) {
    *os << e.Name << " " << e.Score;
}

namespace {

namespace fs = std::filesystem;
using testing::Seen;
using testing::TempFolder;

// n entries "p1".."pn" scoring 1000, 990, 980, ...
RecordTable Descending(int n) {
    RecordTable table;
    for (int i = 1; i <= n; ++i)
        table.push_back({"p" + std::to_string(i), 1010.0 - 10 * i});
    return table;
}

TEST(RecordsFile, WritesCp1251WithABlankBeforeEachScoreAndReadsWhatHandsLeave) {
    EXPECT_EQ(FormatRecords({{"Борис", 1250}, {"Borkin", 0}, {"neg", -5}}),
              "\xC1\xEE\xF0\xE8\xF1\r\n 1250\r\nBorkin\r\n 0\r\nneg\r\n-5\r\n");
    // LF ends, stray blank lines, blanks around the digits, text instead of a number, a
    // name without its score line; UTF-8 is read as it stands.
    EXPECT_EQ(
        ParseRecords("\xC1\xEE\xF0\xE8\xF1\n 1250 \n\r\n\nAnna\r\n  77abc\r\nx\r\nnone\r\nlast"),
        (RecordTable{{"Борис", 1250}, {"Anna", 77}, {"x", 0}, {"last", 0}}));
    EXPECT_EQ(ParseRecords("Юля\r\n 5\r\n"), (RecordTable{{"Юля", 5}}));
    std::vector<double> numbers;  // what a score line's leading number reads as
    for (const char* line : {" 1250", "1250 ", "\t-40", "+3", "12.5x", "2e3", "7e", ".5", "-", "",
                             "abc", "- 5", "-0", "1e999"})
        numbers.push_back(LeadingNumber(line));
    EXPECT_EQ(numbers, (std::vector<double>{1250, 1250, -40, 3, 12.5, 2000, 7, 0.5, 0, 0, 0, 0, 0,
                                            std::numeric_limits<double>::max()}));
    EXPECT_FALSE(std::signbit(LeadingNumber("-0")));
}

TEST(RecordsFile, ListLinesKeepTheNamesInTheFourthColumn) {
    EXPECT_EQ(TableLine(9, {"Borkin", 0}), "9. Borkin         0");
    EXPECT_EQ(TableLine(10, {"Borkin", 1250}), "10.Borkin         1250");
    EXPECT_EQ(TableLine(1, {"Юля", 5}), "1. Юля            5");  // padded by characters
    EXPECT_EQ(TableLine(1, {"a-name-of-sixteen", 5}), "1. a-name-of-sixteen5");
    EXPECT_EQ(TableLine(2, {"exactly15chars!", 5}), "2. exactly15chars!5");
}

TEST(RecordsTable, NewScoresGoBehindEqualOnesAndTheTableKeeps99) {
    RecordTable table{{"a", 50}, {"b", 40}, {"c", 40}, {"d", 30}, {"e", 20}};
    EXPECT_EQ(Seen(PlaceFor(table, 20), PlaceFor(table, 21), PlaceFor(table, 51)), "5|4|0|");
    EXPECT_TRUE(InsertRecord(table, {"new", 40}));  // behind both 40s
    EXPECT_EQ(table,
              (RecordTable{{"a", 50}, {"b", 40}, {"c", 40}, {"new", 40}, {"d", 30}, {"e", 20}}));

    RecordTable full = Descending(98);
    EXPECT_TRUE(InsertRecord(full, {"zero", 0}));  // the 99th place
    EXPECT_FALSE(EarnsPlace(full, 0));
    EXPECT_FALSE(InsertRecord(full, {"equal", 0}));
    EXPECT_TRUE(InsertRecord(full, {"better", 1}));  // the old 99th drops out
    RecordTable expected = Descending(98);
    expected.push_back({"better", 1});
    EXPECT_EQ(full, expected);

    RecordTable over = Descending(120);  // a hand-made file with too many lines
    EXPECT_TRUE(InsertRecord(over, {"top", 5000}));
    expected = Descending(98);
    expected.insert(expected.begin(), {"top", 5000});
    EXPECT_EQ(over, expected);
}

TEST(RecordsTable, NamesHoldOnlyWhatTheFileCanCarry) {
    EXPECT_EQ(CleanPlayerName("Иван Петров"), "Иван Петро");  // 10 characters
    EXPECT_EQ(CleanPlayerName("a\r\nb\tc\x7f"
                              "d"),
              "abcd");
    EXPECT_EQ(CleanPlayerName("x\xC2\x85y"), "xy");  // a C1 control
    EXPECT_EQ(CleanPlayerName("中a😀b€?"), "ab€?");
    EXPECT_EQ(CleanPlayerName("\xFF\xFEok"), "ok");  // not UTF-8 at all
}

struct GameOverStore : ::testing::Test {
    void SetUp() override { fame.Read_Records_File(); }
    std::optional<RecordEntry> Offer(int32_t S) {
        return fame.Add_Record(
            S,
            [this] {
                ++asked;
                return answer;
            },
            [] { return std::string("05.12.2026"); });
    }
    void Store(const RecordTable& table) {
        ASSERT_TRUE(WriteFileAtomically(fame.Path(), FormatRecords(table)));
    }
    std::string Bytes() const { return ReadFileBytes(fame.Path()).bytes; }
    TempFolder dir;
    HallOfFame fame{dir.path};
    NameEntry answer{"UnNamed", false};
    int asked = 0;
};

TEST_F(GameOverStore, AFreshFolderGetsTheDefaultTableAndTakesInWhatOthersStoredMeanwhile) {
    EXPECT_EQ(Bytes(), "Borkin\r\n0\r\n");
    fame.Fill_Table_List();
    EXPECT_EQ(fame.lstTable.Items, std::vector<std::string>{"1. Borkin         0"});
    EXPECT_FALSE(fame.Damaged);

    Store({{"other", 500}, {"Borkin", 0}});  // by another machine, after this game's start
    const auto entry = Offer(300);
    EXPECT_EQ(asked, 1);
    Store({{"other", 500}, {"third", 400}, {"Borkin", 0}});  // while the name window is open
    EXPECT_TRUE(fame.Write_Records_File(entry));
    EXPECT_EQ(fame.Table,
              (RecordTable{{"other", 500}, {"third", 400}, {"UnNamed", 300}, {"Borkin", 0}}));
    EXPECT_EQ(Bytes(), "other\r\n 500\r\nthird\r\n 400\r\nUnNamed\r\n 300\r\nBorkin\r\n 0\r\n");
    EXPECT_FALSE(fs::exists(fame.Path() + ".lock"));
}

TEST_F(GameOverStore, TheNameIsAskedOnlyForAPlaceAndNothingCleanIsTheDate) {
    Store(Descending(99));
    EXPECT_FALSE(Offer(20).has_value());  // read again: the last scores 20
    EXPECT_EQ(asked, 0);
    answer = {"Ignored", true};
    EXPECT_FALSE(Offer(21).has_value());  // cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(ParseRecords(Bytes()), Descending(99));
    answer = {"\r\n", false};
    EXPECT_EQ(Offer(21), (RecordEntry{"05.12.2026", 21}));
    fame.Clear_Records();
    EXPECT_TRUE(Offer(0).has_value());  // an empty table in memory: asked, not read again
    EXPECT_TRUE(fame.Table.empty());
}

TEST_F(GameOverStore, AFileThatCannotBeReadIsNeverWrittenOver) {
    // A folder where the file should be: it exists, but cannot be read as a file.
    fs::remove(fame.Path());
    fs::create_directory(fame.Path());
    fame.Read_Records_File();
    EXPECT_TRUE(fame.Damaged);
    EXPECT_TRUE(fame.Table.empty());
    EXPECT_FALSE(fame.Write_Records_File(Offer(300)));
    EXPECT_TRUE(fs::is_directory(fame.Path()));
    EXPECT_EQ(fame.Table, (RecordTable{{"UnNamed", 300}}));  // shown for this game only
}

TEST(RecordsLock, WaitsForALiveOwnerTakesOverADeadOrStaleOne) {
    TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const auto owner = [&](pid_t pid) {
        return std::string(host) + " " + std::to_string(pid) + "\n";
    };
    // A fresh lock of a process that is still running (this one): waited for, not taken.
    ASSERT_TRUE(WriteFileAtomically(lock, owner(getpid())));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(300)).Held());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_TRUE(fs::exists(lock));  // not ours to remove

    const pid_t gone = fork();  // the same, but its process has ended: taken over at once
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    ASSERT_TRUE(WriteFileAtomically(lock, owner(gone)));
    start = std::chrono::steady_clock::now();
    {
        const FileLock taken(lock, std::chrono::seconds(3));
        EXPECT_TRUE(taken.Held());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        EXPECT_EQ(ReadFileBytes(lock).bytes, owner(getpid()));
    }
    EXPECT_FALSE(fs::exists(lock));  // released
    // An old lock from elsewhere is stale, but one being broken right now (a fresh breaker
    // beside it) is left to whoever breaks it.
    ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere 1\n"));
    fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(WriteFileAtomically(lock + ".break", ""));
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(100)).Held());
    EXPECT_TRUE(fs::exists(lock + ".break"));
    fs::remove(lock + ".break");
    EXPECT_TRUE(FileLock(lock, std::chrono::milliseconds(100)).Held());
    // Another machine's fresh lock with the same process number is not ours to judge.
    ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere " + std::to_string(gone) + "\n"));
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(50)).Held());
}

}  // namespace
}  // namespace vorblin
