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
};

} // namespace platform
