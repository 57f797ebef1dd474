// The main window's installed applications and tray icon, started on a
// temporary application folder with a recording registry and tray.
#include "app/frmMain.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "tests/support/pump.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class MainInstalled : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("Data\\FLApps.def", "[Tools]\r\n7-Zip=http://7\r\nZip=http://z\r\n");
        fakes.environment.applicationFolder = folder.path();
        fakes.registry.setValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kUninstall + "7z",
                                "DisplayName", "7-Zip 23.01");
        fakes.registry.setValue(HKEY_CURRENT_USER, 0, kUninstall + "np", "DisplayName",
                                "Notepad++");
    }
    void TearDown() override {
        forms::PopupMenu::setChooser(nullptr);
        if (form.isLoaded())
            form.Unload();
    }
    testsupport::TempFolder folder;
    testsupport::FakeServices fakes;
    app::frmMain form{fakes.services};
};

} // namespace

TEST_F(MainInstalled, StartUpReadsTheListsMarksEntriesAndChecksAnEntry) {
    form.Load();
    ASSERT_TRUE(form.isLoaded());
    // Read on a worker: the list is filled through the window's own messages.
    EXPECT_TRUE(testsupport::pumpUntil([&] { return form.lstSoftware.ListCount() == 2; }));
    EXPECT_EQ(form.lstSoftware.List(0), "7-Zip 23.01");
    EXPECT_EQ(fakes.registry.openHandles(), 0u); // the key used is closed

    form.lstCat.setListIndex(0);
    ASSERT_EQ(form.lstApps.ListCount(), 2);
    ASSERT_TRUE(form.lstApps.ItemNote);
    EXPECT_EQ(form.lstApps.ItemNote(form.lstApps.List(0)), "installed");
    EXPECT_EQ(form.lstApps.ItemNote(form.lstApps.List(1)), "");

    form.lstApps.setListIndex(0);
    form.mnMain[app::EntryCommand::CheckInstalled].Click();
    app::frmCheckAppInstalled& check = form.checkAppInstalledWindow();
    EXPECT_EQ(check.txtSearch.Text(), "*7-Z");
    EXPECT_EQ(check.lstSearch.ListCount(), 1);
    EXPECT_EQ(check.Caption(), "Fetchlets - Check whether 7-Zip Installed");

    // Closing the main window closes the check window, which keeps its place.
    form.Unload();
    EXPECT_FALSE(check.isLoaded());
    EXPECT_NE(folder.read("Data\\Fetchlets.ini").find("[WindowStateCheckAppInstalled]"),
              std::string::npos);
}

// A machine whose uninstall list takes long to read: every product costs a
// millisecond of work.
class SlowRegistry : public testsupport::FakeRegistry {
  public:
    long enumKey(HKEY key, unsigned long index, char* name, unsigned long& length) override {
        ++asked;
        const ULONGLONG until = GetTickCount64() + 1;
        while (GetTickCount64() <= until)
            ;
        return FakeRegistry::enumKey(key, index, name, length);
    }
    int asked = 0;
};

TEST_F(MainInstalled, TheWindowDoesNotWaitForTheRegistryButTheSnapshotDoes) {
    SlowRegistry slow;
    std::string expected;
    for (int i = 100; i < 400; ++i) {
        const std::string name = "Product " + std::to_string(i);
        slow.setValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kUninstall + std::to_string(i),
                      "DisplayName", name);
        expected += name + "\r\n";
    }
    fakes.services.registry = &slow;
    form.Load();
    ASSERT_TRUE(form.isLoaded());
    // The read starts once the window's messages run, after its paint, and
    // goes on in slices between the window's other messages.
    EXPECT_EQ(slow.asked, 0);
    form.Show();
    // Message by message: the first tick of the read reads a slice of the
    // list, not all of it.
    for (DWORD start = GetTickCount(); slow.asked == 0 && GetTickCount() - start < 2000;) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    EXPECT_GT(slow.asked, 0);
    EXPECT_LT(slow.asked, 100);
    EXPECT_EQ(form.lstSoftware.ListCount(), 0);
    // The snapshot waits for the whole list.
    form.cmdShowInstalledApps.Click();
    EXPECT_EQ(form.lstSoftware.ListCount(), 300);
    const std::string& text = fakes.messageBoxes.calls.at(0).text;
    EXPECT_EQ(folder.read(text.substr(text.find(folder.path()) + folder.path().size())),
              expected);
    form.Unload();
}

TEST_F(MainInstalled, SnapshotGoesToTheProgramFolderAndShowsThePage) {
    form.Load();
    form.cmdShowInstalledApps.Click();
    EXPECT_EQ(form.SSTab1.Tab(), 6);
    EXPECT_EQ(form.SSTab2.Tab(), 2);
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 1u);
    const std::string& text = fakes.messageBoxes.calls[0].text;
    const std::string path = text.substr(text.find(folder.path()));
    EXPECT_EQ(path.rfind(folder.path() + "Installed Apps 05-", 0), 0u);
    EXPECT_EQ(folder.read(path.substr(folder.path().size())), "7-Zip 23.01\r\nNotepad++\r\n");
}

TEST_F(MainInstalled, CloseBoxWithTheTrayOptionHidesAndExitLeavesNoIcon) {
    form.Load();
    form.Show();
    form.chkSystray.setValue(1);
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(form.isLoaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(fakes.tray.shown.size(), 1u);

    // "Exit" from the tray menu ends the program and takes the icon along.
    testsupport::chooseItem("mnuExit");
    SendMessageA(form.tray().anchor(), ui::Tray::kCallbackMessage, ui::Tray::kIconId, WM_RBUTTONUP);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(fakes.tray.shown.empty());
}

TEST_F(MainInstalled, ExitFromCodeEndsEvenWithTheTrayOption) {
    form.Load();
    form.chkSystray.setValue(1);
    form.Show();
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0); // into the tray
    ASSERT_EQ(fakes.tray.shown.size(), 1u);
    EXPECT_TRUE(form.Unload(forms::vbFormCode)); // as the toolbar's Exit does
    EXPECT_TRUE(fakes.tray.shown.empty());
}
