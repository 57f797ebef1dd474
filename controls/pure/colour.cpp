#include "controls/pure/colour.h"

#include <algorithm>

namespace controls {

namespace {
int clampChannel(int v) {
    return std::clamp(v, 0, 255);
}
// Rounded integer division for non-negative numerators.
int roundDiv(int num, int den) {
    return (num + den / 2) / den;
}
} // namespace

Colour TranslateColor(Colour c, const SystemColourLookup& lookup) {
    if (isSystemColour(c)) {
        Colour v = lookup ? lookup(static_cast<int>(c & 0xFFu)) : 0u;
        return v & 0x00FFFFFFu;
    }
    return c & 0x00FFFFFFu;
}

Colour BlendColor(Colour from, Colour to, int alpha) {
    alpha = clampChannel(alpha);
    auto mix = [alpha](int f, int t) { return roundDiv((255 - alpha) * t + alpha * f, 255); };
    return rgb(mix(redOf(from), redOf(to)), mix(greenOf(from), greenOf(to)),
               mix(blueOf(from), blueOf(to)));
}

Colour Lighten(Colour c, int n) {
    n = clampChannel(n);
    auto up = [n](int ch) { return n + (255 - n) * ch / 255; };
    return rgb(up(redOf(c)), up(greenOf(c)), up(blueOf(c)));
}

Colour ShiftColor(Colour c, int amount) {
    // In 64 bits, clamped before narrowing: a shift of millions overflows an int.
    auto channel = [](long long v) { return static_cast<int>(std::clamp(v, 0LL, 255LL)); };
    const long long a = amount;
    return rgb(channel(redOf(c) + a), channel(greenOf(c) + a),
               channel(blueOf(c) + a * blueOf(c) / 192));
}

Colour MixColor(Colour a, Colour b, int weight) {
    weight = clampChannel(weight);
    auto mix = [weight](int x, int y) {
        int num = x * 255 + (y - x) * weight;
        return roundDiv(num, 255);
    };
    return rgb(mix(redOf(a), redOf(b)), mix(greenOf(a), greenOf(b)), mix(blueOf(a), blueOf(b)));
}

Colour GradientStep(Colour from, Colour to, int i, int n) {
    if (n < 2)
        return from & 0x00FFFFFFu;
    i = std::clamp(i, 0, n - 1);
    // In 64 bits: (t - f) * i overflows an int for gradients over about
    // 8.4 million steps.
    auto lerp = [i, n](int f, int t) {
        return f + static_cast<int>(static_cast<long long>(t - f) * i / (n - 1));
    };
    return rgb(lerp(redOf(from), redOf(to)), lerp(greenOf(from), greenOf(to)),
               lerp(blueOf(from), blueOf(to)));
}

} // namespace controls
