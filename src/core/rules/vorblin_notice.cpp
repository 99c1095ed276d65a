#include "core/rules/vorblin_notice.h"

#include <string>

#include "core/base/numbers.h"
#include "core/base/translation.h"

namespace vorblin {

void VorblinNotice::Show_Vorblin_Bonus(const FiguraInfo& next, const Label& lblScore,
                                       SoundBoard& sound, ListBox& lstStatistic) {
    if (!next.IsVorblin) {
        ColorFigura = kCyan;
        return;
    }
    if (lblScore.Caption != "---")
        sound.Play(Channel::mVorblin1);
    lblFirma.Visible = true;
    ColorFigura = kRed;
    if (next.Shape == kSuperFigure) {
        ColorFigura = kBlue;
        lblFirma.ForeColor = kBlue;
        lblFirma.Caption = Tr("This Is Vorblin Bonus 25000");
        lstStatistic.AddItem("...SUPER VORBLIN !!!");
    } else {
        lblFirma.ForeColor = kCyan;
        lblFirma.Caption = Tr("Vorblin-фигурка Bonus ") + std::to_string(Shown(next.Bonus));
        lstStatistic.AddItem("...Vorblin");
    }
}

}  // namespace vorblin
