// Pictures the main window draws itself instead of loading image files.
#pragma once

#include <windows.h>

#include <string>

#include "platform/handles.h"

namespace app {

// A banner of the given size in pixels: a horizontal gradient from `left` to
// `right` (0x00BBGGRR) with `text` in white, bold, centred vertically; none
// when the system has no room for it.
platform::Bitmap makeBanner(int width, int height, const std::string& text, COLORREF left,
                            COLORREF right);

} // namespace app
