// What the program sets up on the application before its window exists.
#pragma once

// The name a desktop knows the game by, and the controls' look. On X11 the
// window's class (the second string of WM_CLASS) is the application name, on
// Wayland the app id is the desktop entry's name; the menu entry names both, so
// a dock shows the game's own icon however it was started.
void prepare_application();
