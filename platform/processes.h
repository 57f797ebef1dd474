// Starting other programs.
#pragma once

#include <functional>
#include <string>

namespace platform {

struct ProcessResult {
    bool started = false;  // the process could be created
    bool finished = false; // it ended within the time limit
    unsigned long exitCode = 0;
};

class Processes {
  public:
    virtual ~Processes() = default;
    // Starts commandLine with its main window shown as showCommand (SW_...)
    // and waits at most timeoutMs for it to end (0: does not wait). While it
    // waits, `whileWaiting` (when given) runs whenever window messages arrive,
    // so that the caller's windows keep painting and answering. A process
    // still running when the time limit passes is ended.
    virtual ProcessResult run(const std::string& commandLine, int showCommand,
                              unsigned long timeoutMs,
                              const std::function<void()>& whileWaiting = {}) = 0;
};

} // namespace platform
