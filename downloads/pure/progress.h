// The numbers a download row shows: speed over the last seconds, time left,
// sizes, and the overall progress of every running download.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace downloads {

// Bytes a second over a sliding window of recent samples, so that the speed
// follows changes within a few seconds without jumping at every sample.
class SpeedMeter {
  public:
    explicit SpeedMeter(std::uint64_t windowMs = 3000) : windowMs_(windowMs) {}
    // The byte count received so far at a moment (milliseconds, any origin).
    void sample(std::uint64_t ms, std::uint64_t bytes);
    // 0 until two samples at least 200 ms apart are known.
    double bytesPerSecond() const;
    void reset() { samples_.clear(); }

  private:
    std::uint64_t windowMs_;
    std::deque<std::pair<std::uint64_t, std::uint64_t>> samples_;
};

// Whole seconds left at `speed`, rounded up; -1 when it cannot be told (no
// known total, or no speed yet).
std::int64_t secondsLeft(std::uint64_t received, std::int64_t total, double speed);

// 1024-based sizes as Explorer shows them: "0 bytes", "980 bytes", "1.5 KB",
// "12.3 MB", "1.20 GB".
std::string formatSize(std::uint64_t bytes);
// "3.2 MB of 10.0 MB", or only the received size when the total is unknown.
std::string formatProgress(std::uint64_t received, std::int64_t total);
// "850 KB/s", "12.4 MB/s"; empty for no speed.
std::string formatSpeed(double bytesPerSecond);
// "8 s", "2 min 05 s", "1 h 04 min"; empty for -1.
std::string formatTimeLeft(std::int64_t seconds);
// Percent 0-100 of received against total; -1 when the total is unknown.
int percentOf(std::uint64_t received, std::int64_t total);

// The overall progress of several running downloads (received, total),
// percent 0-100; -1 when no download has a known total.
int overallPercent(const std::vector<std::pair<std::uint64_t, std::int64_t>>& running);

} // namespace downloads
