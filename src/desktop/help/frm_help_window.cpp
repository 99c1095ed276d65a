#include "desktop/help/frm_help_window.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>

#include "core/base/translation.h"
#include "desktop/toolkit/colour_button.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/qt_colour.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

namespace {

constexpr int kClientWidth = 3480;  // twips
constexpr Colour kButtonBack = RGB(128, 128, 128);

ColourButton* AddButton(QWidget* parent, const QString& caption, const char* name,
                        const QRect& twips) {
    auto* button = new ColourButton(parent, caption, kBlack, kButtonBack);
    button->setObjectName(QLatin1String(name));
    button->setFont(MakeFont(FontSpec{FontFace::MsSansSerif, 8.25, true}));
    button->setGeometry(TwipsRect(twips));
    return button;
}

}  // namespace

FrmHelp::FrmHelp(QWidget* main, const QString& strText)
    : QDialog(main,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_(main),
      txtText_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(Text(Tr("Справка")));
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(RGB(0, 0, 255)));
    setPalette(palette);
    setAutoFillBackground(true);

    txtText_->setObjectName(QStringLiteral("txtText"));
    txtText_->setGeometry(TwipsRect(0, 0, 3372, 2292));
    txtText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtText_->setReadOnly(true);
    txtText_->setFont(MakeFont(FontSpec{FontFace::Tahoma, 9, true}));
    QPalette text = txtText_->palette();
    text.setColor(QPalette::Base, Qt::black);
    text.setColor(QPalette::Text, Qt::white);
    txtText_->setPalette(text);
    // The palette alone is not what the platform style paints a read-only box with.
    txtText_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background-color: black; color: white; }"));
    txtText_->setPlainText(strText);

    ColourButton* cmdClose =
        AddButton(this, Text(Tr("Закрыть")), "cmdClose", QRect(120, 2400, 1332, 252));
    ColourButton* cmdNext =
        AddButton(this, Text(Tr("Далее")), "cmdNext", QRect(2040, 2400, 1332, 252));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdNext, &QPushButton::clicked, this, &QDialog::accept);
    cmdNext->setFocus();

    // Form_Load: the text box as wide as the window, the window beside the main window and
    // closed; the timer unrolls it from there.
    setFixedWidth(TwipsToPixels(kClientWidth));
    txtText_->resize(width(), txtText_->height());
    placer_.Watch(this);
    ApplyHeight();
    Place();
    tmrResize_.setInterval(unroll_.tmrResize.Interval);
    connect(&tmrResize_, &QTimer::timeout, this, [this] { tmrResize_Timer(); });
    tmrResize_.start();
}

void FrmHelp::tmrResize_Timer() {
    unroll_.tmrResize_Timer();
    ApplyHeight();
    txtText_->resize(width(), txtText_->height());
    if (!unroll_.tmrResize.Enabled)
        tmrResize_.stop();
}

void FrmHelp::ApplyHeight() {
    // A window cannot be less than a pixel high; the frame's title shows from the start.
    setFixedHeight(std::max(1, TwipsToPixels(unroll_.ClientHeight())));
}

void FrmHelp::Place() {
    const QRect frame = frameGeometry();
    const QPoint main = main_->frameGeometry().topLeft();
    QPoint place = ToPixels(HelpWindowPlace(ToTwips(main), frame.width() * kTwipsPerPixel));
    // Beside a main window at the screen's left edge the help window would stand off the
    // screen, with the only ways out of the modal tour on it: keep it on the screen, at its
    // full unrolled height.
    if (const QScreen* screen = main_->screen()) {
        const QRect area = screen->availableGeometry();
        const int height = TwipsToPixels(kHelpClientHeight) + frame.height() - geometry().height();
        place.setX(std::clamp(place.x(), area.left(),
                              std::max(area.left(), area.right() + 1 - frame.width())));
        place.setY(
            std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height)));
    }
    placer_.Move(this, place);
}

void FrmHelp::keyPressEvent(QKeyEvent* event) {
    // Only "Закрыть" and the close box end the tour.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void FrmHelpTour::Show(std::string_view strText) {
    beforeShow_();
    FrmHelp frmHelp(&main_, Text(Tr(strText)));
    if (frmHelp.exec() != QDialog::Accepted)
        blnClose = true;
    // As its owner, the main window is the active one again when the page goes.
    main_.activateWindow();
}

}  // namespace vorblin
