// Facts about this process and machine.
#pragma once

#include <string>

namespace platform {

class Environment {
  public:
    virtual ~Environment() = default;
    // Full path of the running program.
    virtual std::string programPath() = 0;
    // The folder of the running program with exactly one trailing backslash.
    virtual std::string applicationPath() = 0;
    // The system folder as GetSystemDirectoryA reports it (no trailing slash added).
    virtual std::string systemDirectory() = 0;
    // The 32-bit system folder of 64-bit Windows (GetSystemWow64DirectoryA);
    // empty on 32-bit Windows.
    virtual std::string wow64Directory() = 0;
    // The Windows folder (GetWindowsDirectoryA).
    virtual std::string windowsDirectory() = 0;
    // An environment variable, empty when it is not set.
    virtual std::string variable(const std::string& name) = 0;
};

// Adds "\" unless the text already ends with one (as a drive root does).
std::string withTrailingBackslash(std::string folder);

} // namespace platform
