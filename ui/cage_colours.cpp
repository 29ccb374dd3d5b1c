// Cage colours: paints the cells or the sum labels from the shown puzzle's colour codes.
#include "ui/form1.h"

namespace {

// Colour code to cage background; any other code is white.
const QColor cage_colours[9] = {
    QColor(255, 255, 255), // no code
    QColor(127, 127, 255), // 1 light blue
    QColor(127, 255, 127), // 2 light green
    QColor(127, 255, 255), // 3 light cyan
    QColor(255, 127, 127), // 4 light red
    QColor(255, 127, 255), // 5 light magenta
    QColor(255, 255, 127), // 6 light yellow
    QColor(190, 127, 190), // 7 dull purple
    QColor(190, 190, 127), // 8 dull olive
};

QColor cage_colour(std::int32_t code) {
    return code >= 1 && code <= 8 ? cage_colours[code] : cage_colours[0];
}

} // namespace

// The n-th control of the kind met by the board walk takes the colour of
// cell n; hidden sum labels are painted as well.
void Form1::color_control(tk::Kind control_type) {
    const std::int32_t n_puzzle = puzzle_number();
    if (n_puzzle >= 0 && n_puzzle < level_array_size) {
        update_color_array();
    }
    walk_board(control_type, [this](tk::Control& c, int n) {
        c.SetBackColor(cage_colour(current_color_array[n]));
    });
}
