#include "downloads/pure/progress.h"

#include <cmath>
#include <cstdio>

namespace downloads {

void SpeedMeter::sample(std::uint64_t ms, std::uint64_t bytes) {
    if (!samples_.empty() && (ms < samples_.back().first || bytes < samples_.back().second))
        samples_.clear(); // the clock or the count went back: a new transfer
    samples_.emplace_back(ms, bytes);
    while (samples_.size() > 2 && ms - samples_[1].first >= windowMs_)
        samples_.pop_front();
}

double SpeedMeter::bytesPerSecond() const {
    if (samples_.size() < 2)
        return 0;
    auto [t0, b0] = samples_.front();
    auto [t1, b1] = samples_.back();
    if (t1 - t0 < 200)
        return 0;
    return static_cast<double>(b1 - b0) * 1000.0 / static_cast<double>(t1 - t0);
}

std::int64_t secondsLeft(std::uint64_t received, std::int64_t total, double speed) {
    if (total < 0 || speed <= 0)
        return -1;
    if (received >= static_cast<std::uint64_t>(total))
        return 0;
    double left = static_cast<double>(static_cast<std::uint64_t>(total) - received) / speed;
    return static_cast<std::int64_t>(std::ceil(left));
}

std::string formatSize(std::uint64_t bytes) {
    char buf[32];
    if (bytes < 1024) {
        std::snprintf(buf, sizeof buf, "%llu bytes", static_cast<unsigned long long>(bytes));
        return buf;
    }
    static const char* units[] = {"KB", "MB", "GB", "TB"};
    double v = static_cast<double>(bytes) / 1024.0;
    int u = 0;
    while (v >= 1024.0 && u < 3) {
        v /= 1024.0;
        ++u;
    }
    // Three significant digits at most, as Explorer shows them.
    if (v < 10)
        std::snprintf(buf, sizeof buf, "%.2f %s", std::floor(v * 100) / 100, units[u]);
    else if (v < 100)
        std::snprintf(buf, sizeof buf, "%.1f %s", std::floor(v * 10) / 10, units[u]);
    else
        std::snprintf(buf, sizeof buf, "%.0f %s", std::floor(v), units[u]);
    return buf;
}

std::string formatProgress(std::uint64_t received, std::int64_t total) {
    if (total < 0)
        return formatSize(received);
    return formatSize(received) + " of " + formatSize(static_cast<std::uint64_t>(total));
}

std::string formatSpeed(double bytesPerSecond) {
    if (bytesPerSecond <= 0)
        return {};
    return formatSize(static_cast<std::uint64_t>(bytesPerSecond)) + "/s";
}

std::string formatTimeLeft(std::int64_t s) {
    if (s < 0)
        return {};
    char buf[32];
    if (s < 60)
        std::snprintf(buf, sizeof buf, "%lld s", static_cast<long long>(s));
    else if (s < 3600)
        std::snprintf(buf, sizeof buf, "%lld min %02lld s", static_cast<long long>(s / 60),
                      static_cast<long long>(s % 60));
    else
        std::snprintf(buf, sizeof buf, "%lld h %02lld min", static_cast<long long>(s / 3600),
                      static_cast<long long>((s % 3600) / 60));
    return buf;
}

int percentOf(std::uint64_t received, std::int64_t total) {
    if (total < 0)
        return -1;
    if (total == 0 || received >= static_cast<std::uint64_t>(total))
        return 100;
    return static_cast<int>(received * 100 / static_cast<std::uint64_t>(total));
}

int overallPercent(const std::vector<std::pair<std::uint64_t, std::int64_t>>& running) {
    std::uint64_t got = 0, all = 0;
    bool known = false;
    for (auto [received, total] : running) {
        if (total < 0)
            continue;
        known = true;
        got += received < static_cast<std::uint64_t>(total) ? received
                                                            : static_cast<std::uint64_t>(total);
        all += static_cast<std::uint64_t>(total);
    }
    if (!known)
        return -1;
    return all == 0 ? 100 : static_cast<int>(got * 100 / all);
}

} // namespace downloads
