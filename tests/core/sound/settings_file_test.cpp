// The sound settings file and its rules, and where the shipped sounds are found.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/base/text_file.h"
#include "core/sound/settings_rules.h"
#include "core/sound/sound_settings_file.h"
#include "support/fake_audio.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using testing::Show;

std::string Text(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// A file as the game has always written it: 41 lines, no side window shown, ten channel
// records, each path, switch and volume told apart, the sweep speed last.
Lines OldFile() {
    Lines lines = {"300",         "450",  "False", "False", "False", "True", "vorblin-music...",
                   "/м/тема.wav", "True", "-1200"};
    for (int r = 1; r <= 10; ++r)
        lines.insert(lines.end(), {"/r/" + std::to_string(r) + ".wav", r % 2 ? "False" : "True",
                                   std::to_string(-100 * r)});
    lines.push_back("32767");  // the largest sweep speed the file can hold
    return lines;
}
// The channel each of its records belongs to.
const Channel kOldRecords[] = {
    Channel::mLeft1, Channel::mRight1, Channel::mRotate1, Channel::mDrop1,    Channel::mDrop2,
    Channel::mDown1, Channel::mDown2,  Channel::mDelLin1, Channel::mVorblin1, Channel::mInverse1};

// The sound's channels made; the main window at 1000,500 and no side window shown.
struct Rig {
    Rig() { sound.CreateChannels(); }
    void Load(const Lines& lines) {
        ASSERT_TRUE(WriteFileAtomically(file.Path(), Text(lines)));
        file.LoadSoundSettings(places, sound);
    }
    std::string Saved() {
        EXPECT_TRUE(file.SaveSoundSettings(places, sound));
        return ReadFileBytes(file.Path()).bytes;
    }
    // The old file's lines, then the records of the channels it does not know as they stand.
    std::string Grown(const Lines& old) {
        Lines later = SplitLines(file.Compose(places, sound));
        later.erase(later.begin(), later.begin() + std::min(later.size(), old.size()));
        EXPECT_EQ(later.size(), 3 * (kChannelCount - std::size(kOldRecords)));
        return Text(old) + Text(later);
    }

    testing::TempFolder data, program;
    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    testing::FakeSides places;
    SoundSettingsFile file{data.path, program.path};
};
struct SettingsFile : ::testing::Test, Rig {};

// Read back as written: each record to its channel, positions only for the side windows
// shown, the speed from the last old line whatever channels came later, and every old line
// written back where it stood.
TEST_F(SettingsFile, AnOldFileReadsAndIsWrittenBackLineForLine) {
    testing::FakeSides::Side& statistic = places.At(SideWindow::frmStatistic);
    statistic.visible = true;  // until the file hides it
    statistic.position = {-30, 60};
    Lines lines = OldFile();  // the hall of fame and the future shown, the statistics not
    lines[2] = lines[4] = "True";
    lines[8] = "False";  // the music switched off
    lines.insert(lines.begin() + 5, {"7000", "5000"});
    lines.insert(lines.begin() + 3, {"7000", "100"});
    Load(lines);
    for (size_t r = 0; r < std::size(kOldRecords); ++r)
        EXPECT_EQ(sound.Get(kOldRecords[r])->DMCtrlPath(), "/r/" + std::to_string(r + 1) + ".wav")
            << kOldRecords[r];
    EXPECT_EQ(sound.SpeedChange, 32767);
    // Switched off, the tune is started and stopped at once, so that switching it on resumes it.
    EXPECT_EQ(device.Take(),
              "open, load bkg /м/тема.wav, play bkg loop, stop bkg, volume bkg -1200");
    EXPECT_EQ(Saved(), Grown(lines));
    statistic.visible = true;
    lines[5] = "True";
    lines.insert(lines.begin() + 6, {"-30", "60"});
    EXPECT_EQ(Saved(), Grown(lines));  // 47 lines
}

TEST_F(SettingsFile, DefaultPathsFindTheShippedSoundsIgnoringCase) {
    const std::string shipped = program.path + "/sound/";
    fs::create_directories(shipped);
    for (const char* name : {"bkgmusic.wav", "LEFT1.wav", "left1.WAV"})  // exact names win
        WriteFileAtomically(shipped + name, "x");
    for (int c = 0; c < kChannelCount; ++c)
        EXPECT_EQ(DefaultChannelPath(program.path, Channel(c)),
                  shipped + std::string(Row(Channel(c)).file) + ".WAV");
    Lines lines = OldFile();
    lines[7] = lines[10] = lines[13] = "...";  // the music, mLeft1, mRight1 (not shipped)
    Load(lines);
    EXPECT_EQ(sound.PathToBkgMusic, shipped + "bkgmusic.wav");
    // "..." goes back while it names the shipped file; another choice is written out.
    sound.Get(Channel::mRight1)->DMCtrlPath(lines[13] = "/elsewhere/r.wav");
    EXPECT_EQ(Saved(), Grown(lines));
    // A path written out in full stays so, even where it names the shipped file.
    lines[7] = shipped + "bkgmusic.wav";
    lines[10] = shipped + "left1.WAV";
    Load(lines);
    EXPECT_EQ(Saved(), Grown(lines));
}

// Lines the file cannot give keep the values held: here the main window at 1000,500, the
// music volume -500, mLeft1 at "keep" with volume -7 and the sweep speed 77.
TEST(SettingsFileDamaged, LinesKeepTheHeldValues) {
    struct Case {
        std::map<size_t, std::string> edits;  // line index -> text in the file
        int lines, heldFrom;  // lines in the file (-1: no file at all); all values held from here
        std::map<size_t, std::string> saved;  // line index -> text saved instead of the file's
    };
    const Case cases[] = {
        {{{0, "\t+300 "}, {6, "any header"}, {9, " -1200abc"}, {40, "32767.4e9"}}, 41, 41, {}},
        {{{9, "-1200.5"}, {12, "-99.5"}, {40, "2.5"}}, 41, 41, {{12, "-100"}, {40, "2"}}},
        {{{0, "inf"}, {1, "+"}, {12, "-nan"}}, 41, 41, {{0, "1000"}, {1, "500"}, {12, "-7"}}},
        {{{1, ".5"}, {9, "99999"}, {40, ""}}, 41, 41, {{1, "0"}, {9, "-500"}, {40, "77"}}},
        {{{9, "-32768"}, {12, "32768"}}, 41, 41, {{9, "-32768"}, {12, "-7"}}},
        {{{5, "Yes"}, {8, " false "}}, 41, 41, {{5, "False"}, {8, "False"}}},
        {{{14, "1"}, {17, " TRUE "}}, 41, 41, {{14, "False"}, {17, "True"}}},
        {{}, 10, 10, {}},             // cut after the music volume
        {{}, -1, 0, {}},              // no file: it is written from the values held
        {{{3, "maybe"}}, 41, 3, {}},  // unknown whether positions follow: nothing more is read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Rig rig;
        rig.sound.VolumeBkgMusic = -500;
        rig.sound.SpeedChange = 77;
        rig.sound.Get(Channel::mLeft1)->DMCtrlVolume(-7);
        rig.sound.Get(Channel::mLeft1)->DMCtrlPath("keep");
        const Lines held = SplitLines(rig.file.Compose(rig.places, rig.sound));
        Lines lines = OldFile();
        for (const auto& [index, text] : c.edits)
            lines.at(index) = text;
        lines.resize(std::max(c.lines, 0));
        if (c.lines >= 0)
            rig.Load(lines);
        else
            rig.file.LoadSoundSettings(rig.places, rig.sound);
        // Loading never rewrites a file; a missing one is written at once.
        EXPECT_EQ(ReadFileBytes(rig.file.Path()).bytes, Text(c.lines >= 0 ? lines : held));
        // The file's values up to heldFrom, the held ones (later channels' included) after it.
        Lines expected = OldFile();
        expected.resize(std::min<size_t>(c.heldFrom, held.size()));
        expected.insert(expected.end(), held.begin() + expected.size(), held.end());
        for (const auto& [index, text] : c.saved)
            expected.at(index) = text;
        EXPECT_EQ(rig.Saved(), Text(expected));
        EXPECT_EQ(rig.sound.bkg.BkgVolume, rig.sound.VolumeBkgMusic);
    }
}

TEST_F(SettingsFile, AFolderThatCannotBeWritten) {
    const std::string locked = data.File("plain-file");  // nothing can be made in it
    WriteFileAtomically(locked, "x");
    SoundSettingsFile plain(locked, program.path);
    std::string error;
    EXPECT_FALSE(plain.SaveSoundSettings(places, sound, &error));
    EXPECT_NE(error.find("cannot write " + locked), std::string::npos) << error;
    SoundSystem bare(device);  // before the channels are made their records hold nothing
    EXPECT_EQ(SplitLines(plain.Compose(places, bare)).at(12), "0");
}

TEST(SettingsRules, FileNamesFoldersAndSweepSpeedText) {
    std::string seen;
    for (const char* path : {"/p/sound/left1.WAV", "plain.wav"})
        seen += Get_Folder(path) + "|" + Get_File_Name(path) + " ";
    // The leading number, rounded; above the largest speed the box shows the largest ("!").
    for (const char* text : {"", "12abc", "500", "500.4", "500.6", "1000", "-40", "-99999"}) {
        const SpeedText read = ReadSpeedText(text);
        seen += std::to_string(read.speed) + (read.tooLarge ? "! " : " ");
    }
    EXPECT_EQ(seen, "/p/sound/|left1.WAV |plain.wav 0 12 500 500 500! 500! -40 -32768 ");
}

// Each channel is the one variant of the list entry that its row of the table of sounds names.
TEST(SettingsRules, TheEventListFollowsTheTableOfSounds) {
    std::vector<std::string> listed(kChannelCount), rows;  // by channel
    for (size_t e = 0; e < ListEvents().size(); ++e)
        for (const auto& [variant, c] : {std::pair{1, std::optional(ListEvents()[e].first)},
                                         std::pair{2, ListEvents()[e].second}})
            if (c)
                listed.at(size_t(*c)) +=
                    Show("entry", e + 1, "variant", variant, "label", ListEvents()[e].caption);
    for (const SoundRow& row : kEventSounds)
        rows.push_back(Show("entry", row.list, "variant", row.variant, "label", row.label));
    EXPECT_EQ(listed, rows);
}

TEST(StartFolders, ShippedSoundsAndInstalledCopiesByWhereTheExecutableStands) {
    testing::TempFolder root;
    const std::string games = root.File("games"), share = root.File("share/vorblin");
    const std::string bin = root.File("bin"), build = root.File("build");
    for (const std::string& folder : {games, bin, build})
        fs::create_directories(folder);
    EXPECT_EQ(ShippedFolder(games, "../share/vorblin"), games);  // nothing anywhere
    EXPECT_FALSE(IsInstalledCopy(games, "../share/vorblin"));
    fs::create_directories(share + "/Sound");  // letter case ignored
    EXPECT_EQ(DefaultBkgPath(ShippedFolder(games, "../share/vorblin")),
              share + "/Sound/bkgmusic.WAV");
    EXPECT_EQ(ShippedFolder(games + "/", "../share/vorblin/"), share);
    EXPECT_EQ(ShippedFolder(games, "../share/other"), games);
    // Installed: games/ (or bin/) beside share/vorblin/, whoever may write there; a build
    // folder beside the same share is none, nor is a games/ whose share is another's.
    EXPECT_EQ(
        Show("games", IsInstalledCopy(games, "../share/vorblin"), "games/",
             IsInstalledCopy(games + "/", "../share/vorblin/"), "bin",
             IsInstalledCopy(bin, "../share/vorblin"), "build",
             IsInstalledCopy(build, "../share/vorblin"), "other share",
             IsInstalledCopy(games, "../share/other")),
        Show("games", true, "games/", true, "bin", true, "build", false, "other share", false));
    // A sounds folder beside the executable (a build folder) comes first; a file named like
    // the folder is none.
    fs::create_directories(games + "/sound");
    ASSERT_TRUE(WriteFileAtomically(bin + "/sound", "x"));
    EXPECT_EQ(
        ShippedFolder(games, "../share/vorblin") + " " + ShippedFolder(bin, "../share/vorblin"),
        games + " " + share);
    // Sounds installed in the root folder are looked for in /sound, never in a "sound" folder
    // where the game happens to be started.
    const fs::path started = fs::current_path();
    fs::current_path(games);
    const std::string found = ShippedFolder(bin, fs::path("/").lexically_relative(bin).string());
    fs::current_path(started);
    EXPECT_EQ(found, fs::is_directory("/sound") ? "/" : bin);
}

}  // namespace
}  // namespace vorblin
