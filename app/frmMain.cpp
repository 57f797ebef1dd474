#include "app/frmMain.h"

#include "app/banners.h"
#include "app/guarded.h"
#include "app/pure/text_rules.h"
#include "app/search_sort.h"
#include "app/version.h"
#include "catalog/profile.h"
#include "controls/pure/colour.h"
#include "ui/pure/layout.h"

#include <commctrl.h>

#include <utility>

namespace app {

frmMain::frmMain(platform::Services& services, std::string productServer)
    : Form("frmMain", "Fetchlets"), services_(services),
      updates_(services, {*this, chkAutoUpdate, txtSignatureServer, lstSignatures, lblVersion},
               std::move(productServer)) {
    initialWidth_ = ui::kDesignClientWidth + 240;
    initialHeight_ = ui::kStartHeight;

    txtAppsSearch.setText("Must-Have Apps");
    txtPortableSearch.setText("Portable Apps");
    txtSlimSearch.setText("Slim / Toolbar Free Apps");
    txtSpecialSearch.setText("Special");
    txtHomepage.setText("You can download the latest version, report bugs and submit feature "
                        "requests at the following website.");
    PicSystrayIcon.setVisible(false);
    ShpAbout.setBackColor(controls::rgb(160, 160, 160));

    chrome_.design(forms::screenDpi());
    wireEvents();
    kinds_.wire({.categoryChosen = [this](catalog::Kind k) { browsing_.categoryChosen(k); },
                 .entryChosen = [this](catalog::Kind k) { browsing_.entryChosen(k); },
                 .copyName = [this](catalog::Kind k) { browsing_.copyName(k); }});
    wireSearchBoxes(kinds_);
    // The category lists' sort menus (opened by wireActions' mouse-down rule).
    std::pair<forms::ListBox*, forms::PopupMenu*> sortMenus[] = {
        {&lstCat, &mnSortCat},
        {&lstCatPortable, &mnSortCatPortable},
        {&lstCatSlim, &mnSortCatSlim},
        {&lstCatPages, &mnSortCatPages}};
    for (auto [list, menu] : sortMenus)
        menu->items().front().Click = [list] { Liste_Sortieren(*list); };
    wireActions();
    pageState_.watch(timer1Work_, timer3Work_);
    for (forms::TextBox* box : {&txtAppsSearch, &txtPortableSearch, &txtSlimSearch})
        timer1Work_.watch(*box);
    timer3Work_.watch(txtSpecialSearch);
    mnuCheckAppInstalled.Click = [this] { mnuCheckAppInstalled_Click(); };
    mnuCheckAppInstalledSlim.Click = [this] { mnuCheckAppInstalledSlim_Click(); };
    mnuCheckAppInstalledSpecial.Click = [this] { mnuCheckAppInstalledSpecial_Click(); };
    mnuShow.Click = [this] { mnuShow_Click(); };
    mnuDDLManagerSystray.Click = [this] { ddlManager_.Show(); };
    mnuUpdate.Click = [this] { updates_.Show(false); };
    mnuExit.Click = [this] { mnuExit_Click(); };

    // The download kinds' entry lists mark the entries that are installed.
    for (const KindControls& k : kinds_)
        if (k.kind != catalog::Kind::Pages)
            k.entries.ItemNote = [this](const std::string& entry) {
                return installed_.isInstalled(entry) ? std::string("installed") : std::string();
            };
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

    // Each control goes onto its page once and starts at its design place;
    // the resize rule then moves and stretches some of them.
    for (const ui::PagePlace& p : ui::kPagePlaces)
        if (forms::Control* c = control(p.control))
            c->placeOn(p.stack == ui::Stack::Outer ? SSTab1 : SSTab2, p.page);
    for (const ui::Placement& p : ui::designLayout())
        if (forms::Control* c = control(p.control))
            c->Move(p.rect.left, p.rect.top, p.rect.width, p.rect.height);
}

frmMain::~frmMain() = default;

void frmMain::wireEvents() {
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    Timer3.Tick = [this] { Timer3_Timer(); };
    ToolBar1.Click = [this](int index) { ToolBar1_Click(index); };
    ToolBar1.MouseMove = [this](int, int, int, int) { ToolBar1_MouseMove(); };
    SSTab1.MouseDown = [this](int, int, int x, int y) { SSTab1_MouseDown(x, y); };
    SSTab2.MouseDown = [this](int, int, int x, int y) { SSTab2_MouseDown(x, y); };
    cboTheme.Click = [this] { cboTheme_Click(); };

    using ui::HomeCommand;
    const std::pair<forms::CommandButton*, HomeCommand> home[] = {
        {&cmdGetApps, HomeCommand::GetApps},
        {&cmdGetPortable, HomeCommand::GetPortable},
        {&cmdGetSlim, HomeCommand::GetSlim},
        {&cmdWinStarterKit, HomeCommand::WinStarterKit},
        {&cmdRecommendations, HomeCommand::Recommendations},
        {&cmdGetHelp, HomeCommand::GetHelp},
        {&cmdDDLManager, HomeCommand::DDLManager},
        {&cmdShowInstalledApps, HomeCommand::ShowInstalledApps},
        {&cmdAppSuggestions, HomeCommand::AppSuggestions},
        {&cmdFeedback, HomeCommand::Feedback},
    };
    for (auto [button, command] : home) {
        button->Click = [this, command] { navigation_.homeClick(command); };
        button->MouseEnter = [this, button] { hints_.show(button->name()); };
    }
    for (forms::Image* image : {&ImgUpdate, &ImgTwitter, &ImgFacebook})
        image->MouseMove = [this, image](int, int, int, int) { hints_.show(image->name()); };
    ImgUpdate.Click = [this] { navigation_.homeClick(HomeCommand::UpdateImage); };
    // "Exit" ends the program whatever the tray option says: a close from
    // code never becomes a hide.
    navigation_.showUpdater = [this] { updates_.Show(); };
    navigation_.showLinkManager = [this] { ddlManager_.Show(this); };
    navigation_.makeSnapshot = [this] { installed_.cmdShowInstalledApps_Click(); };
    automaticUpdateCheck = [this] { updates_.Timer2_Timer(Timer2); };
    navigation_.chooseStarterKit = [this] { browsing_.showSubCatalog(SubCatalog::StarterKit); };
    navigation_.chooseRecommendations = [this] {
        browsing_.showSubCatalog(SubCatalog::Recommendations);
    };
    // The loop ends when the last window goes; a window that refused to
    // close (the link manager when its queue cannot be saved) keeps it running.
    navigation_.exitProgram = [this] { Unload(forms::vbFormCode); };
}

std::string frmMain::linkFieldText() {
    return linkField_.Text();
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
        k.downloadButton.Click = [this] { entryActions_.directDownload(); };
        if (k.fromPageButton)
            k.fromPageButton->Click = [this] { entryActions_.downloadFromPage(); };
        m.download.Click = [this] { entryActions_.directDownload(); };
        m.fromPage.Click = [this] { entryActions_.downloadFromPage(); };
        m.queue.Click = [this] { entryActions_.addToQueue(); };
        m.queueForce.Click = [this] { entryActions_.addToQueue(); };
        m.developerPage.Click = [this] { webActions_.developerPage(); };
        m.alternate.Click = [this, kind] { webActions_.alternateDownload(kind); };
        m.support.Click = [this, kind] { webActions_.supportLinks(kind); };
        m.screenshots.Click = [this, kind] { webActions_.screenshots(kind); };
        m.clipboard.Click = [this] { webActions_.linkToClipboard(); };
        m.send.Click = [this, kind] { webActions_.sendDownloadLink(kind); };
        m.report.Click = [this] { webActions_.reportProblem(); };
        m.block.Click = [this] { entryActions_.blockRequest(); };
        k.entries.MouseDown = [this, kind](int button, int, int, int) {
            entryActions_.entryListMouseDown(kind, button);
            browsing_.copyName(kind);
        };
        m.sort.Click = [&k] { Liste_Sortieren(k.entries); };
    }

    cmdVisitPage.Click = [this] { webActions_.visitPage(); };
    mnuVisitPage.Click = [this] { webActions_.visitPage(); };
    mnuURLtoClipboardPage.Click = [this] { webActions_.linkToClipboard(); };
    mnuSendPageLinkSlim.Click = [this] { webActions_.sendPageLink(); };
    mnuSharePageTwitter.Click = [this] { webActions_.sharePageOnTwitter(); };
    mnuSharePageFacebook.Click = [this] { webActions_.sharePageOnFacebook(); };
    mnuSortPages.Click = [this] { Liste_Sortieren(lstPages); };
    lstPages.MouseDown = [this](int button, int, int, int) {
        entryActions_.pageListMouseDown(lstPages, mnPages, mnuVisitPage, button);
        browsing_.copyName(Kind::Pages);
    };

    lstCat.MouseDown = [this](int b, int, int, int) {
        EntryActions::listMenuMouseDown(mnSortCat, false, b);
    };
    lstCatPortable.MouseDown = [this](int b, int, int, int) {
        EntryActions::listMenuMouseDown(mnSortCatPortable, false, b);
    };
    lstCatSlim.MouseDown = [this](int b, int, int, int) {
        EntryActions::listMenuMouseDown(mnSortCatSlim, false, b);
    };
    lstCatPages.MouseDown = [this](int b, int, int, int) {
        EntryActions::listMenuMouseDown(mnSortCatPages, true, b);
    };

    navigation_.sendFeedback = [this] { webActions_.feedback(); };
    navigation_.sendAppSuggestion = [this] { webActions_.appSuggestions(); };
    lblHomepage.setLink(true);
    lblHomepage.Click = [this] { webActions_.homepage(); };
    ImgFacebook.Click = [this] { webActions_.facebookPage(); };
    ImgTwitter.Click = [this] { webActions_.tweetProgram(); };
}

void frmMain::Form_Resize() {
    for (const ui::Assignment& a : ui::resizeRule(Width(), Height(), SSTab1.Top()))
        if (forms::Control* c = control(a.control))
            guarded([&] {
                switch (a.field) {
                case ui::Field::Left:
                    c->setLeft(a.value);
                    break;
                case ui::Field::Top:
                    c->setTop(a.value);
                    break;
                case ui::Field::Width:
                    c->setWidth(a.value);
                    break;
                case ui::Field::Height:
                    c->setHeight(a.value);
                    break;
                }
            });
}

void frmMain::Form_DpiChanged() {
    // The chrome, the pictures and the title's font are made for the new
    // resolution.
    guarded([&] { chrome_.apply(dpi()); });
    guarded([&] { makePictures(); });
    guarded([&] { makeTitleFont(); });
}

bool frmMain::Form_KeyPreview(const MSG& m) {
    // Alt+1 to Alt+8: the toolbar's buttons in their order.
    const bool alt = m.message == WM_SYSKEYDOWN && (m.lParam & (1 << 29));
    if (!alt || m.wParam < '1' || m.wParam > '8')
        return false;
    ToolBar1_Click(static_cast<int>(m.wParam - '1'));
    return true;
}

void frmMain::Form_Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

std::string frmMain::ApplicationPath() {
    return services_.environment->applicationPath();
}

void frmMain::Form_Load() {
    guarded([&] { chrome_.apply(dpi()); });
    guarded([&] { setHeight(ui::kStartHeight); });
    guarded([&] { lblWelcome.setCaption("Welcome,"); });
    guarded([&] { lblUser.setCaption(services_.environment->variable("Username")); });
    guarded([&] {
        lblVersion.setCaption(versionText(kVersionMajor, kVersionMinor, kVersionRevision));
    });
    guarded([&] {
        lblTitle.setCaption("Fetchlets");
        makeTitleFont();
    });
    guarded([&] { txtSignatureServer.setText(updates_.DefaultSignatureServer()); });
    // The status text reads the update window's catalog version, which loads
    // that window hidden; its own start-up runs here. Its automatic check
    // finds the option unticked, as every load starts (the saved value is
    // restored later), so a restart does not check twice.
    guarded([&] { chkAutoUpdate.setValue(0); });
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
        linkField_.setText(statusText());
    });
    guarded([&] { cmdFeedback.setBackColor(controls::rgb(0, 204, 255)); });
    guarded([&] { themes_.fill(); });
    guarded([&] { browsing_.LoadCategoryLists(); });
    guarded([&] { RestoreMainWindowState(windowState_, settingsFile()); });
    guarded([&] { Timer2.setEnabled(true); });
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
        // The user sees the copy that runs instead.
        guarded([&] { services_.singleInstance->showRunningCopy("Fetchlets"); });
        return;
    }
    // The installed applications, read once per run on a worker thread: the
    // window does not wait for the registry. The list and the marks are
    // filled when the worker posts kInstalledRead (or at once when something
    // needs them before).
    guarded([&] { installed_.startReading(window(), kInstalledRead); });
    guarded([&] { txtCredits.setText(creditsText()); });
}

LRESULT frmMain::onMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
    handled = false;
    if (msg == runningCopyMessage_ && msg != 0 && !secondCopy_) {
        handled = true;
        bringToFront();
    } else if (msg == kInstalledRead) {
        handled = true;
        if (installed_.finishReading())
            // The entry lists draw the installed mark beside the names.
            for (forms::ListBox* list : {&lstApps, &lstPortable, &lstSlim, &lstSpecial})
                if (list->hwnd())
                    InvalidateRect(list->hwnd(), nullptr, FALSE);
    }
    return 0;
}

void frmMain::bringToFront() {
    if (tray_.iconShown()) {
        tray_.restore();
        return;
    }
    HWND w = window();
    if (IsIconic(w))
        ShowWindow(w, SW_RESTORE);
    else if (!IsWindowVisible(w))
        ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
}

void frmMain::Form_QueryUnload(int& cancel, int unloadMode) {
    guarded([&] { SaveFormState(*this, settingsFile()); });
    // A close through the close box may become a hide behind the tray icon.
    guarded([&] { tray_.queryUnload(cancel, unloadMode); });
    // Downloads still running: the user decides whether to cancel them.
    guarded([&] {
        if (!cancel && services_.downloads && !services_.downloads->confirmClose(window()))
            cancel = 1;
    });
}

void frmMain::Form_Unload(int&) {
    // The control values, the geometry, the pages and the chosen categories.
    // A copy that ends at start-up writes them too, but only a close the user
    // asked for tells of a failure.
    guarded([&] {
        if (!SaveMainWindowState(windowState_, settingsFile()) && !secondCopy_)
            ReportSettingsNotSaved(services_, window(), settingsFile());
    });
    guarded([&] { tray_.removeIcon(); });
    guarded([&] { updates_.Unload(); });
    guarded([&] {
        if (services_.downloads)
            services_.downloads->shutdown();
    });
    // Every other window of the program closes through its own unload.
    guarded([&] { forms::unloadOtherForms(*this); });
}

void frmMain::mnuExit_Click() {
    guarded([&] { tray_.removeIcon(); });
    forms::unloadAllForms(forms::vbFormCode);
}

frmCheckAppInstalled& frmMain::checkAppInstalledWindow() {
    installed_.finishReading(); // the check searches the whole list
    if (!checkAppInstalled_)
        checkAppInstalled_ = std::make_unique<frmCheckAppInstalled>(
            CheckAppInstalledView{lstSoftware, settingsFile()});
    return *checkAppInstalled_;
}

void frmMain::makeTitleFont() {
    platform::Font font(CreateFontA(-pixels(360), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                    CLEARTYPE_QUALITY, 0, "Tahoma"));
    if (!font || !lblTitle.hwnd())
        return;
    SendMessageA(lblTitle.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The label holds the new font now; the one it had is no longer used.
    titleFont_ = std::move(font);
}

void frmMain::makePictures() {
    auto old = std::move(pictures_); // freed once the images show the new ones
    int w = pixels(3780), h = pixels(330);
    pictures_[0] = makeBanner(w, h, "Recommendations", RGB(0, 102, 153), RGB(0, 204, 255));
    pictures_[1] = makeBanner(w, h, "Windows Starter Kit", RGB(0, 120, 60), RGB(120, 200, 80));
    ImgRecommendations.setBitmap(pictures_[0].get());
    ImgStarterKit.setBitmap(pictures_[1].get());
}

void frmMain::Timer1_Timer() {
    if (!timer1Work_.take())
        return;
    pageState_.showCommands(PageStackId::Outer);
    pageState_.updateCounts();
    for (forms::TextBox* box : {&txtAppsSearch, &txtPortableSearch, &txtSlimSearch})
        guarded([&] { trimSearchBox(*box); });
}

void frmMain::Timer2_Timer() {
    // One automatic check per start, and only with the option ticked.
    if (chkAutoUpdate.Value() == 1 && automaticUpdateCheck)
        guarded([&] { automaticUpdateCheck(); });
    Timer2.setEnabled(false);
}

void frmMain::Timer3_Timer() {
    if (!timer3Work_.take())
        return;
    pageState_.showCommands(PageStackId::Inner);
    guarded([&] { trimSearchBox(txtSpecialSearch); });
}

} // namespace app
