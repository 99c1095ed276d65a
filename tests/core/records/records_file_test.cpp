// The hall of fame: its file and its table.
#include <gtest/gtest.h>

#include "core/records/place_tracker.h"
#include "share_rig.h"

namespace vorblin {
namespace {

using testing::Show;
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
    const std::string bytes = FormatRecords({{"Борис", 1250}, {"neg", -5}, {"late", 0, "a1f"}});
    EXPECT_EQ(bytes.substr(0, 14), "\xC1\xEE\xF0\xE8\xF1\r\n 1250 ~");
    EXPECT_EQ(bytes.substr(bytes.find("\r\nneg")), "\r\nneg\r\n-5\r\nlate\r\n 0 #a1f\r\n");
    // LF ends, stray blank lines, blanks around the digits, text instead of a number, a
    // name without its score line, a negative zero; an identity only as a word of its own.
    // Windows-1251 always, also where the bytes happen to be valid UTF-8 ("ПЁ" = CF A8).
    EXPECT_EQ(
        Listed(ParseRecords("\xC1\xEE\xF0\xE8\xF1\n 1250 \n\r\n\nAnna\r\n  77abc\r\nx\r\nnone\r\n"
                            "id\r\n 3 #9f \r\nno\r\n 4#9f\r\n\xCF\xA8\r\n 5\r\nz\r\n-0\r\nlast")),
        "Борис 1250;Anna 77;x 0;id 3 #9f;no 4;ПЁ 5;z 0;last 0;");
    const std::string id32(32, 'f');  // the longest identity a line carries
    EXPECT_EQ(Listed(ParseRecords("a\r\n 1 #" + id32 + "\r\nb\r\n 2 #" + id32 + "f")),
              "a 1 #" + id32 + ";b 2;");
}

// The first score line carries the length and hash of the lines after it: a read cut short,
// a table edited by hand and one without the mark are told apart.
TEST(RecordsFile, TheFirstScoreLineTellsAWholeTableFromACutOrAnEditedOne) {
    const std::string whole = FormatRecords(Table(3)), end = "\r\nb\r\n2\r\n";
    const char* const names[] = {"Whole", "Unmarked", "Unended", "Short", "Other"};
    std::string seen;
    for (const std::string& bytes :
         {whole, whole.substr(0, whole.size() - 1), whole + "x\r\n",
          whole.substr(0, whole.size() - 3) + "9\r\n", "a\r\n 1" + end, std::string("a\r\n 1"),
          "a\r\n 1 ~6x0000abcd" + end, "a\r\n 1 ~6.0000abc" + end, "a\r\n 1 ~.0000abcd" + end})
        seen += names[static_cast<int>(CheckWhole(bytes))] + std::string(" ");
    EXPECT_EQ(seen, "Whole Short Other Other Unmarked Unended Unmarked Unmarked Unmarked ");
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
    EXPECT_EQ(CleanPlayerName("Иван Петров"), "Иван Петро");        // 10 characters
    EXPECT_EQ(CleanPlayerName("中a\r\n\xFF\xFE😀b€?\tc"), "ab€?c");  // line breaks, what 1251 lacks
    // A listed place: the name padded to 15 characters (not bytes); a longer one is not.
    EXPECT_EQ(TableLine(9, {"Юля", 5}) + "|" + TableLine(10, {std::string(16, 'x'), 1}),
              "9. Юля            5|10.xxxxxxxxxxxxxxxx1");
}

// After each landing the player climbs past the scores beaten, never past an equal one; the
// top hides the next place's distance and redraws the grid; a longer table counts as 99 places.
TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    const struct {
        int16_t from;
        int32_t S;
        int to;
        std::string place, next, logged;
    } rows[] = {{3, 100, 3, "", "Next Place : +200", ""},
                {3, 450, 1, "Place # 2", "Next Place : +50", "...Place : 2"},
                {1, 500, 1, "", "Next Place : +0", ""},
                {1, 501, 0, "Place # 1", "", "...VICTORY !!!"},
                {static_cast<int16_t>(kMaxRecords + 21), kLast + 1, kMaxRecords - 1,
                 "Place # " + std::to_string(kMaxRecords), "Next Place : +0",
                 "...Place : " + std::to_string(kMaxRecords)}};
    for (const auto& r : rows) {
        int16_t position = r.from;
        Label place, next;
        ListBox table, log;
        Timer flash;
        int grids = 0;
        PlaceTracker tracker;
        tracker.Update_Place(
            r.from > 3 ? Table(kMaxRecords + 21) : RecordTable{{"a", 500}, {"b", 400}, {"c", 300}},
            r.S, {position, place, next, table, log, flash, [&] { ++grids; }});
        EXPECT_EQ(
            Show("at", position, "place", place.Caption, "next", next.Visible ? next.Caption : "",
                 "log", log.Items.empty() ? "" : log.Items.back(), "grids", grids),
            Show("at", r.to, "place", r.place, "next", r.next, "log", r.logged, "grids",
                 int{r.to == 0}));
    }
}

// The table a first start writes, and the name asked for a place: none when the window is
// cancelled, the date when nothing is left of the name once cleaned.
TEST(RecordsFile, TheDefaultTableAndTheNameAskedForAPlace) {
    testing::TempFolder dir;
    HallOfFame fame(dir.path);
    fame.Read_Records_File();
    EXPECT_EQ(ReadFileBytes(fame.Path()).bytes, "Borkin\r\n0\r\n");
    NameEntry answer{"Cancelled", true};
    const auto offer = [&] {
        return fame.Add_Record(
            100, [&] { return answer; }, [] { return "today"; });
    };
    EXPECT_FALSE(offer().has_value());
    answer = {"\r\n", false};
    EXPECT_EQ(offer(), (RecordEntry{"today", 100}));
}

}  // namespace
}  // namespace vorblin
