#include "forms/pure/twips.h"

#include <gtest/gtest.h>

TEST(Twips, ConvertAtCommonResolutions) {
    EXPECT_EQ(forms::twipsToPixels(1440, 96), 96);
    EXPECT_EQ(forms::twipsToPixels(7890, 96), 526);
    EXPECT_EQ(forms::twipsToPixels(15, 96), 1);
    EXPECT_EQ(forms::twipsToPixels(7, 96), 0);
    EXPECT_EQ(forms::twipsToPixels(8, 96), 1);
    EXPECT_EQ(forms::twipsToPixels(-8, 96), -1); // symmetric for positions left of the screen
    EXPECT_EQ(forms::twipsToPixels(1440, 144), 144);
    EXPECT_EQ(forms::pixelsToTwips(526, 96), 7890);
    EXPECT_EQ(forms::pixelsToTwips(1, 120), 12);
}

TEST(Twips, PixelsSurviveARoundTrip) {
    for (int dpi : {96, 120, 144, 192})
        for (int px = -50; px < 2000; ++px)
            ASSERT_EQ(forms::twipsToPixels(forms::pixelsToTwips(px, dpi), dpi), px) << dpi;
}
