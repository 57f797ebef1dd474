// The web, mail and clipboard actions of the entry menus, the page menu and
// the Home and About pages: each builds one address or text from the link
// field and the entry's name and hands it to the shell or the clipboard.
#pragma once

#include "catalog/catalog.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "platform/pure/link_scheme.h"
#include "platform/services.h"

#include <functional>
#include <string>

namespace app {

// The web link checked by the link rule; when it is refused, the user is
// told why (as the link of `whose`), owned by `owner`, and the check is false.
platform::LinkCheck checkOrTell(platform::Services& services, forms::Form& owner,
                                const std::string& link, platform::LinkOwner whose);

// What the actions see of the main window.
struct WebActionsView {
    forms::Form& main;                 // owner of opened pages and of messages
    std::function<std::string()> link; // the link field, read when an action runs
    // The name of the entry chosen in a kind's list (the page list for Pages).
    std::function<std::string(catalog::Kind)> entryName;
};

class WebActions {
  public:
    WebActions(WebActionsView view, platform::Services& services)
        : view_(std::move(view)), services_(services) {}

    // Entry menus.
    void alternateDownload(catalog::Kind kind);
    void supportLinks(catalog::Kind kind);
    void screenshots(catalog::Kind kind);
    void developerPage();
    void linkToClipboard();
    void sendDownloadLink(catalog::Kind kind);
    void reportProblem();

    // Page menu and the Pages tab's button.
    void visitPage();
    void sendPageLink();
    void sharePageOnTwitter();
    void sharePageOnFacebook();

    // Home and About.
    void feedback();
    void appSuggestions();
    void homepage();
    void facebookPage();
    void tweetProgram();

  private:
    // Opens a web page owned by the main window, or a mail draft (or the
    // developer's page) with no owner. An address the link rule refuses is
    // not opened and the user is told why.
    void open(HWND owner, const std::string& address, platform::LinkOwner whose);
    void openPage(const std::string& address);
    void openUnowned(const std::string& address);
    std::string link() const { return view_.link ? view_.link() : std::string(); }
    std::string name(catalog::Kind kind) const {
        return view_.entryName ? view_.entryName(kind) : std::string();
    }

    WebActionsView view_;
    platform::Services& services_;
};

} // namespace app
