#include "toolkit/colour_button.h"

#include "toolkit/qt_colour.h"

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
    const QString backName = ToQColor(back).name(), foreName = ToQColor(fore).name();
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; padding: 0px;"
                                 " border: 2px outset %3; }"
                                 "QPushButton:pressed, QPushButton:checked {"
                                 " border: 2px inset %3; }"
                                 "QPushButton:disabled { color: %2; }")
                      .arg(backName, foreName, ToQColor(back).lighter(160).name()));
}

}  // namespace vorblin
