// Renders the window in a few moments of play to PNG files, for the README and for looking at
// changes.
#include "catalogue/tables.h"
#include "toolkit/control.h"
#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

bool save(Form1& window, const QDir& dir, const char* name) {
    QApplication::processEvents();
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// Clicks a cell and types into it as the player would.
void type_into(Form1& window, int cell, const char* keys) {
    QTest::mouseClick(window.textBox[cell], Qt::LeftButton);
    QTest::keyClicks(window.textBox[cell], QString::fromLatin1(keys));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tk::enable_visual_styles();
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "screenshots: cannot make %s\n", qPrintable(dir.path()));
        return 1;
    }
    bool ok = true;
    {
        // A fixed seed reveals the same cells each run: the pictures change only with the game.
        Form1 window(1);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "screenshots: the window was never shown\n");
            return 1;
        }
        ok &= save(window, dir, "window-start.png");

        // A game in progress: puzzle 1 started, some answers in pen, some marks in pencil.
        QTest::mouseClick(window.button4, Qt::LeftButton);
        int typed = 0;
        for (int k = 1; k <= 81 && typed < 12; k += 5) {
            if (window.textBox[k]->Text().isEmpty()) {
                const char digit[2] = {static_cast<char>('0' + level_array[1][k]), '\0'};
                type_into(window, k, digit);
                ++typed;
            }
        }
        QTest::mouseClick(window.radioButton1, Qt::LeftButton);
        int marked = 0;
        for (int k = 3; k <= 81 && marked < 6; k += 7) {
            if (window.textBox[k]->Text().isEmpty()) {
                type_into(window, k, marked % 2 ? "479" : "1256");
                ++marked;
            }
        }
        QTest::mouseClick(window.radioButton2, Qt::LeftButton);
        ok &= save(window, dir, "game-in-progress.png");

        QTest::mouseClick(window.button_request_level, Qt::LeftButton);
        QTest::mouseClick(window.button1, Qt::LeftButton);
        ok &= save(window, dir, "correct-panel.png");
        QTest::mouseClick(window.button_correct, Qt::LeftButton);

        window.howToPlayToolStripMenuItem->PerformClick();
        ok &= save(window, dir, "help-panel.png");
        QTest::mouseClick(window.button_help_exit, Qt::LeftButton);

        window.selectPuzzleToolStripMenuItem->PerformClick();
        QTest::keyClicks(window.maskedTextBox_select_level, QStringLiteral("12"));
        ok &= save(window, dir, "select-puzzle.png");
    }
    return ok ? 0 : 1;
}
