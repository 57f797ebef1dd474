// The link manager through its real window and message loop, with recording
// fakes for the Downloads window, the shell, the clipboard and message boxes.
#include "tests/support/fakes.h"
#include "links/frmDDLManager.h"
#include "links/pure/link_queue.h"

#include "catalog/profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using links::frmDDLManager;

// Stands in for the main window: only its blacklist is read.
class Main : public forms::Form {
  public:
    Main() : Form("frmBlacklistHost", "Main") {}
    forms::ListBox lstBlacklist{*this, "lstBlacklist"};
};

struct Fixture : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::FakeServices fakes;
    Main main;
    std::vector<std::string> shownMenu; // captions of the last menu shown
    forms::PopupOptions shownOptions;

    Fixture() {
        fakes.environment.applicationFolder = dir.path();
        CreateDirectoryA((dir.path() + "Data").c_str(), nullptr);
        main.Load();
    }
    ~Fixture() override { forms::PopupMenu::setChooser(nullptr); }

    // The next right click on the list chooses the item of this name.
    void choose(const std::string& item) {
        forms::PopupMenu::setChooser([this, item](forms::PopupMenu& m) {
            shownMenu.clear();
            int found = -1;
            for (size_t i = 0; i < m.items().size(); ++i) {
                shownMenu.push_back(m.items()[i].Caption);
                if (m.items()[i].name() == item)
                    found = static_cast<int>(i);
            }
            shownOptions = m.lastOptions();
            return found;
        });
    }

    // A mouse press and release on an item, as the user's click.
    static void click(forms::ListBox& list, int index, WPARAM keys = 0, bool right = false) {
        RECT r{};
        SendMessageA(list.hwnd(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
        if (right) {
            PostMessageA(list.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON | keys, at);
            PostMessageA(list.hwnd(), WM_RBUTTONUP, keys, at);
        } else {
            PostMessageA(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
            PostMessageA(list.hwnd(), WM_LBUTTONUP, keys, at);
        }
        testsupport::pumpMessages(30);
    }

    void menuCommand(frmDDLManager& f, const std::string& item, int onIndex = 0) {
        choose(item);
        click(f.lstDDLManager, onIndex, 0, true);
    }

    // Waits for the tidying timer to pass over the changed list.
    static void tidied(frmDDLManager& f) {
        unsigned long before = f.tidyPasses();
        testsupport::pumpUntil([&] { return f.tidyPasses() > before; }, 2000);
    }

    std::string queue() const { return dir.read("Data\\FLLinks.ddl"); }
};

TEST_F(Fixture, LoadsTidiesAndSavesTheQueueFile) {
    dir.write("Data\\FLLinks.ddl", "A\r\nB\r\nA\r\nC\r\n");
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.Load();
    EXPECT_EQ(f.links(), (std::vector<std::string>{"A", "B", "A", "C"}));
    EXPECT_EQ(f.Caption(), "Fetchlets - DDL Manager");
    EXPECT_EQ(f.lblHeading.Caption(), "Direct Download Link Manager");
    EXPECT_FALSE(f.cmdDownload.Enabled());
    EXPECT_FALSE(f.cmdMultipleDownload.Enabled());
    f.Show();
    tidied(f);
    EXPECT_EQ(f.links(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(f.lblCountLinks.Caption(), "3");

    // Adding a queued link changes nothing after the next pass; links that
    // differ only in case are both kept.
    f.addLink("B");
    f.addLink("a");
    tidied(f);
    EXPECT_EQ(f.links(), (std::vector<std::string>{"A", "B", "C", "a"}));
    EXPECT_EQ(f.lblCountLinks.Caption(), "4");

    // An idle tick does not read the list.
    unsigned long passes = f.tidyPasses();
    testsupport::pumpMessages(100);
    EXPECT_EQ(f.tidyPasses(), passes);

    ASSERT_TRUE(f.Unload());
    EXPECT_EQ(queue(), "A\r\nB\r\nC\r\na\r\n");
    EXPECT_TRUE(fakes.messageBoxes.calls.empty());
}

TEST_F(Fixture, MenuShowsItsItemsAndCopiesRemovesAndClears) {
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    for (const char* l : {"http://h.org/0", "http://h.org/1", "http://h.org/2", "http://h.org/3"})
        f.addLink(l);
    f.Show();
    tidied(f);

    // The 2nd and 4th selected (click, then Ctrl-click), copied.
    click(f.lstDDLManager, 1);
    click(f.lstDDLManager, 3, MK_CONTROL);
    menuCommand(f, "mnuClipboard", 3);
    EXPECT_EQ(shownMenu, (std::vector<std::string>{
                             "Direct Download", "Multiple Download", "Direct Download from Page",
                             "-", "Copy to Clipboard", "-", "Select All", "Deselect All", "-",
                             "Remove Selected Link", "Clear List"}));
    EXPECT_TRUE(shownOptions.eitherButton);
    EXPECT_EQ(shownOptions.defaultItem, &f.mnuDownload);
    // The right click did not change the selection.
    EXPECT_TRUE(f.lstDDLManager.Selected(1));
    EXPECT_TRUE(f.lstDDLManager.Selected(3));
    ASSERT_EQ(fakes.clipboard.texts.size(), 1u);
    EXPECT_EQ(fakes.clipboard.texts[0], "http://h.org/1\r\nhttp://h.org/3\r\n");

    // Multiple Download hands the selected links over in list order, once.
    menuCommand(f, "mnuMultipleDownload");
    ASSERT_EQ(fakes.downloads.calls.size(), 1u);
    EXPECT_EQ(fakes.downloads.calls[0].urls,
              (std::vector<std::string>{"http://h.org/1", "http://h.org/3"}));
    EXPECT_EQ(fakes.downloads.calls[0].owner, f.window());

    // Remove Selected Link with items 1 and 2 selected leaves 0 and 3.
    click(f.lstDDLManager, 1);
    click(f.lstDDLManager, 2, MK_SHIFT);
    menuCommand(f, "mnuDeleteSelected");
    EXPECT_EQ(f.links(), (std::vector<std::string>{"http://h.org/0", "http://h.org/3"}));

    menuCommand(f, "mnuSelectAll");
    EXPECT_EQ(f.lstDDLManager.SelCount(), 2);
    menuCommand(f, "mnuDeselectAll");
    EXPECT_EQ(f.lstDDLManager.SelCount(), 0);
    menuCommand(f, "mnuClipboard");
    EXPECT_EQ(fakes.clipboard.texts.back(), "");

    // Clear List, then closing leaves an empty file.
    menuCommand(f, "mnuDeleteAll");
    tidied(f);
    EXPECT_EQ(f.lblCountLinks.Caption(), "0");
    SendMessageA(f.window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(f.isLoaded());
    EXPECT_NE(GetFileAttributesA((dir.path() + "Data\\FLLinks.ddl").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(queue(), "");
}

TEST_F(Fixture, BlacklistedLinkDisablesOnlyTheDownloadCommands) {
    main.lstBlacklist.AddItem("badtool");
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.addLink("http://h.org/badtool_setup.exe");
    f.addLink("http://h.org/Badtool_setup.exe");
    f.addLink("www.h.org/fine.exe");
    f.addLink("C:\\Windows\\notepad.exe");
    f.Show();

    click(f.lstDDLManager, 0);
    EXPECT_FALSE(f.cmdDownload.Enabled());
    EXPECT_FALSE(f.cmdMultipleDownload.Enabled());
    EXPECT_FALSE(f.mnuDownload.Enabled);
    EXPECT_FALSE(f.mnuMultipleDownload.Enabled);
    EXPECT_TRUE(f.mnuDownloadFromPage.Enabled);
    // A disabled item cannot be chosen; the page still opens.
    menuCommand(f, "mnuDownload");
    EXPECT_TRUE(fakes.downloads.calls.empty());
    menuCommand(f, "mnuDownloadFromPage");
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].verb, "Open");
    EXPECT_EQ(fakes.shell.calls[0].file, "http://h.org/badtool_setup.exe");

    // Case-sensitive: the capitalised link is not blocked.
    click(f.lstDDLManager, 1);
    EXPECT_TRUE(f.cmdDownload.Enabled());
    EXPECT_TRUE(f.mnuMultipleDownload.Enabled);
    SendMessageA(f.cmdDownload.hwnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(fakes.downloads.calls.size(), 1u);
    ASSERT_FALSE(fakes.downloads.calls.empty());
    EXPECT_EQ(fakes.downloads.calls.back().urls,
              (std::vector<std::string>{"http://h.org/Badtool_setup.exe"}));

    // A scheme-less address goes out as http; a local path is refused and said.
    click(f.lstDDLManager, 2);
    menuCommand(f, "mnuDownload", 2);
    EXPECT_EQ(fakes.downloads.calls.back().urls,
              (std::vector<std::string>{"http://www.h.org/fine.exe"}));
    size_t handed = fakes.downloads.calls.size();
    click(f.lstDDLManager, 3);
    menuCommand(f, "mnuDownload", 3);
    EXPECT_EQ(fakes.downloads.calls.size(), handed);
    ASSERT_FALSE(fakes.messageBoxes.calls.empty());
    EXPECT_NE(fakes.messageBoxes.calls.back().text.find("points to a file on this computer"),
              std::string::npos);

    // An empty blacklist line blocks every link.
    main.lstBlacklist.AddItem("");
    click(f.lstDDLManager, 1);
    EXPECT_FALSE(f.cmdDownload.Enabled());
}

TEST_F(Fixture, AnUnwritableQueueKeepsTheWindowOpenWithItsLinks) {
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.addLink("http://h.org/keep");
    f.Show();
    // A read-only file is not replaced.
    dir.write("Data\\FLLinks.ddl", "old\r\n");
    SetFileAttributesA((dir.path() + "Data\\FLLinks.ddl").c_str(), FILE_ATTRIBUTE_READONLY);
    SendMessageA(f.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.isLoaded());
    EXPECT_EQ(f.links(), (std::vector<std::string>{"http://h.org/keep"}));
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 1u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("could not be saved"), std::string::npos);
    EXPECT_EQ(queue(), "old\r\n");

    // Writable again: the close goes through and the queue is saved.
    SetFileAttributesA((dir.path() + "Data\\FLLinks.ddl").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(f.Unload());
    EXPECT_EQ(queue(), "http://h.org/keep\r\n");
}

TEST_F(Fixture, EveryChangeReachesTheFileSoonInFewWrites) {
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.Load();
    // A burst is written once, at the next tick.
    for (int i = 0; i < 40; ++i)
        f.addLink("http://h.org/" + std::to_string(i));
    std::string all;
    for (int i = 0; i < 40; ++i)
        all += "http://h.org/" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(testsupport::pumpUntil([&] { return queue() == all; }, 2000));
    EXPECT_EQ(f.queueWrites(), 1u);
    // Changes right after a write wait for the next second, then go
    // together; a removal is written too.
    f.addLink("http://h.org/late");
    f.lstDDLManager.RemoveItem(0);
    testsupport::pumpMessages(200);
    EXPECT_EQ(queue(), all);
    all = all.substr(all.find('\n') + 1) + "http://h.org/late\r\n";
    EXPECT_TRUE(testsupport::pumpUntil([&] { return queue() == all; }, 3000));
    EXPECT_EQ(f.queueWrites(), 2u);
    testsupport::pumpMessages(300);
    EXPECT_EQ(f.queueWrites(), 2u); // nothing changed, nothing written
    EXPECT_TRUE(f.Unload());
}

TEST_F(Fixture, AMissingDataFolderIsToldAndNothingIsLost) {
    fakes.environment.applicationFolder = dir.path() + "nowhere\\";
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.addLink("http://h.org/keep");
    EXPECT_FALSE(f.Unload(forms::vbFormControlMenu));
    EXPECT_TRUE(f.isLoaded());
    EXPECT_EQ(f.links().size(), 1u);
    EXPECT_EQ(fakes.messageBoxes.calls.size(), 1u);
    // The session's end cannot wait: the window goes without asking.
    EXPECT_TRUE(f.Unload(forms::vbAppWindows));
    EXPECT_EQ(fakes.messageBoxes.calls.size(), 1u);
}

TEST_F(Fixture, ClosingTheOwnerStillSavesTheQueue) {
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.addLink("http://h.org/owned");
    f.Show(&main);
    main.Unload();
    EXPECT_EQ(queue(), "http://h.org/owned\r\n");
    // The window can be made again, with the saved queue.
    EXPECT_FALSE(f.isLoaded());
    f.addLink("http://h.org/next");
    EXPECT_EQ(f.links(), (std::vector<std::string>{"http://h.org/owned", "http://h.org/next"}));
    EXPECT_TRUE(f.Unload());
    EXPECT_EQ(queue(), "http://h.org/owned\r\nhttp://h.org/next\r\n");
}

TEST_F(Fixture, GeometryIsKeptInItsOwnSection) {
    std::string ini = dir.path() + "Data\\Fetchlets.ini";
    {
        frmDDLManager f(fakes.services, {main.lstBlacklist});
        f.Load();
        f.Move(1200, 900, 9000, 6000);
        EXPECT_EQ(f.lstDDLManager.Width(), 9000 - 600);
        EXPECT_EQ(f.lstDDLManager.Height(), 6000 - 1900);
        EXPECT_EQ(f.cmdMultipleDownload.Left(), 9000 - 3650);
        ASSERT_TRUE(f.Unload());
    }
    EXPECT_EQ(profile::readString(ini, "WindowStateDDLManager", "Width", "", 60).text, "9000");
    frmDDLManager g(fakes.services, {main.lstBlacklist});
    g.Load();
    EXPECT_EQ(g.Left(), 1200);
    EXPECT_EQ(g.Height(), 6000);
    EXPECT_EQ(g.cmdDownload.Left(), 9000 - 3650);
}

TEST_F(Fixture, AFullQueueLoadsTidiesSavesAndRefusesOneMore) {
    std::vector<std::string> many;
    for (size_t i = 0; i < links::kMaxLinks; ++i)
        many.push_back("http://downloads.example.org/apps/" + std::to_string(i) + "/setup.exe");
    dir.write("Data\\FLLinks.ddl", links::formatQueue(many));
    frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.Show();
    tidied(f);
    EXPECT_EQ(f.lblCountLinks.Caption(), "32767");

    EXPECT_FALSE(f.addLink("http://new.example.org/x.exe"));
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 1u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("full"), std::string::npos);
    // A link it already holds is no refusal.
    EXPECT_TRUE(f.addLink(many[5]));
    EXPECT_EQ(fakes.messageBoxes.calls.size(), 1u);

    // Many repeats at once: the first occurrences stay, with the selection.
    click(f.lstDDLManager, 2);
    for (size_t i = 0; i < 100; ++i)
        f.lstDDLManager.AddItem(many[i], static_cast<int>(i * 3));
    tidied(f);
    EXPECT_EQ(f.links(), many);
    EXPECT_EQ(f.lstDDLManager.SelCount(), 1);
    EXPECT_TRUE(f.lstDDLManager.Selected(2));

    ASSERT_TRUE(f.Unload());
    EXPECT_EQ(queue(), links::formatQueue(many));
}

} // namespace
