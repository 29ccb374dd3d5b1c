// Notes when a window's first frame is painted, and the memory in use then, prints both and quits.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// The resident set size of this process in KiB, read from /proc/self/status
// (0 where that file cannot be read).
inline long resident_kib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

// Nanoseconds on the monotonic clock, the clock the runner reads before it
// starts this process, so the two can be subtracted.
inline long long monotonic_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Named moments of the start-up, in the order they happen, printed with the frame.
inline std::vector<std::pair<const char*, long long>>& marks() {
    static std::vector<std::pair<const char*, long long>> noted;
    return noted;
}

inline void mark(const char* name) {
    marks().emplace_back(name, monotonic_ns());
}

// Watches one window. At the window's first paint event it notes the time;
// once control is back in the event loop (the whole frame painted and handed
// to the platform) it notes the time and the memory again, prints one JSON
// line on standard output and quits the application. A window that never
// paints ends the run with a message after a time-out.
class FirstFrameProbe : public QObject {
public:
    explicit FirstFrameProbe(QWidget& window, int timeout_ms = 30000) : window_(window) {
        window_.installEventFilter(this);
        QTimer::singleShot(timeout_ms, this, [] {
            std::fputs("first_frame_probe: the window painted no frame in time\n", stderr);
            QCoreApplication::exit(2);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && paint_ns_ == 0) {
            paint_ns_ = monotonic_ns();
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return false;
    }

private:
    void report() {
        const long long frame_ns = monotonic_ns();
        const long rss = resident_kib();
        const auto children = window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size();
        std::printf("{\"marks\": {");
        for (const auto& [name, ns] : marks()) {
            std::printf("\"%s\": %lld, ", name, ns);
        }
        std::printf("\"paint\": %lld}, \"paint_ns\": %lld, \"frame_ns\": %lld, \"rss_kib\": %ld, "
                    "\"children\": %lld, \"width\": %d, \"height\": %d}\n",
                    paint_ns_, paint_ns_, frame_ns, rss, static_cast<long long>(children),
                    window_.width(), window_.height());
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QWidget& window_;
    long long paint_ns_ = 0;
};

} // namespace bench
