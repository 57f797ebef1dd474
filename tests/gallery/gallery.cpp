// ControlGallery: one window showing the custom controls side by side.
#include "gallery.h"

#include <commctrl.h>

namespace {

LRESULT CALLBACK galleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int galleryAddButtons(HWND parent, int x, int y) {
    (void)parent;
    (void)x;
    (void)y;
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = galleryProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ControlGallery";
    RegisterClassExA(&wc);
    HWND main = CreateWindowExA(0, "ControlGallery", "Control gallery",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1280, 900, nullptr,
                                nullptr, instance, nullptr);
    int used = galleryAddButtons(main, 8, 8);
    galleryAddBars(main, 8, 8 + used + 8);
    ShowWindow(main, show);
    UpdateWindow(main);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(main, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    return 0;
}
