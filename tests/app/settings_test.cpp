// Saving and restoring a window's control values, the main window's own keys
// and the Options lists, on a small form with real controls and real files.
#include "app/settings.h"

#include "catalog/profile.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

using testsupport::FakeServices;
using testsupport::TempFolder;

namespace {

// A form with one control of each kind that the settings know, in this
// creation order, and the main window's page stacks and category lists.
class frmSettingsTest : public forms::Form {
  public:
    frmSettingsTest() : Form("frmSettingsTest", "Settings") {
        for (const char* t : {"Default", "Dark", "Cyan"})
            cboTheme.AddItem(t);
        for (forms::ListBox* l : {&lstCat, &lstCatPortable, &lstCatSlim, &lstCatPages})
            for (const char* c : {"one", "two", "three"})
                l->AddItem(c);
        lstCat.Click = [this] {
            lstApps.Clear();
            lstApps.AddItem("entry of " + lstCat.Text());
        };
        cboTheme.Click = [this] { ++themeApplied; };
    }
    forms::TextBox txtNotes{*this, "txtNotes", {.multiLine = true}};
    forms::ComboBox cboTheme{*this, "cboTheme"};
    forms::TextBox txtServer{*this, "txtServer"};
    forms::CheckBox chkSystray{*this, "chkSystray", "Tray"};
    forms::ListBox lstPlain{*this, "lstPlain"};
    forms::CheckBox chkAutoUpdate{*this, "chkAutoUpdate", "Auto"};
    forms::PageStack SSTab1{*this, "SSTab1", {"a", "b", "c", "d"}};
    forms::PageStack SSTab2{*this, "SSTab2", {"x", "y", "z"}};
    forms::ListBox lstCat{*this, "lstCat"}, lstApps{*this, "lstApps"};
    forms::ListBox lstCatPortable{*this, "lstCatPortable"}, lstCatSlim{*this, "lstCatSlim"};
    forms::ListBox lstCatPages{*this, "lstCatPages"};
    int themeApplied = 0;

    app::MainWindowState view() {
        return {*this, SSTab1, SSTab2, lstCat, lstCatPortable, lstCatSlim, lstCatPages};
    }
};

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("Data\\keep.txt", "");
        ini = app::SettingsFilePath(folder.path());
    }
    std::string stored(const char* section, const char* key) {
        return profile::readString(ini, section, key, "(none)", 300).text;
    }
    TempFolder folder;
    std::string ini;
};

TEST_F(Settings, ValuesSurviveARestartAndEmptyOnesKeepTheStoredValue) {
    EXPECT_EQ(ini, folder.path() + "Data\\Fetchlets.ini");
    {
        frmSettingsTest f;
        f.Load();
        f.txtNotes.setText("first line\r\nsecond line\r\n\r\nfourth");
        f.txtServer.setText("http://server.example/files/");
        f.cboTheme.setListIndex(2);
        f.chkAutoUpdate.setValue(1);
        ASSERT_TRUE(app::SaveFormState(f, ini));
        // A cleared box writes nothing: the address stored before stays.
        f.txtServer.setText("");
        ASSERT_TRUE(app::SaveFormState(f, ini));
        f.Unload();
    }
    EXPECT_EQ(stored("frmSettingsTest", "txtNotes"), "first line~|~second line~|~~|~fourth");
    EXPECT_EQ(stored("frmSettingsTest", "txtServer"), "http://server.example/files/");
    EXPECT_EQ(stored("frmSettingsTest", "cboTheme"), "2");
    EXPECT_EQ(stored("frmSettingsTest", "chkSystray"), "0");
    EXPECT_EQ(stored("frmSettingsTest", "chkAutoUpdate"), "1");
    EXPECT_EQ(stored("frmSettingsTest", "lstPlain"), "(none)"); // lists are not saved
    std::string text = folder.read("Data\\Fetchlets.ini");
    EXPECT_LT(text.find("txtNotes="), text.find("cboTheme=")); // control order
    EXPECT_LT(text.find("cboTheme="), text.find("txtServer="));

    frmSettingsTest g;
    g.Load();
    ASSERT_TRUE(app::LoadFormState(g, ini));
    EXPECT_EQ(g.txtNotes.Text(), "first line\r\nsecond line\r\n\r\nfourth");
    EXPECT_EQ(SendMessageA(g.txtNotes.hwnd(), EM_GETLINECOUNT, 0, 0), 4);
    EXPECT_EQ(g.txtServer.Text(), "http://server.example/files/");
    EXPECT_EQ(g.cboTheme.ListIndex(), 2);
    EXPECT_EQ(g.themeApplied, 1); // the restored index ran the combo's own handling
    EXPECT_EQ(g.chkAutoUpdate.Value(), 1);
    EXPECT_EQ(SendMessageA(g.chkAutoUpdate.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Settings, AMissingFileRestoresNothing) {
    frmSettingsTest f;
    f.Load();
    f.txtServer.setText("initial");
    EXPECT_FALSE(app::LoadFormState(f, folder.path() + "Data\\none.ini"));
    EXPECT_EQ(f.txtServer.Text(), "initial");
}

TEST_F(Settings, AValueThatCannotBeAppliedEndsTheRestore) {
    // A too large index is passed over; a check value of 7 cannot be
    // applied, so the controls after it keep their values.
    folder.write("Data\\Fetchlets.ini", "[frmSettingsTest]\r\ntxtNotes=a~|~b\r\ncboTheme=9\r\n"
                                        "txtServer=srv\r\nchkSystray=7\r\nlstPlain=0\r\n"
                                        "chkAutoUpdate=1\r\n");
    frmSettingsTest f;
    f.Load();
    f.lstPlain.AddItem("p");
    f.cboTheme.setListIndex(1);
    EXPECT_TRUE(app::LoadFormState(f, ini));
    EXPECT_EQ(f.txtNotes.Text(), "a\r\nb");
    EXPECT_EQ(f.cboTheme.ListIndex(), 1);
    EXPECT_EQ(f.txtServer.Text(), "srv");
    EXPECT_EQ(f.chkSystray.Value(), 0);
    EXPECT_EQ(f.lstPlain.ListIndex(), -1);
    EXPECT_EQ(f.chkAutoUpdate.Value(), 0);

    // A list is restored when a key of its own exists; -1 clears a choice.
    folder.write("Data\\Fetchlets.ini",
                 "[frmSettingsTest]\r\nlstPlain=0\r\ncboTheme=-1\r\nchkAutoUpdate=1.6\r\n");
    EXPECT_TRUE(app::LoadFormState(f, ini));
    EXPECT_EQ(f.lstPlain.ListIndex(), 0);
    EXPECT_EQ(f.cboTheme.ListIndex(), -1);
    EXPECT_EQ(f.chkAutoUpdate.Value(), 1);

    // A value of more than 255 characters comes back cut to 255.
    folder.write("Data\\Fetchlets.ini",
                 "[frmSettingsTest]\r\ntxtServer=" + std::string(300, 'x') + "\r\n");
    EXPECT_TRUE(app::LoadFormState(f, ini));
    EXPECT_EQ(f.txtServer.Text(), std::string(255, 'x'));
}

TEST_F(Settings, MainWindowKeysComeBackInOrderUntilOneCannotBeApplied) {
    {
        frmSettingsTest f;
        f.Load();
        f.Move(1200, 900, 7200, 5400);
        f.SSTab1.setTab(3);
        f.SSTab2.setTab(2);
        f.lstCat.setListIndex(1);
        f.lstCatSlim.setListIndex(2);
        ASSERT_TRUE(app::SaveMainWindowState(f.view(), ini));
        f.Unload();
    }
    EXPECT_EQ(stored("WindowState", "Left"), "1200");
    EXPECT_EQ(stored("WindowState", "Height"), "5400");
    EXPECT_EQ(stored("frmMain", "Tab"), "3");
    EXPECT_EQ(stored("frmMain", "Tab2"), "2");
    EXPECT_EQ(stored("frmMain", "CatApps"), "1");
    EXPECT_EQ(stored("frmMain", "CatPortable"), "-1");
    EXPECT_EQ(stored("frmMain", "CatSlim"), "2");
    EXPECT_EQ(stored("frmSettingsTest", "chkSystray"), "0"); // the form's values too

    {
        frmSettingsTest g;
        g.Load();
        app::RestoreMainWindowState(g.view(), ini);
        EXPECT_EQ(g.Left(), 1200);
        EXPECT_EQ(g.Width(), 7200);
        EXPECT_EQ(g.SSTab1.Tab(), 3);
        EXPECT_EQ(g.SSTab2.Tab(), 2);
        EXPECT_EQ(g.lstCat.ListIndex(), 1);
        EXPECT_EQ(g.lstApps.List(0), "entry of two"); // the choice filled the entry list
        EXPECT_EQ(g.lstCatPortable.ListIndex(), -1);
        EXPECT_EQ(g.lstCatSlim.ListIndex(), 2);
    }

    // A category index beyond its list ends the restore: the keys after it
    // are not applied. Text that is not a number is passed over.
    folder.write("Data\\Fetchlets.ini", "[WindowState]\r\nLeft=-45\r\nTop=x\r\n[frmMain]\r\n"
                                        "Tab=2\r\nTab2=True\r\nCatApps=99\r\nCatPortable=1\r\n"
                                        "CatSlim=1\r\nCatPages=1\r\n");
    {
        frmSettingsTest g;
        g.Load();
        app::RestoreMainWindowState(g.view(), ini);
        EXPECT_EQ(g.Left(), -45);
        EXPECT_EQ(g.SSTab1.Tab(), 2);
        EXPECT_EQ(g.lstCat.ListIndex(), -1);
        EXPECT_EQ(g.lstCatPortable.ListIndex(), -1);
        EXPECT_EQ(g.lstCatSlim.ListIndex(), -1);
        EXPECT_EQ(g.lstCatPages.ListIndex(), -1);
    }

    // A page that does not exist, or a Left beyond 16 bits, ends it too.
    for (const char* file : {"[frmMain]\r\nTab=4\r\nTab2=1\r\n",
                             "[WindowState]\r\nLeft=40000\r\n[frmMain]\r\nTab2=1\r\n"}) {
        folder.write("Data\\Fetchlets.ini", file);
        frmSettingsTest g;
        g.Load();
        int left = g.Left();
        app::RestoreMainWindowState(g.view(), ini);
        EXPECT_EQ(g.Left(), left) << file;
        EXPECT_EQ(g.SSTab1.Tab(), 0) << file;
        EXPECT_EQ(g.SSTab2.Tab(), 0) << file;
    }
}

TEST_F(Settings, AnUnwritableFileIsReported) {
    frmSettingsTest f;
    f.Load();
    // The program never creates the Data folder: without it nothing can be written.
    EXPECT_FALSE(app::SaveMainWindowState(f.view(), folder.path() + "NoData\\Fetchlets.ini"));
    FakeServices fakes;
    app::ReportSettingsNotSaved(fakes.services, f.hwnd(), "C:\\x\\Data\\Fetchlets.ini");
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 1u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("C:\\x\\Data\\Fetchlets.ini"),
              std::string::npos);
    EXPECT_EQ(fakes.messageBoxes.calls[0].title, "");
}

// ---- the Options lists -----------------------------------------------------

class frmOptionsTest : public forms::Form {
  public:
    explicit frmOptionsTest(platform::Services& s)
        : Form("frmOptionsTest", "Options"), services(s) {
        mnEditSignatures.add("mnuEditSignatures", "Edit Signatures").Click = [this] {
            app::EditListFile(services, app::SignaturesFilePath(folder));
        };
        mnEditBlacklist.add("mnuEditBlacklist", "Edit Blacklist").Click = [this] {
            app::EditListFile(services, app::BlacklistFilePath(folder));
        };
        lstSignatures.MouseDown = [this](int b, int, int, int) {
            app::OptionsList_MouseDown(mnEditSignatures, b);
        };
        lstBlacklist.MouseDown = [this](int b, int, int, int) {
            app::OptionsList_MouseDown(mnEditBlacklist, b);
        };
        lstBlacklist.KeyDown = [this](int& k, int) {
            app::OptionsList_KeyDown(mnEditBlacklist, k);
        };
    }
    platform::Services& services;
    std::string folder;
    forms::ListBox lstSignatures{*this, "lstSignatures"}, lstBlacklist{*this, "lstBlacklist"};
    forms::PopupMenu mnEditSignatures{*this, "mnEditSignatures"};
    forms::PopupMenu mnEditBlacklist{*this, "mnEditBlacklist"};
};

std::vector<std::string> items(const forms::ListBox& list) {
    std::vector<std::string> v;
    for (int i = 0; i < list.ListCount(); ++i)
        v.push_back(list.List(i));
    return v;
}

TEST(OptionsLists, FilesAreReadLineByLineAndOpenedForEditing) {
    TempFolder folder;
    FakeServices fakes;
    folder.write("Data\\FLSignatures.ddl", "FLApps.def\r\nFLSlim.def");
    folder.write("Data\\FLBlacklist.def", "bad.example\r\n\r\nworse\r\n");
    frmOptionsTest f(fakes.services);
    f.folder = folder.path();
    f.Load();
    app::LoadListFile(app::SignaturesFilePath(folder.path()), f.lstSignatures);
    app::LoadListFile(app::BlacklistFilePath(folder.path()), f.lstBlacklist);
    app::LoadListFile(folder.path() + "Data\\missing.def", f.lstBlacklist);
    EXPECT_EQ(items(f.lstSignatures), (std::vector<std::string>{"FLApps.def", "FLSlim.def"}));
    EXPECT_EQ(items(f.lstBlacklist), (std::vector<std::string>{"bad.example", "", "worse"}));

    // The right button opens the list's menu; the item opens the file.
    std::vector<std::string> shown;
    forms::PopupMenu::setChooser([&](forms::PopupMenu& m) {
        shown.push_back(m.name() + ":" + m.items()[0].Caption);
        return 0;
    });
    SendMessageA(f.lstSignatures.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(f.lstSignatures.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(shown.empty());
    SendMessageA(f.lstSignatures.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].verb, "open");
    EXPECT_EQ(fakes.shell.calls[0].file, folder.path() + "Data\\FLSignatures.ddl");

    // No program for the file: the Open With dialog.
    fakes.shell.result = 31;
    SendMessageA(f.lstBlacklist.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(fakes.shell.calls.size(), 3u);
    EXPECT_EQ(fakes.shell.calls[1].file, folder.path() + "Data\\FLBlacklist.def");
    EXPECT_EQ(fakes.shell.calls[2].file, "RUNDLL32.EXE");
    EXPECT_EQ(fakes.shell.calls[2].parameters,
              "shell32.dll,OpenAs_RunDLL " + folder.path() + "Data\\FLBlacklist.def");

    // From the keyboard: the context-menu key.
    SendMessageA(f.lstBlacklist.hwnd(), WM_KEYDOWN, VK_APPS, 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"mnEditSignatures:Edit Signatures",
                                               "mnEditBlacklist:Edit Blacklist",
                                               "mnEditBlacklist:Edit Blacklist"}));
    forms::PopupMenu::setChooser(nullptr);
    f.Unload();
}

// ---- closing every other window --------------------------------------------

class frmCounted : public forms::Form {
  public:
    frmCounted(const char* name, int& unloads) : Form(name, name), unloads_(unloads) {}

  protected:
    void Form_Unload(int&) override { ++unloads_; }

  private:
    int& unloads_;
};

TEST(UnloadOtherForms, EachOtherFormRunsItsOwnUnload) {
    int unloads = 0;
    frmCounted keep("frmKeep", unloads), a("frmA", unloads), b("frmB", unloads),
        never("frmNever", unloads);
    keep.Load();
    a.Load();
    b.Load();
    forms::unloadOtherForms(keep);
    EXPECT_EQ(unloads, 2);
    EXPECT_TRUE(keep.isLoaded());
    EXPECT_FALSE(a.isLoaded());
    EXPECT_FALSE(b.isLoaded());
    EXPECT_FALSE(never.isLoaded());
    keep.Unload();
}

} // namespace
