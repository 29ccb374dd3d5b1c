// The overlay panels: a bevelled blue plate with the message lettered in white.
#include "lettering.h"
#include "pictures.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pictures {
namespace {

const QString lettering_family = QStringLiteral("Dancing Script");
// Baselines of the message lines, as a multiple of the lettering size.
constexpr double lettering_pitch = 1.08;

QRgb mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(qRound(a.red() + (b.red() - a.red()) * t),
                qRound(a.green() + (b.green() - a.green()) * t),
                qRound(a.blue() + (b.blue() - a.blue()) * t));
}

// Lighter in the middle, the edge colour at the rim, and shaded towards the bottom-right corner.
void fill_plate(QImage& image) {
    const QColor centre(0x33, 0x52, 0xD6);
    const QColor edge(0x28, 0x44, 0xB8);
    const QColor shade(0x1C, 0x36, 0x98);
    const double half_w = image.width() / 2.0;
    const double half_h = image.height() / 2.0;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x + 0.5 - half_w) / half_w;
            const double dy = (y + 0.5 - half_h) / half_h;
            const double rim = std::min(1.0, std::hypot(dx, dy) / std::sqrt(2.0) * 1.25);
            const QColor base = QColor::fromRgb(mix(centre, edge, rim * rim));
            const double towards_corner = std::max(0.0, (dx + dy) / 2.0);
            line[x] = mix(base, shade, std::pow(towards_corner, 1.6));
        }
    }
}

// A thin bevel: a dark outline, then a lit top-left and a shaded bottom-right edge.
void draw_bevel(QImage& image) {
    QPainter painter(&image);
    const int w = image.width();
    const int h = image.height();
    const QColor outline(0x0F, 0x1C, 0x58);
    const QColor lit_outer(0x8A, 0xA0, 0xF4), lit_inner(0x5C, 0x78, 0xE8);
    const QColor shade_outer(0x12, 0x22, 0x6C), shade_inner(0x1A, 0x30, 0x88);

    painter.setPen(outline);
    painter.drawRect(0, 0, w - 1, h - 1);
    const QColor lit[] = {lit_outer, lit_inner};
    const QColor shaded[] = {shade_outer, shade_inner};
    for (int i = 0; i < 2; ++i) {
        const int a = 1 + i;
        painter.setPen(lit[i]);
        painter.drawLine(a, a, w - 1 - a, a);
        painter.drawLine(a, a, a, h - 1 - a);
        painter.setPen(shaded[i]);
        painter.drawLine(a + 1, h - 1 - a, w - 1 - a, h - 1 - a);
        painter.drawLine(w - 1 - a, a + 1, w - 1 - a, h - 1 - a);
    }
}

} // namespace

QImage panel(int width, int height, const PanelText& text) {
    QImage image(width, height, QImage::Format_RGB32);
    fill_plate(image);
    draw_bevel(image);

    const QRectF box(text.left, text.top, text.right - text.left + 1, text.bottom - text.top + 1);
    // The shadow sits 0.6 pixel down and right of the letters, so the letters leave it that room.
    const QPainterPath message = fitted_lines(lettering_family, QFont::Bold, text.lines,
                                              box.adjusted(0, 0, -0.6, -0.6), lettering_pitch, 40);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // A faint shadow lifts the letters off the plate.
    painter.setBrush(QColor(0x0A, 0x14, 0x48, 110));
    painter.drawPath(message.translated(0.6, 0.6));
    painter.setBrush(Qt::white);
    painter.drawPath(message);
    return image;
}

} // namespace pictures
