// Text drawn as outlines, so that its ink bounds are known exactly before it is painted.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QStringList>

namespace pictures {

// The font of the given family at a pixel size; throws std::runtime_error when the system lacks
// the family, so a missing font package is reported instead of silently replaced.
QFont installed_font(const QString& family, QFont::Weight weight, double pixel_size);

// The outline of one line of text with its ink centred on x = 0 and its baseline on y = 0.
QPainterPath centred_line(const QFont& font, const QString& text);

// The lines stacked one under another, baselines `pitch` apart, each centred on x = 0.
QPainterPath stacked_lines(const QFont& font, const QStringList& lines, double pitch);

// The stacked lines at the largest size that fits the box (pitch = pitch_factor * size), moved so
// that their ink is centred in the box. Pixel size grows in half-pixel steps up to max_size.
QPainterPath fitted_lines(const QString& family, QFont::Weight weight, const QStringList& lines,
                          const QRectF& box, double pitch_factor, double max_size);

} // namespace pictures
