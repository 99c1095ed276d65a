#pragma once
// frmHelp, the help tour's window: one page of help text beside the main window with
// "Закрыть" and "Далее", unrolling from its top. Beside it the main window's share of the
// tour: a window object per tour, and the back colours the tour paints.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "core/help/help_link.h"
#include "core/help/help_tour.h"
#include "desktop/toolkit/frame_placer.h"

class QPlainTextEdit;

namespace vorblin {

class FrmHelp final : public QDialog {
  public:
    // Loads a page with strText, beside `main` and closed; showing it starts the unrolling.
    // "Далее" accepts the window; every other way of closing it rejects it.
    FrmHelp(QWidget* main, const QString& strText);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void tmrResize_Timer();
    // The client area's height as the unrolling has it; the frame comes on top.
    void ApplyHeight();
    // Beside the main window by the frame's outer edges: again once the frame is known.
    void Place();

    QWidget* main_;
    QPlainTextEdit* txtText_;
    QTimer tmrResize_;
    HelpUnroll unroll_;
    FramePlacer placer_{[this] { Place(); }};
};

// The window object of one tour: each page a fresh frmHelp, shown modally.
class FrmHelpTour final : public HelpWindow {
  public:
    // beforeShow brings the main window up to date (the page's control painted).
    FrmHelpTour(QWidget& main, std::function<void()> beforeShow)
        : main_(main), beforeShow_(std::move(beforeShow)) {}
    void Show(std::string_view strText) override;

  private:
    QWidget& main_;
    std::function<void()> beforeShow_;
};

}  // namespace vorblin
