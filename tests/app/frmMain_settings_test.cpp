// The main window's settings across restarts: each test starts the real
// frmMain on a temporary application folder, closes it as the user does and
// starts it again.
#include "app/frmMain.h"
#include "catalog/profile.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"

#include <gtest/gtest.h>

#include <memory>

using app::frmMain;
using testsupport::FakeServices;
using testsupport::pumpUntil;
using testsupport::TempFolder;

namespace {

using Items = std::vector<std::string>;

using testsupport::items;

class MainWindowSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("Data\\FLApps.def", "[Zeta]\r\nZ=http://z\r\n[Alpha]\r\nA=http://a\r\n"
                                         "[Mid]\r\nM=http://m\r\n");
        folder.write("Data\\FLPortable.def", "[P1]\r\nP=p\r\n[P2]\r\nQ=q\r\n");
        folder.write("Data\\FLSlim.def", "[S1]\r\nS=s\r\n");
        folder.write("Data\\FLSpecial.def", "[Special - Windows Starter Kit]\r\nK=k\r\n");
        folder.write("Data\\FLPages.def", "[Help]\r\nPage=http://page\r\n");
        fakes.environment.applicationFolder = folder.path();
        ini = folder.path() + "Data\\Fetchlets.ini";
    }

    // Starts the main window as the program does, and shows it.
    std::unique_ptr<frmMain> start() {
        auto f = std::make_unique<frmMain>(fakes.services);
        f->Load();
        if (f->isLoaded())
            f->Show();
        return f;
    }
    // Closes it as the user does, from the window's close box.
    static void close(frmMain& f) {
        PostMessageA(f.hwnd(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(pumpUntil([&] { return !f.isLoaded(); }, 5000));
    }
    std::string stored(const char* section, const char* key) {
        return profile::readString(ini, section, key, "(none)", 300).text;
    }

    TempFolder folder;
    FakeServices fakes;
    std::string ini;
};

TEST_F(MainWindowSettings, ValuesPagesAndCategoriesSurviveARestart) {
    {
        auto f = start();
        // Without a settings file the tray option starts unticked.
        EXPECT_EQ(f->chkSystray.Value(), 0);
        f->txtHomepage.setText("first line\r\nsecond line");
        f->txtSignatureServer.setText("http://mirror.example/fetchlets/");
        f->chkAutoUpdate.setValue(1);
        f->SSTab1.setTab(4);
        f->SSTab2.setTab(1);
        f->lstCatPortable.setListIndex(1);
        f->Move(1500, 1200, 11100, 7050);
        close(*f);
    }
    EXPECT_EQ(stored("frmMain", "txtHomepage"), "first line~|~second line");
    EXPECT_EQ(stored("frmMain", "Tab"), "4");
    EXPECT_EQ(stored("frmMain", "CatApps"), "-1");
    EXPECT_EQ(stored("WindowState", "Left"), "1500");
    {
        auto f = start();
        EXPECT_EQ(f->txtHomepage.Text(), "first line\r\nsecond line");
        EXPECT_EQ(SendMessageA(f->txtHomepage.hwnd(), EM_GETLINECOUNT, 0, 0), 2);
        EXPECT_EQ(f->txtSignatureServer.Text(), "http://mirror.example/fetchlets/");
        EXPECT_EQ(f->chkAutoUpdate.Value(), 1);
        EXPECT_EQ(f->SSTab1.Tab(), 4);
        EXPECT_EQ(f->SSTab2.Tab(), 1);
        EXPECT_EQ(f->lstCatPortable.ListIndex(), 1);
        EXPECT_EQ(items(f->lstPortable), (Items{"Q"})); // the restored choice lists its entries
        EXPECT_EQ(f->Left(), 1500);
        EXPECT_EQ(f->Top(), 1200);
        EXPECT_EQ(f->Width(), 11100);
        EXPECT_EQ(f->Height(), 7050);
        // Clearing the address does not clear the stored one.
        f->txtSignatureServer.setText("");
        close(*f);
    }
    auto f = start();
    EXPECT_EQ(f->txtSignatureServer.Text(), "http://mirror.example/fetchlets/");
    EXPECT_TRUE(fakes.messageBoxes.calls.empty());
}

TEST_F(MainWindowSettings, StoredPositionsAndTheFirstValueThatCannotBeApplied) {
    // "CatApps" 99 for a list of three: it and the keys after it stay
    // unapplied. Among the control values, a check value of 5 ends their
    // restore: the server address after it is not applied either.
    folder.write("Data\\Fetchlets.ini", "[WindowState]\r\nLeft=-45\r\nTop=600\r\n"
                                        "[frmMain]\r\nTab=5\r\nTab2=2\r\nCatApps=99\r\n"
                                        "CatPortable=1\r\nCatSlim=0\r\nCatPages=0\r\n"
                                        "chkSystray=1\r\nchkAutoUpdate=5\r\n"
                                        "txtSignatureServer=http://stored/\r\n");
    {
        auto f = start();
        EXPECT_EQ(f->chkSystray.Value(), 1);
        EXPECT_EQ(f->chkAutoUpdate.Value(), 0);
        EXPECT_NE(f->txtSignatureServer.Text(), "http://stored/");
        EXPECT_EQ(f->Left(), -45); // partly off the screen's left edge: kept
        EXPECT_EQ(f->Top(), 600);
        EXPECT_EQ(f->SSTab1.Tab(), 5);
        EXPECT_EQ(f->SSTab2.Tab(), 2);
        EXPECT_EQ(f->lstCat.ListIndex(), -1);
        EXPECT_EQ(f->lstCatPortable.ListIndex(), -1);
        EXPECT_EQ(f->lstCatSlim.ListIndex(), -1);
        EXPECT_EQ(f->lstCatPages.ListIndex(), -1);
        EXPECT_TRUE(f->lstPortable.ListCount() == 0);
        f.reset(); // gone without a close: nothing is written
    }
    // A "Left" of 40000 is beyond 16 bits: not applied, and nothing after it.
    folder.write("Data\\Fetchlets.ini", "[WindowState]\r\nLeft=40000\r\nTop=600\r\n"
                                        "[frmMain]\r\nTab=5\r\n");
    {
        auto f = start();
        EXPECT_NE(f->Top(), 600);
        EXPECT_LT(f->Left(), 20000);
        EXPECT_EQ(f->SSTab1.Tab(), 0);
        f.reset();
    }
    // A position on a monitor since removed (far right and below): the
    // window comes back onto the screen's work area, the later keys apply.
    folder.write("Data\\Fetchlets.ini", "[WindowState]\r\nLeft=30000\r\nTop=30000\r\n"
                                        "[frmMain]\r\nTab=3\r\n");
    auto f = start();
    RECT r;
    GetWindowRect(f->hwnd(), &r);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(r.left, work.left);
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);
    EXPECT_EQ(f->SSTab1.Tab(), 3);
}

TEST_F(MainWindowSettings, AGreyCheckIsRestoredAndASizeOfNoUsableWindowEndsTheRestore) {
    // A check value of 2 (grey) is a value like 0 and 1: the restore goes on
    // to the server address after it.
    folder.write("Data\\Fetchlets.ini", "[frmMain]\r\nchkSystray=2\r\nchkAutoUpdate=1\r\n"
                                        "txtSignatureServer=http://stored/\r\n");
    {
        auto f = start();
        EXPECT_EQ(f->chkSystray.Value(), 2);
        EXPECT_EQ(f->chkAutoUpdate.Value(), 1);
        EXPECT_EQ(f->txtSignatureServer.Text(), "http://stored/");
        close(*f);
        EXPECT_EQ(stored("frmMain", "chkSystray"), "2");
    }
    // A height of 0 makes no window: neither it nor the keys after it apply.
    for (const char* height : {"0", "-300", "30"}) {
        folder.write("Data\\Fetchlets.ini", std::string("[WindowState]\r\nLeft=300\r\nHeight=") +
                                                height +
                                                "\r\nWidth=9000\r\n[frmMain]\r\nTab=3\r\n");
        auto f = start();
        EXPECT_EQ(f->Left(), 300) << height;
        EXPECT_GT(f->Height(), 2000) << height;
        EXPECT_NE(f->Width(), 9000) << height;
        EXPECT_EQ(f->SSTab1.Tab(), 0) << height;
        f.reset();
    }
}

TEST_F(MainWindowSettings, TheSavedCategoryIndexIsThePositionShownAtExit) {
    {
        auto f = start();
        // "Sort A-Z" from the list's menu: Alpha, Mid, Zeta; Alpha chosen.
        forms::PopupMenu::setChooser([](forms::PopupMenu&) { return 0; });
        SendMessageA(f->lstCat.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
        forms::PopupMenu::setChooser(nullptr);
        ASSERT_EQ(items(f->lstCat), (Items{"Alpha", "Mid", "Zeta"}));
        f->lstCat.setListIndex(0);
        ASSERT_EQ(f->lstCat.Text(), "Alpha");
        close(*f);
    }
    EXPECT_EQ(stored("frmMain", "CatApps"), "0");
    // The next start lists the file's order again: position 0 is Zeta.
    auto f = start();
    EXPECT_EQ(f->lstCat.Text(), "Zeta");
    EXPECT_EQ(items(f->lstApps), (Items{"Z"}));
}

TEST_F(MainWindowSettings, TheOptionsListsComeFromTheirFilesAndOpenForEditing) {
    folder.write("Data\\FLSignatures.ddl", "FLApps.def\r\nFLSlim.def\r\nFLPages.def");
    folder.write("Data\\FLBlacklist.def", "adware.example\r\n\r\n");
    auto f = start();
    EXPECT_EQ(items(f->lstSignatures), (Items{"FLApps.def", "FLSlim.def", "FLPages.def"}));
    // The blank line is an item of its own.
    EXPECT_EQ(items(f->lstBlacklist), (Items{"adware.example", ""}));

    f->SSTab1.setTab(2);
    forms::PopupMenu::setChooser(
        [](forms::PopupMenu& m) { return m.items().size() == 1 ? 0 : -1; });
    // The left button opens nothing; the right one, and the context-menu
    // key, open the list's menu.
    SendMessageA(f->lstBlacklist.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(f->lstBlacklist.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(fakes.shell.calls.empty());
    SendMessageA(f->lstBlacklist.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    SendMessageA(f->lstSignatures.hwnd(), WM_KEYDOWN, VK_APPS, 0);
    forms::PopupMenu::setChooser(nullptr);
    ASSERT_EQ(fakes.shell.calls.size(), 2u);
    EXPECT_EQ(fakes.shell.calls[0].file, folder.path() + "Data\\FLBlacklist.def");
    EXPECT_EQ(fakes.shell.calls[1].file, folder.path() + "Data\\FLSignatures.ddl");
    EXPECT_EQ(fakes.shell.calls[1].verb, "open");
    EXPECT_EQ(f->mnEditSignatures.item.Caption, "Edit Signatures");
    EXPECT_EQ(f->mnEditBlacklist.item.Caption, "Edit Blacklist");
}

class frmOther : public forms::Form {
  public:
    explicit frmOther(int& unloads) : Form("frmOther", "Other"), unloads_(unloads) {}

  protected:
    void Form_Unload(int&) override { ++unloads_; }

  private:
    int& unloads_;
};

TEST_F(MainWindowSettings, ASettingsFileThatCannotBeWrittenIsReportedOnClose) {
    folder.write("Data\\Fetchlets.ini", "[frmMain]\r\nTab=3\r\n");
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    int unloads = 0;
    frmOther other(unloads);
    {
        auto f = start();
        other.Load();
        close(*f);
    }
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 1u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("could not be saved"), std::string::npos);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find(ini), std::string::npos);
    // The other window still closed through its own unload.
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(other.isLoaded());

    // A second copy ends at start-up without a word, even when it cannot
    // write the file.
    fakes.singleInstance.another = true;
    auto f = start();
    EXPECT_FALSE(f->isLoaded());
    EXPECT_EQ(fakes.messageBoxes.calls.size(), 1u);
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
