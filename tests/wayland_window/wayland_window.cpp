// Opens the game's window on a running Wayland compositor as the program does, then maximizes,
// restores and closes it, each time waiting for the compositor's answer. Prints the client area
// and the whole window after each step and checks that the client area starts and comes back at
// 792 by 566 and that no visible control is cut. Exits 0 when all held and the window closed
// normally; a protocol error ends the process through Qt with status 1.
#include "app/start_up.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

const QSize client_size(792, 566);

bool wait_for(const std::function<bool()>& condition, int timeout_ms = 10000) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        if (condition()) {
            return true;
        }
        QTest::qWait(50);
    }
    return condition();
}

// The compositor's configure events and Qt's answers, a missed one included, have come and gone.
void settle() {
    QTest::qWait(1000);
}

void report(const char* step, const Form1& window) {
    const QMargins m = window.windowHandle()->frameMargins();
    std::printf("%s: client %dx%d, window %dx%d (frame %d,%d,%d,%d)%s\n", step, window.width(),
                window.height(), window.frameGeometry().width(), window.frameGeometry().height(),
                m.left(), m.top(), m.right(), m.bottom(),
                window.isMaximized() ? ", maximized" : "");
    std::fflush(stdout);
}

// Every control a player can see lies wholly inside the client area.
bool nothing_cut(const Form1& window) {
    bool whole = true;
    for (const tk::Control* control : window.Controls()) {
        const QWidget* w = control->widget();
        if (w->isVisible() && !window.rect().contains(w->geometry())) {
            std::printf("cut: %s at %d,%d %dx%d\n", qPrintable(w->objectName()), w->x(), w->y(),
                        w->width(), w->height());
            whole = false;
        }
    }
    return whole;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    prepare_application();
    Form1 window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::puts("FAIL: the window was never shown");
        return 2;
    }
    settle();
    report("start", window);
    bool ok = true;
    if (window.size() != client_size) {
        std::puts("FAIL: the client area at start is not 792x566");
        ok = false;
    }

    window.showMaximized();
    if (!wait_for([&] { return window.isMaximized() && window.size() != client_size; })) {
        std::puts("FAIL: the compositor did not maximize the window");
        ok = false;
    }
    // Drawn afresh, as a pointer moving over it would have it: the compositor sees the size the
    // window took.
    window.repaint();
    settle();
    report("maximized", window);
    if (window.width() < client_size.width() || window.height() < client_size.height() ||
        !nothing_cut(window)) {
        std::puts("FAIL: the maximized window cuts the board or the buttons");
        ok = false;
    }

    window.showNormal();
    wait_for([&] { return !window.isMaximized() && window.size() == client_size; });
    settle();
    report("restored", window);
    if (window.isMaximized() || window.size() != client_size) {
        std::puts("FAIL: the restored window's client area is not 792x566");
        ok = false;
    }

    QTimer::singleShot(0, &window, &QWidget::close);
    const int status = application.exec();
    std::printf("closed: event loop ended with %d\n", status);
    return ok ? status : 3;
}
