#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <oleacc.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/accessible.h"
#include "controls/offscreen.h"
#include "platform/handles.h"
#include "controls/subclass.h"
#include "controls/themedbutton.h"

using namespace controls;

namespace {

LRESULT CALLBACK hostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

HWND makeHost() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "ThemedButtonTestHost";
        RegisterClassA(&wc);
        registered = true;
    }
    // Hidden: a shown top-level window costs seconds under Wine without a
    // window manager, and painting goes through WM_PRINTCLIENT anyway.
    HWND h = CreateWindowA("ThemedButtonTestHost", "host", WS_POPUP, 0, 0, 400, 300, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    return h;
}

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

Colour sys(int n) {
    return static_cast<Colour>(GetSysColor(n));
}

struct ButtonFixture : ::testing::Test {
    void SetUp() override {
        host = makeHost();
        ASSERT_NE(host, nullptr);
        button = ThemedButton::create(host, "cmdTest", 10, 10, 120, 30, 101);
        ASSERT_NE(button, nullptr);
        hwnd = button->hwnd();
        button->Click = [this] { events.push_back("Click"); };
        button->MouseEnter = [this] { events.push_back("MouseEnter"); };
        button->MouseLeave = [this] { events.push_back("MouseLeave"); };
    }
    void TearDown() override { DestroyWindow(host); }

    void move(int x, int y) { SendMessageA(hwnd, WM_MOUSEMOVE, 0, at(x, y)); }
    void down(int x, int y) { SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(x, y)); }
    void up(int x, int y) { SendMessageA(hwnd, WM_LBUTTONUP, 0, at(x, y)); }
    void click() {
        move(60, 15);
        down(60, 15);
        up(60, 15);
    }
    int count(const std::string& e) const {
        int n = 0;
        for (const auto& x : events)
            n += x == e;
        return n;
    }

    // The button as WM_PRINTCLIENT draws it, pixel by pixel.
    std::vector<Colour> snapshot(int* w = nullptr, int* h = nullptr) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        Surface buf(rc.right, rc.bottom);
        SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buf.dc()), PRF_CLIENT);
        std::vector<Colour> px;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                px.push_back(buf.pixel(x, y));
        if (w)
            *w = rc.right;
        if (h)
            *h = rc.bottom;
        return px;
    }
    Colour pixel(int x, int y) {
        int w = 0;
        auto px = snapshot(&w);
        return px[static_cast<std::size_t>(y * w + x)];
    }

    HWND host = nullptr;
    HWND hwnd = nullptr;
    ThemedButton* button = nullptr;
    std::vector<std::string> events;
};

} // namespace

TEST_F(ButtonFixture, NewButtonDefaultsAndItsOwnHook) {
    EXPECT_EQ(button->Style(), 0);
    EXPECT_EQ(button->Caption(), "cmdTest");
    EXPECT_EQ(button->IconSize(), 16);
    EXPECT_EQ(button->IconAlign(), ThemedButton::AlignLeft);
    EXPECT_TRUE(button->Enabled());
    EXPECT_EQ(button->ToolTipType(), 1);
    EXPECT_EQ(ThemedButton::Version(), "3.7.2");
    EXPECT_NE(ThemedButton::aboutText().find("3.7.2"), std::string::npos);
    EXPECT_EQ(ThemedButton::fromHandle(hwnd), button);
    EXPECT_EQ(ThemedButton::fromHandle(host), nullptr);
    // The button watches its own window through the message hook.
    EXPECT_TRUE(isHookDispatcher(hwnd));
    // The caption is the window text, so accessibility tools read it.
    button->setCaption("&Direct Download");
    char text[64] = {};
    SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "&Direct Download");
}

TEST_F(ButtonFixture, MouseEnteringRaisesMouseEnterOnceAndLeavingMouseLeave) {
    move(5, 5);
    move(6, 7);
    move(50, 20);
    EXPECT_EQ(count("MouseEnter"), 1);
    EXPECT_TRUE(button->mouseInside());
    EXPECT_EQ(button->drawState(), ThemedButton::StateHot);
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(count("MouseLeave"), 1);
    EXPECT_FALSE(button->mouseInside());
    EXPECT_EQ(button->drawState(), ThemedButton::StateNormal);
    move(5, 5);
    EXPECT_EQ(count("MouseEnter"), 2);
    EXPECT_EQ(count("Click"), 0);
}

TEST_F(ButtonFixture, PressingAndReleasingOutsideRaisesNoClick) {
    move(10, 10);
    down(10, 10);
    EXPECT_EQ(button->drawState(), ThemedButton::StatePressed);
    // Dragged off while held: drawn raised again.
    move(300, 10);
    EXPECT_EQ(button->drawState(), ThemedButton::StateNormal);
    up(300, 10);
    EXPECT_EQ(count("Click"), 0);
    EXPECT_NE(GetCapture(), hwnd);
    // Released inside: one click, drawn hovered.
    down(10, 10);
    up(12, 12);
    EXPECT_EQ(count("Click"), 1);
    EXPECT_EQ(button->drawState(), ThemedButton::StateHot);
    // Other mouse buttons do not click.
    SendMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at(10, 10));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at(10, 10));
    EXPECT_EQ(count("Click"), 1);
}

TEST_F(ButtonFixture, ToggleFlipsValueOnEachClickAndStaysDrawnPressed) {
    button->setStyle(4);
    button->setButtonType(1);
    bool seen = true;
    button->Click = [this, &seen] {
        events.push_back("Click");
        seen = button->Value();
    };
    click();
    EXPECT_TRUE(button->Value());
    EXPECT_TRUE(seen); // the handler sees the new value
    EXPECT_EQ(button->drawState(), ThemedButton::StatePressed);
    // Pressed look even with the mouse gone.
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->drawState(), ThemedButton::StatePressed);
    Colour hl = sys(COLOR_HIGHLIGHT);
    EXPECT_EQ(pixel(3, 3), Lighten(hl, 128));
    EXPECT_EQ(pixel(0, 0), hl);
    click();
    EXPECT_FALSE(button->Value());
    EXPECT_FALSE(seen);
    EXPECT_EQ(button->drawState(), ThemedButton::StateHot);
    // Space toggles too.
    SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(hwnd, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(button->Value());
    EXPECT_EQ(count("Click"), 3);
    EXPECT_EQ(SendMessageA(hwnd, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonFixture, DisabledButtonRaisesNothingAndShowsNoTooltip) {
    button->setToolTipText("Tip");
    button->setEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    move(10, 10);
    move(11, 11);
    down(10, 10);
    up(10, 10);
    SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(hwnd, WM_KEYUP, VK_SPACE, 0);
    SendMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(hwnd, BM_CLICK, 0, 0);
    SendMessageA(hwnd, WM_KEYDOWN, VK_TAB, 0);
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(button->toolTipWindow(), nullptr);
    EXPECT_EQ(button->drawState(), ThemedButton::StateDisabled);
    // Enabled again (through the window, as a host would), it works.
    EnableWindow(hwnd, TRUE);
    EXPECT_TRUE(button->Enabled());
    move(10, 10);
    EXPECT_EQ(count("MouseEnter"), 1);
    EXPECT_NE(button->toolTipWindow(), nullptr);
}

TEST_F(ButtonFixture, TooltipBorrowsTheHostTextAndGivesItBack) {
    std::string hostTip = "Host tip";
    button->getHostToolTipText = [&hostTip] { return hostTip; };
    button->setHostToolTipText = [&hostTip](const std::string& s) { hostTip = s; };
    button->setToolTipType(0);
    button->setToolTipTitle("Title");
    button->setToolTipIcon(1);
    move(10, 10);
    HWND tip = button->toolTipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(hostTip, "");
    char cls[64] = {};
    GetClassNameA(tip, cls, sizeof cls);
    EXPECT_STREQ(cls, "tooltips_class32");
    EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON, 0);
    EXPECT_NE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    // Changing the text while it shows replaces the tooltip, still borrowing.
    button->setToolTipText("Own tip");
    ASSERT_NE(button->toolTipWindow(), nullptr);
    char shown[64] = {};
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd;
    ti.uId = 1;
    ti.lpszText = shown;
    SendMessageA(button->toolTipWindow(), TTM_GETTEXTA, sizeof shown,
                 reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(shown, "Own tip");
    EXPECT_EQ(hostTip, "");
    tip = button->toolTipWindow();
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->toolTipWindow(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(hostTip, "Host tip");
    // Balloon by default; nothing to show, no window.
    button->setToolTipType(1);
    move(10, 10);
    ASSERT_NE(button->toolTipWindow(), nullptr);
    EXPECT_NE(GetWindowLongA(button->toolTipWindow(), GWL_STYLE) & TTS_BALLOON, 0);
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    button->getHostToolTipText = nullptr;
    button->setToolTipText("");
    button->setToolTipTitle("");
    button->setToolTipIcon(0);
    move(10, 10);
    EXPECT_EQ(button->toolTipWindow(), nullptr);
}

TEST_F(ButtonFixture, Style4PixelsAtRestHoveredAndPressed) {
    button->setStyle(4);
    button->setCaption("");
    Colour face = sys(COLOR_BTNFACE), hl = sys(COLOR_HIGHLIGHT);
    // At rest: Lighten(face, 32) right to the edge, no border.
    EXPECT_EQ(pixel(0, 0), Lighten(face, 32));
    EXPECT_EQ(pixel(60, 15), Lighten(face, 32));
    EXPECT_EQ(pixel(119, 29), Lighten(face, 32));
    move(10, 10);
    ASSERT_EQ(button->drawState(), ThemedButton::StateHot);
    EXPECT_EQ(pixel(0, 0), hl);
    EXPECT_EQ(pixel(119, 15), hl);
    EXPECT_EQ(pixel(60, 29), hl);
    EXPECT_EQ(pixel(1, 1), Lighten(hl, 176));
    EXPECT_EQ(pixel(60, 15), Lighten(hl, 176));
    down(10, 10);
    EXPECT_EQ(pixel(0, 0), hl);
    EXPECT_EQ(pixel(60, 15), Lighten(hl, 128));
    up(10, 10);
    // Custom colours replace the system ones.
    button->setUseCustomColors(true);
    button->setBackColor(rgb(200, 100, 0));
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(pixel(5, 5), Lighten(rgb(200, 100, 0), 32));
    // Disabled: drawn on the system face whatever the custom colours.
    button->setEnabled(false);
    EXPECT_EQ(pixel(5, 5), Lighten(face, 32));
}

TEST_F(ButtonFixture, StyleSixWithoutVisualStyleDrawsTheFallbackLook) {
    // Visual styles off for this program, as on a system without them.
    DWORD saved = GetThemeAppProperties();
    SetThemeAppProperties(0);
    button->setStyle(4);
    auto four = snapshot();
    button->setStyle(6);
    button->setiNonThemeStyle(4);
    EXPECT_EQ(snapshot(), four);
    button->setiNonThemeStyle(1);
    EXPECT_NE(snapshot(), four);
    SetThemeAppProperties(saved);
}

TEST_F(ButtonFixture, CaptionAlignmentAndColour) {
    button->setStyle(4);
    button->setUseCustomColors(true);
    button->setFontColor(rgb(255, 0, 0));
    button->setCaption("Hi");
    Colour red = rgb(255, 0, 0);
    auto columnsWithRed = [this, red](int from, int to) {
        int w = 0, h = 0;
        auto px = snapshot(&w, &h);
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = from; x < to; ++x)
                n += px[static_cast<std::size_t>(y * w + x)] == red;
        return n;
    };
    button->setCaptionAlign(ThemedButton::AlignLeft);
    EXPECT_GT(columnsWithRed(0, 40), 0);
    EXPECT_EQ(columnsWithRed(80, 120), 0);
    button->setCaptionAlign(ThemedButton::AlignRight);
    EXPECT_EQ(columnsWithRed(0, 40), 0);
    EXPECT_GT(columnsWithRed(80, 120), 0);
    // Hovered, custom colours use the highlight caption colour.
    button->setFontHighlightColor(rgb(0, 0, 255));
    move(10, 10);
    EXPECT_EQ(columnsWithRed(0, 120), 0);
}

TEST_F(ButtonFixture, DisabledIconIsGrey) {
    HICON icon = static_cast<HICON>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(32516), IMAGE_ICON, 16, 16, LR_SHARED));
    ASSERT_NE(icon, nullptr);
    button->setStyle(4);
    button->setCaption("");
    button->setIcon(icon);
    auto coloured = [this](bool wantColour) {
        int w = 0;
        auto px = snapshot(&w);
        int n = 0;
        for (int y = 7; y < 23; ++y)
            for (int x = 4; x < 20; ++x) {
                Colour c = px[static_cast<std::size_t>(y * w + x)];
                int spread = std::max({redOf(c), greenOf(c), blueOf(c)}) -
                             std::min({redOf(c), greenOf(c), blueOf(c)});
                n += wantColour ? spread > 40 : spread > 3;
            }
        return n;
    };
    EXPECT_GT(coloured(true), 10);
    button->setEnabled(false);
    EXPECT_EQ(coloured(false), 0);
}

TEST_F(ButtonFixture, KeyboardRules) {
    HWND next = CreateWindowA("BUTTON", "next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 100, 80, 24,
                              host, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetFocus(hwnd);
    SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(button->drawState(), ThemedButton::StatePressed);
    EXPECT_EQ(count("Click"), 0);
    SendMessageA(hwnd, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(count("Click"), 1);
    EXPECT_EQ(button->drawState(), ThemedButton::StateNormal);
    SendMessageA(hwnd, BM_CLICK, 0, 0); // the access key
    EXPECT_EQ(count("Click"), 2);
    SendMessageA(hwnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(GetFocus(), next);
    SetFocus(hwnd);
    SendMessageA(hwnd, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(count("MouseLeave"), 1);
    EXPECT_EQ(GetFocus(), next);
    EXPECT_NE(SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, 0);
}

TEST_F(ButtonFixture, SizeIsAtLeast300Twips) {
    HDC screen = GetDC(nullptr);
    int minX = MulDiv(300, GetDeviceCaps(screen, LOGPIXELSX), 1440);
    int minY = MulDiv(300, GetDeviceCaps(screen, LOGPIXELSY), 1440);
    ReleaseDC(nullptr, screen);
    SetWindowPos(hwnd, nullptr, 0, 0, 3, 4, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, minX);
    EXPECT_EQ(rc.bottom - rc.top, minY);
    ThemedButton* tiny = ThemedButton::create(host, "tiny", 0, 0, 1, 1);
    ASSERT_NE(tiny, nullptr);
    GetWindowRect(tiny->hwnd(), &rc);
    EXPECT_EQ(rc.right - rc.left, minX);
}

TEST_F(ButtonFixture, HandCursorAndRoundedRegion) {
    button->setMousePointer(ThemedButton::kHandPointer);
    EXPECT_TRUE(SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    button->setStyle(8);
    EXPECT_NE(GetWindowRgn(hwnd, rgn), ERROR);
    button->setRoundedBordersByTheme(false);
    EXPECT_EQ(GetWindowRgn(hwnd, rgn), ERROR);
    button->setRoundedBordersByTheme(true);
    button->setStyle(4);
    EXPECT_EQ(GetWindowRgn(hwnd, rgn), ERROR);
    DeleteObject(rgn);
}

TEST_F(ButtonFixture, StoredSettingsSkipDefaultsAndReloadIgnoringCase) {
    PropertyBag bag;
    button->WriteProperties(bag);
    // A new button differs from the reload defaults only in its style.
    ASSERT_EQ(bag.size(), 1u);
    EXPECT_EQ(bag.readInt("Style", 3), 0);

    button->setStyle(4);
    button->setUseCustomColors(true);
    button->setFontColor(rgb(64, 64, 64));
    button->setCaption("Go");
    button->setIconAlign(3);
    button->setMaskColor(rgb(255, 0, 255));
    PropertyBag saved;
    button->WriteProperties(saved);
    EXPECT_FALSE(saved.contains("Style") && saved.readInt("Style", 3) == 3);
    EXPECT_EQ(saved.readString("caption", ""), "Go");
    EXPECT_TRUE(saved.contains("USeCustomColors"));
    EXPECT_FALSE(saved.contains("Enabled"));

    ThemedButton* other = ThemedButton::create(host, "cmdOther", 10, 50, 100, 30);
    ASSERT_NE(other, nullptr);
    PropertyBag mixed = PropertyBag::parse("STYLE=4\nusecustomcolors=True\nFONTCOLOR=4210752\n"
                                           "Caption=Go\niconalign=3\nmaskcolor=16711935\n");
    other->ReadProperties(mixed);
    EXPECT_EQ(other->Style(), 4);
    EXPECT_TRUE(other->UseCustomColors());
    EXPECT_EQ(other->FontColor(), rgb(64, 64, 64));
    EXPECT_EQ(other->Caption(), "Go");
    EXPECT_EQ(other->IconAlign(), 3);
    EXPECT_EQ(other->MaskColor(), rgb(255, 0, 255));
    // Absent names take the reload defaults: style 3, the name as caption.
    ThemedButton* plain = ThemedButton::create(host, "cmdPlain", 10, 90, 100, 30);
    plain->ReadProperties(PropertyBag{});
    EXPECT_EQ(plain->Style(), 3);
    EXPECT_EQ(plain->Caption(), "cmdPlain");
    // Reading twice does not hook twice.
    EXPECT_TRUE(isHookDispatcher(plain->hwnd()));
}

TEST(ThemedButtonLinks, OnlyWebAndMailLinksAreOpened) {
    EXPECT_FALSE(ThemedButton::OpenLink(""));
    EXPECT_FALSE(ThemedButton::OpenLink("C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(ThemedButton::OpenLink("file:///C:/Windows/notepad.exe"));
    EXPECT_FALSE(ThemedButton::OpenLink("\\\\server\\share\\x.exe"));
    EXPECT_FALSE(ThemedButton::OpenLink("javascript:alert(1)"));
}

namespace {

struct RecordingShell : platform::Shell {
    long execute(HWND, const std::string& verb, const std::string& file, const std::string&,
                 const std::string&, int show) override {
        calls.emplace_back(verb, file);
        shows.push_back(show);
        return answer;
    }
    std::vector<std::pair<std::string, std::string>> calls; // verb, file
    std::vector<int> shows;
    long answer = 42;
};

} // namespace

TEST(ThemedButtonLinks, HandsOverWhatTheLinkRuleLetsLeaveAndReportsTheShellsAnswer) {
    using Call = std::pair<std::string, std::string>;
    RecordingShell shell;
    EXPECT_TRUE(ThemedButton::OpenLink("www.example.org/app", shell));
    EXPECT_TRUE(ThemedButton::OpenLink("mailto:someone@example.org", shell));
    EXPECT_TRUE(ThemedButton::OpenLink("HTTPS://example.org/x", shell));
    EXPECT_FALSE(ThemedButton::OpenLink("file:///C:/Windows/notepad.exe", shell));
    EXPECT_FALSE(ThemedButton::OpenLink("\\\\server\\share\\x.exe", shell));
    EXPECT_EQ(shell.calls, (std::vector<Call>{{"open", "http://www.example.org/app"},
                                              {"open", "mailto:someone@example.org"},
                                              {"open", "HTTPS://example.org/x"}}));
    EXPECT_EQ(shell.shows, (std::vector<int>(3, SW_SHOWNORMAL)));
    shell.answer = SE_ERR_NOASSOC; // the shell declined
    EXPECT_FALSE(ThemedButton::OpenLink("http://example.org", shell));
}

// Asked the way accessibility tools ask: WM_GETOBJECT through oleacc.
TEST_F(ButtonFixture, AccessibleObjectIsAPushButtonNamedByItsCaption) {
    CoInitialize(nullptr);
    button->setCaption("&Direct Download");
    button->setButtonType(1);
    button->setValue(true);
    IAccessible* acc = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIID_IAccessible,
                                         reinterpret_cast<void**>(&acc)),
              S_OK);
    ASSERT_NE(acc, nullptr);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT v;
    VariantInit(&v);
    ASSERT_EQ(acc->get_accRole(self, &v), S_OK);
    EXPECT_EQ(v.lVal, ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_EQ(acc->get_accState(self, &v), S_OK);
    EXPECT_NE(v.lVal & STATE_SYSTEM_PRESSED, 0);
    EXPECT_NE(v.lVal & STATE_SYSTEM_FOCUSABLE, 0);
    EXPECT_EQ(v.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
    BSTR text = nullptr;
    ASSERT_EQ(acc->get_accName(self, &text), S_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text), L"Direct Download");
    SysFreeString(text);
    ASSERT_EQ(acc->get_accDefaultAction(self, &text), S_OK);
    EXPECT_EQ(std::wstring(text), L"Press");
    SysFreeString(text);
    // The default action clicks (posted, as a real button does).
    EXPECT_EQ(acc->accDoDefaultAction(self), S_OK);
    MSG m;
    while (PeekMessageA(&m, hwnd, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    EXPECT_EQ(count("Click"), 1);
    EXPECT_FALSE(button->Value());
    button->setEnabled(false);
    ASSERT_EQ(acc->get_accState(self, &v), S_OK);
    EXPECT_NE(v.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_NE(acc->accDoDefaultAction(self), S_OK);
    acc->Release();
    CoUninitialize();
}

TEST_F(ButtonFixture, MaskColourMakesIconPixelsTransparent) {
    // 16 x 16 icon: left half magenta, right half green, fully opaque mask.
    std::vector<std::uint32_t> bits(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bits[static_cast<std::size_t>(y * 16 + x)] = x < 8 ? 0x00FF00FFu : 0x0000FF00u;
    std::vector<std::uint8_t> maskBits(2 * 16, 0);
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = CreateBitmap(16, 16, 1, 32, bits.data());
    ii.hbmMask = CreateBitmap(16, 16, 1, 1, maskBits.data());
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    ASSERT_NE(icon, nullptr);
    button->setStyle(4);
    button->setCaption("");
    button->setIcon(icon);
    DestroyIcon(icon); // the button keeps its own copy
    const Colour magenta = rgb(255, 0, 255), green = rgb(0, 255, 0);
    const Colour rest = Lighten(sys(COLOR_BTNFACE), 32);
    // Icon on the left: x 4..19, y 7..22.
    EXPECT_EQ(pixel(6, 12), magenta);
    EXPECT_EQ(pixel(16, 12), green);
    button->setUseMaskColor(true);
    button->setMaskColor(magenta);
    EXPECT_EQ(pixel(6, 12), rest);
    EXPECT_EQ(pixel(16, 12), green);
    // Icon on the right, bigger.
    button->setIconAlign(ThemedButton::AlignRight);
    button->setIconSize(24);
    EXPECT_EQ(pixel(119 - 4 - 2, 15), green);
    EXPECT_EQ(pixel(6, 12), rest);
}

// A host closing its window from a MouseEnter handler: the button must not
// go on to make its tooltip from freed memory.
TEST_F(ButtonFixture, HandlerMayDestroyTheButton) {
    button->setToolTipText("Tip");
    button->MouseEnter = [this] { DestroyWindow(hwnd); };
    move(10, 10);
    EXPECT_FALSE(IsWindow(hwnd));
}

// A premultiplied alpha bitmap in place of the icon draws the same button,
// enabled and disabled (the main window's Home buttons use bitmaps: they are
// cheaper to make than icons).
TEST_F(ButtonFixture, AnAlphaBitmapPictureDrawsAsTheSameIcon) {
    const int n = 24;
    std::vector<std::uint32_t> straight(n * n), premultiplied(n * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            // A disc with a soft edge in a colour of its own.
            const double d = std::hypot(x - 11.5, y - 11.5);
            const int a = static_cast<int>(std::clamp((11.0 - d) * 128.0, 0.0, 255.0));
            const int r = 200, g = 40 + 6 * x, b = 40 + 6 * y;
            straight[y * n + x] = static_cast<std::uint32_t>(a) << 24 | r << 16 | g << 8 | b;
            premultiplied[y * n + x] = static_cast<std::uint32_t>(a) << 24 | (r * a / 255) << 16 |
                                       (g * a / 255) << 8 | (b * a / 255);
        }
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), n, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    platform::Bitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(colour && bits);
    std::copy(straight.begin(), straight.end(), static_cast<std::uint32_t*>(bits));
    std::vector<std::uint8_t> zeros(((n + 15) / 16) * 2 * n, 0);
    platform::Bitmap mask(CreateBitmap(n, n, 1, 1, zeros.data()));
    ICONINFO ii{TRUE, 0, 0, mask.get(), colour.get()};
    platform::Icon icon(CreateIconIndirect(&ii));
    platform::Bitmap picture(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(icon && picture && bits);
    std::copy(premultiplied.begin(), premultiplied.end(), static_cast<std::uint32_t*>(bits));

    button->setIconSize(n);
    for (bool enabled : {true, false}) {
        button->setEnabled(enabled);
        button->setIcon(icon.get());
        const std::vector<Colour> withIcon = snapshot();
        button->setPicture(picture.get());
        const std::vector<Colour> withBitmap = snapshot();
        ASSERT_EQ(withIcon.size(), withBitmap.size());
        int worst = 0, drawn = 0;
        for (std::size_t i = 0; i < withIcon.size(); ++i) {
            for (int shift : {0, 8, 16})
                worst =
                    std::max(worst, std::abs(static_cast<int>((withIcon[i] >> shift) & 0xFF) -
                                             static_cast<int>((withBitmap[i] >> shift) & 0xFF)));
            drawn += (withIcon[i] & 0xFF) == 200; // red, as COLORREF holds it
        }
        EXPECT_LE(worst, 3) << (enabled ? "enabled" : "disabled");
        if (enabled) {
            EXPECT_GT(drawn, 100); // the picture is there at all
        }
    }
}
