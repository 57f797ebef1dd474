// The real Fetchlets.exe started on Data folders that a careless editor, a
// broken download or a hostile user could leave behind: each must start, show
// its window, survive every list being clicked and keep answering.
//
// The cases are sized to run in a few seconds each. Set FL_HOSTILE_LONG=1 for
// the long variant: bigger files and more seeds of random junk.
#include "tests/support/fakes.h"
#include "tests/support/windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

using testsupport::pumpUntil;
using testsupport::TempFolder;

namespace {

bool longVariant() {
    char value[8] = {};
    return GetEnvironmentVariableA("FL_HOSTILE_LONG", value, sizeof value) > 0 && value[0] == '1';
}

// Scales a size for the long variant.
size_t sized(size_t n) {
    return longVariant() ? n * 10 : n;
}

using Files = std::map<std::string, std::string>; // Data file name -> bytes

const char* const kCatalogs[] = {"FLApps.def", "FLPortable.def", "FLSlim.def", "FLSpecial.def",
                                 "FLPages.def"};

// The same bytes in every catalog file.
Files everyCatalog(const std::string& bytes) {
    Files f;
    for (const char* name : kCatalogs)
        f[name] = bytes;
    return f;
}

std::string junk(std::uint64_t seed, size_t n) {
    std::string s(n, '\0');
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (char& c : s) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

// UTF-16 of a UTF-8 text (plain code points only), little or big endian.
std::string utf16(const std::wstring& text, bool bigEndian) {
    std::string out;
    for (wchar_t c : text) {
        const auto u = static_cast<unsigned>(c) & 0xFFFF;
        out += static_cast<char>(bigEndian ? u >> 8 : u & 0xFF);
        out += static_cast<char>(bigEndian ? u & 0xFF : u >> 8);
    }
    return out;
}

struct HostileCase {
    std::string name;
    std::function<Files()> files;
    bool closeNormally = false;
};

std::vector<HostileCase> hostileCases() {
    std::vector<HostileCase> cases;
    cases.push_back({"VeryLongNames",
                     [] {
                         // The first Special category starts the program on it.
                         std::string longCat = std::string(sized(600), 'C');
                         std::string text = "[" + longCat + "]\r\n" + std::string(sized(700), 'E') +
                                            "=http://x\r\n[" + std::string(sized(5000), 'D') +
                                            "]\r\n" + std::string(sized(40000), 'F') + "=y\r\n";
                         Files f = everyCatalog(text);
                         f["FLSpecial.def"] = "[Special - Windows Starter Kit " +
                                              std::string(sized(900), 'S') + "]\r\n" +
                                              std::string(sized(1000), 'K') + "=" +
                                              std::string(sized(100000), 'L') + "\r\n" + text;
                         return f;
                     },
                     true});
    cases.push_back({"VeryLongHeaderLines", [] {
                         std::string h(sized(200000), 'h');
                         return everyCatalog("[" + h + "\r\n[" + h + "]\r\n" + h + "=" + h +
                                             "\r\n[short]\r\nx=y\r\n");
                     }});
    cases.push_back({"BinaryJunk", [] {
                         Files f;
                         std::uint64_t seed = 1;
                         for (const char* name : kCatalogs)
                             f[name] = junk(seed++, sized(256 * 1024));
                         f["FLBlacklist.def"] = junk(seed++, sized(64 * 1024));
                         f["FLSignatures.ddl"] = junk(seed++, sized(64 * 1024));
                         f["Fetchlets.ini"] = junk(seed++, sized(64 * 1024));
                         return f;
                     }});
    cases.push_back({"NulBytes", [] {
                         using namespace std::string_literals;
                         return everyCatalog("\0\0[Cat\0egory]\r\nNa\0me=li\0nk\r\n\0=\0\r\n"
                                             "[\0]\r\n=\r\n=\r\n[Next]\r\nA=b\r\n\0"s +
                                             std::string(sized(4096), '\0'));
                     }});
    cases.push_back({"HundredThousandCategories", [] {
                         std::string text;
                         const size_t n = sized(100000);
                         text.reserve(n * 40);
                         for (size_t i = 0; i < n; ++i)
                             text += "[Category " + std::to_string(i) + "]\r\nEntry " +
                                     std::to_string(i) + "=http://example.org/" +
                                     std::to_string(i) + "\r\n";
                         return everyCatalog(text);
                     }});
    cases.push_back({"HugeBlacklistAndSettingsLines", [] {
                         Files f = everyCatalog("[A]\r\nB=c\r\n");
                         f["FLBlacklist.def"] = std::string(sized(2000000), 'b');
                         f["FLSignatures.ddl"] = std::string(sized(2000000), 's') + "\r\n";
                         std::string v(sized(100000), '9');
                         f["Fetchlets.ini"] = "[frmMain]\r\nLeft=" + v + "\r\nTop=" + v +
                                              "\r\nWidth=" + v + "\r\nHeight=" + v + "\r\n" + v +
                                              "=" + v + "\r\n";
                         return f;
                     }});
    cases.push_back({"Utf16Files",
                     [] {
                         const std::wstring text =
                             L"[Категория \x4E2D\x6587]\r\nЗапись=http://пример\r\n"
                             L"[Special - Recommendations]\r\nR=r\r\n"
                             L"[Broken \xD800 surrogate]\r\nX\xDC00=y\r\n";
                         Files f;
                         f["FLApps.def"] = "\xFF\xFE" + utf16(text, false);
                         f["FLPortable.def"] = "\xFE\xFF" + utf16(text, true);
                         f["FLSlim.def"] = utf16(text, false); // no byte-order mark
                         f["FLSpecial.def"] = "\xFF\xFE" + utf16(text, false) + "\x41"; // odd
                         f["FLPages.def"] = "\xEF\xBB\xBF[\xF0\x9F\x98\x80]\r\n\xFF=\xFE\r\n";
                         f["FLBlacklist.def"] = "\xFF\xFE" + utf16(L"bad\r\nlines\r\n", false);
                         return f;
                     },
                     true});
    cases.push_back({"EmptyFilesAndFoldersInTheirPlace", [] {
                         Files f;
                         f["FLApps.def"] = "";
                         f["FLPortable.def\\"] = ""; // a folder where the file should be
                         f["FLSlim.def"] = "\r\n\r\n[";
                         f["FLSpecial.def\\"] = "";
                         f["FLPages.def"] = "]";
                         f["FLBlacklist.def\\"] = "";
                         f["Fetchlets.ini\\"] = "";
                         return f;
                     }});
    if (longVariant())
        for (std::uint64_t seed = 100; seed < 120; ++seed)
            cases.push_back({"RandomJunk" + std::to_string(seed), [seed] {
                                 Files f;
                                 std::uint64_t s = seed * 10;
                                 for (const char* name : kCatalogs) {
                                     std::string j = junk(s++, 4 * 1024 * 1024);
                                     // Mostly printable with line breaks: parses as profile lines.
                                     for (char& c : j)
                                         if (static_cast<unsigned char>(c) % 7 == 0)
                                             c = static_cast<unsigned char>(c) % 2 ? '\n' : '[';
                                     f[name] = j;
                                 }
                                 return f;
                             }});
    return cases;
}

std::string testFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

HWND mainWindowOf(DWORD pid) {
    const std::vector<HWND> shown = testsupport::windowsOf(pid, "frmMain", true);
    return shown.empty() ? nullptr : shown.front();
}

std::vector<HWND> listBoxesOf(HWND main) {
    std::vector<HWND> lists;
    EnumChildWindows(
        main,
        [](HWND h, LPARAM lp) -> BOOL {
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (lstrcmpiA(cls, "ListBox") == 0)
                reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&lists));
    return lists;
}

// Whether the window's thread takes a message within the time limit. (Not
// SMTO_ABORTIFHUNG: a thread that has not looked at its messages for five
// seconds counts as hung at once, and a long start-up on a busy machine can
// take that long.)
bool answers(HWND h, UINT ms = 20000) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

// Chooses an item of a list as a user's click does: the selection moves and
// the list's parent is told.
bool choose(HWND list, int index) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 20000,
                             &r))
        return false;
    return SendMessageTimeoutA(GetParent(list), WM_COMMAND,
                               MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(list), SMTO_NORMAL, 20000, &r) != 0;
}

int countOf(HWND list) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 20000, &r))
        return -1;
    return static_cast<int>(static_cast<LRESULT>(r));
}

bool running(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

class HostileCatalogs : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileCatalogs, StartAndStayUp) {
    const std::string exe = testFolder() + "Fetchlets.exe";
    ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES);
    TempFolder folder;
    ASSERT_TRUE(CopyFileA(exe.c_str(), (folder.path() + "Fetchlets.exe").c_str(), FALSE));
    CreateDirectoryA((folder.path() + "Data").c_str(), nullptr);
    for (const auto& [name, bytes] : GetParam().files()) {
        if (name.back() == '\\')
            CreateDirectoryA((folder.path() + "Data\\" + name).c_str(), nullptr);
        else
            folder.write("Data\\" + name, bytes);
    }

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + folder.path() + "Fetchlets.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.path().c_str(), &si, &pi));
    struct Ending {
        PROCESS_INFORMATION& pi;
        ~Ending() {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 10000);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    } ending{pi};

    HWND main = nullptr;
    ASSERT_TRUE(pumpUntil(
        [&] { return !running(pi.hProcess) || (main = mainWindowOf(pi.dwProcessId)) != nullptr; },
        60000))
        << "no window within a minute";
    ASSERT_TRUE(running(pi.hProcess)) << "ended during start-up";
    ASSERT_TRUE(answers(main));

    // Every list, twice over (choosing a category fills its entry list):
    // the first, the second and the last item.
    const std::vector<HWND> lists = listBoxesOf(main);
    ASSERT_FALSE(lists.empty());
    for (int pass = 0; pass < 2; ++pass)
        for (HWND list : lists) {
            const int n = countOf(list);
            ASSERT_GE(n, 0) << "a list stopped answering";
            for (int index : {0, 1, n - 1}) {
                if (index >= 0 && index < n) {
                    ASSERT_TRUE(choose(list, index)) << "stopped answering after a choice";
                }
            }
        }
    testsupport::pumpMessages(300); // the program's timers run meanwhile
    ASSERT_TRUE(running(pi.hProcess)) << "ended after the lists were used";
    EXPECT_TRUE(answers(main));

    // It still closes normally (checked for a few cases only: a close takes
    // a few seconds under Wine; the others are ended).
    if (GetParam().closeNormally) {
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    }
}

INSTANTIATE_TEST_SUITE_P(Data, HostileCatalogs, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             return info.param.name;
                         });

} // namespace
