// The toolbar driven by real window messages under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/toolbar.h"

using namespace controls;

namespace {

// One host window for every test: creating and showing windows costs time under Wine.
HWND makeHost() {
    static HWND host = nullptr;
    if (host && IsWindow(host))
        return host;
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ToolBarTestHost";
        RegisterClassA(&wc);
        registered = true;
    }
    host = CreateWindowA("ToolBarTestHost", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                         600, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(host, SW_SHOWNOACTIVATE);
    return host;
}

void pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(5);
    } while (GetTickCount() < end);
}

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

struct ToolBarTest : ::testing::Test {
    void SetUp() override {
        host = makeHost();
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override { tb.reset(); }
    // A 3 x 2 grid of 90 x 40 cells with `count` buttons; the control is
    // 400 x 100, wider and taller than the grid.
    ToolBar& make(long count) {
        tb = std::make_unique<ToolBar>();
        EXPECT_TRUE(tb->Create(host, 0, 0, 400, 100));
        tb->setWarpSize(false);
        tb->setAutoSize(false);
        tb->setButtonsPerRow(3);
        SetWindowPos(tb->hwnd(), nullptr, 0, 0, 400, 100, SWP_NOZORDER | SWP_NOMOVE);
        tb->setButton_Count(count);
        return *tb;
    }
    // The pointer really goes there too, so the system's leave tracking agrees.
    void move(int x, int y) {
        POINT p{x, y};
        ClientToScreen(tb->hwnd(), &p);
        SetCursorPos(p.x, p.y);
        SendMessageA(tb->hwnd(), WM_MOUSEMOVE, 0, at(x, y));
    }
    void click(int x, int y) {
        move(x, y);
        SendMessageA(tb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        SendMessageA(tb->hwnd(), WM_LBUTTONUP, 0, at(x, y));
    }

    HWND host = nullptr;
    std::unique_ptr<ToolBar> tb;
};

} // namespace

TEST_F(ToolBarTest, NewControlHasOneButtonAndNoButtonUnderTheMouse) {
    tb = std::make_unique<ToolBar>();
    ASSERT_TRUE(tb->Create(host, 0, 0, 300, 100));
    char cls[64] = {0};
    GetClassNameA(tb->hwnd(), cls, sizeof cls);
    EXPECT_STREQ(cls, ToolBar::kClassName);
    EXPECT_EQ(tb->Button_Count(), 1);
    EXPECT_EQ(tb->ButtonCaption(0), "Button 0");
    EXPECT_EQ(tb->Button_Index(), -1);
    // AutoSize and WarpSize: the control wraps around its grid of 90 x 40 cells.
    RECT r;
    GetClientRect(tb->hwnd(), &r);
    EXPECT_EQ(r.right, 270); // three 90-pixel columns fit the 300-pixel width
    EXPECT_EQ(r.bottom, 40);
}

TEST_F(ToolBarTest, ClickCarriesTheButtonIndexOrMinusOneWhereThereIsNone) {
    auto& t = make(4);
    std::vector<std::string> events;
    t.Click = [&](long i) { events.push_back("Click " + std::to_string(i)); };
    t.MouseDown = [&](long i, int b, int, int, int) {
        events.push_back("MouseDown " + std::to_string(i) + " " + std::to_string(b));
    };
    t.MouseUp = [&](long i, int b, int, int, int) {
        events.push_back("MouseUp " + std::to_string(i) + " " + std::to_string(b));
    };
    click(100, 10); // button 1
    click(100, 50); // second row, column 1: beyond the last button (3)
    click(300, 10); // right of the last column
    EXPECT_EQ(events, (std::vector<std::string>{"MouseDown 1 1", "MouseUp 1 1", "Click 1",
                                                "Click -1", "Click -1"}));
}

TEST_F(ToolBarTest, ReleasingOutsideTheControlRaisesNoClick) {
    auto& t = make(3);
    int clicks = 0;
    t.Click = [&](long) { ++clicks; };
    move(10, 10);
    SendMessageA(t.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    EXPECT_TRUE(t.MouseIsDown());
    SendMessageA(t.hwnd(), WM_LBUTTONUP, 0, at(500, 300));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(t.MouseIsDown());
}

TEST_F(ToolBarTest, ButtonCountBelowOneIsIgnoredAndGrowingAddsDefaultButtons) {
    auto& t = make(2);
    t.ClearChanged();
    t.setButton_Count(0);
    EXPECT_EQ(t.Button_Count(), 2);
    t.setButton_Count(-5);
    EXPECT_EQ(t.Button_Count(), 2);
    EXPECT_FALSE(t.PropertyChanged());
    t.setButton_Count(4);
    EXPECT_EQ(t.Button_Count(), 4);
    EXPECT_EQ(t.ButtonCaption(3), "Button 3");
    EXPECT_TRUE(t.ButtonEnabled(3));
    EXPECT_TRUE(t.PropertyChanged());
    t.setButton_Count(1);
    EXPECT_EQ(t.Button_Count(), 1);
    EXPECT_EQ(t.ButtonCaption(3), ""); // gone: reads nothing
}

TEST_F(ToolBarTest, ButtonRemoveAndMoveToWorkOnTheButtonUnderTheMouse) {
    auto& t = make(1);
    move(10, 10);
    ASSERT_EQ(t.Button_Index(), 0);
    t.ButtonRemove(); // the only button stays
    EXPECT_EQ(t.Button_Count(), 1);

    t.setButton_Count(3);
    t.setButtonCaption(0, "A");
    t.setButtonCaption(1, "B");
    t.setButtonCaption(2, "C");
    move(100, 10);
    ASSERT_EQ(t.Button_Index(), 1);
    t.ButtonMoveTo(2);
    EXPECT_EQ(t.ButtonCaption(1), "C");
    EXPECT_EQ(t.ButtonCaption(2), "B");
    t.ButtonRemove();
    EXPECT_EQ(t.Button_Count(), 2);
    EXPECT_EQ(t.ButtonCaption(0), "A");
    EXPECT_EQ(t.ButtonCaption(1), "B");
}

TEST_F(ToolBarTest, DisabledButtonNeverBecomesButtonIndex) {
    auto& t = make(3);
    t.setButtonEnabled(1, false);
    std::vector<long> hovers;
    t.OnButtonHover = [&](long i) { hovers.push_back(i); };
    move(10, 10);
    move(100, 10); // the disabled button
    EXPECT_EQ(t.Button_Index(), -1);
    // Over it the cursor is the normal arrow.
    SendMessageA(t.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(t.hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    move(190, 10);
    EXPECT_EQ(t.Button_Index(), 2);
    SendMessageA(t.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(t.hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(hovers, (std::vector<long>{0, -1, 2}));
    // Clicking it reports no button.
    long clicked = 99;
    t.Click = [&](long i) { clicked = i; };
    click(100, 10);
    EXPECT_EQ(clicked, -1);
}

TEST_F(ToolBarTest, MouseEnterOnceAndMouseLeaveAfterTheIndexIsReset) {
    auto& t = make(3);
    int enters = 0, leaves = 0;
    long indexAtLeave = 99;
    std::vector<std::string> order;
    t.MouseEnter = [&] {
        ++enters;
        order.push_back("MouseEnter");
    };
    t.MouseMove = [&](long, int, int, int, int) { order.push_back("MouseMove"); };
    t.MouseLeave = [&] {
        ++leaves;
        indexAtLeave = t.Button_Index();
    };
    move(10, 10);
    move(20, 10);
    move(100, 30);
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(t.Hovering());
    EXPECT_EQ(order.front(), "MouseMove"); // the hook runs after the control's own handling
    EXPECT_EQ(order[1], "MouseEnter");
    SendMessageA(t.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(indexAtLeave, -1);
    EXPECT_FALSE(t.Hovering());
    move(10, 10);
    EXPECT_EQ(enters, 2);
}

TEST_F(ToolBarTest, TooltipAfterFiveTicksWithTitleAndStyle) {
    auto& t = make(3);
    t.setButtonToolTip(0, "Go home");
    t.setButtonToolTipIcon(0, 1);
    move(10, 10);
    EXPECT_EQ(t.ToolTipWindow(), nullptr); // not before the ticks
    pump(300);
    HWND tip = t.ToolTipWindow();
    ASSERT_NE(tip, nullptr);
    char cls[64] = {0};
    GetClassNameA(tip, cls, sizeof cls);
    EXPECT_STREQ(cls, "tooltips_class32");
    const LONG style = GetWindowLongA(tip, GWL_STYLE);
    EXPECT_TRUE(style & TTS_BALLOON);
    EXPECT_TRUE(style & TTS_NOPREFIX);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)),
              static_cast<COLORREF>(15138301));
    // Moving removes it; leaving keeps it away.
    move(12, 10);
    EXPECT_EQ(t.ToolTipWindow(), nullptr);
    SetCursorPos(1200, 900); // the pointer leaves for good
    SendMessageA(t.hwnd(), WM_MOUSELEAVE, 0, 0);
    pump(100);
    EXPECT_EQ(t.ToolTipWindow(), nullptr);

    // A button without tooltip text shows none; rectangular style on request.
    move(100, 10);
    pump(200);
    EXPECT_EQ(t.ToolTipWindow(), nullptr);
    t.setTooTipStyle(1);
    move(11, 11);
    pump(200);
    ASSERT_NE(t.ToolTipWindow(), nullptr);
    EXPECT_FALSE(GetWindowLongA(t.ToolTipWindow(), GWL_STYLE) & TTS_BALLOON);
}

TEST_F(ToolBarTest, GradientTypeZeroPaintsNoGradient) {
    auto& t = make(1);
    t.setButtonCaption(0, "");
    t.setBackColor(rgb(200, 0, 0));
    t.setBackGradientCol(rgb(0, 0, 200));
    t.setBackGradient(0);
    const auto& s = t.DrawnSurface();
    for (POINT p : {POINT{1, 1}, POINT{399, 99}, POINT{200, 50}, POINT{0, 99}})
        EXPECT_EQ(s.pixel(p.x, p.y), rgb(200, 0, 0)) << p.x << "," << p.y;

    t.setBackGradient(1); // horizontal: from the gradient colour to the back colour
    EXPECT_EQ(s.pixel(0, 50), rgb(0, 0, 200));
    EXPECT_EQ(s.pixel(399, 50), rgb(200, 0, 0));
    t.setBackGradient(3); // vertical
    EXPECT_EQ(s.pixel(200, 0), rgb(0, 0, 200));
    EXPECT_EQ(s.pixel(200, 99), rgb(200, 0, 0));
}

TEST_F(ToolBarTest, HoverLookOfStyleTwoAndLatchedButtons) {
    auto& t = make(3);
    t.setButtonCaption(0, "");
    t.setBackColor(rgb(128, 128, 128));
    t.setHoverColor(rgb(100, 150, 200));
    t.setButtonsStyle(2);
    move(10, 10);
    const auto& s = t.DrawnSurface();
    // Filled with BlendColor(hover, white, 100), outlined with BlendColor(hover, black, 250).
    EXPECT_EQ(s.pixel(45, 20), ToolBar::BlendColor(rgb(100, 150, 200), rgb(255, 255, 255), 100));
    EXPECT_EQ(s.pixel(0, 20), ToolBar::BlendColor(rgb(100, 150, 200), rgb(0, 0, 0), 250));
    // Another button is flat: the back colour.
    EXPECT_EQ(s.pixel(135, 20), rgb(128, 128, 128));
    // Style 0 hovered: filled with the hover colour itself.
    t.setButtonsStyle(0);
    EXPECT_EQ(s.pixel(45, 20), rgb(100, 150, 200));
}

TEST_F(ToolBarTest, KeyDownDrawsTheHoveredButtonSunkenUntilKeyUp) {
    auto& t = make(2);
    move(10, 10);
    std::vector<std::string> keys;
    t.KeyDown = [&](long i, int k, int) {
        keys.push_back("down " + std::to_string(i) + " " + std::to_string(k));
    };
    t.KeyUp = [&](long i, int k, int) {
        keys.push_back("up " + std::to_string(i) + " " + std::to_string(k));
    };
    SendMessageA(t.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(t.MouseIsDown());
    SendMessageA(t.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(t.MouseIsDown());
    EXPECT_EQ(keys, (std::vector<std::string>{"down 0 32", "up 0 32"}));
}

TEST_F(ToolBarTest, WarpSizeWrapsTheControlUnlessDocked) {
    auto& t = make(5);
    t.setWarpSize(true); // fixed layout: 3 per row, 2 rows of 90 x 40
    RECT r;
    GetClientRect(t.hwnd(), &r);
    EXPECT_EQ(r.right, 270);
    EXPECT_EQ(r.bottom, 80);
    t.setAlign(ToolBar::DockLeft); // keeps its height
    SetWindowPos(t.hwnd(), nullptr, 0, 0, 270, 300, SWP_NOZORDER | SWP_NOMOVE);
    GetClientRect(t.hwnd(), &r);
    EXPECT_EQ(r.bottom, 300);
}

TEST_F(ToolBarTest, StoredStateKeepsOnlyChangedValuesAndReloads) {
    auto& t = make(2);
    t.setButtonCaption(1, "Options");
    t.setButtonToolTip(1, "Settings");
    t.setButtonPressed(1, true);
    t.setButtonIconAllignment(1, 2);
    t.setBackGradient(6);
    t.setHoverColor(systemColour(SysGrayText));
    t.setFont(FontDesc{"Tahoma", -11, 700, false, false, false, 1});
    PropertyBag bag;
    t.WriteProperties(bag);
    EXPECT_FALSE(bag.contains("Appearance"));
    EXPECT_FALSE(bag.contains("ButtonEnabled0"));
    EXPECT_EQ(bag.get("buttoncaption1"), "Options");
    EXPECT_EQ(bag.get("BackGradient"), "6");
    EXPECT_EQ(bag.readColour("HoverColor", 0), 0x80000011u);

    ToolBar copy;
    ASSERT_TRUE(copy.Create(host, 0, 150, 400, 100, 0, &bag));
    EXPECT_EQ(copy.Button_Count(), 2);
    EXPECT_EQ(copy.ButtonCaption(0), "Button 0");
    EXPECT_EQ(copy.ButtonCaption(1), "Options");
    EXPECT_EQ(copy.ButtonToolTip(1), "Settings");
    EXPECT_TRUE(copy.ButtonPressed(1));
    EXPECT_EQ(copy.ButtonIconAllignment(1), 2);
    EXPECT_EQ(copy.BackGradient(), 6);
    EXPECT_EQ(copy.Font().face, "Tahoma");
    EXPECT_EQ(copy.Font().weight, 700);
    EXPECT_FALSE(copy.WarpSize());
    EXPECT_EQ(copy.Button_Index(), -1);

    // Fewer per-button entries than Button_Count: default buttons.
    PropertyBag short_;
    short_.set("Button_Count", "3");
    ToolBar three;
    ASSERT_TRUE(three.Create(host, 0, 260, 300, 100, 0, &short_));
    EXPECT_EQ(three.Button_Count(), 3);
    EXPECT_TRUE(three.ButtonEnabled(2));
}

TEST_F(ToolBarTest, SplitToLinesUsesTheControlFontAndTranslateColor) {
    auto& t = make(1);
    auto lines = t.SplitToLines("Get Portable Apps", 5, true); // narrower than any character
    EXPECT_EQ(lines.size(), 15u);
    lines = t.SplitToLines("Get Portable Apps", 60, true);
    EXPECT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front().substr(0, 4), "Get ");
    EXPECT_EQ(t.SplitToLines("Get Portable Apps", 1000, true).size(), 1u);
    EXPECT_EQ(ToolBar::TranslateColor(systemColour(SysButtonFace)),
              static_cast<Colour>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ToolBar::TranslateColor(rgb(1, 2, 3)), rgb(1, 2, 3));
    EXPECT_TRUE(ToolBar::IsDelim('1'));
    EXPECT_FALSE(ToolBar::IsDelim('_'));
}

TEST_F(ToolBarTest, DisabledButtonCaptionIsGreyAndEveryWriteRedraws) {
    auto& t = make(2);
    int redraws = 0;
    long redrawIndex = 99;
    t.OnRedrawing = [&](long i) {
        ++redraws;
        redrawIndex = i;
    };
    t.setForeColor(rgb(255, 0, 0));
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(redrawIndex, -1);
    t.setButtonCaption(0, "WWWW");
    t.setButtonCaption(1, "WWWW");
    t.setButtonEnabled(1, false);
    EXPECT_EQ(redraws, 4);
    auto count = [&](int left, COLORREF c) {
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = left; x < left + 90; ++x)
                n += t.DrawnSurface().pixel(x, y) == c;
        return n;
    };
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(count(0, rgb(255, 0, 0)), 0);
    EXPECT_EQ(count(90, rgb(255, 0, 0)), 0);
    EXPECT_GT(count(90, grey), 0);
    // A disabled control draws every caption grey.
    t.setEnabled(false);
    EXPECT_EQ(count(0, rgb(255, 0, 0)), 0);
    EXPECT_GT(count(0, grey), 0);
}

TEST_F(ToolBarTest, DoubleClickDrawsTheButtonPressedBeforeItsEvent) {
    auto& t = make(2);
    std::vector<std::string> ev;
    t.Click = [&](long i) { ev.push_back("Click " + std::to_string(i)); };
    t.DblClick = [&](long i) {
        ev.push_back("DblClick " + std::to_string(i) + (t.MouseIsDown() ? " down" : " up"));
    };
    t.MouseUp = [&](long i, int, int, int, int) { ev.push_back("MouseUp " + std::to_string(i)); };
    click(100, 10);
    SendMessageA(t.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(100, 10));
    SendMessageA(t.hwnd(), WM_LBUTTONUP, 0, at(100, 10));
    EXPECT_EQ(ev,
              (std::vector<std::string>{"MouseUp 1", "Click 1", "DblClick 1 down", "MouseUp 1"}));
    EXPECT_FALSE(t.MouseIsDown());
}
