// Simulated colour vision, CIELAB and CIEDE2000 for the cage colours.
#include "colour_difference.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tallywick {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes (2009), severity 1.0, for linear RGB. Every row sums to 1,
// so white and the greys stay as they are.
constexpr Matrix protanopia_matrix = {{
    {0.152286, 1.052583, -0.204868},
    {0.114503, 0.786281, 0.099216},
    {-0.003882, -0.048116, 1.051998},
}};
constexpr Matrix deuteranopia_matrix = {{
    {0.367322, 0.860646, -0.227968},
    {0.280085, 0.672501, 0.047413},
    {-0.011820, 0.042940, 0.968881},
}};
constexpr Matrix tritanopia_matrix = {{
    {1.255528, -0.076749, -0.178779},
    {-0.078411, 0.930809, 0.147602},
    {0.004733, 0.691367, 0.303900},
}};

// Linear sRGB to CIE XYZ, D65; each row sums to the white point's X, Y and Z.
constexpr Matrix xyz_matrix = {{
    {0.4124564, 0.3575761, 0.1804375},
    {0.2126729, 0.7151522, 0.0721750},
    {0.0193339, 0.1191920, 0.9503041},
}};
constexpr std::array<double, 3> white = {0.95047, 1.0, 1.08883};

Linear apply(const Matrix& m, const Linear& v) {
    Linear out{};
    for (std::size_t r = 0; r < 3; ++r) {
        out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
    }
    return out;
}

double lab_f(double t) {
    constexpr double delta = 6.0 / 29.0;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29.0;
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}
double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Hue angle in degrees, 0 to 360; 0 for a grey.
double hue(double b, double a) {
    if (a == 0 && b == 0) {
        return 0;
    }
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
}

} // namespace

const char* vision_name(Vision vision) {
    switch (vision) {
    case Vision::normal:
        return "normal";
    case Vision::protanopia:
        return "protanopia";
    case Vision::deuteranopia:
        return "deuteranopia";
    case Vision::tritanopia:
        return "tritanopia";
    }
    return "";
}

Linear to_linear(const Rgb& colour) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return {channel(colour.red), channel(colour.green), channel(colour.blue)};
}

Linear simulate(const Linear& colour, Vision vision) {
    Linear out = colour;
    switch (vision) {
    case Vision::normal:
        return out;
    case Vision::protanopia:
        out = apply(protanopia_matrix, colour);
        break;
    case Vision::deuteranopia:
        out = apply(deuteranopia_matrix, colour);
        break;
    case Vision::tritanopia:
        out = apply(tritanopia_matrix, colour);
        break;
    }
    for (double& c : out) {
        c = std::clamp(c, 0.0, 1.0);
    }
    return out;
}

Lab to_lab(const Linear& colour) {
    const Linear xyz = apply(xyz_matrix, colour);
    const double fx = lab_f(xyz[0] / white[0]);
    const double fy = lab_f(xyz[1] / white[1]);
    const double fz = lab_f(xyz[2] / white[2]);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// Sharma, Wu and Dalal's formulation, hue means and differences taken the short way round.
double ciede2000(const Lab& first, const Lab& second) {
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double c_mean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(c_mean7 / (c_mean7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * first.a;
    const double a2 = (1 + g) * second.a;
    const double cp1 = std::hypot(a1, first.b);
    const double cp2 = std::hypot(a2, second.b);
    const double hp1 = hue(first.b, a1);
    const double hp2 = hue(second.b, a2);

    const double dl = second.l - first.l;
    const double dc = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = hp2 - hp1;
        if (dh > 180) {
            dh -= 360;
        } else if (dh < -180) {
            dh += 360;
        }
    }
    const double big_dh = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));

    const double l_mean = (first.l + second.l) / 2;
    const double cp_mean = (cp1 + cp2) / 2;
    double hp_mean = hp1 + hp2;
    if (cp1 * cp2 != 0) {
        if (std::abs(hp1 - hp2) <= 180) {
            hp_mean /= 2;
        } else if (hp1 + hp2 < 360) {
            hp_mean = (hp1 + hp2 + 360) / 2;
        } else {
            hp_mean = (hp1 + hp2 - 360) / 2;
        }
    }
    const double t =
        1 - 0.17 * std::cos(radians(hp_mean - 30)) + 0.24 * std::cos(radians(2 * hp_mean)) +
        0.32 * std::cos(radians(3 * hp_mean + 6)) - 0.20 * std::cos(radians(4 * hp_mean - 63));
    const double d_theta = 30 * std::exp(-std::pow((hp_mean - 275) / 25, 2));
    const double cp_mean7 = std::pow(cp_mean, 7);
    const double rc = 2 * std::sqrt(cp_mean7 / (cp_mean7 + std::pow(25.0, 7)));
    const double l50 = (l_mean - 50) * (l_mean - 50);
    const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sc = 1 + 0.045 * cp_mean;
    const double sh = 1 + 0.015 * cp_mean * t;
    const double rt = -std::sin(radians(2 * d_theta)) * rc;
    const double tl = dl / sl;
    const double tc = dc / sc;
    const double th = big_dh / sh;
    return std::sqrt(tl * tl + tc * tc + th * th + rt * tc * th);
}

double difference(const Rgb& first, const Rgb& second, Vision vision) {
    return ciede2000(to_lab(simulate(to_linear(first), vision)),
                     to_lab(simulate(to_linear(second), vision)));
}

double worst_difference(int first, int second) {
    double worst =
        difference(core::cage_colours.at(first), core::cage_colours.at(second), Vision::normal);
    for (Vision vision : visions) {
        worst = std::min(
            worst, difference(core::cage_colours.at(first), core::cage_colours.at(second), vision));
    }
    return worst;
}

bool confusable(int first, int second) {
    return worst_difference(first, second) < confusable_below;
}

} // namespace tallywick
