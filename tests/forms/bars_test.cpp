// The toolbar and the status bar on a real form, and the custom controls
// inside the form runtime's message loop, driven by real input (SendInput):
// keys and clicks pass through the loop's dialog-message handling exactly as
// a user's do.
#include "forms/bars.h"
#include "forms/controls.h"
#include "tests/support/input.h"

#include "controls/themedbutton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace testsupport;

class BarsForm : public forms::Form {
  public:
    BarsForm() : Form("frmBarsTest", "Bars") {
        initialWidth_ = 7200;
        initialHeight_ = 5400;
        stack.Move(2400, 120, 4000, 2400);
        txt.placeOn(stack, 0);
        txt.Move(120, 480, 1800, 315);
        cmdFirst.placeOn(stack, 0);
        cmdFirst.Move(120, 960, 1500, 375);
        cmdSecond.placeOn(stack, 0);
        cmdSecond.Move(1800, 960, 1500, 375);
        ToolBar1.Settings.writeInt("Button_Count", 4, 1);
        ToolBar1.Settings.writeBool("WarpSize", false, true);
        for (int i = 0; i < 4; ++i)
            ToolBar1.Settings.writeString(controls::PropertyBag::itemName("ButtonCaption", i),
                                          "Page " + std::to_string(i), "");
    }
    forms::ToolBar ToolBar1{*this, "ToolBar1"};
    forms::StatusBar StatusBar1{*this, "StatusBar1"};
    forms::PageStack stack{*this, "stack", {"One", "Two", "Three"}};
    forms::TextBox txt{*this, "txt"};
    forms::CommandButton cmdFirst{*this, "cmdFirst", "First"};
    forms::CommandButton cmdSecond{*this, "cmdSecond", "Second"};

    std::vector<RECT> resizedBars; // the status bar's place as Form_Resize saw it

  protected:
    void Form_Load() override {
        StatusBar1.AddPanel({.sText = "0",
                             .bAutoSize = true,
                             .bEditable = true,
                             .lForeColor = controls::rgb(224, 224, 224),
                             .sToolTipText = "0"});
        StatusBar1.AddPanel({.sText = "second",
                             .uTextAlign = 1,
                             .lMaskColor = controls::rgb(1, 2, 3),
                             .lWidth = 90});
    }
    void Form_Resize() override { resizedBars.push_back(rectIn(StatusBar1.hwnd(), window())); }
};

// One shown form for the whole suite: under Wine without a window manager
// hiding a shown top-level window waits for the display, about 2 s each time.
class Bars : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shared = new BarsForm;
        shared->Show();
        SetWindowPos(shared->window(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    }
    static void TearDownTestSuite() {
        shared->Unload();
        delete shared;
        shared = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(f.isLoaded());
        f.ToolBar1.Click = nullptr;
        f.ToolBar1.MouseMove = nullptr;
        f.StatusBar1.Click = nullptr;
        f.StatusBar1.PanelClick = nullptr;
        f.StatusBar1.PanelMouseDown = nullptr;
        f.StatusBar1.MouseDown = nullptr;
        f.cmdFirst.Click = nullptr;
        f.stack.setTab(0);
        f.StatusBar1.setPanelText(1, "0");
        SetForegroundWindow(f.window());
        f.txt.SetFocus();
        pumpMessages(50);
    }
    void TearDown() override {
        // Let go of every key a failed step may have left down.
        for (WORD vk : {VK_CONTROL, VK_SHIFT})
            key(vk, true);
        pumpMessages(20);
    }
    HWND bar() const { return f.StatusBar1.hwnd(); }
    POINT panelCentre(int index) const {
        RECT r = f.StatusBar1.bar()->PanelRect(index);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static BarsForm* shared;
    BarsForm& f = *shared;
};
BarsForm* Bars::shared = nullptr;

} // namespace

TEST_F(Bars, DockToTheirEdgesAndFollowTheFormBeforeItsResizeHandler) {
    ASSERT_NE(f.ToolBar1.bar(), nullptr);
    ASSERT_NE(f.StatusBar1.bar(), nullptr);
    auto check = [&] {
        RECT client, tb = rectIn(f.ToolBar1.hwnd(), f.window()), sb = rectIn(bar(), f.hwnd());
        GetClientRect(f.window(), &client);
        EXPECT_EQ(sb.left, 0);
        EXPECT_EQ(sb.right, client.right);
        EXPECT_EQ(sb.bottom, client.bottom);
        EXPECT_EQ(sb.bottom - sb.top, forms::toPixels(f.StatusBar1.Height()));
        EXPECT_EQ(tb.left, 0);
        EXPECT_EQ(tb.top, 0);
        EXPECT_EQ(tb.right - tb.left, forms::toPixels(2055));
        EXPECT_EQ(tb.bottom, sb.top); // full height above the status bar
        EXPECT_EQ(f.ToolBar1.Height(), forms::toTwips(tb.bottom));
    };
    check();
    SetWindowPos(f.window(), nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER);
    check();
    f.StatusBar1.setHeight(480); // a thicker bar moves the toolbar's bottom along
    check();
    f.StatusBar1.setHeight(360);
    check();
    EXPECT_EQ(rectIn(bar(), f.window()).bottom - rectIn(bar(), f.window()).top,
              forms::toPixels(360));
    ASSERT_FALSE(f.resizedBars.empty());
    RECT client;
    GetClientRect(f.window(), &client);
    EXPECT_EQ(f.resizedBars.back().bottom, client.bottom); // docked before Form_Resize ran
    // The toolbar was told its edge, so its self-resizing keeps the height.
    EXPECT_EQ(f.ToolBar1.bar()->Align(), controls::ToolBar::DockLeft);
    EXPECT_EQ(f.ToolBar1.bar()->ButtonCaption(3), "Page 3"); // design-time settings read
}

TEST_F(Bars, ToolBarClickAndMouseMoveComeFromTheUsersMouse) {
    std::vector<int> clicks, movesAt;
    int plainMoves = 0;
    f.ToolBar1.Click = [&](int index) { clicks.push_back(index); };
    f.ToolBar1.MouseMove = [&](int button, int, int x, int y) {
        ++plainMoves;
        EXPECT_EQ(button, 0);
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
        movesAt.push_back(f.ToolBar1.Button_Index());
    };
    RECT tb;
    GetClientRect(f.ToolBar1.hwnd(), &tb);
    const int rowHeight = tb.bottom / 4;
    clickAt(f.ToolBar1.hwnd(), tb.right / 2, rowHeight * 2 + rowHeight / 2);
    ASSERT_TRUE(pumpUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks, (std::vector<int>{2}));
    ASSERT_FALSE(movesAt.empty());
    // MouseMove runs once per move, after the button under the mouse is known.
    EXPECT_EQ(movesAt.back(), 2);
    EXPECT_EQ(plainMoves, static_cast<int>(movesAt.size()));
    mouseTo(f.ToolBar1.hwnd(), tb.right / 2, rowHeight / 2);
    ASSERT_TRUE(pumpUntil([&] { return movesAt.back() == 0; }));
}

TEST_F(Bars, PanelsFromArgumentsOrPositionsAndTheirEvents) {
    controls::StatusBar& sb = *f.StatusBar1.bar();
    ASSERT_EQ(f.StatusBar1.PanelCount(), 2);
    EXPECT_EQ(f.StatusBar1.PanelText(0), "0");
    EXPECT_TRUE(sb.PanelAutoSize(1));
    EXPECT_TRUE(sb.PanelEditable(1));
    EXPECT_EQ(sb.PanelForeColor(1), controls::rgb(224, 224, 224));
    EXPECT_EQ(sb.PanelToolTipText(1), "0");
    EXPECT_EQ(sb.PanelAlignment(1), 0);
    EXPECT_EQ(sb.PanelAlignment(2), 1);
    EXPECT_EQ(sb.PanelWidth(2), 90);
    EXPECT_FALSE(sb.PanelEditable(2));

    std::vector<std::string> seen;
    f.StatusBar1.Click = [&] { seen.push_back("Click"); };
    f.StatusBar1.PanelClick = [&](int p) { seen.push_back("PanelClick " + std::to_string(p)); };
    f.StatusBar1.PanelMouseDown = [&](int p, int button, int, int, int) {
        seen.push_back("PanelMouseDown " + std::to_string(p) + " " + std::to_string(button));
    };
    f.StatusBar1.MouseDown = [&](int button, int, int, int) {
        seen.push_back("MouseDown " + std::to_string(button));
    };
    POINT c = panelCentre(2);
    clickAt(bar(), c.x, c.y);
    ASSERT_TRUE(pumpUntil([&] { return seen.size() >= 4; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"MouseDown 1", "PanelMouseDown 2 1", "Click",
                                              "PanelClick 2"}));
}

TEST(BarsOnAForm, AreMadeAgainWhenTheFormIsLoadedAgain) {
    BarsForm g; // never shown: unloading it does not wait for the display
    g.Load();
    ASSERT_NE(g.StatusBar1.bar(), nullptr);
    g.StatusBar1.setPanelText(1, "edited");
    ASSERT_TRUE(g.Unload());
    EXPECT_EQ(g.StatusBar1.bar(), nullptr);
    EXPECT_EQ(g.ToolBar1.bar(), nullptr);
    EXPECT_EQ(g.StatusBar1.PanelText(1), ""); // no window, no panels
    g.StatusBar1.setPanelText(1, "nowhere");  // does nothing
    g.Load();
    ASSERT_NE(g.StatusBar1.bar(), nullptr);
    EXPECT_EQ(g.StatusBar1.PanelCount(), 2);
    EXPECT_EQ(g.StatusBar1.PanelText(1), "0"); // as Form_Load made it
    EXPECT_EQ(g.ToolBar1.bar()->Button_Count(), 4);
    // Closed from its own window (the close box): the status bar lets go of
    // the form's window procedure while the form is inside it.
    SendMessageA(g.window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(g.isLoaded());
    EXPECT_EQ(g.StatusBar1.bar(), nullptr);
}

// ---- inside the runtime's message loop ----------------------------------------

TEST_F(Bars, InPlaceEditingTakesEscAndEnterFromTheKeyboard) {
    POINT c = panelCentre(1);
    clickAt(bar(), c.x, c.y, 2);
    ASSERT_TRUE(pumpUntil([&] { return f.StatusBar1.bar()->Editing(); }));
    ASSERT_EQ(GetFocus(), f.StatusBar1.bar()->EditWindow());
    type("abc");
    press(VK_ESCAPE);
    EXPECT_TRUE(pumpUntil([&] { return !f.StatusBar1.bar()->Editing(); }));
    EXPECT_EQ(f.StatusBar1.PanelText(1), "0");

    c = panelCentre(1);
    clickAt(bar(), c.x, c.y, 2);
    ASSERT_TRUE(pumpUntil([&] { return f.StatusBar1.bar()->Editing(); }));
    type("xyz");
    press(VK_RETURN);
    EXPECT_TRUE(pumpUntil([&] { return !f.StatusBar1.bar()->Editing(); }));
    EXPECT_EQ(f.StatusBar1.PanelText(1), "xyz");
    EXPECT_TRUE(f.isLoaded()); // neither key reached the form as a dialog command
}

TEST_F(Bars, CtrlTabTurnsPagesOnAFormWithAStatusBar) {
    f.txt.SetFocus();
    pumpMessages(50);
    ASSERT_EQ(f.stack.Tab(), 0);
    press(VK_TAB, {VK_CONTROL});
    EXPECT_TRUE(pumpUntil([&] { return f.stack.Tab() == 1; }));
    press(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(pumpUntil([&] { return f.stack.Tab() == 0; }));
}

TEST_F(Bars, ThemedButtonTabRaisesMouseLeaveAndEnterClicks) {
    controls::ThemedButton* first = f.cmdFirst.button();
    ASSERT_NE(first, nullptr);
    int leaves = 0, clicks = 0;
    first->MouseLeave = [&] { ++leaves; };
    f.cmdFirst.Click = [&] { ++clicks; };
    f.cmdFirst.SetFocus();
    pumpMessages(50);
    ASSERT_EQ(GetFocus(), f.cmdFirst.hwnd());

    press(VK_RETURN);
    EXPECT_TRUE(pumpUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(f.isLoaded());

    press(VK_SPACE);
    EXPECT_TRUE(pumpUntil([&] { return clicks == 2; }));

    press(VK_TAB);
    EXPECT_TRUE(pumpUntil([&] { return leaves == 1; }));
    EXPECT_TRUE(pumpUntil([&] { return GetFocus() == f.cmdSecond.hwnd(); })); // focus moved on

    f.cmdFirst.SetFocus();
    pumpMessages(50);
    press(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(pumpUntil([&] { return leaves == 2; }));
    EXPECT_TRUE(pumpUntil([&] { return GetFocus() == f.txt.hwnd(); }));
    EXPECT_EQ(clicks, 2); // Tab clicks nothing
}

namespace {

// A toolbar that sizes itself around its buttons (WarpSize, the default) and
// a label docked beside it.
class WarpForm : public forms::Form {
  public:
    WarpForm() : Form("frmWarpTest", "Warp") { lbl.setAlign(forms::vbAlignLeft); }
    forms::ToolBar tb{*this, "tb"};
    forms::Label lbl{*this, "lbl", "beside"};
};

} // namespace

TEST(BarsOnAForm, TheNextDockedControlTakesTheEdgeTheToolbarReallyLeaves) {
    WarpForm g;
    g.Load();
    ASSERT_NE(g.tb.bar(), nullptr);
    ASSERT_TRUE(g.tb.bar()->WarpSize());
    RECT tb = rectIn(g.tb.hwnd(), g.window()), lbl = rectIn(g.lbl.hwnd(), g.hwnd());
    // One column of the default button width, whatever width it was docked with.
    EXPECT_EQ(tb.right - tb.left, g.tb.bar()->ButtonsWidth());
    EXPECT_EQ(g.tb.Width(), forms::toTwips(tb.right - tb.left));
    EXPECT_EQ(lbl.left, tb.right);
    g.Unload();
}
