// The window background gradient and the dark grid frame.
#include "pictures.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <cmath>

namespace pictures {
namespace {

constexpr int background_width = 800;
constexpr int background_height = 600;
// The light falls from just above the top edge, a little left of the centre.
constexpr double light_x = 280;
constexpr double light_y = 20;
// Rounds the tip of the cone of distances so the lightest spot is soft, not a point.
constexpr double tip_radius = 24;

double distance_from_light(double x, double y) {
    const double d = std::hypot(x - light_x, y - light_y);
    return std::sqrt(d * d + tip_radius * tip_radius) - tip_radius;
}

// The colours the gradient must pass through, from the lightest spot outwards.
struct Anchor {
    double x, y;
    double r, g, b;
};
constexpr std::array<Anchor, 6> anchors{{
    {light_x, light_y, 0x41, 0x64, 0xFE}, // lightest spot
    {0, 0, 0x31, 0x50, 0xD0},             // top-left corner
    {400, 300, 0x2F, 0x4D, 0xCB},         // centre
    {799, 0, 0x21, 0x3C, 0xA6},           // top-right corner
    {0, 599, 0x1A, 0x34, 0x93},           // bottom-left corner
    {799, 599, 0x12, 0x29, 0x7C},         // bottom-right corner
}};

// A smooth curve through points (x[i], y[i]) that never overshoots between them
// (monotone cubic Hermite interpolation); flat beyond the ends.
class MonotoneCurve {
public:
    MonotoneCurve(std::array<double, 6> x, std::array<double, 6> y) : x_(x), y_(y) {
        std::array<double, 5> slope{};
        for (std::size_t i = 0; i < 5; ++i) {
            slope[i] = (y_[i + 1] - y_[i]) / (x_[i + 1] - x_[i]);
        }
        tangent_[0] = slope[0];
        tangent_[5] = slope[4];
        for (std::size_t i = 1; i < 5; ++i) {
            tangent_[i] = slope[i - 1] * slope[i] <= 0 ? 0 : (slope[i - 1] + slope[i]) / 2;
        }
        for (std::size_t i = 0; i < 5; ++i) {
            if (slope[i] == 0) {
                tangent_[i] = tangent_[i + 1] = 0;
                continue;
            }
            const double a = tangent_[i] / slope[i];
            const double b = tangent_[i + 1] / slope[i];
            const double h = a * a + b * b;
            if (h > 9) {
                const double t = 3 / std::sqrt(h);
                tangent_[i] = t * a * slope[i];
                tangent_[i + 1] = t * b * slope[i];
            }
        }
    }

    double operator()(double x) const {
        if (x <= x_[0]) {
            return y_[0];
        }
        if (x >= x_[5]) {
            return y_[5];
        }
        std::size_t i = 0;
        while (x > x_[i + 1]) {
            ++i;
        }
        const double h = x_[i + 1] - x_[i];
        const double t = (x - x_[i]) / h;
        const double t2 = t * t;
        const double t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * y_[i] + (t3 - 2 * t2 + t) * h * tangent_[i] +
               (-2 * t3 + 3 * t2) * y_[i + 1] + (t3 - t2) * h * tangent_[i + 1];
    }

private:
    std::array<double, 6> x_, y_;
    std::array<double, 6> tangent_{};
};

// 4 x 4 ordered dither, so the 256 palette steps never show as bands.
constexpr std::array<std::array<int, 4>, 4> bayer{{
    {{0, 8, 2, 10}},
    {{12, 4, 14, 6}},
    {{3, 11, 1, 9}},
    {{15, 7, 13, 5}},
}};

} // namespace

QImage window_background() {
    std::array<double, 6> distance{}, red{}, green{}, blue{};
    for (std::size_t i = 0; i < anchors.size(); ++i) {
        distance[i] = distance_from_light(anchors[i].x, anchors[i].y);
        red[i] = anchors[i].r;
        green[i] = anchors[i].g;
        blue[i] = anchors[i].b;
    }
    const MonotoneCurve red_at(distance, red), green_at(distance, green), blue_at(distance, blue);
    const double farthest = distance.back();

    QImage image(background_width, background_height, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i) {
        const double d = farthest * i / 255.0;
        palette.append(qRgb(qRound(red_at(d)), qRound(green_at(d)), qRound(blue_at(d))));
    }
    image.setColorTable(palette);
    for (int y = 0; y < background_height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < background_width; ++x) {
            const double step = distance_from_light(x, y) / farthest * 255.0;
            const double dither = (bayer[y % 4][x % 4] + 0.5) / 16.0 - 0.5;
            line[x] = static_cast<uchar>(std::clamp(qRound(step + dither), 0, 255));
        }
    }
    return image;
}

QImage grid_frame() {
    constexpr int size = 469;
    QImage image(size, size, QImage::Format_RGB32);
    // Charcoal, faintly lighter towards the top centre.
    const QColor light(0x2E, 0x2F, 0x33);
    const QColor dark(0x12, 0x12, 0x15);
    const double reach = std::hypot(size / 2.0, double(size));
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double t = std::hypot(x - size / 2.0, double(y)) / reach;
            const double s = t * t * (3 - 2 * t);
            line[x] = qRgb(qRound(light.red() + (dark.red() - light.red()) * s),
                           qRound(light.green() + (dark.green() - light.green()) * s),
                           qRound(light.blue() + (dark.blue() - light.blue()) * s));
        }
    }
    return image;
}

} // namespace pictures
