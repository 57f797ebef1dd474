#include "controls/pure/statusbar_layout.h"
#include "controls/pure/colour.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(StatusLook, OnlyVersion51Build2600OnNtFollowsTheDesktop) {
    EXPECT_TRUE(IsWinXPVersion(5, 1, 2600, true));
    EXPECT_TRUE(IsWinXPVersion(5, 1, 3000, true));
    EXPECT_FALSE(IsWinXPVersion(5, 1, 2599, true));
    EXPECT_FALSE(IsWinXPVersion(5, 1, 2600, false));
    EXPECT_FALSE(IsWinXPVersion(6, 1, 7601, true)); // what Wine reports
    EXPECT_FALSE(IsWinXPVersion(5, 0, 2600, true));
}

TEST(StatusLook, SchemeNames) {
    EXPECT_EQ(NormalizeSchemeName(std::string("  NormalColor \0junk", 19), false), "NormalColor");
    EXPECT_EQ(NormalizeSchemeName("", false), "None");
    EXPECT_EQ(NormalizeSchemeName("   ", false), "None");
    EXPECT_EQ(NormalizeSchemeName("Metallic", true), "UxTheme_Error");
    EXPECT_EQ(LookFromScheme("NormalColor"), kLookBlue);
    EXPECT_EQ(LookFromScheme("HomeStead"), kLookOlive);
    EXPECT_EQ(LookFromScheme("Metallic"), kLookSilver);
    EXPECT_EQ(LookFromScheme("Royale"), kLookBlue);
    EXPECT_EQ(LookFromScheme("None"), kLookClassic);
    EXPECT_EQ(LookFromScheme("UxTheme_Error"), kLookClassic);
}

TEST(StatusLook, ThemeProperty) {
    EXPECT_EQ(ResolveLook(0, false, "HomeStead"), kLookClassic);
    EXPECT_EQ(ResolveLook(0, true, "HomeStead"), kLookOlive);
    EXPECT_EQ(ResolveLook(0, true, "None"), kLookClassic);
    for (int t = 1; t <= 4; ++t)
        EXPECT_EQ(ResolveLook(t, false, "None"), t);
    EXPECT_EQ(ResolveLook(5, false, "None"), kLookBlue);
    EXPECT_EQ(ResolveLook(-3, true, "Metallic"), kLookBlue);
}

TEST(StatusLook, GripShapeFollowsTheLook) {
    EXPECT_EQ(ResolveGripShape(0, kLookClassic), 0);
    EXPECT_EQ(ResolveGripShape(1, kLookClassic), 2);
    EXPECT_EQ(ResolveGripShape(2, kLookBlue), 1);
    EXPECT_EQ(ResolveGripShape(7, kLookSilver), 1);
}

TEST(PanelIndex, ClampedToTheExistingPanels) {
    EXPECT_EQ(PanelSlot(1, 0), -1);
    EXPECT_EQ(PanelSlot(0, 0), -1);
    EXPECT_EQ(PanelSlot(0, 3), 0);
    EXPECT_EQ(PanelSlot(-7, 3), 0);
    EXPECT_EQ(PanelSlot(2, 3), 1);
    EXPECT_EQ(PanelSlot(3, 3), 2);
    EXPECT_EQ(PanelSlot(99, 3), 2);
    EXPECT_EQ(NormalizePanelWidth(0), 40);
    EXPECT_EQ(NormalizePanelWidth(-5), 40);
    EXPECT_EQ(NormalizePanelWidth(1), 1);
}

TEST(PanelLayout, WidthsIconsAndTheGripArea) {
    std::vector<PanelMetrics> panels(4);
    panels[0].autoSize = true;
    panels[0].textEmpty = false;
    panels[0].textWidth = 50;  // 58
    panels[1].autoSize = true; // empty text: 20
    panels[2].width = 0;       // 40
    panels[2].hasIcon = true;  // + 18
    panels[3].width = 500;     // cut at the grip
    auto r = LayoutPanels(panels, 400, 24, 18);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], (Rect{0, 5, 58, 19}));
    EXPECT_EQ(r[1], (Rect{58, 5, 78, 19}));
    EXPECT_EQ(r[2], (Rect{78, 5, 136, 19}));
    EXPECT_EQ(r[3], (Rect{136, 5, 382, 19}));

    // A panel that starts inside the grip area is empty.
    auto narrow = LayoutPanels(panels, 100, 24, 16);
    EXPECT_EQ(narrow[2].left, 78);
    EXPECT_EQ(narrow[2].right, 84);
    EXPECT_EQ(narrow[3].width(), 0);
}

TEST(StatusBackground, TopRowWhiteInVisualStyleLooks) {
    const Colour back = rgb(103, 103, 103);
    for (int look : {kLookBlue, kLookOlive, kLookSilver}) {
        auto rows = BackgroundRows(back, look, 24);
        ASSERT_EQ(rows.size(), 24u);
        EXPECT_EQ(rows[0], rgb(255, 255, 255)) << look;
        const Colour base = ShiftColor(back, -1);
        EXPECT_EQ(rows[1], MixColor(ShiftColor(base, -64), LookEdgeColour(look), 128));
        EXPECT_EQ(rows[2], ShiftColor(base, -37));
        EXPECT_EQ(rows[3], ShiftColor(base, -9));
        // The middle rows run from the base towards white.
        EXPECT_EQ(rows[12], MixColor(base, rgb(255, 255, 255), 12 * 48 / 24));
        // The bottom darkens.
        EXPECT_LT(redOf(rows[23]), redOf(rows[20]));
    }
    EXPECT_EQ(LookEdgeColour(kLookBlue), rgb(0x7F, 0x9D, 0xB9));
    EXPECT_EQ(LookEdgeColour(kLookOlive), rgb(0x8B, 0xA1, 0x69));
    EXPECT_EQ(LookEdgeColour(kLookSilver), rgb(0x7C, 0x7C, 0x94));
}

TEST(StatusBackground, ClassicIsTheBackColourWithADarkLine) {
    const Colour back = rgb(200, 190, 180);
    auto rows = BackgroundRows(back, kLookClassic, 10);
    EXPECT_EQ(rows[0], back);
    EXPECT_EQ(rows[1], ShiftColor(ShiftColor(back, -1), -80));
    EXPECT_EQ(rows[9], back);
    EXPECT_TRUE(BackgroundRows(back, kLookBlue, 0).empty());
    EXPECT_EQ(BackgroundRows(back, kLookBlue, 1).size(), 1u);
}

TEST(StatusBackground, SeparatorFirstColourMixesGreyWithBack) {
    auto [dark, light] = SeparatorColours(rgb(0, 0, 0));
    EXPECT_EQ(dark, rgb(72, 72, 72));
    EXPECT_GT(redOf(light), redOf(dark));
}
