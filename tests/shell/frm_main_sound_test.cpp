#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <filesystem>

#include "shell/frm_main_places.h"
#include "shell/frm_main_window.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;

TEST(WindowPlaces, WindowsOffEveryScreenComeBackToTheNearest) {
    const QList<QRect> screens = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    struct Case {
        QRect frame;
        QPoint placed;
    };
    const Case cases[] = {
        {QRect(100, 100, 400, 600), QPoint(100, 100)},    // on the first screen
        {QRect(2000, 500, 400, 600), QPoint(2000, 500)},  // on the second
        {QRect(1200, 10, 400, 600), QPoint(1200, 10)},    // across both
        {QRect(-340, 50, 400, 600), QPoint(-340, 50)},    // 60 pixels still on it
        {QRect(-350, 50, 400, 600), QPoint(0, 50)},       // too little left to hold
        {QRect(5000, 300, 400, 600), QPoint(2800, 300)},  // far right: the second screen
        {QRect(100, -2000, 400, 600), QPoint(100, 0)},    // above
        {QRect(100, 1020, 400, 600), QPoint(100, 424)},   // only 4 pixels showing
        {QRect(-9000, -9000, 2000, 2000), QPoint(0, 0)},  // larger than the screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceOnScreens(c.frame, screens), c.placed) << c.frame.x() << "," << c.frame.y();
    EXPECT_EQ(PlaceOnScreens(QRect(-5000, 7, 10, 10), {}), QPoint(-5000, 7));
}

using vorblin::testing::TempFolder;

TEST(FrmMainSound, FirstStartWritesTheFileAndClosingWritesItAgain) {
    TempFolder folder;
    const std::string file = JoinPath(folder.path, "VorbDieRect.ini");
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    {
        FrmMain window(&rnd, &clock, folder.path);
        window.show();
        const FileBytes written = ReadFileBytes(file);
        ASSERT_EQ(written.status, ReadStatus::Ok);
        const std::vector<std::string> lines = SplitLines(written.bytes);
        ASSERT_EQ(lines.size(), 41u);
        EXPECT_EQ(lines[2], "False");
        EXPECT_EQ(lines[6], "vorblin-music...");
        EXPECT_TRUE(window.Sound().ChannelsCreated());
        EXPECT_FALSE(window.Sound().EnableSoundControl);

        // "Set" opens the settings window over the main window and springs back.
        bool opened = false;
        QTimer::singleShot(0, qApp, [&] {
            auto* settings = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(settings, nullptr);
            opened = settings->objectName() == "frmSettings" && settings->parent() == &window;
            window.Sound().EnableSoundControl = true;  // as its master switch would
            settings->reject();
        });
        window.Shell().Set_chkSet(1);
        EXPECT_TRUE(opened);
        EXPECT_EQ(window.Shell().menu.chkSet.Value, 0);

        window.move(300, 200);
        window.close();
        const std::vector<std::string> saved = SplitLines(ReadFileBytes(file).bytes);
        ASSERT_EQ(saved.size(), 41u);
        EXPECT_EQ(saved[0], "4500");
        EXPECT_EQ(saved[1], "3000");
        EXPECT_EQ(saved[5], "True");
    }
    // The next start reads it back.
    FrmMain again(&rnd, &clock, folder.path);
    EXPECT_TRUE(again.Sound().EnableSoundControl);
    EXPECT_EQ(again.pos(), QPoint(300, 200));
}

TEST(FrmMainSound, SideWindowsComeBackShownAndTheMenuMirrorsThem) {
    TempFolder folder;
    const std::string file = JoinPath(folder.path, "VorbDieRect.ini");
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    {
        FrmMain window(&rnd, &clock, folder.path);
        window.show();
        EXPECT_EQ(SplitLines(ReadFileBytes(file).bytes).size(), 41u);
        window.Shell().Set_chkRec(1);
        window.Shell().Set_chkStat(1);
        window.Shell().Set_chkFuture(1);
        window.close();
        const std::vector<std::string> lines = SplitLines(ReadFileBytes(file).bytes);
        ASSERT_EQ(lines.size(), 47u);
        EXPECT_EQ(lines[2], "True");
        EXPECT_EQ(lines[5], "True");
        EXPECT_EQ(lines[8], "True");
        EXPECT_EQ(lines[12], "vorblin-music...");
    }
    // Read before the menu mirrors the side windows: their buttons are down at once.
    FrmMain again(&rnd, &clock, folder.path);
    EXPECT_EQ(again.Shell().menu.chkRec.Value, 1);
    EXPECT_EQ(again.Shell().menu.chkStat.Value, 1);
    EXPECT_EQ(again.Shell().menu.chkFuture.Value, 1);
    EXPECT_EQ(SplitLines(ReadFileBytes(file).bytes).size(), 47u);
}

TEST(FrmMainSound, WithoutAnAudioDeviceTheGameRunsSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    TempFolder folder;
    const std::string file = JoinPath(folder.path, "VorbDieRect.ini");
    // Every sound switched on, with the shipped files.
    std::string text =
        "0\r\n0\r\nFalse\r\nFalse\r\nFalse\r\nTrue\r\nvorblin-music...\r\n"
        "...\r\nTrue\r\n-300\r\n";
    for (int r = 0; r < 10; ++r)
        text += "...\r\nTrue\r\n0\r\n";
    text += "400\r\n";
    ASSERT_TRUE(WriteFileAtomically(file, text));
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    FrmMain window(&rnd, &clock, folder.path);
    window.show();
    EXPECT_FALSE(window.Sound().bkg.BkgPlaying);
    EXPECT_TRUE(window.Sound().EnableLoop());
    for (int i = 0; i < 300; ++i) {
        window.Shell().game.cmdRotate_MouseDown(0);
        window.Shell().game.cmdRotate_MouseUp(0);
        window.OnFallTick();
    }
    window.close();
    EXPECT_EQ(ReadFileBytes(file).bytes, text);
}

}  // namespace
}  // namespace vorblin
