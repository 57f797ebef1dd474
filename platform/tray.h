// The notification area of the taskbar: one icon added or deleted with the
// shell's notification-icon record.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace platform {

class Tray {
  public:
    virtual ~Tray() = default;
    // Shell_NotifyIconA with add or delete; true when the shell took it.
    virtual bool add(const NOTIFYICONDATAA& record) = 0;
    virtual bool remove(const NOTIFYICONDATAA& record) = 0;
};

} // namespace platform
