#include "platform/pure/endpoints.h"
#include "app/pure/web_links.h"
#include "platform/pure/link_scheme.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kSearch = std::string("http://") + platform::endpoints::kWebSearchHost +
                            "/search?hl=en&lr=&ie=UTF-8&q=";
const std::string kFeedback = platform::endpoints::kFeedbackAddress;

} // namespace

TEST(WebLinks, SearchTermsAreEncodedWhole) {
    EXPECT_EQ(app::alternateDownloadSearch("Tom & Jerry"),
              kSearch + "Tom%20%26%20Jerry%20Download");
    EXPECT_EQ(app::supportLinksSearch(""), kSearch + "%20Help%20or%20Community");
    EXPECT_EQ(app::supportLinksSearch("C# 100% +1\r\nx"),
              kSearch + "C%23%20100%25%20%2B1%0D%0Ax%20Help%20or%20Community");
    // Quotes, blanks and letters beyond ASCII (as UTF-8); the query's own
    // delimiters stay.
    EXPECT_EQ(app::encodeQueryText("Caf\xe9 ?=/ \"x\""), "Caf%C3%A9%20?=/%20%22x%22");
    // A tab or vertical tab in a name gives an address the link rule takes.
    const std::string tabbed = app::screenshotsSearch("A\tB\vC&D");
    EXPECT_EQ(tabbed,
              std::string("http://") + platform::endpoints::kImageSearchHost +
                  "/images?hl=en&lr=&ie=UTF-8&svnum=20&oe=UTF-8&safe=off&start=&sa=N&filter=0&q="
                  "A%09B%0BC%26D");
    EXPECT_TRUE(platform::checkLink(tabbed));
    EXPECT_TRUE(platform::checkLink(app::sendDownloadLinkMail("a\tb", "http://x.org/\v", false)));
}

TEST(WebLinks, DeveloperPage) {
    EXPECT_EQ(app::developerPage("http://dl.example.org/tools/setup.exe"),
              "http://dl.example.org/");
    // Capitals of the scheme count and are kept.
    EXPECT_EQ(app::developerPage("HTTP://Dl.Example.org/a/b"), "HTTP://Dl.Example.org/");
    // No "/" after the host: nothing to open.
    EXPECT_EQ(app::developerPage("http://dl.example.org"), "");
    EXPECT_EQ(app::developerPage("http://dl.example.org?x=1"), "");
    // Without scheme: http:// and the text up to its first "/".
    EXPECT_EQ(app::developerPage("dl.example.org/a/setup.exe"), "http://dl.example.org/");
    EXPECT_EQ(app::developerPage("dl.example.org"), "http://");
    // Blanks around the link are dropped as the link rule drops them; the
    // host ends at a query or fragment, so a "/" inside those names no page.
    EXPECT_EQ(app::developerPage(" http://a.b/x\t"), "http://a.b/");
    EXPECT_EQ(app::developerPage("http://a.b?x=/y"), "");
    EXPECT_EQ(app::developerPage("http://a.b#/y"), "");
    EXPECT_EQ(app::developerPage("a.b?x=/y"), "http://");
    EXPECT_EQ(app::developerPage("  a.b/x?y=/z"), "http://a.b/");
    // https keeps its scheme.
    EXPECT_EQ(app::developerPage("https://dl.example.org/a/setup.exe"), "https://dl.example.org/");
    EXPECT_EQ(app::developerPage("https://dl.example.org"), "https://dl.example.org/");
    EXPECT_EQ(app::developerPage("https://dl.example.org?x=1"), "https://dl.example.org/");
}

TEST(WebLinks, EveryMailString) {
    EXPECT_EQ(app::sendDownloadLinkMail("Tom & Jerry", "http://x.org/get?a=1&b=2", false),
              "mailto:@?Subject=Program%20Recommendation&Body=I%20found%20this%20Cool%20"
              "Application:%20Tom%20%26%20Jerry.%20You%20can%20Download%20it%20here:%20"
              "http://x.org/get?a=1%26b=2.%20Found%20it%20with%20-%20Fetchlets%20-%20Tidyhaven");
    EXPECT_NE(app::sendDownloadLinkMail("Kit", "http://x.org/k", true)
                  .find("http://x.org/k.%20Get%20Recommended%20by%20-%20Fetchlets"),
              std::string::npos);
    EXPECT_EQ(app::sendPageLinkMail("Help", "http://x.org/#top"),
              "mailto:@?Subject=Site%20Recommendation&Body=I%20found%20this%20Cool%20Sie:%20Help."
              "%20You%20can%20Visit%20it%20here:%20http://x.org/%23top.%20Found%20it%20with%20-"
              "%20Fetchlets%20-%20Tidyhaven");
    EXPECT_EQ(app::reportProblemMail("http://x.org/a\""),
              "mailto:" + kFeedback +
                  "?Subject=Bad%20Download%20Link&Body=Fetchlets%20ID:%20http://x.org/a%22%20does"
                  "%20not%20work.");
    EXPECT_EQ(app::feedbackMail(),
              "mailto:" + kFeedback +
                  "?Subject=Fetchlets%20Feedback/Suggestion&Body=I%20like%20Fetchlet%20because%20"
                  "...%20or%20would%20like%20to%20see%20the%20following%20feature%20...");
    EXPECT_EQ(app::blockRequestMail("http://x.org/a"),
              "mailto:" + kFeedback +
                  "?Subject=Direct%20Download%20not%20allowed.&Body=Please%20Prevent%20this%20"
                  "Fetchlets%20ID:%20http://x.org/a%20from%20Direct%20Download.");
}

TEST(WebLinks, ShareFormsAndProductPages) {
    EXPECT_EQ(app::twitterShare("http://p.org/a?b=1&c=2"),
              std::string("https://") + platform::endpoints::kTwitterHost +
                  "/intent/tweet?url=http://p.org/a?b=1%26c=2");
    EXPECT_EQ(app::facebookShare("http://p.org/"), std::string("http://") +
                                                       platform::endpoints::kFacebookShareHost +
                                                       "/share.php?u=http://p.org/");
    const std::string site = platform::endpoints::kProductServer;
    EXPECT_EQ(site + "/", platform::endpoints::kProductHomePage);
    EXPECT_EQ(app::productHomePage(), site + "/");
    EXPECT_EQ(app::appSuggestionPage(),
              site + "/forum/fetchlets-suggestions/135-how-to-suggest-an-app#156");
    EXPECT_EQ(app::productTweet(), app::twitterShare(site + "/download/viewcategory/30-fetchlets"));
    EXPECT_EQ(app::productFacebookPage().rfind("https://", 0), 0u);
}
