// Recording fakes of the platform services for window tests: message boxes
// answer from a script, the shell and processes record what they were asked,
// the environment reports a folder of the test's choosing.
#pragma once

#include "platform/services.h"
#include "tests/support/pump.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
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
        if (onShow)
            onShow(calls.back());
        if (answers.empty())
            return IDOK;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<MessageBoxCall> calls;
    std::deque<int> answers; // buttons to press, in order; IDOK when empty
    // Runs while the box is "open", to look at the world at that moment.
    std::function<void(const MessageBoxCall&)> onShow;
};

struct ShellCall {
    std::string verb, file, parameters, directory;
    int showCommand;
};

// Records every call; hands it on to `target` when one is set (the real
// shell, say), otherwise answers with `result`.
class FakeShell : public platform::Shell {
  public:
    long execute(HWND owner, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory,
                 int showCommand) override {
        calls.push_back({verb, file, parameters, directory, showCommand});
        if (target)
            return target->execute(owner, verb, file, parameters, directory, showCommand);
        return result;
    }
    std::vector<ShellCall> calls;
    long result = 42; // the shell's answer: above 32 is success, 31 "no association"
    platform::Shell* target = nullptr;
};

struct ProcessCall {
    std::string commandLine;
    int showCommand;
    unsigned long timeoutMs;
};

// Records every start; hands it on to `target` when one is set (a test's
// scripted runner), runs the real process when `passThrough` is set,
// otherwise answers with `result`.
class FakeProcesses : public platform::Processes {
  public:
    platform::ProcessResult run(const std::string& commandLine, int showCommand,
                                unsigned long timeoutMs,
                                const std::function<void()>& whileWaiting = {}) override {
        calls.push_back({commandLine, showCommand, timeoutMs});
        if (target)
            return target->run(commandLine, showCommand, timeoutMs, whileWaiting);
        if (passThrough)
            return platform::systemServices().processes.run(commandLine, showCommand, timeoutMs,
                                                            whileWaiting);
        return result;
    }
    std::vector<ProcessCall> calls;
    bool passThrough = false;
    platform::ProcessResult result{true, true, 0};
    platform::Processes* target = nullptr;
};

class FakeEnvironment : public platform::Environment {
  public:
    std::string programPath() override { return applicationFolder + programName; }
    std::string applicationPath() override { return applicationFolder; }
    std::string systemDirectory() override {
        return systemFolder.empty() ? platform::systemServices().environment.systemDirectory()
                                    : systemFolder;
    }
    std::string wow64Directory() override {
        return wow64Folder ? *wow64Folder : platform::systemServices().environment.wow64Directory();
    }
    std::string windowsDirectory() override {
        return platform::systemServices().environment.windowsDirectory();
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
    void showRunningCopy(const std::string& name) override { shown.push_back(name); }
    bool another = false;
    std::vector<std::string> asked;
    std::vector<std::string> shown; // showRunningCopy's names
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

// Records the links handed to the Downloads window and the close questions.
class FakeDownloads : public platform::Downloads {
  public:
    void download(HWND owner, const std::vector<std::string>& urls) override {
        calls.push_back({owner, urls});
    }
    bool confirmClose(HWND) override {
        ++confirmCalls;
        return allowClose;
    }
    bool confirmRestart(HWND) override {
        ++restartCalls;
        return allowClose;
    }
    void shutdown() override { ++shutdownCalls; }
    int restartCalls = 0;
    struct Call {
        HWND owner;
        std::vector<std::string> urls;
    };
    std::vector<Call> calls;
    bool allowClose = true; // the answer to confirmClose
    int confirmCalls = 0;
    int shutdownCalls = 0;
};

// File dialogs answering from a script: each Save As and folder question
// takes the next answer (empty: the user cancelled) and is recorded.
class FakeFileDialogs : public platform::FileDialogs {
  public:
    struct Call {
        std::string title, folder, suggestedName;
    };
    std::string saveAs(HWND, const std::string& title, const std::string& folder,
                       const std::string& suggestedName) override {
        saveCalls.push_back({title, folder, suggestedName});
        if (saveAnswer)
            return saveAnswer(suggestedName);
        return next(saveAnswers);
    }
    std::string chooseFolder(HWND, const std::string& title, const std::string& folder) override {
        folderCalls.push_back({title, folder, {}});
        return next(folderAnswers);
    }
    std::string downloadsFolder() override { return downloads; }
    std::vector<Call> saveCalls, folderCalls;
    std::deque<std::string> saveAnswers, folderAnswers;
    // When set, answers every Save As from the suggested name.
    std::function<std::string(const std::string& suggested)> saveAnswer;
    std::string downloads = "C:\\Downloads";

  private:
    static std::string next(std::deque<std::string>& q) {
        if (q.empty())
            return {};
        std::string a = q.front();
        q.pop_front();
        return a;
    }
};

// An in-memory registry: keys made by name below a root and a view (0 and
// KEY_WOW64_64KEY are the same view; the current user's keys have one view).
// Records how many handles are open, so that a test sees every key closed.
class FakeRegistry : public platform::Registry {
  public:
    void setValue(HKEY root, REGSAM view, const std::string& path, const std::string& name,
                  const std::string& data) {
        node(root, view, path, true)->values[name] = data;
    }
    void addKey(HKEY root, REGSAM view, const std::string& path) { node(root, view, path, true); }
    long openKey(HKEY parent, const std::string& path, REGSAM view, HKEY& result) override {
        result = nullptr;
        Node* base = nullptr;
        std::string full = path;
        if (auto it = handles_.find(parent); it != handles_.end())
            base = it->second;
        Node* n = base ? find(base, full) : node(parent, view, full, false);
        if (!n)
            return ERROR_FILE_NOT_FOUND;
        result = reinterpret_cast<HKEY>(static_cast<uintptr_t>(nextHandle_ += 4));
        handles_[result] = n;
        ++opened;
        return ERROR_SUCCESS;
    }
    long enumKey(HKEY key, unsigned long index, char* name, unsigned long& length) override {
        auto it = handles_.find(key);
        if (it == handles_.end())
            return ERROR_INVALID_HANDLE;
        if (index >= it->second->children.size())
            return ERROR_NO_MORE_ITEMS;
        const std::string& n = it->second->children[index]->name;
        if (n.size() >= length)
            return ERROR_MORE_DATA;
        std::copy(n.begin(), n.end(), name);
        name[n.size()] = '\0';
        length = static_cast<unsigned long>(n.size());
        return ERROR_SUCCESS;
    }
    long queryValue(HKEY key, const std::string& name, unsigned char* data,
                    unsigned long& size) override {
        auto it = handles_.find(key);
        if (it == handles_.end())
            return ERROR_INVALID_HANDLE;
        auto v = it->second->values.find(name);
        if (v == it->second->values.end())
            return ERROR_FILE_NOT_FOUND;
        unsigned long need = static_cast<unsigned long>(v->second.size() + 1);
        if (need > size) {
            size = need;
            return ERROR_MORE_DATA;
        }
        std::copy(v->second.begin(), v->second.end(), data);
        data[v->second.size()] = 0;
        size = need;
        return ERROR_SUCCESS;
    }
    long closeKey(HKEY key) override {
        if (!handles_.erase(key))
            return ERROR_INVALID_HANDLE;
        ++closed;
        return ERROR_SUCCESS;
    }
    size_t openHandles() const { return handles_.size(); }
    int opened = 0, closed = 0;

  private:
    struct Node {
        std::string name;
        std::vector<std::unique_ptr<Node>> children;
        std::map<std::string, std::string> values;
    };
    static bool same(const std::string& a, const std::string& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::toupper(static_cast<unsigned char>(x)) ==
                          std::toupper(static_cast<unsigned char>(y));
               });
    }
    Node* find(Node* base, const std::string& path, bool create = false) {
        Node* n = base;
        size_t start = 0;
        while (n && start <= path.size()) {
            size_t end = path.find('\\', start);
            std::string part = path.substr(start, end == std::string::npos ? end : end - start);
            start = end == std::string::npos ? path.size() + 1 : end + 1;
            if (part.empty())
                continue;
            Node* next = nullptr;
            for (auto& c : n->children)
                if (same(c->name, part))
                    next = c.get();
            if (!next && create) {
                n->children.push_back(std::make_unique<Node>());
                n->children.back()->name = part;
                next = n->children.back().get();
            }
            n = next;
        }
        return n;
    }
    Node* node(HKEY root, REGSAM view, const std::string& path, bool create) {
        bool wow32 = (view & KEY_WOW64_32KEY) && root == HKEY_LOCAL_MACHINE;
        std::string name = std::to_string(reinterpret_cast<uintptr_t>(root)) + (wow32 ? "/32" : "");
        Node& r = roots_[name];
        return find(&r, path, create);
    }
    std::map<std::string, Node> roots_;
    std::map<HKEY, Node*> handles_;
    uintptr_t nextHandle_ = 0x1000;
};

// A clock that shows the time a test sets.
class FakeClock : public platform::Clock {
  public:
    SYSTEMTIME localTime() override { return now; }
    SYSTEMTIME now{2024, 3, 0, 5, 10, 30, 0, 0}; // 5 March 2024, 10:30
};

// The notification area: records every add and delete and which icons show.
class FakeTray : public platform::Tray {
  public:
    bool add(const NOTIFYICONDATAA& r) override {
        added.push_back(r);
        auto key = std::make_pair(r.hWnd, r.uID);
        if (std::find(shown.begin(), shown.end(), key) != shown.end())
            return false; // the shell refuses a second icon of the same window and id
        shown.push_back(key);
        return true;
    }
    bool remove(const NOTIFYICONDATAA& r) override {
        removed.push_back(r);
        auto key = std::make_pair(r.hWnd, r.uID);
        auto it = std::find(shown.begin(), shown.end(), key);
        if (it == shown.end())
            return false;
        shown.erase(it);
        return true;
    }
    std::vector<NOTIFYICONDATAA> added, removed;
    std::vector<std::pair<HWND, UINT>> shown;
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
    FakeFileDialogs fileDialogs;
    FakeRegistry registry;
    FakeClock clock;
    FakeTray tray;
    platform::Services services{.environment = environment,
                                .shell = shell,
                                .processes = processes,
                                .singleInstance = singleInstance,
                                .messageBoxes = &messageBoxes,
                                .clipboard = &clipboard,
                                .downloads = &downloads,
                                .fileDialogs = &fileDialogs,

                                .registry = &registry,
                                .clock = &clock,
                                .tray = &tray};
};

// A folder of the source tree (for example "server/fetchlets_latest/") as the
// tests under wine see it: a Windows path on the Z: drive, backslashes, the
// trailing one included.
std::string sourceFolder(const std::string& relative);

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

} // namespace testsupport
