// Real input for window tests: keys and mouse clicks sent with SendInput pass
// through the form runtime's message loop (its dialog-message handling
// included) exactly as a user's do.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace testsupport {

// Runs the form runtime's message loop for up to `ms` milliseconds or until
// `done`; a pending quit from an earlier test's form is ignored.
bool loopUntil(const std::function<bool()>& done, unsigned ms = 2000);
void loopFor(unsigned ms);

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
