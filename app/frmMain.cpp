#include "app/frmMain.h"

#include "app/banners.h"
#include "app/guarded.h"
#include "app/pure/text_rules.h"
#include "app/search_sort.h"
#include "app/version.h"
#include "ui/pure/layout.h"

#include <commctrl.h>

#include <algorithm>

namespace app {

frmMain::frmMain(platform::Services& services) : Form("frmMain", "Fetchlets"), services_(services) {
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

    kinds_.wire({.categoryChosen = [this](catalog::Kind k) { browsing_.categoryChosen(k); },
                 .entryChosen = [this](catalog::Kind k) { browsing_.entryChosen(k); },
                 .copyName = [this](catalog::Kind k) { browsing_.copyName(k); }});
    wireSearchBoxes(kinds_);
    // The category lists' sort menus open on the right mouse button.
    std::pair<forms::ListBox*, forms::PopupMenu*> sortMenus[] = {
        {&lstCat, &mnSortCat},
        {&lstCatPortable, &mnSortCatPortable},
        {&lstCatSlim, &mnSortCatSlim},
        {&lstCatPages, &mnSortCatPages}};
    for (auto [list, menu] : sortMenus) {
        list->MouseDown = [menu](int button, int, int, int) {
            if (button == forms::vbRightButton)
                menu->Popup();
        };
        menu->items().front().Click = [list] { Liste_Sortieren(*list); };
    }
    wireActions();
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer3.Tick = [this] { Timer3_Timer(); };
    lstSignatures.MouseDown = [this](int b, int s, int x, int y) {
        lstSignatures_MouseDown(b, s, x, y);
    };
    lstSignatures.KeyDown = [this](int& k, int s) { lstSignatures_KeyDown(k, s); };
    lstBlacklist.MouseDown = [this](int b, int s, int x, int y) {
        lstBlacklist_MouseDown(b, s, x, y);
    };
    lstBlacklist.KeyDown = [this](int& k, int s) { lstBlacklist_KeyDown(k, s); };
    mnuEditSignatures.Click = [this] { mnuEditSignatures_Click(); };
    mnuEditBlacklist.Click = [this] { mnuEditBlacklist_Click(); };

    // Each control goes onto its page once; the layout then only moves.
    for (const ui::PagePlace& p : ui::kPagePlaces)
        if (forms::Control* c = control(p.control))
            c->placeOn(p.stack == ui::Stack::Outer ? SSTab1 : SSTab2, p.page);
    SSTab1.Move(2040, 0, 10800, 8085);
    placeControls();
}

frmMain::~frmMain() {
    for (HBITMAP b : pictures_)
        if (b)
            DeleteObject(b);
}

std::string frmMain::linkFieldText() {
    return LinkField{StatusBar1}.Text();
}

void frmMain::wireActions() {
    using catalog::Kind;
    using forms::MenuItem;
    // The twins of one entry menu, in the menu's order.
    struct EntryMenu {
        Kind kind;
        MenuItem &download, &fromPage, &queue, &queueForce, &developerPage, &alternate, &support,
            &screenshots, &clipboard, &sort, &send, &report, &block;
    };
    const EntryMenu menus[] = {
        {Kind::Apps, mnuDownload, mnuDownloadFromPage, mnuDDLManager, mnuDDLManagerForce,
         mnuVisitDeveloperPage, mnuAlternateDownload, mnuSupportLinks, mnuAppScreenshots,
         mnuURLtoClipboard, mnuSort, mnuSendDownloadLink, mnuReportProblem, mnuBlockDirectDownload},
        {Kind::Portable, mnuDownloadPortable, mnuDownloadPortableFromPage, mnuDDLManagerPortable,
         mnuDDLManagerPortableForce, mnuVisitDeveloperPagePortable, mnuAlternatePortableDownload,
         mnuSupportLinksPortable, mnuAppScreenshotsPortable, mnuURLtoClipboardPortable,
         mnuSortPortable, mnuSendDownloadLinkPortable, mnuReportPortableProblem,
         mnuBlockDirectDownloadPortable},
        {Kind::Slim, mnuDownloadSlim, mnuDownloadSlimFromPage, mnuDDLManagerSlim,
         mnuDDLManagerSlimForce, mnuVisitDeveloperPageSlim, mnuAlternateSlimDownload,
         mnuSupportLinksSlim, mnuAppScreenshotsSlim, mnuURLtoClipboardSlim, mnuSortSlim,
         mnuSendDownloadLinkSlim, mnuReportSlimProblem, mnuBlockDirectDownloadSlim},
        {Kind::Special, mnuDownloadSpecial, mnuDownloadSpecialFromPage, mnuDDLManagerSpecial,
         mnuDDLManagerSpecialForce, mnuVisitDeveloperPageSpecial, mnuAlternateSpecialDownload,
         mnuSupportLinksSpecial, mnuAppScreenshotsSpecial, mnuURLtoClipboardSpecial, mnuSortSpecial,
         mnuSendDownloadLinkSpecial, mnuReportSpecialProblem, mnuBlockDirectDownloadSpecial},
    };
    for (const EntryMenu& m : menus) {
        const Kind kind = m.kind;
        const KindControls& k = kinds_[kind];
        k.downloadButton.Click = [this] { downloads_.directDownload(); };
        if (k.fromPageButton)
            k.fromPageButton->Click = [this] { downloads_.downloadFromPage(); };
        m.download.Click = [this] { downloads_.directDownload(); };
        m.fromPage.Click = [this] { downloads_.downloadFromPage(); };
        m.queue.Click = [this] { downloads_.addToQueue(); };
        m.queueForce.Click = [this] { downloads_.addToQueue(); };
        m.developerPage.Click = [this] { webActions_.developerPage(); };
        m.alternate.Click = [this, kind] { webActions_.alternateDownload(kind); };
        m.support.Click = [this, kind] { webActions_.supportLinks(kind); };
        m.screenshots.Click = [this, kind] { webActions_.screenshots(kind); };
        m.clipboard.Click = [this] { webActions_.linkToClipboard(); };
        m.send.Click = [this, kind] { webActions_.sendDownloadLink(kind); };
        m.report.Click = [this] { webActions_.reportProblem(); };
        m.block.Click = [this] { downloads_.blockRequest(); };
        k.entries.MouseDown = [this, kind](int button, int, int, int) {
            downloads_.entryListMouseDown(kind, button);
            browsing_.copyName(kind);
        };
        m.sort.Click = [&k] { Liste_Sortieren(k.entries); };
        // Choosing an entry also switches the queue item by the blacklist.
        k.entries.Click =
            [this, kind, chosen = k.entries.Click,
             items = EntryMenuItems{m.download, m.fromPage, m.queue, m.queueForce, m.block}] {
                if (chosen)
                    chosen();
                downloads_.applyBlacklist(kind, items);
            };
    }

    cmdVisitPage.Click = [this] { webActions_.visitPage(); };
    mnuVisitPage.Click = [this] { webActions_.visitPage(); };
    mnuURLtoClipboardPage.Click = [this] { webActions_.linkToClipboard(); };
    mnuSendPageLinkSlim.Click = [this] { webActions_.sendPageLink(); };
    mnuSharePageTwitter.Click = [this] { webActions_.sharePageOnTwitter(); };
    mnuSharePageFacebook.Click = [this] { webActions_.sharePageOnFacebook(); };
    mnuSortPages.Click = [this] { Liste_Sortieren(lstPages); };
    lstPages.MouseDown = [this](int button, int, int, int) {
        downloads_.pageListMouseDown(lstPages, mnPages, mnuVisitPage, button);
        browsing_.copyName(Kind::Pages);
    };

    lstCat.MouseDown = [this](int b, int, int, int) {
        Downloads::listMenuMouseDown(mnSortCat, false, b);
    };
    lstCatPortable.MouseDown = [this](int b, int, int, int) {
        Downloads::listMenuMouseDown(mnSortCatPortable, false, b);
    };
    lstCatSlim.MouseDown = [this](int b, int, int, int) {
        Downloads::listMenuMouseDown(mnSortCatSlim, false, b);
    };
    lstCatPages.MouseDown = [this](int b, int, int, int) {
        Downloads::listMenuMouseDown(mnSortCatPages, true, b);
    };

    cmdFeedback.Click = [this] { webActions_.feedback(); };
    lblHomepage.Click = [this] { webActions_.homepage(); };
    ImgFacebook.Click = [this] { webActions_.facebookPage(); };
    ImgTwitter.Click = [this] { webActions_.tweetProgram(); };
}

void frmMain::Form_Resize() {
    // The pages fill the window beside the navigation column.
    SSTab1.Move(2040, 0, std::max(ScaleWidth() - 2040, 7000), std::max(ScaleHeight(), 4500));
    placeControls();
}

void frmMain::placeControls() {
    for (const ui::Placement& p : ui::mainWindowLayout(SSTab1.Width(), SSTab1.Height()))
        if (forms::Control* c = control(p.control))
            c->Move(p.rect.left, p.rect.top, p.rect.width, p.rect.height);
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
    guarded([&] {
        // The one panel of the status bar: the link field.
        StatusBar1.AddPanel({.sText = "0",
                             .uTextAlign = 0,
                             .bAutoSize = true,
                             .bEditable = true,
                             .bIconState = false,
                             .bUseMaskColor = false,
                             .lMaskColor = controls::rgb(255, 0, 255),
                             .lForeColor = controls::rgb(224, 224, 224),
                             .sToolTipText = "0"});
    });
    guarded([&] { browsing_.LoadCategoryLists(); });
    guarded([&] { RestoreMainWindowState(windowState_, settingsFile()); });
    guarded([&] { lstCatSpecial.setListIndex(0); });
    guarded([&] {
        txtSpecialSearch.setText("Windows Starter Kit");
        ImgRecommendations.setVisible(false);
        ImgStarterKit.setVisible(true);
    });
    guarded([&] { LoadListFile(SignaturesFilePath(ApplicationPath()), lstSignatures); });
    guarded([&] { LoadListFile(BlacklistFilePath(ApplicationPath()), lstBlacklist); });
    guarded([&] {
        if (!LoadFormState(*this, settingsFile()))
            chkSystray.setValue(0);
    });
    guarded([&] { makePictures(); });
    // Only one copy runs: a second one closes its window before it is ever
    // shown and the process ends.
    if (services_.singleInstance->anotherIsRunning("Fetchlets")) {
        secondCopy_ = true;
        Unload(forms::vbFormCode);
        return;
    }
    guarded([&] { txtCredits.setText(creditsText()); });
}

void frmMain::Form_QueryUnload(int&, int) {
    guarded([&] { SaveFormState(*this, settingsFile()); });
}

void frmMain::Form_Unload(int&) {
    // The control values, the geometry, the pages and the chosen categories.
    // A copy that ends at start-up writes them too, but only a close the user
    // asked for tells of a failure.
    guarded([&] {
        if (!SaveMainWindowState(windowState_, settingsFile()) && !secondCopy_)
            ReportSettingsNotSaved(services_, hwnd(), settingsFile());
    });
    // Every other window of the program closes through its own unload.
    guarded([&] { forms::unloadOtherForms(*this); });
}

void frmMain::makePictures() {
    int w = forms::toPixels(3780), h = forms::toPixels(330);
    pictures_[0] = makeBanner(w, h, "Recommendations", RGB(0, 102, 153), RGB(0, 204, 255));
    pictures_[1] = makeBanner(w, h, "Windows Starter Kit", RGB(0, 120, 60), RGB(120, 200, 80));
    ImgRecommendations.setBitmap(pictures_[0]);
    ImgStarterKit.setBitmap(pictures_[1]);
    int side = forms::toPixels(480);
    pictures_[2] = makeBanner(side, side, "U", RGB(0, 153, 51), RGB(0, 204, 102));
    pictures_[3] = makeBanner(side, side, "T", RGB(0, 132, 180), RGB(29, 161, 242));
    pictures_[4] = makeBanner(side, side, "F", RGB(40, 60, 120), RGB(59, 89, 152));
    ImgUpdate.setBitmap(pictures_[2]);
    ImgTwitter.setBitmap(pictures_[3]);
    ImgFacebook.setBitmap(pictures_[4]);
}

void frmMain::Timer1_Timer() {
    pageState_.showCommands(PageStackId::Outer);
    pageState_.updateCounts();
    for (forms::TextBox* box : {&txtAppsSearch, &txtPortableSearch, &txtSlimSearch})
        guarded([&] { trimSearchBox(*box); });
}

void frmMain::Timer3_Timer() {
    pageState_.showCommands(PageStackId::Inner);
    guarded([&] { trimSearchBox(txtSpecialSearch); });
}

} // namespace app
