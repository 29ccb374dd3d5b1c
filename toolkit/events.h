// The data that key and paste events carry to their handlers, with the flag that stops further
// processing.
#pragma once

#include <QChar>
#include <QString>
#include <Qt>

namespace tk {

// Raised first for every key pressed in a text box. Setting handled stops the
// box's own processing of the key (caret moves, Delete, the character that
// would follow).
struct KeyEventArgs {
    int KeyCode = 0; // a Qt::Key value
    Qt::KeyboardModifiers Modifiers;
    bool Handled = false;
};

// Raised for every character a key would put into a text box (backspace is
// character 8, Enter 13, Tab 9). Setting handled discards the character.
struct KeyPressEventArgs {
    QChar KeyChar;
    bool Handled = false;
};

// Raised once for every paste into a text box (Ctrl+V, Shift+Insert, the middle
// button, a drop), with the whole pasted text. A handler that filters pastes
// sets Text to what goes in; setting handled discards the paste.
struct PasteEventArgs {
    QString Text;
    bool Handled = false;
};

} // namespace tk
