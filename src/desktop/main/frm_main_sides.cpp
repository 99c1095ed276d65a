// The three side windows as the main window hosts them: loaded, shown, moved and docked by
// their frames, minimised with the main window, and handing the focus back to it.

#include "desktop/main/frm_main_window.h"

#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

void FrmMain::PressAuto(int16_t value) {
    const QMargins frame = LearnSideFrame();
    shell_->Set_chkAuto(value);
    if (value == 1)
        FollowLateFrames(frame);
}

void FrmMain::FollowLateFrames(QMargins before) {
    // A side window shown for the first time may have got its frame at once: dock once more
    // by the real frame sizes. Under a window manager it comes later (SideFrameArrived).
    if (LearnSideFrame() != before)
        shell_->DockAgain();
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
    Run([this, frame] {
        shell_->DockAgain();
        FollowLateFrames(frame);
    });
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
    if (minimized) {
        side->setWindowState(state | Qt::WindowMinimized);
    } else if (side->isMinimized()) {
        // Mapping a minimised window again is how a program restores it, but mutter keeps a
        // minimised window mapped and so never hears of it. A window withdrawn and mapped anew
        // comes up in the normal state under any window manager, where its frame stood.
        side->hide();
        side->setWindowState(state & ~Qt::WindowMinimized);
        side->show();
    }
}

void FrmMain::UnloadSideWindows() {
    frmStatistic_->Unload();
    frmVorblinFathers_->Unload();
    if (frmFuture_)
        frmFuture_->close();
}
}  // namespace vorblin
