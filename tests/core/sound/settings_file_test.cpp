// The sound channels, the background music, and the sound settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "core/base/text_file.h"
#include "core/sound/settings_rules.h"
#include "core/sound/sound_settings_file.h"
#include "support/fake_audio.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using testing::FakeAudioDevice;
using testing::Show;
// A file's lines as the game writes them.
const auto Text = [](const Lines& lines) { return testing::Joined(lines, "\r\n"); };

// A second play cuts the first off; nothing plays with the master switch or the channel's own
// off; a device that cannot open or load gives the sound up, each play afresh.
TEST(SoundChannel, PlaysOfTheRotationChannel) {
    struct Case {
        bool master = true, enabled = true, opens = true, loads = true;  // the switches, the device
        int plays = 1;
        std::string calls;
    };
    const std::string play = "open, load mRotate1 /s/3.wav, volume mRotate1 0, play mRotate1 once";
    const Case cases[] = {
        {.plays = 2, .calls = play + ", stop mRotate1, release mRotate1, " + play},  // cut off
        {.master = false, .calls = ""},
        {.enabled = false, .calls = ""},
        {.opens = false, .plays = 2, .calls = "open, release mRotate1, open, release mRotate1"},
        {.loads = false, .calls = "open, load mRotate1 /s/3.wav"},
    };
    for (const Case& c : cases) {
        FakeAudioDevice device;
        std::tie(device.opens, device.loads) = std::tie(c.opens, c.loads);
        SoundSystem sound(device);
        sound.CreateChannels();
        sound.EnableSoundControl = c.master;
        DMCtrl& rotate = *sound.Get(Channel::mRotate1);
        rotate.DMCtrlEnabled(c.enabled);
        rotate.DMCtrlVolume(1);  // above full loudness: played at full
        rotate.DMCtrlPath("/s/3.wav");
        for (int i = 0; i < c.plays; ++i)
            sound.Play(Channel::mRotate1);
        EXPECT_EQ(device.Take(), c.calls);
    }
}

// The tune swept from side to side, one step past each mark (the turn is tested before the
// step), a start turning the sweep to the right again; then a tune that cannot start.
TEST(BackgroundMusic, PanSweepAndATuneThatCannotStart) {
    FakeAudioDevice device;
    SoundSystem sound(device);
    BkgMusic& bkg = sound.bkg;
    bkg.PlayBkgMusic("/m/a.wav");  // only a tune that plays is panned
    device.Take();
    // A hand-edited speed far beyond the range keeps the pans handed over within it.
    const std::pair<int16_t, std::vector<int>> sweeps[] = {
        {2500, {-5000, -2500, 0, 2500, 5000, 7500, 5000}},
        {32767, {-5000, 10000, -5000, -10000}},
        {0, {0, 0}}};
    for (const auto& [speed, pans] : sweeps) {
        sound.SpeedChange = speed;
        sound.StartPanSweep();
        std::string expected;
        for (const int pan : pans) {
            sound.PanSweepStep();
            expected += ", pan bkg " + std::to_string(pan);
        }
        EXPECT_EQ(", " + device.Take(), expected) << speed;
    }
    bkg.StopBkgMusic();
    bkg.ResumeBkgMusic();  // where it stopped, looping still
    EXPECT_EQ(device.Take(), "stop bkg, play bkg loop");
    sound.ForLoop = 1234;
    SetPanSpeed(sound, 0);  // no sweep: the tune back in the middle
    EXPECT_EQ(sound.ForLoop, 0);
    // A tune that cannot start leaves nothing to set, stop or resume; the volume is kept.
    device.loads = false;
    bkg.PlayBkgMusic("/m/gone.wav");
    bkg.SetBkgVolume(-700);
    bkg.SetBkgPan(100);
    bkg.StopBkgMusic();
    bkg.ResumeBkgMusic();
    bkg.PlayBkgMusic("");  // no tune chosen: the device is not even opened (slow without one)
    EXPECT_EQ(device.Take(),
              "stop bkg, release bkg, open, load bkg /m/gone.wav, release bkg, release bkg");
    EXPECT_EQ(Show("playing", bkg.BkgPlaying, "volume", bkg.BkgVolume),
              "playing=false\nvolume=-700\n");
    EXPECT_EQ(Get_Folder("/m/a") + "|" + Get_File_Name("/m/a") + Get_Folder("b"), "/m/|a");
    const std::string most = std::to_string(kMaxSpeedChange);  // typed: taken, held
    EXPECT_TRUE(!ReadSpeedText(most).tooLarge && ReadSpeedText(most + "0").tooLarge);
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
        const Lines all = SplitLines(file.Compose(places, sound));
        EXPECT_EQ(all.size(), old.size() + 3 * (kChannelCount - kOldRecords));
        return Text(old) + Text(Lines(all.begin() + std::min(all.size(), old.size()), all.end()));
    }

    testing::TempFolder data, program;
    FakeAudioDevice device;
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
    for (const char* name : {"bkgmusic.wav", "left1.WAV"})
        WriteFileAtomically(shipped + name, "x");
    Lines lines = OldFile();  // the hall of fame and the future shown, the statistics not
    lines[2] = lines[4] = "True";
    lines[7] = lines[13] = lines[16] = "...";  // the music, mRight1, mRotate1 (not shipped)
    lines[10] = shipped + "left1.WAV";         // mLeft1's written out in full stays so
    lines[8] = "False";                        // the music switched off
    lines.insert(lines.begin() + 5, {"7000", "5000"});
    lines.insert(lines.begin() + 3, {"7000", "100"});
    places.At(SideWindow::frmStatistic).visible = true;  // until the file hides it
    Load(lines);
    EXPECT_EQ(sound.Get(Channel::mInverse1)->DMCtrlPath(), "/r/10.wav");
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
        size_t lines, heldFrom;               // lines in the file; all values held from here
        std::map<size_t, std::string> saved;  // line index -> text saved instead of the file's
    };
    const Case cases[] = {
        {{{9, "-1200.5"}, {12, "-99.5"}, {40, " 2.5e9"}}, 41, 41, {{12, "-100"}, {40, "2"}}},
        {{{9, "-32768"}, {12, "32768"}, {40, ""}}, 41, 41, {{9, "-32768"}, {12, "-7"}, {40, "77"}}},
        {{{0, "\t+300 "}, {5, "Yes"}, {8, " false "}}, 41, 41, {{5, "False"}, {8, "False"}}},
        {{}, 10, 10, {}},             // cut after the music volume
        {{}, 0, 0, {}},               // empty
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
        lines.resize(c.lines);
        rig.Load(lines);
        Lines expected = OldFile();  // the file's values up to heldFrom, the held ones after
        expected.resize(c.heldFrom);
        expected.insert(expected.end(), held.begin() + expected.size(), held.end());
        for (const auto& [index, text] : c.saved)
            expected.at(index) = text;
        EXPECT_EQ(rig.Saved(), Text(expected));
    }
}

}  // namespace
}  // namespace vorblin
