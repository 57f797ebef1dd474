// The status bar driven by real window messages under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/statusbar.h"

using namespace controls;

namespace {

// One host window for every test: creating and showing windows costs time under Wine.
HWND statusHost() {
    static HWND host = nullptr;
    if (host && IsWindow(host))
        return host;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StatusBarTestHost";
    RegisterClassA(&wc);
    host = CreateWindowA("StatusBarTestHost", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 650, 0,
                         600, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(host, SW_SHOW);
    SetForegroundWindow(host);
    return host;
}

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

POINT centreOf(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Puts the pointer at a screen point and waits until it stays there: under
// Wine the move reaches the display asynchronously, and a motion of an earlier
// test still on its way can put the pointer back once.
void placePointer(POINT p) {
    for (int tries = 0; tries < 50; ++tries) {
        SetCursorPos(p.x, p.y);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
        Sleep(10);
        POINT now{}, later{};
        GetCursorPos(&now);
        Sleep(10);
        GetCursorPos(&later);
        if (now.x == p.x && now.y == p.y && later.x == p.x && later.y == p.y)
            return;
    }
}

std::string windowText(HWND h) {
    char buf[256] = {0};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

struct StatusBarTest : ::testing::Test {
    void SetUp() override {
        host = statusHost();
        sb = std::make_unique<StatusBar>();
        ASSERT_TRUE(sb->Create(host, 24));
    }
    void TearDown() override { sb.reset(); }
    // Three panels: an editable fixed one, an editable auto-sized one, a read-only one.
    void threePanels() {
        sb->AddPanel({.sText = "first", .bEditable = true, .lWidth = 100});
        sb->AddPanel({.sText = "second", .bAutoSize = true, .bEditable = true});
        sb->AddPanel({.sText = "third", .uTextAlign = 2, .lMaskColor = 0, .lWidth = 80});
    }
    void dblClickPanel(int index) {
        POINT c = centreOf(sb->PanelRect(index));
        SendMessageA(sb->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(c.x, c.y));
        SendMessageA(sb->hwnd(), WM_LBUTTONUP, 0, at(c.x, c.y));
    }

    HWND host = nullptr;
    std::unique_ptr<StatusBar> sb;
};

} // namespace

TEST_F(StatusBarTest, DockedToTheBottomOfItsFormAndFollowsIt) {
    RECT host_rc, rc;
    GetClientRect(host, &host_rc);
    GetWindowRect(sb->hwnd(), &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.bottom, host_rc.bottom);
    EXPECT_EQ(rc.right - rc.left, host_rc.right);
    EXPECT_EQ(rc.bottom - rc.top, 24);
    SetWindowPos(host, nullptr, 0, 0, 500, 250, SWP_NOZORDER | SWP_NOMOVE);
    GetClientRect(host, &host_rc);
    GetWindowRect(sb->hwnd(), &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.bottom, host_rc.bottom);
    EXPECT_EQ(rc.right - rc.left, host_rc.right);
    SetWindowPos(host, nullptr, 0, 0, 600, 300, SWP_NOZORDER | SWP_NOMOVE);
}

TEST_F(StatusBarTest, PanelIndexRules) {
    // No panels: nothing happens.
    sb->setPanelText(1, "lost");
    sb->setPanelWidth(0, 50);
    EXPECT_EQ(sb->PanelCount(), 0);
    EXPECT_EQ(sb->PanelText(1), "");
    threePanels();
    sb->setPanelText(0, "zero"); // below 1: the first panel
    EXPECT_EQ(sb->PanelText(1), "zero");
    sb->setPanelText(99, "last"); // above the count: the last panel
    EXPECT_EQ(sb->PanelText(3), "last");
    EXPECT_EQ(sb->PanelText(-4), "zero");
    EXPECT_EQ(sb->PanelText(2), "second");
    sb->setPanelAlignment(0, 1);
    EXPECT_EQ(sb->PanelAlignment(1), 1);
    sb->setPanelToolTipText(7, "tip");
    EXPECT_EQ(sb->PanelToolTipText(3), "tip");
    EXPECT_EQ(sb->PanelToolTipText(1), "");
    sb->setPanelForeColor(2, rgb(1, 2, 3));
    EXPECT_EQ(sb->PanelForeColor(2), rgb(1, 2, 3));
    EXPECT_EQ(sb->PanelForeColor(1), sb->ForeColor()); // the control's colour when none given
    sb->Clear();
    EXPECT_EQ(sb->PanelCount(), 0);
    EXPECT_EQ(sb->PanelText(0), "");
}

TEST_F(StatusBarTest, DefaultWidthIsFortyPixelsAndPanelsFollowEachOther) {
    sb->AddPanel({.sText = "a", .lMaskColor = 0, .lWidth = 0});
    EXPECT_EQ(sb->PanelWidth(1), 40);
    RECT r1 = sb->PanelRect(1);
    EXPECT_EQ(r1.right - r1.left, 40);
    EXPECT_EQ(r1.top, 5);
    EXPECT_EQ(r1.bottom, 24 - 5);
    sb->setPanelWidth(1, -3);
    EXPECT_EQ(sb->PanelWidth(1), 40);
    sb->AddPanel({.sText = "with icon",
                  .oIcon = Picture{LoadIconA(nullptr, IDI_INFORMATION), nullptr},
                  .lMaskColor = 0,
                  .lWidth = 60});
    RECT r2 = sb->PanelRect(2);
    EXPECT_EQ(r2.left, r1.right);
    EXPECT_EQ(r2.right - r2.left, 60 + 18);
    sb->AddPanel({.sText = "", .bAutoSize = true}); // auto size, empty text
    RECT r3 = sb->PanelRect(3);
    EXPECT_EQ(r3.right - r3.left, 20);
}

TEST_F(StatusBarTest, EscapeLeavesTheTextAndEnterStoresIt) {
    threePanels();
    dblClickPanel(2);
    ASSERT_TRUE(sb->Editing());
    HWND edit = sb->EditWindow();
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_EQ(windowText(edit), "second");
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 6u);

    SetWindowTextA(edit, "changed");
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(sb->Editing());
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_EQ(sb->PanelText(2), "second");

    dblClickPanel(2);
    ASSERT_TRUE(sb->Editing());
    SetWindowTextA(edit, "typed");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(sb->Editing());
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_EQ(sb->PanelText(2), "typed");
}

TEST_F(StatusBarTest, FocusLossAndAClickElsewhereKeepTheEditedText) {
    threePanels();
    dblClickPanel(1);
    ASSERT_TRUE(sb->Editing());
    HWND edit = sb->EditWindow();
    ASSERT_EQ(GetFocus(), edit);
    SetWindowTextA(edit, "by focus");
    SetFocus(host);
    EXPECT_FALSE(sb->Editing());
    EXPECT_EQ(sb->PanelText(1), "by focus");

    dblClickPanel(1);
    ASSERT_TRUE(sb->Editing());
    SetWindowTextA(edit, "by click");
    POINT c = centreOf(sb->PanelRect(3));
    SendMessageA(sb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(c.x, c.y));
    SendMessageA(sb->hwnd(), WM_LBUTTONUP, 0, at(c.x, c.y));
    EXPECT_FALSE(sb->Editing());
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_EQ(sb->PanelText(1), "by click");
}

TEST_F(StatusBarTest, ReadOnlyPanelIsNotEdited) {
    threePanels();
    dblClickPanel(3);
    EXPECT_FALSE(sb->Editing());
}

TEST_F(StatusBarTest, ClickAndPanelEventsInOrder) {
    threePanels();
    std::vector<std::string> ev;
    sb->Click = [&] { ev.push_back("Click"); };
    sb->PanelClick = [&](int p) { ev.push_back("PanelClick " + std::to_string(p)); };
    sb->DblClick = [&] { ev.push_back("DblClick"); };
    sb->PanelDblClick = [&](int p) { ev.push_back("PanelDblClick " + std::to_string(p)); };
    sb->MouseDown = [&](int b, int, int, int) { ev.push_back("MouseDown " + std::to_string(b)); };
    sb->PanelMouseDown = [&](int p, int, int, int, int) {
        ev.push_back("PanelMouseDown " + std::to_string(p));
    };
    sb->MouseUp = [&](int, int, int, int) { ev.push_back("MouseUp"); };
    sb->PanelMouseUp = [&](int p, int, int, int, int) {
        ev.push_back("PanelMouseUp " + std::to_string(p));
    };
    POINT c = centreOf(sb->PanelRect(3));
    SendMessageA(sb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(c.x, c.y));
    SendMessageA(sb->hwnd(), WM_LBUTTONUP, 0, at(c.x, c.y));
    SendMessageA(sb->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(c.x, c.y));
    EXPECT_EQ(ev, (std::vector<std::string>{"MouseDown 1", "PanelMouseDown 3", "MouseUp",
                                            "PanelMouseUp 3", "Click", "PanelClick 3", "DblClick",
                                            "PanelDblClick 3"}));
    EXPECT_EQ(sb->GetPanelIndex(c.x, c.y), 3);
    EXPECT_EQ(sb->GetPanelIndex(590, 2), 0);
}

TEST_F(StatusBarTest, MouseEnterOnceAndMouseLeave) {
    int enters = 0, leaves = 0;
    sb->MouseEnter = [&] { ++enters; };
    sb->MouseLeave = [&] { ++leaves; };
    SendMessageA(sb->hwnd(), WM_MOUSEMOVE, 0, at(10, 10));
    SendMessageA(sb->hwnd(), WM_MOUSEMOVE, 0, at(20, 10));
    EXPECT_EQ(enters, 1);
    SendMessageA(sb->hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(leaves, 1);
    SendMessageA(sb->hwnd(), WM_MOUSEMOVE, 0, at(20, 10));
    EXPECT_EQ(enters, 2);
}

// A bar whose window cannot be seen lays its panels out at once but draws
// only when painted or read; its tooltip window comes with the pointer.
TEST_F(StatusBarTest, HiddenItLaysOutAtOnceDrawsWhenReadAndMakesItsTipsWithThePointer) {
    ShowWindow(sb->hwnd(), SW_HIDE);
    sb->AddPanel({.sText = "first", .sToolTipText = "tip one", .lWidth = 100});
    sb->AddPanel({.sText = "second", .bAutoSize = true, .sToolTipText = "tip two"});
    EXPECT_EQ(sb->PanelRect(1).right - sb->PanelRect(1).left, 100);
    EXPECT_GT(sb->PanelRect(2).left, sb->PanelRect(1).left);
    const int x = sb->PanelRect(2).left + 3;
    sb->setBackColor(rgb(10, 120, 200));
    const auto blue = sb->DrawnSurface().pixel(x, 12);
    sb->setBackColor(rgb(200, 120, 10));
    const auto orange = sb->DrawnSurface().pixel(x, 12);
    EXPECT_NE(blue, orange);
    ShowWindow(sb->hwnd(), SW_SHOW);
    sb->Refresh();
    EXPECT_EQ(sb->DrawnSurface().pixel(x, 12), orange);
    EXPECT_EQ(sb->ToolTipWindow(), nullptr);

    POINT p = centreOf(sb->PanelRect(2));
    ClientToScreen(sb->hwnd(), &p);
    placePointer({p.x - 5, p.y});
    placePointer(p);
    ASSERT_NE(sb->ToolTipWindow(), nullptr);
    EXPECT_EQ(SendMessageA(sb->ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST_F(StatusBarTest, TopRowIsWhiteInTheVisualStyleLooks) {
    sb->setBackColor(rgb(103, 103, 103));
    const auto& s = sb->DrawnSurface();
    for (int theme : {2, 3, 4}) {
        sb->setTheme(theme);
        EXPECT_EQ(sb->CurrentLook(), theme);
        for (int x : {0, 100, s.width() - 1})
            EXPECT_EQ(s.pixel(x, 0), rgb(255, 255, 255)) << theme << " " << x;
        EXPECT_EQ(s.pixel(300, 2), ShiftColor(ShiftColor(rgb(103, 103, 103), -1), -37));
    }
    sb->setTheme(1);
    EXPECT_EQ(sb->CurrentLook(), kLookClassic);
    EXPECT_EQ(s.pixel(100, 0), rgb(103, 103, 103));
    EXPECT_EQ(sb->GripShape(), 2); // the classic grip
    sb->setTheme(9);
    EXPECT_EQ(sb->CurrentLook(), kLookBlue);
    EXPECT_EQ(sb->GripShape(), 1);
}

TEST_F(StatusBarTest, AutomaticLookIsClassicOffTheOneSystemWithColourSchemes) {
    // Wine reports version 6.1: Theme 0 paints the classic look.
    ASSERT_FALSE(StatusBar::IsWinXP());
    sb->setTheme(0);
    EXPECT_EQ(sb->CurrentLook(), kLookClassic);
    const std::string scheme = StatusBar::GetThemeInfo();
    EXPECT_FALSE(scheme.empty());
}

TEST_F(StatusBarTest, ErrorsCarryTheRoutineAsSource) {
    threePanels();
    try {
        sb->BoundControl(1, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ff0)));
        FAIL() << "no error";
    } catch (const StatusBarError& e) {
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Source(), "StatusBar.BoundControl");
        EXPECT_EQ(e.Description(), "Invalid procedure call or argument");
    }
}

TEST_F(StatusBarTest, BoundControlMovesIntoThePanelAndBack) {
    threePanels();
    HWND child = CreateWindowA("STATIC", "x", WS_CHILD | WS_VISIBLE, 5, 5, 30, 12, host, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    sb->BoundControl(1, child, 0);
    EXPECT_EQ(GetParent(child), sb->hwnd());
    RECT cr, pr = sb->PanelRect(1);
    GetWindowRect(child, &cr);
    MapWindowPoints(nullptr, sb->hwnd(), reinterpret_cast<POINT*>(&cr), 2);
    EXPECT_GE(cr.left, pr.left);
    EXPECT_LE(cr.right, pr.right);
    EXPECT_EQ(cr.top, pr.top);
    EXPECT_EQ(cr.bottom, pr.bottom);
    sb->BoundControl(1);
    EXPECT_EQ(GetParent(child), host);
    DestroyWindow(child);
}

TEST_F(StatusBarTest, IconDrawnGreyWhenDisabledAndMaskColourTransparent) {
    // A 16 x 16 bitmap: magenta with a pure red square in the middle.
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, 16, 16}, mid{4, 4, 12, 12};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &all, magenta);
    FillRect(mem, &mid, red);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    sb->setTheme(1);
    sb->setBackColor(rgb(10, 200, 10));
    sb->AddPanel(
        {.sText = "icon", .oIcon = Picture{nullptr, bmp}, .bUseMaskColor = true, .lWidth = 60});
    const auto& s = sb->DrawnSurface();
    const RECT r = sb->PanelRect(1);
    const int iy = r.top + (r.bottom - r.top - 16) / 2;
    EXPECT_EQ(s.pixel(r.left + 2 + 8, iy + 8), rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(r.left + 2 + 1, iy + 1), rgb(10, 200, 10)); // mask colour is transparent
    sb->setPanelIconState(1, false);
    const COLORREF grey = s.pixel(r.left + 2 + 8, iy + 8);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_EQ(s.pixel(r.left + 2 + 1, iy + 1), rgb(10, 200, 10));
    DeleteObject(magenta);
    DeleteObject(red);
    sb.reset();
    DeleteObject(bmp);
}

TEST_F(StatusBarTest, StoredStateAndDocking) {
    sb->setTheme(3);
    sb->setBackColor(rgb(103, 103, 103));
    sb->setSizable(false);
    sb->AddPanel({.sText = "p"});
    PropertyBag bag;
    sb->WriteProperties(bag);
    EXPECT_EQ(bag.get("Theme"), "3");
    EXPECT_EQ(bag.get("PanelCount"), "1");
    EXPECT_FALSE(bag.contains("GripShape"));
    StatusBar copy;
    ASSERT_TRUE(copy.Create(host, 20, 0, &bag));
    EXPECT_EQ(copy.Theme(), 3);
    EXPECT_EQ(copy.BackColor(), rgb(103, 103, 103));
    EXPECT_FALSE(copy.Sizable());
    EXPECT_EQ(copy.PanelCount(), 0); // panels are added at run time
    // Moved away, reading the stored state docks it to the bottom again.
    SetWindowPos(copy.hwnd(), nullptr, 0, 0, 100, 20, SWP_NOZORDER);
    copy.ReadProperties(bag);
    RECT rc, host_rc;
    GetClientRect(host, &host_rc);
    GetWindowRect(copy.hwnd(), &rc);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.bottom, host_rc.bottom);
    EXPECT_EQ(rc.right - rc.left, host_rc.right);
}

TEST_F(StatusBarTest, GripSetsTheSizingCursorOnlyWhenSizable) {
    RECT g = sb->GripRect();
    ASSERT_GT(g.right - g.left, 0);
    POINT p{g.right - 3, g.bottom - 3};
    ClientToScreen(sb->hwnd(), &p);
    placePointer(p);
    SendMessageA(sb->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(sb->hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZENWSE));
    sb->setSizable(false);
    SendMessageA(sb->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(sb->hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

namespace {

// A form that records the non-client press the grip sends instead of
// starting the system's modal sizing loop.
WPARAM g_ncHit = 0;
POINT g_ncPoint{0, 0};
LRESULT CALLBACK recordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCLBUTTONDOWN) {
        g_ncHit = w;
        g_ncPoint = {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

} // namespace

TEST(StatusBarGrip, PressOnTheGripResizesTheFormFromItsBottomRightCorner) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StatusBarGripHost";
    RegisterClassA(&wc);
    HWND form = CreateWindowA("StatusBarGripHost", "form", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(form, nullptr);
    {
        StatusBar sb;
        ASSERT_TRUE(sb.Create(form, 24));
        sb.AddPanel({.sText = "text"});
        RECT g = sb.GripRect();
        const int x = g.right - 4, y = g.bottom - 4;
        g_ncHit = 0;
        SendMessageA(sb.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        EXPECT_EQ(g_ncHit, static_cast<WPARAM>(HTBOTTOMRIGHT));
        POINT p{x, y};
        ClientToScreen(sb.hwnd(), &p);
        EXPECT_EQ(g_ncPoint.x, p.x);
        EXPECT_EQ(g_ncPoint.y, p.y);
        // Not sizable: the press is an ordinary one.
        sb.setSizable(false);
        g_ncHit = 0;
        int downs = 0;
        sb.MouseDown = [&](int, int, int, int) { ++downs; };
        SendMessageA(sb.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        SendMessageA(sb.hwnd(), WM_LBUTTONUP, 0, at(x, y));
        EXPECT_EQ(g_ncHit, 0u);
        EXPECT_EQ(downs, 1);
    }
    DestroyWindow(form);
}
