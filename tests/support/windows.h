// Windows in window tests: unloading a test's own at its end, finding the
// top-level windows of another process.
#pragma once

#include "forms/form.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

// Unloads, in order, each of the windows that is loaded.
inline void unloadLoaded(std::initializer_list<forms::Form*> windows) {
    for (forms::Form* w : windows)
        if (w->isLoaded())
            w->Unload();
}

// The top-level windows of class `className` that belong to process `pid`
// (only the shown ones with `visibleOnly`), in the system's z-order.
inline std::vector<HWND> windowsOf(DWORD pid, const std::string& className,
                                   bool visibleOnly = false) {
    struct Search {
        DWORD pid;
        const std::string& className;
        bool visibleOnly;
        std::vector<HWND> found;
    } s{pid, className, visibleOnly, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == s->pid && s->className == cls && (!s->visibleOnly || IsWindowVisible(h)))
                s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

} // namespace testsupport
