// Recording fakes of the platform services for window tests: message boxes
// answer from a script, the shell and processes record what they were asked,
// the environment reports a folder of the test's choosing.
#pragma once

#include "platform/services.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct MessageBoxCall {
    std::string text, title;
    unsigned flags;
};

class FakeMessageBoxes : public platform::MessageBoxes {
  public:
    int show(HWND, const std::string& text, const std::string& title, unsigned flags) override {
        calls.push_back({text, title, flags});
        if (answers.empty())
            return IDOK;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<MessageBoxCall> calls;
    std::deque<int> answers; // buttons to press, in order; IDOK when empty
};

struct ShellCall {
    std::string verb, file, parameters, directory;
    int showCommand;
};

class FakeShell : public platform::Shell {
  public:
    long execute(HWND, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory,
                 int showCommand) override {
        calls.push_back({verb, file, parameters, directory, showCommand});
        return result;
    }
    std::vector<ShellCall> calls;
    long result = 42; // the shell's answer: above 32 is success, 31 "no association"
};

struct ProcessCall {
    std::string commandLine;
    int showCommand;
    unsigned long timeoutMs;
};

// Records every start; runs the real process when `passThrough` is set,
// otherwise answers with `result`.
class FakeProcesses : public platform::Processes {
  public:
    platform::ProcessResult run(const std::string& commandLine, int showCommand,
                                unsigned long timeoutMs,
                                const std::function<void()>& whileWaiting = {}) override {
        calls.push_back({commandLine, showCommand, timeoutMs});
        if (passThrough)
            return platform::systemServices().processes->run(commandLine, showCommand, timeoutMs,
                                                             whileWaiting);
        return result;
    }
    std::vector<ProcessCall> calls;
    bool passThrough = false;
    platform::ProcessResult result{true, true, 0};
};

class FakeEnvironment : public platform::Environment {
  public:
    std::string programPath() override { return applicationFolder + programName; }
    std::string applicationPath() override { return applicationFolder; }
    std::string systemDirectory() override {
        return systemFolder.empty() ? platform::systemServices().environment->systemDirectory()
                                    : systemFolder;
    }
    std::string wow64Directory() override {
        return wow64Folder ? *wow64Folder
                           : platform::systemServices().environment->wow64Directory();
    }
    std::string windowsDirectory() override {
        return platform::systemServices().environment->windowsDirectory();
    }
    std::string variable(const std::string& name) override {
        auto it = variables.find(name);
        return it == variables.end() ? std::string() : it->second;
    }
    std::string applicationFolder; // with a trailing backslash
    std::string programName = "Fetchlets.exe";
    std::string systemFolder;               // empty: the real one
    std::optional<std::string> wow64Folder; // unset: the real one
    std::map<std::string, std::string> variables;
};

class FakeSingleInstance : public platform::SingleInstance {
  public:
    bool anotherIsRunning(const std::string& name) override {
        asked.push_back(name);
        return another;
    }
    bool another = false;
    std::vector<std::string> asked;
};

class FakeClipboard : public platform::Clipboard {
  public:
    bool setText(const std::string& t) override {
        texts.push_back(t);
        return succeed;
    }
    std::vector<std::string> texts;
    bool succeed = true;
};

// Records the links handed to the Downloads window.
class FakeDownloads : public platform::Downloads {
  public:
    void download(HWND owner, const std::vector<std::string>& urls) override {
        calls.push_back({owner, urls});
    }
    struct Call {
        HWND owner;
        std::vector<std::string> urls;
    };
    std::vector<Call> calls;
};

// All fakes together, wired into one Services object.
struct FakeServices {
    FakeMessageBoxes messageBoxes;
    FakeShell shell;
    FakeProcesses processes;
    FakeEnvironment environment;
    FakeSingleInstance singleInstance;
    FakeClipboard clipboard;
    FakeDownloads downloads;
    platform::Services services{.messageBoxes = &messageBoxes,
                                .shell = &shell,
                                .processes = &processes,
                                .environment = &environment,
                                .singleInstance = &singleInstance,
                                .clipboard = &clipboard,
                                .downloads = &downloads};
};

// A fresh, empty folder under the system's temporary folder (with a trailing
// backslash), removed with everything in it when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    // Writes a file below the folder (creating subfolders), bytes as given.
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;

  private:
    std::string path_;
};

// Processes window messages for about `ms` milliseconds (timers included).
void pumpMessages(unsigned ms);

// Processes window messages until `done` is true or `ms` have passed.
bool pumpUntil(const std::function<bool()>& done, unsigned ms);

} // namespace testsupport
