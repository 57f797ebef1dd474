// Pieces of the control gallery, each filling its own area of the one window.
#pragma once

#include <windows.h>

// Themed buttons: every style in every state, icon and caption placements.
// Returns the height used.
int galleryAddButtons(HWND parent, int x, int y);

// Toolbars and status bars, placed from (x, y) downwards.
void galleryAddBars(HWND parent, int x, int y);
