// Start-up of the game's window, built exactly as the program's entry builds it, to its first
// frame.
#include "app/start_up.h"
#include "first_frame_probe.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    bench::mark("main");
    // The same steps as the program's entry; the probe only watches.
    QApplication application(argc, argv);
    bench::mark("application");
    prepare_application();
    bench::mark("style");

    Form1 window;
    bench::mark("window");
    bench::FirstFrameProbe probe(window);
    window.show();
    bench::mark("shown");
    return application.exec();
}
