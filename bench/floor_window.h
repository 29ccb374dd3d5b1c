// The floor window: the game's window size and child count built from stock Qt widgets only.
#pragma once

#include <QWidget>

namespace bench {

// Fills a bare window with one stock widget for each control of the game and
// gives it the game's size.
void populate_floor_window(QWidget& window);

} // namespace bench
