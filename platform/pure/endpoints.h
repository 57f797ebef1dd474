// Where the programs' actions lead: the hosts of the web services, the
// product's own site and pages, and the maker's feedback mail address. Kept
// here alone, so that a move of any of them is one edit (a test checks that
// the two spellings of the product site agree).
#pragma once

namespace platform::endpoints {

// Web and image search (the paths and query prefixes below are theirs).
inline constexpr const char* kWebSearchHost = "www.google.com";
inline constexpr const char* kImageSearchHost = "images.google.com";
// Share forms.
inline constexpr const char* kFacebookShareHost = "www.facebook.com";
inline constexpr const char* kTwitterHost = "twitter.com";

// The product site (the update manifest and the catalog are published below
// it too), its home page and its pages.
inline constexpr const char* kProductServer = "http://www.fetchlets.org";
inline constexpr const char* kProductHomePage = "http://www.fetchlets.org/";
inline constexpr const char* kAppSuggestionPath =
    "/forum/fetchlets-suggestions/135-how-to-suggest-an-app#156";
inline constexpr const char* kProgramDownloadPath = "/download/viewcategory/30-fetchlets";
inline constexpr const char* kFacebookPage = "https://www.facebook.com/fetchlets";

// The maker's feedback mail address.
inline constexpr const char* kFeedbackAddress = "feedback@fetchlets.org";

} // namespace platform::endpoints
