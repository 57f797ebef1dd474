// Pictures the main window draws itself instead of loading image files.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// A banner of the given size in pixels: a horizontal gradient from `left` to
// `right` (0x00BBGGRR) with `text` in white, bold, centred vertically.
HBITMAP makeBanner(int width, int height, const std::string& text, COLORREF left, COLORREF right);

} // namespace app
