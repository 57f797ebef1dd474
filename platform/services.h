// The outside world behind small interfaces. Windows receive one Services
// object; the program passes the real implementations, tests pass recording
// fakes with scripted answers so that nothing blocks on a dialog. The
// services every build offers are references; a pointer member left null is
// a service this build does not offer, and callers check.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/downloads.h"
#include "platform/environment.h"
#include "platform/file_dialogs.h"
#include "platform/fetch.h"
#include "platform/message_boxes.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/tray.h"

namespace platform {

struct Services {
    // Always offered.
    Environment& environment;
    Shell& shell;
    Processes& processes;
    SingleInstance& singleInstance;
    // Offered or not.
    MessageBoxes* messageBoxes = nullptr;
    Clipboard* clipboard = nullptr;
    Downloads* downloads = nullptr;
    Fetcher* fetcher = nullptr;
    FileDialogs* fileDialogs = nullptr;
    Registry* registry = nullptr;
    Clock* clock = nullptr;
    Tray* tray = nullptr;
};

// The real implementations, over the Win32 API.
Services& systemServices();
Registry& systemRegistry();
Clock& systemClock();
Tray& systemTray();

} // namespace platform
