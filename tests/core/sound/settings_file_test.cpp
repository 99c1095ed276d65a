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
    DMCtrl& Ch(Channel c) { return *sound.Get(c); }

    testing::TempFolder data, program;
    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    testing::FakeSides places;
    SoundSettingsFile file{data.path, program.path};
};

// 41 lines, no side window shown, each record's path, switch and volume told apart.
Lines DistinctFile() {
    Lines lines = {"300",         "450",  "False", "False", "False", "True", "vorblin-music...",
                   "/м/тема.wav", "True", "-1200"};
    for (int r = 1; r <= 10; ++r)
        lines.insert(lines.end(), {"/r/" + std::to_string(r) + ".wav", r % 2 ? "False" : "True",
                                   std::to_string(-100 * r)});
    lines.push_back("32767");  // the largest sweep speed the file can hold
    return lines;
}

// Read back as written: each record to its channel, positions only for the side windows shown.
TEST(SettingsFile, RecordsSideWindowsAndTheMusicSwitch) {
    Rig rig;
    testing::FakeSides::Side& statistic = rig.places.At(SideWindow::frmStatistic);
    statistic.visible = true;  // until the file hides it
    statistic.position = {-30, 60};
    Lines lines = DistinctFile();  // the hall of fame and the future shown, the statistics not
    lines[2] = lines[4] = "True";
    lines[8] = "False";  // the music switched off
    lines.insert(lines.begin() + 5, {"7000", "5000"});
    lines.insert(lines.begin() + 3, {"7000", "100"});
    rig.Load(lines);
    std::string paths;  // by channel, in the order they are made
    for (int c = 0; c < kChannelCount; ++c)
        paths += rig.Ch(Channel(c)).DMCtrlPath() + " ";
    EXPECT_EQ(paths,
              "/r/6.wav /r/1.wav /r/2.wav /r/3.wav /r/4.wav /r/8.wav /r/9.wav /r/5.wav "
              "/r/7.wav /r/10.wav ");
    // Switched off, the tune is started and stopped at once, so that switching it on resumes it.
    EXPECT_EQ(rig.device.Take(),
              (Lines{"open", "load 10 /м/тема.wav", "play 10 loop", "stop 10", "volume 10 -1200"}));
    EXPECT_EQ(rig.Saved(), Text(lines));
    statistic.visible = true;
    lines[5] = "True";
    lines.insert(lines.begin() + 6, {"-30", "60"});
    EXPECT_EQ(rig.Saved(), Text(lines));  // 47 lines
}

TEST(SettingsFile, DefaultPathsFindTheShippedSoundsIgnoringCase) {
    Rig rig;
    const std::string shipped = rig.program.path + "/sound/";
    std::filesystem::create_directories(shipped);
    for (const char* name : {"bkgmusic.wav", "LEFT1.wav", "left1.WAV"})  // exact names win
        WriteFileAtomically(shipped + name, "x");
    const char* names[] = {"down1",   "left1",    "right1", "rotate1", "drop1",
                           "dellin1", "vorblin1", "drop2",  "down2",   "inverse1"};
    for (int c = 0; c < kChannelCount; ++c)
        EXPECT_EQ(DefaultChannelPath(rig.program.path, Channel(c)), shipped + names[c] + ".WAV");
    EXPECT_EQ(DefaultBkgPath(rig.program.path), shipped + "bkgmusic.wav");

    Lines lines = DistinctFile();
    lines[7] = lines[10] = lines[13] = "...";  // the music, mLeft1, mRight1 (not shipped)
    rig.Load(lines);
    EXPECT_EQ(rig.sound.PathToBkgMusic, shipped + "bkgmusic.wav");
    // "..." goes back while it names the shipped file; another choice is written out.
    lines[13] = "/elsewhere/r.wav";
    rig.Ch(Channel::mRight1).DMCtrlPath(lines[13]);
    EXPECT_EQ(rig.Saved(), Text(lines));
    // A path written out in full stays so, even where it names the shipped file.
    lines[7] = shipped + "bkgmusic.wav";
    lines[10] = shipped + "left1.WAV";
    rig.Load(lines);
    EXPECT_EQ(rig.Saved(), Text(lines));
}

// Lines the file cannot give keep the values held: here the main window at 1000,500, the
// music volume -500, mLeft1 at "keep" with volume -7 and the sweep speed 77.
TEST(SettingsFile, DamagedLinesKeepTheHeldValues) {
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
        rig.Ch(Channel::mLeft1).DMCtrlVolume(-7);
        rig.Ch(Channel::mLeft1).DMCtrlPath("keep");
        const Lines held = SplitLines(rig.file.Compose(rig.places, rig.sound));
        Lines lines = DistinctFile();
        for (const auto& [index, text] : c.edits)
            lines[index] = text;
        lines.resize(std::max(c.lines, 0));
        if (c.lines >= 0)
            rig.Load(lines);
        else
            rig.file.LoadSoundSettings(rig.places, rig.sound);
        // Loading never rewrites a file; a missing one is written at once.
        EXPECT_EQ(ReadFileBytes(rig.file.Path()).bytes, Text(c.lines >= 0 ? lines : held));
        Lines expected = DistinctFile();
        std::copy(held.begin() + c.heldFrom, held.end(), expected.begin() + c.heldFrom);
        for (const auto& [index, text] : c.saved)
            expected[index] = text;
        EXPECT_EQ(rig.Saved(), Text(expected));
        EXPECT_EQ(rig.sound.bkg.BkgVolume, rig.sound.VolumeBkgMusic);
    }
}

TEST(SettingsFile, AFolderThatCannotBeWritten) {
    Rig rig;
    const std::string locked = rig.data.File("plain-file");  // nothing can be made in it
    WriteFileAtomically(locked, "x");
    SoundSettingsFile file(locked, rig.program.path);
    std::string error;
    EXPECT_FALSE(file.SaveSoundSettings(rig.places, rig.sound, &error));
    EXPECT_NE(error.find("cannot write " + locked), std::string::npos) << error;
    SoundSystem bare(rig.device);  // before the channels are made their records hold nothing
    EXPECT_EQ(SplitLines(file.Compose(rig.places, bare))[12], "0");
}

TEST(SettingsRules, FileNamesAndFolders) {
    EXPECT_EQ(SEEN(Get_File_Name("/p/sound/left1.WAV"), Get_Folder("/p/sound/left1.WAV"),
                   Get_File_Name("plain.wav"), Get_Folder("plain.wav")),
              "Get_File_Name(\"/p/sound/left1.WAV\")=left1.WAV\n"
              "Get_Folder(\"/p/sound/left1.WAV\")=/p/sound/\n"
              "Get_File_Name(\"plain.wav\")=plain.wav\nGet_Folder(\"plain.wav\")=\n");
}

// The leading number, rounded; above the largest speed the box shows the largest instead.
TEST(SettingsRules, SweepSpeedText) {
    const struct {
        const char* text;
        int speed;
        bool tooLarge;
    } cases[] = {{"", 0, false},        {"12abc", 12, false},     {"500", 500, false},
                 {"500.4", 500, false}, {"500.6", 500, true},     {"1000", 500, true},
                 {"-40", -40, false},   {"-99999", -32768, false}};
    for (const auto& c : cases) {
        const SpeedText read = ReadSpeedText(c.text);
        EXPECT_EQ(read.speed, c.speed) << c.text;
        EXPECT_EQ(read.tooLarge, c.tooLarge) << c.text;
    }
}

// The background music's controls in the settings window, as they reach the sound.
TEST(SettingsRules, TheMusicControlsChangeTheSoundAndWhatTheFileKeeps) {
    testing::FakeAudioDevice audio;
    SoundSystem sound(audio);
    sound.enableLoop = true;
    sound.PathToBkgMusic = "/kept.wav";
    sound.bkg.PlayBkgMusic("/kept.wav");
    audio.Take();
    SetBkgMusicOff(sound, true);
    EXPECT_EQ(audio.Take(), Lines{"stop 10"});
    EXPECT_FALSE(sound.EnableLoop());  // the sweep stops with it
    SetBkgMusicOff(sound, false);
    EXPECT_EQ(audio.Take(), Lines{"play 10 loop"});
    EXPECT_TRUE(sound.EnableLoop());
    SetBkgMusicVolume(sound, -300);
    EXPECT_EQ(audio.Take(), Lines{"volume 10 -300"});
    EXPECT_EQ(SEEN(sound.bkg.BkgVolume, sound.VolumeBkgMusic),
              "sound.bkg.BkgVolume=-300\nsound.VolumeBkgMusic=-300\n");

    // The sweep goes back to its start only at 0 or below.
    const struct {
        int16_t speed;
        int32_t forLoop;
    } speeds[] = {{5, 1234}, {0, 0}, {-3, 0}, {1, 1234}};
    for (const auto& c : speeds) {
        sound.ForLoop = 1234;
        SetPanSpeed(sound, c.speed);
        EXPECT_EQ(sound.SpeedChange, c.speed);
        EXPECT_EQ(sound.ForLoop, c.forLoop) << c.speed;
    }

    // The chooser cancelled: the tune and the path stay, the slider's volume comes again.
    ChooseBkgMusic(sound, std::nullopt, -200);
    EXPECT_EQ(audio.Take(), Lines{"volume 10 -200"});
    EXPECT_EQ(sound.PathToBkgMusic, "/kept.wav");
    ChooseBkgMusic(sound, "/new.wav", -100);
    EXPECT_EQ(audio.Take(), (Lines{"stop 10", "release 10", "open", "load 10 /new.wav",
                                   "play 10 loop", "volume 10 -100"}));
    EXPECT_EQ(SEEN(sound.PathToBkgMusic, sound.bkg.BkgPath),
              "sound.PathToBkgMusic=/new.wav\nsound.bkg.BkgPath=/new.wav\n");
}

// Each event's caption, then its channels by number, in the order they are made; -1 for no
// second variant.
TEST(SettingsRules, EventsAndTheirVariants) {
    Lines seen;
    for (const EventEntry& e : ListEvents())
        seen.push_back(std::string(e.caption) + ": first " + std::to_string(int(e.first)) +
                       ", second " + std::to_string(e.second ? int(*e.second) : -1));
    EXPECT_EQ(seen, (Lines{"Инверсия: first 9, second -1",
                           "Появление Vorblin-фигурки: first 6, second -1",
                           "Удаление линиий: first 5, second -1", "Приземление: first 0, second 8",
                           "Бросить: first 4, second 7", "Вращение: first 3, second -1",
                           "Влево: first 1, second -1", "Вправо: first 2, second -1"}));
}

TEST(StartFolders, ShippedSoundsAndInstalledCopiesByWhereTheExecutableStands) {
    testing::TempFolder root;
    const std::string games = root.File("games");
    const std::string share = root.File("share/vorblin");
    fs::create_directories(games);
    fs::create_directories(root.File("build"));
    EXPECT_EQ(ShippedFolder(games, "../share/vorblin"), games);  // nothing anywhere
    EXPECT_FALSE(IsInstalledCopy(games, "../share/vorblin"));
    fs::create_directories(share + "/Sound");  // letter case ignored
    EXPECT_EQ(ShippedFolder(games, "../share/vorblin"), share);
    // Installed: games/ (or bin/, below) beside share/vorblin/, whoever may write there; a
    // build folder beside the same share is none, nor is a games/ whose share is another's.
    EXPECT_EQ(SEEN(IsInstalledCopy(games, "../share/vorblin"),
                   IsInstalledCopy(games + "/", "../share/vorblin/"),
                   IsInstalledCopy(root.File("build"), "../share/vorblin"),
                   IsInstalledCopy(games, "../share/other")),
              "IsInstalledCopy(games, \"../share/vorblin\")=true\n"
              "IsInstalledCopy(games + \"/\", \"../share/vorblin/\")=true\n"
              "IsInstalledCopy(root.File(\"build\"), \"../share/vorblin\")=false\n"
              "IsInstalledCopy(games, \"../share/other\")=false\n");
    EXPECT_EQ(DefaultBkgPath(ShippedFolder(games, "../share/vorblin")),
              share + "/Sound/bkgmusic.WAV");
    EXPECT_EQ(ShippedFolder(games + "/", "../share/vorblin/"), share);
    EXPECT_EQ(ShippedFolder(games, "../share/other"), games);
    // A sounds folder beside the executable (a build folder) comes first.
    fs::create_directories(games + "/sound");
    EXPECT_EQ(ShippedFolder(games, "../share/vorblin"), games);
    // A file named like the folder is no folder of sounds.
    const std::string bin = root.File("bin");
    fs::create_directories(bin);
    ASSERT_TRUE(WriteFileAtomically(bin + "/sound", "x"));
    EXPECT_EQ(ShippedFolder(bin, "../share/vorblin"), share);
    EXPECT_TRUE(IsInstalledCopy(bin, "../share/vorblin"));
}

}  // namespace
}  // namespace vorblin
