#include <QApplication>
#include <QDir>

#include "desktop/main/frm_main_window.h"
#include "desktop/main/start_options.h"
#include "desktop/toolkit/desktop_platform.h"

int main(int argc, char** argv) {
    vorblin::NameApplication();
    const vorblin::StartOptions options = vorblin::ParseCommandLine(argc, argv);
    if (options.exitStatus)
        return *options.exitStatus;
    vorblin::PreferX11UnderWayland();
    QApplication app(argc, argv);
    const std::string records = vorblin::RecordsFolder(options);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    vorblin::FrmMain window(nullptr, nullptr, {}, records);
    window.show();
    window.Well()->setFocus();
    return app.exec();
}
