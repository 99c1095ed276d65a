#pragma once
// The side windows beside the main window: the statistics list, the hall-of-fame list and
// the future preview. None of them keeps the keyboard: a click or the focus arriving in
// them hands it straight back to the main window.

#include <QListWidget>
#include <QWidget>
#include <functional>

#include "core/base/control_state.h"
#include "core/rules/frm_main_layout.h"
#include "desktop/toolkit/picture_box.h"

namespace vorblin {

// frmStatistic and frmVorblinFathers: one list filling the window. The close box only
// hides the window, so its contents survive.
class SideListWindow final : public QWidget {
  public:
    SideListWindow(const QString& caption, const QString& name, int clientWidthTwips,
                   int clientHeightTwips, const FontSpec& font, Colour fore,
                   std::function<void()> handBack);

    QListWidget* List() const { return list_; }
    // Shows the list's lines and selection as the rules hold them.
    void Show(const ListBox& state);
    // The main window closes: really close.
    void Unload();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QListWidget* list_;
    std::function<void()> handBack_;
    bool unloading_ = false;
    uint32_t shownRevision_ = UINT32_MAX;
    int shownCount_ = 0;
};

// frmFuture: the extended preview. Its close box destroys it; it comes back empty.
class FrmFuture final : public QWidget {
  public:
    explicit FrmFuture(std::function<void()> handBack);
    ImageSurface& Surface() { return picFuture_->Surface(); }
    void ShowDamage() { picFuture_->ShowDamage(); }

  protected:
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    PictureBox* picFuture_;
    std::function<void()> handBack_;
};

}  // namespace vorblin
