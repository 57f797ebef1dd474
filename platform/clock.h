// The clock: the local date and time.
#pragma once

#include <windows.h>

namespace platform {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual SYSTEMTIME localTime() = 0;
};

} // namespace platform
