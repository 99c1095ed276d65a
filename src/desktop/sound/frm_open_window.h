#pragma once
// frmOpen, the file chooser: a list of drives (the places a player browses from), the
// folders of the chosen one and the WAV files of the chosen folder. A click on a file picks
// it and hides the window; the close box leaves without a pick.

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace vorblin {

// The roots a player would browse: the file system's root, the home folder and each
// mounted removable or network file system.
QStringList BrowsingRoots();

class FrmOpen final : public QDialog {
  public:
    // drives: the drive list's entries; by default BrowsingRoots().
    explicit FrmOpen(QWidget* owner, QStringList drives = {});

    // The folder the lists show at the next opening of a fresh chooser; a folder that cannot
    // be entered (an empty text, a missing folder) gives the program's folder instead.
    void SetPath(const QString& sPath);

    // Read after the window returns: the picked file's name, and its full path.
    QString NameFile;
    QString PathToFile;

    // The folder the folder and file lists show.
    QString Folder() const { return folder_; }
    int exec() override;

  private:
    void drvOpen_Change(int index);
    void dirOpen_Change(const QString& folder);
    void filOpen_Click(QListWidgetItem* item);
    void ShowFolder(const QString& folder);
    // The drive list's entry holding the folder (the longest root that contains it).
    int DriveOf(const QString& folder) const;

    QComboBox* drvOpen_;
    QListWidget* dirOpen_;
    QListWidget* filOpen_;
    QStringList drives_;
    QString folder_;
    bool shown_ = false;  // the lists stay where they were left while the window lives
};

}  // namespace vorblin
