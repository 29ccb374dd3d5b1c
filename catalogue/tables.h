// The puzzle catalogue: four constant tables indexed by puzzle number (row) and cell number (slot).
#pragma once

#include "catalogue/catalogue_size.h"

#include <cstdint>

// One row per puzzle number (catalogue_size.h); tables.cpp writes the row count out, and a count
// that differs from catalogue_rows does not compile against these declarations. Slot k is cell k (1
// to 81); slot 0 is always 0, and so is slot 82 of the two label tables.
extern const std::int32_t level_array[catalogue_rows][82];
extern const std::int32_t color_array[catalogue_rows][82];
extern const std::int32_t sum_label_array[catalogue_rows][83];
extern const std::int32_t sum_label_visible_array[catalogue_rows][83];
