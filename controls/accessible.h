// Accessibility for owner-drawn controls that behave as push buttons: the
// system's standard client object, answering with the push-button role, the
// button's states and "Press" as its default action (a BM_CLICK).
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace controls {

// IAccessible's interface identifier, spelled out: the import library's data
// symbol of the same name does not resolve to the identifier with MinGW.
inline constexpr IID kIID_IAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The accessible object itself (one reference for the caller), or nothing.
IAccessible* createPushButtonAccessible(HWND hwnd);

// The answer to WM_GETOBJECT for a push-button-like window; 0 when the
// request is not for the client area (then pass it on to DefWindowProc).
LRESULT answerAsPushButton(HWND hwnd, WPARAM wParam, LPARAM lParam);

} // namespace controls
