// The main window's pictures, drawn with GDI at the size asked for (so they
// stay sharp at every screen resolution): the toolbar's eight, the Home
// page's nine buttons and its three images.
#pragma once

#include <windows.h>

#include <optional>
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

// The large black-and-white surface that a picture's layers are drawn on,
// made once and cleared for each layer: under Wine making a memory DC and a
// DIB section costs a hundred times more than drawing a layer.
class Surface {
  public:
    // The DC of a cleared `side` x `side` surface, a white brush and no pen
    // selected; null when it cannot be made.
    HDC clear(int side);
    const void* bits() const { return bits_; }

  private:
    // In the order of making: they go in reverse, so the selections are
    // undone before the bitmap and the DC are freed.
    platform::MemoryDC dc_;
    platform::Bitmap bitmap_;
    std::optional<platform::Selected> bitmapIn_, brushIn_, penIn_;
    void* bits_ = nullptr;
    int side_ = 0;
};

// A new icon of `size` x `size` pixels with soft edges; white glyphs for the
// toolbar (`light`), coloured ones otherwise. The caller destroys it.
HICON makePicture(Picture picture, int size, bool light = false);
HICON makePicture(Picture picture, int size, bool light, Surface& surface);
// The same picture as a 32-bit DIB with premultiplied alpha (for AlphaBlend).
HBITMAP makePictureBitmap(Picture picture, int size, bool light, Surface& surface);

// Owns a set of icons and bitmaps and destroys them together.
class PictureSet {
  public:
    HICON add(Picture picture, int size, bool light = false);
    HBITMAP addBitmap(Picture picture, int size, bool light = false);
    void clear();

  private:
    std::vector<platform::Icon> icons_;
    std::vector<platform::Bitmap> bitmaps_;
    Surface surface_;
};

} // namespace ui
