// How far apart two cage colours look, to a player with full colour vision and to players
// with each of the three dichromacies; the colouring keeps look-alike colours apart.
#pragma once

#include "core/cage_colours.h"

#include <array>

namespace tallywick {

// Red, green and blue, 0 to 255, as the cage colour table gives them.
using core::Rgb;

// CIE L*a*b* under the D65 white point.
struct Lab {
    double l = 0;
    double a = 0;
    double b = 0;
};

enum class Vision { normal, protanopia, deuteranopia, tritanopia };
inline constexpr std::array<Vision, 4> visions = {Vision::normal, Vision::protanopia,
                                                  Vision::deuteranopia, Vision::tritanopia};
const char* vision_name(Vision vision);

// Linear-light red, green and blue, each 0 to 1.
using Linear = std::array<double, 3>;

Linear to_linear(const Rgb& colour);
// The colour as a player with the given vision sees it: the full-severity simulation of
// Machado, Oliveira and Fernandes (2009) applied in linear light, clamped to 0..1.
Linear simulate(const Linear& colour, Vision vision);
Lab to_lab(const Linear& colour);
// The CIEDE2000 colour difference (kL = kC = kH = 1).
double ciede2000(const Lab& first, const Lab& second);

// The difference between two colours as seen with the given vision.
double difference(const Rgb& first, const Rgb& second, Vision vision);

// Two cage colours closer than this under some vision read as one cage.
inline constexpr double confusable_below = 10.0;

// The smallest difference between cage colours `first` and `second` (codes 1 to 8), as the game
// paints them, over the four visions, and whether that makes them confusable.
double worst_difference(int first, int second);
bool confusable(int first, int second);

} // namespace tallywick
