// The program's entry: checks for a display, opens the window and runs until it is closed.
#include "app/start_up.h"
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

int main(int, char* argv[]) {
    if (!display_available()) {
        const char* name = argv[0] != nullptr ? argv[0] : "tallywick";
        std::fprintf(stderr,
                     "tallywick: no display found (DISPLAY is not set); run it on a desktop, or "
                     "headless with: xvfb-run -a %s\n",
                     name);
        return 1;
    }
    // The game takes no arguments, and Qt is handed none either: its own options
    // (-reverse, -stylesheet, -qwindowtitle, -style ...) would retitle, resize,
    // mirror or restyle the window and read files. Only the program's name goes
    // on; the platform is still chosen through Qt's environment variables.
    int qt_argc = 1;
    // A program started with no arguments at all has no name in argv[0].
    char fallback_name[] = "tallywick";
    char* qt_argv[] = {argv[0] != nullptr ? argv[0] : fallback_name, nullptr};
    QApplication application(qt_argc, qt_argv);
    prepare_application();

    Form1 window;
    window.show();
    application.exec();
    return 0;
}
