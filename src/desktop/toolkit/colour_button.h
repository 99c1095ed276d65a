#pragma once
// A push button with its own back and caption colours; a check button is a checkable
// one that looks pressed while it is down.

#include <QPushButton>

#include "core/base/colours.h"

namespace vorblin {

class ColourButton final : public QPushButton {
  public:
    ColourButton(QWidget* parent, const QString& caption, Colour fore, Colour back);

    void SetColours(Colour fore, Colour back);
    void SetBackColor(Colour back) { SetColours(fore_, back); }
    Colour BackColor() const { return back_; }

  private:
    Colour fore_;
    Colour back_;
};

}  // namespace vorblin
