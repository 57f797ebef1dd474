#include "app/entry_actions.h"

#include "app/pure/web_links.h"
#include "app/web_actions.h"
#include "forms/tell.h"
#include "platform/pure/link_scheme.h"
#include "platform/shell_actions.h"

#include <vector>

namespace app {

std::string EntryActions::addressOrRefuse() {
    const std::string link = view_.link ? view_.link() : std::string();
    const platform::LinkCheck check =
        checkOrTell(services_, view_.main, link, platform::LinkOwner::Entry);
    return check ? check.target : std::string();
}

void EntryActions::directDownload() {
    const std::string address = addressOrRefuse();
    if (address.empty())
        return;
    if (!services_.downloads) {
        forms::tell(services_, view_.main,
                    "Downloads are not available: the link was not handed over.");
        return;
    }
    services_.downloads->download(view_.main.window(), {address});
}

void EntryActions::downloadFromPage() {
    const std::string address = addressOrRefuse();
    if (!address.empty())
        platform::openLink(services_, view_.main.window(), address);
}

void EntryActions::addToQueue() {
    if (addressOrRefuse().empty())
        return;
    // The queue keeps the link as the field shows it; it is encoded again
    // whenever it leaves the link manager.
    const std::string link = view_.link ? view_.link() : std::string();
    if (view_.linkManager.addLink(link, view_.main.window()))
        view_.linkManager.Show(&view_.main);
}

void EntryActions::blockRequest() {
    // A mail draft to the maker; the local blacklist is not touched.
    const std::string link = view_.link ? view_.link() : std::string();
    const std::string mail = blockRequestMail(link);
    const platform::LinkCheck check = platform::openLink(services_, nullptr, mail);
    if (!check)
        forms::tell(services_, view_.main,
                    platform::refusalMessage(check, mail, platform::LinkOwner::Entry));
}

} // namespace app
