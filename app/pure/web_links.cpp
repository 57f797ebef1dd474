#include "app/pure/web_links.h"

#include "platform/pure/endpoints.h"
#include "platform/pure/link_scheme.h"

#include <cctype>

namespace app {

namespace {

// The search term leaves as percent-encoded UTF-8, so the engine is told so:
// read as ISO-8859-1, the two bytes of an accented letter would show as two
// other letters.
constexpr const char* kWebSearchPath = "/search?hl=en&lr=&ie=UTF-8&q=";
constexpr const char* kImageSearchPath =
    "/images?hl=en&lr=&ie=UTF-8&svnum=20&oe=UTF-8&safe=off&start=";
constexpr const char* kFacebookSharePath = "/share.php?u=";
constexpr const char* kTweetPath = "/intent/tweet?url=";
constexpr const char* kSignature = " - Fetchlets - Tidyhaven";

bool startsNoCase(const std::string& s, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i])
            return false;
    return true;
}

std::string mail(const std::string& to, const std::string& subject, const std::string& body) {
    return platform::encodeUri(
        platform::mailUrl(to, encodeQueryText(subject), encodeQueryText(body)));
}

} // namespace

std::string encodeQueryText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "%26";
            break;
        case '#':
            out += "%23";
            break;
        case '%':
            out += "%25";
            break;
        case '+':
            out += "%2B";
            break;
        default:
            out += c;
        }
    }
    // Blanks, quotes, control characters (a tab in an entry's name) and
    // letters beyond ASCII as the link rule encodes every address.
    return platform::encodeUri(out);
}

std::string alternateDownloadSearch(const std::string& entryName) {
    return platform::encodeUri(std::string("http://") + platform::endpoints::kWebSearchHost +
                               kWebSearchPath + encodeQueryText(entryName) + " Download");
}

std::string supportLinksSearch(const std::string& entryName) {
    return platform::encodeUri(std::string("http://") + platform::endpoints::kWebSearchHost +
                               kWebSearchPath + encodeQueryText(entryName) + " Help or Community");
}

std::string screenshotsSearch(const std::string& entryName) {
    return std::string("http://") + platform::endpoints::kImageSearchHost + kImageSearchPath +
           "&sa=N&filter=0&q=" + encodeQueryText(entryName);
}

std::string developerPage(const std::string& raw) {
    // Blanks around the link are not part of it, as for the link rule.
    std::size_t first = raw.find_first_not_of(" \t");
    std::size_t last = raw.find_last_not_of(" \t");
    const std::string link =
        first == std::string::npos ? std::string() : raw.substr(first, last - first + 1);
    if (startsNoCase(link, "http://")) {
        // The host ends at the first "/", "?" or "#" after "http://"; only a
        // "/" there names the site's root page.
        std::size_t end = link.find_first_of("/?#", 7);
        return end == std::string::npos || link[end] != '/' ? std::string()
                                                            : link.substr(0, end + 1);
    }
    if (startsNoCase(link, "https://")) {
        std::size_t end = link.find_first_of("/?#", 8);
        return link.substr(0, end == std::string::npos ? link.size() : end) + "/";
    }
    std::size_t end = link.find_first_of("/?#");
    return "http://" +
           (end == std::string::npos || link[end] != '/' ? std::string() : link.substr(0, end + 1));
}

std::string twitterShare(const std::string& link) {
    return std::string("https://") + platform::endpoints::kTwitterHost + kTweetPath +
           encodeQueryText(link);
}

std::string facebookShare(const std::string& link) {
    return std::string("http://") + platform::endpoints::kFacebookShareHost + kFacebookSharePath +
           encodeQueryText(link);
}

std::string productHomePage() {
    return platform::endpoints::kProductHomePage;
}

std::string appSuggestionPage() {
    return std::string(platform::endpoints::kProductServer) +
           platform::endpoints::kAppSuggestionPath;
}

std::string programDownloadPage() {
    return std::string(platform::endpoints::kProductServer) +
           platform::endpoints::kProgramDownloadPath;
}

std::string productFacebookPage() {
    return platform::endpoints::kFacebookPage;
}

std::string productTweet() {
    return twitterShare(programDownloadPage());
}

std::string sendDownloadLinkMail(const std::string& entryName, const std::string& link,
                                 bool special) {
    return mail("@", "Program Recommendation",
                "I found this Cool Application: " + entryName + ". You can Download it here: " +
                    link + "." + (special ? " Get Recommended by" : " Found it with") + kSignature);
}

std::string sendPageLinkMail(const std::string& pageName, const std::string& link) {
    return mail("@", "Site Recommendation",
                "I found this Cool Sie: " + pageName + ". You can Visit it here: " + link +
                    ". Found it with" + kSignature);
}

std::string reportProblemMail(const std::string& link) {
    return mail(platform::endpoints::kFeedbackAddress, "Bad Download Link",
                "Fetchlets ID: " + link + " does not work.");
}

std::string feedbackMail() {
    return mail(platform::endpoints::kFeedbackAddress, "Fetchlets Feedback/Suggestion",
                "I like Fetchlet because ... or would like to see the following feature ...");
}

std::string blockRequestMail(const std::string& link) {
    return mail(platform::endpoints::kFeedbackAddress, "Direct Download not allowed.",
                "Please Prevent this Fetchlets ID: " + link + " from Direct Download.");
}

} // namespace app
