// The addresses and mail drafts the actions on an entry, a page and the Home
// and About pages open: each one string, built from the link and the entry
// name. Search terms and mail fields are percent-encoded, so that each
// reaches its form or mail whole, and every address is a valid URI
// (platform::encodeUri).
#pragma once

#include <string>

namespace app {

// "&", "#", "%", "+" as %26, %23, %25, %2B, and then everything a URI may
// not hold as platform::encodeUri does (a blank as %20, a tab as %09, "é" as
// %C3%A9).
std::string encodeQueryText(const std::string& text);

// Web search for the entry name followed by " Download" or
// " Help or Community".
std::string alternateDownloadSearch(const std::string& entryName);
std::string supportLinksSearch(const std::string& entryName);
// Image search for the entry name.
std::string screenshotsSearch(const std::string& entryName);

// The developer's page: the start of the link (blanks around it dropped) up
// to and including the "/" after its host; the host ends at the first "/",
// "?" or "#". An http link (scheme in any letter case, kept as written)
// without a "/" right after the host gives empty text. An https link gives
// "https://" + host + "/". A link without scheme gives "http://" + its text
// up to its first "/" (or "http://" alone when no "/" ends its host).
std::string developerPage(const std::string& link);

// Share forms for a page link (the link encoded as a search term is, so that
// its own query reaches the form whole).
std::string twitterShare(const std::string& link);
std::string facebookShare(const std::string& link);

// The product's pages.
std::string productHomePage();
std::string appSuggestionPage();
std::string programDownloadPage();
std::string productFacebookPage();
// The tweet form for the program's download page.
std::string productTweet();

// Mail drafts ("mailto:..." addresses).
// Recommending a download; `special` for the Special catalog's entries.
std::string sendDownloadLinkMail(const std::string& entryName, const std::string& link,
                                 bool special);
std::string sendPageLinkMail(const std::string& pageName, const std::string& link);
std::string reportProblemMail(const std::string& link);
std::string feedbackMail();
// Asking the maker to block direct download of a link.
std::string blockRequestMail(const std::string& link);

} // namespace app
