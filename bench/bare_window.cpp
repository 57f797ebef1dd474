// A bare program to measure start-up against: one top-level window with the
// application manifest of the real program and, when given a number on the
// command line, that many standard controls (lists, text boxes, labels,
// buttons, check boxes in turn) on it; with "N full" the honest floor below.
// The window is shown once they exist.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {
LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

// The honest floor ("N full"): what the main window shows at start, without
// its work. A tab strip with the eight page names and an inner one with
// three, N child windows of the main window's kinds in its proportions
// (labels, buttons, lists, text boxes, pictures, check boxes, a combo box),
// only the first page's visible, the lists filled with as many items as the
// sample catalog's lists hold, and one Tahoma font for all. With "bars" also
// the main window's two bars as the system's own: a toolbar with the eight
// page buttons' captions down the left and a status bar with one panel. With
// 83 children ("83 full bars") every kind is there as often as the main
// window has it.
void createFullFloor(HWND w, HINSTANCE inst, int controls, bool bars) {
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, "Tahoma");
    auto make = [&](DWORD ex, const char* cls, const char* text, DWORD style, int i) {
        HWND c = CreateWindowExA(
            ex, cls, text, WS_CHILD | style, 10 + (i % 8) * 100, 40 + (i / 8) * 50, 90, 45, w,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), inst, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return c;
    };
    HWND tabs = make(0, WC_TABCONTROLA, "", WS_VISIBLE | WS_CLIPSIBLINGS, -1);
    // Beside the toolbar when there is one, as the main window's pages are.
    SetWindowPos(tabs, HWND_BOTTOM, bars ? 140 : 0, 0, bars ? 700 : 840, 480, SWP_NOACTIVATE);
    auto addTabs = [](HWND strip, std::initializer_list<const char*> names) {
        int i = 0;
        for (const char* name : names) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(name);
            SendMessageA(strip, TCM_INSERTITEMA, i++, reinterpret_cast<LPARAM>(&item));
        }
    };
    addTabs(tabs, {"Home", "Get Apps", "Options", "About", "Get Portable", "Get Slim", "Special",
                   "Empty"});
    addTabs(make(0, WC_TABCONTROLA, "", WS_CLIPSIBLINGS, -2),
            {"Special", "Pages", "Installed Apps"});
    if (bars) {
        HWND tools = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                                     WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST |
                                         TBSTYLE_WRAPABLE | CCS_NORESIZE | CCS_NODIVIDER,
                                     0, 0, 137, 480, w, nullptr, inst, nullptr);
        SendMessageA(tools, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageA(tools, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        static const char* kCaptions[] = {"Home",    "Get Apps", "Get Portable", "Get Slim",
                                          "Options", "Update",   "About",        "Exit"};
        TBBUTTON buttons[8] = {};
        for (int i = 0; i < 8; ++i) {
            buttons[i].iBitmap = I_IMAGENONE;
            buttons[i].idCommand = 200 + i;
            buttons[i].fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
            buttons[i].fsStyle = BTNS_BUTTON | BTNS_SHOWTEXT;
            buttons[i].iString = reinterpret_cast<INT_PTR>(kCaptions[i]);
        }
        SendMessageA(tools, TB_ADDBUTTONSA, 8, reinterpret_cast<LPARAM>(buttons));
        HWND status =
            CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                            0, 0, w, nullptr, inst, nullptr);
        SendMessageA(status, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int right = -1;
        SendMessageA(status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
        SendMessageA(status, SB_SETTEXTA, 0,
                     reinterpret_cast<LPARAM>("Fetchlets Version: 0.0.0, Signature Version: 0"));
    }
    // One kind per child in the main window's proportions: 35 labels, 19
    // buttons, 13 lists, 7 text boxes, 6 pictures, 2 check boxes, 1 combo box
    // of every 83.
    static const char kKinds[] = "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL"
                                 "BBBBBBBBBBBBBBBBBBB"
                                 "SSSSSSSSSSSSS"
                                 "TTTTTTT"
                                 "PPPPPP"
                                 "CC"
                                 "O";
    const int kinds = static_cast<int>(sizeof kKinds - 1);
    for (int i = 0; i < controls; ++i) {
        const char kind = kKinds[(i * 7) % kinds];     // interleaved, as the pages mix them
        const DWORD visible = i < 12 ? WS_VISIBLE : 0; // the first page shows a few
        switch (kind) {
        case 'L':
            make(0, "STATIC", "Label", visible | SS_NOTIFY, i);
            break;
        case 'B':
            make(0, "BUTTON", "Button", visible | WS_TABSTOP | BS_OWNERDRAW, i);
            break;
        case 'S': {
            HWND list = make(WS_EX_CLIENTEDGE, "LISTBOX", "",
                             visible | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_SORT, i);
            SendMessageA(list, WM_SETREDRAW, FALSE, 0);
            for (int j = 0; j < 20; ++j)
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Catalog entry"));
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            break;
        }
        case 'T':
            make(WS_EX_CLIENTEDGE, "EDIT", "", visible | WS_TABSTOP | ES_AUTOHSCROLL, i);
            break;
        case 'P':
            make(0, "STATIC", "", visible | SS_BITMAP, i);
            break;
        case 'C':
            make(0, "BUTTON", "Check", visible | WS_TABSTOP | BS_AUTOCHECKBOX, i);
            break;
        default:
            make(0, "COMBOBOX", "", visible | WS_TABSTOP | CBS_DROPDOWNLIST, i);
            break;
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    int controls = cmd ? std::atoi(cmd) : 0;
    const bool full = cmd && std::strstr(cmd, "full");
    const bool bars = cmd && std::strstr(cmd, "bars");
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
    for (int i = 0; i < controls && !full; ++i) {
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
    if (full)
        createFullFloor(w, inst, controls, bars);
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
