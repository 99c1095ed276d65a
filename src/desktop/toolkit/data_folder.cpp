#include "desktop/toolkit/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "core/sound/sound_settings_file.h"

namespace vorblin {

std::string DataFolder() {
    const QString program = QCoreApplication::applicationDirPath();
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

std::string PlayerDataFolder() {
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (own.isEmpty() || !QDir().mkpath(own))
        return {};
    return own.toStdString();
}

}  // namespace vorblin
