// Real input for window tests: keys and mouse clicks sent with SendInput pass
// through the tests' message loop (pump.h: the form runtime's dialog-message
// handling included) exactly as a user's do.
#pragma once

#include <windows.h>

#include "tests/support/pump.h"

#include <initializer_list>
#include <string>

namespace testsupport {

// Presses (down) or releases (up) one key.
void key(WORD vk, bool up);
// Presses and releases a key, with modifiers held around it.
void press(WORD vk, std::initializer_list<WORD> held = {});
// Types text key by key.
void type(const std::string& text);

// Moves the real pointer to a point of a window's client area.
void mouseTo(HWND h, int x, int y);
// Clicks (`times` in a row) at a point of a window's client area with the
// left button, or the right one.
void clickAt(HWND h, int x, int y, int times = 1, bool right = false);

// A child window's rectangle in its parent's client coordinates.
RECT rectIn(HWND child, HWND parent);

} // namespace testsupport
