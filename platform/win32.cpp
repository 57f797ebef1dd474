#include "platform/services.h"

#include "platform/fetch_wininet.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

namespace platform {

std::string withTrailingBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

namespace {

class SystemMessageBoxes final : public MessageBoxes {
  public:
    int show(HWND owner, const std::string& text, const std::string& title,
             unsigned flags) override {
        std::string t = title;
        if (t.empty()) {
            // A box without a title shows the program's title: its file name
            // without extension.
            char path[MAX_PATH] = {};
            GetModuleFileNameA(nullptr, path, MAX_PATH);
            std::string p = path;
            size_t slash = p.find_last_of("\\/");
            t = p.substr(slash == std::string::npos ? 0 : slash + 1);
            size_t dot = t.rfind('.');
            if (dot != std::string::npos)
                t.resize(dot);
        }
        return MessageBoxA(owner, text.c_str(), t.c_str(), flags);
    }
};

class SystemShell final : public Shell {
  public:
    long execute(HWND owner, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory,
                 int showCommand) override {
        auto r = reinterpret_cast<INT_PTR>(
            ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                          parameters.empty() ? nullptr : parameters.c_str(),
                          directory.empty() ? nullptr : directory.c_str(), showCommand));
        return static_cast<long>(r);
    }
};

class SystemProcesses final : public Processes {
  public:
    ProcessResult run(const std::string& commandLine, int showCommand, unsigned long timeoutMs,
                      const std::function<void()>& whileWaiting) override {
        ProcessResult result;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION pi{};
        std::vector<char> cmd(commandLine.begin(), commandLine.end());
        cmd.push_back('\0');
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return result;
        result.started = true;
        CloseHandle(pi.hThread);
        if (timeoutMs > 0) {
            // Waits for the process or for window messages; the caller's
            // windows keep painting and answering meanwhile.
            // Once the message loop has been asked to quit, the messages are
            // left to it and only the process is waited for.
            const DWORD start = GetTickCount();
            bool pumping = true;
            for (;;) {
                const DWORD elapsed = GetTickCount() - start;
                if (elapsed >= timeoutMs)
                    break;
                const DWORD w =
                    pumping ? MsgWaitForMultipleObjectsEx(1, &pi.hProcess, timeoutMs - elapsed,
                                                          QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                            : WaitForSingleObject(pi.hProcess, timeoutMs - elapsed);
                if (w == WAIT_OBJECT_0) {
                    result.finished = true;
                    break;
                }
                if (!pumping || w != WAIT_OBJECT_0 + 1)
                    break;
                if (whileWaiting) {
                    whileWaiting();
                } else {
                    MSG m;
                    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                        if (m.message == WM_QUIT) {
                            PostQuitMessage(static_cast<int>(m.wParam));
                            break;
                        }
                        TranslateMessage(&m);
                        DispatchMessageA(&m);
                    }
                }
                MSG quit;
                if (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
                    pumping = false;
            }
            if (result.finished) {
                DWORD code = 0;
                GetExitCodeProcess(pi.hProcess, &code);
                result.exitCode = code;
            } else {
                // Past its time limit: the process this call started is ended
                // by its handle, so that nothing it does outlives the call.
                TerminateProcess(pi.hProcess, 1);
                WaitForSingleObject(pi.hProcess, 5000);
            }
        }
        CloseHandle(pi.hProcess);
        return result;
    }
};

class SystemEnvironment final : public Environment {
  public:
    std::string programPath() override {
        std::vector<char> buf(MAX_PATH);
        for (;;) {
            DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
            if (n < buf.size())
                return std::string(buf.data(), n);
            buf.resize(buf.size() * 2);
        }
    }
    std::string applicationPath() override {
        std::string p = programPath();
        size_t slash = p.find_last_of('\\');
        return withTrailingBackslash(slash == std::string::npos ? p : p.substr(0, slash));
    }
    std::string systemDirectory() override {
        char buf[256] = {};
        UINT n = GetSystemDirectoryA(buf, 255);
        return std::string(buf, n < 255 ? n : 0);
    }
    std::string wow64Directory() override {
        char buf[MAX_PATH + 1] = {};
        UINT n = GetSystemWow64DirectoryA(buf, MAX_PATH);
        return std::string(buf, n < MAX_PATH ? n : 0);
    }
    std::string windowsDirectory() override {
        char buf[MAX_PATH + 1] = {};
        UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
        return std::string(buf, n < MAX_PATH ? n : 0);
    }
    std::string variable(const std::string& name) override {
        DWORD n = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
        if (n == 0)
            return {};
        std::string v(n, '\0');
        n = GetEnvironmentVariableA(name.c_str(), v.data(), n);
        v.resize(n);
        return v;
    }
};

class SystemSingleInstance final : public SingleInstance {
  public:
    bool anotherIsRunning(const std::string& name) override {
        // The mutex stays open for the life of the process: its existence is
        // the sign that this copy runs. Asked again (the main window loaded
        // anew in the same process), this copy is not "another".
        if (owned_ == name)
            return false;
        std::string mutexName = "Local\\" + name + ".SingleInstance";
        HANDLE h = CreateMutexA(nullptr, FALSE, mutexName.c_str());
        if (!h)
            return false;
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(h);
            return true;
        }
        owned_ = name;
        return false;
    }

    void showRunningCopy(const std::string& name) override {
        // The copy started last may give the foreground away; the running
        // copy's main window, hidden in the tray or not, hears the broadcast.
        AllowSetForegroundWindow(ASFW_ANY);
        PostMessageA(HWND_BROADCAST, runningCopyMessage(name), 0, 0);
    }

  private:
    std::string owned_;
};

class SystemClipboard final : public Clipboard {
  public:
    bool setText(const std::string& text) override {
        // Another program may hold the clipboard for a moment: try a few times.
        bool open = false;
        for (int i = 0; i < 10 && !(open = OpenClipboard(nullptr)); ++i)
            Sleep(20);
        if (!open)
            return false;
        EmptyClipboard();
        bool placed = false;
        if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
            if (void* p = GlobalLock(mem)) {
                std::memcpy(p, text.c_str(), text.size() + 1);
                GlobalUnlock(mem);
                placed = SetClipboardData(CF_TEXT, mem) != nullptr;
            }
            if (!placed)
                GlobalFree(mem);
        }
        CloseClipboard();
        return placed;
    }
};

} // namespace

Services& systemServices() {
    static SystemMessageBoxes boxes;
    static SystemShell shell;
    static SystemProcesses processes;
    static SystemEnvironment environment;
    static SystemSingleInstance single;
    static SystemClipboard clipboard;
    static WinInetFetcher fetcher;
    static Services services{.environment = environment,
                             .shell = shell,
                             .processes = processes,
                             .singleInstance = single,
                             .messageBoxes = &boxes,
                             .clipboard = &clipboard,
                             .fetcher = &fetcher,
                             .fileDialogs = &systemFileDialogs(),

                             .registry = &systemRegistry(),
                             .clock = &systemClock(),
                             .tray = &systemTray()};
    return services;
}

} // namespace platform
