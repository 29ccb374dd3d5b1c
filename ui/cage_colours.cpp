// Cage colours: paints the cells or the sum labels from the shown puzzle's colour codes.
#include "ui/form1.h"

#include "core/cage_colours.h"

namespace {

QColor cage_colour(std::int32_t code) {
    const core::Rgb rgb = core::cage_colour(code);
    return QColor(rgb.red, rgb.green, rgb.blue);
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
