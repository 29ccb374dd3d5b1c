// Screen-reader access to our own controls: accessible objects for text boxes and picture boxes.
#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace tk {

class PictureBox;
class TextBox;

// How a text box's text reads aloud, and where its caret stands in that reading. `characters`,
// when not empty, holds where each of the reading's characters begins (ascending, the first 0),
// for a reading whose characters are longer than one letter: a reader moving the caret speaks one
// of them at a time. Empty, every letter is a character of its own.
struct Reading {
    QString text;
    int caret = 0;
    std::vector<int> characters;
};

// Gives, once per process, every TextBox and PictureBox an accessible object through Qt's
// accessibility framework, so that screen readers (over AT-SPI on Linux) see:
// - a text box as a text whose name is its accessible name (see set_accessible_name) and whose
//   text is its reading (see set_reading). Each change of the text is told as what was inserted
//   or removed and where in the reading, worked out from the reading before and after it; each
//   move of the caret alone (arrow keys, Home, End, a click) as the caret moving. A
//   screen reader can read the text and move the caret, but cannot write: the box takes text
//   only from the keyboard and pastes, through its own filters;
// - a picture box as a picture whose name is the widget's accessibleName, or, for a notice (see
//   set_notice), as a notification that screen readers speak when it is shown;
// - a push button as a button named by its text;
// - a top-level Window as a window named by its title.
// A text box or button that is hidden or disabled offers screen readers no action, and one asked
// of it anyway does nothing: a reader can do only what a player who sees the window can.
// Window's constructor calls it, before any control exists.
// Nothing here changes what a control does or draws. Safe to call more than once.
void install_accessibility();

// The box's accessible name, asked for afresh each time a screen reader wants it; without one the
// widget's accessibleName serves.
void set_accessible_name(TextBox& box, std::function<QString()> name);

// The box's accessible description, asked for afresh each time a screen reader wants it. When it
// reads differently from what screen readers were last told, they are told to read it again: for
// the focused box once its window has applied the changes it held back (see Window::HeldChanges),
// for any other as it takes the focus, before readers hear of the focus, or as the mouse comes over
// it. So a command that changes every description sends readers one notice at most.
void set_accessible_description(TextBox& box, std::function<QString()> description);

// How the box's text reads aloud; without one, the text itself with each line-break character
// read as a space.
void set_reading(TextBox& box, std::function<Reading(const QString& text, int caret)> reading);

// The box's accessible name depends on `source`: each time it is shown or hidden, or (for a
// Label) its text changes, and the name reads differently from what screen readers were last
// told, they are told to read it again. While the box's window holds changes back, nothing is
// told until they are applied; then once, for a name that ends different.
void name_follows(TextBox& box, QWidget& source);

// Screen readers are told of each show and hide of the widget as its "visible" state changing,
// as well as the "showing" state that Qt tells of, so that a reader that stored the widget's
// states while it was hidden sees it whole once it shows. Window::attach calls it.
void tell_visibility(QWidget& widget);

// Screen readers announce `message` politely (as a notification, after what they are saying)
// without the focus moving, announcement_delay after the last call for the same widget; of
// several messages given meanwhile only the last is announced. The notification is a child of
// `near`, without size, so nothing is drawn.
void announce(QWidget& near, const QString& message);
inline constexpr int announcement_delay = 300; // milliseconds

// As announce, but when a message already waits to be announced at `near`, that message stays and
// `more` is read after it, as the notification's description: one notice says both.
void announce_more(QWidget& near, const QString& more);

// The picture is a notice: each time it is shown, screen readers announce `announcement` (its
// name and description) without the focus moving. Its full `text` can then be read as its text,
// line by line or all at once; hiding it says nothing.
void set_notice(PictureBox& box, const QString& announcement, const QString& text);

} // namespace tk
