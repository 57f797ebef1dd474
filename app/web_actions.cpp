#include "app/web_actions.h"

#include "app/pure/web_links.h"
#include "platform/pure/link_scheme.h"
#include "platform/shell_actions.h"

namespace app {

void WebActions::tell(const std::string& text) {
    if (services_.messageBoxes)
        services_.messageBoxes->show(view_.main.isLoaded() ? view_.main.hwnd() : nullptr, text, "",
                                     MB_OK | MB_ICONINFORMATION);
}

void WebActions::openPage(const std::string& address) {
    platform::openLink(services_, view_.main.hwnd(), address);
}

void WebActions::openUnowned(const std::string& address) {
    platform::openLink(services_, nullptr, address);
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
    if (platform::checkLink(current).kind != platform::LinkKind::Web) {
        tell("The status bar no longer shows a link (a hint or other text replaced it). Please "
             "choose the entry again.");
        return;
    }
    // An http link without a "/" after its host names no page to open.
    const std::string target = app::developerPage(current);
    if (!target.empty())
        openUnowned(target);
}

void WebActions::linkToClipboard() {
    if (services_.clipboard && !services_.clipboard->setText(link()))
        tell("The clipboard is in use by another program. Try again in a moment.");
}

void WebActions::sendDownloadLink(catalog::Kind kind) {
    openUnowned(sendDownloadLinkMail(name(kind), link(), kind == catalog::Kind::Special));
}

void WebActions::reportProblem() {
    openUnowned(reportProblemMail(link()));
}

void WebActions::visitPage() {
    const std::string current = link();
    platform::LinkCheck check = platform::checkLink(current);
    if (check.kind != platform::LinkKind::Web) {
        tell("The status bar no longer shows a link (a hint or other text replaced it). Please "
             "choose the page again.");
        return;
    }
    openPage(current);
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
