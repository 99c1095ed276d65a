// The main window's controls: built from the layout, bound to the logic's control state,
// and brought up to date with it after every event and tick.

#include "desktop/main/frm_main_window.h"

#include <QLabel>

#include "core/base/translation.h"
#include "desktop/toolkit/caption_frame.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/picture_box.h"
#include "desktop/toolkit/qt_colour.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

QWidget* FrmMain::Control(const std::string& name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void FrmMain::BuildControls() {
    for (const ControlSpec& item : FrmMainLayout()) {
        QWidget* parent = item.container.empty() ? client_ : Control(std::string(item.container));
        const QString caption = Text(Tr(item.caption));
        const QRect geometry = TwipsRect(item.left, item.top, item.width, item.height);
        QWidget* widget = nullptr;
        switch (item.kind) {
            case ControlKind::Panel:
            case ControlKind::Bar:
                widget = new QWidget(parent);
                SetColours(widget, item.fore, item.back);
                break;
            case ControlKind::Frame:
                widget = new CaptionFrame(parent, caption, item.fore, item.back);
                break;
            case ControlKind::Label: {
                auto* label = new QLabel(caption, parent);
                label->setAlignment((item.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                                    Qt::AlignTop);
                label->setWordWrap(true);
                SetColours(label, item.fore, item.back);
                widget = label;
                break;
            }
            case ControlKind::Picture: {
                const bool well = item.name == "picVorblin";
                // The well is drawn in its own scale of 250 units a cell; the next box in twips.
                auto* box = new PictureBox(parent, geometry.size(), well ? 3760 : item.width,
                                           well ? 7760 : item.height, item.back);
                if (well) {
                    picVorblin_ = box;
                    box->setFocusPolicy(Qt::StrongFocus);
                } else {
                    picNext_ = box;
                }
                widget = box;
                break;
            }
            case ControlKind::Button:
            case ControlKind::CheckButton: {
                auto* button = new ColourButton(parent, caption, item.fore, item.back);
                button->setCheckable(item.kind == ControlKind::CheckButton);
                widget = button;
                break;
            }
        }
        widget->setObjectName(Text(item.name));
        widget->setProperty("Tag", Text(item.tag));
        widget->setFont(MakeFont(item.font));
        widget->setGeometry(geometry);
        widget->setVisible(item.visible);
        controls_[std::string(item.name)] = widget;
    }
    // "Pause" lies exactly under the control frame and shows when the frame is hidden.
    QWidget* pause = Control("lblPause");
    pause->move(Control("fraControl")->pos());
    pause->lower();
}

void FrmMain::BindState() {
    Game& game = shell_->game;
    ScoreBoard& s = game.scores;
    const std::pair<const char*, const Label*> labels[] = {
        {"lblScore", &s.lblScore},
        {"lblLevel", &s.lblLevel},
        {"lblRemain", &s.lblRemain},
        {"lblCountLines(1)", &s.lblCountLines[1]},
        {"lblCountLines(2)", &s.lblCountLines[2]},
        {"lblCountLines(3)", &s.lblCountLines[3]},
        {"lblCountLines(4)", &s.lblCountLines[4]},
        {"lblTimeBonus", &s.lblTimeBonus},
        {"lblTotalScore", &s.lblTotalScore},
        {"lblSumBonus", &s.lblSumBonus},
        {"lblFirma", &game.notice.lblFirma},
        {"lblPosition", &game.lblPosition},
        {"lblNextPlace", &game.lblNextPlace},
    };
    for (const auto& [name, state] : labels) {
        Label never{"\x01", -1, !state->Visible};
        labels_.push_back({state, static_cast<QLabel*>(Control(name)), never});
    }
    ControlPad& pad = game.pad;
    const std::pair<const char*, const CommandButton*> buttons[] = {
        {"cmdLeftRight(0)", &pad.cmdLeftRight[0]},
        {"cmdLeftRight(2)", &pad.cmdLeftRight[2]},
        {"cmdRotate(0)", &pad.cmdRotate},
        {"cmdDown", &pad.cmdDown},
        {"cmdSpace", &pad.cmdSpace},
    };
    for (const auto& [name, state] : buttons)
        buttons_.push_back({state, static_cast<ColourButton*>(Control(name))});
    MainMenu& menu = shell_->menu;
    const std::pair<const char*, const CheckButton*> checks[] = {
        {"chkPause", &pad.chkPause}, {"chkHelp", &menu.chkHelp}, {"chkDemo", &menu.chkDemo},
        {"chkSet", &menu.chkSet},    {"chkAuto", &menu.chkAuto}, {"chkFuture", &menu.chkFuture},
        {"chkRec", &menu.chkRec},    {"chkStat", &menu.chkStat},
    };
    for (const auto& [name, state] : checks)
        checks_.push_back({state, static_cast<ColourButton*>(Control(name))});
    timers_ = {{&s.tmrLevel, &tmrLevel_},
               {&s.tmrMigCountLines, &tmrMigCountLines_},
               {&shell_->demo.tmrDemo, &tmrDemo_},
               {&menu.tmrMigMenuControls, &tmrMigMenuControls_}};
}

void FrmMain::Sync() {
    for (LabelBinding& b : labels_) {
        const Label& s = *b.state;
        if (b.shown.Caption != s.Caption) {
            b.widget->setText(QString::fromStdString(s.Caption));
            b.shown.Caption = s.Caption;
        }
        if (b.shown.ForeColor != s.ForeColor) {
            QPalette palette = b.widget->palette();
            palette.setColor(QPalette::WindowText, ToQColor(s.ForeColor));
            b.widget->setPalette(palette);
            b.shown.ForeColor = s.ForeColor;
        }
        if (b.shown.Visible != s.Visible) {
            b.widget->setVisible(s.Visible);
            b.shown.Visible = s.Visible;
        }
    }
    for (const ButtonBinding& b : buttons_) {
        b.widget->SetBackColor(b.state->BackColor);
        if (b.widget->isEnabled() != b.state->Enabled)
            b.widget->setEnabled(b.state->Enabled);
    }
    for (const CheckBinding& b : checks_) {
        b.widget->SetBackColor(b.state->BackColor);
        if (b.widget->isChecked() != (b.state->Value == 1))
            b.widget->setChecked(b.state->Value == 1);
    }
    backColours_.Show(shell_->help.backColours, controls_);
    const bool frameShown = shell_->game.pad.fraControl.Visible;
    if (frameShown != controlFrameShown_) {
        Control("fraControl")->setVisible(frameShown);
        controlFrameShown_ = frameShown;
    }
    picVorblin_->ShowDamage();
    picNext_->ShowDamage();
    frmStatistic_->Show(shell_->game.lstStatistic);
    frmVorblinFathers_->Show(shell_->records.lstTable);
    if (frmFuture_)
        frmFuture_->ShowDamage();
    FollowFallClock();
    for (const TimerBinding& t : timers_) {
        if (t.timer->interval() != t.state->Interval)
            t.timer->setInterval(t.state->Interval);
        if (t.state->Enabled != t.timer->isActive()) {
            if (t.state->Enabled)
                t.timer->start();
            else
                t.timer->stop();
        }
    }
}
void BackColourMirror::Show(const ControlBackColours& colours,
                            const std::map<std::string, QWidget*>& controls) {
    for (const auto& [name, colour] : colours.All()) {
        const auto shown = shown_.find(name);
        if (shown != shown_.end() && shown->second == colour)
            continue;
        shown_[name] = colour;
        QWidget* widget = controls.at(std::string(name));
        if (auto* frame = dynamic_cast<CaptionFrame*>(widget)) {
            frame->SetBackColor(colour);
        } else if (auto* box = dynamic_cast<PictureBox*>(widget)) {
            box->SetBackColor(colour);
        } else {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::Window, ToQColor(colour));
            widget->setPalette(palette);
            widget->setAutoFillBackground(true);
        }
    }
}

}  // namespace vorblin
