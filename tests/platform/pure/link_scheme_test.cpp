#include "platform/pure/link_scheme.h"

#include <gtest/gtest.h>

using platform::checkLink;
using platform::LinkKind;

TEST(LinkScheme, WebAndMailAddressesPassAsTheyStand) {
    for (const char* link : {"http://example.org/setup.exe", "HTTPS://Example.org/a?b=1&c=2",
                             "http://user@host.example/x%20y.exe", "mailto:someone@example.org",
                             "mailto:?Subject=Hi&Body=there", "http://[::1]:80/a?b=c#d"}) {
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

TEST(LinkScheme, WhatLeavesIsAValidUriThatCannotSplitACommandLine) {
    // A quote, blanks and a second fragment mark: each becomes its escape,
    // so the whole address stays one argument of the receiving program.
    EXPECT_EQ(checkLink("http://127.0.0.1:8765/a\" --injected-flag \"b").target,
              "http://127.0.0.1:8765/a%22%20--injected-flag%20%22b");
    EXPECT_EQ(checkLink("http://127.0.0.1:8765/#\" -x#y").target,
              "http://127.0.0.1:8765/#%22%20-x%23y");
    EXPECT_EQ(checkLink("www.example.org/a b\"c").kind, LinkKind::Refused); // blank: no address
    EXPECT_EQ(checkLink("www.example.org/<a>|{b}^`\\").target,
              "http://www.example.org/%3Ca%3E%7C%7Bb%7D%5E%60%5C");
    EXPECT_EQ(checkLink("mailto:a@b.c?Body=\"hi\" there").target,
              "mailto:a@b.c?Body=%22hi%22%20there");
    // Code page 1252: "é" and the euro sign as their UTF-8 bytes.
    EXPECT_EQ(platform::encodeUri("http://a.b/caf\xe9\x80"), "http://a.b/caf%C3%A9%E2%82%AC");
    // A valid escape stays, a stray "%" is escaped itself, brackets only in
    // the host; control characters are escaped.
    EXPECT_EQ(platform::encodeUri("http://[::1]/%41%4g%[x]\t\x7f%"),
              "http://[::1]/%41%254g%25%5Bx%5D%09%7F%25");
    // Encoding twice changes nothing.
    for (const char* text : {"http://a.b/x y\"z\xe9%", "mailto:@?Subject=a b&Body=#c#d"}) {
        const std::string once = platform::encodeUri(text);
        EXPECT_EQ(platform::encodeUri(once), once) << text;
    }
}

TEST(LinkScheme, ARefusalSaysTheRulesReasonAndOnlyAHintAsksToChooseAgain) {
    auto message = [](const std::string& link) {
        return platform::refusalMessage(platform::checkWebLink(link), link,
                                        platform::LinkOwner::Entry);
    };
    EXPECT_EQ(message("file:///C:/x.exe"),
              "This entry's link points to a file on this computer, not to a web address; it was "
              "not opened.\r\n\r\nfile:///C:/x.exe");
    EXPECT_NE(message("mailto:a@b.c").find("a mail address, not a web address"), std::string::npos);
    EXPECT_NE(message("setup").find("is not a web or mail address"), std::string::npos);
    EXPECT_NE(message("Fetchlets Version: 1.0").find("Please choose the entry again."),
              std::string::npos);
}

TEST(LinkScheme, MailUrlJoinsThePartsAsTheyStand) {
    EXPECT_EQ(platform::mailUrl("a@b.c", "Block this", "Link: http://x/?a=1&b=2"),
              "mailto:a@b.c?Subject=Block this&Body=Link: http://x/?a=1&b=2");
    EXPECT_EQ(platform::mailUrl("", "", ""), "mailto:?Subject=&Body=");
}
