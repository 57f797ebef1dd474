#include "app/web_actions.h"

#include "app/pure/web_links.h"
#include "forms/tell.h"
#include "platform/pure/link_scheme.h"
#include "platform/shell_actions.h"

namespace app {

platform::LinkCheck checkOrTell(platform::Services& services, forms::Form& owner,
                                const std::string& link, platform::LinkOwner whose) {
    platform::LinkCheck check = platform::checkWebLink(link);
    if (!check)
        forms::tell(services, owner, platform::refusalMessage(check, link, whose));
    return check;
}

void WebActions::open(HWND owner, const std::string& address, platform::LinkOwner whose) {
    const platform::LinkCheck check = platform::openLink(services_, owner, address);
    if (!check)
        forms::tell(services_, view_.main, platform::refusalMessage(check, address, whose));
}

void WebActions::openPage(const std::string& address) {
    open(view_.main.window(), address, platform::LinkOwner::Entry);
}

void WebActions::openUnowned(const std::string& address) {
    open(nullptr, address, platform::LinkOwner::Entry);
}

void WebActions::alternateDownload(catalog::Kind kind) {
    openPage(alternateDownloadSearch(name(kind)));
}

void WebActions::supportLinks(catalog::Kind kind) {
    openPage(supportLinksSearch(name(kind)));
}

void WebActions::screenshots(catalog::Kind kind) {
    openPage(screenshotsSearch(name(kind)));
}

void WebActions::developerPage() {
    const std::string current = link();
    if (!checkOrTell(services_, view_.main, current, platform::LinkOwner::Entry))
        return;
    // An http link without a "/" right after its host (and a scheme-less
    // one, which gives "http://" alone) names no page to open.
    const std::string target = app::developerPage(current);
    if (!platform::checkWebLink(target)) {
        forms::tell(
            services_, view_.main,
            "This entry's link names no page after its host, so there is no developer page to "
            "open.\r\n\r\n" +
                current);
        return;
    }
    openUnowned(target);
}

void WebActions::linkToClipboard() {
    if (services_.clipboard && !services_.clipboard->setText(link()))
        forms::tell(services_, view_.main,
                    "The clipboard is in use by another program. Try again in a moment.");
}

void WebActions::sendDownloadLink(catalog::Kind kind) {
    openUnowned(sendDownloadLinkMail(name(kind), link(), kind == catalog::Kind::Special));
}

void WebActions::reportProblem() {
    openUnowned(reportProblemMail(link()));
}

void WebActions::visitPage() {
    const platform::LinkCheck check =
        checkOrTell(services_, view_.main, link(), platform::LinkOwner::Page);
    if (!check)
        return;
    open(view_.main.window(), check.target, platform::LinkOwner::Page);
}

void WebActions::sendPageLink() {
    openUnowned(sendPageLinkMail(name(catalog::Kind::Pages), link()));
}

void WebActions::sharePageOnTwitter() {
    openPage(twitterShare(link()));
}

void WebActions::sharePageOnFacebook() {
    openPage(facebookShare(link()));
}

void WebActions::feedback() {
    openUnowned(feedbackMail());
}

void WebActions::appSuggestions() {
    openPage(appSuggestionPage());
}

void WebActions::homepage() {
    openPage(productHomePage());
}

void WebActions::facebookPage() {
    openPage(productFacebookPage());
}

void WebActions::tweetProgram() {
    openPage(productTweet());
}

} // namespace app
