#include "ui/tray.h"

#include "controls/window_objects.h"

#include <cstring>

namespace ui {

namespace {
const char* const kAnchorClass = "FetchletsTrayAnchor";
} // namespace

Tray::Tray(platform::Services& services, TrayView view) : services_(services), view_(view) {
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

HWND Tray::anchor() {
    if (anchor_)
        return anchor_;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, kAnchorClass, &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Tray::anchorProc;
        wc.hInstance = instance;
        wc.lpszClassName = kAnchorClass;
        RegisterClassExA(&wc);
    }
    // A hidden top-level window: it has no taskbar button, and unlike a
    // message-only window it hears the taskbar's broadcast. Made with the
    // first icon, not at start-up: a window costs time to make.
    anchor_ = CreateWindowExA(WS_EX_TOOLWINDOW, kAnchorClass, "Fetchlets", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, instance, this);
    return anchor_;
}

Tray::~Tray() {
    removeIcon();
    if (anchor_) {
        controls::detachObject(anchor_, this);
        DestroyWindow(anchor_);
    }
}

LRESULT CALLBACK Tray::anchorProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Tray*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        controls::attachObject(h, self);
    }
    auto* self = controls::objectOf<Tray>(h);
    if (self && msg == WM_NCDESTROY)
        controls::detachObject(h, self);
    if (self) {
        if (msg == kCallbackMessage && wp == kIconId) {
            self->onIconMouse(static_cast<UINT>(LOWORD(lp)));
            return 0;
        }
        if (msg == self->taskbarCreated_ && self->taskbarCreated_ != 0) {
            // The shell started again with an empty notification area.
            if (self->shown_ && self->services_.tray)
                self->services_.tray->add(self->record_);
            return 0;
        }
    }
    return DefWindowProcA(h, msg, wp, lp);
}

void Tray::fillRecord() {
    record_ = NOTIFYICONDATAA{};
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_.hWnd = anchor();
    record_.uID = kIconId;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = kCallbackMessage;
    HWND w = view_.window.hwnd();
    HICON icon = nullptr;
    if (w) {
        icon = reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_SMALL, 0));
        if (!icon)
            icon = reinterpret_cast<HICON>(GetClassLongPtrA(w, GCLP_HICONSM));
        if (!icon)
            icon = reinterpret_cast<HICON>(GetClassLongPtrA(w, GCLP_HICON));
    }
    record_.hIcon = icon ? icon : LoadIcon(nullptr, IDI_APPLICATION);
    // The tip: the program's name, the rest of the field blank.
    std::memset(record_.szTip, ' ', sizeof record_.szTip);
    static const char tip[] = "Fetchlets";
    std::memcpy(record_.szTip, tip, sizeof tip);
}

void Tray::queryUnload(int& cancel, int unloadMode) {
    if (view_.chkSystray.Value() != 1 || unloadMode != forms::vbFormControlMenu)
        return;
    cancel = 1;
    hideToTray();
}

void Tray::hideToTray() {
    if (!view_.window.isLoaded())
        return;
    fillRecord();
    if (!shown_)
        shown_ = services_.tray && services_.tray->add(record_);
    if (shown_)
        view_.window.Hide();
    else
        showWindow(SW_MINIMIZE);
}

void Tray::removeIcon() {
    if (!shown_)
        return;
    shown_ = false;
    if (services_.tray)
        services_.tray->remove(record_);
}

void Tray::showWindow(int command) {
    if (HWND w = view_.window.hwnd())
        ShowWindow(w, command);
}

void Tray::restore() {
    if (HWND w = view_.window.hwnd()) {
        // As it was: a maximised window comes back maximised.
        ShowWindow(w, IsZoomed(w) ? SW_SHOWMAXIMIZED : SW_SHOW);
        SetForegroundWindow(w);
    }
    removeIcon();
}

void Tray::showNormal() {
    if (HWND w = view_.window.hwnd()) {
        ShowWindow(w, SW_SHOWNORMAL);
        SetForegroundWindow(w);
    }
    removeIcon();
}

void Tray::bringToFront() {
    if (shown_) {
        restore();
        return;
    }
    HWND w = view_.window.isLoaded() ? view_.window.hwnd() : nullptr;
    if (!w)
        return;
    if (IsIconic(w))
        ShowWindow(w, SW_RESTORE);
    else if (!IsWindowVisible(w))
        ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
}

void Tray::onIconMouse(UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        restore();
        break;
    case WM_RBUTTONUP:
        // "Show", the first item, is the default; either button chooses.
        view_.mnSystray.Popup(
            {.eitherButton = true, .defaultItem = &view_.mnSystray.items().front()});
        break;
    default:
        break;
    }
}

} // namespace ui
