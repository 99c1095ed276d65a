#pragma once
// The main window: builds its controls from the layout, forwards every event to the
// game's logic and copies the logic's control state back onto the widgets.

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/random_clock.h"
#include "records/records_link.h"
#include "shell/frm_main_places.h"
#include "shell/main_shell.h"
#include "shell/shell_link.h"
#include "sound/sound_settings_file.h"
#include "sound/sound_system.h"
#include "toolkit/colour_button.h"
#include "toolkit/image_surface.h"
#include "toolkit/picture_box.h"
#include "toolkit/sdl_audio_device.h"

namespace vorblin {

class TitleStrip;

// Qt key to the game's virtual key code, or -1 for a key the game does not know.
int16_t VirtualKey(int qtKey);

class FrmMain final : public QWidget, private ShellLink, private RecordsLink {
  public:
    // rnd and clock may be given by tests; by default the window has its own. The settings
    // file lives in settingsFolder, by default the folder the game writes its files to.
    explicit FrmMain(RandomSource* rnd = nullptr, Clock* clock = nullptr,
                     const std::string& settingsFolder = {});
    ~FrmMain() override;

    MainShell& Shell() { return *shell_; }
    QWidget* Control(const std::string& name) const;
    PictureBox* Well() const { return picVorblin_; }
    PictureBox* NextBox() const { return picNext_; }
    // Copies the logic's control state onto the widgets (after every event and tick).
    void Sync();

    // The fall timer's handler, as the timer runs it.
    void OnFallTick();
    const QTimer& FallTimer() const { return tmrDown_; }
    // Measurement hook: told how long each fall tick's handler took, in nanoseconds.
    void SetTickObserver(std::function<void(int64_t)> observer) {
        tickObserver_ = std::move(observer);
    }
    const QTimer& DemoTimer() const { return tmrDemo_; }
    SoundSystem& Sound() { return sound_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // ShellLink
    void FocusWell() override;
    void Minimize() override;
    void RestoreAndActivate() override;
    void RebuildWindowRgn() override;
    void ShowSettings() override;
    void SaveSoundSettings() override;
    // RecordsLink, until the hall of fame exists: an empty table, and game over
    // starts a new game at once.
    int16_t Load_Table() override { return 0; }
    void Update_Place(int32_t) override {}
    void End_Of_Game(int32_t) override;

    void BuildControls();
    void BindState();
    void ConnectInput();
    // The sound's set-up at the first load: the channels, the settings file, the pan sweep.
    void LoadSound();
    template <typename Handler>
    void Run(Handler&& handler) {
        handler();
        Sync();
    }

    struct LabelBinding {
        const Label* state;
        QLabel* widget;
        Label shown;
    };
    struct ButtonBinding {
        const CommandButton* state;
        ColourButton* widget;
    };
    struct CheckBinding {
        const CheckButton* state;
        ColourButton* widget;
    };
    struct TimerBinding {
        const Timer* state;
        QTimer* timer;
    };

    std::unique_ptr<RandomSource> ownRnd_;
    std::unique_ptr<Clock> ownClock_;
    RandomSource& rnd_;
    Clock& clock_;
    SdlAudioDevice audio_;
    SoundSystem sound_{audio_};
    FrmMainPlaces places_{*this};
    SoundSettingsFile settingsFile_;

    TitleStrip* title_ = nullptr;
    QWidget* client_ = nullptr;
    PictureBox* picVorblin_ = nullptr;
    PictureBox* picNext_ = nullptr;
    // The Future window's surface: drawn at every landing, shown once that window exists.
    ImageSurface picFuture_;
    std::map<std::string, QWidget*> controls_;
    std::unique_ptr<MainShell> shell_;

    QTimer tmrDown_, tmrLevel_, tmrMigCountLines_, tmrDemo_, tmrMigMenuControls_;
    std::vector<LabelBinding> labels_;
    std::vector<ButtonBinding> buttons_;
    std::vector<CheckBinding> checks_;
    std::vector<TimerBinding> timers_;
    bool controlFrameShown_ = true;
    std::function<void(int64_t)> tickObserver_;
};

}  // namespace vorblin
