// The drawing functions of the picture generator, one per picture of the game.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace pictures {

// The window background: a radial blue gradient, 800 x 600, as an 8-bit palette image.
QImage window_background();

// The dark frame behind the grid, 469 x 469.
QImage grid_frame();

// One overlay panel: a bevelled blue panel carrying its message in white lettering.
struct PanelText {
    QStringList lines;
    int left, top, right, bottom; // inclusive pixel box the lettering must stay inside
};
QImage panel(int width, int height, const PanelText& text);

// The help screen: the background gradient with two paragraphs, the board figure and the cage
// figure. The board figure shows the solution of puzzle 5 from the catalogue.
QImage help_picture(const QImage& background);

// The window icon as an .ico file holding 48, 32, 24 and 16 pixel images with alpha.
QByteArray window_icon_file();

// The same button for the desktop's icon theme: a square image of the given side with alpha, and
// a scalable SVG file.
QImage theme_icon(int size);
QByteArray scalable_icon();

} // namespace pictures
