// Handing links over to the program's Downloads window, which asks where to
// save and transfers them on its own; the caller goes on at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

class Downloads {
  public:
    virtual ~Downloads() = default;
    // One link asks for a file name (Save As), several ask for a folder once.
    // Only http and https links are accepted; the others are left out.
    virtual void download(HWND owner, const std::vector<std::string>& urls) = 0;
    // Asked before the program closes: while downloads run, asks the user
    // (owned by `owner`) whether to cancel them; true when the program may
    // close (nothing runs, or the user agreed and they were cancelled).
    virtual bool confirmClose(HWND /*owner*/) { return true; }
    // The same, asked before the main window restarts.
    virtual bool confirmRestart(HWND owner) { return confirmClose(owner); }
    // The program ends: cancels what still runs, removes partial files and
    // unloads the Downloads window.
    virtual void shutdown() {}
};

} // namespace platform
