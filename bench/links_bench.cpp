// The link queue's rules on a full queue of 32,767 links, natively:
//   build/native/bin/links_bench
// Prints the median of 21 rounds for: one tidy pass without repeats, one with
// every third link a repeat, reading and writing the queue file's text.
#include "links/pure/link_queue.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double medianMs(const std::function<void()>& setup, const std::function<void()>& run) {
    std::vector<double> times;
    for (int round = 0; round < 21; ++round) {
        setup();
        auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::vector<std::string> fullQueue(bool repeats) {
    std::vector<std::string> q;
    for (std::size_t i = 0; i < links::kMaxLinks; ++i) {
        std::size_t n = repeats && i % 3 == 2 ? i / 3 : i;
        q.push_back("http://downloads.example.org/apps/" + std::to_string(n) + "/setup.exe");
    }
    return q;
}

} // namespace

int main() {
    const auto unique = fullQueue(false);
    const auto repeated = fullQueue(true);
    std::vector<std::string> work;
    std::string text;

    std::printf("32,767 links, median of 21 rounds\n");
    std::printf("tidy pass, no repeats        %8.3f ms\n",
                medianMs([&] { work = unique; }, [&] { links::tidyQueue(work); }));
    std::printf("tidy pass, 1 in 3 repeated   %8.3f ms\n",
                medianMs([&] { work = repeated; }, [&] { links::tidyQueue(work); }));
    std::printf("format the file text         %8.3f ms\n",
                medianMs([] {}, [&] { text = links::formatQueue(unique); }));
    std::printf("parse the file text          %8.3f ms\n",
                medianMs([&] { work = {}; }, [&] { work = links::parseQueue(text).links; }));
    return work.size() == unique.size() ? 0 : 1;
}
