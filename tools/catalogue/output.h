// The catalogue as the generator builds it, and its rendering as the tables' C++ source.
#pragma once

#include "catalogue/catalogue_size.h"

#include <array>
#include <cstdint>
#include <string>

namespace tallywick {

struct Catalogue {
    std::array<std::array<std::int32_t, 82>, catalogue_rows> level{};
    std::array<std::array<std::int32_t, 82>, catalogue_rows> color{};
    std::array<std::array<std::int32_t, 83>, catalogue_rows> sum_label{};
    std::array<std::array<std::int32_t, 83>, catalogue_rows> sum_label_visible{};
};

// The whole of catalogue/tables.cpp: literal tables, one board row of nine values per line.
std::string render_tables(const Catalogue& catalogue);

} // namespace tallywick
