#include "app/frmMain.h"

#include "app/banners.h"
#include "app/pure/text_rules.h"
#include "app/search_sort.h"
#include "app/version.h"
#include "catalog/profile.h"
#include "controls/pure/colour.h"
#include "platform/guarded.h"
#include "ui/layout.h"
#include "ui/pure/layout.h"

#include <commctrl.h>

#include <utility>

namespace app {

using platform::guarded;

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
    wireEntryCommands({kinds_, entryActions_, webActions_,
                       [this](forms::ListBox& entries) { installed_.checkEntry(entries); }});
    wireActions();
    mnuShow.Click = [this] { tray_.showNormal(); };
    mnuDDLManagerSystray.Click = [this] { ddlManager_.Show(); };
    mnuUpdate.Click = [this] { updates_.Show(false); };
    mnuExit.Click = [this] { mnuExit_Click(); };

    installed_.markEntries(kinds_);
    wireOptionsList(
        lstSignatures, mnEditSignatures, [this] { return SignaturesFilePath(ApplicationPath()); },
        services_);
    wireOptionsList(
        lstBlacklist, mnEditBlacklist, [this] { return BlacklistFilePath(ApplicationPath()); },
        services_);

    // Each control goes onto its page once and starts at its design place;
    // the resize rule then moves and stretches some of them.
    ui::placeControls(*this, SSTab1, SSTab2);
}

frmMain::~frmMain() = default;

void frmMain::wireEvents() {
    Timer1.Tick = [this] { pageState_.outerTick(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    Timer3.Tick = [this] { pageState_.innerTick(); };
    ToolBar1.Click = [this](int index) { navigation_.toolbarClick(index); };
    ToolBar1.MouseMove = [this](int, int, int, int) {
        hints_.toolbarMoved(SSTab1.Tab(), [this] { return statusText(); });
    };
    SSTab1.MouseDown = [this](int, int, int x, int y) { navigation_.outerMouseDown(x, y); };
    SSTab2.MouseDown = [this](int, int, int x, int y) { navigation_.innerMouseDown(x, y); };
    cboTheme.Click = [this] { themes_.applyChosen(); };

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
    navigation_.makeSnapshot = [this] { installed_.makeSnapshot(); };
    automaticUpdateCheck = [this] { updates_.automaticCheck(Timer2); };
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
    mnuVisitPage.Click = [this] { webActions_.visitPage(); };
    mnuURLtoClipboardPage.Click = [this] { webActions_.linkToClipboard(); };
    mnuSendPageLinkSlim.Click = [this] { webActions_.sendPageLink(); };
    mnuSharePageTwitter.Click = [this] { webActions_.sharePageOnTwitter(); };
    mnuSharePageFacebook.Click = [this] { webActions_.sharePageOnFacebook(); };
    mnuSortPages.Click = [this] { Liste_Sortieren(lstPages); };

    navigation_.sendFeedback = [this] { webActions_.feedback(); };
    navigation_.sendAppSuggestion = [this] { webActions_.appSuggestions(); };
    lblHomepage.setLink(true);
    lblHomepage.Click = [this] { webActions_.homepage(); };
    ImgFacebook.Click = [this] { webActions_.facebookPage(); };
    ImgTwitter.Click = [this] { webActions_.tweetProgram(); };
}

void frmMain::Form_Resize() {
    ui::applyResizeRule(*this, SSTab1.Top());
}

void frmMain::Form_DpiChanged() {
    // The chrome, the pictures and the title's font are made for the new
    // resolution.
    guarded([&] { chrome_.apply(dpi()); });
    guarded([&] { artwork_.makePictures(); });
    guarded([&] { artwork_.makeTitleFont(); });
}

bool frmMain::Form_KeyPreview(const MSG& m) {
    // Alt+1 to Alt+8: the toolbar's buttons in their order.
    const bool alt = m.message == WM_SYSKEYDOWN && (m.lParam & (1 << 29));
    if (!alt || m.wParam < '1' || m.wParam > '8')
        return false;
    navigation_.toolbarClick(static_cast<int>(m.wParam - '1'));
    return true;
}

void frmMain::Form_Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

std::string frmMain::ApplicationPath() {
    return services_.environment.applicationPath();
}

void frmMain::Form_Load() {
    guarded([&] { chrome_.apply(dpi()); });
    guarded([&] { setHeight(ui::kStartHeight); });
    guarded([&] { lblWelcome.setCaption("Welcome,"); });
    guarded([&] { lblUser.setCaption(services_.environment.variable("Username")); });
    guarded([&] {
        lblVersion.setCaption(versionText(kVersionMajor, kVersionMinor, kVersionRevision));
    });
    guarded([&] {
        lblTitle.setCaption("Fetchlets");
        artwork_.makeTitleFont();
    });
    guarded([&] { txtSignatureServer.setText(updates_.DefaultSignatureServer()); });
    // The status text reads the update window's catalog version from the
    // manifest with the option unticked, as every load starts (the saved value
    // is restored later): the window, made when first used, then skips its
    // automatic check, so a restart does not check twice.
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
    guarded([&] { artwork_.makePictures(); });
    // Only one copy runs: a second one closes its window before it is ever
    // shown and the process ends.
    if (services_.singleInstance.anotherIsRunning("Fetchlets")) {
        secondCopy_ = true;
        Unload(forms::vbFormCode);
        // The user sees the copy that runs instead.
        guarded([&] { services_.singleInstance.showRunningCopy("Fetchlets"); });
        return;
    }
    // The installed applications, read once per run in slices of the
    // window's idle time once it is shown and painted (timer messages come
    // after the paint messages): neither the window nor its first paint
    // waits for the registry. The list and the marks are filled when the
    // last slice is read (or at once when something needs them before).
    guarded([&] {
        installed_.scheduleReading();
        SetTimer(hwnd(), kInstalledReadTimer, 0, nullptr);
    });
    guarded([&] { txtCredits.setText(creditsText()); });
}

LRESULT frmMain::onMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
    handled = false;
    if (msg == runningCopyMessage_ && msg != 0 && !secondCopy_) {
        handled = true;
        tray_.bringToFront();
    } else if (msg == WM_TIMER && wp == kInstalledReadTimer) {
        handled = true;
        if (installed_.readOn(kInstalledReadSlice))
            KillTimer(hwnd(), kInstalledReadTimer);
    }
    return 0;
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

void frmMain::Timer2_Timer() {
    // One automatic check per start, and only with the option ticked.
    if (chkAutoUpdate.Value() == 1 && automaticUpdateCheck)
        guarded([&] { automaticUpdateCheck(); });
    Timer2.setEnabled(false);
}

} // namespace app
