#include "ui/pure/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::map<std::string, ui::Rect> byName(const std::vector<ui::Placement>& v) {
    std::map<std::string, ui::Rect> m;
    for (const auto& p : v)
        m[p.control] = p.rect;
    return m;
}

} // namespace

TEST(Layout, EveryControlOnAPageIsPlacedInsideItsStack) {
    auto rects = byName(ui::mainWindowLayout(10800, 8085));
    const ui::Rect inner = rects.at("SSTab2");
    std::set<std::string> seen;
    for (const ui::PagePlace& p : ui::kPagePlaces) {
        EXPECT_TRUE(seen.insert(p.control).second) << p.control << " placed twice";
        ASSERT_TRUE(rects.count(p.control)) << p.control;
        const ui::Rect& r = rects.at(p.control);
        int w = p.stack == ui::Stack::Outer ? 10800 : inner.width;
        int h = p.stack == ui::Stack::Outer ? 8085 : inner.height;
        EXPECT_GE(r.left, 0) << p.control;
        EXPECT_GE(r.top, 0) << p.control;
        EXPECT_LE(r.left + r.width, w) << p.control;
        EXPECT_LE(r.top + r.height, h) << p.control;
    }
}

TEST(Layout, ListsGrowWithTheWindowAndDownloadButtonsStayBelowThem) {
    auto small = byName(ui::mainWindowLayout(10800, 8085));
    auto large = byName(ui::mainWindowLayout(16200, 12000));
    for (const char* list : {"lstApps", "lstPortable", "lstSlim", "lstPages"}) {
        EXPECT_GT(large.at(list).width, small.at(list).width) << list;
        EXPECT_GT(large.at(list).height, small.at(list).height) << list;
    }
    for (auto* rects : {&small, &large}) {
        const ui::Rect& list = rects->at("lstApps");
        EXPECT_LE(list.top + list.height, rects->at("cmdDownload").top);
        EXPECT_EQ(rects->at("cmdDownload").top, rects->at("cmdDownloadFromPage").top);
    }
}
