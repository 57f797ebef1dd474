// The link rule and the addresses built from catalog text.
// Properties: an accepted link is handed over as a valid URI (nothing that
// splits a command line: no blank, quote, control or non-ASCII character),
// with a scheme the program allows; every search, mail and share address
// built for an entry name or a link is a valid URI that the link rule
// accepts, so no action fails silently.
#include "app/pure/web_links.h"
#include "fuzz/fuzz.h"
#include "platform/pure/link_scheme.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool validUri(const std::string& s) {
    static const std::string allowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                       "0123456789-._~:/?#[]@!$&'()*+,;=%";
    for (size_t i = 0; i < s.size(); ++i) {
        if (allowed.find(s[i]) == std::string::npos)
            return false;
        if (s[i] == '%' &&
            (i + 2 >= s.size() || !std::isxdigit(static_cast<unsigned char>(s[i + 1])) ||
             !std::isxdigit(static_cast<unsigned char>(s[i + 2]))))
            return false;
    }
    return true;
}

void handedOver(const std::string& address) {
    const platform::LinkCheck check = platform::checkLink(address);
    if (!check || !validUri(check.target))
        std::fprintf(stderr, "address: %s\nrefused: %s\n", address.c_str(), check.reason.c_str());
    FUZZ_CHECK(check);
    FUZZ_CHECK(validUri(check.target));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string name = in.ConsumeRandomLengthString(80);
    const std::string link = in.ConsumeRemainingBytesAsString();

    const platform::LinkCheck check = platform::checkLink(link);
    if (check) {
        FUZZ_CHECK(validUri(check.target));
        FUZZ_CHECK(check.target.rfind("http://", 0) == 0 ||
                   check.target.rfind("https://", 0) == 0 || check.target.rfind("HTTP", 0) == 0 ||
                   check.target.rfind("mailto:", 0) == 0 || check.target.rfind("MAILTO:", 0) == 0 ||
                   check.kind != platform::LinkKind::Refused);
        FUZZ_CHECK(check.reason.empty());
    } else {
        FUZZ_CHECK(!check.reason.empty());
    }

    handedOver(app::alternateDownloadSearch(name));
    handedOver(app::supportLinksSearch(name));
    handedOver(app::screenshotsSearch(name));
    handedOver(app::sendPageLinkMail(name, link));
    handedOver(app::reportProblemMail(link));
    handedOver(app::blockRequestMail(link));
    handedOver(app::sendDownloadLinkMail(name, link, false));
    if (check) {
        handedOver(app::twitterShare(check.target));
        handedOver(app::facebookShare(check.target));
        // A link without a page part gives nothing to open (the action says
        // so); whatever it gives is a valid URI.
        const platform::LinkCheck page = platform::checkLink(app::developerPage(link));
        FUZZ_CHECK(!page || validUri(page.target));
    }
    return 0;
}
