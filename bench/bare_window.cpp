// A bare program to measure start-up against: one top-level window with the
// application manifest of the real program and, when given a number on the
// command line, that many standard controls (lists, text boxes, labels,
// buttons, check boxes in turn) on it. The window is shown once they exist.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

namespace {
LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}
} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    int controls = cmd ? std::atoi(cmd) : 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareWindow";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_CONTROLPARENT, "BareWindow", "Bare",
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                             856, 526, nullptr, nullptr, inst, nullptr);
    static const char* kClasses[] = {"LISTBOX", "EDIT", "STATIC", "BUTTON", "BUTTON"};
    static const DWORD kStyles[] = {WS_VSCROLL | LBS_NOTIFY, ES_AUTOHSCROLL, SS_NOTIFY,
                                    BS_PUSHBUTTON, BS_AUTOCHECKBOX};
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < controls; ++i) {
        int k = i % 5;
        HWND c = CreateWindowExA(
            k <= 1 ? WS_EX_CLIENTEDGE : 0, kClasses[k], k ? "Text" : "",
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | kStyles[k], 10 + (i % 8) * 100, 10 + (i / 8) * 60,
            90, 50, w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), inst, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (k == 0)
            for (int j = 0; j < 5; ++j)
                SendMessageA(c, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Item"));
    }
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(w, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
