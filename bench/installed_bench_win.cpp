// Reading the installed applications: 5,000 product keys written below the
// machine's uninstall list of the running prefix, read by getAllKeys into a
// real sorted list, then removed again. Run under wine with a display:
//   scripts/build win && xvfb-run -a wine build/win/bin/installed_bench_win.exe [count] [runs]
#include "app/installed.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class Host : public forms::Form {
  public:
    Host() : Form("frmInstalledBench", "Installed bench") {}
    forms::PageStack SSTab1{*this, "SSTab1", {"0", "1", "2", "3", "4", "5", "6", "7"}};
    forms::PageStack SSTab2{*this, "SSTab2", {"0", "1", "2"}};
    forms::ListBox lstSoftware{*this, "lstSoftware", {.sorted = true}};
};

std::string keyName(int i) {
    char b[64];
    std::snprintf(b, sizeof b, "FLBench-%05d", i);
    return b;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    HKEY list = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstall, 0, nullptr, 0,
                        KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &list,
                        nullptr) != ERROR_SUCCESS) {
        std::printf("cannot open the uninstall list\n");
        return 1;
    }
    // Names like real ones: a product, a version and a platform, a few sharing one.
    for (int i = 0; i < count; ++i) {
        HKEY k = nullptr;
        RegCreateKeyExA(list, keyName(i).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                        nullptr);
        char name[128];
        std::snprintf(name, sizeof name, "Bench Product %d %d.%02d (x64)", (i * 7919) % count,
                      i % 13, i % 100);
        if (i % 50 != 0) // a few without a display name
            RegSetValueExA(k, "DisplayName", 0, REG_SZ, reinterpret_cast<BYTE*>(name),
                           static_cast<DWORD>(strlen(name) + 1));
        RegSetValueExA(k, "Publisher", 0, REG_SZ, reinterpret_cast<const BYTE*>("Bench"), 6);
        RegCloseKey(k);
    }

    std::vector<double> ms;
    int listed = 0;
    for (int r = 0; r < runs; ++r) {
        Host host;
        host.Load();
        app::InstalledApps installed(platform::systemServices(),
                                     {host, host.lstSoftware, host.SSTab1, host.SSTab2});
        auto t0 = std::chrono::steady_clock::now();
        installed.getAllKeys();
        installed.closeRegKey(installed.key());
        auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        listed = host.lstSoftware.ListCount();
        host.Unload();
    }

    // The registry's share: the same reads without a list to fill.
    std::vector<double> readMs;
    for (int r = 0; r < runs; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        app::InstalledNames names;
        platform::Registry& reg = platform::systemRegistry();
        HKEY root = nullptr;
        reg.openKey(HKEY_LOCAL_MACHINE, kUninstall, KEY_WOW64_64KEY, root);
        for (unsigned long i = 0;; ++i) {
            char name[256];
            unsigned long length = 255;
            if (reg.enumKey(root, i, name, length) != ERROR_SUCCESS)
                break;
            HKEY product = nullptr;
            if (reg.openKey(root, std::string(name, length), KEY_WOW64_64KEY, product) != 0)
                continue;
            unsigned char value[255] = {};
            unsigned long size = sizeof value;
            if (reg.queryValue(product, "DisplayName", value, size) == ERROR_SUCCESS)
                names.add(app::displayNameFromBuffer(value, size));
            reg.closeKey(product);
        }
        reg.closeKey(root);
        auto t1 = std::chrono::steady_clock::now();
        readMs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(readMs.begin(), readMs.end());
    std::printf("registry reads alone (one view): min %.1f ms, median %.1f ms\n", readMs.front(),
                readMs[readMs.size() / 2]);

    for (int i = 0; i < count; ++i)
        RegDeleteKeyA(list, keyName(i).c_str());
    RegCloseKey(list);

    std::sort(ms.begin(), ms.end());
    std::printf("%d subkeys, %d names listed; getAllKeys + fill over %d runs: min %.1f ms, "
                "median %.1f ms, max %.1f ms\n",
                count, listed, runs, ms.front(), ms[ms.size() / 2], ms.back());
    return 0;
}
