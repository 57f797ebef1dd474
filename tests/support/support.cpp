#include "tests/support/fakes.h"
#include "tests/support/pump.h"

#include "forms/form.h"

#include <shellapi.h>

#include <fstream>
#include <sstream>

namespace testsupport {

std::string sourceFolder(const std::string& relative) {
    std::string p = std::string("Z:") + FL_SOURCE_DIR + "/" + relative;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    if (p.back() != '\\')
        p += '\\';
    return p;
}

TempFolder::TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        std::string p = std::string(base) + "fltest-" + std::to_string(GetCurrentProcessId()) +
                        "-" + std::to_string(++counter);
        if (CreateDirectoryA(p.c_str(), nullptr)) {
            path_ = platform::withTrailingBackslash(p);
            return;
        }
    }
}

TempFolder::~TempFolder() {
    // SHFileOperation wants a double-NUL-terminated list without the slash.
    std::string from = path_.substr(0, path_.size() - 1);
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationA(&op);
}

void TempFolder::write(const std::string& relative, const std::string& bytes) const {
    std::string full = path_ + relative;
    for (size_t i = path_.size(); i < full.size(); ++i)
        if (full[i] == '\\')
            CreateDirectoryA(full.substr(0, i).c_str(), nullptr);
    std::ofstream f(full, std::ios::binary);
    f << bytes;
}

std::string TempFolder::read(const std::string& relative) const {
    std::ifstream f(path_ + relative, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void pumpMessages(unsigned ms) {
    pumpUntil([] { return false; }, ms);
}

bool pumpUntil(const std::function<bool()>& done, unsigned ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT)
                continue; // a test's form closing must not end the test's own loop
            if (forms::Form::preTranslate(m))
                continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

} // namespace testsupport
