// Text outlines for the pictures: font lookup, centring, stacking and fitting into a box.
#include "lettering.h"

#include <QFontInfo>

#include <stdexcept>

namespace pictures {

QFont installed_font(const QString& family, QFont::Weight weight, double pixel_size) {
    QFont font(family);
    font.setWeight(weight);
    font.setPixelSize(1); // outlines are scaled below, so the size only has to exist
    font.setStyleStrategy(QFont::NoFontMerging);
    if (QFontInfo(font).family() != family) {
        throw std::runtime_error("the font family \"" + family.toStdString() +
                                 "\" is not installed (run scripts/setup.sh)");
    }
    font.setPixelSize(qRound(pixel_size * 4)); // drawn 4x large, then scaled down exactly
    return font;
}

QPainterPath centred_line(const QFont& font, const QString& text) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    // The font is four times the wanted size (see installed_font): scale it to size here so that
    // fractional sizes keep their exact proportions.
    QTransform quarter;
    quarter.scale(0.25, 0.25);
    path = quarter.map(path);
    const QRectF ink = path.boundingRect();
    path.translate(-ink.center().x(), 0);
    return path;
}

QPainterPath stacked_lines(const QFont& font, const QStringList& lines, double pitch) {
    QPainterPath all;
    for (int i = 0; i < lines.size(); ++i) {
        QPainterPath line = centred_line(font, lines[i]);
        line.translate(0, i * pitch);
        all.addPath(line);
    }
    return all;
}

QPainterPath fitted_lines(const QString& family, QFont::Weight weight, const QStringList& lines,
                          const QRectF& box, double pitch_factor, double max_size) {
    QPainterPath best;
    for (double size = 6; size <= max_size; size += 0.5) {
        const QFont font = installed_font(family, weight, size);
        const QPainterPath candidate = stacked_lines(font, lines, pitch_factor * size);
        const QRectF ink = candidate.boundingRect();
        if (ink.width() > box.width() || ink.height() > box.height()) {
            break;
        }
        best = candidate;
    }
    if (best.isEmpty()) {
        throw std::runtime_error("text does not fit its box: " + lines.join(' ').toStdString());
    }
    const QRectF ink = best.boundingRect();
    best.translate(box.center() - ink.center());
    return best;
}

} // namespace pictures
