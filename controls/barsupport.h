// Support shared by the toolbar and the status bar: fonts from their stored
// description, the key and mouse-button states their events report, mouse
// tracking and the host's font. Their drawing helpers are in offscreen.h.
#pragma once

#include <windows.h>

#include <string>

#include "controls/offscreen.h"
#include "controls/pure/colour.h"
#include "controls/pure/propertybag.h"

namespace controls {

// A font made from its description; an empty face stands for `fallback`.
// The returned font is owned by the caller (nullptr when `fallback` is used).
HFONT createFont(const FontDesc& desc);
// The description of an existing font (the host's font, for instance).
FontDesc describeFont(HFONT font);

// The Shift (1), Ctrl (2) and Alt (4) keys held now, as the mouse and key
// events report them.
int shiftState();

// The mouse buttons held in a mouse message's wParam: left 1, right 2, middle 4.
int mouseButtons(WPARAM w);

// Whether mouse-leave tracking is offered by user32 or the common controls.
bool trackMouseEventAvailable();
// The font a window's parent uses for its text (WM_GETFONT), or the GUI font.
HFONT hostFont(HWND parent);

} // namespace controls
