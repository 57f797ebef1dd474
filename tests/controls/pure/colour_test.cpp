#include <gtest/gtest.h>

#include "controls/pure/colour.h"

using namespace controls;

TEST(Colour, TranslateUsesLookupForSystemColoursOnly) {
    int asked = -1;
    auto lookup = [&asked](int n) {
        asked = n;
        return rgb(1, 2, 3);
    };
    EXPECT_EQ(TranslateColor(systemColour(SysButtonFace), lookup), rgb(1, 2, 3));
    EXPECT_EQ(asked, 15);
    asked = -1;
    EXPECT_EQ(TranslateColor(0x00C0C0C0u, lookup), 0x00C0C0C0u);
    EXPECT_EQ(asked, -1);
    // The top byte of a plain value is not part of the colour.
    EXPECT_EQ(TranslateColor(0x01123456u, lookup), 0x00123456u);
    // A lookup answering with high bits set still yields a plain RGB value.
    EXPECT_EQ(TranslateColor(systemColour(5), [](int) { return 0xFF102030u; }), 0x00102030u);
}

TEST(Colour, BlendWeighsFromByAlphaAndRounds) {
    Colour red = rgb(255, 0, 0), blue = rgb(0, 0, 255);
    EXPECT_EQ(BlendColor(red, blue, 255), red);
    EXPECT_EQ(BlendColor(red, blue, 0), blue);
    // 128 x 255 / 255 = 128; 127 x 255 / 255 = 127.
    EXPECT_EQ(BlendColor(red, blue, 128), rgb(128, 0, 127));
    // (255-100) x 255 / 255 + 100 x 10 / 255 = 155 + 3.92 -> 159 (rounded, not truncated)
    EXPECT_EQ(redOf(BlendColor(rgb(10, 0, 0), rgb(255, 0, 0), 100)), 159);
    // Hover colour mixes used by the toolbar: with white and with black.
    EXPECT_EQ(BlendColor(rgb(100, 150, 200), rgb(255, 255, 255), 100), rgb(194, 214, 233));
    EXPECT_EQ(BlendColor(rgb(100, 150, 200), 0, 250), rgb(98, 147, 196));
    // Alpha outside 0..255 is clamped.
    EXPECT_EQ(BlendColor(red, blue, 300), red);
    EXPECT_EQ(BlendColor(red, blue, -5), blue);
}

TEST(Colour, LightenMovesEachChannelTowardsWhite) {
    EXPECT_EQ(Lighten(0, 32), rgb(32, 32, 32));
    EXPECT_EQ(Lighten(rgb(255, 255, 255), 32), rgb(255, 255, 255));
    // 32 + 223 x 240 / 255 = 32 + 209.88 -> 241 (integer division)
    EXPECT_EQ(Lighten(rgb(240, 240, 240), 32), rgb(241, 241, 241));
    // Highlight blue (0, 120, 215) at 176: 176, 176 + 79 x 120 / 255 = 213, 176 + 79 x 215 / 255 =
    // 242
    EXPECT_EQ(Lighten(rgb(0, 120, 215), 176), rgb(176, 213, 242));
    EXPECT_EQ(Lighten(rgb(10, 20, 30), 0), rgb(10, 20, 30));
}

TEST(Colour, ShiftColourScalesBlueAndClamps) {
    // blue changes by amount x blue / 192
    EXPECT_EQ(ShiftColor(rgb(100, 100, 192), -37), rgb(63, 63, 155));
    EXPECT_EQ(ShiftColor(rgb(100, 100, 96), 64), rgb(164, 164, 128));
    EXPECT_EQ(ShiftColor(rgb(10, 250, 0), -64), rgb(0, 186, 0));
    EXPECT_EQ(ShiftColor(rgb(250, 250, 250), 20), rgb(255, 255, 255));
    EXPECT_EQ(ShiftColor(rgb(1, 2, 3), 0), rgb(1, 2, 3));
}

TEST(Colour, MixAndGradientEnds) {
    Colour a = rgb(0, 100, 200), b = rgb(255, 0, 100);
    EXPECT_EQ(MixColor(a, b, 0), a);
    EXPECT_EQ(MixColor(a, b, 255), b);
    EXPECT_EQ(MixColor(rgb(0, 0, 0), rgb(255, 255, 255), 128), rgb(128, 128, 128));
    EXPECT_EQ(GradientStep(a, b, 0, 10), a);
    EXPECT_EQ(GradientStep(a, b, 9, 10), b);
    EXPECT_EQ(GradientStep(a, b, 5, 1), a);
    EXPECT_EQ(swapRedBlue(rgb(1, 2, 3)), 0x00010203u);
}

TEST(Colour, HugeShiftsAndGradientsStayDefined) {
    // Saturate instead of overflowing (the sanitizer flagged both).
    EXPECT_EQ(ShiftColor(rgb(10, 20, 30), 2000000000), rgb(255, 255, 255));
    EXPECT_EQ(ShiftColor(rgb(10, 20, 30), -2000000000), rgb(0, 0, 0));
    EXPECT_EQ(ShiftColor(rgb(0, 0, 1), 2000), rgb(255, 255, 11)); // blue scaled as before
    const int n = 20000000;
    EXPECT_EQ(GradientStep(rgb(0, 0, 0), rgb(255, 255, 255), n - 1, n), rgb(255, 255, 255));
    EXPECT_EQ(GradientStep(rgb(0, 0, 0), rgb(255, 255, 255), n / 2, n), rgb(127, 127, 127));
}
