#include <gtest/gtest.h>

#include "controls/pure/propertybag.h"

using namespace controls;

TEST(PropertyBag, DefaultsAreNotStoredAndWritingTheDefaultRemoves) {
    PropertyBag bag;
    bag.writeInt("Style", 3, 3);
    bag.writeString("Caption", "Go", "Go");
    bag.writeBool("Enabled", true, true);
    EXPECT_EQ(bag.size(), 0u);
    bag.writeInt("Style", 4, 3);
    EXPECT_EQ(bag.readInt("style", 3), 4);
    bag.writeInt("STYLE", 3, 3);
    EXPECT_FALSE(bag.contains("Style"));
    EXPECT_EQ(bag.readInt("Style", 3), 3);
}

TEST(PropertyBag, NamesIgnoreCaseAndKeepFirstSpelling) {
    PropertyBag bag;
    bag.set("USeCustomColors", "True");
    bag.set("usecustomcolors", "False");
    ASSERT_EQ(bag.size(), 1u);
    EXPECT_EQ(bag.entries()[0].first, "USeCustomColors");
    EXPECT_FALSE(bag.readBool("UseCustomColors", true));
}

TEST(PropertyBag, ItemPropertiesCarryTheIndex) {
    EXPECT_EQ(PropertyBag::itemName("ButtonCaption", 0), "ButtonCaption0");
    EXPECT_EQ(PropertyBag::itemName("PanelWidth", 12), "PanelWidth12");
    PropertyBag bag;
    bag.writeString(PropertyBag::itemName("ButtonCaption", 1), "Two", "");
    EXPECT_EQ(bag.readString("buttoncaption1", ""), "Two");
    EXPECT_EQ(bag.readString("ButtonCaption0", "Button 0"), "Button 0");
}

TEST(PropertyBag, UnreadableValuesGiveTheDefault) {
    PropertyBag bag;
    bag.set("IconSize", "big");
    bag.set("Enabled", "maybe");
    bag.set("MaskColor", "-1");
    bag.set("Colour", "2147483663");
    EXPECT_EQ(bag.readInt("IconSize", 16), 16);
    EXPECT_TRUE(bag.readBool("Enabled", true));
    EXPECT_EQ(bag.readColour("MaskColor", 0), 0xFFFFFFFFu);
    EXPECT_EQ(bag.readColour("Colour", 0), 0x8000000Fu);
    bag.set("Enabled", "0");
    EXPECT_FALSE(bag.readBool("Enabled", true));
}

TEST(PropertyBag, TextFormRoundTripsAwkwardValues) {
    PropertyBag bag;
    bag.set("Caption", "line1\r\nline2 \\ x=y");
    bag.set("ToolTipText", "");
    bag.set("Font", encodeFont({"MS Sans Serif", -11, 700, true, false, true, 0}));
    std::string text = bag.serialize();
    EXPECT_EQ(text.find('\r'), std::string::npos);
    PropertyBag back = PropertyBag::parse(text + "junk line\n=nameless\n");
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back.readString("caption", ""), "line1\r\nline2 \\ x=y");
    EXPECT_TRUE(back.contains("ToolTipText"));
    auto font = decodeFont(back.readString("Font", ""));
    ASSERT_TRUE(font);
    EXPECT_EQ(*font, (FontDesc{"MS Sans Serif", -11, 700, true, false, true, 0}));
}

TEST(PropertyBag, FontFaceMayHoldCommas) {
    FontDesc f{"Odd, Face", 12, 400, false, true, false, 1};
    EXPECT_EQ(decodeFont(encodeFont(f)), f);
    EXPECT_FALSE(decodeFont("Arial,1,2"));
    EXPECT_FALSE(decodeFont("Arial,a,400,0,0,0,1"));
}
