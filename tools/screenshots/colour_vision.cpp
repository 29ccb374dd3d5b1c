// Shows puzzles as players with each kind of colour vision see them: the board of each puzzle
// named on the command line, captured from the screen, beside the same board through simulated
// protanopia, deuteranopia and tritanopia, one PNG per puzzle.
#include "colour_difference.h"
#include "toolkit/control.h"
#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int to_srgb(double linear) {
    const double c =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

// The picture as seen with `vision`, pixel by pixel in linear light.
QImage as_seen(const QImage& picture, tallywick::Vision vision) {
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const tallywick::Linear seen =
                tallywick::simulate(tallywick::to_linear({qRed(p), qGreen(p), qBlue(p)}), vision);
            line[x] = qRgb(to_srgb(seen[0]), to_srgb(seen[1]), to_srgb(seen[2]));
        }
    }
    return out;
}

// Starts puzzle `number` through the puzzle-selection panel, as a player does.
void start_puzzle(Form1& window, int number) {
    window.selectPuzzleToolStripMenuItem->PerformClick();
    QTest::keyClicks(window.maskedTextBox_select_level, QString::number(number));
    QTest::mouseClick(window.button_level_select_continue, Qt::LeftButton);
    QApplication::processEvents();
}

// The four views side by side, each captioned.
QImage side_by_side(const QImage& board, int number) {
    constexpr int caption = 24;
    constexpr int gap = 8;
    QImage strip(4 * board.width() + 3 * gap, board.height() + caption, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    int x = 0;
    for (tallywick::Vision vision : tallywick::visions) {
        const QString title = vision == tallywick::Vision::normal
                                  ? QStringLiteral("Puzzle %1, full colour vision").arg(number)
                                  : QString::fromLatin1(tallywick::vision_name(vision));
        painter.drawText(QRect(x, 0, board.width(), caption), Qt::AlignCenter, title);
        painter.drawImage(x, caption, as_seen(board, vision));
        x += board.width() + gap;
    }
    return strip;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tk::enable_visual_styles();
    if (argc < 3) {
        std::fprintf(stderr, "usage: colour_vision FOLDER PUZZLE...\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "colour_vision: cannot make %s\n", qPrintable(dir.path()));
        return 1;
    }
    // A fixed seed reveals the same cells each run: the pictures change only with the game.
    Form1 window(1);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "colour_vision: the window was never shown\n");
        return 1;
    }
    QRect board = window.textBox[1]->geometry();
    for (int k = 2; k <= 81; ++k) {
        board = board.united(window.textBox[k]->geometry());
    }
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        const int number = std::atoi(argv[i]);
        start_puzzle(window, number);
        QTest::qWait(200);
        // What the display shows, not what the widgets would draw off screen.
        const QImage shot =
            window.screen()
                ->grabWindow(window.winId(), board.x(), board.y(), board.width(), board.height())
                .toImage();
        const QString path =
            dir.filePath(QStringLiteral("colour-vision-puzzle-%1.png").arg(number));
        if (shot.isNull() || !side_by_side(shot, number).save(path)) {
            std::fprintf(stderr, "colour_vision: cannot write %s\n", qPrintable(path));
            ok = false;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return ok ? 0 : 1;
}
