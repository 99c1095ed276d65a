#include <QApplication>
#include <QDir>

#include "shell/frm_main_window.h"
#include "toolkit/desktop_platform.h"

int main(int argc, char** argv) {
    vorblin::PreferX11UnderWayland();
    QApplication app(argc, argv);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    vorblin::FrmMain window;
    window.show();
    window.Well()->setFocus();
    return app.exec();
}
