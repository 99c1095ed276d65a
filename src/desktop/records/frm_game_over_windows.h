#pragma once
// The two small modal windows of a game's end: the name entry and the new-game question.

#include <QDialog>
#include <QLineEdit>

#include "core/records/hall_of_fame.h"

namespace vorblin {

// frmEnterName: "UnNamed" preselected, at most 10 characters that the table file can carry;
// Enter anywhere acts as "Ok", only the close box cancels the record.
class FrmEnterName final : public QDialog {
  public:
    explicit FrmEnterName(QWidget* owner);
    QLineEdit* txtName() const { return txtName_; }
    // What the window handed back once it closed.
    NameEntry Result() const;

  protected:
    // Esc is the pause key: pressed as the game ends, it must not throw the record away.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* txtName_;
};

// frmGameOver: "Да" starts a new game, "Нет" and the close box end the program.
class FrmGameOver final : public QDialog {
  public:
    explicit FrmGameOver(QWidget* owner);
    bool blnContinue() const { return result() == QDialog::Accepted; }

  protected:
    // Esc is the pause key: pressed as the game ends, it must not end the program.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vorblin
