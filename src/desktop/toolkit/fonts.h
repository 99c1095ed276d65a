#pragma once
// The layout names Windows fonts; these are their stand-ins on this system.

#include <QFont>

#include "core/rules/frm_main_layout.h"

namespace vorblin {

// Finds a Tahoma, the system's or Wine's (once per process); call after the application
// starts.
void RegisterFonts();

QFont MakeFont(const FontSpec& wanted);

}  // namespace vorblin
