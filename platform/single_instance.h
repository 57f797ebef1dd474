// One running copy per name.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The first caller owns the name for the rest of its life; later callers (in
// any process) are told another copy runs.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    virtual bool anotherIsRunning(const std::string& name) = 0;
    // Asks the copy that runs under `name` to bring its main window to the
    // front (restored from the tray or the taskbar); a later copy calls this
    // before it ends without a window of its own. The running copy hears it
    // as the window message runningCopyMessage(name).
    virtual void showRunningCopy(const std::string& /*name*/) {}
};

// The message a running copy's main window receives when a later copy asks
// it to come to the front (the same number in every process).
inline UINT runningCopyMessage(const std::string& name) {
    return RegisterWindowMessageA((name + ".ShowRunningCopy").c_str());
}

} // namespace platform
