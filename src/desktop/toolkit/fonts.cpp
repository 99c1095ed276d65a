#include "desktop/toolkit/fonts.h"

#include <QFontDatabase>
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
    // fontconfig does not see Wine's fonts: load its Tahoma (which has Cyrillic) directly.
    // Only the regular face: Wine's bold face draws no heavier, and without it the
    // font engine emboldens the regular one.
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
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
