#include "desktop/sound/frm_settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "core/base/translation.h"
#include "core/sound/settings_rules.h"
#include "desktop/sound/frm_open_window.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

namespace {

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TwipsRect(left, top, width, height));
    return widget;
}

QGroupBox* Frame(QWidget* parent, const char* name, std::string_view caption, QRect twips,
                 bool bold) {
    auto* frame = Place(new QGroupBox(Text(Tr(caption)), parent), name, twips.x(), twips.y(),
                        twips.width(), twips.height());
    if (bold)
        frame->setFont(MakeFont(FontSpec{FontFace::MsSansSerif, 8.25, true}));
    return frame;
}

QSlider* Slider(QWidget* parent, const char* name, QRect twips, int minimum, int maximum, int large,
                int tick) {
    auto* slider = Place(new QSlider(Qt::Horizontal, parent), name, twips.x(), twips.y(),
                         twips.width(), twips.height());
    slider->setRange(minimum, maximum);
    slider->setPageStep(large);
    slider->setSingleStep(1);
    slider->setTickInterval(tick);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QCheckBox* OffBox(QWidget* parent, const char* name, QRect twips) {
    return Place(new QCheckBox(Text(Tr("Выключить")), parent), name, twips.x(), twips.y(),
                 twips.width(), twips.height());
}

QPushButton* ChooseButton(QWidget* parent, const char* name, QRect twips) {
    return Place(new QPushButton(Text(Tr("Выбрать файл")), parent), name, twips.x(), twips.y(),
                 twips.width(), twips.height());
}

void SetSliderQuietly(QSlider* slider, int value) {
    const QSignalBlocker quiet(slider);
    slider->setValue(value);
}

void SetCheckQuietly(QCheckBox* box, bool ticked) {
    const QSignalBlocker quiet(box);
    box->setChecked(ticked);
}

// Only the caption of a bold frame is bold; the controls inside keep the window's font.
void NormalFont(QWidget* frame) {
    const QFont normal = frame->window()->font();
    for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setFont(normal);
}

}  // namespace

FrmSettings::FrmSettings(SoundSystem& sound, QWidget* owner) : QDialog(owner), sound_(sound) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(Text(Tr("Settings")));
    // Tahoma for the controls: the stand-in for MS Sans Serif runs too wide for "Выключить"
    // in its 81-pixel boxes.
    setFont(MakeFont(FontSpec{FontFace::Tahoma, 8.25, false}));
    setFixedSize(TwipsSize(7245, 5670));
    BuildControls();
    Form_Load();
}

FrmSettings::~FrmSettings() {
    // The chooser goes with the window.
    delete frmOpen_.data();
}

void FrmSettings::BuildControls() {
    auto* frmControls = Frame(this, "frmControls", N_("Озвучивание основных событий"),
                              QRect(120, 120, 3495, 735), true);
    chkSoundControl_ = OffBox(frmControls, "chkSoundControl", QRect(120, 240, 1215, 375));

    auto* fraButton =
        Frame(this, "fraButton", N_("Основные события"), QRect(120, 960, 3495, 4575), true);
    cmbListEvents_ = Place(new QComboBox(fraButton), "cmbListEvents", 120, 360, 3255, 315);
    const char* names[2][5] = {
        {"fraFirstVar", "lblFirstVar", "sldVolBut1", "chkEnFirstVar", "cmdOpenFirst"},
        {"fraSecondVar", "lblSecondVar", "sldVolBut2", "chkEnSecondVar", "cmdOpenSecond"}};
    const std::string_view captions[2] = {N_("Первый вариант"), N_("Второй вариант")};
    for (int i = 0; i < 2; ++i) {
        Variant& v = variants_[i];
        v.frame = Frame(fraButton, names[i][0], captions[i],
                        QRect(120, i == 0 ? 840 : 2760, 3255, 1695), false);
        v.label =
            Place(new QLabel(QStringLiteral("Empty"), v.frame), names[i][1], 240, 240, 2775, 375);
        v.volume = Slider(v.frame, names[i][2], QRect(120, 600, 3015, 495), -2500, 0, 1000, 250);
        v.off = OffBox(v.frame, names[i][3], QRect(i == 0 ? 120 : 240, 1200, 1335, 375));
        v.open = ChooseButton(v.frame, names[i][4], QRect(1680, 1200, 1335, 375));
    }

    auto* fraBkg = Frame(this, "fraBkg", N_("Фоновая музыка"), QRect(3840, 120, 3255, 2175), true);
    lblFile_ = Place(new QLabel(QStringLiteral("Empty"), fraBkg), "lblFile", 120, 240, 2895, 255);
    sldVolBackgrnd_ =
        Slider(fraBkg, "sldVolBackgrnd", QRect(120, 600, 3015, 495), -2500, 0, 1000, 250);
    sldChange_ =
        Slider(fraBkg, "sldChange", QRect(120, 1080, 2295, 495), 0, kMaxSpeedChange, 2, 100);
    txtChange_ =
        Place(new QLineEdit(QStringLiteral("Text1"), fraBkg), "txtChange", 2520, 1080, 615, 375);
    chkEnable_ = OffBox(fraBkg, "chkEnable", QRect(120, 1680, 1215, 375));
    cmdOpen_ = ChooseButton(fraBkg, "cmdOpen", QRect(1680, 1680, 1335, 375));
    for (QWidget* frame : {static_cast<QWidget*>(frmControls), static_cast<QWidget*>(fraButton),
                           static_cast<QWidget*>(fraBkg)})
        NormalFont(frame);

    cmdOk_ = Place(new QPushButton(Text(Tr("OK")), this), "cmdOk", 5880, 5040, 1215, 495);
    // No button is the default: Enter in the speed box must not open a chooser or close.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Check boxes and sliders act on the player's own changes only ("clicked" and
    // "valueChanged" while the window is not filling them in).
    connect(chkSoundControl_, &QCheckBox::clicked, this,
            [this](bool ticked) { sound_.EnableSoundControl = !ticked; });
    connect(cmbListEvents_, &QComboBox::currentIndexChanged, this,
            [this] { cmbListEvents_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(variants_[i].off, &QCheckBox::clicked, this,
                [this, i](bool ticked) { VariantChannel(i).DMCtrlEnabled(!ticked); });
        connect(variants_[i].volume, &QSlider::valueChanged, this, [this, i](int value) {
            VariantChannel(i).DMCtrlVolume(static_cast<int16_t>(value));
        });
        connect(variants_[i].open, &QPushButton::clicked, this,
                [this, i] { cmdOpenVariant_Click(i); });
    }
    connect(chkEnable_, &QCheckBox::clicked, this,
            [this](bool ticked) { SetBkgMusicOff(sound_, ticked); });
    connect(sldVolBackgrnd_, &QSlider::valueChanged, this, [this](int value) {
        SetBkgMusicVolume(sound_, static_cast<int16_t>(value));
        cmdOk_->setFocus();
    });
    connect(sldChange_, &QSlider::valueChanged, this, [this](int value) {
        SetPanSpeed(sound_, static_cast<int16_t>(value));
        const QSignalBlocker quiet(txtChange_);
        txtChange_->setText(QString::number(value));
    });
    connect(txtChange_, &QLineEdit::textChanged, this, [this] { txtChange_Change(); });
    connect(cmdOpen_, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    connect(cmdOk_, &QPushButton::clicked, this, [this] { accept(); });
}

void FrmSettings::Form_Load() {
    SetSliderQuietly(sldVolBackgrnd_, sound_.bkg.BkgVolume);
    SetCheckQuietly(chkEnable_, !sound_.EnableLoop());
    SetCheckQuietly(chkSoundControl_, !sound_.EnableSoundControl);
    lblFile_->setText(QString::fromStdString(Get_File_Name(sound_.PathToBkgMusic)));
    for (const EventEntry& entry : ListEvents())
        cmbListEvents_->addItem(Text(Tr(entry.caption)));
    cmbListEvents_->setCurrentIndex(0);
    SetSliderQuietly(sldChange_, sound_.SpeedChange);
    // The box shows the setting itself, quietly, so that opening the window never changes it
    // (the slider cannot show a speed outside 0 to 500 from a hand-edited file).
    const QSignalBlocker quiet(txtChange_);
    txtChange_->setText(QString::number(sound_.SpeedChange));
}

void FrmSettings::cmbListEvents_Click() {
    const int index = cmbListEvents_->currentIndex();
    if (index < 0)
        return;
    const bool two = ListEvents()[static_cast<size_t>(index)].second.has_value();
    variants_[1].frame->setVisible(two);
    FillVariant(0);
    if (two)
        FillVariant(1);
}

DMCtrl& FrmSettings::VariantChannel(int Index) {
    const EventEntry& entry =
        ListEvents()[static_cast<size_t>(std::max(0, cmbListEvents_->currentIndex()))];
    return *sound_.Get(Index == 1 && entry.second ? *entry.second : entry.first);
}

void FrmSettings::FillVariant(int Index) {
    const DMCtrl& channel = VariantChannel(Index);
    Variant& v = variants_[Index];
    v.label->setText(QString::fromStdString(Get_File_Name(channel.DMCtrlPath())));
    SetSliderQuietly(v.volume, channel.DMCtrlVolume());
    SetCheckQuietly(v.off, !channel.DMCtrlEnabled());
}

FrmOpen& FrmSettings::Chooser() {
    if (frmOpen_.isNull())
        frmOpen_ = new FrmOpen(this);
    return *frmOpen_;
}

std::optional<QString> FrmSettings::Choose(const std::string& folder) {
    FrmOpen& chooser = Chooser();
    chooser.SetPath(QString::fromStdString(folder));
    const int result = chooser.exec();
    if (frmOpen_.isNull())
        return std::nullopt;  // gone with the window meanwhile
    if (result != QDialog::Accepted || frmOpen_->NameFile.isEmpty()) {
        // Closed without a pick: the chooser is unloaded; the next one starts afresh.
        frmOpen_->deleteLater();
        frmOpen_.clear();
        return std::nullopt;
    }
    return frmOpen_->PathToFile;
}

void FrmSettings::cmdOpenVariant_Click(int Index) {
    const std::optional<QString> path = Choose(Get_Folder(VariantChannel(Index).DMCtrlPath()));
    if (!path)
        return;
    variants_[Index].label->setText(frmOpen_->NameFile);
    VariantChannel(Index).DMCtrlPath(path->toStdString());
}

void FrmSettings::cmdOpen_Click() {
    const std::optional<QString> path = Choose(Get_Folder(sound_.PathToBkgMusic));
    if (path)
        lblFile_->setText(frmOpen_->NameFile);
    ChooseBkgMusic(sound_, path ? std::optional<std::string>(path->toStdString()) : std::nullopt,
                   static_cast<int16_t>(sldVolBackgrnd_->value()));
}

void FrmSettings::txtChange_Change() {
    const SpeedText read = ReadSpeedText(txtChange_->text().toStdString());
    if (read.tooLarge) {
        txtChange_->setText(QString::number(kMaxSpeedChange));  // comes back through here
        txtChange_->selectAll();
        return;
    }
    SetPanSpeed(sound_, read.speed);
    SetSliderQuietly(sldChange_, read.speed);
}

}  // namespace vorblin
