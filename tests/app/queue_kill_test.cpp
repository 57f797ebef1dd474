// The link queue survives a killed process: links added through the real
// main window are in Data\FLLinks.ddl about a second later, whole and in
// order, so a process ended by force (or a machine losing power) loses
// nothing added before that.
#include "app/frmMain.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"

#include <gtest/gtest.h>

#include <cstdlib>

using app::frmMain;
using testsupport::pumpMessages;
using testsupport::pumpUntil;

namespace {

constexpr int kLinks = 6;

std::string linkOf(int i) {
    return "http://dl" + std::to_string(i) + ".example.org/setup \"" + std::to_string(i) + "\".exe";
}

// Run as a separate process by the test below: adds the links with the
// entry menu's queue item, tells the parent, and waits to be killed.
TEST(QueueKill, ChildAddsLinksThroughTheWindow) {
    const char* folder = std::getenv("FL_KILL_FOLDER");
    const char* event = std::getenv("FL_KILL_EVENT");
    if (!folder || !event)
        GTEST_SKIP() << "started by LinksAddedBeforeAKillAreInTheFile";
    testsupport::FakeServices fakes;
    fakes.environment.applicationFolder = folder;
    frmMain form(fakes.services);
    form.Load();
    form.Show();
    form.lstCat.setListIndex(0);
    testsupport::chooseItem("mnuDDLManager");
    for (int i = 0; i < kLinks; ++i) {
        form.lstApps.setListIndex(i);
        SendMessageA(form.lstApps.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        SendMessageA(form.lstApps.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        pumpMessages(30);
    }
    ASSERT_EQ(form.ddlManager().links().size(), static_cast<size_t>(kLinks));
    HANDLE added = OpenEventA(EVENT_MODIFY_STATE, FALSE, event);
    SetEvent(added);
    CloseHandle(added);
    pumpMessages(60000); // killed long before
}

TEST(QueueKill, LinksAddedBeforeAKillAreInTheFile) {
    testsupport::TempFolder folder;
    std::string catalog = "[C]\r\n";
    std::string expected;
    for (int i = 0; i < kLinks; ++i) {
        catalog += "Entry " + std::to_string(i) + "=" + linkOf(i) + "\r\n";
        expected += linkOf(i) + "\r\n";
    }
    folder.write("Data\\FLApps.def", catalog);
    folder.write("Data\\FLLinks.ddl", "");
    const std::string event = "FlQueueKill." + std::to_string(GetCurrentProcessId());
    HANDLE added = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    SetEnvironmentVariableA("FL_KILL_FOLDER", folder.path().c_str());
    SetEnvironmentVariableA("FL_KILL_EVENT", event.c_str());

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string cmd =
        std::string("\"") + self + "\" --gtest_filter=QueueKill.ChildAddsLinksThroughTheWindow";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    SetEnvironmentVariableA("FL_KILL_FOLDER", nullptr);
    SetEnvironmentVariableA("FL_KILL_EVENT", nullptr);
    const bool signalled = WaitForSingleObject(added, 60000) == WAIT_OBJECT_0;
    // A change waits at most a second to be written; a busy machine gets a
    // few more before the kill. Nothing but the writes after each change
    // (no close, no unload) can put the links there.
    for (int waited = 0; waited < 10000 && folder.read("Data\\FLLinks.ddl") != expected;
         waited += 100)
        Sleep(100);
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(added);
    ASSERT_TRUE(signalled);

    // The file whole; started again, the link manager shows every link in
    // order.
    EXPECT_EQ(folder.read("Data\\FLLinks.ddl"), expected);
    testsupport::FakeServices fakes;
    fakes.environment.applicationFolder = folder.path();
    forms::Form host("frmKillHost", "Host");
    forms::ListBox blacklist{host, "lstBlacklist"};
    links::frmDDLManager again(fakes.services, {blacklist});
    again.Load();
    std::string shown;
    for (const std::string& l : again.links())
        shown += l + "\r\n";
    EXPECT_EQ(shown, expected);
    again.Unload();
}

} // namespace
