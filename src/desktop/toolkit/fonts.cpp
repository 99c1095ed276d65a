#include "desktop/toolkit/fonts.h"

#include <QFontDatabase>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cmath>

namespace vorblin {

namespace {
QString g_tahoma = QStringLiteral("DejaVu Sans");

QString Family(FontFace face) {
    switch (face) {
        case FontFace::Tahoma:
            return g_tahoma;
        case FontFace::TimesNewRoman:
            return QStringLiteral("Liberation Serif");
        case FontFace::CourierNew:
            return QStringLiteral("Liberation Mono");
        case FontFace::MsSansSerif:
            // Wine's MS Sans Serif has no Cyrillic letters.
            return QStringLiteral("DejaVu Sans");
    }
    return QStringLiteral("DejaVu Sans");
}
}  // namespace

void RegisterFonts() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // A Tahoma the system's fonts know (fontconfig answers Qt's font list) comes first.
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        g_tahoma = QStringLiteral("Tahoma");
        return;
    }
    // Otherwise Wine's, which has Cyrillic but lies outside fontconfig's folders: looked up
    // in the shared data folders (/usr/share, /usr/local/share, the player's own) and loaded
    // by file. Only the regular face: Wine's bold face draws no heavier, and without it the
    // font engine emboldens the regular one.
    const QString file = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                QStringLiteral("wine/fonts/tahoma.ttf"));
    if (file.isEmpty())
        return;
    const int id = QFontDatabase::addApplicationFont(file);
    if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty())
        g_tahoma = QFontDatabase::applicationFontFamilies(id).first();
}

QFont MakeFont(const FontSpec& wanted) {
    QFont font(Family(wanted.face));
    // Point sizes are those of a 96-dpi screen: 8.25 pt is 11 pixels.
    font.setPixelSize(static_cast<int>(std::lrint(wanted.points * 96.0 / 72.0)));
    font.setBold(wanted.bold);
    return font;
}

}  // namespace vorblin
