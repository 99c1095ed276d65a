// The hall of fame: its file, its table, the place during play.
#include <gtest/gtest.h>

#include <random>

#include "share_rig.h"

// The hall-of-fame reader against any bytes (records_fuzz.cpp), also libFuzzer's entry point.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vorblin {
namespace {

using testing::Counts;
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
    std::vector<double> numbers;  // what a score line's leading number reads as
    for (const char* line : {"\t-40", "+3", "12.5x", "2e3", "7e", "- 5", "0x1A", "1e999"})
        numbers.push_back(ScoreOf(line));
    EXPECT_EQ(numbers, (std::vector<double>{-40, 3, 12.5, 2000, 7, 0, 0,
                                            std::numeric_limits<double>::max()}));
    // The list: names in the fourth column, padded by characters, a long one not at all; a
    // score read as "-0" is a plain 0.
    EXPECT_EQ(TableLine(10, {"Юля", ScoreOf("-0")}) + ";" + TableLine(2, {"16-characters-ab", 5}),
              "10.Юля            0;2. 16-characters-ab5");
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
    ASSERT_TRUE(WriteFileAtomically(fame.Path(), FormatRecords(Table(kMaxRecords))));
    fame.Clear_Records();
    EXPECT_TRUE(offer(0).has_value());  // an empty table in memory: asked, not read again
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

// Landings of a one-cell figure on the floor of an empty well, each with the shown score S,
// then what is seen: the position, the place and next place captions, whether the next place
// shows, the list's selection, whether the menu flashes, and the last landing's climb.
std::string Seen(int position, const std::string& place, const std::string& next, bool nextShown,
                 int listIndex, bool flashing, const std::string& climb) {
    return Show("position", position, "place", place, "next", next, "next shown", nextShown,
                "list index", listIndex, "flashing", flashing, "climb", climb);
}

TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    constexpr int kTop = static_cast<int>(kMaxRecords);
    const std::string last = std::to_string(kTop);
    const RecordTable three = {{"a", 500}, {"b", 400}, {"c", 300}}, longer = Table(kTop + 21);
    const struct {
        RecordTable table;
        std::vector<int32_t> landings;
        std::string seen;
    } cases[] = {
        {three, {100}, Seen(3, "Place # 4", "Next Place : +200", true, -1, false, "")},
        {three, {450}, Seen(1, "Place # 2", "Next Place : +50", true, 1, true, "...Place : 2;")},
        {three, {450, 500}, Seen(1, "Place # 2", "Next Place : +0", true, 1, false, "")},  // equal
        // Hidden, not cleared.
        {three, {450, 501}, Seen(0, "Place # 1", "Next Place : +50", 0, 0, 1, "...VICTORY !!!;")},
        {three, {450, 501, 1000}, Seen(0, "Place # 1", "Next Place : +50", 0, 0, 0, "")},
        // Hand-made and longer: no place behind the last, nor a place number there.
        {longer, {kLast}, Seen(kTop, "", "Next Place : +0", true, -1, false, "")},
        {longer,
         {kLast + 1},
         Seen(kTop - 1, "Place # " + last, "Next Place : +0", true, kTop - 1, true,
              "...Place : " + last + ";")},
        {{}, {10}, Seen(0, "Place # 1", "", true, -1, false, "")},
    };
    for (const auto& c : cases) {
        testing::ShellRig rig;
        ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(c.table)));
        rig.main.Form_Load();
        Game& g = rig.game;
        Timer& flash = rig.main.menu.tmrMigMenuControls;
        for (const int32_t S : c.landings) {
            g.board.Reset();
            testing::LandOnNextTick(g, S);
            g.lstStatistic.Clear();
            flash.Enabled = false;
            g.tmrDown_Timer();
        }
        std::string climb;  // the landing's own line is the last
        for (size_t i = 0; i + 1 < g.lstStatistic.Items.size(); ++i)
            climb += g.lstStatistic.Items[i] + ";";
        EXPECT_EQ(
            Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Caption, g.lblNextPlace.Visible,
                 rig.main.records.lstTable.ListIndex, flash.Enabled, climb),
            c.seen);
    }
}

}  // namespace
}  // namespace vorblin
