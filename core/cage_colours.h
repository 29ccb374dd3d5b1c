// The eight cage colours by colour code: the colours the game paints and the colours whose
// differences the colour-vision measure weighs. Plain C++, no Qt.
#pragma once

#include <array>
#include <cstdint>

namespace core {

// Red, green and blue, 0 to 255; every colour is opaque.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb white = {255, 255, 255};

// Slot 0 is white, the colour of every code outside 1 to 8.
inline constexpr std::array<Rgb, 9> cage_colours = {{
    white,
    {127, 127, 255}, // 1 light blue
    {127, 255, 127}, // 2 light green
    {127, 255, 255}, // 3 light cyan
    {255, 127, 127}, // 4 light red
    {255, 127, 255}, // 5 light magenta
    {255, 255, 127}, // 6 light yellow
    {190, 127, 190}, // 7 dull purple
    {190, 190, 127}, // 8 dull olive
}};

inline constexpr int first_cage_code = 1;
inline constexpr int last_cage_code = 8;

// The background of a cell of the given colour code; any unlisted code, 0 and negative ones
// included, is white.
constexpr Rgb cage_colour(std::int32_t code) {
    return code >= first_cage_code && code <= last_cage_code ? cage_colours[code] : white;
}

} // namespace core
