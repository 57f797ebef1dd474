// Conversions between twips (1/1440 inch), in which windows and controls are
// measured, and device pixels at a given resolution in dots per inch.
#pragma once

namespace forms {

constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel so that a twips value written back from pixels
// converts to the same pixel again.
constexpr int twipsToPixels(int twips, int dpi) {
    long long v = static_cast<long long>(twips) * dpi;
    return static_cast<int>(v >= 0 ? (v + kTwipsPerInch / 2) / kTwipsPerInch
                                   : -((-v + kTwipsPerInch / 2) / kTwipsPerInch));
}

constexpr int pixelsToTwips(int pixels, int dpi) {
    long long v = static_cast<long long>(pixels) * kTwipsPerInch;
    return static_cast<int>(v >= 0 ? (v + dpi / 2) / dpi : -((-v + dpi / 2) / dpi));
}

} // namespace forms
