// The windows in the game's own Russian and in every language the build has a catalogue for:
// every text whole in its control, and the catalogue's texts on the windows.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>

#include "core/base/translation.h"
#include "desktop/records/frm_game_over_windows.h"
#include "desktop/sound/frm_settings_window.h"
#include "desktop/toolkit/caption_frame.h"
#include "desktop/toolkit/data_folder.h"
#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::MainWindow;

// What a control shows: its text, title, current entry, or the start of its text box.
QString Shown(QWidget* w) {
    for (const char* name : {"text", "title", "currentText"})
        if (const QVariant value = w->property(name); value.isValid())
            return value.toString();
    return w->property("plainText").toString().left(18);
}

// The room a text needs in its control, measured with the control's own font: the width of
// one line for captions, the lines of wrapped labels and of the help text.
QSize Needed(QWidget* w) {
    const QFontMetrics metrics(w->font());
    const auto line = [&](const QString& text, int chrome) {
        return QSize(metrics.horizontalAdvance(text) + chrome, 0);
    };
    const auto lines = [&](const QString& text, int width) {
        return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text).height();
    };
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->wordWrap() ? QSize(0, lines(label->text(), w->width()))
                                 : line(label->text(), 0);
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return line(box->text(), w->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                     w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    if (auto* button = qobject_cast<QPushButton*>(w))  // a 2-pixel border on either side
        return line(button->text(), 4);
    if (auto* frame = qobject_cast<QGroupBox*>(w))  // the title stands in the top border
        return line(frame->title(), 16);
    if (auto* frame = dynamic_cast<CaptionFrame*>(w))
        return line(frame->Caption(), 13);
    QSize widest;
    if (auto* list = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < list->count(); ++i)
            widest = widest.expandedTo(
                line(list->itemText(i), w->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8));
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {  // inside the frame and the scroll bar
        const int margin = qRound(text->document()->documentMargin());
        const QRect room = text->viewport()->rect().adjusted(margin, margin, -margin, -margin);
        return {0, lines(text->toPlainText(), room.width()) + w->height() - room.height()};
    }
    return widest;
}

// Each text of the window that does not fit its control, with the room it needs and has.
void Overflows(QWidget* window, const QString& language, QStringList& out) {
    window->show();  // (a window already shown stays as it is: a modal help page goes on)
    QApplication::processEvents();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QSize need = Needed(w);
        if (w->isVisibleTo(window) && (need.width() > w->width() || need.height() > w->height()))
            QDebug(&out.emplace_back())
                << language << w->objectName() << Shown(w) << need << w->size();
    }
}

// Every window in every language, the help tour's pages as the tour shows them; each window's
// first text read back.
TEST_F(MainWindow, EveryTextFitsItsControlInEveryLanguage) {
    QStringList languages{"ru"};  // the game's own texts
    languages << QDir(QString::fromStdString(TranslationsFolder()))
                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QStringList overflows;
    QMap<QString, QStringList> read;
    for (const QString& language : languages) {
        SetUpTranslations(TranslationsFolder(), language.toStdString());
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        // The widest bonus a Vorblin figure shows.
        game().notice.Show_Vorblin_Bonus(FiguraInfo{"0110011001100110", 50000, true},
                                         game().scores.lblScore, window->Sound(),
                                         game().lstStatistic);
        window->Sync();
        Overflows(window.get(), language, overflows);
        Tour([&](int page, FrmHelp* help) {
            Overflows(help, language, overflows);
            if (page == 0)
                read[language] << Shown(help->findChild<QWidget*>("txtText"));
            Click(help, "cmdNext");
        });
        FrmSettings settings(window->Sound(), window.get());
        FrmEnterName name(window.get());
        FrmGameOver over(window.get());
        for (QWidget* dialog : QWidgetList{&settings, &name, &over})
            Overflows(dialog, language, overflows);
        read[language] << Shown(settings.findChild<QWidget*>("frmControls"))
                       << Shown(name.findChild<QWidget*>("lblEnterName"))
                       << Shown(over.findChild<QWidget*>("lblNewGame"));
    }
    SetUpTranslations(TranslationsFolder(), "ru");  // the other tests read the texts as written
    overflows.removeDuplicates();                   // the help window's buttons, once a page
    EXPECT_EQ(overflows.join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(read["en"].join('|').toStdString(),
              "The best players. |Sounds of the main events|Enter your name|Start a new game?");
}

}  // namespace
}  // namespace vorblin
