// Which attempt makes each puzzle, as catalogue_generator --from-scratch chose them.
#pragma once

#include <array>

namespace tallywick {

// Index is the puzzle number; 0 for puzzle 1 (written by hand) and for
// puzzle 12 (it comes with puzzle 5).
// clang-format off
inline constexpr std::array<int, 117> puzzle_attempts = {
    0, 0, 39, 189, 122, 1, 1176, 81, 264, 88,
    1, 340, 0, 62, 20, 165, 50, 134, 313, 74,
    943, 30, 39, 14, 103, 9, 112, 83, 418, 29,
    36, 9, 67, 298, 660, 26, 41, 138, 52, 4,
    9, 49, 42, 36, 173, 18, 4, 151, 36, 96,
    13, 3, 249, 44, 172, 140, 41, 73, 54, 67,
    130, 9, 18, 29, 24, 31, 115, 23, 11, 80,
    226, 3, 55, 112, 489, 26, 53, 32, 26, 4,
    554, 18, 43, 195, 63, 228, 67, 476, 69, 55,
    159, 90, 113, 21, 13, 500, 14, 76, 554, 41,
    416, 109, 42, 237, 11, 121, 253, 258, 2, 43,
    57, 127, 1346, 112, 6, 279, 162,
};

// The least number of neighbouring cage pairs with confusable colours that the
// colouring search proved possible for each puzzle's layout.
inline constexpr std::array<int, 117> puzzle_confusable_pairs = {
    0, 0, 2, 1, 3, 1, 1, 2, 0, 2,
    3, 2, 1, 3, 1, 3, 1, 3, 1, 1,
    4, 3, 4, 2, 1, 3, 2, 1, 1, 1,
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0,
};
// clang-format on

} // namespace tallywick
