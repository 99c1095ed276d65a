#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "sound/frm_open_window.h"
#include "sound/frm_settings_window.h"
#include "support/fake_audio.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

using vorblin::testing::TempFolder;

// Runs the action once the next modal window has started.
void WhenModal(std::function<void()> action) {
    QTimer::singleShot(0, qApp, std::move(action));
}

template <typename T>
T* Find(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class FrmSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sound.CreateChannels();
        int n = 0;
        for (int c = 0; c < kChannelCount; ++c) {
            DMCtrl& ch = *sound.Get(static_cast<Channel>(c));
            ch.DMCtrlPath("/snd/ch" + std::to_string(c) + ".wav");
            ch.DMCtrlVolume(static_cast<int16_t>(-100 * ++n));
            ch.DMCtrlEnabled(c % 2 == 0);
        }
        sound.PathToBkgMusic = "/music/tune.wav";
        sound.bkg.PlayBkgMusic(sound.PathToBkgMusic);
        sound.bkg.SetBkgVolume(-700);
        sound.EnableSoundControl = true;
        sound.enableLoop = false;
        sound.SpeedChange = 120;
        device.Take();
    }
    FrmSettings& Open() {
        window = std::make_unique<FrmSettings>(sound, nullptr);
        window->show();
        return *window;
    }
    void Select(const char* entry) {
        auto* list = Find<QComboBox>(window.get(), "cmbListEvents");
        list->setCurrentIndex(list->findText(QString::fromUtf8(entry)));
    }
    template <typename T>
    T* W(const char* name) {
        return Find<T>(window.get(), name);
    }
    DMCtrl& Ch(Channel c) { return *sound.Get(c); }

    testing::FakeAudioDevice device;
    SoundSystem sound{device};
    std::unique_ptr<FrmSettings> window;
};

TEST_F(FrmSettingsTest, LoadingFillsTheControlsAndChangesNothing) {
    Open();
    EXPECT_EQ(window->objectName(), "frmSettings");
    EXPECT_EQ(window->windowTitle(), "Settings");
    EXPECT_EQ(W<QSlider>("sldVolBackgrnd")->value(), -700);
    EXPECT_TRUE(W<QCheckBox>("chkEnable")->isChecked());
    EXPECT_FALSE(W<QCheckBox>("chkSoundControl")->isChecked());
    EXPECT_EQ(W<QLabel>("lblFile")->text(), "tune.wav");
    auto* list = W<QComboBox>("cmbListEvents");
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    EXPECT_EQ(entries, (QStringList{"Инверсия", "Появление Vorblin-фигурки", "Удаление линиий",
                                    "Приземление", "Бросить", "Вращение", "Влево", "Вправо"}));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(W<QLabel>("lblFirstVar")->text(), "ch9.wav");  // mInverse1
    EXPECT_FALSE(W<QGroupBox>("fraSecondVar")->isVisible());
    EXPECT_EQ(W<QSlider>("sldChange")->value(), 120);
    EXPECT_EQ(W<QLineEdit>("txtChange")->text(), "120");
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(sound.SpeedChange, 120);
    EXPECT_EQ(sound.bkg.BkgVolume, -700);
    // Every check box reads "switch off".
    for (const char* box : {"chkSoundControl", "chkEnFirstVar", "chkEnSecondVar", "chkEnable"})
        EXPECT_EQ(W<QCheckBox>(box)->text(), "Выключить") << box;
    // Layout in twips, 15 to a pixel.
    EXPECT_EQ(window->size(), QSize(483, 378));
    EXPECT_EQ(W<QPushButton>("cmdOk")->geometry(), QRect(392, 336, 81, 33));
    EXPECT_EQ(W<QSlider>("sldChange")->maximum(), 500);
    EXPECT_EQ(W<QSlider>("sldVolBut2")->minimum(), -2500);
    EXPECT_EQ(W<QSlider>("sldVolBut2")->pageStep(), 1000);
}

TEST_F(FrmSettingsTest, TheListSwitchesTheVariantFrames) {
    Open();
    struct Case {
        const char* entry;
        bool second;
        QString first, secondLabel;
        int firstVolume;
        bool firstOff;
    };
    // Channel n (creation order) has file chN.wav, volume -100(n+1), on when n is even.
    const Case cases[] = {
        {"Бросить", true, "ch4.wav", "ch7.wav", -500, false},
        {"Влево", false, "ch1.wav", "ch7.wav", -200, true},
        {"Приземление", true, "ch0.wav", "ch8.wav", -100, false},
        {"Вправо", false, "ch2.wav", "ch8.wav", -300, false},
        {"Появление Vorblin-фигурки", false, "ch6.wav", "ch8.wav", -700, false},
    };
    for (const Case& c : cases) {
        Select(c.entry);
        EXPECT_EQ(W<QGroupBox>("fraSecondVar")->isVisible(), c.second) << c.entry;
        EXPECT_EQ(W<QLabel>("lblFirstVar")->text(), c.first) << c.entry;
        EXPECT_EQ(W<QLabel>("lblSecondVar")->text(), c.secondLabel) << c.entry;
        EXPECT_EQ(W<QSlider>("sldVolBut1")->value(), c.firstVolume) << c.entry;
        EXPECT_EQ(W<QCheckBox>("chkEnFirstVar")->isChecked(), c.firstOff) << c.entry;
    }
    EXPECT_EQ(W<QSlider>("sldVolBut2")->value(), -900);  // mDown2
    EXPECT_FALSE(W<QCheckBox>("chkEnSecondVar")->isChecked());
    // Filling the frames changed no channel.
    EXPECT_EQ(Ch(Channel::mDown2).DMCtrlVolume(), -900);
    EXPECT_TRUE(Ch(Channel::mDown2).DMCtrlEnabled());
    EXPECT_FALSE(Ch(Channel::mDrop2).DMCtrlEnabled());
}

TEST_F(FrmSettingsTest, VariantControlsChangeTheirOwnChannel) {
    Open();
    Select("Бросить");
    W<QCheckBox>("chkEnFirstVar")->click();  // ticked: off
    EXPECT_FALSE(Ch(Channel::mDrop1).DMCtrlEnabled());
    EXPECT_FALSE(Ch(Channel::mDrop2).DMCtrlEnabled());  // as it was
    W<QCheckBox>("chkEnSecondVar")->click();            // cleared: on
    EXPECT_TRUE(Ch(Channel::mDrop2).DMCtrlEnabled());
    QTest::keyClick(W<QSlider>("sldVolBut2"), Qt::Key_PageUp);
    EXPECT_EQ(Ch(Channel::mDrop2).DMCtrlVolume(), 0);  // -800 + 1000, held at the maximum
    QTest::keyClick(W<QSlider>("sldVolBut1"), Qt::Key_Left);
    EXPECT_EQ(Ch(Channel::mDrop1).DMCtrlVolume(), -501);
    EXPECT_EQ(Ch(Channel::mDown1).DMCtrlVolume(), -100);

    W<QCheckBox>("chkSoundControl")->click();
    EXPECT_FALSE(sound.EnableSoundControl);
    W<QCheckBox>("chkSoundControl")->click();
    EXPECT_TRUE(sound.EnableSoundControl);
    EXPECT_TRUE(device.calls.empty());  // nothing is played
}

TEST_F(FrmSettingsTest, BackgroundSwitchVolumeAndSweepSpeed) {
    Open();
    W<QCheckBox>("chkEnable")->click();  // cleared: on
    EXPECT_TRUE(sound.EnableLoop());
    W<QCheckBox>("chkEnable")->click();
    EXPECT_FALSE(sound.EnableLoop());
    QTest::keyClick(W<QSlider>("sldVolBackgrnd"), Qt::Key_PageUp);
    EXPECT_EQ(sound.VolumeBkgMusic, 0);
    EXPECT_EQ(sound.bkg.BkgVolume, 0);
    EXPECT_EQ(device.Take(), (Calls{"play 10 loop", "stop 10", "volume 10 0"}));

    auto* text = W<QLineEdit>("txtChange");
    auto* slider = W<QSlider>("sldChange");
    struct Case {
        const char* typed;
        QString shown;
        int16_t speed;
        int slider;
        bool allSelected;
    };
    const Case cases[] = {
        {"1000", "500", 500, 500, true},     {"250", "250", 250, 250, false},
        {"12abc", "12abc", 12, 12, false},   {"", "", 0, 0, false},
        {"499.5", "499.5", 500, 500, false}, {"501", "500", 500, 500, true},
        {"-40", "-40", -40, 0, false},
    };
    for (const Case& c : cases) {
        sound.ForLoop = 777;
        text->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(text->text(), c.shown) << c.typed;
        EXPECT_EQ(sound.SpeedChange, c.speed) << c.typed;
        EXPECT_EQ(slider->value(), c.slider) << c.typed;
        EXPECT_EQ(text->selectedText() == text->text() && !text->text().isEmpty(), c.allSelected)
            << c.typed;
        EXPECT_EQ(sound.ForLoop, c.slider == 0 ? 0 : 777) << c.typed;
    }
    text->setText("300");
    sound.ForLoop = 777;
    QTest::keyClick(slider, Qt::Key_PageDown);  // a large step of 2
    EXPECT_EQ(sound.SpeedChange, 298);
    EXPECT_EQ(text->text(), "298");
    EXPECT_EQ(sound.ForLoop, 777);
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(sound.SpeedChange, 0);
    EXPECT_EQ(text->text(), "0");
    EXPECT_EQ(sound.ForLoop, 0);
}

class ChooserTest : public FrmSettingsTest {
  protected:
    void SetUp() override {
        FrmSettingsTest::SetUp();
        fs::create_directories(folder.path + "/inner");
        for (const char* name : {"b.wav", "A.WAV", "notes.txt", "inner/deep.wav"})
            std::ofstream(folder.path + "/" + name) << "x";
    }
    // Clicks the named file in the open chooser.
    static void Pick(const QString& name) {
        FrmOpen* chooser = OpenChooser();
        ASSERT_NE(chooser, nullptr);
        auto* files = chooser->findChild<QListWidget*>("filOpen");
        const auto found = files->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        files->setCurrentItem(found[0]);
        emit files->itemClicked(found[0]);
    }
    static FrmOpen* OpenChooser() {
        return dynamic_cast<FrmOpen*>(QApplication::activeModalWidget());
    }
    TempFolder folder;
};

TEST_F(ChooserTest, PickingAFileForAVariantAndForTheMusic) {
    Ch(Channel::mDrop2).DMCtrlPath(folder.path + "/b.wav");
    Open();
    Select("Бросить");
    QStringList listed;
    WhenModal([&] {
        FrmOpen* chooser = OpenChooser();
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), "Открыть");
        auto* files = chooser->findChild<QListWidget*>("filOpen");
        for (int i = 0; i < files->count(); ++i)
            listed << files->item(i)->text();
        Pick("A.WAV");
    });
    W<QPushButton>("cmdOpenSecond")->click();
    EXPECT_EQ(listed, (QStringList{"A.WAV", "b.wav"}));
    EXPECT_EQ(W<QLabel>("lblSecondVar")->text(), "A.WAV");
    EXPECT_EQ(Ch(Channel::mDrop2).DMCtrlPath(), folder.path + "/A.WAV");
    EXPECT_EQ(Ch(Channel::mDrop1).DMCtrlPath(), "/snd/ch4.wav");
    EXPECT_TRUE(device.calls.empty());  // nothing is played

    // The music: a pick starts the tune even while it is switched off, then the volume.
    WhenModal([&] { Pick("b.wav"); });
    W<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(sound.PathToBkgMusic, folder.path + "/b.wav");
    EXPECT_EQ(W<QLabel>("lblFile")->text(), "b.wav");
    EXPECT_TRUE(W<QCheckBox>("chkEnable")->isChecked());
    EXPECT_FALSE(sound.EnableLoop());
    EXPECT_EQ(device.Take(),
              (Calls{"stop 10", "release 10", "open", "load 10 " + folder.path + "/b.wav",
                     "play 10 loop", "volume 10 -700"}));

    // Closed without a pick: nothing changes but the volume set again.
    WhenModal([&] { OpenChooser()->reject(); });
    W<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(sound.PathToBkgMusic, folder.path + "/b.wav");
    EXPECT_EQ(device.Take(), (Calls{"volume 10 -700"}));
    WhenModal([&] { OpenChooser()->reject(); });
    W<QPushButton>("cmdOpenFirst")->click();
    EXPECT_EQ(Ch(Channel::mDrop1).DMCtrlPath(), "/snd/ch4.wav");
}

TEST_F(ChooserTest, AfterAPickTheChooserKeepsItsPlace) {
    Ch(Channel::mLeft1).DMCtrlPath(folder.path + "/inner/deep.wav");
    Open();
    Select("Влево");
    QString firstFolder, secondFolder;
    WhenModal([&] {
        firstFolder = OpenChooser()->Folder();
        Pick("deep.wav");
    });
    W<QPushButton>("cmdOpenFirst")->click();
    Select("Вправо");  // its file is in a folder that does not exist
    WhenModal([&] {
        secondFolder = OpenChooser()->Folder();
        OpenChooser()->reject();
    });
    W<QPushButton>("cmdOpenFirst")->click();
    EXPECT_EQ(firstFolder, QString::fromStdString(folder.path) + "/inner");
    EXPECT_EQ(secondFolder, QString::fromStdString(folder.path) + "/inner");
    // The close box unloaded it: the next chooser starts where it is told, or in the
    // program's folder when that cannot be entered.
    WhenModal([&] {
        secondFolder = OpenChooser()->Folder();
        OpenChooser()->reject();
    });
    W<QPushButton>("cmdOpenFirst")->click();
    EXPECT_EQ(secondFolder, QCoreApplication::applicationDirPath());
}

TEST_F(ChooserTest, FoldersDrivesAndTheDriveThatIsNotReady) {
    FrmOpen chooser(nullptr, {QString::fromStdString(folder.path),
                              QString::fromStdString(folder.path) + "/inner", "/no/such/drive"});
    chooser.SetPath(QString::fromStdString(folder.path));
    auto* drives = chooser.findChild<QComboBox*>("drvOpen");
    auto* dirs = chooser.findChild<QListWidget*>("dirOpen");
    auto* files = chooser.findChild<QListWidget*>("filOpen");
    EXPECT_EQ(drives->currentIndex(), 0);
    EXPECT_EQ(files->count(), 2);
    // Into the inner folder: the drive list follows the longest root holding it.
    const auto inner = dirs->findItems("inner", Qt::MatchEndsWith);
    ASSERT_EQ(inner.size(), 1);
    emit dirs->itemActivated(inner[0]);
    EXPECT_EQ(chooser.Folder(), QString::fromStdString(folder.path) + "/inner");
    EXPECT_EQ(drives->currentIndex(), 1);
    EXPECT_EQ(files->count(), 1);
    // Back up through the chain above.
    const auto up = dirs->findItems(QString::fromStdString(fs::path(folder.path).filename()),
                                    Qt::MatchEndsWith);
    ASSERT_EQ(up.size(), 1);
    emit dirs->itemActivated(up[0]);
    EXPECT_EQ(chooser.Folder(), QString::fromStdString(folder.path));

    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    WhenModal([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    drives->setCurrentIndex(2);
    emit drives->activated(2);
    EXPECT_EQ(text, "Устройство не готово");
    EXPECT_EQ(title, "Vorblin Cascade");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_EQ(drives->currentIndex(), 0);
    EXPECT_EQ(chooser.Folder(), QString::fromStdString(folder.path));

    drives->setCurrentIndex(1);
    emit drives->activated(1);
    EXPECT_EQ(chooser.Folder(), QString::fromStdString(folder.path) + "/inner");

    const QStringList roots = BrowsingRoots();
    ASSERT_GE(roots.size(), 2);
    EXPECT_EQ(roots[0], "/");
    EXPECT_EQ(roots[1], QDir::homePath());
}

TEST_F(ChooserTest, BothWindowsCanBeClosedFromOutsideAtAnyMoment) {
    Open();
    bool settingsReturned = false;
    WhenModal([&] {
        WhenModal([&] {
            // A game ends: its flow closes whatever of the two is open.
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmOpen" || w->objectName() == "frmSettings")
                    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                        dialog->reject();
            for (QDialog* d : window->findChildren<QDialog*>())
                d->reject();
        });
        W<QPushButton>("cmdOpen")->click();
        settingsReturned = true;
    });
    window->exec();
    EXPECT_TRUE(settingsReturned);
    EXPECT_EQ(sound.PathToBkgMusic, "/music/tune.wav");
}

}  // namespace
}  // namespace vorblin
