#include "desktop/records/frm_game_over_windows.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QValidator>
#include <map>
#include <set>

#include "core/base/translation.h"
#include "core/records/records_table.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/qt_colour.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

namespace {

// Refuses, typed or pasted, anything a stored name may not hold.
class NameValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const std::string text = input.toStdString();
        return CleanPlayerName(text) == text ? Acceptable : Invalid;
    }
};

QLabel* AddLabel(QWidget* parent, const QString& text, QRect twips, Colour fore,
                 const FontSpec& font) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(TwipsRect(twips));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(MakeFont(font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQColor(fore));
    label->setPalette(palette);
    return label;
}

QPushButton* AddButton(QWidget* parent, const QString& caption, const char* name, QRect twips) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(TwipsRect(twips));
    button->setFont(MakeFont(FontSpec{}));
    return button;
}

// The game ends while the player is steering: keys held down then (and their auto-repeats)
// reach the window that opens, and would type blanks over the preselected name or answer the
// question before the player has read it. Such a key is known by a press this window never
// saw: an auto-repeat, or a press bearing the time of the release just before it (X sends a
// repeat as a release and a press of one time). A key pressed while the window shows acts.
class KeysHeldBefore final : public QObject {
  public:
    explicit KeysHeldBefore(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
        for (QWidget* child : window->findChildren<QWidget*>())
            child->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyRelease) {
            releasedAt_[key->key()] = key->timestamp();
            return false;
        }
        if (pressedHere_.count(key->key()) != 0)
            return false;
        const auto released = releasedAt_.find(key->key());
        if (key->isAutoRepeat() ||
            (released != releasedAt_.end() && released->second == key->timestamp()))
            return true;
        pressedHere_.insert(key->key());
        return false;
    }

  private:
    std::set<int> pressedHere_;
    std::map<int, quint64> releasedAt_;
};

void Dialog(QDialog* dialog, const char* name, int widthTwips, int heightTwips) {
    dialog->setObjectName(QLatin1String(name));
    dialog->setWindowTitle(QStringLiteral("Vorblin Cascade"));
    dialog->setModal(true);
    dialog->setFixedSize(TwipsSize(widthTwips, heightTwips));
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

}  // namespace

FrmEnterName::FrmEnterName(QWidget* owner) : QDialog(owner), txtName_(new QLineEdit(this)) {
    Dialog(this, "frmEnterName", 3600, 1110);
    AddLabel(this, Text(Tr("Введите Ваше имя")), QRect(120, 120, 3360, 300), kBlack,
             FontSpec{FontFace::Tahoma, 9.75, true})
        ->setObjectName(QStringLiteral("lblEnterName"));
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setGeometry(TwipsRect(120, 540, 2280, 405));
    txtName_->setFont(MakeFont(FontSpec{FontFace::TimesNewRoman, 12, false}));
    txtName_->setMaxLength(static_cast<int>(kMaxNameLength));
    txtName_->setValidator(new NameValidator(txtName_));
    txtName_->setText(QStringLiteral("UnNamed"));
    txtName_->selectAll();  // typing replaces the default name
    QPushButton* ok = AddButton(this, Text(Tr("Ok")), "cmdOk", QRect(2520, 540, 960, 405));
    ok->setDefault(true);  // Enter anywhere in the window
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    txtName_->setFocus();
    new KeysHeldBefore(this);
}

void FrmEnterName::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

NameEntry FrmEnterName::Result() const {
    return NameEntry{txtName_->text().toStdString(), result() != QDialog::Accepted};
}

FrmGameOver::FrmGameOver(QWidget* owner) : QDialog(owner) {
    Dialog(this, "frmGameOver", 3600, 2040);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(0x800000));
    setPalette(palette);
    setAutoFillBackground(true);
    AddLabel(this, Text(Tr("Game Over !")), QRect(120, 120, 3360, 495), kRed,
             FontSpec{FontFace::Tahoma, 18, true})
        ->setObjectName(QStringLiteral("lblGameOver"));
    AddLabel(this, Text(Tr("Начать новую игру ?")), QRect(120, 720, 3360, 375), kYellow,
             FontSpec{FontFace::Tahoma, 9.75, true})
        ->setObjectName(QStringLiteral("lblNewGame"));
    QPushButton* yes = AddButton(this, Text(Tr("Да")), "cmdYes", QRect(480, 1320, 1095, 405));
    QPushButton* no = AddButton(this, Text(Tr("Нет")), "cmdNo", QRect(2025, 1320, 1095, 405));
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    yes->setFocus();
    // Enter held a moment longer in the name window would answer "Да" here at once.
    new KeysHeldBefore(this);
}

void FrmGameOver::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vorblin
