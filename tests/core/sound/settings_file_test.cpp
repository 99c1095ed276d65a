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

std::string Text(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// A file as the game has always written it: 41 lines, no side window shown, ten channel
// records (path, switch, volume each told apart), the sweep speed last.
Lines OldFile() {
    Lines lines = {"300",         "450",  "False", "False", "False", "True", "vorblin-music...",
                   "/м/тема.wav", "True", "-1200"};
    for (int r = 1; r <= 10; ++r)
        lines.insert(lines.end(), {"/r/" + std::to_string(r) + ".wav", r % 2 ? "False" : "True",
                                   std::to_string(-100 * r)});
    lines.push_back("32767");  // the largest sweep speed the file can hold
    return lines;
}
constexpr size_t kOldRecords = 10;

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
        EXPECT_EQ(later.size(), 3 * (kChannelCount - kOldRecords));
        return Text(old) + Text(later);
    }

    testing::TempFolder data, program;
    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    testing::FakeSides places;
    SoundSettingsFile file{data.path, program.path};
};
struct SettingsFile : ::testing::Test, Rig {};

// Each record to its channel, positions only for the side windows shown, the speed from the
// last old line whatever channels came later, and every old line written back where it stood.
// "..." stands for a shipped sound, found ignoring case, and goes back while it names it.
TEST_F(SettingsFile, AnOldFileReadsAndIsWrittenBackLineForLine) {
    const std::string shipped = program.path + "/sound/";
    fs::create_directories(shipped);
    for (const char* name : {"bkgmusic.wav", "LEFT1.wav", "left1.WAV"})  // exact names win
        WriteFileAtomically(shipped + name, "x");
    for (int c = 0; c < kChannelCount; ++c)
        EXPECT_EQ(DefaultChannelPath(program.path, Channel(c)),
                  shipped + std::string(Row(Channel(c)).file) + ".WAV");
    Lines lines = OldFile();  // the hall of fame and the future shown, the statistics not
    lines[2] = lines[4] = "True";
    lines[7] = lines[13] = lines[16] = "...";  // the music, mRight1, mRotate1 (not shipped)
    lines[10] = shipped + "left1.WAV";         // mLeft1's written out in full stays so
    lines[8] = "False";                        // the music switched off
    lines.insert(lines.begin() + 5, {"7000", "5000"});
    lines.insert(lines.begin() + 3, {"7000", "100"});
    places.At(SideWindow::frmStatistic).visible = true;  // until the file hides it
    Load(lines);
    EXPECT_EQ(sound.Get(Channel::mDrop1)->DMCtrlPath(), "/r/4.wav");
    EXPECT_EQ(sound.Get(Channel::mInverse1)->DMCtrlPath(), "/r/10.wav");
    EXPECT_EQ(sound.SpeedChange, 32767);
    // Switched off, the tune is started and stopped at once, so that switching it on resumes it.
    EXPECT_EQ(device.Take(), "open, load bkg " + shipped +
                                 "bkgmusic.wav, play bkg loop, stop bkg, volume bkg -1200");
    sound.Get(Channel::mRight1)->DMCtrlPath(lines[17] = "/elsewhere/r.wav");
    EXPECT_EQ(Saved(), Grown(lines));
}

// Lines the file cannot give keep the values held: here the main window at 1000,500, the
// music volume -500, mLeft1's volume -7 and the sweep speed 77.
TEST(SettingsFileDamaged, LinesKeepTheHeldValues) {
    struct Case {
        std::map<size_t, std::string> edits;  // line index -> text in the file
        int lines, heldFrom;  // lines in the file (-1: no file at all); all values held from here
        std::map<size_t, std::string> saved;  // line index -> text saved instead of the file's
    };
    const Case cases[] = {
        {{{0, "\t+300 "}, {9, "-1200.5"}, {12, "-99.5"}}, 41, 41, {{12, "-100"}}},
        {{{0, "inf"}, {1, ".5"}, {12, "-nan"}}, 41, 41, {{0, "1000"}, {1, "0"}, {12, "-7"}}},
        {{{9, "-32768"}, {12, "32768"}, {40, ""}}, 41, 41, {{9, "-32768"}, {12, "-7"}, {40, "77"}}},
        {{{5, "Yes"}, {8, " false "}, {17, " TRUE "}},
         41,
         41,
         {{5, "False"}, {8, "False"}, {17, "True"}}},
        {{}, 10, 10, {}},             // cut after the music volume
        {{}, 0, 0, {}},               // empty
        {{}, -1, 0, {}},              // no file: it is written from the values held
        {{{3, "maybe"}}, 41, 3, {}},  // unknown whether positions follow: nothing more is read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Rig rig;
        rig.sound.VolumeBkgMusic = -500;
        rig.sound.SpeedChange = 77;
        rig.sound.Get(Channel::mLeft1)->DMCtrlVolume(-7);
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
        Lines expected = OldFile();  // the file's values up to heldFrom, the held ones after
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
    EXPECT_EQ(ReadFileBytes(locked).bytes, "x");
    SoundSystem bare(device);  // before the channels are made their records hold nothing
    EXPECT_EQ(SplitLines(plain.Compose(places, bare)).at(12), "0");
}

// Sounds beside the executable (a build folder) come first, then those of an installed copy:
// games/ or bin/ beside share/vorblin/. A file named like the sounds folder is none.
TEST(StartFolders, ShippedSoundsAndInstalledCopiesByWhereTheExecutableStands) {
    testing::TempFolder root;
    const std::string games = root.File("games"), share = root.File("share/vorblin");
    const std::string bin = root.File("bin"), build = root.File("build");
    for (const std::string& folder : {games + "/sound", share + "/Sound", bin, build})
        fs::create_directories(folder);
    ASSERT_TRUE(WriteFileAtomically(bin + "/sound", "x"));
    EXPECT_EQ(testing::Show("games", ShippedFolder(games, "../share/vorblin"), "bin/",
                            ShippedFolder(bin + "/", "../share/vorblin/"), "other share",
                            ShippedFolder(bin, "../share/other"), "installed",
                            IsInstalledCopy(games, "../share/vorblin"), "bin/",
                            IsInstalledCopy(bin + "/", "../share/vorblin/"), "build",
                            IsInstalledCopy(build, "../share/vorblin"), "other share",
                            IsInstalledCopy(games, "../share/other")),
              testing::Show("games", games, "bin/", share, "other share", bin, "installed", true,
                            "bin/", true, "build", false, "other share", false));
}

}  // namespace
}  // namespace vorblin
