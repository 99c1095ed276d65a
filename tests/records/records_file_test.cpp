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

using testing::TempFolder;

RecordTable Table(std::initializer_list<std::pair<const char*, double>> entries) {
    RecordTable table;
    for (const auto& [name, score] : entries)
        table.push_back({name, score});
    return table;
}

// n entries "p1".."pn" scoring 1000, 990, 980, ...
RecordTable Descending(int n) {
    RecordTable table;
    for (int i = 1; i <= n; ++i)
        table.push_back({"p" + std::to_string(i), 1010.0 - 10 * i});
    return table;
}

std::string Bytes(const std::string& path) {
    return ReadFileBytes(path).bytes;
}

TEST(RecordsFile, AFreshFolderGetsTheDefaultTable) {
    TempFolder dir;
    HallOfFame fame(dir.path);
    fame.Read_Records_File();
    EXPECT_EQ(Bytes(fame.Path()), "Borkin\r\n0\r\n");
    fame.Fill_Table_List();
    EXPECT_EQ(fame.lstTable.Items, std::vector<std::string>{"1. Borkin         0"});
    EXPECT_FALSE(fame.Damaged);
}

TEST(RecordsFile, WritesCp1251WithABlankBeforeEachScore) {
    EXPECT_EQ(FormatRecords(Table({{"Борис", 1250}, {"Borkin", 0}, {"neg", -5}})),
              "\xC1\xEE\xF0\xE8\xF1\r\n 1250\r\nBorkin\r\n 0\r\nneg\r\n-5\r\n");
    // Every reader quirk the file may carry: LF ends, stray blank lines, blanks around the
    // digits, a name without its score line, text instead of a number.
    const RecordTable read =
        ParseRecords("\xC1\xEE\xF0\xE8\xF1\n 1250 \n\r\n\nAnna\r\n  77abc\r\nx\r\nnone\r\nlast");
    EXPECT_EQ(read, Table({{"Борис", 1250}, {"Anna", 77}, {"x", 0}, {"last", 0}}));
    EXPECT_EQ(ParseRecords("Юля\r\n 5\r\n"), Table({{"Юля", 5}}));  // UTF-8 as it stands
}

TEST(RecordsFile, ReadsTheNumberALineBeginsWith) {
    const std::pair<const char*, double> cases[] = {
        {" 1250", 1250}, {"1250 ", 1250},
        {"\t-40", -40},  {"+3", 3},
        {"12.5x", 12.5}, {"2e3", 2000},
        {"7e", 7},       {".5", 0.5},
        {"-", 0},        {"", 0},
        {"abc", 0},      {"- 5", 0},
        {"-0", 0},       {"1e999", 1.7976931348623157e308}};
    for (const auto& [line, value] : cases)
        EXPECT_EQ(LeadingNumber(line), value) << '"' << line << '"';
    EXPECT_FALSE(std::signbit(LeadingNumber("-0")));
    EXPECT_EQ(ScoreText(1250), "1250");
    EXPECT_EQ(ScoreText(-5), "-5");
    EXPECT_EQ(ScoreText(12.5), "12.5");
}

TEST(RecordsFile, ListLinesKeepTheNamesInTheFourthColumn) {
    EXPECT_EQ(TableLine(9, {"Borkin", 0}), "9. Borkin         0");
    EXPECT_EQ(TableLine(10, {"Borkin", 1250}), "10.Borkin         1250");
    EXPECT_EQ(TableLine(99, {"05.12.2026", 7}), "99.05.12.2026     7");
    EXPECT_EQ(TableLine(1, {"Юля", 5}), "1. Юля            5");  // padded by characters
    EXPECT_EQ(TableLine(1, {"a-name-of-sixteen", 5}), "1. a-name-of-sixteen5");
    EXPECT_EQ(TableLine(2, {"exactly15chars!", 5}), "2. exactly15chars!5");
}

TEST(RecordsTable, NewScoresGoBehindEqualOnesAndTheTableKeeps99) {
    RecordTable table = Table({{"a", 50}, {"b", 40}, {"c", 40}, {"d", 30}, {"e", 20}});
    EXPECT_EQ(PlaceFor(table, 20), 5u);  // equal to the last: behind it
    EXPECT_EQ(PlaceFor(table, 21), 4u);
    EXPECT_EQ(PlaceFor(table, 40), 3u);  // behind both 40s
    EXPECT_EQ(PlaceFor(table, 51), 0u);
    EXPECT_TRUE(InsertRecord(table, {"new", 40}));
    EXPECT_EQ(table[3], (RecordEntry{"new", 40}));
    EXPECT_EQ(table[4], (RecordEntry{"d", 30}));

    RecordTable full = Descending(99);  // the last scores 20
    EXPECT_FALSE(EarnsPlace(full, 20));
    EXPECT_FALSE(InsertRecord(full, {"equal", 20}));
    EXPECT_TRUE(InsertRecord(full, {"better", 21}));
    ASSERT_EQ(full.size(), 99u);
    EXPECT_EQ(full[98], (RecordEntry{"better", 21}));  // the old 99th dropped out
    EXPECT_EQ(full[97], (RecordEntry{"p98", 30}));

    RecordTable short98 = Descending(98);
    EXPECT_TRUE(EarnsPlace(short98, 0));
    EXPECT_TRUE(InsertRecord(short98, {"zero", 0}));
    EXPECT_EQ(short98.back(), (RecordEntry{"zero", 0}));

    RecordTable over = Descending(120);  // a hand-made file with too many lines
    EXPECT_TRUE(InsertRecord(over, {"top", 5000}));
    EXPECT_EQ(over.size(), 99u);
    EXPECT_EQ(over[98].Name, "p98");
}

TEST(RecordsTable, NamesHoldOnlyWhatTheFileCanCarry) {
    EXPECT_EQ(CleanPlayerName("UnNamed"), "UnNamed");
    EXPECT_EQ(CleanPlayerName("Иван Петров"), "Иван Петро");  // 10 characters
    EXPECT_EQ(CleanPlayerName("a\r\nb\tc\x7f"
                              "d"),
              "abcd");
    EXPECT_EQ(CleanPlayerName("x\xC2\x85y"), "xy");  // a C1 control
    EXPECT_EQ(CleanPlayerName("中a😀b€?"), "ab€?");
    EXPECT_EQ(CleanPlayerName("\xFF\xFEok"), "ok");  // not UTF-8 at all
}

struct GameOverStore : ::testing::Test {
    void SetUp() override {
        fame.Read_Records_File();
        fame.Fill_Table_List();
    }
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
    TempFolder dir;
    HallOfFame fame{dir.path};
    NameEntry answer{"UnNamed", false};
    int asked = 0;
};

TEST_F(GameOverStore, TakesInWhatOtherMachinesStoredMeanwhile) {
    Store(Table({{"other", 500}, {"Borkin", 0}}));  // after this game's start
    const auto entry = Offer(300);
    EXPECT_EQ(asked, 1);
    // Yet another machine stores while the name window is open.
    Store(Table({{"other", 500}, {"third", 400}, {"Borkin", 0}}));
    EXPECT_TRUE(fame.Write_Records_File(entry));
    EXPECT_EQ(fame.Table, Table({{"other", 500}, {"third", 400}, {"UnNamed", 300}, {"Borkin", 0}}));
    EXPECT_EQ(Bytes(fame.Path()),
              "other\r\n 500\r\nthird\r\n 400\r\nUnNamed\r\n 300\r\nBorkin\r\n 0\r\n");
    EXPECT_FALSE(std::filesystem::exists(fame.Path() + ".lock"));
}

TEST_F(GameOverStore, NoPlaceAsksNoNameButTheFileIsWrittenAsReadAgain) {
    Store(Descending(99));
    EXPECT_FALSE(Offer(20).has_value());
    EXPECT_EQ(asked, 0);
    fame.Write_Records_File(std::nullopt);
    EXPECT_EQ(ParseRecords(Bytes(fame.Path())), Descending(99));

    EXPECT_TRUE(Offer(21).has_value());
    EXPECT_EQ(asked, 1);
}

TEST_F(GameOverStore, ACancelledNameStoresNothingAndAnEmptyOneIsTheDate) {
    answer = {"Ignored", true};
    EXPECT_FALSE(Offer(100).has_value());
    EXPECT_TRUE(fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(fame.Table, Table({{"Borkin", 0}}));

    answer = {"", false};
    const auto entry = Offer(100);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(*entry, (RecordEntry{"05.12.2026", 100}));
    answer = {"\r\n", false};  // nothing left once cleaned: the date too
    EXPECT_EQ(Offer(1)->Name, "05.12.2026");
    answer = {"Ёжик\nX", false};
    EXPECT_EQ(Offer(1)->Name, "ЁжикX");
}

TEST_F(GameOverStore, AnEmptyTableAsksWithoutReadingAgain) {
    fame.Clear_Records();
    Store(Descending(99));
    EXPECT_TRUE(Offer(0).has_value());  // empty in memory: asked, not compared
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fame.Table.empty());
}

TEST_F(GameOverStore, AFileThatCannotBeReadIsNeverWrittenOver) {
    // A folder where the file should be: it exists, but cannot be read as a file.
    std::filesystem::remove(fame.Path());
    std::filesystem::create_directory(fame.Path());
    fame.Read_Records_File();
    EXPECT_TRUE(fame.Damaged);
    EXPECT_TRUE(fame.Table.empty());
    const auto entry = Offer(300);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(fame.Write_Records_File(entry));
    EXPECT_TRUE(std::filesystem::is_directory(fame.Path()));
    EXPECT_EQ(fame.Table, Table({{"UnNamed", 300}}));  // shown for this game only
}

TEST_F(GameOverStore, AStaleLockDoesNotBlockForEver) {
    // A lock left by a process of this machine that has died.
    ASSERT_TRUE(WriteFileAtomically(fame.Path() + ".lock", "nohost-that-exists 1\n"));
    std::filesystem::last_write_time(
        fame.Path() + ".lock",
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(fame.Write_Records_File(RecordEntry{"late", 5}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(fame.Table.front().Name, "late");
    EXPECT_FALSE(std::filesystem::exists(fame.Path() + ".lock"));
}

std::string ThisHost() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

TEST(RecordsLock, ALiveOwnerBlocksADeadOneOnThisMachineDoesNot) {
    TempFolder dir;
    const std::string lock = dir.File("VorblinFathers.txt.lock");
    // A lock of a process that is still running (this one), fresh: waited for, not taken.
    ASSERT_TRUE(WriteFileAtomically(lock, ThisHost() + " " + std::to_string(getpid()) + "\n"));
    {
        const auto start = std::chrono::steady_clock::now();
        const FileLock waited(lock, std::chrono::milliseconds(300));
        EXPECT_FALSE(waited.Held());
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    }
    EXPECT_TRUE(std::filesystem::exists(lock));  // not ours to remove

    // The same, but its process has ended: taken over at once.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    ASSERT_TRUE(WriteFileAtomically(lock, ThisHost() + " " + std::to_string(gone) + "\n"));
    {
        const auto start = std::chrono::steady_clock::now();
        const FileLock taken(lock, std::chrono::seconds(3));
        EXPECT_TRUE(taken.Held());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        EXPECT_EQ(ReadFileBytes(lock).bytes, ThisHost() + " " + std::to_string(getpid()) + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(lock));  // released
    // A stale lock that somebody is taking over right now (a fresh breaker beside it) is
    // left to them.
    ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere 1\n"));
    std::filesystem::last_write_time(
        lock, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(WriteFileAtomically(lock + ".break", ""));
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(100)).Held());
    EXPECT_TRUE(std::filesystem::exists(lock + ".break"));
    std::filesystem::remove(lock + ".break");
    EXPECT_TRUE(FileLock(lock, std::chrono::milliseconds(100)).Held());
    // Another machine's fresh lock with the same process number is not ours to judge.
    ASSERT_TRUE(WriteFileAtomically(lock, "elsewhere " + std::to_string(gone) + "\n"));
    EXPECT_FALSE(FileLock(lock, std::chrono::milliseconds(50)).Held());
}

}  // namespace
}  // namespace vorblin
