#include "app/entry_actions.h"

#include "app/pure/web_links.h"
#include "platform/pure/link_scheme.h"
#include "platform/shell_actions.h"

#include <vector>

namespace app {

void EntryActions::tell(const std::string& text) {
    if (services_.messageBoxes)
        services_.messageBoxes->show(view_.main.hwnd(), text, "", MB_OK | MB_ICONINFORMATION);
}

std::string EntryActions::addressOrRefuse() {
    const std::string link = view_.link ? view_.link() : std::string();
    const platform::LinkCheck check = platform::checkWebLink(link);
    if (!check) {
        tell(platform::refusalMessage(check, link, platform::LinkOwner::Entry));
        return {};
    }
    return check.target;
}

void EntryActions::directDownload() {
    const std::string address = addressOrRefuse();
    if (address.empty())
        return;
    if (!services_.downloads) {
        tell("Downloads are not available: the link was not handed over.");
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
        tell(platform::refusalMessage(check, mail, platform::LinkOwner::Entry));
}

void EntryActions::entryListMouseDown(catalog::Kind kind, int button) {
    const KindControls& k = view_.kinds[kind];
    if (button == forms::vbRightButton && k.menu)
        k.menu->Popup({.eitherButton = true, .defaultItem = k.downloadItem});
}

void EntryActions::pageListMouseDown(forms::ListBox&, forms::PopupMenu& menu,
                                     forms::MenuItem& defaultItem, int button) {
    if (button == forms::vbRightButton)
        menu.Popup({.eitherButton = true, .defaultItem = &defaultItem});
}

void EntryActions::listMenuMouseDown(forms::PopupMenu& menu, bool eitherButton, int button) {
    if (button == forms::vbRightButton)
        menu.Popup({.eitherButton = eitherButton});
}

} // namespace app
