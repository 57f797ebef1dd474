// The form runtime with real windows: creation, events, pages, timers, menus.
#include "tests/support/fakes.h"
#include "forms/controls.h"
#include "forms/menu.h"

#include "controls/themedbutton.h"

#include <gtest/gtest.h>

using testsupport::pumpUntil;

namespace {

class TestForm : public forms::Form {
  public:
    TestForm() : Form("frmFormsTest", "Test") {
        lst.Click = [this] { ++clicks; };
        txt.KeyPress = [this](int& key) {
            keys += static_cast<char>(key);
            if (key == 'x')
                key = 0; // discarded
        };
        stack.Click = [this](int previous) { previousTabs.push_back(previous); };
        onPage1.placeOn(stack, 1);
        tmr.Tick = [this] { ++ticks; };
    }
    forms::PageStack stack{*this, "stack", {"One", "Two"}};
    forms::ListBox lst{*this, "lst"};
    forms::TextBox txt{*this, "txt"};
    forms::Label onPage1{*this, "onPage1", "on page 1"};
    forms::CheckBox chk{*this, "chk", "Check"};
    forms::ComboBox cbo{*this, "cbo"};
    forms::Timer tmr{*this, "tmr", 1, false};
    forms::PopupMenu mn{*this, "mn"};
    forms::CommandButton cmd{*this, "cmd", "Go"};
    int clicks = 0;
    int ticks = 0;
    std::string keys;
    std::vector<int> previousTabs;
    int loads = 0;
    bool refuseClose = false;
    std::vector<int> unloadModes;

  protected:
    void Form_Load() override { ++loads; }
    void Form_QueryUnload(int& cancel, int mode) override {
        unloadModes.push_back(mode);
        cancel = refuseClose;
    }
};

TEST(Form, ControlsKeepTheirCreationOrderNamesAndKinds) {
    TestForm f;
    std::vector<std::string> seen;
    for (forms::Control* c : f.controls())
        seen.push_back(c->name() + ":" + forms::kindName(c->kind()));
    EXPECT_EQ(seen, (std::vector<std::string>{"stack:PageStack", "lst:ListBox", "txt:TextBox",
                                              "onPage1:Label", "chk:CheckBox", "cbo:ComboBox",
                                              "tmr:Timer", "mn:Menu", "cmd:CommandButton"}));
    EXPECT_EQ(f.control("chk"), &f.chk);
    EXPECT_EQ(f.control("none"), nullptr);
}

TEST(Form, IsCreatedOnFirstUseAndLoadsOnce) {
    TestForm f;
    f.lst.AddItem("before the window");
    // Reading the window loads nothing: only window() (or Load) does.
    EXPECT_EQ(f.hwnd(), nullptr);
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(f.loads, 0);
    HWND h = f.window();
    EXPECT_EQ(f.hwnd(), h);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(f.loads, 1);
    f.window();
    EXPECT_EQ(f.loads, 1);
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ(cls, "frmFormsTest"); // the window class is named as the form
    EXPECT_EQ(f.lst.List(0), "before the window");
    EXPECT_FALSE(f.Visible());
    f.Show();
    EXPECT_TRUE(f.Visible());
    f.Hide();
    EXPECT_FALSE(f.Visible());
}

TEST(Form, GeometryIsInTwips) {
    TestForm f;
    f.Load();
    f.Move(1500, 1200, 9000, 6000);
    EXPECT_EQ(f.Left(), 1500);
    EXPECT_EQ(f.Width(), 9000);
    RECT r;
    GetWindowRect(f.window(), &r);
    EXPECT_EQ(r.right - r.left, forms::toPixels(9000));
    f.setHeight(7890);
    EXPECT_EQ(f.Height(), 7890);
    EXPECT_LT(f.ScaleHeight(), f.Height()); // the client area lies inside the frame
}

TEST(Form, CloseAsksQueryUnloadWhichMayCancel) {
    TestForm f;
    f.Load();
    f.refuseClose = true;
    SendMessageA(f.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.isLoaded());
    f.refuseClose = false;
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(f.unloadModes, (std::vector<int>{forms::vbFormControlMenu, forms::vbFormCode}));
    // An unloaded form comes back on its next use.
    EXPECT_NE(f.window(), nullptr);
    EXPECT_EQ(f.loads, 2);
}

TEST(Form, ListSelectionFromCodeOrUserRunsClickOnce) {
    TestForm f;
    f.Load();
    for (auto s : {"b", "a", "c"})
        f.lst.AddItem(s);
    f.lst.setListIndex(1);
    EXPECT_EQ(f.clicks, 1);
    f.lst.setListIndex(1); // no change, no event
    EXPECT_EQ(f.clicks, 1);
    EXPECT_EQ(f.lst.Text(), "a");
    SendMessageA(f.lst.hwnd(), LB_SETCURSEL, 2, 0);
    SendMessageA(f.window(), WM_COMMAND, MAKEWPARAM(f.lst.id(), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(f.lst.hwnd()));
    EXPECT_EQ(f.clicks, 2);
    f.lst.setList(2, "C");
    EXPECT_EQ(f.lst.List(2), "C");
    EXPECT_EQ(f.lst.ListIndex(), 2); // replacing the selected item keeps it selected
    f.lst.Clear();
    EXPECT_EQ(f.lst.ListCount(), 0);
    EXPECT_EQ(f.lst.ListIndex(), -1);
}

TEST(Form, KeyPressSeesEachCharacterFirst) {
    TestForm f;
    f.Load();
    for (char c : std::string("abx\r"))
        SendMessageA(f.txt.hwnd(), WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(f.keys, "abx\r");
    EXPECT_EQ(f.txt.Text(), "ab"); // x was discarded, Enter does not reach a one-line box
}

TEST(Form, PagesShowOnlyTheirCurrentControls) {
    TestForm f;
    f.Show();
    EXPECT_FALSE(IsWindowVisible(f.onPage1.hwnd()));
    EXPECT_TRUE(f.onPage1.Visible()); // its own property stays as set
    f.stack.setTab(1);
    EXPECT_TRUE(IsWindowVisible(f.onPage1.hwnd()));
    f.onPage1.setVisible(false);
    EXPECT_FALSE(IsWindowVisible(f.onPage1.hwnd()));
    f.onPage1.setVisible(true);
    f.stack.setTab(0);
    EXPECT_FALSE(IsWindowVisible(f.onPage1.hwnd()));
    EXPECT_EQ(f.previousTabs, (std::vector<int>{0, 1}));
    // Ctrl+Tab turns the pages, wrapping round at either end.
    EXPECT_TRUE(f.nextPage(false));
    EXPECT_EQ(f.stack.Tab(), 1);
    EXPECT_TRUE(f.nextPage(false));
    EXPECT_EQ(f.stack.Tab(), 0);
    EXPECT_TRUE(f.nextPage(true));
    EXPECT_EQ(f.stack.Tab(), 1);
    f.stack.setTab(0);
    // Labels on a page take the page's colour, sampled again when the
    // system colours or the visual style change.
    HBRUSH before = f.stack.bodyBrush();
    EXPECT_EQ(f.stack.bodyBrush(), before);
    SendMessageA(f.window(), WM_SYSCOLORCHANGE, 0, 0);
    HBRUSH after = f.stack.bodyBrush();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(GetObjectType(before), 0u); // the old brush was deleted
    // A control on a page is placed relative to the stack.
    f.stack.Move(1500, 1500, 6000, 4000);
    f.onPage1.Move(300, 600, 1200, 255);
    RECT r;
    GetWindowRect(f.onPage1.hwnd(), &r);
    MapWindowPoints(nullptr, f.window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, forms::toPixels(1800));
    EXPECT_EQ(r.top, forms::toPixels(2100));
}

TEST(Form, TimersTickOnlyWhileEnabled) {
    TestForm f;
    f.Load();
    testsupport::pumpMessages(60);
    EXPECT_EQ(f.ticks, 0);
    f.tmr.setEnabled(true);
    EXPECT_TRUE(pumpUntil([&] { return f.ticks >= 3; }, 2000));
    f.tmr.setEnabled(false);
    int now = f.ticks;
    testsupport::pumpMessages(60);
    EXPECT_EQ(f.ticks, now);
}

TEST(Form, CheckAndComboValues) {
    TestForm f;
    int checkClicks = 0, comboClicks = 0;
    f.chk.Click = [&] { ++checkClicks; };
    f.cbo.Click = [&] { ++comboClicks; };
    f.cbo.AddItem("Default");
    f.cbo.AddItem("Dark");
    f.Load();
    f.chk.setValue(1);
    EXPECT_EQ(f.chk.Value(), 1);
    EXPECT_EQ(checkClicks, 1);
    f.chk.setValue(1);
    EXPECT_EQ(checkClicks, 1);
    f.cbo.setListIndex(1);
    EXPECT_EQ(f.cbo.Text(), "Dark");
    EXPECT_EQ(comboClicks, 1);
    f.cbo.setText("Default");
    EXPECT_EQ(f.cbo.ListIndex(), 0);
    f.cbo.setText("not an item"); // a drop-down list keeps one of its items
    EXPECT_EQ(f.cbo.Text(), "Default");
}

TEST(Form, CommandButtonsAreThemedButtonsThatClickWhenEnabled) {
    TestForm f;
    int clicks = 0;
    f.cmd.Click = [&] { ++clicks; };
    f.cmd.setBackColor(RGB(0, 204, 255));
    f.Load();
    ASSERT_NE(f.cmd.button(), nullptr);
    char cls[64] = {};
    GetClassNameA(f.cmd.hwnd(), cls, sizeof cls);
    EXPECT_STREQ(cls, controls::ThemedButton::kClassName);
    char text[64] = {};
    GetWindowTextA(f.cmd.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "Go"); // what a screen reader reads
    EXPECT_TRUE(f.cmd.button()->UseCustomColors());
    EXPECT_EQ(f.cmd.button()->BackColor(), RGB(0, 204, 255));

    SendMessageA(f.cmd.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    f.cmd.setEnabled(false);
    EXPECT_FALSE(f.cmd.button()->Enabled());
    SendMessageA(f.cmd.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    f.cmd.setCaption("Again");
    EXPECT_EQ(f.cmd.button()->Caption(), "Again");
    f.Unload();
    EXPECT_EQ(f.cmd.button(), nullptr); // the button went with its window
}

TEST(PopupMenu, RunsTheChosenItemOnlyWhenItCanBeChosen) {
    TestForm f;
    f.Load();
    int a = 0, b = 0;
    f.mn.add("mnuA", "A").Click = [&] { ++a; };
    auto& itemB = f.mn.add("mnuB", "B");
    itemB.Click = [&] { ++b; };
    int choice = 1;
    forms::PopupMenu::setChooser([&](forms::PopupMenu&) { return choice; });
    EXPECT_EQ(f.mn.Popup(), &itemB);
    EXPECT_EQ(b, 1);
    itemB.Enabled = false;
    EXPECT_EQ(f.mn.Popup(), nullptr);
    EXPECT_EQ(b, 1);
    choice = -1;
    EXPECT_EQ(f.mn.Popup(), nullptr);
    choice = 0;
    f.mn.Popup();
    EXPECT_EQ(a, 1);
    EXPECT_EQ(f.mn.item("mnuB"), &itemB); // items keep their addresses as more are added
    forms::PopupMenu::setChooser(nullptr);
}

} // namespace
