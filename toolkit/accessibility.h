// Screen-reader access to our own controls: accessible objects for text boxes and picture boxes.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tk {

class TextBox;

// How a text box's text reads aloud, and where its caret stands in that reading.
struct Reading {
    QString text;
    int caret = 0;
};

// Gives, once per process, every TextBox and PictureBox an accessible object through Qt's
// accessibility framework, so that screen readers (over AT-SPI on Linux) see:
// - a text box as an editable text whose name is its accessible name (see set_accessible_name)
//   and whose text is its reading (see set_reading), with an update sent after each change of
//   the text;
// - a picture box as a picture whose name is the widget's accessibleName;
// - a top-level Window as a window named by its title.
// Window's constructor calls it, before any control exists.
// Nothing here changes what a control does or draws. Safe to call more than once.
void install_accessibility();

// The box's accessible name, asked for afresh each time a screen reader wants it; without one the
// widget's accessibleName serves.
void set_accessible_name(TextBox& box, std::function<QString()> name);

// How the box's text reads aloud; without one, the text itself with each line-break character
// read as a space.
void set_reading(TextBox& box, std::function<Reading(const QString& text, int caret)> reading);

// The box's accessible name depends on `source`: each time it is shown or hidden, screen readers
// are told to read the name again.
void name_follows(TextBox& box, QWidget& source);

} // namespace tk
