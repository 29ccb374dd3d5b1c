// How big the puzzle catalogue is and how much of it can be played: for the game, its tools and
// its tests alike. Plain C++, no Qt.
#pragma once

// Each table has one row per puzzle number, 0 to 116. Row 0 is all zero, so
// loading puzzle 0 empties the working arrays; rows 1 to 116 are the puzzles.
inline constexpr int catalogue_rows = 117;
inline constexpr int catalogue_puzzles = catalogue_rows - 1;

// The game loads the rows below level_array_size, which it sets to
// loadable_rows once its window is built: puzzles 1 to 115 can be played, and
// the last row of the catalogue is held but never loaded.
inline constexpr int last_playable_puzzle = 115;
inline constexpr int loadable_rows = last_playable_puzzle + 1;

static_assert(last_playable_puzzle >= 1 && last_playable_puzzle <= catalogue_puzzles,
              "the last playable puzzle must be a puzzle of the catalogue");
