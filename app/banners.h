// Pictures the main window draws itself instead of loading image files.
#pragma once

#include "forms/controls.h"

#include <windows.h>

#include <array>
#include <string>

#include "platform/handles.h"

namespace app {

// A banner of the given size in pixels: a horizontal gradient from `left` to
// `right` (0x00BBGGRR) with `text` in white, bold, centred vertically; none
// when the system has no room for it.
platform::Bitmap makeBanner(int width, int height, const std::string& text, COLORREF left,
                            COLORREF right);

// The main window's drawn artwork at the window's resolution: the Special
// page's two banners and the About page's bold title. Each make replaces
// (and frees) what the one before made; the artwork goes with the window.
class Artwork {
  public:
    struct View {
        forms::Form& window; // whose resolution sizes the artwork
        forms::Image& recommendationsBanner;
        forms::Image& starterKitBanner;
        forms::Label& title;
    };
    explicit Artwork(View view) : v_(view) {}

    void makePictures();
    // The title's font; kept only when the label took it.
    void makeTitleFont();

  private:
    View v_;
    std::array<platform::Bitmap, 2> pictures_;
    platform::Font titleFont_;
};

} // namespace app
