// What needs Qt or SDL: the windows driven as the player drives them (routing input, the fall
// clock, the dialogs, the side windows, the help tour, the settings window and its file chooser)
// and the sound output on SDL_mixer. The rules are the core's tests.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

#include "core/base/text_file.h"
#include "desktop/main/frm_main_window.h"
#include "desktop/records/frm_game_over_windows.h"
#include "desktop/sound/frm_open_window.h"
#include "desktop/sound/frm_settings_window.h"
#include "desktop/sound/sdl_audio_device.h"
#include "support/fake_audio.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

// Runs `act` on the modal window once it is open (the tick that ended the game waits in it).
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
}

void Click(QWidget* window, const char* button) {
    window->findChild<QAbstractButton*>(button)->click();
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->SetProgramEnd([this] { ++ends; });
        window->show();
        QApplication::setActiveWindow(window.get());
        window->Well()->setFocus();
    }
    Game& game() { return window->Shell().game; }
    ColourButton* Button(const char* name) {
        return static_cast<ColourButton*>(window->Control(name));
    }
    // Presses help and hands every page the tour shows to `onPage` (numbered from 0, the
    // first page) until the tour ends.
    void Tour(const std::function<void(int, FrmHelp*)>& onPage) {
        int pages = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* help = dynamic_cast<FrmHelp*>(QApplication::activeModalWidget());
            if (help != nullptr && help->isVisible())
                onPage(pages++, help);
        });
        poll.start(1);
        QTest::mouseClick(Button("chkHelp"), Qt::LeftButton);
    }

    testing::TempFolder folder;   // the hall of fame's and the settings file's
    testing::ScriptedRandom rnd;  // every draw 0: ordinary figures of shape 0
    testing::FixedClock clock;
    std::unique_ptr<FrmMain> window;
    int ends = 0;
};

TEST_F(MainWindow, AKeyActsAtOnceAfterTheTicksDueBeforeItFromAnyControl) {
    // No event is processed meanwhile: the ticks of these 40 ms are owed.
    const int16_t ticksBefore = game().scores.TimeTicks;
    QTest::qSleep(40);
    QTest::keyPress(window->Well(), Qt::Key_Left);
    // Moved within the same call after the owed ticks; the window sleeps until the next change.
    EXPECT_EQ(testing::Seen(+game().board.PosX, game().scores.TimeTicks - ticksBefore >= 19,
                            window->FallWake().isActive()),
              "8|1|1|");
    // Held down: repeated presses act, repeated releases leave the button pressed.
    for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeated(type, Qt::Key_Left, Qt::NoModifier, {}, true);
        QApplication::sendEvent(window->Well(), &repeated);
    }
    EXPECT_TRUE(game().board.PosX == 7 && Button("cmdLeftRight(0)")->BackColor() == kGreen);
    QTest::keyRelease(window->Well(), Qt::Key_Left);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), game().pad.ColorButtons);
    Button("chkStat")->setFocus();
    QTest::keyClick(Button("chkStat"), Qt::Key_Escape);  // pauses: the fall clock stops
    EXPECT_TRUE(Button("chkPause")->isChecked() && !window->FallClock().Running());
}

TEST(MainWindowStart, ASharedRecordsFolderTakesOnlyTheTableAndTheIconIsTheDesktops) {
    testing::TempFolder own, shared;
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    FrmMain window(&rnd, &clock, own.path, shared.path);
    const auto has = [](const testing::TempFolder& f, const char* name) {
        return std::filesystem::exists(f.File(name));
    };
    EXPECT_EQ(testing::Seen(has(shared, "VorblinFathers.txt"), has(shared, "VorbDieRect.ini"),
                            has(own, "VorblinFathers.txt"), has(own, "VorbDieRect.ini")),
              "1|0|0|1|");
    // The title strip's 16 pixels come from the same renderings as the menu's icon: the
    // landed figure's yellow in the bottom-left cell, the well's dark above it.
    const QImage strip = window.windowIcon().pixmap(16, 16).toImage();
    ASSERT_EQ(strip.size(), QSize(16, 16));
    EXPECT_EQ(strip.pixelColor(1, 14).name(), QStringLiteral("#ffff00"));
    EXPECT_LT(strip.pixelColor(1, 9).lightness(), 40);
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 8);
}

TEST_F(MainWindow, PadButtonsActOncePerPressOfAnyMouseButton) {
    game().tmrDown.Enabled = false;  // the figure stays where it is while the mouse works
    window->Sync();
    ColourButton* left = Button("cmdLeftRight(0)");
    // Dragged off and back on while held: one press, the colour restored on the release.
    const QPoint inside = left->rect().center(), outside(-30, -30);
    QTest::mousePress(left, Qt::LeftButton, {}, inside);
    for (const QPoint at : {outside, inside, outside})
        QTest::mouseMove(left, at);
    const Colour held = left->BackColor();
    QTest::mouseRelease(left, Qt::LeftButton, {}, outside);
    std::string seen = testing::Seen(held, +game().board.PosX, left->BackColor());
    // Other buttons press too; a double click is two presses.
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton})
        QTest::mouseClick(left, other);
    QTest::mouseDClick(left, Qt::LeftButton);
    QTest::mouseRelease(left, Qt::LeftButton);
    const FigureMatrix turned = game().board.Rotated();
    QTest::mouseClick(Button("cmdRotate(0)"), Qt::RightButton);
    seen += testing::Seen(+game().board.PosX, game().board.Figura == turned);
    EXPECT_EQ(seen, testing::Seen(kPressedMove, 8, game().pad.ColorButtons, 4, true));
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
}

TEST_F(MainWindow, AGameEndsWithANameStoredAndANewGame) {
    window->Shell().Set_chkRec(1);
    QStringList seen;
    WhenModal([&](QWidget* name) {
        auto* dialog = static_cast<FrmEnterName*>(name);
        seen << static_cast<QLabel*>(window->Control("lblScore"))->text()  // shown already
             << dialog->txtName()->selectedText();
        // Controls and what Windows-1251 cannot hold are left out; ten characters at most.
        for (const QChar c : QString::fromUtf8("Юля\tЖ\n中abcdefghij")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(dialog->txtName(), &press);
        }
        QTest::keyClick(dialog, Qt::Key_Escape);  // the pause key: not a way out
        seen << (dialog->isVisible() ? "open" : "gone");
        QTest::keyClick(dialog, Qt::Key_Return);  // Enter anywhere
        WhenModal([&](QWidget* question) {
            QTest::keyClick(question, Qt::Key_Escape);  // ignored: Esc is the pause key
            seen << (question->isVisible() ? "asked" : "gone");
            Click(question, "cmdYes");
        });
    });
    testing::LandOnNextTick(game(), 300, true);  // the next landing ends the game
    window->OnFallTick();
    EXPECT_EQ(seen, (QStringList{"300", "UnNamed", "open", "asked"}));
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes,
              "\xDE\xEB\xFF\xC6"
              "abcdef\r\n 300\r\nBorkin\r\n 0\r\n");
    QListWidget* table = window->Fathers()->List();  // side windows stay open
    ASSERT_EQ(table->count(), 2);
    EXPECT_EQ(testing::Seen(table->item(0)->text().toStdString(), window->Fathers()->isVisible(),
                            ends, game().Position, game().scores.Score),
              "1. ЮляЖabcdef     300|1|0|2|0|");
}

// Runs `act` on the named modal window once it is open (however long the game takes to open it).
void WhenOpened(const char* name, std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || modal->objectName() != QLatin1String(name))
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start(1);
}

// The last landing, run by the fall clock, climbs a place, which starts the menu flash, and
// ends the game. The flash runs on while the name window waits, and a new game taken at once
// keeps the menu's colour. So does one that ends on the help tour's page for "Pause".
TEST_F(MainWindow, AGameEndingDuringTheMenuFlashOrTheTourKeepsTheMenusColour) {
    const MainMenu& menu = window->Shell().menu;
    const Colour before = menu.ColorMenu;
    const auto row = [&] {
        std::string seen = testing::Seen(menu.ColorMenu);
        for (const char* name : {"chkPause", "chkHelp", "chkDemo", "chkSet"})
            seen += testing::Seen(Button(name)->BackColor());
        return seen;
    };
    int flashSeen = -1;
    bool answered = false;
    const auto answer = [&](int flashStep) {
        WhenOpened("frmEnterName", [&, flashStep](QWidget* name) {
            if (flashStep > 0)
                (void)QTest::qWaitFor([&] { return menu.FlashStep >= flashStep; }, 1000);
            flashSeen = menu.FlashStep;
            QTest::keyClick(name, Qt::Key_Return);
            WhenOpened("frmGameOver", [&](QWidget* question) {
                Click(question, "cmdYes");
                answered = true;
            });
        });
    };
    answer(1);  // "Да" while "Pause" is lit
    testing::LandOnNextTick(game(), 300, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 3000));
    const std::string atNewGame = row();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu.tmrMigMenuControls.Enabled; }, 2000));
    EXPECT_EQ(testing::Seen(flashSeen) + atNewGame + row(),
              testing::Seen(1, before, kMenuFlash, before, before, before, before, before, before,
                            before, before));

    answered = false;
    Tour([&](int page, FrmHelp* help) {
        if (page < 13)
            return Click(help, "cmdNext");
        if (page > 13)
            return;  // still the same page, until the game ends
        answer(0);   // on the page for "Pause", with a landing that climbs no place
        testing::LandOnNextTick(game(), 0, true);
    });
    ASSERT_TRUE(answered);
    EXPECT_EQ(testing::Seen(menu.tmrMigMenuControls.Enabled) + row(),
              testing::Seen(false, before, before, before, before, before));
}

// The game runs on under the settings window and its chooser: its end closes both first.
// Without a name nothing is stored, and "No" ends the program.
TEST_F(MainWindow, AGameEndingUnderTheSettingsAndTheChooserClosesBothFirst) {
    bool toolsShownAtName = true;
    WhenModal([&](QWidget* settings) {
        WhenModal([&](QWidget* chooser) {
            WhenModal([&](QWidget* name) {
                toolsShownAtName = settings->isVisible() || chooser->isVisible();
                name->close();
                WhenModal([](QWidget* question) { Click(question, "cmdNo"); });
            });
            testing::LandOnNextTick(game(), 300, true);
            window->OnFallTick();
        });
        Click(settings, "cmdOpen");
    });
    window->Shell().Set_chkSet(1);
    EXPECT_EQ(testing::Seen(toolsShownAtName, ends, window->Shell().menu.chkSet.Value,
                            ReadFileBytes(folder.File(kRecordsFileName)).bytes),
              "0|1|0|Borkin\r\n 0\r\n|");
}

TEST_F(MainWindow, SideWindowsFollowTheButtonsKeepTheKeysOnTheGameAndDock) {
    QTest::mouseClick(Button("chkStat"), Qt::LeftButton);
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(testing::Seen(window->Well()->hasFocus(), +game().board.PosX), "1|8|");
    window->Statistic()->close();  // by its close box
    // Only the shown ones follow the main window: under X11 a state change would map the
    // hidden ones on the restore.
    QTest::mouseClick(Button("chkRec"), Qt::LeftButton);
    window->showMinimized();
    const std::string minimized =
        testing::Seen(window->Fathers()->isMinimized(), window->Statistic()->windowState().toInt());
    window->showNormal();
    EXPECT_EQ(minimized + testing::Seen(window->Fathers()->isMinimized(),
                                        window->Statistic()->windowState().toInt(),
                                        window->Statistic()->isVisible()),
              "1|0|0|0|0|");
    // Docked, the side windows are shown (which, the core's tests) and the keys stay on the game.
    QTest::mouseClick(Button("chkAuto"), Qt::LeftButton);
    EXPECT_TRUE(window->Future()->isVisible() && window->Well()->hasFocus());
}

// The tour ends after its last page (the help button springs up, so that a second tour starts)
// or when its window is closed, with the keys back on the game.
TEST_F(MainWindow, TheHelpTourShowsEveryControlsTagAndEndsByNextOrByClosing) {
    window->move(0, 0);  // no room on the left: the help window stays on the screen all the same
    std::vector<std::string> texts;
    Tour([&](int, FrmHelp* help) {
        QTest::keyClick(help, Qt::Key_Escape);  // not a way out
        EXPECT_TRUE(
            help->isVisible() && Button("chkHelp")->isChecked() &&
            window->screen()->availableGeometry().contains(help->frameGeometry().bottomLeft()));
        texts.push_back(help->findChild<QPlainTextEdit*>("txtText")->toPlainText().toStdString());
        Click(help, "cmdNext");
    });
    ASSERT_EQ(texts.size(), 35u);  // the first page and one a control
    EXPECT_EQ(testing::Seen(texts[0], texts[34]),
              testing::Seen(kHelpFirstPage, "Суммарный бонус за время."));

    Colour shownOnPage = kBlack;
    Tour([&](int page, FrmHelp* help) {
        if (page < 3)
            return Click(help, "cmdNext");
        shownOnPage = Button("cmdDown")->BackColor();
        help->close();  // on the drop button's page
    });
    // (a page after the closed one would be seen here as a later control's highlight)
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
    QTest::keyClick(window->Well(), Qt::Key_Left);
    EXPECT_EQ(testing::Seen(shownOnPage, Button("cmdDown")->BackColor(),
                            Button("chkHelp")->isChecked(), +game().board.PosX),
              testing::Seen(kHelpHighlight, game().pad.ColorButtons, false, 8));
}

// Clicks the named file in the open chooser.
void Pick(QWidget* chooser, const QString& name) {
    auto* files = chooser->findChild<QListWidget*>("filOpen");
    emit files->itemClicked(files->findItems(name, Qt::MatchExactly).value(0));
}

class FrmSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Channel n (in creation order) plays chN.wav at -100(n+1), switched on when n is even.
        sound.CreateChannels();
        for (int c = 0; c < kChannelCount; ++c) {
            DMCtrl& ch = *sound.Get(static_cast<Channel>(c));
            ch.DMCtrlPath("/snd/ch" + std::to_string(c) + ".wav");
            ch.DMCtrlVolume(static_cast<int16_t>(-100 * (c + 1)));
            ch.DMCtrlEnabled(c % 2 == 0);
        }
        sound.PathToBkgMusic = "/music/tune.wav";
        sound.bkg.PlayBkgMusic(sound.PathToBkgMusic);
        sound.bkg.SetBkgVolume(-700);
        std::filesystem::create_directory(folder.File("inner"));
        for (const char* name : {"b.wav", "A.WAV", "notes.txt", "inner/deep.wav"})
            ASSERT_TRUE(WriteFileAtomically(folder.File(name), "x"));
        device.Take();
        window = std::make_unique<FrmSettings>(sound, nullptr);
        window->show();
    }
    template <typename T>
    T* W(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    DMCtrl& Ch(Channel c) { return *sound.Get(c); }
    std::string Text(const char* label) { return W<QLabel>(label)->text().toStdString(); }

    testing::TempFolder folder;
    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    std::unique_ptr<FrmSettings> window;
};

// An event's variants and the music, each set by its own controls or through the chooser, which
// opens where the file is, lists only the sounds and, once used, opens again where it was.
TEST_F(FrmSettingsTest, EachControlAndEachPickChangesItsOwnSetting) {
    W<QComboBox>("cmbListEvents")->setCurrentText("Инверсия");  // one variant only
    EXPECT_FALSE(W<QWidget>("fraSecondVar")->isVisible());
    W<QComboBox>("cmbListEvents")->setCurrentText("Бросить");
    EXPECT_EQ(testing::Seen(Text("lblFirstVar"), Text("lblSecondVar"), Text("lblFile")),
              "ch4.wav|ch7.wav|tune.wav|");
    Click(window.get(), "chkEnFirstVar");   // ticked: off
    Click(window.get(), "chkEnSecondVar");  // cleared: on
    QTest::keyClick(W<QSlider>("sldVolBut2"), Qt::Key_PageUp);
    QTest::keyClick(W<QSlider>("sldVolBut1"), Qt::Key_Left);
    Ch(Channel::mDrop2).DMCtrlPath(folder.File("inner/deep.wav"));
    QStringList seen;
    WhenModal([&](QWidget* chooser) {
        seen << static_cast<FrmOpen*>(chooser)->Folder();
        auto* dirs = chooser->findChild<QListWidget*>("dirOpen");
        const QString up = QString::fromStdString(std::filesystem::path(folder.path).filename());
        emit dirs->itemActivated(dirs->findItems(up, Qt::MatchEndsWith).value(0));
        auto* files = chooser->findChild<QListWidget*>("filOpen");
        for (int i = 0; i < files->count(); ++i)
            seen << files->item(i)->text();
        Pick(chooser, "A.WAV");
    });
    Click(window.get(), "cmdOpenSecond");
    EXPECT_EQ(seen, (QStringList{QString::fromStdString(folder.File("inner")), "A.WAV", "b.wav"}));
    EXPECT_EQ(
        testing::Seen(Ch(Channel::mDrop1).DMCtrlEnabled(), Ch(Channel::mDrop2).DMCtrlEnabled(),
                      Ch(Channel::mDrop2).DMCtrlVolume(), Ch(Channel::mDrop1).DMCtrlVolume(),
                      Ch(Channel::mDown1).DMCtrlVolume(), Text("lblSecondVar"),
                      Ch(Channel::mDrop2).DMCtrlPath(), Ch(Channel::mDrop1).DMCtrlPath()),
        "0|1|0|-501|-100|A.WAV|" + folder.File("A.WAV") + "|/snd/ch4.wav|");

    // The music (nothing was played so far): a pick starts the tune even while it is switched off,
    // at its volume; switched on and off; its volume; the sweep speed typed (held at the
    // maximum), which the slider follows.
    WhenModal([](QWidget* chooser) { Pick(chooser, "b.wav"); });
    Click(window.get(), "cmdOpen");
    Click(window.get(), "chkEnable");
    Click(window.get(), "chkEnable");
    QTest::keyClick(W<QSlider>("sldVolBackgrnd"), Qt::Key_PageUp);
    W<QLineEdit>("txtChange")->setText("1000");
    EXPECT_EQ(device.Take(),
              (std::vector<std::string>{
                  "stop 10", "release 10", "open", "load 10 " + folder.File("b.wav"),
                  "play 10 loop", "volume 10 -700", "play 10 loop", "stop 10", "volume 10 0"}));
    EXPECT_EQ(testing::Seen(sound.PathToBkgMusic, Text("lblFile"), sound.VolumeBkgMusic,
                            sound.SpeedChange, W<QSlider>("sldChange")->value(),
                            W<QLineEdit>("txtChange")->text().toStdString()),
              folder.File("b.wav") + "|b.wav|0|500|500|500|");
}

// Opening shows and changes nothing, also with speeds a hand-edited file holds; Enter in the
// speed box neither opens a chooser nor closes the window.
TEST_F(FrmSettingsTest, OpeningChangesNothingAndEnterInTheSpeedBoxOpensNothing) {
    std::string seen;
    for (const int16_t speed : {700, -30}) {
        sound.SpeedChange = speed;
        sound.ForLoop = -1234;
        FrmSettings shown(sound, nullptr);
        seen += testing::Seen(sound.SpeedChange, sound.ForLoop,
                              shown.findChild<QLineEdit*>("txtChange")->text().toStdString());
    }
    EXPECT_EQ(seen, "700|-1234|700|-30|-1234|-30|");
    QStringList opened;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr) {
            opened << modal->objectName();
            modal->close();
        }
    });
    poll.start(1);
    QTest::keyClick(W<QLineEdit>("txtChange"), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_TRUE(opened.isEmpty() && window->isVisible()) << opened.join(",").toStdString();
}

// Writes a 16-bit mono PCM WAV file at 44100 Hz of `frames` samples all at `level`.
void WriteWav(const std::string& path, uint32_t frames, int16_t level) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(static_cast<char>(value >> (8 * i)));
    };
    out << "RIFF";
    put(36 + 2 * frames, 4);
    // 16 bytes of format: PCM, one channel, the rate, bytes a second, bytes a frame, bits.
    out.write("WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0\x88\x58\x01\0\x02\0\x10\0data", 32);
    put(2 * frames, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(static_cast<uint16_t>(level), 2);
}

// Each test opens the device afresh on the dummy driver (set by the test run).
class SdlAudioDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device.Open());
        WriteWav(tune, 44100, 16000);
    }
    testing::TempFolder dir;
    std::string tune = dir.File("tune.wav");
    SdlAudioDevice device;
};

TEST_F(SdlAudioDeviceTest, DecodesOncePerFileUntilItChangesAndRefusesWhatItCannotPlay) {
    const std::string junk = dir.File("junk.wav");
    std::ofstream(junk) << "not a sound";
    // The unusable file twice: it is not decoded at every play.
    for (const std::string& path : {std::string(), dir.File("missing.wav"), dir.path, junk, junk})
        EXPECT_FALSE(device.Load(0, path)) << path;
    EXPECT_EQ(device.Decodes(), 1);
    EXPECT_TRUE(device.Load(0, tune) && device.Load(1, tune) && device.Load(0, tune));
    EXPECT_EQ(device.Decodes(), 2);
    WriteWav(tune, 100, 5);
    EXPECT_TRUE(device.Load(0, tune));
    EXPECT_EQ(device.Decodes(), 3);
    std::remove(tune.c_str());
    EXPECT_FALSE(device.Load(0, tune));
    // Slots out of range and calls without a buffer are refused.
    EXPECT_FALSE(device.Load(11, junk) || device.Load(-1, junk) || device.Play(0, false) ||
                 device.SetVolume(0, -100) || device.Stop(0));
    device.Release(1);
    EXPECT_FALSE(device.Play(1, false));
}

// The last block of the mixed output (stereo S16, as the device opens the mixer).
std::mutex mixedLock;
std::vector<int16_t> mixed;
void KeepMixed(void*, Uint8* stream, int len) {
    const std::lock_guard<std::mutex> lock(mixedLock);
    mixed.assign(reinterpret_cast<int16_t*>(stream), reinterpret_cast<int16_t*>(stream) + len / 2);
}

// The mean level of each side once the output has settled, in thousands: "left|right|".
std::string Levels() {
    SDL_Delay(300);
    const std::lock_guard<std::mutex> lock(mixedLock);
    double sum[2] = {0, 0};
    for (size_t i = 0; i < mixed.size(); ++i)
        sum[i % 2] += std::abs(mixed[i]) * 2.0 / static_cast<double>(mixed.size());
    return testing::Seen(std::lround(sum[0] / 1000), std::lround(sum[1] / 1000));
}

TEST_F(SdlAudioDeviceTest, VolumePanAndStopReachTheOutput) {
    Mix_SetPostMix(&KeepMixed, nullptr);
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), "16|16|");
    ASSERT_TRUE(device.SetVolume(kBkgSlot, -2500));  // 25 dB down: 900
    EXPECT_EQ(Levels(), "1|1|");
    ASSERT_TRUE(device.SetVolume(kBkgSlot, 0) && device.SetPan(kBkgSlot, 10000));  // full right
    EXPECT_EQ(Levels(), "0|16|");
    ASSERT_TRUE(device.Stop(kBkgSlot));
    EXPECT_EQ(Levels(), "0|0|");
    // A new buffer starts at full volume and centre pan.
    ASSERT_TRUE(device.Load(kBkgSlot, tune) && device.Play(kBkgSlot, true));
    EXPECT_EQ(Levels(), "16|16|");
    Mix_SetPostMix(nullptr, nullptr);
}

// The loudest shipped sounds that can sound at once (the music, a move, a drop, a landing, a
// line removal and the Vorblin figure), started together at full volume, stay below full
// scale in the mixed output, as SDL's disk driver writes it.
TEST(ShippedSounds, TheLoudestThatSoundAtOnceStayBelowFullScale) {
    testing::TempFolder dir;
    const std::string raw = dir.File("mixed.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    const auto shipped = [](const char* name) {
        return std::string(VORBLIN_SOUND_DIR) + "/" + name + ".WAV";
    };
    std::vector<int> peaks;
    for (const auto& variants : {std::vector<const char*>{"left1", "drop1", "down1"},
                                 std::vector<const char*>{"inverse1", "drop2", "down2"}}) {
        {
            SdlAudioDevice device;
            ASSERT_TRUE(device.Open());
            std::vector<const char*> names = {"dellin1", "vorblin1"};
            names.insert(names.end(), variants.begin(), variants.end());
            for (size_t slot = 0; slot < names.size(); ++slot)
                ASSERT_TRUE(device.Load(static_cast<int>(slot), shipped(names[slot])) &&
                            device.Play(static_cast<int>(slot), false));
            ASSERT_TRUE(device.Load(kBkgSlot, shipped("bkgmusic")) && device.Play(kBkgSlot, true));
            SDL_Delay(700);
        }  // closed: the file holds all of it
        const std::string bytes = ReadFileBytes(raw).bytes;
        int peak = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            int16_t sample = 0;
            std::memcpy(&sample, bytes.data() + i, 2);
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        peaks.push_back(peak);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // as the tests run
    // Heard, and below full scale (clipped samples sit at 32767).
    for (const int peak : peaks)
        EXPECT_TRUE(peak > 8000 && peak < 32000) << peak;
}

TEST(SdlAudio, WithoutADeviceEverythingStaysSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioDevice device;
    EXPECT_FALSE(device.Open() || device.Open() || device.Load(0, "/x.wav") ||
                 device.Play(0, false) || device.Stop(0));
    device.Release(0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // as the tests run
}

}  // namespace
}  // namespace vorblin
