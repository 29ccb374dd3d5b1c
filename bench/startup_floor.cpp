// Start-up of the floor window, a bare Qt program of the game's size and child count, to its first
// frame.
#include "first_frame_probe.h"
#include "floor_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    bench::mark("main");
    QApplication application(argc, argv);
    bench::mark("application");
    QWidget window;
    bench::populate_floor_window(window);
    bench::mark("window");
    bench::FirstFrameProbe probe(window);
    window.show();
    bench::mark("shown");
    return application.exec();
}
