#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
TEST(Smoke, Window) {
    HWND h = CreateWindowA("LISTBOX", "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    SendMessageA(h, LB_ADDSTRING, 0, (LPARAM)"a");
    EXPECT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 1);
    DestroyWindow(h);
}
#endif
TEST(Smoke, One) { EXPECT_EQ(1 + 1, 2); }
