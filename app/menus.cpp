#include "app/menus.h"

#include <stdexcept>

namespace app {

using C = EntryCommand;

const std::array<EntryMenuRow, kEntryCommandCount> kEntryMenuRows{{
    {C::Download,
     "Direct Download",
     {"mnuDownload", "mnuDownloadPortable", "mnuDownloadSlim", "mnuDownloadSpecial"}},
    {C::FromPage,
     "Direct Download from Page",
     {"mnuDownloadFromPage", "mnuDownloadPortableFromPage", "mnuDownloadSlimFromPage",
      "mnuDownloadSpecialFromPage"}},
    {C::Queue,
     "Add Link to Download Manager (Queue List)",
     {"mnuDDLManager", "mnuDDLManagerPortable", "mnuDDLManagerSlim", "mnuDDLManagerSpecial"}},
    {C::QueueForce,
     "Add Link to Download Manager (Force)",
     {"mnuDDLManagerForce", "mnuDDLManagerPortableForce", "mnuDDLManagerSlimForce",
      "mnuDDLManagerSpecialForce"}},
    {C::CheckInstalled,
     "Check whether App is installed",
     {"mnuCheckAppInstalled", nullptr, "mnuCheckAppInstalledSlim", "mnuCheckAppInstalledSpecial"}},
    {C::DeveloperPage,
     "Visit Developer Page",
     {"mnuVisitDeveloperPage", "mnuVisitDeveloperPagePortable", "mnuVisitDeveloperPageSlim",
      "mnuVisitDeveloperPageSpecial"}},
    {C::Alternate,
     "Search Alternate Download Link",
     {"mnuAlternateDownload", "mnuAlternatePortableDownload", "mnuAlternateSlimDownload",
      "mnuAlternateSpecialDownload"}},
    {C::Support,
     "Search Support Links",
     {"mnuSupportLinks", "mnuSupportLinksPortable", "mnuSupportLinksSlim",
      "mnuSupportLinksSpecial"}},
    {C::Screenshots,
     "Show Screenshots of App",
     {"mnuAppScreenshots", "mnuAppScreenshotsPortable", "mnuAppScreenshotsSlim",
      "mnuAppScreenshotsSpecial"}},
    {C::Clipboard,
     "Copy Download Link to Clipboard",
     {"mnuURLtoClipboard", "mnuURLtoClipboardPortable", "mnuURLtoClipboardSlim",
      "mnuURLtoClipboardSpecial"}},
    {C::Sort, "Sort A-Z", {"mnuSort", "mnuSortPortable", "mnuSortSlim", "mnuSortSpecial"}},
    {C::Separator, "-", {"mnu1", "mnu2", "mnu3", "mnu4"}},
    {C::Send,
     "Send Download Link to your Friend(s)",
     {"mnuSendDownloadLink", "mnuSendDownloadLinkPortable", "mnuSendDownloadLinkSlim",
      "mnuSendDownloadLinkSpecial"}},
    {C::Report,
     "Report Problem with this Download Link",
     {"mnuReportProblem", "mnuReportPortableProblem", "mnuReportSlimProblem",
      "mnuReportSpecialProblem"}},
    {C::Block,
     "Direct Download for this App not allowed?",
     {"mnuBlockDirectDownload", "mnuBlockDirectDownloadPortable", "mnuBlockDirectDownloadSlim",
      "mnuBlockDirectDownloadSpecial"}},
}};

namespace {

// The menu's name and its column of the table.
struct MenuOfKind {
    const char* name;
    std::size_t column;
};

MenuOfKind menuOf(catalog::Kind kind) {
    switch (kind) {
    case catalog::Kind::Apps:
        return {"mnMain", 0};
    case catalog::Kind::Portable:
        return {"mnPortable", 1};
    case catalog::Kind::Slim:
        return {"mnSlim", 2};
    case catalog::Kind::Special:
        return {"mnSpecial", 3};
    case catalog::Kind::Pages:
        break;
    }
    throw std::invalid_argument("the Pages list has no entry menu");
}

} // namespace

EntryMenu::EntryMenu(forms::Form& form, catalog::Kind kind)
    : PopupMenu(form, menuOf(kind).name), kind_(kind) {
    const std::size_t column = menuOf(kind).column;
    for (const EntryMenuRow& row : kEntryMenuRows)
        if (const char* name = row.names[column])
            items_[static_cast<std::size_t>(row.command)] = &add(name, row.caption);
}

} // namespace app
