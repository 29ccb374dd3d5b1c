// The window icon: a glossy silver button with a 3 x 3 grid, packed into an .ico file, and the
// same button for the icon theme at larger sizes and as SVG.
#include "pictures.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <QtEndian>

#include <stdexcept>

namespace pictures {
namespace {

constexpr int icon_sizes[] = {48, 32, 24, 16};
// Each size is drawn this many times larger and scaled down, for clean edges at 16 pixels.
constexpr int oversample = 8;

// The button on a square of side s, from the painter's origin.
void paint_icon(QPainter& painter, double s) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(0.03 * s, 0.03 * s, 0.94 * s, 0.94 * s);
    QRadialGradient face(QPointF(0.38 * s, 0.30 * s), 0.75 * s);
    face.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    face.setColorAt(0.55, QColor(0xDD, 0xE0, 0xE6));
    face.setColorAt(1.0, QColor(0x9C, 0xA3, 0xAE));
    painter.setPen(QPen(QColor(0x6E, 0x76, 0x82), 0.045 * s));
    painter.setBrush(face);
    painter.drawEllipse(disc);

    // The gloss: a soft white crescent over the upper half.
    QLinearGradient gloss(0, 0.06 * s, 0, 0.5 * s);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 200));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawEllipse(QRectF(0.17 * s, 0.07 * s, 0.66 * s, 0.42 * s));

    // The grid of the board: nine dark rounded squares.
    const double square = 0.16 * s;
    const double gap = 0.045 * s;
    const double start = (s - 3 * square - 2 * gap) / 2;
    painter.setBrush(QColor(0x3C, 0x40, 0x48));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF box(start + column * (square + gap), start + row * (square + gap), square,
                             square);
            painter.drawRoundedRect(box, 0.22 * square, 0.22 * square);
        }
    }
}

QImage draw_icon(int size) {
    const int big = size * oversample;
    QImage image(big, big, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint_icon(painter, big);
    painter.end();
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

void put16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void put32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

// One icon image in the .ico's bitmap form: a header of double height, the colour rows
// bottom-up as blue, green, red, alpha, then the one-bit transparency mask, also bottom-up.
QByteArray icon_bitmap(const QImage& image) {
    const int n = image.width();
    const int mask_stride = ((n + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(n));
    put32(out, quint32(2 * n));
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    put32(out, 0);  // no compression
    put32(out, quint32(n * n * 4 + mask_stride * n));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = n - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < n; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
            out.append(char(qAlpha(line[x])));
        }
    }
    for (int y = n - 1; y >= 0; --y) {
        QByteArray row(mask_stride, '\0');
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < n; ++x) {
            if (qAlpha(line[x]) == 0) {
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace

QImage theme_icon(int size) {
    return draw_icon(size);
}

QByteArray scalable_icon() {
    // Drawn on a 256 unit square; a software centre scales it to any size.
    constexpr int side = 256;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(side, side));
    generator.setViewBox(QRect(0, 0, side, side));
    // At 96 dots per inch one unit is one pixel, so the file says it is 256 pixels wide.
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Tallywick"));
    generator.setDescription(QStringLiteral("A glossy silver button carrying a 3 x 3 grid"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        throw std::runtime_error("cannot draw the scalable icon");
    }
    paint_icon(painter, side);
    painter.end();
    return bytes;
}

QByteArray window_icon_file() {
    QList<QByteArray> bitmaps;
    for (int size : icon_sizes) {
        bitmaps.append(icon_bitmap(draw_icon(size)));
    }
    QByteArray out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, quint16(bitmaps.size()));
    quint32 offset = 6 + 16 * quint32(bitmaps.size());
    for (int i = 0; i < bitmaps.size(); ++i) {
        out.append(char(icon_sizes[i]));
        out.append(char(icon_sizes[i]));
        out.append(char(0)); // no palette
        out.append(char(0));
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(bitmaps[i].size()));
        put32(out, offset);
        offset += quint32(bitmaps[i].size());
    }
    for (const QByteArray& bitmap : bitmaps) {
        out.append(bitmap);
    }
    return out;
}

} // namespace pictures
