// The picture generator: draws every picture of the game and writes them into a directory.
#include "pictures.h"

#include "resources/picture_texts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

// Pictures carry 96 dots per inch, so no file depends on the screen of the machine drawing it.
constexpr int dots_per_metre = 3780;

QByteArray encode(QImage image, const char* format, int quality = -1) {
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        throw std::runtime_error("cannot encode a picture as " + std::string(format) + ": " +
                                 writer.errorString().toStdString());
    }
    return bytes;
}

void write_file(const QDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + file.fileName().toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    std::printf("wrote %s (%lld bytes)\n", qPrintable(file.fileName()),
                static_cast<long long>(bytes.size()));
}

struct Panel {
    const char* file;
    const char16_t* key; // the resource key, which names the message in picture_texts
    int width, height;
    int left, top, right, bottom; // inclusive pixel box the lettering must stay inside
};

// Each message stays inside its box, which ends at least 15 rows above the first control
// (button or number field) that the window lays over the panel.
const Panel panels[] = {
    {"panel_completed.bmp", u"pictureBox_completed.Image", 233, 150, 33, 16, 193, 85},
    {"panel_correct.bmp", u"pictureBox_correct.Image", 233, 150, 47, 28, 176, 66},
    {"panel_incorrect_solution.bmp", u"pictureBox_incorrect_solution.Image", 233, 150, 37, 20, 198,
     86},
    {"panel_invalid_number.bmp", u"pictureBox_invalid_number.Image", 233, 153, 49, 22, 179, 61},
    {"panel_select_level.bmp", u"pictureBox_select_level.Image", 233, 198, 40, 14, 188, 82},
};

void generate(const QDir& dir) {
    const QImage background = pictures::window_background();
    const QByteArray background_png = encode(background, "png");
    // The menu bar tiles this very picture too (the resource set gives it to
    // both), so that no seam shows between bar and window.
    write_file(dir, "window_background.png", background_png);
    write_file(dir, "window_icon.ico", pictures::window_icon_file());
    // Software centres want the icon larger than the window needs it: these go to the icon
    // theme only, not into the program.
    for (const int size : {64, 128, 256}) {
        write_file(dir, QStringLiteral("window_icon_%1.png").arg(size),
                   encode(pictures::theme_icon(size), "png"));
    }
    write_file(dir, "window_icon.svg", pictures::scalable_icon());
    write_file(dir, "grid_frame.jpg", encode(pictures::grid_frame(), "jpeg", 92));
    write_file(dir, "help.png", encode(pictures::help_picture(background), "png"));
    for (const Panel& panel : panels) {
        const pictures::PanelText text{picture_texts::panel_lines(panel.key), panel.left, panel.top,
                                       panel.right, panel.bottom};
        write_file(dir, panel.file,
                   encode(pictures::panel(panel.width, panel.height, text), "bmp"));
    }
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen: run on the offscreen platform unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists()) {
        std::fprintf(stderr, "picture_generator: no such directory: %s\n", argv[1]);
        return 1;
    }
    try {
        generate(dir);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "picture_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
