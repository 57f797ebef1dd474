// The outside world behind small interfaces. Windows receive one Services
// object; the program passes the real implementations, tests pass recording
// fakes with scripted answers so that nothing blocks on a dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace platform {

// Message boxes. Returns the button pressed (IDOK, IDYES, ...). flags as
// MessageBoxA's (MB_ICONERROR, MB_YESNO, ...); an empty title shows the
// program's title.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual int show(HWND owner, const std::string& text, const std::string& title,
                     unsigned flags) = 0;
};

// Opening documents and addresses with the shell.
class Shell {
  public:
    virtual ~Shell() = default;
    // ShellExecute with the given verb; true when the shell accepted it.
    virtual bool execute(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory,
                         int showCommand) = 0;
};

struct ProcessResult {
    bool started = false;  // the process could be created
    bool finished = false; // it ended within the time limit
    unsigned long exitCode = 0;
};

// Starting other programs.
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

// Facts about this process and machine.
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

// One running copy per name: the first caller owns the name for the rest of
// its life; later callers (in any process) are told another copy runs.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    virtual bool anotherIsRunning(const std::string& name) = 0;
};

struct Services {
    MessageBoxes* messageBoxes = nullptr;
    Shell* shell = nullptr;
    Processes* processes = nullptr;
    Environment* environment = nullptr;
    SingleInstance* singleInstance = nullptr;
};

// The real implementations, over the Win32 API.
Services& systemServices();

// Adds "\" unless the text already ends with one (as a drive root does).
std::string withTrailingBackslash(std::string folder);

} // namespace platform
