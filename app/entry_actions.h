// Acting on a chosen entry: the direct download, the download from the
// entry's page, adding its link to the link manager's queue and asking the
// maker to block a download.
#pragma once

#include "app/kinds.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "links/frmDDLManager.h"
#include "platform/services.h"

#include <functional>
#include <string>

namespace app {

// What the download actions see of the main window.
struct EntryActionsView {
    forms::Form& main; // owner of the link manager and of messages
    const Kinds& kinds;
    forms::ListBox& lstBlacklist;
    std::function<std::string()> link; // the link field, read when an action runs
    links::frmDDLManager& linkManager;
};

class EntryActions {
  public:
    EntryActions(EntryActionsView view, platform::Services& services)
        : view_(std::move(view)), services_(services) {}

    // The address of the chosen entry's link (encoded) when it is a web
    // address to hand on; else the user is told why not (or asked to choose
    // the entry again after a hint replaced the link) and the result is
    // empty.
    std::string addressOrRefuse();

    void directDownload();
    void downloadFromPage();
    // Loads the link manager (and its saved queue) first, appends the link,
    // then shows it owned by the main window.
    void addToQueue();
    void blockRequest();

  private:
    EntryActionsView view_;
    platform::Services& services_;
};

} // namespace app
