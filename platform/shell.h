// Opening documents and addresses with the shell.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class Shell {
  public:
    virtual ~Shell() = default;
    // ShellExecute with the given verb (empty: the default verb); returns the
    // shell's result code (greater than 32 when it accepted the request).
    virtual long execute(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory,
                         int showCommand) = 0;
};

} // namespace platform
