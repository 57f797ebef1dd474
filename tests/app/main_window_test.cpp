// The main window as users see it: navigation by toolbar, Home buttons and
// keyboard, the resize rule, hints, themes and what screen readers read.
#include "app/banners.h"
#include "app/frmMain.h"
#include "controls/accessible.h"
#include "controls/themedbutton.h"
#include "forms/pure/twips.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "tests/support/input.h"
#include "ui/hints.h"
#include "ui/pure/layout.h"
#include "ui/themes.h"
#include "app/pure/command_state.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <map>
#include <cstdio>
#include <string>
#include <vector>

using app::frmMain;
using testsupport::FakeServices;
using testsupport::pumpMessages;
using testsupport::pumpUntil;
using testsupport::TempFolder;

namespace {

// Processes messages as the program's own loop does (keyboard handling of
// the forms included) until `done` or `ms` have passed.
bool pumpForms(const std::function<bool()>& done, unsigned ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        forms::DoEvents();
        Sleep(1);
    }
    return true;
}

class MainWindowLook : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("Data\\FLApps.def", "[A]\r\nOne=http://one\r\n");
        folder.write("Data\\FLVersion.ini", "[Signature]\r\nVersion=2026.11.30\r\n");
        fakes.environment.applicationFolder = folder.path();
        form.Load();
        form.Show();
        ASSERT_TRUE(form.isLoaded());
    }
    void TearDown() override {
        if (form.isLoaded())
            form.Unload();
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // A click of the left mouse button at (x, y) pixels of a window, through
    // its message queue.
    static void click(HWND h, int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        PostMessageA(h, WM_MOUSEMOVE, 0, at);
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(h, WM_LBUTTONUP, 0, at);
        pumpMessages(30);
    }
    // The centre of toolbar button i.
    POINT toolbarButton(int i) {
        const auto& g = form.ToolBar1.bar()->Grid();
        return {g.columnWidth / 2, i * g.rowHeight + g.rowHeight / 2};
    }
    void clickToolbar(int i) {
        POINT p = toolbarButton(i);
        click(form.ToolBar1.hwnd(), p.x, p.y);
    }
    static void clickButton(forms::CommandButton& b) { click(b.hwnd(), 10, 10); }
    std::string status() { return form.linkField().Text(); }

    TempFolder folder;
    FakeServices fakes;
    frmMain form{fakes.services};
};

TEST_F(MainWindowLook, EveryControlTheTablesNameIsAControlOfTheWindow) {
    // The tables name controls by text and skip a name that does not
    // resolve: a misspelt name would silently do nothing.
    std::vector<std::string> names;
    for (const app::PageCommand& c : app::kPageCommands)
        names.push_back(c.control);
    for (const app::CountLabel& c : app::kCountLabels) {
        names.push_back(c.label);
        names.push_back(c.list);
    }
    for (const ui::PagePlace& p : ui::kPagePlaces)
        names.push_back(p.control);
    for (const std::string& n : ui::Hints::controlNames())
        names.push_back(n);
    ASSERT_GT(names.size(), 60u);
    for (const std::string& n : names)
        EXPECT_NE(form.control(n), nullptr) << n;
}

TEST_F(MainWindowLook, TheChromeIsBuiltAsDesigned) {
    controls::ToolBar* bar = form.ToolBar1.bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(form.ToolBar1.Align(), forms::vbAlignLeft);
    EXPECT_EQ(form.ToolBar1.Width(), 2055);
    ASSERT_EQ(bar->Button_Count(), 8);
    const char* captions[] = {"Home",    "Get Apps", "Get Portable", "Get Slim",
                              "Options", "Update",   "About",        "Exit"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(bar->ButtonCaption(i), captions[i]);
        EXPECT_EQ(bar->ButtonIconAllignment(i), 2);
        EXPECT_FALSE(bar->ButtonIcon(i).empty()) << i;
    }
    EXPECT_EQ(bar->ButtonsStyle(), 2);
    EXPECT_EQ(bar->HoverColor(), 0x80000011u);
    EXPECT_EQ(bar->ForeColor(), controls::rgb(255, 255, 255));
    EXPECT_FALSE(bar->WarpSize());
    EXPECT_TRUE(bar->AutoSize());
    EXPECT_EQ(bar->TooTipStyle(), 0);
    EXPECT_EQ(bar->Font().face, "Tahoma");
    EXPECT_EQ(bar->Grid().buttonsPerRow, 1);
    EXPECT_EQ(bar->Grid().rows, 8);

    controls::StatusBar* sb = form.StatusBar1.bar();
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(form.StatusBar1.Align(), forms::vbAlignBottom);
    EXPECT_EQ(form.StatusBar1.Height(), 360);
    EXPECT_EQ(sb->Theme(), 3);
    ASSERT_EQ(sb->PanelCount(), 1);
    EXPECT_EQ(sb->PanelForeColor(1), controls::rgb(224, 224, 224));
    EXPECT_EQ(sb->PanelToolTipText(1), "0");
    EXPECT_TRUE(sb->PanelEditable(1));
    EXPECT_TRUE(sb->PanelAutoSize(1));
    EXPECT_EQ(status(), "Fetchlets Version: 0.4.4 RC5, Signature Version: 2026.11.30");

    EXPECT_EQ(form.SSTab1.Left(), 2040);
    EXPECT_EQ(form.SSTab1.Top(), 0);
    EXPECT_EQ(form.cmdGetApps.Left(), 600);
    EXPECT_EQ(form.cmdShowInstalledApps.Top(), 4470);
    EXPECT_EQ(form.cmdAppSuggestions.Width(), 2775);
    EXPECT_EQ(form.cmdAppSuggestions.Height(), 1215);
    EXPECT_EQ(form.cmdGetSlim.button()->Style(), 4);
    EXPECT_EQ(form.cmdGetSlim.button()->IconAlign(), controls::ThemedButton::AlignTop);
    EXPECT_NE(form.cmdGetSlim.button()->Picture(), nullptr);
    EXPECT_EQ(form.cmdFeedback.button()->Style(), 2);
    EXPECT_EQ(form.cmdFeedback.button()->BackColor(), controls::rgb(0, 204, 255));
    EXPECT_EQ(form.cmdFeedback.button()->FontColor(), controls::rgb(255, 255, 255));
    EXPECT_EQ(form.cmdFeedback.button()->MousePointer(), 99);
    EXPECT_EQ(form.txtSignatureServer.Text(), "http://www.fetchlets.org/fetchlets_latest/");
    EXPECT_FALSE(IsWindowVisible(form.PicSystrayIcon.hwnd()));
    EXPECT_NE(form.PicSystrayIcon.hwnd(), nullptr);

    // Timer2 is armed at start-up; its one tick disarms it and runs the
    // automatic check only with the option ticked.
    EXPECT_TRUE(form.Timer2.Enabled());
    EXPECT_EQ(form.Timer2.Interval(), 5000u);
    int checks = 0;
    form.automaticUpdateCheck = [&] { ++checks; };
    form.Timer2.fire();
    EXPECT_FALSE(form.Timer2.Enabled());
    EXPECT_EQ(checks, 0) << "option unticked";
    form.chkAutoUpdate.setValue(1);
    form.Timer2.setEnabled(true);
    form.Timer2.fire();
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(form.Timer2.Enabled());

    // The Home page's images draw their pictures blended over the page.
    for (forms::Image* image : {&form.ImgUpdate, &form.ImgTwitter, &form.ImgFacebook}) {
        ASSERT_NE(image->AlphaBitmap(), nullptr) << image->name();
        RECT rc;
        GetClientRect(image->hwnd(), &rc);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP target = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
        ReleaseDC(nullptr, screen);
        HGDIOBJ was = SelectObject(dc, target);
        SendMessageA(image->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        int drawn = 0;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                drawn += GetPixel(dc, x, y) != GetPixel(dc, 0, 0);
        EXPECT_GT(drawn, rc.right * rc.bottom / 4) << image->name();
        SelectObject(dc, was);
        DeleteObject(target);
        DeleteDC(dc);
    }

    // The Special page's banners run from their left colour to their right one.
    platform::Bitmap banner = app::makeBanner(201, 30, "", RGB(0, 102, 153), RGB(0, 204, 255));
    ASSERT_TRUE(banner);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, banner.get());
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 102, 153));
    EXPECT_EQ(GetPixel(dc, 100, 29), RGB(0, 153, 204));
    EXPECT_EQ(GetPixel(dc, 200, 15), RGB(0, 204, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(MainWindowLook, ToolbarButtonsTurnThePages) {
    int updater = 0;
    form.navigation().showUpdater = [&] { ++updater; };
    const int pageOf[] = {0, 1, 4, 5, 2, -1, 3};
    for (int i : {1, 2, 3, 4, 6, 0}) {
        form.SSTab1.setTab(7);
        clickToolbar(i);
        EXPECT_EQ(form.SSTab1.Tab(), pageOf[i]) << "button " << i;
    }
    clickToolbar(5);
    EXPECT_EQ(updater, 1);
    EXPECT_EQ(form.SSTab1.Tab(), 0) << "Update turns no page";

    // Alt+3 is the third button, as the keyboard's way to the pages.
    form.SSTab1.setTab(0);
    PostMessageA(form.cmdGetApps.hwnd(), WM_SYSKEYDOWN, '3', 0x20000001);
    PostMessageA(form.cmdGetApps.hwnd(), WM_SYSKEYUP, '3', 0xE0000001);
    ASSERT_TRUE(pumpForms([&] { return form.SSTab1.Tab() == 4; }, 2000));
    PostMessageA(form.lstCat.hwnd(), WM_SYSKEYDOWN, '5', 0x20000001);
    ASSERT_TRUE(pumpForms([&] { return form.SSTab1.Tab() == 2; }, 2000));

    // Exit unloads the window and ends the message loop, even with the tray
    // option ticked.
    form.chkSystray.setValue(1);
    POINT exit = toolbarButton(7);
    PostMessageA(form.ToolBar1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(exit.x, exit.y));
    PostMessageA(form.ToolBar1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(exit.x, exit.y));
    ASSERT_TRUE(pumpForms([&] { return !form.isLoaded(); }, 2000));
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowLook, HomeButtonsTurnPagesOrRunTheirActions) {
    std::vector<std::string> ran;
    auto& nav = form.navigation();
    nav.showLinkManager = [&] { ran.push_back("links"); };
    nav.chooseStarterKit = [&] { ran.push_back("kit " + std::to_string(form.SSTab2.Tab())); };
    nav.chooseRecommendations = [&] { ran.push_back("rec"); };
    nav.makeSnapshot = [&] { ran.push_back("snapshot"); };
    nav.sendAppSuggestion = [&] { ran.push_back("suggest"); };
    nav.sendFeedback = [&] { ran.push_back("feedback"); };
    nav.showUpdater = [&] { ran.push_back("update"); };

    struct Case {
        forms::CommandButton& button;
        int outer, inner;
    } cases[] = {{form.cmdGetApps, 1, -1},         {form.cmdGetPortable, 4, -1},
                 {form.cmdGetSlim, 5, -1},         {form.cmdGetHelp, 6, 1},
                 {form.cmdWinStarterKit, 6, 0},    {form.cmdRecommendations, 6, 0},
                 {form.cmdShowInstalledApps, 6, 2}};
    for (Case& c : cases) {
        form.SSTab1.setTab(0);
        form.SSTab2.setTab(c.inner == 1 ? 2 : 1);
        clickButton(c.button);
        EXPECT_EQ(form.SSTab1.Tab(), c.outer) << c.button.name();
        if (c.inner >= 0) {
            EXPECT_EQ(form.SSTab2.Tab(), c.inner) << c.button.name();
        }
    }
    form.SSTab1.setTab(0);
    for (forms::CommandButton* b :
         {&form.cmdDDLManager, &form.cmdAppSuggestions, &form.cmdFeedback})
        clickButton(*b);
    ASSERT_TRUE(pumpUntil([&] { return form.cmdFeedback.Visible(); }, 2000));
    clickButton(form.cmdFeedback);
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.ImgUpdate.id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(form.ImgUpdate.hwnd()));
    pumpMessages(30);
    EXPECT_EQ(ran, (std::vector<std::string>{"kit 0", "rec", "snapshot", "links", "suggest",
                                             "feedback", "feedback", "update"}));
    EXPECT_EQ(form.SSTab1.Tab(), 0) << "the actions turn no page";
}

TEST_F(MainWindowLook, ATabStripClickResetsTheSearchBoxes) {
    form.txtAppsSearch.setText("a");
    form.txtPortableSearch.setText("b");
    form.txtSlimSearch.setText("c");
    form.txtSpecialSearch.setText("d");
    // A press on a page's body leaves them alone.
    click(form.SSTab1.hwnd(), 600, 300);
    EXPECT_EQ(form.txtAppsSearch.Text(), "a");
    click(form.SSTab1.hwnd(), 60, 8);
    EXPECT_EQ(form.txtAppsSearch.Text(), "Search ...");
    EXPECT_EQ(form.txtPortableSearch.Text(), "Search ...");
    EXPECT_EQ(form.txtSlimSearch.Text(), "Search ...");
    EXPECT_EQ(form.txtSpecialSearch.Text(), "d");
    form.SSTab1.setTab(6);
    click(form.SSTab2.hwnd(), 20, 8);
    EXPECT_EQ(form.txtSpecialSearch.Text(), "Search ...");
}

TEST_F(MainWindowLook, TheResizeRuleStretchesAndKeepsSizesThatWouldTurnNegative) {
    form.Move(0, 0, 20000, 12000);
    pumpMessages(20);
    const int W = form.Width(), H = form.Height();
    EXPECT_EQ(form.SSTab1.Width(), W);
    EXPECT_EQ(form.SSTab1.Height(), H + 200);
    EXPECT_EQ(form.SSTab2.Width(), W);
    EXPECT_EQ(form.lstApps.Height(), H - 2250);
    EXPECT_EQ(form.lstApps.Width(), W - 6450);
    EXPECT_EQ(form.lstSpecial.Width(), W - 2610);
    EXPECT_EQ(form.lstSoftware.Height(), H - 2250);
    EXPECT_EQ(form.cmdDownloadSlimFromPage.Left(), W - 5650);
    EXPECT_EQ(form.cmdFeedback.Left(), W - 5900);
    EXPECT_EQ(form.ImgFacebook.Left(), W - 2900);
    EXPECT_EQ(form.ImgFacebook.Top(), H + 200 - 1800);
    EXPECT_EQ(form.txtCredits.Width(), W - 4000);
    EXPECT_EQ(form.lstCatSpecial.Height(), 285) << "keeps its design size";
    RECT r{};
    GetWindowRect(form.lstApps.hwnd(), &r);
    EXPECT_EQ(r.bottom - r.top, forms::toPixels(H - 2250));

    const int tall = form.lstApps.Height();
    form.Move(0, 0, 20000, 1800);
    pumpMessages(20);
    ASSERT_LT(form.Height(), 2250);
    EXPECT_EQ(form.lstApps.Height(), tall);
    EXPECT_EQ(form.lstCatPages.Height(), tall);
    EXPECT_EQ(form.SSTab1.Height(), form.Height() + 200);
}

TEST_F(MainWindowLook, HintsStayUntilReplacedAndToolbarHoverShowsTheVersionOnSomePages) {
    HWND b = form.cmdGetPortable.hwnd();
    PostMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(pumpUntil(
        [&] { return status() == "Here you will find a list of the most useful Portable Apps."; },
        5000));
    PostMessageA(b, WM_MOUSELEAVE, 0, 0);
    pumpMessages(50);
    EXPECT_EQ(status(), "Here you will find a list of the most useful Portable Apps.");

    PostMessageA(form.ImgTwitter.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(pumpUntil([&] { return status() == "Share Fetchlets on Twitter."; }, 5000));
    PostMessageA(form.cmdDDLManager.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(pumpUntil(
        [&] {
            return status() ==
                   "Here you can Download and Manage Multiple Links of your Favorite Apps.";
        },
        5000));

    // Over the toolbar: the version line on Home, Options and About only.
    const std::string version = "Fetchlets Version: 0.4.4 RC5, Signature Version: ";
    HWND tb = form.ToolBar1.hwnd();
    // The version line is built anew from the update window's catalog version.
    const std::string expected = form.statusText();
    ASSERT_EQ(expected.rfind(version, 0), 0u);
    for (int page : {1, 4, 5, 6, 7, 0, 2, 3}) {
        form.SSTab1.setTab(page);
        form.linkField().setText("http://chosen");
        PostMessageA(tb, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20 + page));
        pumpMessages(20);
        const bool shows = page == 0 || page == 2 || page == 3;
        EXPECT_EQ(status(), shows ? expected : "http://chosen") << "page " << page;
    }
}

TEST_F(MainWindowLook, ThemesColourTheBarsAndOnlyDarkHasAGradient) {
    controls::ToolBar* bar = form.ToolBar1.bar();
    controls::StatusBar* sb = form.StatusBar1.bar();
    ASSERT_EQ(form.cboTheme.ListCount(), 6);
    EXPECT_EQ(form.cboTheme.Text(), "Default");
    const char* names[] = {"Default", "Dark", "Cyan", "Magenta", "Violet", "Brown"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form.cboTheme.List(i), names[i]);
    EXPECT_EQ(bar->BackColor(), controls::rgb(103, 103, 103));

    // The user's choice arrives as the combo's selection change.
    auto choose = [&](int i) {
        SendMessageA(form.cboTheme.hwnd(), CB_SETCURSEL, i, 0);
        SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.cboTheme.id(), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(form.cboTheme.hwnd()));
    };
    const unsigned long expected[6][3] = {{0x676767, 0x676767, 0}, {0x000000, 0x858585, 6},
                                          {0xE2A11B, 0xE2A11B, 0}, {0x7300D9, 0x7300D9, 0},
                                          {0xFF00AA, 0xFF00AA, 0}, {0x0050A0, 0x0050A0, 0}};
    for (int i : {1, 2, 3, 4, 5, 0, 1}) {
        choose(i);
        EXPECT_EQ(sb->BackColor(), expected[i][0]) << names[i];
        EXPECT_EQ(bar->BackColor(), expected[i][1]) << names[i];
        EXPECT_EQ(bar->BackGradient(), static_cast<long>(expected[i][2])) << names[i];
        EXPECT_EQ(form.cboTheme.ListIndex(), i);
    }
    EXPECT_EQ(bar->BackGradientCol(), 0u);
    // Away from Dark the gradient is off again; its colour stays as it was.
    form.cboTheme.setListIndex(4);
    EXPECT_EQ(bar->BackGradient(), 0);
    EXPECT_EQ(bar->BackColor(), controls::rgb(170, 0, 255));
    // Black is painted nowhere on the toolbar any more.
    RedrawWindow(form.ToolBar1.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto& surface = bar->DrawnSurface();
    ASSERT_TRUE(surface.ok());
    EXPECT_EQ(surface.pixel(2, surface.height() - 3), controls::rgb(170, 0, 255));
}

TEST_F(MainWindowLook, AChangeOfResolutionRedrawsTheWindowAtTheNewSize) {
    ASSERT_EQ(form.dpi(), forms::screenDpi());
    const int from = form.dpi(), to = from * 3 / 2;
    RECT r{};
    GetWindowRect(form.hwnd(), &r);
    RECT suggested{r.left, r.top, r.left + (r.right - r.left) * 3 / 2,
                   r.top + (r.bottom - r.top) * 3 / 2};
    SendMessageA(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&suggested));
    pumpMessages(20);
    EXPECT_EQ(form.dpi(), to);
    // The same twips, more pixels.
    RECT bar{}, list{};
    GetWindowRect(form.ToolBar1.hwnd(), &bar);
    EXPECT_EQ(bar.right - bar.left, forms::twipsToPixels(2055, to));
    GetWindowRect(form.lstSoftware.hwnd(), &list);
    EXPECT_EQ(list.bottom - list.top, forms::twipsToPixels(form.lstSoftware.Height(), to));
    EXPECT_EQ(form.lstSoftware.Height(), form.Height() - 2250);
    // Fonts and pictures at the new size.
    EXPECT_EQ(form.ToolBar1.bar()->Font().height, -MulDiv(9, to, 72));
    EXPECT_EQ(form.ToolBar1.bar()->ButtonIcon(0).size().cx, MulDiv(24, to, 96));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.lstCat.hwnd(), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    LOGFONTA before{};
    GetObjectA(forms::defaultFont(from), sizeof before, &before);
    EXPECT_EQ(lf.lfHeight, MulDiv(before.lfHeight, to, from));
    EXPECT_EQ(form.cmdGetApps.button()->IconSize(), MulDiv(32, to, 96));
    LOGFONTA title{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.lblTitle.hwnd(), WM_GETFONT, 0, 0)),
               sizeof title, &title);
    EXPECT_EQ(title.lfHeight, -forms::twipsToPixels(360, to));
    EXPECT_EQ(title.lfWeight, FW_BOLD);
}

// ---- what an accessibility client reads ------------------------------------

std::string narrow(BSTR s) {
    std::string out;
    if (s)
        for (const wchar_t* p = s; *p; ++p)
            out += static_cast<char>(*p);
    SysFreeString(s);
    return out;
}

VARIANT child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

TEST_F(MainWindowLook, AnAccessibilityClientReadsTheToolbarAndTheStatusPanel) {
    CoInitialize(nullptr);
    IAccessible* acc = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(form.ToolBar1.hwnd(), OBJID_CLIENT,
                                         controls::kIID_IAccessible,
                                         reinterpret_cast<void**>(&acc)),
              S_OK);
    ASSERT_NE(acc, nullptr);
    VARIANT role;
    ASSERT_EQ(acc->get_accRole(child(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TOOLBAR);
    LONG count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 8);
    std::vector<std::string> names;
    for (long i = 1; i <= 8; ++i) {
        BSTR name = nullptr;
        EXPECT_EQ(acc->get_accName(child(i), &name), S_OK);
        names.push_back(narrow(name));
        ASSERT_EQ(acc->get_accRole(child(i), &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
        BSTR action = nullptr;
        EXPECT_EQ(acc->get_accDefaultAction(child(i), &action), S_OK);
        EXPECT_EQ(narrow(action), "Click");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Home", "Get Apps", "Get Portable", "Get Slim",
                                               "Options", "Update", "About", "Exit"}));
    form.ToolBar1.bar()->setButtonEnabled(3, false);
    VARIANT state;
    ASSERT_EQ(acc->get_accState(child(4), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_UNAVAILABLE);
    form.ToolBar1.bar()->setButtonEnabled(3, true);
    // Each button's place is its row of the bar; the default action clicks it.
    LONG l, t, w, h;
    ASSERT_EQ(acc->accLocation(&l, &t, &w, &h, child(3)), S_OK);
    VARIANT hit;
    ASSERT_EQ(acc->accHitTest(l + w / 2, t + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 3);
    EXPECT_EQ(acc->accDoDefaultAction(child(3)), S_OK);
    ASSERT_TRUE(pumpUntil([&] { return form.SSTab1.Tab() == 4; }, 2000));
    acc->Release();

    IAccessible* status = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(form.StatusBar1.hwnd(), OBJID_CLIENT,
                                         controls::kIID_IAccessible,
                                         reinterpret_cast<void**>(&status)),
              S_OK);
    form.linkField().setText("http://example.org/setup.exe");
    ASSERT_EQ(status->get_accRole(child(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_STATUSBAR);
    BSTR value = nullptr, name = nullptr;
    EXPECT_EQ(status->get_accValue(child(1), &value), S_OK);
    EXPECT_EQ(status->get_accName(child(1), &name), S_OK);
    EXPECT_EQ(narrow(value), "http://example.org/setup.exe");
    EXPECT_EQ(narrow(name), "http://example.org/setup.exe");
    status->Release();
    CoUninitialize();
}

} // namespace

// ---- what the screen shows ---------------------------------------------------

namespace {

// The pixels the screen shows of a window's client area, row by row.
std::vector<COLORREF> onScreen(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, r.right, r.bottom, screen, origin.x, origin.y, SRCCOPY);
    std::vector<COLORREF> px;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            px.push_back(GetPixel(mem, x, y));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

// Pixels dark enough to be a caption's, even a disabled one's (a blank face
// has none).
int inkOf(const std::vector<COLORREF>& px) {
    int n = 0;
    for (COLORREF c : px)
        if (GetRValue(c) < 200 && GetGValue(c) < 200 && GetBValue(c) < 200)
            ++n;
    return n;
}

} // namespace

TEST_F(MainWindowLook, CommandsMovedByTheResizeRuleArePaintedAtTheirNewPlace) {
    SetForegroundWindow(form.hwnd());
    form.SSTab1.setTab(1);
    form.lstCat.setListIndex(0);
    form.lstApps.setListIndex(0);
    pumpMessages(100);

    for (forms::CommandButton* b : {&form.cmdDownload, &form.cmdDownloadFromPage})
        ASSERT_GT(inkOf(onScreen(b->hwnd())), 20) << b->name() << " before";
    // Wider and wider, as a user drags the edge, each step shown by the loop.
    RECT r{};
    GetWindowRect(form.hwnd(), &r);
    for (int width = r.right - r.left; width <= 1300; width += 60) {
        SetWindowPos(form.hwnd(), nullptr, 0, 0, width, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pumpMessages(30);
    }
    pumpMessages(200);
    ASSERT_EQ(form.cmdDownload.Left(), form.Width() - 5650);
    for (forms::CommandButton* b : {&form.cmdDownload, &form.cmdDownloadFromPage})
        EXPECT_GT(inkOf(onScreen(b->hwnd())), 20) << b->name() << " shows a blank face";
    // And in one step, as the maximise box does.
    ShowWindow(form.hwnd(), SW_RESTORE);
    SetWindowPos(form.hwnd(), nullptr, 0, 0, 700, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pumpMessages(100);
    ShowWindow(form.hwnd(), SW_MAXIMIZE);
    pumpMessages(300);
    for (forms::CommandButton* b : {&form.cmdDownload, &form.cmdDownloadFromPage})
        EXPECT_GT(inkOf(onScreen(b->hwnd())), 20) << b->name() << " blank after maximising";
    EXPECT_NE(GetWindowLongA(form.cmdDownload.hwnd(), GWL_STYLE) & WS_CLIPSIBLINGS, 0);
}

TEST_F(MainWindowLook, EveryCommandButtonOfEveryWindowHasTheDesignedLook) {
    form.updateWindow().Show();
    form.ddlManager().Show();
    std::vector<forms::Form*> windows{&form, &form.updateWindow(), &form.ddlManager()};
    int seen = 0;
    for (forms::Form* w : windows)
        for (forms::Control* c : w->controls()) {
            if (c->kind() != forms::Kind::CommandButton)
                continue;
            ++seen;
            controls::ThemedButton* b = static_cast<forms::CommandButton*>(c)->button();
            ASSERT_NE(b, nullptr) << c->name();
            if (c->name() == "cmdFeedback") {
                EXPECT_EQ(b->Style(), 2);
                continue;
            }
            const controls::Colour caption =
                c->name() == "cmdRestart" ? controls::rgb(0, 128, 0) : controls::rgb(64, 64, 64);
            EXPECT_EQ(b->Style(), 4) << w->name() << "." << c->name();
            EXPECT_TRUE(b->UseCustomColors()) << c->name();
            EXPECT_EQ(b->FontColor(), caption) << c->name();
            EXPECT_EQ(b->FontHighlightColor(), caption) << c->name();
        }
    EXPECT_GE(seen, 20);
    EXPECT_EQ(form.cmdVisitPage.Caption(), "Visit Page Now!");
}

TEST_F(MainWindowLook, TheKeyboardShowsWhereTheFocusIsAndTheMouseHidesItAgain) {
    using testsupport::press;
    // With the system's keyboard cues set to show only on keyboard use (the
    // other setting shows them always), from the window's start.
    struct Cues {
        BOOL before = FALSE;
        Cues() {
            SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &before, 0);
            SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, nullptr, 0);
        }
        ~Cues() {
            SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0,
                                  reinterpret_cast<PVOID>(static_cast<INT_PTR>(before)), 0);
        }
    } cues;
    form.Unload();
    form.Load();
    form.Show();
    SetForegroundWindow(form.hwnd());
    form.cmdGetPortable.SetFocus();
    pumpMessages(100);
    ASSERT_EQ(GetFocus(), form.cmdGetPortable.hwnd());
    const std::vector<COLORREF> quiet = onScreen(form.cmdGetPortable.hwnd());
    EXPECT_NE(SendMessageA(form.hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0)
        << "hidden while only the mouse (or code) moved the focus";

    // Away and back with the keyboard: the button now shows its focus.
    press(VK_TAB);
    ASSERT_NE(GetFocus(), form.cmdGetPortable.hwnd());
    press(VK_TAB, {VK_SHIFT});
    ASSERT_EQ(GetFocus(), form.cmdGetPortable.hwnd());
    pumpMessages(100);
    EXPECT_EQ(SendMessageA(form.hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    EXPECT_NE(onScreen(form.cmdGetPortable.hwnd()), quiet) << "no focus cue after Tab";

    // A click elsewhere on the page hides the cues again.
    testsupport::clickAt(form.hwnd(), form.pixels(form.SSTab1.Left()) + 20, form.pixels(7000));
    pumpMessages(100);
    EXPECT_NE(SendMessageA(form.hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    if (GetFocus() == form.cmdGetPortable.hwnd()) {
        EXPECT_EQ(onScreen(form.cmdGetPortable.hwnd()), quiet);
    }
}

TEST_F(MainWindowLook, TheToolbarTakesTheArrowsEnterAndSpace) {
    using testsupport::press;
    SetForegroundWindow(form.hwnd());
    EXPECT_NE(GetWindowLongA(form.ToolBar1.hwnd(), GWL_STYLE) & WS_TABSTOP, 0);
    form.ToolBar1.SetFocus();
    pumpMessages(50);
    const std::vector<COLORREF> before = onScreen(form.ToolBar1.hwnd());
    press(VK_DOWN);
    press(VK_DOWN);
    EXPECT_EQ(form.ToolBar1.bar()->FocusedButton(), 2);
    EXPECT_NE(onScreen(form.ToolBar1.hwnd()), before) << "the focused button is not shown";
    press(VK_RETURN);
    EXPECT_EQ(form.SSTab1.Tab(), 4) << "Enter on \"Get Portable\"";
    press(VK_UP);
    press(VK_SPACE);
    EXPECT_EQ(form.SSTab1.Tab(), 1) << "Space on \"Get Apps\"";
    press(VK_UP);
    press(VK_UP); // past the first button to the last
    EXPECT_EQ(form.ToolBar1.bar()->FocusedButton(), 7);
}

TEST_F(MainWindowLook, TheAboutPageAddressIsALinkAndItsTextNeedsNoScrollBar) {
    using testsupport::press;
    SetForegroundWindow(form.hwnd());
    form.SSTab1.setTab(3);
    pumpMessages(50);
    EXPECT_EQ(GetWindowLongA(form.txtHomepage.hwnd(), GWL_STYLE) & WS_VSCROLL, 0);
    // So narrow that the two lines need more: the bar comes when needed.
    form.txtHomepage.setWidth(1500);
    pumpMessages(20);
    EXPECT_NE(GetWindowLongA(form.txtHomepage.hwnd(), GWL_STYLE) & WS_VSCROLL, 0);

    HWND link = form.lblHomepage.hwnd();
    EXPECT_NE(GetWindowLongA(link, GWL_STYLE) & WS_TABSTOP, 0);
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_TRUE(lf.lfUnderline);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    // Reached with Tab (out of the read-only text before it) and opened with
    // Enter.
    form.txtHomepage.SetFocus();
    press(VK_TAB);
    ASSERT_EQ(GetFocus(), link);
    press(VK_RETURN);
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].file, form.lblHomepage.Caption());
}

TEST_F(MainWindowLook, TheSpecialCategoryListShowsOneWholeItemWithArrowsBeside) {
    for (int dpi : {form.dpi(), form.dpi() * 3 / 2}) {
        if (dpi != form.dpi()) {
            RECT w{};
            GetWindowRect(form.hwnd(), &w);
            SendMessageA(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&w));
            pumpMessages(20);
            ASSERT_EQ(form.dpi(), dpi);
        }
        HWND list = form.lstCatSpecial.hwnd();
        RECT client{}, outer{};
        GetClientRect(list, &client);
        GetWindowRect(list, &outer);
        EXPECT_EQ(client.bottom, SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)) << dpi;
        EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0) << dpi;
        // The arrows: beside the list, as tall as it, within the design width.
        HWND arrows = nullptr;
        for (HWND h = GetWindow(form.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            char cls[32] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (lstrcmpiA(cls, UPDOWN_CLASSA) == 0)
                arrows = h;
        }
        ASSERT_NE(arrows, nullptr);
        RECT a{};
        GetWindowRect(arrows, &a);
        EXPECT_EQ(a.left, outer.right) << dpi;
        EXPECT_EQ(a.top, outer.top) << dpi;
        EXPECT_EQ(a.bottom, outer.bottom) << dpi;
        EXPECT_LE(a.right - outer.left, form.pixels(1680) + 1) << dpi;
        // Shown and hidden with the list, as its page comes and goes.
        form.SSTab1.setTab(6);
        EXPECT_TRUE(IsWindowVisible(list) && IsWindowVisible(arrows)) << dpi;
        // Nothing of the page lies over them.
        POINT centre{(a.left + a.right) / 2, (a.top + a.bottom) / 2};
        ScreenToClient(form.hwnd(), &centre);
        EXPECT_EQ(ChildWindowFromPointEx(form.hwnd(), centre, CWP_SKIPINVISIBLE), arrows) << dpi;
        form.SSTab1.setTab(0);
        EXPECT_FALSE(IsWindowVisible(list) || IsWindowVisible(arrows)) << dpi;
        // Its page made current while the window is hidden (as a restored
        // page is at start-up).
        form.Hide();
        form.SSTab1.setTab(6);
        form.Show();
        EXPECT_TRUE(IsWindowVisible(arrows)) << dpi;
        form.SSTab1.setTab(0);
    }
}

TEST_F(MainWindowLook, UpdateFromTheTrayMenuOpensTheUpdateWindowWithoutOwner) {
    form.chkSystray.setValue(1);
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(form.Visible());
    testsupport::chooseItem("mnuUpdate");
    SendMessageA(form.tray().anchor(), ui::Tray::kCallbackMessage, ui::Tray::kIconId, WM_RBUTTONUP);
    forms::PopupMenu::setChooser(nullptr);
    ASSERT_TRUE(form.updateWindow().Visible());
    EXPECT_EQ(GetWindow(form.updateWindow().hwnd(), GW_OWNER), nullptr);
    EXPECT_FALSE(form.Visible());
    // From the shown main window it is owned again.
    form.updateWindow().Hide();
    form.Show();
    clickToolbar(5);
    EXPECT_EQ(GetWindow(form.updateWindow().hwnd(), GW_OWNER), form.hwnd());
}
