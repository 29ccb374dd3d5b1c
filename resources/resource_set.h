// The window's pictures, compiled into the program and looked up by the key of the control and
// property that shows them ("$this.BackgroundImage", "pictureBox_correct.Image", ...).
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStringView>

namespace resource_set {

// The picture stored under the key; a null pixmap for a key that names no picture. For the
// window icon's key it is the icon's largest image. Needs a QGuiApplication.
QPixmap picture(QStringView key);

// The stored picture decoded as an image (for the icon's key, its largest
// image); a null image for an unknown key. Safe to call from any thread.
QImage image(QStringView key);

// The stored picture decoded into the least memory that keeps every pixel as
// image() gives it: a palette image, one byte a pixel, where it has no more than
// 256 colours and no transparency; otherwise just as image() gives it. Safe to
// call from any thread.
QImage compact_image(QStringView key);

// Every image the stored file holds (the icon's four sizes, one for any
// other key); empty for an unknown key. Safe to call from any thread.
QList<QImage> images(QStringView key);

// The stored picture's size, read from its header without decoding it; an
// invalid size for an unknown key.
QSize size(QStringView key);

// The picture as an icon: every size the file holds for the window icon, the one picture for any
// other key; a null icon for a key that names no picture. Needs a QGuiApplication.
QIcon icon(QStringView key);

// Images, such as those of images(), as one icon. Needs a QGuiApplication.
QIcon icon(const QList<QImage>& images);

// The file's bytes exactly as stored (PNG, JPEG, BMP or ICO); empty for an unknown key.
QByteArray bytes(QStringView key);

} // namespace resource_set
