// The four loaders: copy the shown puzzle's row of one catalogue table into its working array.
#include "catalogue/tables.h"
#include "ui/form1.h"

#include <algorithm>

namespace {

// Copies slots 0 to 81 of row n, for a row that can be loaded; any other
// number loads nothing and the working array keeps what it held. Slot 82 of
// the two label tables is never read.
template <std::size_t Slots>
void load_row(std::array<std::int32_t, 82>& working,
              const std::int32_t (&table)[catalogue_rows][Slots], std::int32_t n,
              std::int32_t loadable) {
    if (n < 0 || n >= loadable || n >= catalogue_rows) {
        return;
    }
    std::copy_n(table[n], working.size(), working.begin());
}

} // namespace

void Form1::update_level_array() {
    load_row(current_level_array, level_array, puzzle_number(), level_array_size);
}

void Form1::update_color_array() {
    load_row(current_color_array, color_array, puzzle_number(), level_array_size);
}

void Form1::update_sum_label_array() {
    load_row(current_sum_label_array, sum_label_array, puzzle_number(), level_array_size);
}

void Form1::update_sum_label_visible_array() {
    load_row(current_sum_label_visible_array, sum_label_visible_array, puzzle_number(),
             level_array_size);
}
