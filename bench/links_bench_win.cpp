// The link manager's window with a full queue of 32,767 links, under wine:
//   wine build/win/bin/links_bench_win.exe   (needs a display: xvfb-run)
// Prints the time of: loading the window with the queue file, the first
// tidying pass (no repeats), an idle tick, a pass after 1,000 repeated links
// were added, and saving the queue when the window closes.
#include "tests/support/fakes.h"
#include "links/frmDDLManager.h"
#include "links/pure/link_queue.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

double ms(const std::function<void()>& run) {
    auto start = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Main : public forms::Form {
  public:
    Main() : Form("frmBenchMain", "Main") {}
    forms::ListBox lstBlacklist{*this, "lstBlacklist"};
};

} // namespace

int main() {
    testsupport::TempFolder dir;
    testsupport::FakeServices fakes;
    fakes.environment.applicationFolder = dir.path();
    std::vector<std::string> many;
    for (std::size_t i = 0; i < links::kMaxLinks; ++i)
        many.push_back("http://downloads.example.org/apps/" + std::to_string(i) + "/setup.exe");
    dir.write("Data\\FLLinks.ddl", links::formatQueue(many));

    Main main;
    links::frmDDLManager f(fakes.services, {main.lstBlacklist});
    // No message is pumped below: the timer's passes run only when fired here.
    std::printf("32,767 links\n");
    std::printf("load (window, file, list)     %9.1f ms\n", ms([&] { f.Load(); }));
    std::printf("first pass, no repeats        %9.1f ms\n", ms([&] { f.Timer1.fire(); }));
    unsigned long passes = f.tidyPasses();
    std::printf("idle tick                     %9.4f ms (list read: %s)\n",
                ms([&] { f.Timer1.fire(); }), f.tidyPasses() == passes ? "no" : "yes");
    for (int i = 0; i < 1000; ++i)
        f.lstDDLManager.AddItem(many[static_cast<std::size_t>(i) * 7], i * 30);
    const double repeatsPass = ms([&] { f.Timer1.fire(); });
    std::printf("pass after 1,000 repeats      %9.1f ms (%d links left)\n", repeatsPass,
                f.lstDDLManager.ListCount());
    f.lstDDLManager.AddItem(many[5]);
    std::printf("pass after 1 repeat appended  %9.1f ms\n", ms([&] { f.Timer1.fire(); }));
    std::printf("save on close                 %9.1f ms\n", ms([&] { f.Unload(); }));
    return dir.read("Data\\FLLinks.ddl") == links::formatQueue(many) ? 0 : 1;
}
