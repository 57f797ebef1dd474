// The entry lists' sort and search on 32,767 items in a real list box, run
// under wine on a display:
//   xvfb-run -a wine build/win/bin/browse_bench_win.exe
// Prints medians: our sort with the list's refill, the first described
// quadratic insertion into the list (measured on smaller lists, as it grows
// with the square of the count), and one search step from the top to a hit
// on the last entry.
#include "app/pure/search_sort.h"
#include "app/search_sort.h"
#include "forms/controls.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

class BenchForm : public forms::Form {
  public:
    BenchForm() : Form("frmBrowseBench", "Bench") {}
    forms::ListBox list{*this, "list"};
    forms::TextBox box{*this, "box"};
};

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
        .count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<std::string> names(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    const char* words[] = {"Video", "audio", "Zip", "pdf", "Editor", "tool", "Player", "Suite"};
    std::vector<std::string> v;
    for (size_t i = 0; i < n; ++i)
        v.push_back(std::string(words[rng() % 8]) + " " + std::to_string(rng() % 100000) +
                    (rng() % 3 ? " (x64)" : ""));
    return v;
}

// The insertion first described: each item goes before the first item of the
// list that compares greater, scanning the list box from the top.
void describedSort(HWND list, const std::vector<std::string>& items) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    std::string buf;
    for (const std::string& item : items) {
        int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        int at = 0;
        for (; at < count; ++at) {
            buf.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, at, 0)) + 1);
            int n = static_cast<int>(
                SendMessageA(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(buf.data())));
            if (app::ordinalLess(item, buf.substr(0, static_cast<size_t>(n))))
                break;
        }
        SendMessageA(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

} // namespace

int main() {
    BenchForm f;
    f.Load();
    const size_t n = 32767;

    std::vector<double> sorts;
    for (unsigned run = 0; run < 7; ++run) {
        f.list.setItems(names(n, run));
        auto t0 = std::chrono::steady_clock::now();
        app::Liste_Sortieren(f.list);
        sorts.push_back(msSince(t0));
    }
    std::printf("sort of %zu items with the list's refill: median %.1f ms\n", n, median(sorts));

    for (size_t small : {250u, 500u}) {
        std::vector<std::string> items = names(small, 99);
        auto t0 = std::chrono::steady_clock::now();
        describedSort(f.list.hwnd(), items);
        double ms = msSince(t0);
        double scaled = ms * (double(n) / small) * (double(n) / small);
        std::printf("described insertion of %zu items: %.1f ms (about %.0f s at %zu)\n", small, ms,
                    scaled / 1000, n);
    }

    std::vector<std::string> entries(n, "Some Application 1.0");
    entries.back() = "The Needle";
    f.list.setItems(entries);
    std::vector<double> steps;
    for (int run = 0; run < 15; ++run) {
        f.list.setListIndex(-1);
        f.box.setText("needle");
        f.box.Tag = "-1";
        auto t0 = std::chrono::steady_clock::now();
        app::searchBoxKeyPress(f.box, f.list);
        steps.push_back(msSince(t0));
        if (f.list.ListIndex() != static_cast<int>(n) - 1)
            std::printf("search did not find the last entry\n");
    }
    std::printf("search step from the top to a hit on entry %zu: median %.2f ms\n", n - 1,
                median(steps));
    f.Unload();
    return 0;
}
