#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "sound/sound_settings_file.h"
#include "support/fake_audio.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using testing::FakeAudioDevice;
using Lines = std::vector<std::string>;

using vorblin::testing::TempFolder;

// Window places as plain data; records the order of the moves and shows.
class FakePlaces final : public WindowPlaces {
  public:
    WindowPosition MainPosition() const override { return main; }
    void MoveMain(WindowPosition p) override {
        main = p;
        log.push_back("main " + std::to_string(p.Left) + "," + std::to_string(p.Top));
    }
    bool SideVisible(SideWindow w) override { return sides[w].first; }
    void SetSideVisible(SideWindow w, bool v) override {
        sides[w].first = v;
        log.push_back("show " + std::to_string(static_cast<int>(w)) + (v ? " on" : " off"));
    }
    WindowPosition SidePosition(SideWindow w) override { return sides[w].second; }
    void MoveSide(SideWindow w, WindowPosition p) override {
        sides[w].second = p;
        log.push_back("move " + std::to_string(static_cast<int>(w)) + " " + std::to_string(p.Left) +
                      "," + std::to_string(p.Top));
    }
    WindowPosition main{1500, 900};
    std::map<SideWindow, std::pair<bool, WindowPosition>> sides;
    std::vector<std::string> log;
};

struct Rig {
    Rig() { sound.CreateChannels(); }
    std::string FilePath() const { return JoinPath(data.path, kSettingsFileName); }
    void Write(const Lines& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        ASSERT_TRUE(WriteFileAtomically(FilePath(), text));
    }
    std::string Bytes() const { return ReadFileBytes(FilePath()).bytes; }
    Lines FileLines() const { return SplitLines(Bytes()); }
    void Load() { file.LoadSoundSettings(places, sound); }
    bool Save() { return file.SaveSoundSettings(places, sound); }
    DMCtrl& Ch(Channel c) { return *sound.Get(c); }

    TempFolder data, program;
    FakeAudioDevice device;
    SoundSystem sound{device};
    FakePlaces places;
    SoundSettingsFile file{data.path, program.path};
};

// A 41-line file with each record's path, switch and volume told apart.
Lines DistinctFile() {
    Lines lines = {"300",         "450",  "False", "False", "False", "True", "any header at all",
                   "/m/tune.wav", "True", "-1200"};
    for (int r = 1; r <= 10; ++r) {
        lines.push_back("/r/" + std::to_string(r) + ".wav");
        lines.push_back(r % 2 == 0 ? "True" : "False");
        lines.push_back(std::to_string(-100 * r));
    }
    lines.push_back("250");
    return lines;
}

TEST(SettingsFile, FirstStartWritesTheHeldValuesAndReadsThemBack) {
    Rig rig;
    rig.Load();
    const std::string bytes = rig.Bytes();
    Lines expected = {"1500", "900",   "False", "False", "False", "False", "vorblin-music...",
                      "",     "False", "0"};
    for (int r = 0; r < 10; ++r)
        expected.insert(expected.end(), {"", "False", "0"});
    expected.push_back("0");
    EXPECT_EQ(rig.FileLines(), expected);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 41);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 41);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "0\r\n");
    // An empty music path opens no device (slow without a sound card): nothing to play.
    EXPECT_EQ(rig.device.calls, (Lines{"release 10"}));
    EXPECT_FALSE(rig.sound.bkg.BkgPlaying);
    ASSERT_TRUE(rig.Save());
    EXPECT_EQ(rig.Bytes(), bytes);
}

TEST(SettingsFile, ChannelRecordsHaveTheirOwnOrderBothWays) {
    Rig rig;
    rig.Write(DistinctFile());
    rig.Load();
    const std::pair<Channel, int> records[] = {{Channel::mLeft1, 1},    {Channel::mRight1, 2},
                                               {Channel::mRotate1, 3},  {Channel::mDrop1, 4},
                                               {Channel::mDrop2, 5},    {Channel::mDown1, 6},
                                               {Channel::mDown2, 7},    {Channel::mDelLin1, 8},
                                               {Channel::mVorblin1, 9}, {Channel::mInverse1, 10}};
    for (const auto& [channel, r] : records) {
        EXPECT_EQ(rig.Ch(channel).DMCtrlPath(), "/r/" + std::to_string(r) + ".wav");
        EXPECT_EQ(rig.Ch(channel).DMCtrlEnabled(), r % 2 == 0);
        EXPECT_EQ(rig.Ch(channel).DMCtrlVolume(), -100 * r);
    }
    EXPECT_EQ(rig.places.main.Left, 300);
    EXPECT_EQ(rig.places.main.Top, 450);
    EXPECT_TRUE(rig.sound.EnableSoundControl);
    EXPECT_EQ(rig.sound.PathToBkgMusic, "/m/tune.wav");
    EXPECT_TRUE(rig.sound.EnableLoop());
    EXPECT_EQ(rig.sound.VolumeBkgMusic, -1200);
    EXPECT_EQ(rig.sound.SpeedChange, 250);
    // The tune starts, then gets its volume.
    EXPECT_EQ(rig.device.calls,
              (Lines{"open", "load 10 /m/tune.wav", "play 10 loop", "volume 10 -1200"}));

    // Saved: the same lines, the header written as ours.
    ASSERT_TRUE(rig.Save());
    Lines expected = DistinctFile();
    expected[6] = "vorblin-music...";
    EXPECT_EQ(rig.FileLines(), expected);
    const std::string once = rig.Bytes();
    rig.Load();
    ASSERT_TRUE(rig.Save());
    EXPECT_EQ(rig.Bytes(), once);
}

TEST(SettingsFile, SideWindowPositionsOnlyForShownWindows) {
    Rig rig;
    Lines lines = DistinctFile();
    // hall of fame and future shown, statistics not
    lines[2] = "True";
    lines.insert(lines.begin() + 3, {"7000", "100"});
    lines[6] = "True";
    lines.insert(lines.begin() + 7, {"7000", "5000"});
    rig.Write(lines);
    rig.Load();
    EXPECT_EQ(rig.places.log, (Lines{"main 300,450", "show 0 on", "move 0 7000,100", "show 1 off",
                                     "show 2 on", "move 2 7000,5000"}));
    EXPECT_EQ(rig.sound.SpeedChange, 250);
    ASSERT_TRUE(rig.Save());
    EXPECT_EQ(rig.FileLines().size(), 45u);

    rig.places.sides[SideWindow::frmStatistic] = {true, {-30, 60}};
    ASSERT_TRUE(rig.Save());
    const Lines all = rig.FileLines();
    ASSERT_EQ(all.size(), 47u);
    EXPECT_EQ(Lines(all.begin(), all.begin() + 12),
              (Lines{"300", "450", "True", "7000", "100", "True", "-30", "60", "True", "7000",
                     "5000", "True"}));

    rig.places.sides.clear();
    ASSERT_TRUE(rig.Save());
    EXPECT_EQ(rig.FileLines().size(), 41u);
}

TEST(SettingsFile, DefaultPathsFindTheShippedSoundsIgnoringCase) {
    Rig rig;
    fs::create_directories(rig.program.path + "/sound");
    std::ofstream(rig.program.path + "/sound/LEFT1.wav") << "x";
    std::ofstream(rig.program.path + "/sound/bkgmusic.wav") << "x";
    Lines lines = DistinctFile();
    lines[7] = "...";
    lines[10] = "...";  // mLeft1
    lines[13] = "...";  // mRight1, not shipped: the path as written
    lines[16] = "";     // mRotate1: no file at all
    rig.Write(lines);
    rig.Load();
    EXPECT_EQ(rig.sound.PathToBkgMusic, rig.program.path + "/sound/bkgmusic.wav");
    EXPECT_EQ(rig.Ch(Channel::mLeft1).DMCtrlPath(), rig.program.path + "/sound/LEFT1.wav");
    EXPECT_EQ(rig.Ch(Channel::mRight1).DMCtrlPath(), rig.program.path + "/sound/right1.WAV");
    EXPECT_EQ(rig.Ch(Channel::mRotate1).DMCtrlPath(), "");
    const std::pair<Channel, const char*> names[] = {
        {Channel::mDown1, "down1.WAV"},       {Channel::mLeft1, "LEFT1.wav"},
        {Channel::mRight1, "right1.WAV"},     {Channel::mRotate1, "rotate1.WAV"},
        {Channel::mDrop1, "drop1.WAV"},       {Channel::mDelLin1, "dellin1.WAV"},
        {Channel::mVorblin1, "vorblin1.WAV"}, {Channel::mDrop2, "drop2.WAV"},
        {Channel::mDown2, "down2.WAV"},       {Channel::mInverse1, "inverse1.WAV"}};
    for (const auto& [channel, name] : names)
        EXPECT_EQ(DefaultChannelPath(rig.program.path, channel),
                  rig.program.path + "/sound/" + name);
    EXPECT_EQ(DefaultBkgPath("/nowhere"), "/nowhere/Sound/bkgmusic.WAV");

    // "..." goes back as "..." while it names the shipped file; a new choice is written out.
    rig.Ch(Channel::mRight1).DMCtrlPath("/elsewhere/r.wav");
    ASSERT_TRUE(rig.Save());
    const Lines saved = rig.FileLines();
    EXPECT_EQ(saved[7], "...");
    EXPECT_EQ(saved[10], "...");
    EXPECT_EQ(saved[13], "/elsewhere/r.wav");
    EXPECT_EQ(saved[16], "");

    // A path written out in full stays written out, even where it names the shipped file.
    const std::string shipped = rig.program.path + "/sound/bkgmusic.wav";
    lines[7] = shipped;
    rig.Write(lines);
    rig.Load();
    ASSERT_TRUE(rig.Save());
    EXPECT_EQ(rig.FileLines()[7], shipped);
}

TEST(SettingsFile, MusicSwitchedOffIsStartedAndStoppedAtOnce) {
    Rig rig;
    Lines lines = DistinctFile();
    lines[8] = "False";
    rig.Write(lines);
    rig.Load();
    EXPECT_EQ(rig.device.calls,
              (Lines{"open", "load 10 /m/tune.wav", "play 10 loop", "stop 10", "volume 10 -1200"}));
    EXPECT_TRUE(rig.sound.bkg.BkgPlaying);
}

TEST(SettingsFile, DamagedFilesAreReadAsFarAsTheyGo) {
    struct Case {
        const char* what;
        std::map<size_t, std::string> edits;  // line index -> new text
        size_t keep;                          // lines kept from the start
        int32_t left;
        bool soundControl;
        int16_t volume, speed, leftVolume;
        std::string leftPath;
    };
    const Case cases[] = {
        {"intact", {}, 41, 300, true, -1200, 250, -100, "/r/1.wav"},
        {"blanks and tails",
         {{0, "  300  "}, {9, " -1200abc"}, {40, "250 "}},
         41,
         300,
         true,
         -1200,
         250,
         -100,
         "/r/1.wav"},
        {"halves to even",
         {{9, "-1200.5"}, {40, "2.5"}, {12, "-99.5"}},
         41,
         300,
         true,
         -1200,
         2,
         -100,
         "/r/1.wav"},
        {"unreadable numbers keep",
         {{0, "left"}, {9, "99999"}, {40, ""}, {12, "-"}},
         41,
         1500,
         true,
         -500,
         0,
         -7,
         "/r/1.wav"},
        {"bad switch keeps", {{5, "Yes"}}, 41, 300, false, -1200, 250, -100, "/r/1.wav"},
        {"limits of a whole number",
         {{9, "-32768"}, {40, "32767"}, {12, "32768"}},
         41,
         300,
         true,
         -32768,
         32767,
         -7,
         "/r/1.wav"},
        {"case of switches", {{5, " true "}}, 41, 300, true, -1200, 250, -100, "/r/1.wav"},
        {"cut after the volume", {}, 10, 300, true, -1200, 0, -7, "keep"},
        {"empty", {}, 0, 1500, false, -500, 0, -7, "keep"},
        {"side switch unreadable", {{3, "maybe"}}, 41, 300, false, -500, 0, -7, "keep"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.sound.VolumeBkgMusic = -500;
        rig.Ch(Channel::mLeft1).DMCtrlVolume(-7);
        rig.Ch(Channel::mLeft1).DMCtrlPath("keep");
        Lines lines = DistinctFile();
        for (const auto& [index, text] : c.edits)
            lines[index] = text;
        lines.resize(c.keep);
        rig.Write(lines);
        rig.Load();
        EXPECT_EQ(rig.places.main.Left, c.left) << c.what;
        EXPECT_EQ(rig.sound.EnableSoundControl, c.soundControl) << c.what;
        EXPECT_EQ(rig.sound.VolumeBkgMusic, c.volume) << c.what;
        EXPECT_EQ(rig.sound.bkg.BkgVolume, c.volume) << c.what;
        EXPECT_EQ(rig.sound.SpeedChange, c.speed) << c.what;
        EXPECT_EQ(rig.Ch(Channel::mLeft1).DMCtrlVolume(), c.leftVolume) << c.what;
        EXPECT_EQ(rig.Ch(Channel::mLeft1).DMCtrlPath(), c.leftPath) << c.what;
        // The next closing writes a complete file.
        ASSERT_TRUE(rig.Save());
        EXPECT_EQ(rig.FileLines().size(), 41u) << c.what;
    }
}

TEST(SettingsFile, EncodingsAndFoldersThatCannotBeWritten) {
    Rig rig;
    Lines lines = DistinctFile();
    lines[7] = "/музыка/тема.wav";
    rig.Write(lines);
    rig.Load();
    EXPECT_EQ(rig.sound.PathToBkgMusic, "/музыка/тема.wav");
    ASSERT_TRUE(rig.Save());
    EXPECT_EQ(rig.FileLines()[7], "/музыка/тема.wav");  // UTF-8 written

    lines[7] = Utf8ToCp1251("/музыка/тема.wav");  // an older file in the 8-bit code page
    rig.Write(lines);
    rig.Load();
    EXPECT_EQ(rig.sound.PathToBkgMusic, "/музыка/тема.wav");

    // A "folder" that is a plain file: nothing can be created in it, not even by root.
    const std::string locked = JoinPath(rig.data.path, "plain-file");
    std::ofstream(locked) << "x";
    SoundSettingsFile file(locked, rig.program.path);
    rig.sound.SpeedChange = 77;
    file.LoadSoundSettings(rig.places, rig.sound);  // missing and cannot be written
    EXPECT_TRUE(fs::is_regular_file(locked));
    EXPECT_EQ(rig.sound.SpeedChange, 77);
    std::string error;
    EXPECT_FALSE(file.SaveSoundSettings(rig.places, rig.sound, &error));
    EXPECT_NE(error.find(locked), std::string::npos) << error;
}

TEST(SettingsFile, LeadingNumbers) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12", 12},
        {"  -34  ", -34},
        {"+5", 5},
        {"7abc", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"-0.5", 0},
        {"1.2.3", 1},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {" . ", std::nullopt},
        {"\t9", 9},
        {"+", std::nullopt},
        {"inf", std::nullopt},
        {"-nan", std::nullopt},
        {".5", 0},
        {"-1.5e3", -2},
        {"19", 19},
        {"1e999", 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(LeadingWholeNumber(text), value) << text;
}

}  // namespace
}  // namespace vorblin
