#include "platform/pure/link_scheme.h"

#include <gtest/gtest.h>

using platform::checkLink;
using platform::LinkKind;

TEST(LinkScheme, WebAndMailAddressesPassAsTheyStand) {
    for (const char* link : {"http://example.org/setup.exe", "HTTPS://Example.org/a?b=1&c=2",
                             "http://user@host.example/x y.exe", "mailto:someone@example.org",
                             "mailto:?Subject=Hi&Body=there"}) {
        auto c = checkLink(link);
        EXPECT_TRUE(c) << link;
        EXPECT_EQ(c.target, link);
        EXPECT_TRUE(c.reason.empty());
    }
    EXPECT_EQ(checkLink("mailto:a@b.c").kind, LinkKind::Mail);
    EXPECT_EQ(checkLink("http://a.b/").kind, LinkKind::Web);
    // Blanks around a link are not part of it.
    EXPECT_EQ(checkLink("  http://a.b/x ").target, "http://a.b/x");
}

TEST(LinkScheme, SchemeLessWebAddressIsTakenAsHttp) {
    EXPECT_EQ(checkLink("www.example.org/download").target, "http://www.example.org/download");
    EXPECT_EQ(checkLink("example.org:8080/x?y=1").target, "http://example.org:8080/x?y=1");
    EXPECT_EQ(checkLink("example.org").kind, LinkKind::Web);
}

TEST(LinkScheme, EverythingElseIsRefusedWithAReasonNamingIt) {
    struct Case {
        const char* text;
        const char* inReason;
    } cases[] = {
        {"C:\\Windows\\system32\\calc.exe", "local file"},
        {"file:///C:/x.exe", "local file"},
        {"FILE://server/share", "local file"},
        {"\\\\server\\share\\setup.exe", "network share"},
        {"//server/share", "network share"},
        {"..\\x.exe", "local file"},
        {"/etc/passwd", "local file"},
        {"javascript:alert(1)", "\"javascript:\""},
        {"ms-settings:privacy", "\"ms-settings:\""},
        {"ftp://example.org/file", "\"ftp:\""},
        // Hover hints and the version text in the link field are no addresses.
        {"Get Apps: browse the catalog", "not a web or mail address"},
        {"Fetchlets Version: 0.4.4 RC5, Signature Version: 12", "not a web or mail address"},
        {"setup", "not a web or mail address"},
        {"http://", "not a valid web address"},
        {"http:// spaced.host/", "not a valid web address"},
        {"http://a.b/\r\nInjected", "control characters"},
        {"", "no link"},
        {"   ", "no link"},
    };
    for (const Case& c : cases) {
        auto r = checkLink(c.text);
        EXPECT_FALSE(r) << c.text;
        EXPECT_EQ(r.kind, LinkKind::Refused) << c.text;
        EXPECT_NE(r.reason.find(c.inReason), std::string::npos) << c.text << " -> " << r.reason;
    }
    // A long refused text is shortened in the reason.
    auto r = checkLink("x:" + std::string(500, 'a'));
    EXPECT_LT(r.reason.size(), 200u);
}

TEST(LinkScheme, MailUrlJoinsThePartsAsTheyStand) {
    EXPECT_EQ(platform::mailUrl("a@b.c", "Block this", "Link: http://x/?a=1&b=2"),
              "mailto:a@b.c?Subject=Block this&Body=Link: http://x/?a=1&b=2");
    EXPECT_EQ(platform::mailUrl("", "", ""), "mailto:?Subject=&Body=");
}
