// The program's entry: checks for a display, opens the window and runs until it is closed.
#include "toolkit/control.h"
#include "ui/form1.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long message when it finds no display; say it in one line
// instead, with the way to run the game without a desktop.
bool display_available() {
    if (std::getenv("QT_QPA_PLATFORM") != nullptr) {
        return true;
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

} // namespace

int main(int argc, char* argv[]) {
    if (!display_available()) {
        std::fputs("tallywick: no display found (DISPLAY is not set); run it on a desktop, or "
                   "headless with: xvfb-run -a build/tallywick\n",
                   stderr);
        return 1;
    }
    // Arguments are not the game's to read; Qt alone looks at them.
    QApplication application(argc, argv);
    // Lets a desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tallywick.Tallywick"));
    tk::enable_visual_styles();

    Form1 window;
    window.show();
    application.exec();
    return 0;
}
