// The windows in the game's own Russian and in every language the build has a catalogue for:
// English read back where the player asks for it, and every text whole in its control.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <algorithm>
#include <cstdlib>

#include "core/base/translation.h"
#include "core/help/help_tour.h"
#include "desktop/records/frm_game_over_windows.h"
#include "desktop/sound/frm_settings_window.h"
#include "desktop/toolkit/caption_frame.h"
#include "desktop/toolkit/data_folder.h"
#include "desktop/toolkit/qt_convert.h"
#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::MainWindow;

// The language as a player names it, LANGUAGE alone: no locale is set ("C"), which gettext
// would answer with the Russian texts whatever LANGUAGE says. "" for none.
void Speak(const std::string& language) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        unsetenv(name);
    if (language.empty())
        unsetenv("LANGUAGE");
    else
        setenv("LANGUAGE", language.c_str(), 1);
    SetUpTranslations(TranslationsFolder());
}

QString Shown(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w))
        return frame->title();
    if (auto* list = qobject_cast<QComboBox*>(w))
        return list->itemText(0);
    return static_cast<QPlainTextEdit*>(w)->toPlainText().left(18);
}

TEST_F(MainWindow, UnderLanguageEnTheWindowsSpeakEnglish) {
    Speak("en");
    QStringList seen;
    Tour([&](int page, FrmHelp* help) {
        for (const char* name : {"txtText", "cmdClose", "cmdNext"})
            seen << Shown(help->findChild<QWidget*>(name));
        Click(help, page == 1 ? "cmdClose" : "cmdNext");
    });
    FrmSettings settings(window->Sound(), window.get());
    FrmEnterName name(window.get());
    FrmGameOver over(window.get());
    for (const auto& [dialog, control] :
         {std::pair<QWidget*, const char*>{&settings, "frmControls"},
          {&settings, "fraFirstVar"},
          {&settings, "chkEnable"},
          {&settings, "cmdOpen"},
          {&settings, "cmbListEvents"},
          {&name, "lblEnterName"},
          {&over, "lblNewGame"},
          {&over, "cmdYes"},
          {&over, "cmdNo"}})
        seen << Shown(dialog->findChild<QWidget*>(control));
    Speak("");
    seen << Shown(FrmGameOver(window.get()).findChild<QWidget*>("lblNewGame"));
    EXPECT_EQ(seen, (QStringList{"The best players. ", "Close", "Next", "Only completely fi",
                                 "Close", "Next", "Sounds of the main events", "First variant",
                                 "Mute", "Choose file", "Inversion", "Enter your name",
                                 "Start a new game?", "Yes", "No", "Начать новую игру ?"}));
}

// The room a text needs in its control, measured with the control's own font: the width of
// one line for captions, the lines of wrapped labels and of the help text.
QSize Needed(QWidget* w) {
    const QFontMetrics metrics(w->font());
    const QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w))
        return metrics
            .boundingRect(QRect(0, 0, w->width(), 1 << 20),
                          label->wordWrap() ? int{Qt::TextWordWrap} : 0, label->text())
            .size();
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return {style->pixelMetric(QStyle::PM_IndicatorWidth) +
                    style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) +
                    metrics.horizontalAdvance(box->text()),
                0};
    if (auto* button = qobject_cast<QPushButton*>(w))  // a 2-pixel border on either side
        return {metrics.horizontalAdvance(button->text()) + 4, 0};
    if (auto* frame = qobject_cast<QGroupBox*>(w))  // the title stands in the top border
        return {metrics.horizontalAdvance(frame->title()) + 16, 0};
    if (auto* frame = dynamic_cast<CaptionFrame*>(w))
        return {metrics.horizontalAdvance(frame->Caption()) + 13, 0};
    if (auto* list = qobject_cast<QComboBox*>(w)) {
        int widest = 0;
        for (int i = 0; i < list->count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(list->itemText(i)));
        return {widest + style->pixelMetric(QStyle::PM_ScrollBarExtent) + 8, 0};
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {  // inside the frame and the scroll bar
        const int margin = qRound(text->document()->documentMargin());
        const QRect room = text->viewport()->rect().adjusted(margin, margin, -margin, -margin);
        return {0, metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap,
                                        text->toPlainText())
                           .height() +
                       w->height() - room.height()};
    }
    return {};
}

// Each text of the window that does not fit its control: "control: text needs w×h of w×h".
void Overflows(QWidget* window, const QString& language, QStringList& out) {
    window->show();
    QApplication::processEvents();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QSize need = Needed(w);
        if (w->isVisibleTo(window) && (need.width() > w->width() || need.height() > w->height()))
            out << QStringLiteral("%1 %2 \"%3\": needs %4x%5, has %6x%7")
                       .arg(language, w->objectName(), Shown(w))
                       .arg(need.width())
                       .arg(need.height())
                       .arg(w->width())
                       .arg(w->height());
    }
    window->hide();
}

TEST(Languages, EveryTextFitsItsControlInEveryLanguage) {
    QStringList languages{""};
    languages << QDir(QString::fromStdString(TranslationsFolder()))
                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_TRUE(languages.contains("en"));
    QStringList overflows;
    for (const QString& language : languages) {
        Speak(language.toStdString());
        testing::TempFolder folder;
        testing::ScriptedRandom rnd;
        testing::FixedClock clock;
        FrmMain main(&rnd, &clock, folder.path);
        VorblinNotice& notice = main.Shell().game.notice;
        // The widest bonus a Vorblin figure shows.
        notice.Show_Vorblin_Bonus(FiguraInfo{"0110011001100110", 50000, true},
                                  main.Shell().game.scores.lblScore, main.Sound(),
                                  main.Shell().game.lstStatistic);
        main.Sync();
        Overflows(&main, language, overflows);
        std::vector<std::string_view> pages{kHelpFirstPage};
        for (const HelpPage& page : HelpTourPages())
            pages.push_back(page.text);
        for (std::string_view page : pages) {
            FrmHelp help(&main, Text(Tr(page)));
            Overflows(&help, language, overflows);
        }
        FrmSettings settings(main.Sound(), &main);
        FrmEnterName name(&main);
        FrmGameOver over(&main);
        for (QWidget* dialog : {static_cast<QWidget*>(&settings), static_cast<QWidget*>(&name),
                                static_cast<QWidget*>(&over)})
            Overflows(dialog, language, overflows);
    }
    Speak("");
    overflows.removeDuplicates();  // the help window's buttons, once a page
    EXPECT_EQ(overflows.join(QLatin1Char('\n')).toStdString(), "");
}

}  // namespace
}  // namespace vorblin
