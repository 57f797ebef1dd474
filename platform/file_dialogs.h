// The system's file dialogs: Save As and the folder picker. Paths are UTF-8
// here (they go to the wide-character dialogs), so any file name a server
// suggests can be kept.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // Save As, starting in `folder` with `suggestedName` filled in; asks before
    // replacing an existing file. Returns the chosen full path, empty when the
    // user cancelled.
    virtual std::string saveAs(HWND owner, const std::string& title, const std::string& folder,
                               const std::string& suggestedName) = 0;
    // A folder picker starting in `folder`; empty when the user cancelled.
    virtual std::string chooseFolder(HWND owner, const std::string& title,
                                     const std::string& folder) = 0;
    // The user's Downloads folder (the documents folder, then the temporary
    // folder, where it does not exist), without a trailing backslash.
    virtual std::string downloadsFolder() = 0;
};

// The system's dialogs (also in systemServices()).
FileDialogs& systemFileDialogs();

} // namespace platform
