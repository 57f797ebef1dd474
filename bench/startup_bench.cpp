// Start-up benchmark: starts each of the given programs in turn, waits until
// the program shows a top-level window, notes the time from process creation
// to that moment, closes the program and goes on with the next one. The
// programs alternate run by run, so that a machine busy with other work
// slows all of them alike; the report gives each one's median, its ratio to
// the first program's median, the number of child windows it showed, and its
// private memory (committed bytes of its own) once the window is painted
// (Windows tells it; Wine does not: bench/memory.sh measures it there).
//
//   startup_bench.exe RUNS "C:\a\Fetchlets.exe" "C:\b\bare_window.exe 63" ...
//
// Run it pinned to one processor under Linux (`taskset -c 1 wine ...`): see
// bench/startup.sh, which prepares the catalogs and runs the whole set.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK findShown(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == f->pid && IsWindowVisible(h) && !GetWindow(h, GW_OWNER)) {
        f->window = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK countChild(HWND, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

struct Run {
    double ms = -1;
    int children = 0;
    double privateMiB = -1;
};

Run startOnce(const std::string& commandLine) {
    Run run;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::fprintf(stderr, "cannot start %s\n", commandLine.c_str());
        return run;
    }
    Found f{pi.dwProcessId, nullptr};
    DWORD limit = GetTickCount() + 20000;
    while (!f.window && GetTickCount() < limit) {
        EnumWindows(findShown, reinterpret_cast<LPARAM>(&f));
        if (f.window)
            break;
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break; // ended without a window
    }
    QueryPerformanceCounter(&t1);
    if (f.window) {
        run.ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                 static_cast<double>(freq.QuadPart);
        // Let the first paint finish before counting and closing.
        Sleep(200);
        EnumChildWindows(f.window, countChild, reinterpret_cast<LPARAM>(&run.children));
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (K32GetProcessMemoryInfo(pi.hProcess,
                                    reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                    sizeof memory))
            if (memory.PrivateUsage > 0) // Wine does not tell it for another process
                run.privateMiB = static_cast<double>(memory.PrivateUsage) / (1024.0 * 1024.0);
        PostMessageA(f.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

double median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM [PROGRAM...]\n");
        return 2;
    }
    int runs = std::max(1, std::atoi(argv[1]));
    std::vector<std::string> programs(argv + 2, argv + argc);
    std::vector<std::vector<double>> times(programs.size());
    std::vector<int> children(programs.size());
    std::vector<std::vector<double>> memory(programs.size());
    // One unmeasured round warms the caches of every program.
    for (const auto& p : programs)
        startOnce(p);
    for (int r = 0; r < runs; ++r)
        for (size_t i = 0; i < programs.size(); ++i) {
            Run run = startOnce(programs[i]);
            if (run.ms >= 0) {
                times[i].push_back(run.ms);
                children[i] = run.children;
                if (run.privateMiB >= 0)
                    memory[i].push_back(run.privateMiB);
            }
        }
    double base = median(times[0]);
    std::printf("%-60s %8s %6s %6s %8s %9s\n", "program", "median", "ratio", "runs", "children",
                "private");
    for (size_t i = 0; i < programs.size(); ++i) {
        double m = median(times[i]);
        const double mib = median(memory[i]);
        char privateText[32] = "n/a";
        if (mib >= 0)
            std::snprintf(privateText, sizeof privateText, "%.1fMiB", mib);
        std::printf("%-60s %6.1fms %6.2f %6zu %8d %9s\n", programs[i].c_str(), m,
                    base > 0 ? m / base : 0.0, times[i].size(), children[i], privateText);
    }
    return 0;
}
