// Accessibility for the owner-drawn bars: the bar answers as one object of
// its role (tool bar, status bar) whose children are its items (push buttons,
// panels) with their names, values, states and places, and, where items act,
// a default action. Everything else comes from the system's standard client
// object of the window.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>

namespace controls {

struct BarItems {
    long role = 0;     // the bar's role (ROLE_SYSTEM_*)
    long itemRole = 0; // each item's role
    std::function<int()> count;
    std::function<std::string(int index)> name;  // index from 0
    std::function<std::string(int index)> value; // optional
    std::function<long(int index)> state;        // STATE_SYSTEM_* flags; optional
    std::function<RECT(int index)> rect;         // client pixels
    const wchar_t* defaultAction = nullptr;      // nullptr: the items do nothing
    std::function<void(int index)> doDefaultAction;
};

// The answer to WM_GETOBJECT for a bar window; 0 when the request is not for
// the client area (then pass it on to DefWindowProc). `items` is asked for
// each answer, and only while the window exists.
LRESULT answerAsBar(HWND hwnd, WPARAM wParam, LPARAM lParam, const BarItems& items);

} // namespace controls
