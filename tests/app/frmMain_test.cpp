// The main window started on a temporary application folder.
#include "app/frmMain.h"
#include "catalog/profile.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "tests/support/windows.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <set>
#include <type_traits>

using app::frmMain;
using testsupport::FakeServices;
using testsupport::pumpMessages;
using testsupport::pumpUntil;
using testsupport::TempFolder;

namespace {

// The services every build offers (environment, shell, processes, single
// instance) cannot be left out when a window's services are put together.
static_assert(!std::is_default_constructible_v<platform::Services>);

using testsupport::items;

using Items = std::vector<std::string>;

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("Data\\FLApps.def", "[B]\r\nTool=link-text\r\na=b=c\r\nno equals sign\r\n"
                                         "=empty name\r\n[A]\r\nFirst=http://one\r\n");
        folder.write("Data\\FLPortable.def", "[Portable Two]\r\nP=p\r\n[Portable One]\r\n");
        folder.write("Data\\FLSlim.def", "[Slim]\r\nS=s\r\n");
        folder.write("Data\\FLSpecial.def", "[Special - Windows Starter Kit]\r\nK1=k1\r\nK2=k2\r\n"
                                            "[Special - Recommendations]\r\nR=r\r\n");
        folder.write("Data\\FLPages.def", "[Help]\r\nPage=http://page\r\n");
        fakes.environment.applicationFolder = folder.path();
        fakes.environment.variables["Username"] = "Ada";
    }
    void TearDown() override {
        if (form.isLoaded())
            form.Unload();
    }

    TempFolder folder;
    FakeServices fakes;
    frmMain form{fakes.services};
};

TEST_F(MainWindow, StartUpFillsTheCategoryListsInFileOrder) {
    form.Load();
    ASSERT_TRUE(form.isLoaded());
    EXPECT_EQ(items(form.lstCat), (Items{"B", "A"}));
    EXPECT_EQ(items(form.lstCatPortable), (Items{"Portable Two", "Portable One"}));
    EXPECT_EQ(items(form.lstCatSlim), (Items{"Slim"}));
    EXPECT_EQ(items(form.lstCatPages), (Items{"Help"}));
    EXPECT_EQ(items(form.lstCatSpecial),
              (Items{"Special - Windows Starter Kit", "Special - Recommendations"}));
    EXPECT_EQ(form.catalogFile(catalog::Kind::Apps), folder.path() + "Data\\FLApps.def");

    // The first Special category is chosen and shown under its title.
    EXPECT_EQ(form.lstCatSpecial.ListIndex(), 0);
    EXPECT_EQ(items(form.lstSpecial), (Items{"K1", "K2"}));
    EXPECT_EQ(form.txtSpecialSearch.Text(), "Windows Starter Kit");
    EXPECT_FALSE(form.ImgRecommendations.Visible());
    EXPECT_TRUE(form.ImgStarterKit.Visible());

    EXPECT_EQ(form.Height(), 7890);
    EXPECT_EQ(form.lblWelcome.Caption(), "Welcome,");
    EXPECT_EQ(form.lblUser.Caption(), "Ada");
    EXPECT_EQ(form.lblVersion.Caption(), "0.4.4 RC5");
    EXPECT_EQ(form.txtCredits.Text().rfind("The Fetchlets team would like to acknowledge the "
                                           "following Contributors: \r\n \r\n",
                                           0),
              0u);
    EXPECT_FALSE(form.cmdVisitPage.Enabled());
    EXPECT_FALSE(IsWindowEnabled(form.cmdVisitPage.hwnd()));
    EXPECT_FALSE(IsWindowEnabled(form.cmdDownloadSlimFromPage.hwnd()));
    EXPECT_EQ(fakes.singleInstance.asked.size(), 1u);
}

TEST_F(MainWindow, MissingCatalogFilesLeaveTheirListsEmpty) {
    DeleteFileA((folder.path() + "Data\\FLPortable.def").c_str());
    folder.write("Data\\FLSlim.def", "");
    form.Load();
    EXPECT_EQ(form.lstCatPortable.ListCount(), 0);
    EXPECT_EQ(form.lstCatSlim.ListCount(), 0);
    EXPECT_EQ(items(form.lstCat), (Items{"B", "A"}));
}

TEST_F(MainWindow, ChoosingACategoryListsItsEntriesAndDisablesTheCommands) {
    form.Load();
    // The kinds table names each kind's controls; Pages has no search box.
    EXPECT_EQ(form.kindControls(catalog::Kind::Pages).search, nullptr);
    EXPECT_EQ(form.kindControls(catalog::Kind::Special).entries.name(), "lstSpecial");
    auto& k = form.kindControls(catalog::Kind::Apps);
    form.cmdDownload.setEnabled(true);
    form.cmdDownloadFromPage.setEnabled(true);
    k.item(app::EntryCommand::Download)->Enabled = true;
    k.item(app::EntryCommand::FromPage)->Enabled = true;

    // A user's choice arrives as the list's selection-change notification.
    SendMessageA(form.lstCat.hwnd(), LB_SETCURSEL, 0, 0);
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.lstCat.id(), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.lstCat.hwnd()));
    // Lines without "=" are skipped; a name may be empty; "a=b=c" lists "a".
    EXPECT_EQ(items(form.lstApps), (Items{"Tool", "a", ""}));
    EXPECT_FALSE(form.cmdDownload.Enabled());
    EXPECT_FALSE(IsWindowEnabled(form.cmdDownload.hwnd()));
    EXPECT_FALSE(form.cmdDownloadFromPage.Enabled());
    EXPECT_FALSE(k.item(app::EntryCommand::Download)->Enabled);
    EXPECT_FALSE(k.item(app::EntryCommand::FromPage)->Enabled);

    // Choosing another category replaces the entries; a category replaced
    // on disk meanwhile is read afresh.
    folder.write("Data\\FLApps.def", "[B]\r\nX=x\r\n[A]\r\nNew=http://new\r\nNewer=y\r\n");
    form.lstCat.setListIndex(1);
    EXPECT_EQ(items(form.lstApps), (Items{"New", "Newer"}));

    // Pages differ only in their single command.
    form.cmdVisitPage.setEnabled(true);
    form.lstCatPages.setListIndex(0);
    EXPECT_EQ(items(form.lstPages), (Items{"Page"}));
    EXPECT_FALSE(form.cmdVisitPage.Enabled());
}

TEST_F(MainWindow, ACategoryNoLongerInTheFileGivesAnEmptyList) {
    form.Load();
    form.lstCatPortable.setListIndex(0);
    EXPECT_EQ(items(form.lstPortable), (Items{"P"}));
    folder.write("Data\\FLPortable.def", "[Other]\r\nO=o\r\n");
    form.lstCatPortable.setListIndex(1);
    form.lstCatPortable.setListIndex(0);
    EXPECT_TRUE(items(form.lstPortable).empty());
    EXPECT_FALSE(form.cmdDownloadPortable.Enabled());
}

TEST_F(MainWindow, EntryLinksAreReadFromTheKindsFile) {
    form.Load();
    const std::string apps = form.catalogFile(catalog::Kind::Apps);
    EXPECT_EQ(catalog::entryLink(apps, "B", "Tool"), "link-text");
    EXPECT_EQ(catalog::entryLink(apps, "B", "a"), "b=c");
    EXPECT_EQ(catalog::entryLink(apps, "b", "TOOL"), "link-text");
    EXPECT_EQ(catalog::entryLink(apps, "B", "missing"), std::nullopt);
}

TEST_F(MainWindow, TimersKeepThePageDependentControlsInStep) {
    form.Load();
    form.Show();
    form.SSTab1.setTab(1);
    ASSERT_TRUE(pumpUntil([&] { return form.cmdDownload.Visible(); }, 2000));
    EXPECT_TRUE(form.cmdDownloadFromPage.Visible());
    EXPECT_FALSE(form.cmdFeedback.Visible());
    EXPECT_FALSE(form.ImgUpdate.Visible());
    EXPECT_FALSE(form.cmdDownloadPortable.Visible());
    EXPECT_FALSE(form.cmdDownloadSlimFromPage.Visible());
    EXPECT_TRUE(IsWindowVisible(form.cmdDownload.hwnd()));
    EXPECT_FALSE(IsWindowVisible(form.lstCatPortable.hwnd()));

    form.SSTab1.setTab(0);
    ASSERT_TRUE(pumpUntil([&] { return form.cmdFeedback.Visible(); }, 2000));
    EXPECT_FALSE(form.cmdDownload.Visible());
    EXPECT_TRUE(form.ImgUpdate.Visible() && form.ImgTwitter.Visible() &&
                form.ImgFacebook.Visible());

    form.SSTab1.setTab(5);
    ASSERT_TRUE(pumpUntil([&] { return form.cmdDownloadSlim.Visible(); }, 2000));
    EXPECT_FALSE(form.cmdFeedback.Visible());

    // The inner stack's timer: Special commands on its page 0, Visit Page on 1.
    form.SSTab1.setTab(6);
    form.SSTab2.setTab(1);
    ASSERT_TRUE(pumpUntil([&] { return form.cmdVisitPage.Visible(); }, 2000));
    EXPECT_FALSE(form.cmdDownloadSpecial.Visible());
    EXPECT_TRUE(IsWindowVisible(form.lstCatPages.hwnd()));
    form.SSTab2.setTab(0);
    ASSERT_TRUE(pumpUntil([&] { return form.cmdDownloadSpecial.Visible(); }, 2000));
    EXPECT_FALSE(form.cmdVisitPage.Visible());
}

// Child windows moved, sized, shown or hidden while the hook is in place.
std::set<HWND>* g_changed = nullptr;
LRESULT CALLBACK watchPositions(int code, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
    if (code >= 0 && g_changed && m->message == WM_WINDOWPOSCHANGED &&
        (GetWindowLongA(m->hwnd, GWL_STYLE) & WS_CHILD)) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(m->lParam);
        if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE) ||
            (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
            g_changed->insert(m->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(MainWindow, StartUpCreatesEveryControlWhereTheFirstShowNeedsIt) {
    std::set<HWND> changed;
    g_changed = &changed;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchPositions, nullptr, GetCurrentThreadId());
    form.Load();
    form.Show();
    pumpMessages(100);
    UnhookWindowsHookEx(hook);
    g_changed = nullptr;
    std::vector<std::string> moved;
    for (forms::Control* c : form.controls())
        // A combo box sets its own height to its text's as it is created.
        if (c->hwnd() && changed.count(c->hwnd()) && c->Align() == forms::vbAlignNone &&
            c->kind() != forms::Kind::ComboBox)
            moved.push_back(c->name());
    EXPECT_EQ(moved, std::vector<std::string>{}) << "moved, sized, shown or hidden after creation";
}

TEST_F(MainWindow, TimersShowCountsAndTrimSearchBoxes) {
    form.Load();
    form.lstCat.setListIndex(0);
    form.txtAppsSearch.setText("Visual C++ (x64");
    form.txtSpecialSearch.setText("a (b) (c");
    ASSERT_TRUE(pumpUntil([&] { return form.txtAppsSearch.Text() == "Visual C++ "; }, 2000));
    ASSERT_TRUE(pumpUntil([&] { return form.txtSpecialSearch.Text() == "a "; }, 2000));
    EXPECT_EQ(form.lblCountCat.Caption(), "2");
    EXPECT_EQ(form.lblCountApps.Caption(), "3");
    EXPECT_EQ(form.lblCountCatPortable.Caption(), "2");
    EXPECT_EQ(form.lblCountSpecial.Caption(), "2");
    EXPECT_EQ(form.lblCountCatPages.Caption(), "1");
    EXPECT_EQ(form.lblCountInstalledApps.Caption(), "0");
    EXPECT_EQ(form.txtPortableSearch.Text(), "Portable Apps");
}

TEST_F(MainWindow, ASecondCopyEndsBeforeItsWindowShows) {
    fakes.singleInstance.another = true;
    form.Load();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.lblUser.Caption(), "Ada");    // the earlier steps ran
    EXPECT_TRUE(form.txtCredits.Text().empty()); // the later ones did not
    EXPECT_EQ(fakes.singleInstance.shown, std::vector<std::string>{"Fetchlets"});
}

TEST_F(MainWindow, TheRunningCopyComesBackFromTheTrayWhenAnotherStarts) {
    form.Load();
    form.Show();
    form.chkSystray.setValue(1);
    SendMessageA(form.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(form.tray().iconShown());
    ASSERT_FALSE(IsWindowVisible(form.hwnd()));
    // What a later copy sends as it ends, to every top-level window.
    platform::systemServices().singleInstance.showRunningCopy("Fetchlets");
    EXPECT_TRUE(pumpUntil([&] { return IsWindowVisible(form.hwnd()) != FALSE; }, 5000));
    EXPECT_FALSE(form.tray().iconShown());
    EXPECT_TRUE(form.isLoaded());
}

// ---- the real program, as two processes -----------------------------------

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

PROCESS_INFORMATION start(const std::string& exe) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    return pi;
}

// Top-level windows of class frmMain belonging to a process (only the shown
// ones with visibleOnly: a starting copy has its window before it is shown).
int mainWindowsOf(DWORD pid, bool visibleOnly = false) {
    return static_cast<int>(testsupport::windowsOf(pid, "frmMain", visibleOnly).size());
}

TEST(MainProgram, ASecondProcessEndsWithoutAWindowAndBringsTheFirstToTheFront) {
    // The program runs from a folder of its own with a Data folder beside it.
    TempFolder folder;
    folder.write("Data\\FLApps.def", "[A]\r\nOne=http://one\r\n");
    std::string exe = folder.path() + "Fetchlets.exe";
    ASSERT_TRUE(CopyFileA((programFolder() + "Fetchlets.exe").c_str(), exe.c_str(), FALSE));
    PROCESS_INFORMATION first = start(exe);
    ASSERT_NE(first.hProcess, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return mainWindowsOf(first.dwProcessId, true) == 1; }, 30000));

    // The first copy's window is minimised: the later copy ends without a
    // window and brings it back in front.
    HWND h = FindWindowA("frmMain", nullptr);
    ShowWindow(h, SW_MINIMIZE);
    ASSERT_TRUE(pumpUntil([&] { return IsIconic(h) != FALSE; }, 5000));
    PROCESS_INFORMATION second = start(exe);
    ASSERT_NE(second.hProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(mainWindowsOf(second.dwProcessId), 0);
    EXPECT_EQ(mainWindowsOf(first.dwProcessId), 1);
    EXPECT_TRUE(pumpUntil([&] { return !IsIconic(h) && IsWindowVisible(h); }, 10000));

    // The second copy wrote the settings file as it ended.
    std::string ini = folder.path() + "Data\\Fetchlets.ini";
    EXPECT_EQ(profile::readString(ini, "frmMain", "Tab", "", 60).text, "0");
    DeleteFileA(ini.c_str());

    // Closing the window ends the first program.
    PostMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(profile::readString(ini, "frmMain", "CatApps", "", 60).text, "-1");
    for (PROCESS_INFORMATION* p : {&first, &second}) {
        TerminateProcess(p->hProcess, 1); // a no-op when it ended as it should
        CloseHandle(p->hProcess);
        CloseHandle(p->hThread);
    }
}

} // namespace
