// The main window's pictures, drawn with GDI at the size asked for (so they
// stay sharp at every screen resolution): the toolbar's eight, the Home
// page's nine buttons and its three images.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/handles.h"

namespace ui {

enum class Picture {
    // Toolbar, in button order.
    Home,
    GetApps,
    GetPortable,
    GetSlim,
    Options,
    Update,
    About,
    Exit,
    // Home page buttons not covered above.
    StarterKit,
    Recommendations,
    Help,
    LinkManager,
    Snapshot,
    Suggestion,
    // Home page images.
    UpdateBadge,
    Twitter,
    Facebook,
};

// A new icon of `size` x `size` pixels with soft edges; white glyphs for the
// toolbar (`light`), coloured ones otherwise. The caller destroys it.
HICON makePicture(Picture picture, int size, bool light = false);

// Owns a set of icons and destroys them together.
class PictureSet {
  public:
    HICON add(Picture picture, int size, bool light = false);
    void clear();

  private:
    std::vector<platform::Icon> icons_;
};

} // namespace ui
