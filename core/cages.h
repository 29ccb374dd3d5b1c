// The cages of a board: each is a largest group of edge-joined cells of one colour code.
#pragma once

#include "core/cells.h"

#include <array>
#include <cstdint>
#include <span>

namespace core {

// Every cell's cage, as an index 0, 1, 2 ... given in the order of each cage's lowest cell
// number; slot 0 belongs to no cell. Nothing is allocated, so the game may walk its cages while
// it is played.
struct CageMap {
    std::array<int, cell_count + 1> cage_of{};
    int count = 0;
};

// The cages of a row of colour codes indexed by cell number (slots 1 to 81), by flood fill.
CageMap map_cages(std::span<const std::int32_t, cell_count + 1> codes);

} // namespace core
