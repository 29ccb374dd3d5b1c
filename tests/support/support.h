// What the test suites share: showing a window, where a cell is clicked, a picture's pixels, the
// last puzzle, the colour of a colour code, the one rule for the three cell texts, and the one seed
// of every randomised test.
#pragma once

#include "catalogue/catalogue_size.h"
#include "core/cage_colours.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace support {

// Shows the window and waits until it is the active one, so that keys and focus act as for a
// player.
inline bool show_active(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Where a player clicks a cell: below the sum label in its top-left corner, in the line where
// pencil marks show.
inline QPoint cell_click_point() {
    return {26, 40};
}

// A picture's pixels, as the screen holds them, to compare pixel by pixel.
inline QImage rgb(const QPixmap& picture) {
    return picture.toImage().convertToFormat(QImage::Format_RGB32);
}

// The last puzzle the game plays, as the player types and reads it.
inline const QString last_puzzle = QString::number(last_playable_puzzle);

// The colour the game paints for a colour code, from the game's one table (core_test pins it to
// the designed colours).
inline QColor cage_colour(int code) {
    const core::Rgb rgb = core::cage_colour(code);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The three forms a cell's text may take, and anything else.
enum class CellForm { Empty, Answer, Pencil, Broken };

// Written out character by character, on purpose unlike the game's own test: "" is empty; one
// character 1 to 9 is an answer; a carriage return and a line feed followed by at most nine
// digits 1 to 9 are pencil marks; everything else is broken.
inline CellForm cell_form(const QString& text) {
    const auto mark = [](QChar c) { return c.unicode() >= '1' && c.unicode() <= '9'; };
    if (text.isEmpty()) {
        return CellForm::Empty;
    }
    if (text.size() == 1) {
        return mark(text[0]) ? CellForm::Answer : CellForm::Broken;
    }
    if (text.size() > 11 || text[0] != QChar(13) || text[1] != QChar(10)) {
        return CellForm::Broken;
    }
    for (qsizetype i = 2; i < text.size(); ++i) {
        if (!mark(text[i])) {
            return CellForm::Broken;
        }
    }
    return CellForm::Pencil;
}

inline bool is_cell_form(const QString& text) {
    return cell_form(text) != CellForm::Broken;
}

// The seed of every randomised test: TALLYWICK_TEST_SEED replays a run, otherwise a fresh one is
// drawn. Either way it is printed, with the line that replays it. The monkey test still honours
// its older name, TALLYWICK_MONKEY_SEED, given as `also`.
inline unsigned long long test_seed(const char* also = nullptr) {
    unsigned long long seed = 0;
    const char* given = std::getenv("TALLYWICK_TEST_SEED");
    if ((given == nullptr || *given == '\0') && also != nullptr) {
        given = std::getenv(also);
    }
    if (given != nullptr && *given != '\0') {
        seed = std::strtoull(given, nullptr, 10);
    } else {
        std::random_device entropy;
        seed = (static_cast<unsigned long long>(entropy()) << 32) | entropy();
    }
    std::printf("seed %llu (replay with TALLYWICK_TEST_SEED=%llu)\n", seed, seed);
    std::fflush(stdout);
    return seed;
}

} // namespace support
