// Colour arithmetic shared by the custom controls. A colour value is 32 bits
// with red in the low byte, then green, then blue; a value with the top bit set
// (0x80000000 + n) stands for system colour n and is translated before drawing.
// Standard C++ only: the system colour table is passed in as a function.
#pragma once

#include <cstdint>
#include <functional>

namespace controls {

using Colour = std::uint32_t;

constexpr Colour kSystemColourFlag = 0x80000000u;

// System colour numbers used by the controls (same numbering as the system's).
enum SystemColour : int {
    SysScrollBar = 0,
    SysDesktop = 1,
    SysActiveCaption = 2,
    SysWindow = 5,
    SysWindowFrame = 6,
    SysWindowText = 8,
    SysButtonFace = 15,
    SysButtonShadow = 16,
    SysGrayText = 17,
    SysButtonText = 18,
    SysButtonHighlight = 20,
    Sys3DDarkShadow = 21,
    Sys3DLight = 22,
    SysInfoText = 23,
    SysInfoBackground = 24,
    SysHighlight = 13,
    SysHighlightText = 14,
};

// The colour value that stands for system colour n.
constexpr Colour systemColour(int n) {
    return kSystemColourFlag | static_cast<Colour>(n);
}
constexpr bool isSystemColour(Colour c) {
    return (c & kSystemColourFlag) != 0;
}

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Looks up system colour n as an RGB value (red in the low byte).
using SystemColourLookup = std::function<Colour(int)>;

// A system colour is replaced by the lookup's answer; any other value keeps
// its three colour bytes. The result never has the top byte set.
Colour TranslateColor(Colour c, const SystemColourLookup& lookup);

// Per channel: (255 - alpha) x to / 255 + alpha x from / 255, rounded to the
// nearest integer. alpha 255 gives `from`, 0 gives `to`; it is clamped to 0..255.
// Both colours must already be RGB (translate system colours first).
Colour BlendColor(Colour from, Colour to, int alpha);

// Per channel: n + (255 - n) x channel / 255 (integer division); n 0 keeps the
// colour, n 255 gives white.
Colour Lighten(Colour c, int n);

// Red and green each change by `amount`, blue by amount x blue / 192; each
// channel is clamped to 0..255.
Colour ShiftColor(Colour c, int amount);

// Mix of two colours with a weight 0..255 (0 = all `a`, 255 = all `b`),
// per channel a + (b - a) x weight / 255, rounded to the nearest integer.
Colour MixColor(Colour a, Colour b, int weight);

// Linear interpolation between two colours at step i of n steps (i = 0 gives
// `from`, i = n - 1 gives `to`); n below 2 gives `from`.
Colour GradientStep(Colour from, Colour to, int i, int n);

// Swaps red and blue: a colour value to the byte order of a 32-bit DIB pixel
// (blue in the low byte) and back.
constexpr std::uint32_t swapRedBlue(std::uint32_t v) {
    return (v & 0xFF00FF00u) | ((v & 0xFF) << 16) | ((v >> 16) & 0xFF);
}

} // namespace controls
