#include <gtest/gtest.h>

#include <windows.h>

#include "controls/themedbutton.h"
#include "controls/window_objects.h"

using namespace controls;

namespace {

struct Host {
    int id = 0;
};
struct Hook {
    int id = 0;
};

// One window may carry one object per type (a button and the form control
// that hooks it); letting go of one leaves the other, and a window that is
// gone carries none.
TEST(WindowObjects, OneObjectPerTypeEachLetGoOfAlone) {
    HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    Host host;
    Hook hook, other;
    attachObject(w, &host);
    attachObject(w, &hook);
    EXPECT_EQ(objectOf<Host>(w), &host);
    EXPECT_EQ(objectOf<Hook>(w), &hook);
    detachObject(w, &other); // not this window's: nothing changes
    EXPECT_EQ(objectOf<Hook>(w), &hook);
    detachObject(w, &hook);
    EXPECT_EQ(objectOf<Hook>(w), nullptr);
    EXPECT_EQ(objectOf<Host>(w), &host);
    detachObject(w, &host);
    EXPECT_EQ(objectOf<Host>(w), nullptr);
    EXPECT_EQ(objectOf<Host>(nullptr), nullptr);
    DestroyWindow(w);
}

// A themed button's window leaves the table with the window, so a later
// window given the same handle is not taken for the dead button.
TEST(WindowObjects, ButtonLeavesTheTableWithItsWindow) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ThemedButton* button = ThemedButton::create(parent, "b", 0, 0, 50, 30, 1);
    ASSERT_NE(button, nullptr);
    HWND h = button->hwnd();
    EXPECT_EQ(objectOf<ThemedButton>(h), button);
    DestroyWindow(h); // deletes the button
    EXPECT_EQ(objectOf<ThemedButton>(h), nullptr);
    DestroyWindow(parent);
}

} // namespace
