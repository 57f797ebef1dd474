#include "downloads/pure/progress.h"

#include <gtest/gtest.h>

using namespace downloads;

TEST(Progress, SpeedOverASlidingWindow) {
    SpeedMeter m(3000);
    EXPECT_EQ(m.bytesPerSecond(), 0);
    m.sample(1000, 0);
    m.sample(1100, 50000);
    EXPECT_EQ(m.bytesPerSecond(), 0); // too short a span to tell
    m.sample(2000, 1000000);
    EXPECT_DOUBLE_EQ(m.bytesPerSecond(), 1000000.0);
    // The rate drops; after the window has passed, the old fast second is forgotten.
    for (std::uint64_t t = 3000; t <= 6000; t += 1000)
        m.sample(t, 1000000 + (t - 2000) * 100);
    EXPECT_NEAR(m.bytesPerSecond(), 100000.0, 1.0);
    // A restarted transfer (count back at zero) starts a new measurement.
    m.sample(7000, 0);
    EXPECT_EQ(m.bytesPerSecond(), 0);
}

TEST(Progress, TimeLeftAndTexts) {
    EXPECT_EQ(secondsLeft(0, 1000, 300), 4); // rounded up
    EXPECT_EQ(secondsLeft(1000, 1000, 300), 0);
    EXPECT_EQ(secondsLeft(10, -1, 300), -1);
    EXPECT_EQ(secondsLeft(10, 100, 0), -1);
    EXPECT_EQ(formatTimeLeft(8), "8 s");
    EXPECT_EQ(formatTimeLeft(125), "2 min 05 s");
    EXPECT_EQ(formatTimeLeft(3840), "1 h 04 min");
    EXPECT_EQ(formatTimeLeft(-1), "");
    EXPECT_EQ(formatSize(0), "0 bytes");
    EXPECT_EQ(formatSize(1023), "1023 bytes");
    EXPECT_EQ(formatSize(1536), "1.50 KB");
    EXPECT_EQ(formatSize(3 * 1024 * 1024 + 17), "3.00 MB");
    EXPECT_EQ(formatSize(12900000), "12.3 MB");
    EXPECT_EQ(formatSize(104857600), "100 MB");
    EXPECT_EQ(formatSize(1288490188ull), "1.19 GB"); // never rounded up past what arrived
    EXPECT_EQ(formatProgress(1536, 3 * 1024 * 1024), "1.50 KB of 3.00 MB");
    EXPECT_EQ(formatProgress(1536, -1), "1.50 KB");
    EXPECT_EQ(formatSpeed(870400), "850 KB/s");
    EXPECT_EQ(formatSpeed(0), "");
}

TEST(Progress, PercentAndOverall) {
    EXPECT_EQ(percentOf(0, 100), 0);
    EXPECT_EQ(percentOf(99, 100), 99); // not 100 until everything arrived
    EXPECT_EQ(percentOf(5, 0), 100);
    EXPECT_EQ(percentOf(5, -1), -1);
    // Bytes weigh, not downloads: 10 of 100 and 90 of 100 make 50 %.
    EXPECT_EQ(overallPercent({{10, 100}, {90, 100}}), 50);
    EXPECT_EQ(overallPercent({{10, 100}, {5000, -1}}), 10); // unknown sizes are left out
    EXPECT_EQ(overallPercent({{5000, -1}}), -1);
    EXPECT_EQ(overallPercent({}), -1);
}
