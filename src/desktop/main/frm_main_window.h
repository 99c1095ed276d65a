#pragma once
// The main window: builds its controls from the layout, forwards every event to the
// game's logic and copies the logic's control state back onto the widgets. Its work is
// spread over one file per job, named beside each group of members below.

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/random_clock.h"
#include "core/base/tick_clock.h"
#include "core/shell/main_shell.h"
#include "core/shell/records_dialogs.h"
#include "core/shell/side_windows.h"
#include "core/sound/sound_settings_file.h"
#include "core/sound/sound_system.h"
#include "desktop/help/frm_help_window.h"
#include "desktop/main/frm_side_windows.h"
#include "desktop/main/screen_places.h"
#include "desktop/sound/sdl_audio_device.h"
#include "desktop/toolkit/colour_button.h"
#include "desktop/toolkit/frame_placer.h"
#include "desktop/toolkit/image_surface.h"
#include "desktop/toolkit/picture_box.h"

namespace vorblin {

class TitleStrip;

// Qt key to the game's virtual key code, or -1 for a key the game does not know.
int16_t VirtualKey(int qtKey);

// Shows the back colours the rules keep for the main window's frames, drawing surfaces,
// labels and panels on their widgets.
class BackColourMirror {
  public:
    void Show(const ControlBackColours& colours, const std::map<std::string, QWidget*>& controls);

  private:
    std::map<std::string_view, Colour> shown_;
};

class FrmMain final : public QWidget,
                      private MainWindowLink,
                      private RecordsDialogs,
                      private SideWindowHost {
  public:
    // rnd and clock may be given by tests; by default the window has its own. folder is
    // where the settings file lives (by default the one DataFolder() chooses), and the
    // hall of fame too unless recordsFolder names a folder of its own (a shared one).
    explicit FrmMain(RandomSource* rnd = nullptr, Clock* clock = nullptr, std::string folder = {},
                     std::string recordsFolder = {});
    ~FrmMain() override;

    MainShell& Shell() { return *shell_; }
    // frm_main_controls.cpp
    QWidget* Control(const std::string& name) const;
    PictureBox* Well() const { return picVorblin_; }
    // Copies the logic's control state onto the widgets (after every event and tick).
    void Sync();

    // frm_main_fall.cpp: runs one fall tick at once, as if it had fallen due (tests).
    void OnFallTick();
    // The fall ticks run from a clock that catches up: the window wakes only when something
    // can change and then runs every tick due since, in order.
    const TickClock& FallClock() const { return fall_; }
    const QTimer& FallWake() const { return tmrDown_; }
    // Measurement hook: told how long each fall tick's handler took, in nanoseconds.
    void SetTickObserver(std::function<void(int64_t)> observer) {
        tickObserver_ = std::move(observer);
    }
    SoundSystem& Sound() { return sound_; }
    // Runs the fall ticks due by now (benchmarks: to count from a moment with none owed).
    void CatchUpNow() {
        Run([] {});
    }
    // A key press as the keyboard delivers it (benchmarks; frm_main_input.cpp).
    void PressKey(int qtKey);

    SideListWindow* Statistic() const { return frmStatistic_.get(); }
    SideListWindow* Fathers() const { return frmVorblinFathers_.get(); }
    // The future window, or null while it is not loaded.
    FrmFuture* Future() const { return frmFuture_; }
    // How the program ends from the game-over question (tests replace it).
    void SetProgramEnd(std::function<void()> end) { endProgram_ = std::move(end); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;  // frm_main_input.cpp
    // frm_main_window.cpp
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // MainWindowLink (frm_main_window.cpp; the windows it opens in frm_main_dialogs.cpp)
    void FocusWell() override;
    void Minimize() override;
    void RestoreAndActivate() override;
    void RebuildWindowRgn() override;
    std::unique_ptr<HelpWindow> NewHelpWindow() override;
    void ShowSettings() override;
    void SaveSoundSettings() override;
    // The sound's set-up, at the first load only: the channels, the settings file (which
    // also places the windows), the pan sweep.
    void LoadSound() override;
    // RecordsDialogs (frm_main_dialogs.cpp)
    NameEntry Ask_Player_Name() override;
    bool AskNewGame() override;
    void CloseToolWindows() override;
    void EndProgram() override { endProgram_(); }
    // SideWindowHost (frm_main_sides.cpp)
    WindowPosition MainPosition() const override;
    void MoveMain(WindowPosition position) override;
    bool SideVisible(SideWindow window) override { return Side(window)->isVisible(); }
    void SetSideVisible(SideWindow window, bool visible) override;
    WindowPosition SidePosition(SideWindow window) override;
    void MoveSide(SideWindow window, WindowPosition position) override;
    WindowSize MainSize() const override;
    WindowSize SideSize(SideWindow window) override;
    void SetSideMinimized(SideWindow window, bool minimized) override;
    void UnloadSideWindows() override;

    // The side window, loaded (hidden) if need be.
    QWidget* Side(SideWindow window);
    FrmFuture* LoadFuture();
    // The frame the window system puts round a side window, learned from one that has been
    // shown (a window never shown has no frame yet).
    QMargins LearnSideFrame();
    // "Auto" places the side windows by the frame known at the press; a frame that comes
    // later (a window shown for the first time) places them once more by the real sizes.
    void PressAuto(int16_t value);
    void FollowLateFrames(QMargins before);
    void SideFrameArrived();
    void HandFocusBack();
    bool IsOwnWindow(const QWidget* window) const;

    // Draw_Future draws into whichever future window exists, loading one when none does.
    class FutureSurface final : public DrawingSurface {
      public:
        explicit FutureSurface(FrmMain& main) : main_(main) {}
        void Cls() override { main_.LoadFuture()->Surface().Cls(); }
        void Line(int x1, int y1, int x2, int y2, Colour c) override {
            main_.LoadFuture()->Surface().Line(x1, y1, x2, y2, c);
        }
        void BoxOutline(int x1, int y1, int x2, int y2, Colour c) override {
            main_.LoadFuture()->Surface().BoxOutline(x1, y1, x2, y2, c);
        }
        void FilledBox(int x1, int y1, int x2, int y2, Colour c) override {
            main_.LoadFuture()->Surface().FilledBox(x1, y1, x2, y2, c);
        }

      private:
        FrmMain& main_;
    };

    // frm_main_controls.cpp
    void BuildControls();
    void BindState();
    // frm_main_input.cpp
    void ConnectInput();
    // Every event's handler runs after the fall ticks due before it, so that it lands
    // between the same two ticks as with a timer that fired every 2 ms.
    template <typename Handler>
    void Run(Handler&& handler) {
        CatchUp();
        handler();
        Sync();
    }
    // frm_main_fall.cpp
    void CatchUp();
    void RunFallTick();
    // Starts or stops the fall clock as the game's tmrDown says, and sets the next wake-up.
    void FollowFallClock();

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
    OnScreenPlaces places_{*this};
    SoundSettingsFile settingsFile_;
    bool SoundInitDone = false;

    TitleStrip* title_ = nullptr;
    QWidget* client_ = nullptr;
    PictureBox* picVorblin_ = nullptr;
    PictureBox* picNext_ = nullptr;
    std::unique_ptr<SideListWindow> frmStatistic_;
    std::unique_ptr<SideListWindow> frmVorblinFathers_;
    QPointer<FrmFuture> frmFuture_;
    FutureSurface picFuture_{*this};
    std::function<void()> endProgram_;
    QMargins sideFrame_;
    FramePlacer placer_{[this] { SideFrameArrived(); }};
    // The side frame "Auto" last docked by, while a frame it needs may still come.
    std::optional<QMargins> dockedBy_;
    std::map<std::string, QWidget*> controls_;
    std::unique_ptr<MainShell> shell_;

    // tmrDown_ is the fall clock's wake-up, a single shot set after every event.
    QTimer tmrDown_, tmrLevel_, tmrMigCountLines_, tmrDemo_, tmrMigMenuControls_;
    TickClock fall_;
    int64_t wakeAt_ = -1;
    bool inBatch_ = false;
    // A dialog of the game-over flow waited inside the tick now running.
    bool waited_ = false;
    std::vector<LabelBinding> labels_;
    std::vector<ButtonBinding> buttons_;
    std::vector<CheckBinding> checks_;
    std::vector<TimerBinding> timers_;
    bool controlFrameShown_ = true;
    BackColourMirror backColours_;
    std::function<void(int64_t)> tickObserver_;
};

}  // namespace vorblin
