#include <QApplication>
#include <QDir>
#include <iostream>

#include "desktop/main/frm_main_window.h"
#include "desktop/main/start_options.h"
#include "desktop/toolkit/desktop_platform.h"

int main(int argc, char** argv) {
    vorblin::NameApplication();
    const vorblin::StartOptions options = vorblin::ParseCommandLine(argc, argv);
    if (options.exitStatus)
        return *options.exitStatus;
    if (!options.windowSystemNamed && !vorblin::WindowSystemAtHand()) {
        std::cerr << "vorblin: no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
                     "are unset); start the game from a desktop session\n";
        return 1;
    }
    vorblin::PreferX11UnderWayland();
    QApplication app(argc, argv);
    vorblin::SpeakPlayersLanguage(options);
    const std::string records = vorblin::RecordsFolder(options);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    vorblin::FrmMain window(nullptr, nullptr, {}, records);
    window.show();
    window.Well()->setFocus();
    return app.exec();
}
