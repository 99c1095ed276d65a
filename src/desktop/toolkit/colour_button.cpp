#include "desktop/toolkit/colour_button.h"

#include "desktop/toolkit/qt_colour.h"

namespace vorblin {

ColourButton::ColourButton(QWidget* parent, const QString& caption, Colour fore, Colour back)
    : QPushButton(caption, parent), fore_(fore), back_(~back) {
    SetColours(fore, back);
}

void ColourButton::SetColours(Colour fore, Colour back) {
    if (fore == fore_ && back == back_)
        return;
    fore_ = fore;
    back_ = back;
    // An outset border shaded from the back colour; a black button gets a grey edge.
    const QColor edge = back == kBlack ? QColor(128, 128, 128) : ToQColor(back);
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; padding: 0px;"
                                 " border: 2px outset %3; }"
                                 "QPushButton:pressed, QPushButton:checked {"
                                 " border: 2px inset %3; padding-top: 2px; padding-left: 2px; }"
                                 "QPushButton:disabled { color: %2; }")
                      .arg(ToQColor(back).name(), ToQColor(fore).name(), edge.name()));
}

}  // namespace vorblin
