#include "desktop/main/frm_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QRegion>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "desktop/records/frm_game_over_windows.h"

#include "core/base/twips.h"
#include "core/shell/window_shape.h"
#include "desktop/main/title_strip.h"
#include "desktop/sound/frm_settings_window.h"
#include "desktop/toolkit/caption_frame.h"
#include "desktop/toolkit/data_folder.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/press_filter.h"
#include "desktop/toolkit/qt_colour.h"

namespace vorblin {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect PixelRect(const ControlSpec& item) {
    return QRect(TwipsToPixels(item.left), TwipsToPixels(item.top), TwipsToPixels(item.width),
                 TwipsToPixels(item.height));
}

void SetColours(QWidget* widget, Colour fore, Colour back) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(fore));
    palette.setColor(QPalette::Window, ToQColor(back));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The window's icon is the game's desktop icon, drawn once as a scalable picture and
// rendered by the build at each size the desktop uses; the title strip shows its 16 pixels.
QIcon GameIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

int16_t VirtualKey(int qtKey) {
    static constexpr std::pair<int, int16_t> kKeys[] = {
        {Qt::Key_Left, kKeyLeft}, {Qt::Key_Right, kKeyRight}, {Qt::Key_Up, kKeyUp},
        {Qt::Key_Down, kKeyDown}, {Qt::Key_Space, kKeySpace}, {Qt::Key_Escape, kKeyEscape}};
    for (const auto& [qt, code] : kKeys)
        if (qt == qtKey)
            return code;
    return -1;
}

FrmMain::FrmMain(RandomSource* rnd, Clock* clock, std::string folder, std::string recordsFolder)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      ownRnd_(rnd != nullptr ? nullptr : std::make_unique<Lcg24Random>()),
      ownClock_(clock != nullptr ? nullptr : std::make_unique<SystemClock>()),
      rnd_(rnd != nullptr ? *rnd : *ownRnd_),
      clock_(clock != nullptr ? *clock : *ownClock_),
      settingsFile_(folder.empty() ? DataFolder() : folder, ShippedFolder()),
      endProgram_([] {
          // At once, as the question promised: the settings are saved, the table stored.
          std::fflush(nullptr);
          std::_Exit(0);
      }) {
    RegisterFonts();
    setWindowTitle(QStringLiteral("Vorblin Cascade"));
    setWindowIcon(GameIcon());
    setFont(MakeFont(FontSpec{}));
    setFixedSize(TwipsToPixels(kMainOuterWidth), TwipsToPixels(kMainOuterHeight));
    SetColours(this, kBlack, kBlack);

    title_ = new TitleStrip(this, windowTitle());
    title_->setGeometry(0, 0, width(), kTitleStripPixels);
    client_ = new QWidget(this);
    const int border = (width() - TwipsToPixels(kMainClientWidth)) / 2;
    client_->setGeometry(border, kTitleStripPixels, TwipsToPixels(kMainClientWidth),
                         TwipsToPixels(kMainClientHeight));
    SetColours(client_, kBlack, kBlack);

    BuildControls();
    const auto handBack = [this] { HandFocusBack(); };
    frmStatistic_ = std::make_unique<SideListWindow>(
        QStringLiteral("Statistic"), QStringLiteral("frmStatistic"), 2280, 3195,
        FontSpec{FontFace::MsSansSerif, 8.25, true}, RGB(192, 192, 192), handBack);
    frmVorblinFathers_ = std::make_unique<SideListWindow>(
        QStringLiteral("The Best Of The Vorblin"), QStringLiteral("frmVorblinFathers"), 2970, 3210,
        FontSpec{FontFace::CourierNew, 8.25, true}, RGB(255, 255, 255), handBack);
    placer_.Watch(frmStatistic_.get());
    placer_.Watch(frmVorblinFathers_.get());
    shell_ = std::make_unique<MainShell>(
        ShellParts{rnd_, clock_, picVorblin_->Surface(), picNext_->Surface(), picFuture_, sound_,
                   *this, *this, *this,
                   !recordsFolder.empty() ? recordsFolder
                   : folder.empty()       ? DataFolder()
                                          : folder,
                   folder.empty() ? PlayerDataFolder() : std::string()});
    BindState();
    ConnectInput();
    qApp->installEventFilter(this);
    shell_->Form_Load();
    Sync();
}

FrmMain::~FrmMain() {
    qApp->removeEventFilter(this);
    delete frmFuture_.data();
}

QWidget* FrmMain::Control(const std::string& name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void FrmMain::BuildControls() {
    for (const ControlSpec& item : FrmMainLayout()) {
        QWidget* parent = item.container.empty() ? client_ : Control(std::string(item.container));
        const QString caption = Text(item.caption);
        const QRect geometry = PixelRect(item);
        QWidget* widget = nullptr;
        switch (item.kind) {
            case ControlKind::Panel:
            case ControlKind::Bar:
                widget = new QWidget(parent);
                SetColours(widget, item.fore, item.back);
                break;
            case ControlKind::Frame:
                widget = new CaptionFrame(parent, caption, item.fore, item.back);
                break;
            case ControlKind::Label: {
                auto* label = new QLabel(caption, parent);
                label->setAlignment((item.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                                    Qt::AlignTop);
                label->setWordWrap(true);
                SetColours(label, item.fore, item.back);
                widget = label;
                break;
            }
            case ControlKind::Picture: {
                const bool well = item.name == "picVorblin";
                // The well is drawn in its own scale of 250 units a cell; the next box in twips.
                auto* box = new PictureBox(parent, geometry.size(), well ? 3760 : item.width,
                                           well ? 7760 : item.height, item.back);
                if (well) {
                    picVorblin_ = box;
                    box->setFocusPolicy(Qt::StrongFocus);
                } else {
                    picNext_ = box;
                }
                widget = box;
                break;
            }
            case ControlKind::Button:
            case ControlKind::CheckButton: {
                auto* button = new ColourButton(parent, caption, item.fore, item.back);
                button->setCheckable(item.kind == ControlKind::CheckButton);
                widget = button;
                break;
            }
        }
        widget->setObjectName(Text(item.name));
        widget->setProperty("Tag", Text(item.tag));
        widget->setFont(MakeFont(item.font));
        widget->setGeometry(geometry);
        widget->setVisible(item.visible);
        controls_[std::string(item.name)] = widget;
    }
    // "Pause" lies exactly under the control frame and shows when the frame is hidden.
    QWidget* pause = Control("lblPause");
    pause->move(Control("fraControl")->pos());
    pause->lower();
}

void FrmMain::BindState() {
    Game& game = shell_->game;
    ScoreBoard& s = game.scores;
    const std::pair<const char*, const Label*> labels[] = {
        {"lblScore", &s.lblScore},
        {"lblLevel", &s.lblLevel},
        {"lblRemain", &s.lblRemain},
        {"lblCountLines(1)", &s.lblCountLines[1]},
        {"lblCountLines(2)", &s.lblCountLines[2]},
        {"lblCountLines(3)", &s.lblCountLines[3]},
        {"lblCountLines(4)", &s.lblCountLines[4]},
        {"lblTimeBonus", &s.lblTimeBonus},
        {"lblTotalScore", &s.lblTotalScore},
        {"lblSumBonus", &s.lblSumBonus},
        {"lblFirma", &game.notice.lblFirma},
        {"lblPosition", &game.lblPosition},
        {"lblNextPlace", &game.lblNextPlace},
    };
    for (const auto& [name, state] : labels) {
        Label never{"\x01", -1, !state->Visible};
        labels_.push_back({state, static_cast<QLabel*>(Control(name)), never});
    }
    ControlPad& pad = game.pad;
    const std::pair<const char*, const CommandButton*> buttons[] = {
        {"cmdLeftRight(0)", &pad.cmdLeftRight[0]},
        {"cmdLeftRight(2)", &pad.cmdLeftRight[2]},
        {"cmdRotate(0)", &pad.cmdRotate},
        {"cmdDown", &pad.cmdDown},
        {"cmdSpace", &pad.cmdSpace},
    };
    for (const auto& [name, state] : buttons)
        buttons_.push_back({state, static_cast<ColourButton*>(Control(name))});
    MainMenu& menu = shell_->menu;
    const std::pair<const char*, const CheckButton*> checks[] = {
        {"chkPause", &pad.chkPause}, {"chkHelp", &menu.chkHelp}, {"chkDemo", &menu.chkDemo},
        {"chkSet", &menu.chkSet},    {"chkAuto", &menu.chkAuto}, {"chkFuture", &menu.chkFuture},
        {"chkRec", &menu.chkRec},    {"chkStat", &menu.chkStat},
    };
    for (const auto& [name, state] : checks)
        checks_.push_back({state, static_cast<ColourButton*>(Control(name))});
    timers_ = {{&s.tmrLevel, &tmrLevel_},
               {&s.tmrMigCountLines, &tmrMigCountLines_},
               {&shell_->demo.tmrDemo, &tmrDemo_},
               {&menu.tmrMigMenuControls, &tmrMigMenuControls_}};
}

void FrmMain::ConnectInput() {
    Game& game = shell_->game;
    tmrDown_.setTimerType(Qt::PreciseTimer);
    tmrDown_.setSingleShot(true);
    connect(&tmrDown_, &QTimer::timeout, this, [this] {
        wakeAt_ = -1;
        CatchUp();
        Sync();
    });
    connect(&tmrLevel_, &QTimer::timeout, this,
            [this, &game] { Run([&] { game.tmrLevel_Timer(); }); });
    connect(&tmrMigCountLines_, &QTimer::timeout, this,
            [this, &game] { Run([&] { game.tmrMigCountLines_Timer(); }); });
    connect(&tmrDemo_, &QTimer::timeout, this,
            [this] { Run([this] { shell_->tmrDemo_Timer(); }); });
    connect(&tmrMigMenuControls_, &QTimer::timeout, this,
            [this] { Run([this] { shell_->tmrMigMenuControls_Timer(); }); });

    // Once per physical press and release, of any mouse button.
    auto pad = [this](const char* name, auto down, auto up) {
        new PressFilter(
            Control(name), [this, down] { Run(down); }, [this, up] { Run(up); });
    };
    pad(
        "cmdLeftRight(0)", [&game] { game.cmdLeftRight_MouseDown(0); },
        [&game] { game.cmdLeftRight_MouseUp(0); });
    pad(
        "cmdLeftRight(2)", [&game] { game.cmdLeftRight_MouseDown(2); },
        [&game] { game.cmdLeftRight_MouseUp(2); });
    pad(
        "cmdRotate(0)", [&game] { game.cmdRotate_MouseDown(0); },
        [&game] { game.cmdRotate_MouseUp(0); });
    pad(
        "cmdDown", [&game] { game.cmdDown_MouseDown(); }, [&game] { game.cmdDown_MouseUp(); });
    pad(
        "cmdSpace", [&game] { game.cmdSpace_MouseDown(); }, [&game] { game.cmdSpace_MouseUp(); });

    auto check = [this](const char* name, auto setValue) {
        auto* button = static_cast<ColourButton*>(Control(name));
        connect(button, &QPushButton::clicked, this,
                [this, setValue](bool down) { Run([&] { setValue(down ? 1 : 0); }); });
    };
    MainShell& shell = *shell_;
    check("chkPause", [&shell](int16_t v) { shell.Set_chkPause(v); });
    check("chkHelp", [&shell](int16_t v) { shell.Set_chkHelp(v); });
    check("chkDemo", [&shell](int16_t v) { shell.Set_chkDemo(v); });
    check("chkSet", [&shell](int16_t v) { shell.Set_chkSet(v); });
    check("chkRec", [&shell](int16_t v) { shell.Set_chkRec(v); });
    check("chkStat", [&shell](int16_t v) { shell.Set_chkStat(v); });
    check("chkFuture", [&shell](int16_t v) { shell.Set_chkFuture(v); });
    check("chkAuto", [this](int16_t v) { chkAuto_Click(v); });
    // A click is a press and a release: the release hands the focus back ("Auto" springs up).
    for (const char* name : {"chkRec", "chkStat", "chkFuture"})
        connect(static_cast<ColourButton*>(Control(name)), &QPushButton::clicked, this,
                [this] { Run([this] { shell_->chkSide_MouseUp(); }); });
    connect(static_cast<ColourButton*>(Control("chkAuto")), &QPushButton::clicked, this,
            [this] { Run([this] { shell_->chkAuto_MouseUp(); }); });
}

namespace {
int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

void FrmMain::chkAuto_Click(int16_t value) {
    MainShell& shell = *shell_;
    const QMargins frame = LearnSideFrame();
    shell.Set_chkAuto(value);
    if (value != 1)
        return;
    // A side window shown for the first time may have got its frame at once: dock once more
    // by the real frame sizes. Under a window manager it comes later (SideFrameArrived).
    if (LearnSideFrame() != frame) {
        shell.menu.chkAuto.Value = 0;
        shell.Set_chkAuto(1);
    }
    dockedBy_ = sideFrame_;
    for (const SideWindow w :
         {SideWindow::frmVorblinFathers, SideWindow::frmStatistic, SideWindow::frmFuture})
        if (!FramePlacer::FrameKnown(Side(w)))
            return;
    dockedBy_.reset();
}

void FrmMain::SideFrameArrived() {
    const QMargins frame = LearnSideFrame();
    if (!dockedBy_ || *dockedBy_ == frame)
        return;
    Run([this] {
        MainMenu& menu = shell_->menu;
        const int16_t pressed = menu.chkAuto.Value;
        menu.chkAuto.Value = 0;
        chkAuto_Click(1);
        menu.chkAuto.Value = pressed;
    });
}

void FrmMain::OnFallTick() {
    RunFallTick();
    Sync();
}

void FrmMain::CatchUp() {
    // Not inside a batch: a game over's dialogs run inside their tick, and the events they
    // let through must not start another.
    if (inBatch_ || !fall_.Running())
        return;
    inBatch_ = true;
    fall_.RunDue(NowNs(), [this] { RunFallTick(); });
    inBatch_ = false;
}

void FrmMain::RunFallTick() {
    using SteadyClock = std::chrono::steady_clock;
    const SteadyClock::time_point start =
        tickObserver_ ? SteadyClock::now() : SteadyClock::time_point{};
    waited_ = false;
    shell_->game.tmrDown_Timer();
    // The time its dialogs waited is owed nothing, as a timer's handler that waited
    // would not have been called for it either.
    if (waited_ && fall_.Running())
        fall_.Start(NowNs());
    if (tickObserver_)
        tickObserver_(
            std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now() - start)
                .count());
}

void FrmMain::FollowFallClock() {
    const bool enabled = shell_->game.tmrDown.Enabled;
    const int64_t now = NowNs();
    if (enabled && !fall_.Running())
        fall_.Start(now);
    else if (!enabled && fall_.Running())
        fall_.Stop();
    if (!fall_.Running() || inBatch_) {
        tmrDown_.stop();
        wakeAt_ = -1;
        return;
    }
    const int64_t at = fall_.WakeAt(now, shell_->game.TicksUntilChange());
    if (at == wakeAt_ && tmrDown_.isActive())
        return;
    wakeAt_ = at;
    tmrDown_.start(static_cast<int>((at - now + 999'999) / 1'000'000));
}

void FrmMain::Sync() {
    for (LabelBinding& b : labels_) {
        const Label& s = *b.state;
        if (b.shown.Caption != s.Caption) {
            b.widget->setText(QString::fromStdString(s.Caption));
            b.shown.Caption = s.Caption;
        }
        if (b.shown.ForeColor != s.ForeColor) {
            QPalette palette = b.widget->palette();
            palette.setColor(QPalette::WindowText, ToQColor(s.ForeColor));
            b.widget->setPalette(palette);
            b.shown.ForeColor = s.ForeColor;
        }
        if (b.shown.Visible != s.Visible) {
            b.widget->setVisible(s.Visible);
            b.shown.Visible = s.Visible;
        }
    }
    for (const ButtonBinding& b : buttons_) {
        b.widget->SetBackColor(b.state->BackColor);
        if (b.widget->isEnabled() != b.state->Enabled)
            b.widget->setEnabled(b.state->Enabled);
    }
    for (const CheckBinding& b : checks_) {
        b.widget->SetBackColor(b.state->BackColor);
        if (b.widget->isChecked() != (b.state->Value == 1))
            b.widget->setChecked(b.state->Value == 1);
    }
    backColours_.Show(shell_->help.backColours, controls_);
    const bool frameShown = shell_->game.pad.fraControl.Visible;
    if (frameShown != controlFrameShown_) {
        Control("fraControl")->setVisible(frameShown);
        controlFrameShown_ = frameShown;
    }
    picVorblin_->ShowDamage();
    picNext_->ShowDamage();
    frmStatistic_->Show(shell_->game.lstStatistic);
    frmVorblinFathers_->Show(shell_->records.lstTable);
    if (frmFuture_)
        frmFuture_->ShowDamage();
    FollowFallClock();
    for (const TimerBinding& t : timers_) {
        if (t.timer->interval() != t.state->Interval)
            t.timer->setInterval(t.state->Interval);
        if (t.state->Enabled != t.timer->isActive()) {
            if (t.state->Enabled)
                t.timer->start();
            else
                t.timer->stop();
        }
    }
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The side windows never keep the keyboard: their keys steer the game too.
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType() ||
        !IsOwnWindow(static_cast<QWidget*>(watched)->window()))
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int16_t code = VirtualKey(key->key());
    if (code < 0)
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::KeyPress)
        Run([&] { shell_->game.Form_KeyDown(code); });  // auto-repeat presses act again
    else if (!key->isAutoRepeat())
        Run([&] { shell_->game.Form_KeyUp(code); });  // auto-repeat releases do not flicker
    return true;
}

void FrmMain::PressKey(int qtKey) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QApplication::sendEvent(picVorblin_, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QApplication::sendEvent(picVorblin_, &release);
}

void FrmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && shell_)
        Run([this] { shell_->Form_Resize(isMinimized()); });
}

void FrmMain::FocusWell() {
    picVorblin_->setFocus(Qt::OtherFocusReason);
}

void FrmMain::Minimize() {
    showMinimized();
}

void FrmMain::RestoreAndActivate() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

std::unique_ptr<HelpWindow> FrmMain::NewHelpWindow() {
    // Each page shows the main window as the tour has just painted it.
    return std::make_unique<FrmHelpTour>(*this, [this] { Sync(); });
}

void FrmMain::RebuildWindowRgn() {
    std::vector<PlacedControl> placed;
    for (const ControlSpec& item : FrmMainLayout()) {
        if (!item.container.empty())
            continue;
        const QWidget* w = Control(std::string(item.name));
        placed.push_back({item.name, item.kind, w->x(), w->y(), w->width(), w->height()});
    }
    QRegion outline;
    for (const ShapeRect& r : vorblin::RebuildWindowRgn(kMainOuterWidth, placed))
        outline += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    setMask(outline);
}

void FrmMain::LoadSound() {
    if (SoundInitDone)
        return;
    sound_.CreateChannels();
    settingsFile_.LoadSoundSettings(places_, sound_);
    sound_.StartPanSweep();
    SoundInitDone = true;
}

void FrmMain::ShowSettings() {
    FrmSettings settings(sound_, this);
    settings.exec();
}

void FrmMain::SaveSoundSettings() {
    std::string error;
    if (!settingsFile_.SaveSoundSettings(places_, sound_, &error))
        std::cerr << "Vorblin Cascade: the settings were not saved (" << error << ")\n";
}

void FrmMain::closeEvent(QCloseEvent* event) {
    Run([this] { shell_->Form_QueryUnload(); });
    QWidget::closeEvent(event);
}

bool FrmMain::IsOwnWindow(const QWidget* window) const {
    return window == this || window == frmStatistic_.get() || window == frmVorblinFathers_.get() ||
           (frmFuture_ && window == frmFuture_.data());
}

void FrmMain::HandFocusBack() {
    if (isMinimized())
        return;
    activateWindow();
    FocusWell();
}

NameEntry FrmMain::Ask_Player_Name() {
    waited_ = true;
    // The landing that ended the game is shown before the window waits: the fall timer
    // that would show it does not fire again while its own handler waits here.
    Sync();
    FrmEnterName frmEnterName(this);
    frmEnterName.exec();
    return frmEnterName.Result();
}

bool FrmMain::AskNewGame() {
    waited_ = true;
    Sync();
    FrmGameOver frmGameOver(this);
    frmGameOver.exec();
    return frmGameOver.blnContinue();
}

void FrmMain::CloseToolWindows() {
    // The chooser first: it stands over the settings window.
    for (const char* name : {"frmOpen", "frmHelp", "frmSettings"}) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String(name) || !w->isVisible())
                continue;
            if (auto* dialog = qobject_cast<QDialog*>(w))
                dialog->reject();
            else
                w->close();
        }
    }
}

QWidget* FrmMain::Side(SideWindow window) {
    switch (window) {
        case SideWindow::frmVorblinFathers:
            return frmVorblinFathers_.get();
        case SideWindow::frmStatistic:
            return frmStatistic_.get();
        case SideWindow::frmFuture:
            break;
    }
    return LoadFuture();
}

FrmFuture* FrmMain::LoadFuture() {
    if (!frmFuture_) {
        frmFuture_ = new FrmFuture([this] { HandFocusBack(); });
        frmFuture_->setAttribute(Qt::WA_ShowWithoutActivating);
        placer_.Watch(frmFuture_);
    }
    return frmFuture_;
}

namespace {
WindowPosition ToTwips(QPoint pixels) {
    return {pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel};
}
WindowSize ToTwips(QSize pixels) {
    return {pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel};
}
QPoint ToPixels(WindowPosition twips) {
    return {TwipsToPixels(twips.Left), TwipsToPixels(twips.Top)};
}
}  // namespace

WindowPosition FrmMain::MainPosition() const {
    return ToTwips(frameGeometry().topLeft());
}

void FrmMain::MoveMain(WindowPosition position) {
    move(ToPixels(position));
}

WindowSize FrmMain::MainSize() const {
    return ToTwips(frameGeometry().size());
}

void FrmMain::SetSideVisible(SideWindow window, bool visible) {
    QWidget* side = Side(window);
    side->setAttribute(Qt::WA_ShowWithoutActivating);
    // Minimised on its own and hidden since: it comes back in the normal state (its state
    // was left alone while it was hidden, see SetSideMinimized).
    if (visible && !side->isVisible() && side->isMinimized() && !isMinimized())
        side->setWindowState(side->windowState() & ~Qt::WindowMinimized);
    side->setVisible(visible);
}

WindowPosition FrmMain::SidePosition(SideWindow window) {
    return ToTwips(placer_.Position(Side(window)));
}

void FrmMain::MoveSide(SideWindow window, WindowPosition position) {
    placer_.Move(Side(window), ToPixels(position));  // a window's position includes its frame
}

WindowSize FrmMain::SideSize(SideWindow window) {
    const QWidget* side = Side(window);
    if (side->frameGeometry() == side->geometry())  // no frame known yet
        return ToTwips(side->geometry().marginsAdded(sideFrame_).size());
    return ToTwips(side->frameGeometry().size());
}

QMargins FrmMain::LearnSideFrame() {
    for (const SideWindow w :
         {SideWindow::frmVorblinFathers, SideWindow::frmStatistic, SideWindow::frmFuture}) {
        const QWidget* side = Side(w);
        const QRect frame = side->frameGeometry();
        const QRect client = side->geometry();
        if (side->isVisible() && frame != client)
            sideFrame_ = QMargins(client.left() - frame.left(), client.top() - frame.top(),
                                  frame.right() - client.right(), frame.bottom() - client.bottom());
    }
    return sideFrame_;
}

void FrmMain::SetSideMinimized(SideWindow window, bool minimized) {
    QWidget* side = Side(window);
    // Only the shown ones follow the main window: under X11 a state change maps a window,
    // which would bring up hidden windows, empty, on the restore.
    if (!side->isVisible())
        return;
    const Qt::WindowStates state = side->windowState();
    side->setWindowState(minimized ? state | Qt::WindowMinimized : state & ~Qt::WindowMinimized);
}

void FrmMain::UnloadSideWindows() {
    frmStatistic_->Unload();
    frmVorblinFathers_->Unload();
    if (frmFuture_)
        frmFuture_->close();
}

}  // namespace vorblin
