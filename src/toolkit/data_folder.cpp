#include "toolkit/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace vorblin {

std::string DataFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    // Permission bits do not tell the whole story (read-only mounts, ACLs): try it.
    QTemporaryFile probe(program + QStringLiteral("/.vorblin-write-test-XXXXXX"));
    if (probe.open())
        return program.toStdString();
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (own.isEmpty() || !QDir().mkpath(own))
        return program.toStdString();
    return own.toStdString();
}

std::string PlayerDataFolder() {
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (own.isEmpty() || !QDir().mkpath(own))
        return {};
    return own.toStdString();
}

}  // namespace vorblin
