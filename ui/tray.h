// The notification-area icon of the main window: with "Minimize to System
// Tray" ticked, the close box hides the window behind the icon; a left click
// on the icon brings the window back, a right click opens the tray menu.
#pragma once

#include "forms/controls.h"
#include "forms/menu.h"
#include "platform/services.h"

namespace ui {

// What the tray reads and drives of the main window.
struct TrayView {
    forms::Form& window;
    forms::CheckBox& chkSystray;
    forms::PopupMenu& mnSystray;
};

class Tray {
  public:
    static constexpr UINT kIconId = 1;
    // The message the shell sends to the anchor window, the mouse message in
    // its second parameter.
    static constexpr UINT kCallbackMessage = WM_APP + 0x51;

    Tray(platform::Services& services, TrayView view);
    ~Tray(); // the icon goes with the tray
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // The close rule, run in the main window's query-unload after its control
    // values are saved: a close through the close box or the system menu
    // with the option ticked becomes a hide behind the icon (cancel set);
    // every other close (from code, the system ending, the task manager)
    // goes on.
    void queryUnload(int& cancel, int unloadMode);

    // Hides the window and adds the icon. When the shell takes no icon the
    // window is minimised instead, so that it can always be found again.
    void hideToTray();
    // Deletes the icon; quiet when none is shown.
    void removeIcon();
    bool iconShown() const { return shown_; }

    // A left click on the icon: shows the window as it was, in front, and
    // deletes the icon.
    void restore();
    // "Show": the window in its normal state (neither minimised nor
    // maximised), shown, and the icon deleted.
    void showNormal();
    // A later copy's request: the window in front, restored from behind the
    // icon as restore() does, else from the taskbar (minimised or hidden).
    void bringToFront();

    // A mouse message from the icon: left button down restores, right button
    // up opens the tray menu; others do nothing.
    void onIconMouse(UINT mouseMessage);

    // The icon record, filled when the icon is added.
    const NOTIFYICONDATAA& record() const { return record_; }
    // The window that receives the icon's messages and the taskbar's
    // "TaskbarCreated" announcement (after the shell restarts, the icon is
    // added again); made when first asked for.
    HWND anchor();

  private:
    static LRESULT CALLBACK anchorProc(HWND, UINT, WPARAM, LPARAM);
    void fillRecord();
    void showWindow(int command);

    platform::Services& services_;
    TrayView view_;
    HWND anchor_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool shown_ = false;
    NOTIFYICONDATAA record_{};
};

} // namespace ui
