// Puzzle 1 as the game ships it: the one row of the catalogue that is written by hand.
#pragma once

#include <array>
#include <cstdint>

namespace tallywick::puzzle_one {

// Slot k is cell k; cells are numbered right to left within a row, so each line below is one
// board row read from its right-hand end. Slot 0, and slot 82 of the label tables, is 0.
// clang-format off
inline constexpr std::array<std::int32_t, 82> level = {
    0,
     6,  2,  7,  1,  3,  9,  8,  4,  5,
     9,  3,  1,  4,  8,  5,  7,  6,  2,
     4,  8,  5,  6,  2,  7,  1,  9,  3,
     3,  4,  6,  5,  7,  8,  9,  2,  1,
     5,  9,  8,  2,  1,  4,  6,  3,  7,
     1,  7,  2,  3,  9,  6,  4,  5,  8,
     7,  5,  9,  8,  6,  2,  3,  1,  4,
     2,  6,  3,  7,  4,  1,  5,  8,  9,
     8,  1,  4,  9,  5,  3,  2,  7,  6,
};

inline constexpr std::array<std::int32_t, 82> color = {
    0,
     2,  3,  2,  3,  3,  5,  5,  3,  2,
     3,  3,  5,  1,  1,  5,  6,  2,  5,
     6,  6,  5,  5,  1,  6,  2,  3,  5,
     6,  6,  6,  2,  5,  5,  3,  1,  1,
     3,  3,  3,  3,  3,  1,  3,  2,  2,
     3,  2,  5,  5,  2,  1,  2,  2,  3,
     2,  2,  5,  5,  6,  3,  2,  5,  6,
     6,  6,  5,  3,  6,  3,  1,  5,  6,
     6,  3,  3,  3,  3,  1,  1,  1,  1,
};

inline constexpr std::array<std::int32_t, 83> sum_label = {
    0,
     6, 14,  7,  0,  4,  0, 22,  4,  5,
     0,  0, 12,  0, 14,  0,  7,  6,  5,
     0, 25,  0,  0,  0,  7,  1,  9,  0,
     0,  0,  0,  5,  0, 15, 15,  0,  3,
     0,  0,  0,  0, 26, 10,  0,  0, 22,
     0, 19,  0, 25,  9,  0,  0,  0,  8,
     0,  0,  0,  0, 10,  3,  0,  9, 13,
     0, 16,  0, 26,  0,  0, 23,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,
    0,
};

inline constexpr std::array<std::int32_t, 83> sum_label_visible = {
    0,
     1,  1,  1,  0,  1,  0,  1,  1,  1,
     0,  0,  1,  0,  1,  0,  1,  1,  1,
     0,  1,  0,  0,  0,  1,  1,  1,  0,
     0,  0,  0,  1,  0,  1,  1,  0,  1,
     0,  0,  0,  0,  1,  1,  0,  0,  1,
     0,  1,  0,  1,  1,  0,  0,  0,  1,
     0,  0,  0,  0,  1,  1,  0,  1,  1,
     0,  1,  0,  1,  0,  0,  1,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,
    0,
};
// clang-format on

} // namespace tallywick::puzzle_one
