#include "app/pure/text_rules.h"

#include <gtest/gtest.h>

TEST(VersionText, JoinsTheThreeNumbersWithoutLeadingZeros) {
    EXPECT_EQ(app::versionText(0, 4, 4), "0.4.4 RC5");
    EXPECT_EQ(app::versionText(10, 0, 12), "10.0.12 RC5");
}

TEST(ParenthesisTrim, KeepsThePartBeforeTheLastOpeningParenthesis) {
    std::string t = "Tool (x64) (portable";
    EXPECT_TRUE(app::trimParenthesis(t));
    EXPECT_EQ(t, "Tool (x64) ");
    EXPECT_TRUE(app::trimParenthesis(t)); // the next tick takes the next one
    EXPECT_EQ(t, "Tool ");
    EXPECT_FALSE(app::trimParenthesis(t));
    EXPECT_EQ(t, "Tool ");

    std::string only = "(";
    EXPECT_TRUE(app::trimParenthesis(only));
    EXPECT_EQ(only, "");
    std::string closing = "a)b";
    EXPECT_FALSE(app::trimParenthesis(closing));
    EXPECT_EQ(closing, "a)b");
}

TEST(Credits, LinesAreSeparatedByCrLf) {
    std::string c = app::creditsText();
    EXPECT_EQ(c.find('\n'), c.find("\r\n") + 1);
    EXPECT_EQ(c.rfind("The Fetchlets team would like to acknowledge the following Contributors: "
                      "\r\n \r\n",
                      0),
              0u);
    // Two acknowledgement lines, an empty line, then the third.
    size_t lines = 0;
    for (size_t p = 0; (p = c.find("\r\n", p)) != std::string::npos; p += 2)
        ++lines;
    EXPECT_EQ(lines, 5u);
    EXPECT_NE(c.find("\r\n\r\n"), std::string::npos);
}
