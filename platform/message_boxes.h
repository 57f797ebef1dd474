// Message boxes: modal questions and notices to the user.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Returns the button pressed (IDOK, IDYES, ...). flags as MessageBoxA's
// (MB_ICONERROR, MB_YESNO, ...); an empty title shows the program's title.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual int show(HWND owner, const std::string& text, const std::string& title,
                     unsigned flags) = 0;
};

} // namespace platform
