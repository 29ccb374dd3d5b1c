// The start-up floor: a bare Qt Widgets window of the game's size and child count.
#include "floor_window.h"

#include "core/cells.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace bench {
namespace {

QRect rect_of(const core::Bounds& b) {
    return {b.x, b.y, b.width, b.height};
}

} // namespace

// Builds the window from stock widgets only, one for each control of the game:
// 82 line edits (81 cells and the number field), 84 labels, 12 push buttons,
// 2 radio buttons, 7 plain picture widgets and a menu bar, 188 children in all,
// the 13 of the overlay panels hidden as the game's are.
void populate_floor_window(QWidget& window) {
    auto* frame = new QWidget(&window);
    frame->setGeometry(54, 48, 468, 468);
    frame->setAutoFillBackground(true);
    QPalette black = frame->palette();
    black.setColor(QPalette::Window, Qt::black);
    frame->setPalette(black);

    // The same places as the game's grid.
    for (int k = 1; k <= core::cell_count; ++k) {
        auto* cell = new QLineEdit(&window);
        cell->setGeometry(rect_of(core::cell_bounds(k)));
        auto* sum = new QLabel(QStringLiteral("45"), &window);
        sum->setGeometry(rect_of(core::sum_label_bounds(k)));
    }
    const struct {
        const char* text;
        int x;
        int y;
    } level_labels[] = {{"Current", 581, 51}, {"Level", 634, 89}, {"1", 681, 118}};
    for (const auto& l : level_labels) {
        auto* label = new QLabel(QString::fromLatin1(l.text), &window);
        label->move(l.x, l.y);
        label->adjustSize();
    }
    const char* commands[] = {"Start",       "Show a Cell", "Show All",
                              "Skip Puzzle", "Clear Cells", "Check"};
    int y = 200;
    for (const char* text : commands) {
        auto* button = new QPushButton(QString::fromLatin1(text), &window);
        button->setGeometry(610, y, 98, 30);
        y += 50;
    }
    auto* pen = new QRadioButton(QStringLiteral("Pen"), &window);
    pen->move(618, 6);
    pen->setChecked(true);
    auto* pencil = new QRadioButton(QStringLiteral("Pencil"), &window);
    pencil->move(691, 6);

    auto* bar = new QMenuBar(&window);
    bar->setGeometry(0, 0, 792, 32);
    QMenu* difficulty = bar->addMenu(QStringLiteral("Difficulty"));
    for (const char* text : {"Easy", "Normal", "Hard"}) {
        difficulty->addAction(QString::fromLatin1(text))->setCheckable(true);
    }
    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    for (const char* text : {"How to play", "Restart", "Select Puzzle"}) {
        options->addAction(QString::fromLatin1(text));
    }

    // The overlay panels: six pictures with their buttons and the number field, all hidden.
    for (int i = 0; i < 6; ++i) {
        auto* picture = new QWidget(&window);
        picture->setGeometry(174, 191, 233, 150);
        picture->hide();
        auto* button = new QPushButton(QStringLiteral("Continue"), &window);
        button->setGeometry(238, 282, 95, 26);
        button->hide();
    }
    auto* number = new QLineEdit(&window);
    number->setGeometry(252, 282, 57, 26);
    number->hide();

    window.resize(792, 566);
}

} // namespace bench
