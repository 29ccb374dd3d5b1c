// The puzzle catalogue: four constant tables indexed by puzzle number (row) and cell number (slot).
#pragma once

#include <cstdint>

// Rows 0 to 116: row 0 is all zero, rows 1 to 116 are the puzzles. Slot k is cell k (1 to 81);
// slot 0 is always 0, and so is slot 82 of the two label tables.
inline constexpr int catalogue_rows = 117;

extern const std::int32_t level_array[117][82];
extern const std::int32_t color_array[117][82];
extern const std::int32_t sum_label_array[117][83];
extern const std::int32_t sum_label_visible_array[117][83];
