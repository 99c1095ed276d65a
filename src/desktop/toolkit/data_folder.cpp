#include "desktop/toolkit/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "core/base/translation.h"
#include "core/sound/sound_settings_file.h"

namespace vorblin {

namespace {
// Where the player's own data folder is ($XDG_DATA_HOME/vorblin), made or not.
std::string OwnFolderPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}
}  // namespace

std::string DataFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    if (IsInstalledCopy(program.toStdString(), VORBLIN_SHIPPED_RELATIVE)) {
        // Not even a probe goes into the prefix. A folder that cannot be made loses the
        // settings and the table of this run, which is better than a root-owned file in it.
        const std::string own = PlayerDataFolder();
        return own.empty() ? OwnFolderPath() : own;
    }
    // Permission bits do not tell the whole story (read-only mounts, ACLs): try it.
    QTemporaryFile probe(program + QStringLiteral("/.vorblin-write-test-XXXXXX"));
    if (probe.open())
        return program.toStdString();
    const std::string own = PlayerDataFolder();
    return own.empty() ? program.toStdString() : own;
}

std::string ShippedFolder() {
    // Set by the build from the install layout (games/ to share/vorblin/): relative, so the
    // installed tree can be moved or unpacked anywhere.
    return ShippedFolder(QCoreApplication::applicationDirPath().toStdString(),
                         VORBLIN_SHIPPED_RELATIVE);
}

std::string TranslationsFolder() {
    return LocaleFolder(QCoreApplication::applicationDirPath().toStdString(),
                        VORBLIN_SHIPPED_RELATIVE);
}

std::string PlayerDataFolder() {
    const QString own = QString::fromStdString(OwnFolderPath());
    if (own.isEmpty() || !QDir().mkpath(own))
        return {};
    return own.toStdString();
}

}  // namespace vorblin
