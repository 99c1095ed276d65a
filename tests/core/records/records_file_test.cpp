// The hall of fame: its file, its table, the place during play.
#include <gtest/gtest.h>

#include <random>

#include "core/records/place_tracker.h"
#include "share_rig.h"

// The hall-of-fame reader against any bytes (records_fuzz.cpp), also libFuzzer's entry point.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vorblin {
namespace {

using testing::Counts;
using testing::Table;

// The last place's score in Table(n >= kMaxRecords): 1000, 999, ...
constexpr int kLast = 1001 - static_cast<int>(kMaxRecords);

// Names, scores and identities, as a line.
std::string Listed(const RecordTable& table) {
    std::string text;
    for (const RecordEntry& e : table)
        text += e.Name + " " + ScoreText(e.Score) + (e.Id.empty() ? "" : " #" + e.Id) + ";";
    return text;
}

TEST(RecordsFile, WritesCp1251WithABlankBeforeEachScoreAndReadsWhatHandsLeave) {
    const std::string bytes = FormatRecords({{"Борис", 1250}, {"neg", -5}, {"late", 7, "a1f"}});
    EXPECT_EQ(bytes.substr(0, 14), "\xC1\xEE\xF0\xE8\xF1\r\n 1250 ~");
    EXPECT_EQ(bytes.substr(bytes.find("\r\nneg")), "\r\nneg\r\n-5\r\nlate\r\n 7 #a1f\r\n");
    // LF ends, stray blank lines, blanks around the digits, text instead of a number, a
    // name without its score line; an identity only as a word of its own. Windows-1251
    // always, also where the bytes happen to be valid UTF-8 ("ПЁ" = CF A8).
    EXPECT_EQ(
        Listed(ParseRecords("\xC1\xEE\xF0\xE8\xF1\n 1250 \n\r\n\nAnna\r\n  77abc\r\nx\r\nnone\r\n"
                            "id\r\n 3 #9f \r\nno\r\n 4#9f\r\n\xCF\xA8\r\n 5\r\nlast")),
        "Борис 1250;Anna 77;x 0;id 3 #9f;no 4;ПЁ 5;last 0;");
}

TEST(RecordsTable, NewScoresGoBehindEqualOnesTheTableKeeps99AndNamesWhatTheFileCarries) {
    RecordTable table{{"a", 50}, {"b", 40}, {"c", 40}, {"d", 30}};
    for (const RecordEntry& e : RecordTable{{"b2", 40}, {"d2", 30}, {"top", 51}})
        EXPECT_TRUE(InsertRecord(table, e));  // behind the equal ones
    EXPECT_EQ(Listed(table), "top 51;a 50;b 40;c 40;b2 40;d 30;d2 30;");
    constexpr int kAll = static_cast<int>(kMaxRecords);
    RecordTable full = Table(kAll - 1, kAll);   // kAll down to 2
    EXPECT_TRUE(InsertRecord(full, {"0", 0}));  // the last place
    EXPECT_FALSE(InsertRecord(full, {"equal", 0}));
    EXPECT_TRUE(InsertRecord(full, {"1", 1}));  // and the old last drops out
    EXPECT_EQ(full, Table(kAll, kAll));
    EXPECT_EQ(full.size(), 99u);  // the hall of fame's 99 places
    // A hand-made table longer than the table: a place behind the last is no place at all.
    EXPECT_TRUE(EarnsPlace(Table(kAll + 21), kLast + 1));
    EXPECT_FALSE(EarnsPlace(Table(kAll + 21), kLast));
    EXPECT_EQ(CleanPlayerName("Иван Петров"), "Иван Петро");  // 10 characters
    EXPECT_EQ(CleanPlayerName("a\r\nb\tc\x7f-\xC2\x85!\xC2\xA0"), "abc-!\xC2\xA0");  // C1, NBSP
    EXPECT_EQ(CleanPlayerName("中a\xFF\xFE😀b€?"), "ab€?");  // what Windows-1251 cannot hold
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
    // A folder where the file should be: it exists, but cannot be read as a file. The result
    // is shown meanwhile, and stored once it can be.
    std::filesystem::remove(fame.Path());
    std::filesystem::create_directory(fame.Path());
    fame.Read_Records_File();
    EXPECT_TRUE(fame.Damaged);
    EXPECT_FALSE(fame.Write_Records_File(offer(300)));
    EXPECT_EQ(Counts(fame.Table, {"today", "Borkin"}), "today=1\nBorkin=0\n");
    std::filesystem::remove(fame.Path());
    EXPECT_TRUE(fame.Write_Records_File(std::nullopt));
    EXPECT_EQ(Counts(testing::Stored(dir.path), {"today", "Borkin"}), "today=1\nBorkin=1\n");
}

// Files stitched from the pieces a table file is made of, and from pieces that break it:
// Windows-1251 and UTF-8 letters, numbers and what spoils them; random bytes add the rest.
TEST(RecordsFile, ReaderSurvivesStitchedAndRandomFiles) {
    const std::string_view pieces[] = {"\r\n", "\n",    "\r",    " ",   "-7",          "abc",
                                       "12.5", "1e309", " 1250", "Юля", "\x98\xD0\xC1"};
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

// The place during play, after landings with the shown scores; seen: the position, the place
// and next place captions, whether the next place shows, the list's selection, whether the
// menu flashes, the climb's lines and the grids drawn again (in the first place's colour).
TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    const RecordTable three = {{"a", 500}, {"b", 400}, {"c", 300}};
    const std::string last = std::to_string(kMaxRecords);
    const struct {
        RecordTable table;
        std::vector<int32_t> landings;
        std::string seen;
    } cases[] = {
        {three, {100}, "3||Next Place : +200|1|-1|0||0"},
        {three, {450, 500}, "1|Place # 2|Next Place : +0|1|1|1|...Place : 2\n|0"},  // equal
        // Hidden, not cleared; the grid once more, in its new colour.
        {three, {450, 501}, "0|Place # 1|Next Place : +50|0|0|1|...Place : 2\n...VICTORY !!!\n|1"},
        // Hand-made and longer: no place behind the last.
        {Table(kMaxRecords + 21),
         {kLast, kLast + 1},
         std::to_string(kMaxRecords - 1) + "|Place # " + last + "|Next Place : +0|1|" +
             std::to_string(kMaxRecords - 1) + "|1|...Place : " + last + "\n|0"},
        {{}, {10}, "0|||1|-1|0||0"},
    };
    for (const auto& c : cases) {
        int16_t position = static_cast<int16_t>(c.table.size());
        Label place, next;
        ListBox list, climb;
        Timer flash;
        int grids = 0;
        PlaceTracker tracker;
        for (const int32_t S : c.landings)
            tracker.Update_Place(c.table, S,
                                 {position, place, next, list, climb, flash, [&] { ++grids; }});
        std::ostringstream seen;
        seen << position << "|" << place.Caption << "|" << next.Caption << "|" << next.Visible
             << "|" << list.ListIndex << "|" << flash.Enabled << "|" << testing::Joined(climb.Items)
             << "|" << grids;
        EXPECT_EQ(seen.str(), c.seen);
    }
}

}  // namespace
}  // namespace vorblin
