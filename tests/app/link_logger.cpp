// A stand-in browser and mail program for the tests: registered as the
// handler of http, https and mailto, it appends how the system split its
// command line to the file named by FL_HANDLER_LOG (or handler.log beside
// it): "ARGS <count>", then each argument after the program's own name on a
// line of its own, in UTF-8.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string utf8(const wchar_t* w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::string record = "ARGS " + std::to_string(argc > 0 ? argc - 1 : 0) + "\n";
    for (int i = 1; i < argc; ++i)
        record += utf8(argv[i]) + "\n";
    LocalFree(argv);

    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"FL_HANDLER_LOG", path, MAX_PATH)) {
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring p = path;
        p = p.substr(0, p.find_last_of(L'\\') + 1) + L"handler.log";
        lstrcpynW(path, p.c_str(), MAX_PATH);
    }
    // Several copies may start at once: each appends its record whole.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE h = CreateFileW(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(h, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
            CloseHandle(h);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
