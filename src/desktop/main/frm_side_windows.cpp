#include "desktop/main/frm_side_windows.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "core/base/twips.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/qt_colour.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

namespace {

constexpr int kFutureWidth = 1515;
constexpr int kFutureHeight = 3840;

QVBoxLayout* FillingLayout(QWidget* window, QWidget* content) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return layout;
}

}  // namespace

SideListWindow::SideListWindow(const QString& caption, const QString& name, int clientWidthTwips,
                               int clientHeightTwips, const FontSpec& font, Colour fore,
                               std::function<void()> handBack)
    : QWidget(nullptr, Qt::Window), list_(new QListWidget(this)), handBack_(std::move(handBack)) {
    setObjectName(name);
    setWindowTitle(caption);
    resize(TwipsSize(clientWidthTwips, clientHeightTwips));
    list_->setObjectName(name == QLatin1String("frmStatistic") ? QStringLiteral("lstStatistic")
                                                               : QStringLiteral("lstTable"));
    list_->setFont(MakeFont(font));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, ToQColor(fore));
    // The selection shows the same whether or not the window is active.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, ToQColor(QBColor(1)));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    list_->setPalette(palette);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    FillingLayout(this, list_);
}

void SideListWindow::Show(const ListBox& state) {
    if (state.Revision != shownRevision_) {
        const int count = state.ListCount();
        // Lines only added since the last look: add just those (the log grows by a line
        // a landing); anything else draws the list anew.
        const bool appended =
            count >= shownCount_ && shownRevision_ != UINT32_MAX &&
            state.Revision - shownRevision_ == static_cast<uint32_t>(count - shownCount_);
        if (!appended) {
            list_->clear();
            shownCount_ = 0;
        }
        for (int i = shownCount_; i < count; ++i)
            list_->addItem(QString::fromStdString(state.Items[static_cast<size_t>(i)]));
        shownCount_ = count;
        shownRevision_ = state.Revision;
    }
    if (list_->palette().color(QPalette::Base) != ToQColor(state.BackColor)) {
        QPalette palette = list_->palette();
        palette.setColor(QPalette::Base, ToQColor(state.BackColor));
        list_->setPalette(palette);
    }
    if (list_->currentRow() != state.ListIndex) {
        list_->setCurrentRow(state.ListIndex);
        if (state.ListIndex >= 0)
            list_->scrollToItem(list_->item(state.ListIndex));
    }
}

void SideListWindow::Unload() {
    unloading_ = true;
    close();
}

void SideListWindow::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

bool SideListWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == list_ && event->type() == QEvent::FocusIn) ||
        event->type() == QEvent::MouseButtonRelease)
        handBack_();
    return QWidget::eventFilter(watched, event);
}

void SideListWindow::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    handBack_();
}

FrmFuture::FrmFuture(std::function<void()> handBack)
    : QWidget(nullptr, Qt::Window),
      picFuture_(new PictureBox(this, TwipsSize(kFutureWidth, kFutureHeight), kFutureWidth,
                                kFutureHeight, RGB(64, 64, 64))),
      handBack_(std::move(handBack)) {
    setObjectName(QStringLiteral("frmFuture"));
    picFuture_->setObjectName(QStringLiteral("picFuture"));
    setWindowTitle(QStringLiteral("Future"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    resize(TwipsSize(kFutureWidth, kFutureHeight));
    FillingLayout(this, picFuture_);
}

bool FrmFuture::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        handBack_();
    return QWidget::event(event);
}

void FrmFuture::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    handBack_();
}

}  // namespace vorblin
