// The main window's menus as it shows them, and the download, queue, web,
// mail and clipboard actions on a chosen entry, through the real window.
#include "app/entry_actions.h"
#include "app/frmMain.h"
#include "platform/pure/endpoints.h"
#include "app/pure/web_links.h"
#include "app/web_actions.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "tests/support/windows.h"

#include <gtest/gtest.h>

#include <cstdio>

using app::frmMain;
using catalog::Kind;

namespace {

class Actions : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* f : {"FLApps", "FLPortable", "FLSlim", "FLSpecial", "FLPages"})
            folder.write(std::string("Data\\") + f + ".def",
                         "[C]\r\nTom & Jerry=http://x.org/t\r\n");
        fakes.environment.applicationFolder = folder.path();
        form.Load();
        form.Show();
    }
    void TearDown() override {
        forms::PopupMenu::setChooser(nullptr);
        testsupport::unloadLoaded({&form.ddlManager(), &form});
    }

    // What a right click on the list shows: each item as the system menu
    // holds it, "(default)" after the default one, "(disabled)" after a
    // greyed one; the flags of the pop-up; the item chosen is `choose`.
    std::vector<std::string> rightClick(forms::ListBox& list, const std::string& choose = {}) {
        shown.clear();
        forms::PopupMenu::setChooser([&](forms::PopupMenu& m) {
            HMENU menu = m.build(m.lastOptions());
            UINT def = GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED);
            for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
                char text[200] = {};
                GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                UINT state = GetMenuState(menu, i, MF_BYPOSITION);
                std::string line = (state & MF_SEPARATOR) ? "-" : text;
                if (!(state & MF_SEPARATOR) && GetMenuItemID(menu, i) == def)
                    line += " (default)";
                if ((state & MF_GRAYED) && !(state & MF_SEPARATOR))
                    line += " (disabled)";
                shown.push_back(line);
            }
            eitherButton = m.lastOptions().eitherButton;
            DestroyMenu(menu);
            return testsupport::itemIndex(m, choose);
        });
        SendMessageA(list.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        SendMessageA(list.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        return shown;
    }

    static std::string join(const std::vector<std::string>& v) {
        std::string s;
        for (const auto& x : v)
            s += "  " + x + "\n";
        return s;
    }

    app::Kinds kinds() {
        return app::Kinds{{form.kindControls(Kind::Apps), form.kindControls(Kind::Portable),
                           form.kindControls(Kind::Slim), form.kindControls(Kind::Special),
                           form.kindControls(Kind::Pages)}};
    }

    testsupport::TempFolder folder;
    testsupport::FakeServices fakes;
    frmMain form{fakes.services};
    std::vector<std::string> shown;
    bool eitherButton = false;
    std::string link = "http://dl.example.org/tools/badtool_setup.exe?a=1&b=2";
};

TEST_F(Actions, MenusAsTheWindowShowsThem) {
    const std::vector<std::string> apps{"Direct Download (default) (disabled)",
                                        "Direct Download from Page (disabled)",
                                        "Add Link to Download Manager (Queue List)",
                                        "Add Link to Download Manager (Force)",
                                        "Check whether App is installed",
                                        "Visit Developer Page",
                                        "Search Alternate Download Link",
                                        "Search Support Links",
                                        "Show Screenshots of App",
                                        "Copy Download Link to Clipboard",
                                        "Sort A-Z",
                                        "-",
                                        "Send Download Link to your Friend(s)",
                                        "Report Problem with this Download Link",
                                        "Direct Download for this App not allowed?"};
    std::string dump;
    for (auto* list : {&form.lstApps, &form.lstSlim, &form.lstSpecial}) {
        EXPECT_EQ(rightClick(*list), apps) << list->name();
        EXPECT_TRUE(eitherButton);
        dump += list->name() + ":\n" + join(shown);
    }
    std::vector<std::string> portable = apps;
    portable.erase(portable.begin() + 4);
    EXPECT_EQ(rightClick(form.lstPortable), portable);
    dump += "lstPortable:\n" + join(shown);

    EXPECT_EQ(
        rightClick(form.lstPages),
        (std::vector<std::string>{"Visit Page Now! (default)", "-", "Copy Page Link to Clipboard",
                                  "Sort A-Z", "-", "Send Page Link to your Friend(s)",
                                  "Share Page on Twitter", "Share Page on Facebook"}));
    EXPECT_TRUE(eitherButton);
    dump += "lstPages:\n" + join(shown);
    for (auto* list : {&form.lstCat, &form.lstCatPortable, &form.lstCatSlim, &form.lstCatPages}) {
        EXPECT_EQ(rightClick(*list), (std::vector<std::string>{"Sort A-Z"}));
        EXPECT_EQ(eitherButton, list == &form.lstCatPages) << list->name();
        dump += list->name() + (eitherButton ? " (either button)" : "") + ":\n" + join(shown);
    }
    // No menu on the Special categories.
    EXPECT_TRUE(rightClick(form.lstCatSpecial).empty());
    if (getenv("FL_DUMP_MENUS"))
        std::printf("%s", dump.c_str());
}

// The entry menus are built from one table: each carries the item names the
// description gives it, in order, and no item but the separator is left
// without an action.
TEST_F(Actions, EntryMenusCarryTheirOwnNamesAndEveryItemActs) {
    const std::vector<std::string> portable{"mnuDownloadPortable",
                                            "mnuDownloadPortableFromPage",
                                            "mnuDDLManagerPortable",
                                            "mnuDDLManagerPortableForce",
                                            "mnuVisitDeveloperPagePortable",
                                            "mnuAlternatePortableDownload",
                                            "mnuSupportLinksPortable",
                                            "mnuAppScreenshotsPortable",
                                            "mnuURLtoClipboardPortable",
                                            "mnuSortPortable",
                                            "mnu2",
                                            "mnuSendDownloadLinkPortable",
                                            "mnuReportPortableProblem",
                                            "mnuBlockDirectDownloadPortable"};
    const std::vector<std::string> slim{"mnuDownloadSlim",
                                        "mnuDownloadSlimFromPage",
                                        "mnuDDLManagerSlim",
                                        "mnuDDLManagerSlimForce",
                                        "mnuCheckAppInstalledSlim",
                                        "mnuVisitDeveloperPageSlim",
                                        "mnuAlternateSlimDownload",
                                        "mnuSupportLinksSlim",
                                        "mnuAppScreenshotsSlim",
                                        "mnuURLtoClipboardSlim",
                                        "mnuSortSlim",
                                        "mnu3",
                                        "mnuSendDownloadLinkSlim",
                                        "mnuReportSlimProblem",
                                        "mnuBlockDirectDownloadSlim"};
    auto names = [](forms::PopupMenu& m) {
        std::vector<std::string> out;
        for (const forms::MenuItem& i : m.items())
            out.push_back(i.name());
        return out;
    };
    EXPECT_EQ(names(form.mnPortable), portable);
    EXPECT_EQ(names(form.mnSlim), slim);
    EXPECT_EQ(form.mnMain.name(), "mnMain");
    EXPECT_EQ(names(form.mnMain)[4], "mnuCheckAppInstalled");
    EXPECT_EQ(names(form.mnSpecial)[6], "mnuAlternateSpecialDownload");
    for (app::EntryMenu* m : {&form.mnMain, &form.mnPortable, &form.mnSlim, &form.mnSpecial})
        for (const forms::MenuItem& i : m->items())
            EXPECT_EQ(static_cast<bool>(i.Click), i.Caption != "-") << i.name();
}

TEST_F(Actions, MouseDownCopiesTheEntryNameAndThePageName) {
    form.lstCat.setListIndex(0);
    form.lstApps.setListIndex(0);
    rightClick(form.lstApps);
    EXPECT_EQ(form.txtAppsSearch.Text(), "Tom & Jerry");
    form.lstCatPages.setListIndex(0);
    form.lstPages.setListIndex(0);
    SendMessageA(form.lstPages.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form.lstPages.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(form.lblPages.Caption(), "Tom & Jerry");
}

TEST_F(Actions, DownloadsQueueAndTheBlacklist) {
    app::Kinds k = kinds();
    folder.write("Data\\FLLinks.ddl", "http://saved.org/a\r\n");
    app::EntryActions d({form, k, form.lstBlacklist, [&] { return link; }, form.ddlManager()},
                        fakes.services);

    // Case-sensitive, and only the three switched commands, as an entry is
    // chosen in the window.
    auto choose = [&](forms::ListBox& categories, forms::ListBox& entries) {
        categories.setListIndex(-1);
        categories.setListIndex(0);
        entries.setListIndex(0);
    };
    form.lstBlacklist.AddItem("X.org");
    choose(form.lstCat, form.lstApps);
    EXPECT_TRUE(form.cmdDownload.Enabled());
    EXPECT_TRUE(form.mnMain[app::EntryCommand::Queue].Enabled);
    form.lstBlacklist.AddItem("x.org");
    choose(form.lstCat, form.lstApps);
    EXPECT_FALSE(form.cmdDownload.Enabled());
    EXPECT_FALSE(form.mnMain[app::EntryCommand::Download].Enabled);
    EXPECT_FALSE(form.mnMain[app::EntryCommand::Queue].Enabled);
    EXPECT_TRUE(form.mnMain[app::EntryCommand::QueueForce].Enabled);
    EXPECT_TRUE(form.cmdDownloadFromPage.Enabled());

    // The Force item still queues the blacklisted link, after the saved
    // queue is read; the window is shown owned by the main window.
    app::EntryActions live({form, k, form.lstBlacklist, [&] { return link; }, form.ddlManager()},
                           fakes.services);
    form.mnMain[app::EntryCommand::QueueForce].Click = [&] { live.addToQueue(); };
    rightClick(form.lstApps, "mnuDDLManagerForce");
    rightClick(form.lstApps, "mnuDDLManagerForce");
    links::frmDDLManager& m = form.ddlManager();
    ASSERT_TRUE(m.Visible());
    EXPECT_EQ(GetWindow(m.hwnd(), GW_OWNER), form.hwnd());
    EXPECT_EQ(m.links(), (std::vector<std::string>{"http://saved.org/a", link, link}));
    testsupport::pumpUntil([&] { return m.lstDDLManager.ListCount() == 2; }, 2000);
    EXPECT_EQ(m.links(), (std::vector<std::string>{"http://saved.org/a", link}));

    // An empty blacklist line blocks every link.
    form.lstBlacklist.Clear();
    form.lstBlacklist.AddItem("");
    choose(form.lstCatSlim, form.lstSlim);
    EXPECT_FALSE(form.cmdDownloadSlim.Enabled());
    EXPECT_FALSE(form.mnSlim[app::EntryCommand::Queue].Enabled);

    d.directDownload();
    ASSERT_EQ(fakes.downloads.calls.size(), 1u);
    EXPECT_EQ(fakes.downloads.calls[0].urls, std::vector<std::string>{link});
    EXPECT_EQ(fakes.downloads.calls[0].owner, form.hwnd());
    d.downloadFromPage();
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].file, link);

    // After a hover hint replaced the link field, nothing is handed on.
    link = "Visit the Homepage of Fetchlets";
    d.directDownload();
    d.downloadFromPage();
    d.addToQueue();
    EXPECT_EQ(fakes.downloads.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(m.lstDDLManager.ListCount(), 2);
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 3u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("choose the entry again"), std::string::npos);

    // The block request is a mail to the maker; the link reaches it whole.
    link = "http://x.org/get?a=1&b=2";
    d.blockRequest();
    EXPECT_EQ(fakes.shell.calls.back().file,
              std::string("mailto:") + platform::endpoints::kFeedbackAddress +
                  "?Subject=Direct%20Download%20not%20allowed.&Body=Please%20Prevent%20this%20"
                  "Fetchlets%20ID:%20http://x.org/get?a=1%26b=2%20from%20Direct%20Download.");
}

TEST_F(Actions, WebMailAndClipboard) {
    std::string name = "Tom & Jerry";
    app::WebActions w({form, [&] { return link; }, [&](Kind) { return name; }}, fakes.services);
    w.alternateDownload(Kind::Portable);
    EXPECT_EQ(fakes.shell.calls.back().file,
              std::string("http://") + platform::endpoints::kWebSearchHost +
                  "/search?hl=en&lr=&ie=UTF-8&q=Tom%20%26%20Jerry%20Download");
    EXPECT_EQ(fakes.shell.calls.back().verb, "Open");

    link = "HTTP://Dl.Example.org/tools/setup.exe";
    w.developerPage();
    EXPECT_EQ(fakes.shell.calls.back().file, "HTTP://Dl.Example.org/");
    size_t opened = fakes.shell.calls.size();
    // No "/" after the host: nothing to open, and the user is told so.
    link = "http://dl.example.org";
    w.developerPage();
    EXPECT_EQ(fakes.shell.calls.size(), opened);
    link = "dl.example.org"; // would give "http://" alone
    w.developerPage();
    EXPECT_EQ(fakes.shell.calls.size(), opened);
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 2u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("no developer page"), std::string::npos);
    EXPECT_NE(fakes.messageBoxes.calls[1].text.find("no developer page"), std::string::npos);
    link = "https://dl.example.org/x";
    w.developerPage();
    EXPECT_EQ(fakes.shell.calls.back().file, "https://dl.example.org/");
    link = "Visit the Homepage of Fetchlets";
    w.developerPage();
    EXPECT_EQ(fakes.shell.calls.size(), opened + 1);
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 3u);

    // The clipboard takes whatever the field shows.
    w.linkToClipboard();
    EXPECT_EQ(fakes.clipboard.texts.back(), link);

    link = "http://x.org/k";
    w.sendDownloadLink(Kind::Special);
    EXPECT_NE(fakes.shell.calls.back().file.find("Get%20Recommended%20by%20-%20Fetchlets"),
              std::string::npos);
    w.reportProblem();
    EXPECT_EQ(fakes.shell.calls.back().file.rfind("mailto:", 0), 0u);
    w.sharePageOnTwitter();
    EXPECT_EQ(fakes.shell.calls.back().file, app::twitterShare(link));

    // The Home and About controls of the window.
    SendMessageA(form.cmdFeedback.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(fakes.shell.calls.back().file, app::feedbackMail());
}

} // namespace

TEST_F(Actions, ExitOffersAWayOutWhenTheQueueCannotBeSaved) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    } // left by earlier tests' last windows
    links::frmDDLManager& m = form.ddlManager();
    ASSERT_TRUE(m.addLink("http://h.org/keep", form.hwnd()));
    m.Show(&form);
    const std::string queue = folder.path() + "Data\\FLLinks.ddl";
    folder.write("Data\\FLLinks.ddl", "old\r\n");
    SetFileAttributesA(queue.c_str(), FILE_ATTRIBUTE_READONLY);

    // The toolbar's Exit. Trying again fails again; closing without saving
    // asks once more, naming the loss, and the user declines; the queue is
    // then saved elsewhere (".ddl" added to the name) and the window goes.
    fakes.messageBoxes.answers = {IDTRYAGAIN, IDCANCEL, IDNO, IDCONTINUE};
    fakes.fileDialogs.saveAnswers = {folder.path() + "elsewhere"};
    form.navigation().toolbarClick(7);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(m.isLoaded());
    const auto& boxes = fakes.messageBoxes.calls;
    ASSERT_EQ(boxes.size(), 4u);
    for (size_t i : {0u, 1u, 3u}) {
        EXPECT_NE(boxes[i].text.find("could not be saved"), std::string::npos);
        EXPECT_EQ(boxes[i].flags & 0xF, static_cast<unsigned>(MB_CANCELTRYCONTINUE));
    }
    EXPECT_NE(boxes[2].text.find("The 1 link in the queue will be lost."), std::string::npos);
    EXPECT_EQ(folder.read("elsewhere.ddl"), "http://h.org/keep\r\n");
    EXPECT_EQ(folder.read("Data\\FLLinks.ddl"), "old\r\n");

    // Closing without saving, confirmed: the window goes, the file stays.
    ASSERT_TRUE(m.addLink("http://h.org/two"));
    fakes.messageBoxes.answers = {IDCANCEL, IDYES};
    EXPECT_TRUE(m.Unload());
    EXPECT_NE(boxes.back().text.find("The 2 links in the queue will be lost."), std::string::npos);
    EXPECT_EQ(folder.read("Data\\FLLinks.ddl"), "old\r\n");
    SetFileAttributesA(queue.c_str(), FILE_ATTRIBUTE_NORMAL);
}
