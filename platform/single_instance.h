// One running copy per name.
#pragma once

#include <string>

namespace platform {

// The first caller owns the name for the rest of its life; later callers (in
// any process) are told another copy runs.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    virtual bool anotherIsRunning(const std::string& name) = 0;
};

} // namespace platform
