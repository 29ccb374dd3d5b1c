// The application's names and look, set before the window is built.
#include "app/start_up.h"

#include "toolkit/control.h"

#include <QGuiApplication>

void prepare_application() {
    // Fixed here rather than taken from the program file's name, which a link
    // or a copy can change; the menu entry's StartupWMClass says the same.
    QCoreApplication::setApplicationName(QStringLiteral("tallywick"));
    QGuiApplication::setDesktopFileName(QStringLiteral(TALLYWICK_APP_ID));
    tk::enable_visual_styles();
}
