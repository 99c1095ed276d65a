// The hall of fame: its file, its table, the lock on a shared folder, the place during play.
#include <gtest/gtest.h>

#include <random>

#include "share_rig.h"

// The hall-of-fame reader against any bytes (records_fuzz.cpp), also libFuzzer's entry point.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using testing::ShellRig;
using testing::Table;

// The last place's score in Table(n >= kMaxRecords): 1000, 999, ...
constexpr int kLast = 1001 - static_cast<int>(kMaxRecords);

// Names and scores, the identities left out.
std::string Shown(const RecordTable& table) {
    std::string text;
    for (const RecordEntry& e : table)
        text += e.Name + " " + ScoreText(e.Score) + ";";
    return text;
}

TEST(RecordsFile, WritesCp1251WithABlankBeforeEachScoreAndReadsWhatHandsLeave) {
    const std::string bytes =
        FormatRecords({{"Борис", 1250}, {"Borkin", 0}, {"neg", -5}, {"late", 7, "a1f"}});
    EXPECT_EQ(bytes.substr(bytes.find("\r\nBorkin")),
              "\r\nBorkin\r\n 0\r\nneg\r\n-5\r\nlate\r\n 7 #a1f\r\n");
    EXPECT_EQ(bytes.substr(0, 14), "\xC1\xEE\xF0\xE8\xF1\r\n 1250 ~");
    // LF ends, stray blank lines, blanks around the digits, text instead of a number, a
    // name without its score line; an identity only as a word of its own.
    EXPECT_EQ(
        ParseRecords("\xC1\xEE\xF0\xE8\xF1\n 1250 \n\r\n\nAnna\r\n  77abc\r\nx\r\nnone\r\nid\r\n"
                     " 3 #9f \r\nno\r\n 4#9f\r\nlast"),
        (RecordTable{
            {"Борис", 1250}, {"Anna", 77}, {"x", 0}, {"id", 3, "9f"}, {"no", 4}, {"last", 0}}));
    // Windows-1251 always, also where the bytes happen to be valid UTF-8 ("ПЁ" = CF A8).
    EXPECT_EQ(ParseRecords("\xCF\xA8\r\n 5\r\n"), (RecordTable{{"ПЁ", 5}}));
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
    EXPECT_EQ(
        table,
        (RecordTable{
            {"top", 51}, {"a", 50}, {"b", 40}, {"c", 40}, {"b2", 40}, {"d", 30}, {"d2", 30}}));
    constexpr int kAll = static_cast<int>(kMaxRecords);
    RecordTable full = Table(kAll - 1, kAll);   // kAll down to 2
    EXPECT_TRUE(InsertRecord(full, {"0", 0}));  // the last place
    EXPECT_FALSE(InsertRecord(full, {"equal", 0}));
    EXPECT_TRUE(InsertRecord(full, {"1", 1}));  // and the old last drops out
    EXPECT_EQ(full, Table(kAll, kAll));
    EXPECT_EQ(full.size(), 99u);  // the hall of fame's 99 places
    // A hand-made table longer than the table: a place behind the last is no place at all.
    const RecordTable long_ = Table(kMaxRecords + 21);  // 1000 down; the last place's is kLast
    EXPECT_TRUE(EarnsPlace(long_, kLast + 1));
    EXPECT_FALSE(EarnsPlace(long_, kLast));
    EXPECT_TRUE(EarnsPlace(Table(kAll - 1), -1));
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
    // A folder where the file should be: it exists, but cannot be read as a file.
    fs::remove(fame.Path());
    fs::create_directory(fame.Path());
    fame.Read_Records_File();
    EXPECT_TRUE(fame.Damaged);
    EXPECT_FALSE(fame.Write_Records_File(offer(300)));
    EXPECT_EQ(Shown(fame.Table), "today 300;");  // shown meanwhile
    fs::remove(fame.Path());
    EXPECT_TRUE(fame.Write_Records_File(std::nullopt));  // and once it can: all as stored
    EXPECT_FALSE(fame.Damaged);
    EXPECT_EQ(Shown(ParseRecords(ReadFileBytes(fame.Path()).bytes)), "today 300;Borkin 0;");
}

// Files stitched from the pieces a table file is made of, and from pieces that break it:
// Windows-1251 and UTF-8 letters, numbers and what spoils them; random bytes add the rest.
TEST(RecordsFile, ReaderSurvivesStitchedAndRandomFiles) {
    const std::string_view pieces[] = {"\r\n", "\n",    "\r",    " ",   "-7",       "abc",
                                       "12.5", "1e309", " 1250", "Юля", "\x98\xD0", "\xC1\xEE"};
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

std::string Seen(int position, const std::string& place, const std::string& next, bool nextShown,
                 int listIndex, bool flashing, const std::string& climb, bool firstPlaceGrid) {
    return testing::Show("position", position, "place", place, "next", next, "next shown",
                         nextShown, "list index", listIndex, "flashing", flashing, "climb", climb,
                         "grid in the first place's colour", firstPlaceGrid);
}

// Lands a one-cell figure on the floor of an empty well with the shown score S; what is then
// seen: the position, the place and next place captions, whether the next place shows, the
// list's selection, whether the menu flashes, the climb's statistics lines and whether the
// grid was drawn again (in the first place's colour).
std::string Land(ShellRig& rig, int32_t S) {
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
    const bool grid = std::ranges::any_of(
        rig.well.ops, [&](const std::string& op) { return op.ends_with(colour.str()); });
    return Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Caption, g.lblNextPlace.Visible,
                rig.main.records.lstTable.ListIndex, flash.Enabled, climb, grid);
}

// After each landing, and then at a new game: the position, its caption, whether the next
// place shows and whether the caption has the first place's colour.
TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    constexpr int kTop = static_cast<int>(kMaxRecords);
    const std::string last = std::to_string(kTop);
    const std::string atLast = Seen(kTop, "", "Next Place : +0", true, -1, false, "", false);
    const std::string intoLast = Seen(kTop - 1, "Place # " + last, "Next Place : +0", true,
                                      kTop - 1, true, "...Place : " + last + ";", false);
    const auto again = [](int position, const std::string& place, bool nextShown, bool first) {
        return testing::Show("position", position, "place", place, "next shown", nextShown,
                             "first place's colour", first);
    };
    const struct {
        RecordTable table;
        std::vector<std::pair<int32_t, std::string>> landings;  // S, then what is seen
        std::string newGame;
    } cases[] = {
        {{{"a", 500}, {"b", 400}, {"c", 300}},
         {{100, Seen(3, "Place # 4", "Next Place : +200", true, -1, false, "", false)},
          {450, Seen(1, "Place # 2", "Next Place : +50", true, 1, true, "...Place : 2;", false)},
          {500, Seen(1, "Place # 2", "Next Place : +0", true, 1, false, "", false)},  // no pass
          // Hidden, not cleared; the grid once more, in its new colour.
          {501, Seen(0, "Place # 1", "Next Place : +0", false, 0, true, "...VICTORY !!!;", true)},
          {100000, Seen(0, "Place # 1", "Next Place : +0", false, 0, false, "", true)}},
         again(3, "Place # 4", true, true)},  // the colour stays for the next game
        // Hand-made and longer: no place behind the last, nor a place number there.
        {Table(kTop + 21), {{kLast, atLast}, {kLast + 1, intoLast}}, again(kTop + 21, "", 1, 0)},
        {{},
         {{10, Seen(0, "Place # 1", "", true, -1, false, "", true)}},
         again(0, "Place # 1", 1, 0)},
    };
    for (const auto& c : cases) {
        ShellRig rig;
        ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(c.table)));
        rig.main.Form_Load();
        for (const auto& [S, seen] : c.landings)
            EXPECT_EQ(Land(rig, S), seen) << S << " after " << c.table.size() << " entries";
        rig.main.New_Game();
        const Game& g = rig.game;
        EXPECT_EQ(again(g.Position, g.lblPosition.Caption, g.lblNextPlace.Visible,
                        g.lblPosition.ForeColor == QBColor(11)),
                  c.newGame);
    }
}

}  // namespace
}  // namespace vorblin
