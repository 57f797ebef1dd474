#include "tests/support/input.h"

namespace testsupport {

void key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

namespace {

void mouseButton(bool up, bool right) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = right ? (up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN)
                          : (up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &in, sizeof in);
}

} // namespace

void press(WORD vk, std::initializer_list<WORD> held) {
    for (WORD h : held)
        key(h, false);
    key(vk, false);
    key(vk, true);
    for (WORD h : held)
        key(h, true);
    pumpMessages(60);
}

void type(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan & 0x100)
            press(static_cast<WORD>(scan & 0xFF), {VK_SHIFT});
        else
            press(static_cast<WORD>(scan & 0xFF));
    }
}

void mouseTo(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    pumpMessages(60);
}

void clickAt(HWND h, int x, int y, int times, bool right) {
    mouseTo(h, x, y);
    for (int i = 0; i < times; ++i) {
        mouseButton(false, right);
        mouseButton(true, right);
    }
    pumpMessages(100);
}

RECT rectIn(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace testsupport
