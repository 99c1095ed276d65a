// The main window as a whole: made from its parts, cut to its outline, minimised, restored
// and closed, and the sound it loads and saves. Its other jobs each have a file:
// frm_main_controls.cpp (the controls and their state), frm_main_input.cpp (keys, mouse,
// timers), frm_main_fall.cpp (the fall clock), frm_main_sides.cpp (the side windows) and
// frm_main_dialogs.cpp (the modal windows).

#include "desktop/main/frm_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QRegion>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "core/shell/window_shape.h"
#include "desktop/main/title_strip.h"
#include "desktop/toolkit/data_folder.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/qt_colour.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

namespace {

// The window's icon is the game's desktop icon, drawn once as a scalable picture and
// rendered by the build at each size the desktop uses; the title strip shows its 16 pixels.
QIcon GameIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

FrmMain::FrmMain(RandomSource* rnd, Clock* clock, std::string folder, std::string recordsFolder)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      ownRnd_(rnd != nullptr ? nullptr : std::make_unique<Lcg24Random>()),
      ownClock_(clock != nullptr ? nullptr : std::make_unique<SystemClock>()),
      rnd_(rnd != nullptr ? *rnd : *ownRnd_),
      clock_(clock != nullptr ? *clock : *ownClock_),
      settingsFile_(folder.empty() ? DataFolder() : folder, ShippedFolder()),
      endProgram_([] {
          // At once, as the question promised: the settings are saved, the table stored.
          // A store still waiting on a share that hangs keeps the process, and with it
          // its windows, until the share answers: the windows go first.
          for (QWidget* window : QApplication::topLevelWidgets())
              window->hide();
          QApplication::sync();
          std::fflush(nullptr);
          std::_Exit(0);
      }) {
    RegisterFonts();
    setWindowTitle(QStringLiteral("Vorblin Cascade"));
    setWindowIcon(GameIcon());
    setFont(MakeFont(FontSpec{}));
    setFixedSize(TwipsSize(kMainOuterWidth, kMainOuterHeight));
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

void FrmMain::SaveSoundSettings() {
    std::string error;
    if (!settingsFile_.SaveSoundSettings(places_, sound_, &error))
        std::cerr << "Vorblin Cascade: the settings were not saved (" << error << ")\n";
}

void FrmMain::closeEvent(QCloseEvent* event) {
    Run([this] { shell_->Form_QueryUnload(); });
    QWidget::closeEvent(event);
}
}  // namespace vorblin
