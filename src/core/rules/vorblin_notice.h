#pragma once
// The announcement of a special figure waiting in the next-figure preview.

#include "core/base/control_state.h"
#include "core/base/translation.h"
#include "core/rules/figures.h"
#include "core/rules/sound_board.h"

namespace vorblin {

class VorblinNotice {
  public:
    // Looks at the next figure, Queue(2): sets the preview colour and, for a special
    // figure, shows its bonus, plays its sound (not before the first landing) and logs it.
    void Show_Vorblin_Bonus(const FiguraInfo& next, const Label& lblScore, SoundBoard& sound,
                            ListBox& lstStatistic);

    Colour ColorFigura = kCyan;
    Label lblFirma{Tr(" Vorblin - фигурка    Бонус "), RGB(0, 255, 255), false};
};

}  // namespace vorblin
