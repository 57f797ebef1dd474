#include "platform/pure/endpoints.h"
#include "app/pure/web_links.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kSearch = std::string("http://") + platform::endpoints::kWebSearchHost +
                            "/search?hl=en&lr=&ie=ISO-8859-1&q=";
const std::string kFeedback = platform::endpoints::kFeedbackAddress;

} // namespace

TEST(WebLinks, SearchTermsEncodeOnlyWhatWouldChangeTheAddress) {
    EXPECT_EQ(app::alternateDownloadSearch("Tom & Jerry"), kSearch + "Tom %26 Jerry Download");
    EXPECT_EQ(app::supportLinksSearch(""), kSearch + " Help or Community");
    EXPECT_EQ(app::supportLinksSearch("C# 100% +1\r\nx"),
              kSearch + "C%23 100%25 %2B1%0D%0Ax Help or Community");
    // Spaces and other letters stay as they are.
    EXPECT_EQ(app::encodeQueryText("Caf\xe9 ?=/ \"x\""), "Caf\xe9 ?=/ \"x\"");
    EXPECT_EQ(app::screenshotsSearch("A&B"),
              std::string("http://") + platform::endpoints::kImageSearchHost +
                  "/images?hl=en&lr=&ie=UTF-8&svnum=20&oe=UTF-8&safe=off&start=&sa=N&filter=0&q="
                  "A%26B");
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
    // https keeps its scheme.
    EXPECT_EQ(app::developerPage("https://dl.example.org/a/setup.exe"), "https://dl.example.org/");
    EXPECT_EQ(app::developerPage("https://dl.example.org"), "https://dl.example.org/");
    EXPECT_EQ(app::developerPage("https://dl.example.org?x=1"), "https://dl.example.org/");
}

TEST(WebLinks, EveryMailString) {
    EXPECT_EQ(app::sendDownloadLinkMail("Tom & Jerry", "http://x.org/get?a=1&b=2", false),
              "mailto:@?Subject=Program Recommendation&Body=I found this Cool Application: Tom "
              "%26 Jerry. You can Download it here: http://x.org/get?a=1%26b=2. Found it with - "
              "Fetchlets - Tidyhaven");
    EXPECT_EQ(app::sendDownloadLinkMail("Kit", "http://x.org/k", true),
              "mailto:@?Subject=Program Recommendation&Body=I found this Cool Application: Kit. "
              "You can Download it here: http://x.org/k. Get Recommended by - Fetchlets - "
              "Tidyhaven");
    EXPECT_EQ(app::sendPageLinkMail("Help", "http://x.org/#top"),
              "mailto:@?Subject=Site Recommendation&Body=I found this Cool Sie: Help. You can "
              "Visit it here: http://x.org/%23top. Found it with - Fetchlets - Tidyhaven");
    EXPECT_EQ(app::reportProblemMail("http://x.org/a"),
              "mailto:" + kFeedback +
                  "?Subject=Bad Download Link&Body=Fetchlets ID: http://x.org/a does not work.");
    EXPECT_EQ(app::feedbackMail(),
              "mailto:" + kFeedback +
                  "?Subject=Fetchlets Feedback/Suggestion&Body=I like Fetchlet because ... or "
                  "would like to see the following feature ...");
    EXPECT_EQ(app::blockRequestMail("http://x.org/a"),
              "mailto:" + kFeedback +
                  "?Subject=Direct Download not allowed.&Body=Please Prevent this Fetchlets ID: "
                  "http://x.org/a from Direct Download.");
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
