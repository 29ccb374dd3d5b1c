// Colour codes for a cage layout: neighbouring cages never share a code, and every code of the
// puzzle's set is used.
#pragma once

#include "layouts.h"
#include "prng.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tallywick {

// Gives every cage one of `codes` so that cages sharing an edge differ and each code is used at
// least once; writes the code of each cell into `color` (slot 0 stays 0). False when no such
// colouring exists.
bool colour_layout(const Layout& layout, const std::vector<int>& codes, Prng& rng,
                   std::array<std::int32_t, 82>& color);

} // namespace tallywick
