// The real Mendkit.exe started twice from a folder of its own: the second
// copy ends at once and never shows a window.
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string testFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

struct Started {
    PROCESS_INFORMATION pi{};
    bool ok = false;
    ~Started() {
        if (!ok)
            return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
};

void start(Started& s, const std::string& exe, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    s.ok = CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &si, &s.pi) != 0;
}

// The visible top-level windows of a process.
std::vector<HWND> visibleWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == s->pid && IsWindowVisible(h))
                s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(MendkitProgram, ASecondCopyEndsWithoutAWindow) {
    testsupport::TempFolder folder;
    std::string exe = folder.path() + "Mendkit.exe";
    ASSERT_TRUE(CopyFileA((testFolder() + "Mendkit.exe").c_str(), exe.c_str(), FALSE));
    folder.write("One.ocx", "listed only");

    Started first;
    start(first, exe, folder.path());
    ASSERT_TRUE(first.ok);
    ASSERT_TRUE(testsupport::pumpUntil(
        [&] { return !visibleWindows(first.pi.dwProcessId).empty(); }, 20000))
        << "the first copy shows no window";
    std::vector<HWND> windows = visibleWindows(first.pi.dwProcessId);
    char caption[64] = {};
    GetWindowTextA(windows[0], caption, sizeof caption);
    EXPECT_STREQ(caption, "Mendkit");

    Started second;
    start(second, exe, folder.path());
    ASSERT_TRUE(second.ok);
    bool sawWindow = false;
    bool ended = testsupport::pumpUntil(
        [&] {
            if (!visibleWindows(second.pi.dwProcessId).empty())
                sawWindow = true;
            return WaitForSingleObject(second.pi.hProcess, 0) == WAIT_OBJECT_0;
        },
        20000);
    EXPECT_TRUE(ended) << "the second copy is still running";
    EXPECT_FALSE(sawWindow);
    DWORD code = 1;
    GetExitCodeProcess(second.pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    // The first copy is untouched and still running.
    EXPECT_EQ(WaitForSingleObject(first.pi.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // Closing its window ends the first copy.
    PostMessageA(windows[0], WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(first.pi.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
}

} // namespace
