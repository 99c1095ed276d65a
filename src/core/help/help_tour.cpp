#include "core/help/help_tour.h"

#include <algorithm>
#include <utility>

#include "core/base/numbers.h"
#include "core/rules/frm_main_layout.h"

namespace vorblin {

std::vector<HelpPage> HelpTourPages() {
    std::vector<HelpPage> pages;
    for (const ControlSpec& item : FrmMainLayout())
        if (!LeftOutOfHelpTour(item.name))
            pages.push_back({item.name, item.tag});
    return pages;
}

ControlBackColours::ControlBackColours() {
    for (const ControlSpec& item : FrmMainLayout())
        if (item.kind != ControlKind::Button && item.kind != ControlKind::CheckButton)
            colours_.emplace(item.name, item.back);
}

uint8_t Play_Help_Sound(RandomSource& rnd, SoundBoard& sound) {
    // 1 .. the last sound by number (kSoundByCode), the ends half as likely.
    constexpr double kSpan = static_cast<double>(kSoundByCode.size() - 1);
    const auto n = static_cast<uint8_t>(RoundHalfEven(static_cast<double>(rnd.Rnd()) * kSpan + 1));
    Play_Event_Sound(sound, n);
    return n;
}

HelpTour::HelpTour(RandomSource& rnd, SoundBoard& sound, DrawingSurface& picVorblin, Game& game,
                   MainMenu& menu, ListBox& lstTable)
    : rnd_(rnd),
      sound_(sound),
      picVorblin_(picVorblin),
      game_(game),
      menu_(menu),
      lstTable_(lstTable) {}

Colour& HelpTour::BackColor(std::string_view control) {
    ControlPad& pad = game_.pad;
    const std::pair<std::string_view, Colour*> buttons[] = {
        {"cmdDown", &pad.cmdDown.BackColor},
        {"cmdLeftRight(0)", &pad.cmdLeftRight[0].BackColor},
        {"cmdLeftRight(2)", &pad.cmdLeftRight[2].BackColor},
        {"cmdRotate(0)", &pad.cmdRotate.BackColor},
        {"cmdSpace", &pad.cmdSpace.BackColor},
        {"chkPause", &pad.chkPause.BackColor},
        {"chkHelp", &menu_.chkHelp.BackColor},
        {"chkDemo", &menu_.chkDemo.BackColor},
        {"chkSet", &menu_.chkSet.BackColor},
        {"chkAuto", &menu_.chkAuto.BackColor},
        {"chkFuture", &menu_.chkFuture.BackColor},
        {"chkRec", &menu_.chkRec.BackColor},
        {"chkStat", &menu_.chkStat.BackColor},
    };
    for (const auto& [name, colour] : buttons)
        if (name == control)
            return *colour;
    return backColours[control];
}

void HelpTour::Run(HelpWindow& frmHelp) {
    Play_Help_Sound(rnd_, sound_);
    // Marking the list loads the hall-of-fame window if need be, but does not show it.
    lstTable_.BackColor = kHelpTableMark;
    frmHelp.Show(kHelpFirstPage);
    lstTable_.BackColor = kBlack;
    if (frmHelp.blnClose)
        return;
    for (const HelpPage& page : HelpTourPages()) {
        painted_ = &BackColor(page.control);
        own_ = *painted_;
        *painted_ = kHelpHighlight;
        frmHelp.Show(page.text);
        GiveColoursBack();
        Play_Help_Sound(rnd_, sound_);
        if (page.control == "picVorblin") {
            Draw_Field(picVorblin_, game_.board);
            Draw_Grid(picVorblin_, game_.board, game_.Position);
            Draw_Figure(picVorblin_, game_.board);
        }
        if (frmHelp.blnClose)
            break;
    }
}

void HelpTour::GiveColoursBack() {
    lstTable_.BackColor = kBlack;
    if (painted_ != nullptr)
        *painted_ = own_;
    painted_ = nullptr;
}

WindowPosition HelpWindowPlace(WindowPosition main, int32_t ownWidth) {
    return {main.Left - ownWidth, main.Top};
}

int32_t HelpUnroll::ClientHeight() const {
    constexpr int32_t designedFrame = kHelpUnrolledOuterHeight - kHelpClientHeight;
    return std::clamp(Height - designedFrame, 0, kHelpClientHeight);
}

void HelpUnroll::tmrResize_Timer() {
    Height += kHelpUnrollStep;
    if (Height > kHelpUnrolledHeight)
        tmrResize.Enabled = false;
}

}  // namespace vorblin
