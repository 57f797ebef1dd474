// The notification-area icon through a real window and its real close path;
// the shell's side is a recording tray.
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "ui/tray.h"

#include <gtest/gtest.h>

namespace {

class Main : public forms::Form {
  public:
    explicit Main(platform::Services& services)
        : Form("frmTrayTest", "Tray test"), tray(services, {*this, chkSystray, mnSystray}) {
        mnuShow.Click = [this] { tray.showNormal(); };
        mnuDDLManagerSystray.Click = [this] { links.Show(static_cast<HWND>(nullptr)); };
        mnuExit.Click = [this] {
            tray.removeIcon();
            forms::unloadAllForms(forms::vbFormCode);
        };
    }
    forms::CheckBox chkSystray{*this, "chkSystray", "Minimize to System Tray"};
    forms::PopupMenu mnSystray{*this, "mnSystray"};
    forms::MenuItem& mnuShow = mnSystray.add("mnuShow", "Show");
    forms::MenuItem& mnuDDLManagerSystray = mnSystray.add("mnuDDLManagerSystray", "DDL Manager");
    forms::MenuItem& mnuUpdate = mnSystray.add("mnuUpdate", "Update");
    forms::MenuItem& mnuExit = mnSystray.add("mnuExit", "Exit");
    ui::Tray tray;
    int unloads = 0;

    // A stand-in for the link manager.
    class Links : public forms::Form {
      public:
        Links() : Form("frmTrayTestLinks", "Links") {}
    } links;

  protected:
    void Form_QueryUnload(int& cancel, int mode) override { tray.queryUnload(cancel, mode); }
    void Form_Unload(int&) override {
        ++unloads;
        tray.removeIcon();
    }
};

// Chooses the named item when the tray menu opens; records that it opened.
struct MenuChooser {
    explicit MenuChooser(std::string item) {
        forms::PopupMenu::setChooser([this, item](forms::PopupMenu& m) {
            opened = m.name();
            const forms::PopupOptions& shown = m.lastOptions();
            showDefault = shown.defaultItem && shown.defaultItem->name() == "mnuShow";
            eitherButton = shown.eitherButton;
            return testsupport::itemIndex(m, item);
        });
    }
    ~MenuChooser() { forms::PopupMenu::setChooser(nullptr); }
    std::string opened;
    bool showDefault = false, eitherButton = false;
};

void iconMouse(ui::Tray& tray, UINT mouseMessage) {
    SendMessageA(tray.anchor(), ui::Tray::kCallbackMessage, ui::Tray::kIconId, mouseMessage);
}

} // namespace

TEST(Tray, CloseBoxWithTheOptionHidesBehindTheIconAndLeftClickBringsItBack) {
    testsupport::FakeServices fake;
    Main main(fake.services);
    main.Show();
    main.chkSystray.setValue(1);

    SendMessageA(main.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    testsupport::pumpMessages(20);
    ASSERT_TRUE(main.isLoaded());
    EXPECT_FALSE(main.Visible());
    EXPECT_EQ(main.unloads, 0);
    ASSERT_EQ(fake.tray.shown.size(), 1u);
    const NOTIFYICONDATAA& r = fake.tray.added.back();
    EXPECT_EQ(r.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(r.hWnd, main.tray.anchor());
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(r.uCallbackMessage, ui::Tray::kCallbackMessage);
    EXPECT_NE(r.hIcon, nullptr);
    EXPECT_STREQ(r.szTip, "Fetchlets");
    EXPECT_EQ(r.szTip[63], ' ');

    // The shell restarts: the icon is added again.
    SendMessageA(main.tray.anchor(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(fake.tray.added.size(), 2u);

    iconMouse(main.tray, WM_MOUSEMOVE); // nothing
    EXPECT_FALSE(main.Visible());
    iconMouse(main.tray, WM_LBUTTONDOWN);
    EXPECT_TRUE(main.Visible());
    EXPECT_TRUE(fake.tray.shown.empty());
    EXPECT_FALSE(main.tray.iconShown());

    // Closing from code (the toolbar's Exit) ends even with the option set,
    // and leaves no icon.
    main.tray.hideToTray();
    EXPECT_EQ(fake.tray.shown.size(), 1u);
    EXPECT_TRUE(main.Unload(forms::vbFormCode));
    EXPECT_EQ(main.unloads, 1);
    EXPECT_TRUE(fake.tray.shown.empty());
}

TEST(Tray, WithoutTheOptionTheCloseBoxEndsAndTheSystemEndingAlwaysEnds) {
    testsupport::FakeServices fake;
    {
        Main main(fake.services);
        main.Show();
        SendMessageA(main.window(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(main.isLoaded());
        EXPECT_TRUE(fake.tray.added.empty());
    }
    Main main(fake.services);
    main.Show();
    main.chkSystray.setValue(1);
    SendMessageA(main.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(main.isLoaded());
    SendMessageA(main.window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(main.isLoaded());
    EXPECT_TRUE(fake.tray.shown.empty());
}

TEST(Tray, RightClickMenuShowResetsTheStateAndLinksLeaveTheWindowHidden) {
    testsupport::FakeServices fake;
    Main main(fake.services);
    main.Show();
    ShowWindow(main.window(), SW_MAXIMIZE);
    main.chkSystray.setValue(1);
    SendMessageA(main.window(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(main.Visible());

    {
        MenuChooser choose("mnuDDLManagerSystray");
        iconMouse(main.tray, WM_RBUTTONUP);
        EXPECT_EQ(choose.opened, "mnSystray");
        EXPECT_TRUE(choose.showDefault);
        EXPECT_TRUE(choose.eitherButton);
    }
    EXPECT_TRUE(main.links.Visible());
    EXPECT_EQ(GetWindow(main.links.window(), GW_OWNER), nullptr);
    EXPECT_FALSE(main.Visible());
    EXPECT_TRUE(main.tray.iconShown());

    {
        MenuChooser choose("mnuShow");
        iconMouse(main.tray, WM_RBUTTONUP);
    }
    EXPECT_TRUE(main.Visible());
    EXPECT_FALSE(IsZoomed(main.window())); // "Show" brings the normal state back
    EXPECT_TRUE(fake.tray.shown.empty());

    // A left click keeps the state the window had.
    ShowWindow(main.window(), SW_MAXIMIZE);
    SendMessageA(main.window(), WM_CLOSE, 0, 0);
    iconMouse(main.tray, WM_LBUTTONDOWN);
    EXPECT_TRUE(main.Visible());
    EXPECT_TRUE(IsZoomed(main.window()));

    // Exit from the tray menu: no icon, every window unloaded.
    SendMessageA(main.window(), WM_CLOSE, 0, 0);
    {
        MenuChooser choose("mnuExit");
        iconMouse(main.tray, WM_RBUTTONUP);
    }
    EXPECT_FALSE(main.isLoaded());
    EXPECT_FALSE(main.links.isLoaded());
    EXPECT_TRUE(fake.tray.shown.empty());
}

TEST(Tray, NoIconFromTheShellMinimisesInsteadOfHiding) {
    testsupport::FakeServices fake;
    Main main(fake.services);
    main.Show();
    main.chkSystray.setValue(1);
    // The shell has the icon already and refuses a second: use another id's
    // failure by taking the slot first.
    fake.tray.shown.push_back({main.tray.anchor(), ui::Tray::kIconId});
    SendMessageA(main.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(main.isLoaded());
    EXPECT_TRUE(IsWindowVisible(main.window()));
    EXPECT_TRUE(IsIconic(main.window()));
    EXPECT_FALSE(main.tray.iconShown());
    main.Unload();
}
