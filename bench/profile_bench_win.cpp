// Ours against kernel32: the profile reads the catalog makes, timed in one
// process on the same generated files (run under wine on Linux):
//   wine build/win/bin/profile_bench_win.exe
// Prints, for each read, the median time per call of each side over several
// rounds and the ratio kernel32/ours (above 1: ours is faster).
#include <windows.h>

#include "catalog/profile.h"
#include "catalog/synthetic.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void ageFile(const std::string& path) {
    // Catalog files have been left alone for a while: both sides may then
    // keep what they parsed (kernel32 re-reads files changed in the last
    // two seconds, and so do we).
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= 36000000000ull; // one hour
    FILETIME old{t.LowPart, t.HighPart};
    SetFileTime(h, nullptr, nullptr, &old);
    CloseHandle(h);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Read {
    const char* name;
    unsigned long size;
    std::function<unsigned long(char*, const char*)> kernel, ours;
};

// Median microseconds per call over `rounds` rounds of `calls` calls, the two
// sides taking turns round by round.
void timeRead(const Read& r, const std::string& path, int rounds, int calls) {
    std::vector<char> kb(r.size), ob(r.size);
    const unsigned long kn = r.kernel(kb.data(), path.c_str());
    const unsigned long on = r.ours(ob.data(), path.c_str());
    const bool same = kn == on && std::memcmp(kb.data(), ob.data(), kn) == 0;
    std::vector<double> k, o;
    for (int round = 0; round < rounds; ++round) {
        auto t0 = Clock::now();
        for (int i = 0; i < calls; ++i)
            r.kernel(kb.data(), path.c_str());
        auto t1 = Clock::now();
        for (int i = 0; i < calls; ++i)
            r.ours(ob.data(), path.c_str());
        auto t2 = Clock::now();
        k.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count() / calls);
        o.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count() / calls);
    }
    const double km = median(k), om = median(o);
    std::printf("%-52s %10.2f %10.2f %8.1fx  %s\n", r.name, km, om, km / om,
                same ? "same result" : "RESULTS DIFFER");
}

// The first read of a file neither side has seen: a fresh aged copy per call.
void timeFirstRead(const Read& r, const std::string& source, const std::string& dir, int count) {
    std::vector<std::string> kc, oc;
    for (int i = 0; i < count; ++i) {
        kc.push_back(dir + "k" + std::to_string(i) + ".def");
        oc.push_back(dir + "o" + std::to_string(i) + ".def");
        CopyFileA(source.c_str(), kc.back().c_str(), FALSE);
        CopyFileA(source.c_str(), oc.back().c_str(), FALSE);
        ageFile(kc.back());
        ageFile(oc.back());
    }
    std::vector<char> buf(r.size);
    std::vector<double> k, o;
    for (int i = 0; i < count; ++i) {
        auto t0 = Clock::now();
        r.kernel(buf.data(), kc[i].c_str());
        auto t1 = Clock::now();
        r.ours(buf.data(), oc[i].c_str());
        auto t2 = Clock::now();
        k.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        o.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
    }
    for (int i = 0; i < count; ++i) {
        DeleteFileA(kc[i].c_str());
        DeleteFileA(oc[i].c_str());
    }
    const double km = median(k), om = median(o);
    std::printf("%-52s %10.2f %10.2f %8.1fx\n", (std::string("first read: ") + r.name).c_str(), km,
                om, km / om);
}

} // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir =
        std::string(temp) + "fl_profile_bench_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string wide = dir + "wide.def", deep = dir + "deep.def";
    if (!catalog::writeSyntheticCatalog(wide, 500, 100, 1) ||
        !catalog::writeSyntheticCatalog(deep, 70, 700, 2)) {
        std::fprintf(stderr, "cannot write the catalogs in %s\n", dir.c_str());
        return 1;
    }
    ageFile(wide);
    ageFile(deep);
    const std::string wideCategory = profile::sectionNames(wide, 65536)[250];
    const std::string deepCategory = profile::sectionNames(deep, 65536)[35];
    const std::string line = profile::sectionLines(wide, wideCategory, 31165)[50];
    const std::string entry = line.substr(0, line.find('='));

    const Read names{
        "section names, 500 categories (8192)", 8192,
        [](char* b, const char* p) { return ::GetPrivateProfileSectionNamesA(b, 8192, p); },
        [](char* b, const char* p) { return profile::GetPrivateProfileSectionNames(b, 8192, p); }};
    const Read wideSection{"one category, 4 KB (31165)", 31165,
                           [&](char* b, const char* p) {
                               return static_cast<unsigned long>(
                                   ::GetPrivateProfileSectionA(wideCategory.c_str(), b, 31165, p));
                           },
                           [&](char* b, const char* p) {
                               return profile::GetPrivateProfileSection(wideCategory.c_str(), b,
                                                                        31165, p);
                           }};
    const Read deepSection{"one category, 29 KB (31165)", 31165,
                           [&](char* b, const char* p) {
                               return static_cast<unsigned long>(
                                   ::GetPrivateProfileSectionA(deepCategory.c_str(), b, 31165, p));
                           },
                           [&](char* b, const char* p) {
                               return profile::GetPrivateProfileSection(deepCategory.c_str(), b,
                                                                        31165, p);
                           }};
    const Read value{"one link (256)", 256,
                     [&](char* b, const char* p) {
                         return static_cast<unsigned long>(::GetPrivateProfileStringA(
                             wideCategory.c_str(), entry.c_str(), nullptr, b, 256, p));
                     },
                     [&](char* b, const char* p) {
                         return profile::GetPrivateProfileString(wideCategory.c_str(),
                                                                 entry.c_str(), nullptr, b, 256, p);
                     }};

    std::printf("catalogs: %s (500 x 100), %s (70 x 700)\n", wide.c_str(), deep.c_str());
    std::printf("%-52s %10s %10s %9s\n", "read (buffer size)", "kernel32", "ours", "ratio");
    std::printf("%-52s %10s %10s\n", "", "us/call", "us/call");
    timeRead(names, wide, 21, 200);
    timeRead(wideSection, wide, 21, 200);
    timeRead(deepSection, deep, 21, 100);
    timeRead(value, wide, 21, 500);
    timeFirstRead(names, wide, dir, 11);
    timeFirstRead(deepSection, deep, dir, 11);

    DeleteFileA(wide.c_str());
    DeleteFileA(deep.c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
