// Colour codes for a cage layout: neighbouring cages never share a code, every code of the
// puzzle's set is used, and neighbouring cages get colours that every player can tell apart
// wherever the layout allows it.
#pragma once

#include "layouts.h"
#include "prng.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tallywick {

// Gives every cage one of `codes` so that cages sharing an edge differ, each code is used at
// least once and the number of neighbouring cage pairs with confusable colours is the least
// possible; writes the code of each cell into `color` (slot 0 stays 0) and returns that number.
// Nothing when no such colouring exists. `rng` only orders equally good codes.
std::optional<int> colour_layout(const Layout& layout, const std::vector<int>& codes, Prng& rng,
                                 std::array<std::int32_t, 82>& color);

// Neighbouring cage pairs of a row of colour codes whose colours are confusable.
int confusable_pairs(const std::array<std::int32_t, 82>& color);

} // namespace tallywick
