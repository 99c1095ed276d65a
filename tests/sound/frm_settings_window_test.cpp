// The settings window and its file chooser on a recording device: what the controls change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "sound/frm_open_window.h"
#include "sound/frm_settings_window.h"
#include "support/fake_audio.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
namespace {

using Calls = std::vector<std::string>;

// Runs `act` on the modal window once it has started.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
}

// Clicks the named file in the open chooser.
void Pick(QWidget* chooser, const QString& name) {
    auto* files = chooser->findChild<QListWidget*>("filOpen");
    const auto found = files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    emit files->itemClicked(found[0]);
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
    void Select(const char* entry) {
        auto* list = W<QComboBox>("cmbListEvents");
        list->setCurrentIndex(list->findText(QString::fromUtf8(entry)));
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
    Select("Инверсия");  // one variant only
    EXPECT_FALSE(W<QGroupBox>("fraSecondVar")->isVisible());
    Select("Бросить");
    EXPECT_EQ(testing::Seen(Text("lblFirstVar"), Text("lblSecondVar"), Text("lblFile")),
              "ch4.wav|ch7.wav|tune.wav|");
    W<QCheckBox>("chkEnFirstVar")->click();   // ticked: off
    W<QCheckBox>("chkEnSecondVar")->click();  // cleared: on
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
    W<QPushButton>("cmdOpenSecond")->click();
    EXPECT_EQ(seen, (QStringList{QString::fromStdString(folder.File("inner")), "A.WAV", "b.wav"}));
    EXPECT_EQ(
        testing::Seen(Ch(Channel::mDrop1).DMCtrlEnabled(), Ch(Channel::mDrop2).DMCtrlEnabled(),
                      Ch(Channel::mDrop2).DMCtrlVolume(), Ch(Channel::mDrop1).DMCtrlVolume(),
                      Ch(Channel::mDown1).DMCtrlVolume(), Text("lblSecondVar"),
                      Ch(Channel::mDrop2).DMCtrlPath(), Ch(Channel::mDrop1).DMCtrlPath()),
        "0|1|0|-501|-100|A.WAV|" + folder.File("A.WAV") + "|/snd/ch4.wav|");

    // The music (nothing was played so far): a pick starts the tune even while it is switched off,
    // at its volume.
    WhenModal([](QWidget* chooser) { Pick(chooser, "b.wav"); });
    W<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(testing::Seen(sound.PathToBkgMusic, Text("lblFile")),
              folder.File("b.wav") + "|b.wav|");
    EXPECT_EQ(device.Take(),
              (Calls{"stop 10", "release 10", "open", "load 10 " + folder.File("b.wav"),
                     "play 10 loop", "volume 10 -700"}));
    // Switched on and off; its volume.
    W<QCheckBox>("chkEnable")->click();
    W<QCheckBox>("chkEnable")->click();
    QTest::keyClick(W<QSlider>("sldVolBackgrnd"), Qt::Key_PageUp);
    EXPECT_EQ(sound.VolumeBkgMusic, 0);
    EXPECT_EQ(device.Take(), (Calls{"play 10 loop", "stop 10", "volume 10 0"}));
    // The sweep speed typed (held at the maximum): the slider follows.
    W<QLineEdit>("txtChange")->setText("1000");
    EXPECT_EQ(testing::Seen(sound.SpeedChange, W<QSlider>("sldChange")->value(),
                            W<QLineEdit>("txtChange")->text().toStdString()),
              "500|500|500|");
}

}  // namespace
}  // namespace vorblin
