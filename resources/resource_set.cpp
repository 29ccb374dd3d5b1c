// Key-to-file table of the window's pictures and the lookups over it.
#include "resource_set.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmapCache>

#include <array>

namespace resource_set {
namespace {

struct Entry {
    QStringView key;
    QStringView file; // path in the compiled-in resources
};

// The menu bar tiles the same picture as the window: one file, so that it is
// decoded once and the two can never differ.
constexpr std::array<Entry, 10> entries{{
    {u"$this.BackgroundImage", u":/window_background.png"},
    {u"$this.Icon", u":/window_icon.ico"},
    {u"menuStrip1.BackgroundImage", u":/window_background.png"},
    {u"pictureBox_black_background.Image", u":/grid_frame.jpg"},
    {u"pictureBox_help_background.Image", u":/help.png"},
    {u"pictureBox_completed.Image", u":/panel_completed.bmp"},
    {u"pictureBox_correct.Image", u":/panel_correct.bmp"},
    {u"pictureBox_incorrect_solution.Image", u":/panel_incorrect_solution.bmp"},
    {u"pictureBox_invalid_number.Image", u":/panel_invalid_number.bmp"},
    {u"pictureBox_select_level.Image", u":/panel_select_level.bmp"},
}};

QString file_of(QStringView key) {
    for (const Entry& entry : entries) {
        if (entry.key == key) {
            return entry.file.toString();
        }
    }
    return {};
}

// The file's format, from its ending: a reader told it need not probe every
// image plugin to find it.
QByteArray format_of(const QString& file) {
    return file.section(u'.', -1).toLatin1();
}

// Every image in the file: an icon file holds several, other files one.
QList<QImage> all_images(const QString& file) {
    QImageReader reader(file, format_of(file));
    QList<QImage> found;
    for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i)) {
            break;
        }
        if (QImage image = reader.read(); !image.isNull()) {
            found.append(std::move(image));
        }
    }
    return found;
}

// The largest image in the file.
QImage largest_image(const QString& file) {
    QImage largest;
    for (const QImage& image : all_images(file)) {
        if (image.width() > largest.width()) {
            largest = image;
        }
    }
    return largest;
}

// The opaque image with a palette of exactly its colours; a null image where
// it has more than 256 of them.
QImage with_exact_palette(const QImage& image) {
    // Open addressing over four times the most colours a palette holds; a pixel
    // like the one before it (most are) skips the look-up.
    constexpr unsigned table_size = 1024;
    std::array<QRgb, table_size> colour_at{};
    std::array<int, table_size> index_at;
    index_at.fill(-1);
    QList<QRgb> palette;
    QImage indexed(image.size(), QImage::Format_Indexed8);
    QRgb last = 0;
    int last_index = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = in[x];
            if (pixel != last || last_index < 0) {
                unsigned slot = (pixel * 2654435761u) >> 22;
                while (index_at[slot] >= 0 && colour_at[slot] != pixel) {
                    slot = (slot + 1) % table_size;
                }
                if (index_at[slot] < 0) {
                    if (palette.size() == 256) {
                        return {};
                    }
                    colour_at[slot] = pixel;
                    index_at[slot] = int(palette.size());
                    palette.append(pixel);
                }
                last = pixel;
                last_index = index_at[slot];
            }
            out[x] = uchar(last_index);
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

} // namespace

QImage image(QStringView key) {
    const QString file = file_of(key);
    return file.isEmpty() ? QImage() : largest_image(file);
}

QImage compact_image(QStringView key) {
    QImage decoded = image(key);
    if (decoded.format() != QImage::Format_RGB32) {
        return decoded;
    }
    QImage indexed = with_exact_palette(decoded);
    return indexed.isNull() ? decoded : indexed;
}

QSize size(QStringView key) {
    const QString file = file_of(key);
    return file.isEmpty() ? QSize() : QImageReader(file, format_of(file)).size();
}

QPixmap picture(QStringView key) {
    const QString file = file_of(key);
    if (file.isEmpty()) {
        return {};
    }
    // Qt's pixmap cache keeps a decoded file for the next key that names it.
    QPixmap decoded;
    if (!QPixmapCache::find(file, &decoded)) {
        decoded = QPixmap::fromImage(largest_image(file));
        QPixmapCache::insert(file, decoded);
    }
    return decoded;
}

QList<QImage> images(QStringView key) {
    const QString file = file_of(key);
    return file.isEmpty() ? QList<QImage>() : all_images(file);
}

QIcon icon(const QList<QImage>& images) {
    QIcon icon;
    for (const QImage& image : images) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QIcon icon(QStringView key) {
    return icon(images(key));
}

QByteArray bytes(QStringView key) {
    const QString file = file_of(key);
    if (file.isEmpty()) {
        return {};
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    return in.readAll();
}

} // namespace resource_set
