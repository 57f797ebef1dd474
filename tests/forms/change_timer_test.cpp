// Timers that work only after a change, and controls born at their place.
#include "tests/support/fakes.h"
#include "forms/change_timer.h"
#include "forms/controls.h"

#include <gtest/gtest.h>

#include <set>

using testsupport::pumpMessages;
using testsupport::pumpUntil;

namespace {

class WatchingForm : public forms::Form {
  public:
    WatchingForm() : Form("frmChangeTimerTest", "Test") {
        work.watch(lst);
        work.watch(txt);
        work.watch(stack);
        tmr.Tick = [this] {
            ++ticks;
            if (!work.take())
                return;
            ++runs;
            // Work that changes what it watches settles after one more tick.
            if (txt.Text() == "(")
                txt.setText("");
        };
        lst.Move(120, 480, 2400, 1800);
        txt.Move(120, 2400, 2400, 315);
        onPage1.placeOn(stack, 1);
        onPage1.Move(240, 600, 1200, 255);
        stack.Move(3000, 0, 4000, 3000);
    }
    forms::PageStack stack{*this, "stack", {"One", "Two"}};
    forms::ListBox lst{*this, "lst"};
    forms::TextBox txt{*this, "txt"};
    forms::Label onPage1{*this, "onPage1", "on page 1"};
    forms::Timer tmr{*this, "tmr", 1};
    forms::ChangeTimer work{tmr};
    int ticks = 0;
    int runs = 0;
};

TEST(ChangeTimer, WorksOnceAfterEachChangeAndGetsNoTicksInBetween) {
    WatchingForm f;
    f.Load();
    f.Show();
    // The first tick brings everything in step; then the timer sleeps.
    ASSERT_TRUE(pumpUntil([&] { return f.runs == 1; }, 2000));
    pumpMessages(50);
    int ticks = f.ticks;
    pumpMessages(150);
    EXPECT_EQ(f.ticks, ticks) << "an idle timer still ticks";
    EXPECT_TRUE(f.tmr.Enabled());

    f.lst.AddItem("one");
    ASSERT_TRUE(pumpUntil([&] { return f.runs == 2; }, 2000));
    f.lst.setItems({"a", "b"});
    f.lst.RemoveItem(0); // changes in one go are one run
    ASSERT_TRUE(pumpUntil([&] { return f.runs == 3; }, 2000));
    f.stack.setTab(1);
    ASSERT_TRUE(pumpUntil([&] { return f.runs == 4; }, 2000));

    // Typing through the message loop: EN_CHANGE wakes the timer, whose work
    // clears the box, which wakes it once more.
    PostMessageA(f.txt.hwnd(), WM_CHAR, '(', 0);
    ASSERT_TRUE(pumpUntil([&] { return f.runs == 6; }, 2000));
    EXPECT_EQ(f.txt.Text(), "");
    pumpMessages(150);
    EXPECT_EQ(f.runs, 6);
    ticks = f.ticks;
    pumpMessages(100);
    EXPECT_EQ(f.ticks, ticks);

    // A disabled timer stays off whatever changes; enabled again, it works.
    f.tmr.setEnabled(false);
    f.lst.AddItem("two");
    pumpMessages(100);
    EXPECT_EQ(f.runs, 6);
    f.tmr.setEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return f.runs == 7; }, 2000));
    f.Unload();
}

// Window moves and shows seen during the form's creation, per window.
std::set<HWND>* g_moved = nullptr;
LRESULT CALLBACK watchMoves(int code, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
    if (code >= 0 && g_moved && m->message == WM_WINDOWPOSCHANGED) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(m->lParam);
        if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE) ||
            (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
            g_moved->insert(m->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST(Form, CreatesEachControlAtItsPlaceAndVisibility) {
    WatchingForm f;
    std::set<HWND> moved;
    g_moved = &moved;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchMoves, nullptr, GetCurrentThreadId());
    f.Load();
    UnhookWindowsHookEx(hook);
    g_moved = nullptr;
    forms::Control* placed[] = {&f.lst, &f.txt, &f.onPage1};
    for (forms::Control* c : placed)
        EXPECT_EQ(moved.count(c->hwnd()), 0u) << c->name() << " was moved or shown again";

    auto rectOf = [&](HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, f.window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT r = rectOf(f.onPage1.hwnd());
    EXPECT_EQ(r.left, forms::toPixels(3240));
    EXPECT_EQ(r.top, forms::toPixels(600));
    EXPECT_FALSE(GetWindowLongA(f.onPage1.hwnd(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(f.lst.hwnd(), GWL_STYLE) & WS_VISIBLE);
    r = rectOf(f.lst.hwnd());
    EXPECT_EQ(r.right - r.left, forms::toPixels(2400));
    f.stack.setTab(1);
    EXPECT_TRUE(GetWindowLongA(f.onPage1.hwnd(), GWL_STYLE) & WS_VISIBLE);
    f.Unload();
}

} // namespace
