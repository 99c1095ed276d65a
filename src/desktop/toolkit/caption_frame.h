#pragma once
// A frame with a caption in its top border, holding other controls.

#include <QFrame>
#include <QString>

#include "core/base/colours.h"

namespace vorblin {

class CaptionFrame final : public QFrame {
  public:
    CaptionFrame(QWidget* parent, const QString& caption, Colour captionColour, Colour back);

    void SetBackColor(Colour back);
    Colour BackColor() const { return back_; }
    const QString& Caption() const { return caption_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    Colour captionColour_;
    Colour back_;
};

}  // namespace vorblin
