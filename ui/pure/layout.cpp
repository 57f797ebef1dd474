#include "ui/pure/layout.h"

namespace ui {

namespace {

// The window's outer size at which the design rectangles below hold; the
// resize rule gives the same values at this size.
constexpr int kW = kDesignClientWidth + 240;
constexpr int kH = kStartHeight;

// The download pages share one arrangement: the search box (or, for Pages,
// the title label) and the two commands on top, the captions with their
// counts below them, the category list on the left and the entry list on
// the right.
struct Column {
    const char* catLabel; // null: none
    const char* catCount;
    const char* entryLabel;
    const char* entryCount;
    const char* categories;
    const char* entries;
    const char* search; // the search box, or the title label for Pages
    const char* download;
    const char* fromPage; // null: none
    Stack stack;
    int page;
};

const Column kColumns[] = {
    {"Label1", "lblCountCat", "Label3", "lblCountApps", "lstCat", "lstApps", "txtAppsSearch",
     "cmdDownload", "cmdDownloadFromPage", Stack::Outer, PageGetApps},
    {"Label13", "lblCountCatPortable", "Label6", "lblCountPortable", "lstCatPortable",
     "lstPortable", "txtPortableSearch", "cmdDownloadPortable", "cmdDownloadPortableFromPage",
     Stack::Outer, PageGetPortable},
    {"Label2", "lblCountCatSlim", "Label12", "lblCountSlim", "lstCatSlim", "lstSlim",
     "txtSlimSearch", "cmdDownloadSlim", "cmdDownloadSlimFromPage", Stack::Outer, PageGetSlim},
    {"Label11", "lblCountCatPages", "Label17", "lblCountPages", "lstCatPages", "lstPages",
     "lblPages", "cmdVisitPage", nullptr, Stack::Inner, InnerPages},
};

// The Home page's nine big buttons, row by row.
struct HomeButton {
    const char* name;
    int left, top;
};
const HomeButton kHomeButtons[] = {
    {"cmdGetApps", 600, 1590},          {"cmdGetPortable", 3840, 1590},
    {"cmdGetSlim", 7080, 1590},         {"cmdWinStarterKit", 600, 3000},
    {"cmdRecommendations", 3840, 3000}, {"cmdGetHelp", 7080, 3000},
    {"cmdDDLManager", 600, 4440},       {"cmdShowInstalledApps", 3840, 4470},
    {"cmdAppSuggestions", 7080, 4470},
};

std::vector<PagePlace> makePagePlaces() {
    std::vector<PagePlace> places = {
        {"SSTab2", Stack::Outer, PageSpecial},
        {"lblWelcome", Stack::Outer, PageHome},
        {"lblUser", Stack::Outer, PageHome},
        {"cmdFeedback", Stack::Outer, PageHome},
        {"ImgUpdate", Stack::Outer, PageHome},
        {"ImgTwitter", Stack::Outer, PageHome},
        {"ImgFacebook", Stack::Outer, PageHome},
        {"PicSystrayIcon", Stack::Outer, PageHome},
        {"Label5", Stack::Outer, PageOptions},
        {"chkSystray", Stack::Outer, PageOptions},
        {"chkAutoUpdate", Stack::Outer, PageOptions},
        {"lblSignatures", Stack::Outer, PageOptions},
        {"lstSignatures", Stack::Outer, PageOptions},
        {"lblSignatureServer", Stack::Outer, PageOptions},
        {"txtSignatureServer", Stack::Outer, PageOptions},
        {"lblBlacklist", Stack::Outer, PageOptions},
        {"lstBlacklist", Stack::Outer, PageOptions},
        {"lblTheme", Stack::Outer, PageOptions},
        {"cboTheme", Stack::Outer, PageOptions},
        {"lblTitle", Stack::Outer, PageAbout},
        {"ShpAbout", Stack::Outer, PageAbout},
        {"lblVersionInfo", Stack::Outer, PageAbout},
        {"lblVersion", Stack::Outer, PageAbout},
        {"lblCopyright", Stack::Outer, PageAbout},
        {"txtHomepage", Stack::Outer, PageAbout},
        {"lblHomepage", Stack::Outer, PageAbout},
        {"txtCredits", Stack::Outer, PageAbout},
        {"txtSpecialSearch", Stack::Inner, InnerSpecial},
        {"cmdDownloadSpecial", Stack::Inner, InnerSpecial},
        {"cmdDownloadSpecialFromPage", Stack::Inner, InnerSpecial},
        {"ImgRecommendations", Stack::Inner, InnerSpecial},
        {"ImgStarterKit", Stack::Inner, InnerSpecial},
        {"lstCatSpecial", Stack::Inner, InnerSpecial},
        {"Label7", Stack::Inner, InnerSpecial},
        {"lblCountSpecial", Stack::Inner, InnerSpecial},
        {"lstSpecial", Stack::Inner, InnerSpecial},
        {"lblInstalledApps", Stack::Inner, InnerInstalledApps},
        {"Label4", Stack::Inner, InnerInstalledApps},
        {"lblCountInstalledApps", Stack::Inner, InnerInstalledApps},
        {"lstSoftware", Stack::Inner, InnerInstalledApps},
    };
    for (const HomeButton& b : kHomeButtons)
        places.push_back({b.name, Stack::Outer, PageHome});
    for (const Column& c : kColumns)
        for (const char* name : {c.catLabel, c.catCount, c.entryLabel, c.entryCount, c.categories,
                                 c.entries, c.search, c.download, c.fromPage})
            if (name)
                places.push_back({name, c.stack, c.page});
    return places;
}

} // namespace

const std::vector<PagePlace> kPagePlaces = makePagePlaces();

std::vector<Placement> designLayout() {
    std::vector<Placement> out;
    auto at = [&out](const char* name, int l, int t, int w, int h) {
        out.push_back({name, {l, t, w, h}});
    };
    const int listHeight = kH - 2250;

    // The page stacks: the outer one beside the toolbar, the inner one on the
    // outer one's "Special" page, just below its tabs.
    at("SSTab1", kPagesLeft, 0, kW, kH + 200);
    at("SSTab2", 60, 315, kW, kH + 200);

    // Home.
    at("lblWelcome", 600, 840, 1035, 285);
    at("lblUser", 1650, 840, 4800, 285);
    at("cmdFeedback", kW - 5900, 390, 3495, 300);
    for (const HomeButton& b : kHomeButtons)
        at(b.name, b.left, b.top, 2775, 1215);
    const int imagesTop = kH + 200 - 1800;
    at("ImgUpdate", kW - 4100, imagesTop, 480, 480);
    at("ImgTwitter", kW - 3500, imagesTop, 480, 480);
    at("ImgFacebook", kW - 2900, imagesTop, 480, 480);
    at("PicSystrayIcon", 600, imagesTop, 480, 480);

    // Get Apps, Get Portable, Get Slim and (on the inner stack) Pages. Where
    // a second command sits below the first, the captions with their counts
    // get a row of their own under both: the commands move with the window's
    // width and would cover them in a narrow window.
    for (const Column& c : kColumns) {
        const bool inner = c.stack == Stack::Inner;
        const int left = inner ? 120 : 240;
        const int row1 = inner ? 345 : 405, row2 = inner ? 690 : 750;
        const int captions = c.fromPage ? row2 + 345 : row2 + 45;
        const int listTop = c.fromPage ? captions + 270 : (inner ? 1035 : 1095);
        const int entriesLeft = left + 3120;
        if (c.fromPage) {
            at(c.search, left, row1 + 15, kW - 7200, 315);
            at(c.fromPage, kW - 5650, row2, 3240, 330);
        } else {
            at(c.search, left, row1 + 45, kW - 7200, 255);
        }
        at(c.download, kW - 5650, row1, 3240, 330);
        at(c.catLabel, left, captions, 1080, 255);
        at(c.catCount, left + 1140, captions, 900, 255);
        at(c.entryLabel, entriesLeft, captions, 600, 255);
        at(c.entryCount, entriesLeft + 660, captions, 900, 255);
        at(c.categories, left, listTop, 3000, listHeight);
        at(c.entries, entriesLeft, listTop, kW - 6450, listHeight);
    }

    // Special: the entry caption with its count, then the search box, and the
    // commands on top; the banner naming the chosen category and the category
    // list below them, the entries under all. The count stays left of the
    // search box, which ends a fixed distance before the commands, so no
    // window width brings the commands over it.
    at("Label7", 120, 390, 480, 255);
    at("lblCountSpecial", 600, 390, 780, 255);
    at("txtSpecialSearch", 1440, 360, kW - 7200, 315);
    at("cmdDownloadSpecial", kW - 5650, 345, 3240, 330);
    at("cmdDownloadSpecialFromPage", kW - 5650, 690, 3240, 330);
    at("ImgRecommendations", 120, 690, 3780, 330);
    at("ImgStarterKit", 120, 690, 3780, 330);
    at("lstCatSpecial", 4020, 705, 1680, 285);
    at("lstSpecial", 120, 1035, kW - 2610, listHeight);

    // Installed Apps.
    at("lblInstalledApps", 120, 390, 2400, 255);
    at("Label4", 3240, 390, 660, 255);
    at("lblCountInstalledApps", 3900, 390, 1200, 255);
    at("lstSoftware", 120, 735, kW - 2600, listHeight);

    // Options.
    at("Label5", 240, 450, 3000, 285);
    at("chkSystray", 240, 810, 6000, 285);
    at("chkAutoUpdate", 240, 1140, 7800, 285);
    at("lblSignatures", 240, 1560, 7800, 255);
    at("lstSignatures", 240, 1830, kW - 2610, 1230);
    at("lblSignatureServer", 240, 3210, 600, 255);
    at("txtSignatureServer", 900, 3180, kW - 6570, 315);
    at("lblBlacklist", 240, 3660, 9000, 255);
    at("lstBlacklist", 240, 3930, kW - 2610, 1230);
    at("lblTheme", 240, 5400, 900, 255);
    at("cboTheme", 1200, 5370, 2400, 315);

    // About.
    at("lblTitle", 600, 540, 4800, 495);
    at("ShpAbout", 600, 1110, kW - 4000, 30);
    at("lblVersionInfo", 600, 1290, 900, 255);
    at("lblVersion", 1560, 1290, 3000, 255);
    at("lblCopyright", 600, 1650, 6000, 255);
    at("txtHomepage", 600, 2070, kW - 5000, 510);
    at("lblHomepage", 600, 2640, 6000, 255);
    at("txtCredits", 600, 3060, kW - 4000, 2700);
    return out;
}

std::vector<Assignment> resizeRule(int W, int H, int pagesTop) {
    std::vector<Assignment> out;
    auto set = [&out](const char* control, Field field, int value) {
        if (value >= 0)
            out.push_back({control, field, value});
    };
    auto width = [&](const char* c, int v) { set(c, Field::Width, v); };
    auto height = [&](const char* c, int v) { set(c, Field::Height, v); };
    auto left = [&](const char* c, int v) { set(c, Field::Left, v); };

    // 1. The page stacks.
    width("SSTab1", W);
    height("SSTab1", H + 200);
    width("SSTab2", W);
    height("SSTab2", H + 200);
    // 2. The feedback button keeps its distance from the right edge.
    left("cmdFeedback", W - 5900);
    // 3. The three images near the bottom right of the Home page.
    const int imagesTop = pagesTop + H + 200 - 1800;
    set("ImgUpdate", Field::Top, imagesTop);
    left("ImgUpdate", W - 4100);
    set("ImgTwitter", Field::Top, imagesTop);
    left("ImgTwitter", W - 3500);
    set("ImgFacebook", Field::Top, imagesTop);
    left("ImgFacebook", W - 2900);
    // 4. The three catalog pages.
    for (const Column& c : kColumns) {
        if (c.stack != Stack::Outer)
            continue;
        height(c.categories, H - 2250);
        height(c.entries, H - 2250);
        width(c.entries, W - 6450);
        width(c.search, W - 7200);
        left(c.download, W - 5650);
        left(c.fromPage, W - 5650);
    }
    // 5. Special.
    height("lstSpecial", H - 2250);
    width("lstSpecial", W - 2610);
    left("cmdDownloadSpecial", W - 5650);
    left("cmdDownloadSpecialFromPage", W - 5650);
    width("txtSpecialSearch", W - 7200);
    // 6. Pages.
    height("lstCatPages", H - 2250);
    height("lstPages", H - 2250);
    width("lstPages", W - 6450);
    width("lblPages", W - 7200);
    left("cmdVisitPage", W - 5650);
    // 7. Installed Apps.
    width("lstSoftware", W - 2600);
    height("lstSoftware", H - 2250);
    // 8. Options.
    width("lstSignatures", W - 2610);
    width("txtSignatureServer", W - 6570);
    width("lstBlacklist", W - 2610);
    // 9. About.
    width("ShpAbout", W - 4000);
    width("txtHomepage", W - 5000);
    width("txtCredits", W - 4000);
    return out;
}

} // namespace ui
