#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "controls/subclass.h"

using namespace controls;

namespace {

// A plain window whose own procedure counts messages and, for WM_APP, sends
// WM_APP + 1 to itself (a message nested inside the previous procedure).
int g_ownCalls = 0;
LRESULT CALLBACK plainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) {
        ++g_ownCalls;
        SendMessageA(h, WM_APP + 1, 0, 0);
        return 42;
    }
    if (m == WM_APP + 1)
        return 7;
    if (m == WM_APP + 2) {
        ++g_ownCalls;
        return 100 + static_cast<LRESULT>(w);
    }
    return DefWindowProcA(h, m, w, l);
}

HWND makePlainWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HookTestPlain";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowA("HookTestPlain", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

struct Call {
    bool before;
    UINT msg;
};

struct HookFixture : ::testing::Test {
    void SetUp() override {
        g_ownCalls = 0;
        hwnd = makePlainWindow();
        ASSERT_NE(hwnd, nullptr);
        original = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
        sc.onError = [this](const std::string& e) { errors.push_back(e); };
    }
    void TearDown() override {
        sc.sc_ReleaseAll();
        DestroyWindow(hwnd);
    }
    HookCallback recorder() {
        return [this](bool before, bool&, LRESULT&, HWND, UINT m, WPARAM, LPARAM&, LONG_PTR&) {
            calls.push_back({before, m});
        };
    }
    HWND hwnd = nullptr;
    LONG_PTR original = 0;
    Subclasser sc{"ThemedButton"};
    std::vector<std::string> errors;
    std::vector<Call> calls;
};

} // namespace

TEST_F(HookFixture, BeforeAndAfterListsChooseWhenTheCallbackRuns) {
    ASSERT_TRUE(sc.sc_Subclass(hwnd, 5, recorder()));
    EXPECT_TRUE(isHookDispatcher(hwnd));
    sc.sc_AddMessage(hwnd, WM_APP + 2, Subclasser::MSG_BEFORE);
    sc.sc_AddMessage(hwnd, WM_APP + 1, Subclasser::MSG_AFTER);
    EXPECT_EQ(SendMessageA(hwnd, WM_APP + 2, 3, 0), 103);
    EXPECT_EQ(SendMessageA(hwnd, WM_APP + 1, 0, 0), 7);
    SendMessageA(hwnd, WM_APP + 3, 0, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].before);
    EXPECT_EQ(calls[0].msg, WM_APP + 2u);
    EXPECT_FALSE(calls[1].before);
    EXPECT_EQ(calls[1].msg, WM_APP + 1u);
    EXPECT_EQ(sc.sc_HookValue(hwnd), 5);
    sc.sc_HookValue(hwnd, 9);
    EXPECT_EQ(sc.sc_HookValue(hwnd), 9);
    EXPECT_TRUE(errors.empty());
}

TEST_F(HookFixture, HandledBeforeSkipsThePreviousProcedure) {
    ASSERT_TRUE(sc.sc_Subclass(
        hwnd, 0,
        [](bool before, bool& handled, LRESULT& ret, HWND, UINT, WPARAM, LPARAM&, LONG_PTR& user) {
            if (before) {
                handled = true;
                ret = 555 + user;
            }
        }));
    sc.sc_AddMessage(hwnd, Subclasser::ALL_MESSAGES, Subclasser::MSG_BEFORE);
    EXPECT_EQ(SendMessageA(hwnd, WM_APP + 2, 1, 0), 555);
    EXPECT_EQ(g_ownCalls, 0);
    // The previous procedure can still be asked directly.
    EXPECT_EQ(sc.sc_CallPrevious(hwnd, WM_APP + 2, 4, 0), 104);
    EXPECT_EQ(g_ownCalls, 1);
}

TEST_F(HookFixture, MessageAddedTwiceIsOneEntryAndHolesAreRefilled) {
    ASSERT_TRUE(sc.sc_Subclass(hwnd, 0, recorder()));
    sc.sc_AddMessage(hwnd, WM_APP + 2);
    sc.sc_AddMessage(hwnd, WM_APP + 2);
    SendMessageA(hwnd, WM_APP + 2, 0, 0);
    EXPECT_EQ(calls.size(), 1u);
    auto hook = sc.zMap_hWnd(hwnd);
    ASSERT_TRUE(hook);
    EXPECT_EQ(hook->after.count(), 1);

    sc.sc_AddMessage(hwnd, WM_APP + 5);
    sc.sc_AddMessage(hwnd, WM_APP + 6);
    sc.sc_RemoveMessage(hwnd, WM_APP + 5);
    EXPECT_EQ(hook->after.count(), 3);
    EXPECT_EQ(hook->after.slots()[1], 0u);
    sc.sc_AddMessage(hwnd, WM_APP + 7);
    EXPECT_EQ(hook->after.slots()[1], WM_APP + 7u);
    EXPECT_EQ(hook->after.count(), 3);
    EXPECT_TRUE(errors.empty());

    sc.sc_RemoveMessage(hwnd, 0x1234);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "ThemedButton.zDelMsg: Message &H1234 not found in table");
}

TEST_F(HookFixture, The33rdMessageFailsWithTheOverflowText) {
    ASSERT_TRUE(sc.sc_Subclass(hwnd, 0, recorder()));
    for (int i = 0; i < 32; ++i)
        sc.sc_AddMessage(hwnd, WM_APP + 100 + i, Subclasser::MSG_BEFORE);
    EXPECT_TRUE(errors.empty());
    sc.sc_AddMessage(hwnd, WM_APP + 200, Subclasser::MSG_BEFORE);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "ThemedButton.zAddMsg: Message table overflow. Either increase the "
                         "value of Const MSG_ENTRIES or use ALL_MESSAGES instead of specific "
                         "message values");
    EXPECT_EQ(sc.lastError(), errors[0]);
    SendMessageA(hwnd, WM_APP + 200, 0, 0);
    EXPECT_TRUE(calls.empty());
    // "All messages" is always accepted.
    sc.sc_AddMessage(hwnd, Subclasser::ALL_MESSAGES, Subclasser::MSG_BEFORE);
    EXPECT_EQ(errors.size(), 1u);
    SendMessageA(hwnd, WM_APP + 200, 0, 0);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(HookFixture, HookingTwiceFailsAndTheFirstHookKeepsWorking) {
    ASSERT_TRUE(sc.sc_Subclass(hwnd, 0, recorder()));
    sc.sc_AddMessage(hwnd, WM_APP + 2);
    EXPECT_FALSE(sc.sc_Subclass(hwnd, 0, recorder()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "ThemedButton.sc_Subclass: Window handle is already subclassed");
    SendMessageA(hwnd, WM_APP + 2, 0, 0);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(g_ownCalls, 1);
}

TEST_F(HookFixture, ErrorsForBadWindowsAndMissingHooks) {
    EXPECT_FALSE(sc.sc_Subclass(reinterpret_cast<HWND>(0x7654), 0, recorder()));
    EXPECT_EQ(sc.lastError(), "ThemedButton.sc_Subclass: Invalid window handle");
    // The desktop window belongs to the system's shell process.
    EXPECT_FALSE(sc.sc_Subclass(GetDesktopWindow(), 0, recorder()));
    EXPECT_EQ(sc.lastError(), "ThemedButton.sc_Subclass: Window handle belongs to another process");
    sc.sc_UnSubclass(hwnd);
    EXPECT_EQ(sc.lastError(), "ThemedButton.sc_UnSubclass: Window handle isn't subclassed");
    sc.sc_AddMessage(hwnd, WM_APP);
    EXPECT_EQ(sc.lastError(), "ThemedButton.zMap_hWnd: Subclassing hasn't been started");
    EXPECT_FALSE(sc.sc_Subclass(hwnd, 0, {}));
    EXPECT_EQ(sc.lastError(), "ThemedButton.sc_Subclass: Callback method not found");
    HWND other = makePlainWindow();
    ASSERT_TRUE(sc.sc_Subclass(other, 0, recorder()));
    sc.sc_AddMessage(hwnd, WM_APP);
    EXPECT_EQ(sc.lastError(), "ThemedButton.zMap_hWnd: Window handle isn't subclassed");
    DestroyWindow(other);
    // The window is gone: unhooking it is skipped quietly.
    std::size_t before = errors.size();
    sc.sc_UnSubclass(other);
    EXPECT_EQ(errors.size(), before);
}

TEST_F(HookFixture, UnhookingInsideTheCallbackIsDeferred) {
    LONG_PTR procDuringNested = 0;
    bool unhooked = false;
    ASSERT_TRUE(sc.sc_Subclass(
        hwnd, 0, [&](bool, bool&, LRESULT&, HWND h, UINT m, WPARAM, LPARAM&, LONG_PTR&) {
            calls.push_back({false, m});
            if (m == WM_APP + 1 && !unhooked) {
                unhooked = true;
                sc.sc_UnSubclass(h);
                procDuringNested = GetWindowLongPtrA(h, GWLP_WNDPROC);
            }
        }));
    sc.sc_AddMessage(hwnd, WM_APP, Subclasser::MSG_AFTER);
    sc.sc_AddMessage(hwnd, WM_APP + 1, Subclasser::MSG_AFTER);
    auto hook = sc.zMap_hWnd(hwnd);
    ASSERT_TRUE(hook);
    // WM_APP runs the window's procedure, which sends WM_APP + 1 from inside it.
    EXPECT_EQ(SendMessageA(hwnd, WM_APP, 0, 0), 42);
    // Inside the nested message the hook was still in place.
    EXPECT_NE(procDuringNested, original);
    // Unhooked hooks see nothing more: WM_APP's own after-call did not come.
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].msg, WM_APP + 1u);
    // Once the outermost message returned, the window has its own procedure back.
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
    EXPECT_FALSE(hook->attached());
    EXPECT_TRUE(errors.empty());
}

TEST_F(HookFixture, TwoOwnersChainAndReleaseInAnyOrder) {
    Subclasser second{"Other"};
    std::vector<int> order;
    ASSERT_TRUE(sc.sc_Subclass(
        hwnd, 0, [&](bool, bool&, LRESULT& r, HWND, UINT, WPARAM, LPARAM&, LONG_PTR&) {
            order.push_back(1);
            r += 1;
        }));
    ASSERT_TRUE(second.sc_Subclass(
        hwnd, 0, [&](bool, bool&, LRESULT& r, HWND, UINT, WPARAM, LPARAM&, LONG_PTR&) {
            order.push_back(2);
            r += 10;
        }));
    sc.sc_AddMessage(hwnd, WM_APP + 2);
    second.sc_AddMessage(hwnd, WM_APP + 2);
    // The newer hook is outside: its after-call comes last and sees the older's result.
    EXPECT_EQ(SendMessageA(hwnd, WM_APP + 2, 0, 0), 111);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    sc.sc_UnSubclass(hwnd);
    EXPECT_EQ(SendMessageA(hwnd, WM_APP + 2, 0, 0), 110);
    second.sc_UnSubclass(hwnd);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageA(hwnd, WM_APP + 2, 0, 0), 100);
}

TEST(WindowWatcher, ReversedWhenNumberingGrowingListsAndEntryReuse) {
    HWND a = makePlainWindow(), b = makePlainWindow();
    std::vector<Call> calls;
    WindowWatcher w([&](bool before, bool&, LRESULT&, HWND, UINT m, WPARAM, LPARAM&) {
        calls.push_back({before, m});
    });
    EXPECT_EQ(w.zAttach(a), 0);
    EXPECT_EQ(w.zAttach(b), 1);
    w.zAddWatch(a, WM_APP + 2, WindowWatcher::WATCH_BEFORE);
    for (int i = 0; i < 40; ++i)
        w.zAddWatch(a, WM_APP + 300 + i); // after; no limit
    SendMessageA(a, WM_APP + 2, 0, 0);
    SendMessageA(a, WM_APP + 339, 0, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].before);
    EXPECT_FALSE(calls[1].before);
    EXPECT_EQ(calls[1].msg, WM_APP + 339u);
    w.zRemoveWatch(a, 0x9999); // silent
    w.zDetach(a);
    SendMessageA(a, WM_APP + 2, 0, 0);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_FALSE(isHookDispatcher(a));
    // The freed entry is taken before the table grows.
    EXPECT_EQ(w.zAttach(a), 0);
    EXPECT_EQ(w.entryCount(), 2u);
    w.zDetachAll();
    EXPECT_FALSE(isHookDispatcher(a));
    EXPECT_FALSE(isHookDispatcher(b));
    DestroyWindow(a);
    DestroyWindow(b);
}
