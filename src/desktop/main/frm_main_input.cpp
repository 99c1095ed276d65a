// What the player does to the main window: keys (from any of the game's windows), presses
// on the control pad, clicks on the menu, and the timers that drive the logic.

#include "desktop/main/frm_main_window.h"

#include <QApplication>
#include <QKeyEvent>

#include "desktop/toolkit/press_filter.h"

namespace vorblin {

int16_t VirtualKey(int qtKey) {
    static constexpr std::pair<int, int16_t> kKeys[] = {
        {Qt::Key_Left, kKeyLeft}, {Qt::Key_Right, kKeyRight}, {Qt::Key_Up, kKeyUp},
        {Qt::Key_Down, kKeyDown}, {Qt::Key_Space, kKeySpace}, {Qt::Key_Escape, kKeyEscape}};
    for (const auto& [qt, code] : kKeys)
        if (qt == qtKey)
            return code;
    return -1;
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
    check("chkAuto", [this](int16_t v) { PressAuto(v); });
    // A click is a press and a release: the release hands the focus back ("Auto" springs up).
    for (const char* name : {"chkRec", "chkStat", "chkFuture"})
        connect(static_cast<ColourButton*>(Control(name)), &QPushButton::clicked, this,
                [this] { Run([this] { shell_->chkSide_MouseUp(); }); });
    connect(static_cast<ColourButton*>(Control("chkAuto")), &QPushButton::clicked, this,
            [this] { Run([this] { shell_->chkAuto_MouseUp(); }); });
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
}  // namespace vorblin
