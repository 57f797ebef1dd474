#include "ui/pure/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

using ui::Field;
using ui::Rect;
using Rects = std::map<std::string, Rect>;

Rects design() {
    Rects m;
    for (const auto& p : ui::designLayout())
        m[p.control] = p.rect;
    return m;
}

void applyRule(Rects& rects, const std::vector<ui::Assignment>& rule) {
    for (const auto& a : rule) {
        Rect& r = rects.at(a.control);
        (a.field == Field::Left    ? r.left
         : a.field == Field::Top   ? r.top
         : a.field == Field::Width ? r.width
                                   : r.height) = a.value;
    }
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

int valueOf(const std::vector<ui::Assignment>& rule, const std::string& c, Field f) {
    for (const auto& a : rule)
        if (a.control == c && a.field == f)
            return a.value;
    return -1;
}

// Outer window size of the design client area with a usual frame and caption.
constexpr int kW = ui::kDesignClientWidth + 240, kH = ui::kDesignClientHeight + 450;

} // namespace

TEST(Layout, AtTheDesignSizeEveryControlSitsInsideTheVisiblePageAndNothingOverlaps) {
    Rects rects = design();
    applyRule(rects, ui::resizeRule(kW, kH));
    const Rect inner = rects.at("SSTab2");
    // What the window shows of each stack: beside the toolbar, above the status bar.
    const int outerW = ui::kDesignClientWidth - ui::kPagesLeft,
              outerH = ui::kDesignClientHeight - 360;
    std::set<std::string> seen;
    for (const ui::PagePlace& p : ui::kPagePlaces) {
        EXPECT_TRUE(seen.insert(p.control).second) << p.control << " placed twice";
        ASSERT_TRUE(rects.count(p.control)) << p.control;
        if (p.control == std::string("SSTab2"))
            continue;
        const Rect& r = rects.at(p.control);
        const bool in = p.stack == ui::Stack::Inner;
        const int w = in ? outerW - inner.left : outerW, h = in ? outerH - inner.top : outerH;
        EXPECT_GE(r.left, 0) << p.control;
        EXPECT_GE(r.top, in ? 330 : 330) << p.control << " under the tabs";
        EXPECT_LE(r.left + r.width, w) << p.control;
        EXPECT_LE(r.top + r.height, h) << p.control;
        for (const ui::PagePlace& q : ui::kPagePlaces) {
            if (&q <= &p || q.stack != p.stack || q.page != p.page)
                continue;
            // The two Special banners take turns at one place.
            std::set<std::string> pair{p.control, q.control};
            if (pair == std::set<std::string>{"ImgRecommendations", "ImgStarterKit"})
                continue;
            EXPECT_FALSE(overlap(r, rects.at(q.control))) << p.control << " and " << q.control;
        }
    }
}

TEST(Layout, TheRuleAtTheStartSizeGivesTheDesignRectangles) {
    Rects rects = design();
    const Rects before = rects;
    applyRule(rects, ui::resizeRule(ui::kDesignClientWidth + 240, ui::kStartHeight));
    EXPECT_EQ(rects.size(), before.size());
    for (const auto& [name, r] : before)
        EXPECT_EQ(rects.at(name), r) << name;
}

TEST(Layout, ALargeWindowStretchesAndMovesTheNamedControlsInOrder) {
    const auto rule = ui::resizeRule(20000, 12000, 0);
    ASSERT_FALSE(rule.empty());
    EXPECT_EQ(rule.front(), (ui::Assignment{"SSTab1", Field::Width, 20000}));
    EXPECT_EQ(rule[1], (ui::Assignment{"SSTab1", Field::Height, 12200}));
    EXPECT_EQ(rule.back(), (ui::Assignment{"txtCredits", Field::Width, 16000}));
    EXPECT_EQ(valueOf(rule, "SSTab2", Field::Height), 12200);
    EXPECT_EQ(valueOf(rule, "cmdFeedback", Field::Left), 14100);
    EXPECT_EQ(valueOf(rule, "ImgUpdate", Field::Top), 10400);
    EXPECT_EQ(valueOf(rule, "ImgTwitter", Field::Left), 16500);
    EXPECT_EQ(valueOf(rule, "ImgFacebook", Field::Left), 17100);
    for (const char* list : {"lstCat", "lstApps", "lstCatPortable", "lstPortable", "lstCatSlim",
                             "lstSlim", "lstSpecial", "lstCatPages", "lstPages", "lstSoftware"})
        EXPECT_EQ(valueOf(rule, list, Field::Height), 9750) << list;
    EXPECT_EQ(valueOf(rule, "lstCatSpecial", Field::Height), -1) << "keeps its design size";
    EXPECT_EQ(valueOf(rule, "lstApps", Field::Width), 13550);
    EXPECT_EQ(valueOf(rule, "lstSpecial", Field::Width), 17390);
    EXPECT_EQ(valueOf(rule, "lstSoftware", Field::Width), 17400);
    EXPECT_EQ(valueOf(rule, "txtSlimSearch", Field::Width), 12800);
    EXPECT_EQ(valueOf(rule, "lblPages", Field::Width), 12800);
    for (const char* b : {"cmdDownload", "cmdDownloadFromPage", "cmdDownloadPortableFromPage",
                          "cmdDownloadSlim", "cmdDownloadSpecialFromPage", "cmdVisitPage"})
        EXPECT_EQ(valueOf(rule, b, Field::Left), 14350) << b;
    EXPECT_EQ(valueOf(rule, "txtSignatureServer", Field::Width), 13430);
    EXPECT_EQ(valueOf(rule, "lstBlacklist", Field::Width), 17390);
    EXPECT_EQ(valueOf(rule, "txtHomepage", Field::Width), 15000);

    // The steps keep their order: the stacks, then Home, the catalog pages,
    // Special, Pages, Installed Apps, Options, About.
    std::vector<std::string> order;
    for (const auto& a : rule)
        order.push_back(a.control);
    auto pos = [&](const char* c) {
        return std::find(order.begin(), order.end(), c) - order.begin();
    };
    EXPECT_LT(pos("SSTab2"), pos("cmdFeedback"));
    EXPECT_LT(pos("ImgFacebook"), pos("lstCat"));
    EXPECT_LT(pos("cmdDownloadSlimFromPage"), pos("lstSpecial"));
    EXPECT_LT(pos("txtSpecialSearch"), pos("lstCatPages"));
    EXPECT_LT(pos("cmdVisitPage"), pos("lstSoftware"));
    EXPECT_LT(pos("lstSoftware"), pos("lstSignatures"));
    EXPECT_LT(pos("lstBlacklist"), pos("ShpAbout"));
}

TEST(Layout, ValuesThatWouldBeNegativeAreLeftOutSoTheControlsKeepTheirLastSize) {
    Rects rects = design();
    applyRule(rects, ui::resizeRule(15000, 9000));
    const Rects big = rects;
    // Below 2250 twips of height the lists keep the height they had.
    applyRule(rects, ui::resizeRule(15000, 2000));
    for (const char* list : {"lstCat", "lstApps", "lstSpecial", "lstPages", "lstSoftware"})
        EXPECT_EQ(rects.at(list).height, big.at(list).height) << list;
    EXPECT_EQ(rects.at("SSTab1").height, 2200);
    EXPECT_EQ(rects.at("ImgUpdate").top, 400);
    // Narrow: the widths that would turn negative stay, those still positive follow.
    applyRule(rects, ui::resizeRule(5000, 2000));
    EXPECT_EQ(rects.at("lstApps").width, big.at("lstApps").width);
    EXPECT_EQ(rects.at("txtAppsSearch").width, big.at("txtAppsSearch").width);
    EXPECT_EQ(rects.at("cmdDownload").left, big.at("cmdDownload").left);
    EXPECT_EQ(rects.at("lstSpecial").width, 2390);
    EXPECT_EQ(rects.at("ShpAbout").width, 1000);
    EXPECT_EQ(rects.at("ImgUpdate").left, 900);
    EXPECT_EQ(rects.at("cmdFeedback").left, big.at("cmdFeedback").left);
    for (const auto& a : ui::resizeRule(0, 0))
        EXPECT_GE(a.value, 0) << a.control;
}

TEST(Layout, NoWindowWidthBringsACommandOverACountOrItsCaption) {
    // From wide to narrow as a user drags the edge, down to where the
    // commands stop moving (their left would turn negative). On Special the
    // count sits before the search box, which keeps its distance from the
    // commands while the rule still sizes it (W >= 7200); narrower than that
    // the page shows less than the count's own width anyway.
    Rects rects = design();
    const char* counts[] = {"Label1",  "lblCountCat",           "Label3",  "lblCountApps",
                            "Label13", "lblCountCatPortable",   "Label6",  "lblCountPortable",
                            "Label2",  "lblCountCatSlim",       "Label12", "lblCountSlim",
                            "Label11", "lblCountCatPages",      "Label17", "lblCountPages",
                            "Label4",  "lblCountInstalledApps", "Label7",  "lblCountSpecial"};
    auto placeOf = [](const std::string& c) {
        for (const ui::PagePlace& p : ui::kPagePlaces)
            if (p.control == c)
                return p;
        ADD_FAILURE() << c << " has no page";
        return ui::PagePlace{};
    };
    for (int W = 20000; W >= 5000; W -= 15) {
        applyRule(rects, ui::resizeRule(W, ui::kStartHeight));
        for (const ui::PagePlace& p : ui::kPagePlaces) {
            if (std::string(p.control).rfind("cmd", 0) != 0)
                continue;
            for (const char* label : counts) {
                const ui::PagePlace q = placeOf(label);
                if (q.stack != p.stack || q.page != p.page)
                    continue;
                if (W < 7200 && q.stack == ui::Stack::Inner && q.page == 0)
                    continue;
                ASSERT_FALSE(overlap(rects.at(p.control), rects.at(label)))
                    << p.control << " covers " << label << " at width " << W;
            }
        }
    }
}
