#pragma once
// frmSettings: the event sounds (one or two variants per event, each with its file, switch
// and volume), the master switch, and the background music with its file, switch, volume
// and pan sweep speed. Every change goes to the sound at once; the file is written later.

#include <QDialog>
#include <QPointer>

#include "core/sound/sound_system.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vorblin {

class FrmOpen;

class FrmSettings final : public QDialog {
  public:
    FrmSettings(SoundSystem& sound, QWidget* owner);
    ~FrmSettings() override;

  private:
    // The chooser for the next "Выбрать файл", made on first use.
    FrmOpen& Chooser();

    struct Variant {
        QGroupBox* frame;
        QLabel* label;
        QSlider* volume;
        QCheckBox* off;
        QPushButton* open;
    };

    void BuildControls();
    void Form_Load();
    void cmbListEvents_Click();
    DMCtrl& VariantChannel(int Index);
    void FillVariant(int Index);
    void cmdOpenVariant_Click(int Index);
    void cmdOpen_Click();
    void txtChange_Change();
    // Shows the chooser at a folder; the picked file's path, or nothing.
    std::optional<QString> Choose(const std::string& folder);

    SoundSystem& sound_;
    QCheckBox* chkSoundControl_;
    QComboBox* cmbListEvents_;
    Variant variants_[2];
    QLabel* lblFile_;
    QSlider* sldVolBackgrnd_;
    QSlider* sldChange_;
    QLineEdit* txtChange_;
    QCheckBox* chkEnable_;
    QPushButton* cmdOpen_;
    QPushButton* cmdOk_;
    QPointer<FrmOpen> frmOpen_;
};

}  // namespace vorblin
