// Start-up of the game's window, built exactly as the program's entry builds it, to its first
// frame.
#include "first_frame_probe.h"
#include "toolkit/control.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The same steps as the program's entry; the probe only watches.
    QApplication application(argc, argv);
    tk::enable_visual_styles();

    Form1 window;
    bench::FirstFrameProbe probe(window);
    window.show();
    return application.exec();
}
