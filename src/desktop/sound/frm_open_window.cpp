#include "desktop/sound/frm_open_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>

#include "core/base/translation.h"
#include "desktop/toolkit/data_folder.h"
#include "desktop/toolkit/fonts.h"
#include "desktop/toolkit/qt_convert.h"

namespace vorblin {

namespace {

constexpr int kFolderRole = Qt::UserRole;

bool Removable(const QStorageInfo& volume) {
    static const QStringList kNetwork = {"nfs",        "nfs4",  "cifs",  "smb3",        "smbfs",
                                         "fuse.sshfs", "sshfs", "davfs", "fuse.davfs2", "9p"};
    const QString root = volume.rootPath();
    return kNetwork.contains(QString::fromUtf8(volume.fileSystemType())) ||
           root.startsWith(QStringLiteral("/media/")) ||
           root.startsWith(QStringLiteral("/run/media/")) ||
           root.startsWith(QStringLiteral("/mnt/"));
}

// A folder whose entries can be listed.
bool Readable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

QStringList BrowsingRoots() {
    QStringList roots = {QStringLiteral("/"), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (Removable(volume) && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    return roots;
}

FrmOpen::FrmOpen(QWidget* owner, QStringList drives)
    : QDialog(owner), drives_(drives.isEmpty() ? BrowsingRoots() : std::move(drives)) {
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(Text(Tr("Открыть")));
    setFont(MakeFont(FontSpec{FontFace::MsSansSerif, 8.25, false}));
    setFixedSize(TwipsSize(5655, 4050));
    drvOpen_ = new QComboBox(this);
    drvOpen_->setObjectName(QStringLiteral("drvOpen"));
    drvOpen_->setGeometry(TwipsRect(120, 120, 2655, 315));
    drvOpen_->addItems(drives_);
    dirOpen_ = new QListWidget(this);
    dirOpen_->setObjectName(QStringLiteral("dirOpen"));
    dirOpen_->setGeometry(TwipsRect(120, 600, 2655, 3240));
    filOpen_ = new QListWidget(this);
    filOpen_->setObjectName(QStringLiteral("filOpen"));
    filOpen_->setGeometry(TwipsRect(2880, 120, 2655, 3795));

    connect(drvOpen_, &QComboBox::activated, this, [this](int index) { drvOpen_Change(index); });
    connect(dirOpen_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { dirOpen_Change(item->data(kFolderRole).toString()); });
    connect(filOpen_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { filOpen_Click(item); });
    connect(filOpen_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { filOpen_Click(item); });
    SetPath(QString());
}

void FrmOpen::SetPath(const QString& sPath) {
    if (shown_)
        return;  // a chooser left open from an earlier pick keeps its place
    ShowFolder(Readable(sPath) ? QDir(sPath).absolutePath()
                               : QString::fromStdString(ShippedFolder()));
}

int FrmOpen::exec() {
    NameFile.clear();
    PathToFile.clear();
    shown_ = true;
    return QDialog::exec();
}

int FrmOpen::DriveOf(const QString& folder) const {
    int best = -1;
    qsizetype length = -1;
    for (int i = 0; i < drives_.size(); ++i) {
        const QString root = QDir(drives_[i]).absolutePath();
        const bool contains = folder == root || root == QStringLiteral("/") ||
                              folder.startsWith(root + QLatin1Char('/'));
        if (contains && root.size() > length) {
            best = i;
            length = root.size();
        }
    }
    return best;
}

void FrmOpen::drvOpen_Change(int index) {
    const QString drive = drives_.value(index);
    if (Readable(drive)) {
        ShowFolder(QDir(drive).absolutePath());
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Vorblin Cascade"), Text(Tr("Устройство не готово")));
    const QSignalBlocker quiet(drvOpen_);
    drvOpen_->setCurrentIndex(DriveOf(folder_));
}

void FrmOpen::dirOpen_Change(const QString& folder) {
    if (Readable(folder))
        ShowFolder(folder);
}

void FrmOpen::ShowFolder(const QString& folder) {
    folder_ = folder;
    {
        const QSignalBlocker quiet(drvOpen_);
        drvOpen_->setCurrentIndex(DriveOf(folder_));
    }
    // The folder list: the way down from the root, indented, then the folders inside.
    dirOpen_->clear();
    QStringList chain;
    for (QDir up(folder_);;) {
        chain.prepend(up.absolutePath());
        if (!up.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = path == QStringLiteral("/") ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, dirOpen_);
        item->setData(kFolderRole, path);
        ++depth;
    }
    dirOpen_->setCurrentRow(static_cast<int>(chain.size()) - 1);
    const QDir here(folder_);
    for (const QString& name :
         here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, dirOpen_);
        item->setData(kFolderRole, here.absoluteFilePath(name));
    }
    // Name filters of QDir ignore letter case: "*.wav" also lists "*.WAV".
    filOpen_->clear();
    filOpen_->addItems(
        here.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void FrmOpen::filOpen_Click(QListWidgetItem* item) {
    NameFile = item->text();
    PathToFile = QDir(folder_).absoluteFilePath(NameFile);
    accept();
}

}  // namespace vorblin
