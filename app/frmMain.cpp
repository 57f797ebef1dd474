#include "app/frmMain.h"

#include "app/banners.h"
#include "app/pure/text_rules.h"
#include "app/version.h"

#include <commctrl.h>

#include <algorithm>

namespace app {

using catalog::Kind;
using forms::PageStack;

namespace {

// Pages of the outer and inner page stacks.
enum OuterPage { kHome, kGetApps, kOptions, kAbout, kGetPortable, kGetSlim, kSpecial, kEmpty };
enum InnerPage { kSpecialPage, kPagesPage, kInstalledPage };

// A step of a sequence that runs on its own: a failing step is abandoned and
// the next one runs.
template <typename F> void guarded(F&& step) {
    try {
        step();
    } catch (...) {
    }
}

} // namespace

frmMain::frmMain(platform::Services& services)
    : Form("frmMain", "Fetchlets"), services_(services),
      SSTab1(
          *this, "SSTab1",
          {"Home", "Get Apps", "Options", "About", "Get Portable", "Get Slim", "Special", "Empty"}),
      SSTab2(*this, "SSTab2", {"Special", "Pages", "Installed Apps"}),
      lblWelcome(*this, "lblWelcome", "Welcome"), lblUser(*this, "lblUser", "Name"),
      cmdFeedback(*this, "cmdFeedback", "Send Suggestion and Feedback!"),
      ImgUpdate(*this, "ImgUpdate"), ImgTwitter(*this, "ImgTwitter"),
      ImgFacebook(*this, "ImgFacebook"), Label1(*this, "Label1", "Categories"),
      lblCountCat(*this, "lblCountCat", "0"), Label3(*this, "Label3", "Apps"),
      lblCountApps(*this, "lblCountApps", "0"), lstCat(*this, "lstCat"), lstApps(*this, "lstApps"),
      txtAppsSearch(*this, "txtAppsSearch"), cmdDownload(*this, "cmdDownload", "Direct Download"),
      cmdDownloadFromPage(*this, "cmdDownloadFromPage", "Direct Download from Page"),
      lblTitle(*this, "lblTitle", "Fetchlets"), lblVersionInfo(*this, "lblVersionInfo", "Version:"),
      lblVersion(*this, "lblVersion"),
      lblCopyright(*this, "lblCopyright", "Copyright (C) 2026 The Fetchlets team"),
      txtHomepage(*this, "txtHomepage", true, true),
      lblHomepage(*this, "lblHomepage", "http://www.fetchlets.org/"),
      txtCredits(*this, "txtCredits", true, true), Label13(*this, "Label13", "Categories"),
      lblCountCatPortable(*this, "lblCountCatPortable", "0"), Label6(*this, "Label6", "Apps"),
      lblCountPortable(*this, "lblCountPortable", "0"), lstCatPortable(*this, "lstCatPortable"),
      lstPortable(*this, "lstPortable"), txtPortableSearch(*this, "txtPortableSearch"),
      cmdDownloadPortable(*this, "cmdDownloadPortable", "Direct Download"),
      cmdDownloadPortableFromPage(*this, "cmdDownloadPortableFromPage",
                                  "Direct Download from Page"),
      Label2(*this, "Label2", "Categories"), lblCountCatSlim(*this, "lblCountCatSlim", "0"),
      Label12(*this, "Label12", "Apps"), lblCountSlim(*this, "lblCountSlim", "0"),
      lstCatSlim(*this, "lstCatSlim"), lstSlim(*this, "lstSlim"),
      txtSlimSearch(*this, "txtSlimSearch"),
      cmdDownloadSlim(*this, "cmdDownloadSlim", "Direct Download"),
      cmdDownloadSlimFromPage(*this, "cmdDownloadSlimFromPage", "Direct Download from Page"),
      lstCatSpecial(*this, "lstCatSpecial"), lstSpecial(*this, "lstSpecial"),
      Label7(*this, "Label7", "Apps"), lblCountSpecial(*this, "lblCountSpecial", "0"),
      txtSpecialSearch(*this, "txtSpecialSearch"),
      cmdDownloadSpecial(*this, "cmdDownloadSpecial", "Direct Download"),
      cmdDownloadSpecialFromPage(*this, "cmdDownloadSpecialFromPage", "Direct Download from Page"),
      ImgRecommendations(*this, "ImgRecommendations"), ImgStarterKit(*this, "ImgStarterKit"),
      Label11(*this, "Label11", "Categories"), lblCountCatPages(*this, "lblCountCatPages", "0"),
      Label17(*this, "Label17", "Pages"), lblCountPages(*this, "lblCountPages", "0"),
      lstCatPages(*this, "lstCatPages"), lstPages(*this, "lstPages"), lblPages(*this, "lblPages"),
      cmdVisitPage(*this, "cmdVisitPage", "Visit Page"),
      lblInstalledApps(*this, "lblInstalledApps", "Installed Apps"),
      Label4(*this, "Label4", "Found:"), lblCountInstalledApps(*this, "lblCountInstalledApps", "0"),
      lstSoftware(*this, "lstSoftware", true), mnMain(*this, "mnMain"),
      mnPortable(*this, "mnPortable"), mnSlim(*this, "mnSlim"), mnSpecial(*this, "mnSpecial"),
      Timer1(*this, "Timer1", 1), Timer3(*this, "Timer3", 1),
      kinds_{{
          {Kind::Apps, lstCat, lstApps, &txtAppsSearch, cmdDownload, &cmdDownloadFromPage,
           &mnMain.add("mnuDownload", "Direct Download"),
           &mnMain.add("mnuDownloadFromPage", "Direct Download from Page")},
          {Kind::Portable, lstCatPortable, lstPortable, &txtPortableSearch, cmdDownloadPortable,
           &cmdDownloadPortableFromPage, &mnPortable.add("mnuDownloadPortable", "Direct Download"),
           &mnPortable.add("mnuDownloadPortableFromPage", "Direct Download from Page")},
          {Kind::Slim, lstCatSlim, lstSlim, &txtSlimSearch, cmdDownloadSlim,
           &cmdDownloadSlimFromPage, &mnSlim.add("mnuDownloadSlim", "Direct Download"),
           &mnSlim.add("mnuDownloadSlimFromPage", "Direct Download from Page")},
          {Kind::Special, lstCatSpecial, lstSpecial, &txtSpecialSearch, cmdDownloadSpecial,
           &cmdDownloadSpecialFromPage, &mnSpecial.add("mnuDownloadSpecial", "Direct Download"),
           &mnSpecial.add("mnuDownloadSpecialFromPage", "Direct Download from Page")},
          {Kind::Pages, lstCatPages, lstPages, nullptr, cmdVisitPage, nullptr, nullptr, nullptr},
      }} {
    initialWidth_ = 12840 + 240;
    initialHeight_ = 7890;
    minWidth_ = 9600;
    minHeight_ = 6000;

    txtAppsSearch.setText("Must-Have Apps");
    txtPortableSearch.setText("Portable Apps");
    txtSlimSearch.setText("Slim / Toolbar Free Apps");
    txtSpecialSearch.setText("Special");
    txtHomepage.setText("You can download the latest version, report bugs and submit feature "
                        "requests at the following website.");

    // Nothing is chosen yet: the commands acting on an entry start disabled.
    for (KindControls& k : kinds_) {
        k.downloadButton.setEnabled(false);
        if (k.fromPageButton)
            k.fromPageButton->setEnabled(false);
        if (k.downloadItem)
            k.downloadItem->Enabled = false;
        if (k.fromPageItem)
            k.fromPageItem->Enabled = false;
    }

    lstCat.Click = [this] { lstCat_Click(); };
    lstCatPortable.Click = [this] { lstCatPortable_Click(); };
    lstCatSlim.Click = [this] { lstCatSlim_Click(); };
    lstCatSpecial.Click = [this] { lstCatSpecial_Click(); };
    lstCatPages.Click = [this] { lstCatPages_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer3.Tick = [this] { Timer3_Timer(); };

    SSTab1.Move(2040, 0, 10800, 8085);
    placeControls();
}

frmMain::~frmMain() {
    for (HBITMAP b : banners_)
        if (b)
            DeleteObject(b);
}

void frmMain::Form_Resize() {
    // The pages fill the window beside the navigation column.
    SSTab1.Move(2040, 0, std::max(ScaleWidth() - 2040, 7000), std::max(ScaleHeight(), 4500));
    placeControls();
}

void frmMain::placeControls() {
    // Pages hold their controls at positions relative to the page stack; the
    // tab strip takes the top 360 twips. Lists and boxes stretch with the stack.
    auto on = [](forms::Control& c, PageStack& s, int page, int l, int t, int w, int h) {
        if (c.container() != &s)
            c.placeOn(s, page);
        c.Move(l, t, w, h);
    };
    const int outerWidth = SSTab1.Width(), outerHeight = SSTab1.Height();
    const int innerWidth = outerWidth - 240, innerHeight = outerHeight - 600;
    on(SSTab2, SSTab1, kSpecial, 120, 480, innerWidth, innerHeight);

    on(lblWelcome, SSTab1, kHome, 600, 840, 1000, 285);
    on(lblUser, SSTab1, kHome, 1620, 840, 4000, 285);
    on(cmdFeedback, SSTab1, kHome, outerWidth - 3495 - 225, 390, 3495, 300);
    on(ImgUpdate, SSTab1, kHome, 600, 6240, 480, 480);
    on(ImgTwitter, SSTab1, kHome, 1200, 6240, 480, 480);
    on(ImgFacebook, SSTab1, kHome, 1800, 6240, 480, 480);

    // The three download pages and the Special page share one arrangement.
    struct Column {
        forms::Label* catLabel;
        forms::Label* catCount;
        forms::Label* entryLabel;
        forms::Label* entryCount;
        KindControls* k;
        PageStack* stack;
        int page;
    };
    Column columns[] = {
        {&Label1, &lblCountCat, &Label3, &lblCountApps, &kinds_[0], &SSTab1, kGetApps},
        {&Label13, &lblCountCatPortable, &Label6, &lblCountPortable, &kinds_[1], &SSTab1,
         kGetPortable},
        {&Label2, &lblCountCatSlim, &Label12, &lblCountSlim, &kinds_[2], &SSTab1, kGetSlim},
        {nullptr, nullptr, &Label7, &lblCountSpecial, &kinds_[3], &SSTab2, kSpecialPage},
        {&Label11, &lblCountCatPages, &Label17, &lblCountPages, &kinds_[4], &SSTab2, kPagesPage},
    };
    for (Column& c : columns) {
        bool inner = c.stack == &SSTab2;
        int width = inner ? innerWidth : outerWidth;
        int top = inner ? 480 : 600;
        int bottom = (inner ? innerHeight : outerHeight) - 120;
        int catWidth = std::min(3600, width / 3);
        int right = 240 + catWidth + 240;
        int entryWidth = width - right - 240;
        if (c.catLabel) {
            on(*c.catLabel, *c.stack, c.page, 240, top, 1200, 255);
            on(*c.catCount, *c.stack, c.page, 1500, top, 1000, 255);
        }
        on(c.k->categories, *c.stack, c.page, 240, top + 300, catWidth, bottom - top - 300);
        on(*c.entryLabel, *c.stack, c.page, right, top, 1200, 255);
        on(*c.entryCount, *c.stack, c.page, right + 1260, top, 1000, 255);
        int listTop = top + 300;
        if (c.k->search) {
            on(*c.k->search, *c.stack, c.page, right, listTop, entryWidth, 330);
            listTop += 420;
        } else {
            on(lblPages, *c.stack, c.page, right, listTop, entryWidth, 285);
            listTop += 420;
        }
        int buttonsTop = bottom - 495;
        on(c.k->entries, *c.stack, c.page, right, listTop, entryWidth, buttonsTop - 120 - listTop);
        on(c.k->downloadButton, *c.stack, c.page, right, buttonsTop, 3000, 495);
        if (c.k->fromPageButton)
            on(*c.k->fromPageButton, *c.stack, c.page, right + 3120, buttonsTop, 3240, 495);
    }
    // The Special banners sit above the entry list, in place of the search
    // box's caption line.
    on(ImgRecommendations, SSTab2, kSpecialPage, innerWidth - 4020, 420, 3780, 330);
    on(ImgStarterKit, SSTab2, kSpecialPage, innerWidth - 4020, 420, 3780, 330);

    on(lblInstalledApps, SSTab2, kInstalledPage, 240, 480, 2000, 255);
    on(Label4, SSTab2, kInstalledPage, 6000, 480, 800, 255);
    on(lblCountInstalledApps, SSTab2, kInstalledPage, 6840, 480, 1200, 255);
    on(lstSoftware, SSTab2, kInstalledPage, 240, 780, innerWidth - 480, innerHeight - 1020);

    on(lblTitle, SSTab1, kAbout, 600, 720, 4000, 375);
    on(lblVersionInfo, SSTab1, kAbout, 600, 1200, 900, 255);
    on(lblVersion, SSTab1, kAbout, 1560, 1200, 3000, 255);
    on(lblCopyright, SSTab1, kAbout, 600, 1560, 6000, 255);
    on(txtHomepage, SSTab1, kAbout, 600, 2040, 9600, 555);
    on(lblHomepage, SSTab1, kAbout, 600, 2700, 6000, 255);
    on(txtCredits, SSTab1, kAbout, 600, 3240, outerWidth - 1200,
       std::min(3600, outerHeight - 3240 - 240));
}

void frmMain::Form_Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

std::string frmMain::ApplicationPath() {
    return services_.environment->applicationPath();
}

void frmMain::Form_Load() {
    guarded([&] { setHeight(7890); });
    guarded([&] { lblWelcome.setCaption("Welcome,"); });
    guarded([&] { lblUser.setCaption(services_.environment->variable("Username")); });
    guarded([&] {
        lblVersion.setCaption(versionText(kVersionMajor, kVersionMinor, kVersionRevision));
    });
    guarded([&] {
        lblTitle.setCaption("Fetchlets");
        HFONT title = CreateFontA(-forms::toPixels(360), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET,
                                  0, 0, CLEARTYPE_QUALITY, 0, "Tahoma");
        if (title && lblTitle.hwnd())
            SendMessageA(lblTitle.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(title), FALSE);
    });
    guarded([&] { LoadCategoryLists(); });
    guarded([&] { lstCatSpecial.setListIndex(0); });
    guarded([&] {
        txtSpecialSearch.setText("Windows Starter Kit");
        ImgRecommendations.setVisible(false);
        ImgStarterKit.setVisible(true);
    });
    guarded([&] {
        int w = forms::toPixels(3780), h = forms::toPixels(330);
        banners_[0] = makeBanner(w, h, "Recommendations", RGB(0, 102, 153), RGB(0, 204, 255));
        banners_[1] = makeBanner(w, h, "Windows Starter Kit", RGB(0, 120, 60), RGB(120, 200, 80));
        ImgRecommendations.setBitmap(banners_[0]);
        ImgStarterKit.setBitmap(banners_[1]);
        int side = forms::toPixels(480);
        banners_[2] = makeBanner(side, side, "U", RGB(0, 153, 51), RGB(0, 204, 102));
        banners_[3] = makeBanner(side, side, "T", RGB(0, 132, 180), RGB(29, 161, 242));
        banners_[4] = makeBanner(side, side, "F", RGB(40, 60, 120), RGB(59, 89, 152));
        ImgUpdate.setBitmap(banners_[2]);
        ImgTwitter.setBitmap(banners_[3]);
        ImgFacebook.setBitmap(banners_[4]);
    });
    // Only one copy runs: a second one closes its window before it is ever
    // shown and the process ends.
    if (services_.singleInstance->anotherIsRunning("Fetchlets")) {
        Unload(forms::vbFormCode);
        return;
    }
    guarded([&] { txtCredits.setText(creditsText()); });
}

void frmMain::LoadCategoryLists() {
    for (Kind kind : catalog::kLoadOrder) {
        guarded([&] {
            std::string path = catalog::catalogPath(ApplicationPath(), kind);
            catalogFiles_[static_cast<size_t>(kind)] = path;
            forms::ListBox& list = kindControls(kind).categories;
            for (const std::string& name : catalog::categoryNames(path))
                list.AddItem(name);
        });
    }
}

void frmMain::categoryChosen(Kind kind) {
    const KindControls& k = kindControls(kind);
    guarded([&] { k.entries.Clear(); });
    guarded([&] {
        k.downloadButton.setEnabled(false);
        if (k.fromPageButton)
            k.fromPageButton->setEnabled(false);
        if (k.downloadItem)
            k.downloadItem->Enabled = false;
        if (k.fromPageItem)
            k.fromPageItem->Enabled = false;
    });
    guarded([&] {
        std::string category = k.categories.Text();
        for (const std::string& name : catalog::entryNames(catalogFile(kind), category))
            k.entries.AddItem(name);
    });
}

void frmMain::trimSearchBox(forms::TextBox& box) {
    std::string text = box.Text();
    if (trimParenthesis(text))
        box.setText(text);
}

void frmMain::Timer1_Timer() {
    int page = SSTab1.Tab();
    guarded([&] { cmdFeedback.setVisible(page == kHome); });
    guarded([&] {
        cmdDownload.setVisible(page == kGetApps);
        cmdDownloadFromPage.setVisible(page == kGetApps);
    });
    guarded([&] {
        cmdDownloadPortable.setVisible(page == kGetPortable);
        cmdDownloadPortableFromPage.setVisible(page == kGetPortable);
    });
    guarded([&] {
        cmdDownloadSlim.setVisible(page == kGetSlim);
        cmdDownloadSlimFromPage.setVisible(page == kGetSlim);
    });
    guarded([&] {
        ImgUpdate.setVisible(page == kHome);
        ImgTwitter.setVisible(page == kHome);
        ImgFacebook.setVisible(page == kHome);
    });
    std::pair<forms::Label*, forms::ListBox*> counts[] = {
        {&lblCountCat, &lstCat},
        {&lblCountApps, &lstApps},
        {&lblCountCatPortable, &lstCatPortable},
        {&lblCountPortable, &lstPortable},
        {&lblCountCatSlim, &lstCatSlim},
        {&lblCountSlim, &lstSlim},
        {&lblCountCatPages, &lstCatPages},
        {&lblCountPages, &lstPages},
        {&lblCountSpecial, &lstSpecial},
        {&lblCountInstalledApps, &lstSoftware},
    };
    for (auto& [label, list] : counts)
        guarded([&] { label->setCaption(std::to_string(list->ListCount())); });
    guarded([&] { trimSearchBox(txtAppsSearch); });
    guarded([&] { trimSearchBox(txtPortableSearch); });
    guarded([&] { trimSearchBox(txtSlimSearch); });
}

void frmMain::Timer3_Timer() {
    int page = SSTab2.Tab();
    guarded([&] {
        cmdDownloadSpecial.setVisible(page == kSpecialPage);
        cmdDownloadSpecialFromPage.setVisible(page == kSpecialPage);
    });
    guarded([&] { cmdVisitPage.setVisible(page == kPagesPage); });
    guarded([&] { trimSearchBox(txtSpecialSearch); });
}

} // namespace app
