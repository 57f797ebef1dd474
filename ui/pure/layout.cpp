#include "ui/pure/layout.h"

#include <algorithm>

namespace ui {

namespace {

// The three download pages, Special and Pages share one arrangement: the
// category list on the left, the entry list with its search box (or title)
// and download buttons on the right.
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
     "cmdDownload", "cmdDownloadFromPage", Stack::Outer, 1},
    {"Label13", "lblCountCatPortable", "Label6", "lblCountPortable", "lstCatPortable",
     "lstPortable", "txtPortableSearch", "cmdDownloadPortable", "cmdDownloadPortableFromPage",
     Stack::Outer, 4},
    {"Label2", "lblCountCatSlim", "Label12", "lblCountSlim", "lstCatSlim", "lstSlim",
     "txtSlimSearch", "cmdDownloadSlim", "cmdDownloadSlimFromPage", Stack::Outer, 5},
    {nullptr, nullptr, "Label7", "lblCountSpecial", "lstCatSpecial", "lstSpecial",
     "txtSpecialSearch", "cmdDownloadSpecial", "cmdDownloadSpecialFromPage", Stack::Inner, 0},
    {"Label11", "lblCountCatPages", "Label17", "lblCountPages", "lstCatPages", "lstPages",
     "lblPages", "cmdVisitPage", nullptr, Stack::Inner, 1},
};

std::vector<PagePlace> makePagePlaces() {
    std::vector<PagePlace> places = {
        {"SSTab2", Stack::Outer, 6},
        {"lblWelcome", Stack::Outer, 0},
        {"lblUser", Stack::Outer, 0},
        {"cmdFeedback", Stack::Outer, 0},
        {"ImgUpdate", Stack::Outer, 0},
        {"ImgTwitter", Stack::Outer, 0},
        {"ImgFacebook", Stack::Outer, 0},
        {"cmdShowInstalledApps", Stack::Outer, 0},
        {"Label5", Stack::Outer, 2},
        {"chkSystray", Stack::Outer, 2},
        {"chkAutoUpdate", Stack::Outer, 2},
        {"lblSignatures", Stack::Outer, 2},
        {"lstSignatures", Stack::Outer, 2},
        {"lblSignatureServer", Stack::Outer, 2},
        {"txtSignatureServer", Stack::Outer, 2},
        {"lblBlacklist", Stack::Outer, 2},
        {"lstBlacklist", Stack::Outer, 2},
        {"lblTheme", Stack::Outer, 2},
        {"cboTheme", Stack::Outer, 2},
        {"lblTitle", Stack::Outer, 3},
        {"lblVersionInfo", Stack::Outer, 3},
        {"lblVersion", Stack::Outer, 3},
        {"lblCopyright", Stack::Outer, 3},
        {"txtHomepage", Stack::Outer, 3},
        {"lblHomepage", Stack::Outer, 3},
        {"txtCredits", Stack::Outer, 3},
        {"ImgRecommendations", Stack::Inner, 0},
        {"ImgStarterKit", Stack::Inner, 0},
        {"lblInstalledApps", Stack::Inner, 2},
        {"Label4", Stack::Inner, 2},
        {"lblCountInstalledApps", Stack::Inner, 2},
        {"lstSoftware", Stack::Inner, 2},
    };
    for (const Column& c : kColumns)
        for (const char* name : {c.catLabel, c.catCount, c.entryLabel, c.entryCount, c.categories,
                                 c.entries, c.search, c.download, c.fromPage})
            if (name)
                places.push_back({name, c.stack, c.page});
    return places;
}

} // namespace

const std::vector<PagePlace> kPagePlaces = makePagePlaces();

std::vector<Placement> mainWindowLayout(int outerWidth, int outerHeight) {
    std::vector<Placement> out;
    auto at = [&out](const char* name, int l, int t, int w, int h) {
        out.push_back({name, {l, t, w, h}});
    };
    const int innerWidth = outerWidth - 240, innerHeight = outerHeight - 600;
    at("SSTab2", 120, 480, innerWidth, innerHeight);

    at("lblWelcome", 600, 840, 1000, 285);
    at("lblUser", 1620, 840, 4000, 285);
    at("cmdFeedback", outerWidth - 3495 - 225, 390, 3495, 300);
    at("ImgUpdate", 600, 6240, 480, 480);
    at("ImgTwitter", 1200, 6240, 480, 480);
    at("ImgFacebook", 1800, 6240, 480, 480);
    at("cmdShowInstalledApps", 600, 1440, 3600, 495);

    for (const Column& c : kColumns) {
        bool inner = c.stack == Stack::Inner;
        int width = inner ? innerWidth : outerWidth;
        int top = inner ? 480 : 600;
        int bottom = (inner ? innerHeight : outerHeight) - 120;
        int catWidth = std::min(3600, width / 3);
        int right = 240 + catWidth + 240;
        int entryWidth = width - right - 240;
        if (c.catLabel) {
            at(c.catLabel, 240, top, 1200, 255);
            at(c.catCount, 1500, top, 1000, 255);
        }
        at(c.categories, 240, top + 300, catWidth, bottom - top - 300);
        at(c.entryLabel, right, top, 1200, 255);
        at(c.entryCount, right + 1260, top, 1000, 255);
        int listTop = top + 300;
        at(c.search, right, listTop, entryWidth, c.fromPage ? 330 : 285);
        listTop += 420;
        int buttonsTop = bottom - 495;
        at(c.entries, right, listTop, entryWidth, buttonsTop - 120 - listTop);
        at(c.download, right, buttonsTop, 3000, 495);
        if (c.fromPage)
            at(c.fromPage, right + 3120, buttonsTop, 3240, 495);
    }
    // The Special banners sit above the entry list, in place of the search
    // box's caption line.
    at("ImgRecommendations", innerWidth - 4020, 420, 3780, 330);
    at("ImgStarterKit", innerWidth - 4020, 420, 3780, 330);

    at("lblInstalledApps", 240, 480, 2000, 255);
    at("Label4", 6000, 480, 800, 255);
    at("lblCountInstalledApps", 6840, 480, 1200, 255);
    at("lstSoftware", 240, 780, innerWidth - 480, innerHeight - 1020);

    // Options: the two lists, the server address and the theme.
    at("Label5", 600, 600, 3000, 255);
    at("chkSystray", 600, 960, 6000, 285);
    at("chkAutoUpdate", 600, 1320, 7800, 285);
    at("lblSignatures", 600, 1800, 7800, 255);
    at("lstSignatures", 600, 2100, outerWidth - 1200, 1200);
    at("lblSignatureServer", 600, 3420, 600, 255);
    at("txtSignatureServer", 1260, 3390, outerWidth - 1860, 315);
    at("lblBlacklist", 600, 3900, 9000, 255);
    at("lstBlacklist", 600, 4200, outerWidth - 1200, 1200);
    at("lblTheme", 600, 5640, 900, 255);
    at("cboTheme", 1560, 5610, 2400, 315);

    at("lblTitle", 600, 720, 4000, 375);
    at("lblVersionInfo", 600, 1200, 900, 255);
    at("lblVersion", 1560, 1200, 3000, 255);
    at("lblCopyright", 600, 1560, 6000, 255);
    at("txtHomepage", 600, 2040, 9600, 555);
    at("lblHomepage", 600, 2700, 6000, 255);
    at("txtCredits", 600, 3240, outerWidth - 1200, std::min(3600, outerHeight - 3240 - 240));
    return out;
}

} // namespace ui
