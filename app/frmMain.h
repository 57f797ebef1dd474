// The main window: its controls, named and grouped by page, the ordered
// start-up and shutdown steps, and one-line forwarders from the controls'
// events to the objects that carry each part of the behaviour.
#pragma once

#include "app/browsing.h"
#include "app/entry_actions.h"
#include "app/frmCheckAppInstalled.h"
#include "app/installed.h"
#include "app/kinds.h"
#include "app/link_field.h"
#include "app/page_state.h"
#include "app/web_actions.h"
#include "app/settings.h"
#include "app/updates.h"
#include "forms/bars.h"
#include "links/frmDDLManager.h"
#include "forms/controls.h"
#include "forms/menu.h"
#include "platform/pure/endpoints.h"
#include "platform/services.h"
#include "ui/chrome.h"
#include "ui/hints.h"
#include "ui/navigation.h"
#include "ui/themes.h"

#include "ui/tray.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace app {

class frmMain : public forms::Form {
  public:
    // `productServer`: where the updater finds the manifest (tests pass their own).
    explicit frmMain(platform::Services& services,
                     std::string productServer = update::kProductServer);
    ~frmMain() override;

    // The application folder with exactly one trailing backslash.
    std::string ApplicationPath();

    const KindControls& kindControls(catalog::Kind kind) const { return kinds_[kind]; }
    Browsing& browsing() { return browsing_; }
    // The link manager: its window is made when first shown or given a link.
    links::frmDDLManager& ddlManager() { return ddlManager_; }
    const std::string& catalogFile(catalog::Kind kind) const { return browsing_.catalogFile(kind); }

    // The update window.
    update::frmUpdate& updateWindow() { return updates_.window(); }
    // "Fetchlets Version: <lblVersion>, Signature Version: <the update
    // window's catalog version>"; reading it loads the update window hidden.
    std::string statusText() { return updates_.StatusText(); }
    std::string StatusText() { return statusText(); }
    // The automatic update check of Timer2's one tick (runs only with
    // chkAutoUpdate ticked).
    std::function<void()> automaticUpdateCheck;
    // Page navigation with the hooks the other windows and actions fill.
    ui::Navigation& navigation() { return navigation_; }
    // The status bar's first panel.
    LinkField& linkField() { return linkField_; }

  private:
    // Posted by the worker that reads the installed applications.
    static constexpr UINT kInstalledRead = WM_APP + 31;
    platform::Services& services_;

  public:
    // Declaration order is creation and tab order.

    // The navigation column on the left and the hint line at the bottom.
    forms::ToolBar ToolBar1{*this, "ToolBar1"};
    forms::StatusBar StatusBar1{*this, "StatusBar1"};

    // Outer pages and their tabs.
    forms::PageStack SSTab1{
        *this,
        "SSTab1",
        {"Home", "Get Apps", "Options", "About", "Get Portable", "Get Slim", "Special", "Empty"}};
    forms::PageStack SSTab2{*this, "SSTab2", {"Special", "Pages", "Installed Apps"}};

    // Home.
    forms::Label lblWelcome{*this, "lblWelcome", "Welcome"};
    forms::Label lblUser{*this, "lblUser", "Name"};
    forms::CommandButton cmdFeedback{*this, "cmdFeedback", "Send Suggestion and Feedback!"};
    forms::CommandButton cmdGetApps{*this, "cmdGetApps", "Get Must-Have Apps"};
    forms::CommandButton cmdGetPortable{*this, "cmdGetPortable", "Get Portable Apps"};
    forms::CommandButton cmdGetSlim{*this, "cmdGetSlim", "Get Slim and Toolbar free Apps"};
    forms::CommandButton cmdWinStarterKit{*this, "cmdWinStarterKit", "Windows Starter Kit"};
    forms::CommandButton cmdRecommendations{*this, "cmdRecommendations", "Get Recommended Apps"};
    forms::CommandButton cmdGetHelp{*this, "cmdGetHelp", "Get Direct Help"};
    forms::CommandButton cmdDDLManager{*this, "cmdDDLManager", "Direct Download Link Manager"};
    forms::CommandButton cmdShowInstalledApps{*this, "cmdShowInstalledApps",
                                              "Make Snapshot of Installed Apps"};
    forms::CommandButton cmdAppSuggestions{*this, "cmdAppSuggestions", "Send App Suggestions"};
    forms::Image ImgUpdate{*this, "ImgUpdate"};
    forms::Image ImgTwitter{*this, "ImgTwitter"};
    forms::Image ImgFacebook{*this, "ImgFacebook"};
    // Receives the tray icon's messages; never shown.
    forms::Image PicSystrayIcon{*this, "PicSystrayIcon"};

    // Get Apps.
    forms::Label Label1{*this, "Label1", "Categories"};
    forms::Label lblCountCat{*this, "lblCountCat", "0"};
    forms::Label Label3{*this, "Label3", "Apps"};
    forms::Label lblCountApps{*this, "lblCountApps", "0"};
    forms::ListBox lstCat{*this, "lstCat"};
    forms::ListBox lstApps{*this, "lstApps"};
    forms::TextBox txtAppsSearch{*this, "txtAppsSearch"};
    forms::CommandButton cmdDownload{*this, "cmdDownload", "Direct Download"};
    forms::CommandButton cmdDownloadFromPage{*this, "cmdDownloadFromPage",
                                             "Direct Download from Page"};

    // Options.
    forms::Label Label5{*this, "Label5", "Options"};
    forms::CheckBox chkSystray{*this, "chkSystray", "Minimize to System Tray"};
    forms::CheckBox chkAutoUpdate{*this, "chkAutoUpdate",
                                  "Auto. Check for Fetchlets and Signature Updates on every Start"};
    forms::Label lblSignatures{*this, "lblSignatures", "Update the following Signature file(s)"};
    forms::ListBox lstSignatures{*this, "lstSignatures"};
    forms::Label lblSignatureServer{*this, "lblSignatureServer", "from:"};
    forms::TextBox txtSignatureServer{*this, "txtSignatureServer"};
    forms::Label lblBlacklist{
        *this, "lblBlacklist",
        "Block Direct Download if the following String(s) is found in Download URL"};
    forms::ListBox lstBlacklist{*this, "lstBlacklist"};
    forms::Label lblTheme{*this, "lblTheme", "Theme"};
    forms::ComboBox cboTheme{*this, "cboTheme"};

    // About.
    forms::Label lblTitle{*this, "lblTitle", "Fetchlets"};
    forms::Label ShpAbout{*this, "ShpAbout"};
    forms::Label lblVersionInfo{*this, "lblVersionInfo", "Version:"};
    forms::Label lblVersion{*this, "lblVersion"};
    forms::Label lblCopyright{*this, "lblCopyright", "Copyright (C) 2026 The Fetchlets team"};
    forms::TextBox txtHomepage{
        *this, "txtHomepage", {.multiLine = true, .readOnly = true, .scrollBarWhenNeeded = true}};
    forms::Label lblHomepage{*this, "lblHomepage", platform::endpoints::kProductHomePage};
    forms::TextBox txtCredits{*this, "txtCredits", {.multiLine = true, .readOnly = true}};

    // Get Portable.
    forms::Label Label13{*this, "Label13", "Categories"};
    forms::Label lblCountCatPortable{*this, "lblCountCatPortable", "0"};
    forms::Label Label6{*this, "Label6", "Apps"};
    forms::Label lblCountPortable{*this, "lblCountPortable", "0"};
    forms::ListBox lstCatPortable{*this, "lstCatPortable"};
    forms::ListBox lstPortable{*this, "lstPortable"};
    forms::TextBox txtPortableSearch{*this, "txtPortableSearch"};
    forms::CommandButton cmdDownloadPortable{*this, "cmdDownloadPortable", "Direct Download"};
    forms::CommandButton cmdDownloadPortableFromPage{*this, "cmdDownloadPortableFromPage",
                                                     "Direct Download from Page"};

    // Get Slim.
    forms::Label Label2{*this, "Label2", "Categories"};
    forms::Label lblCountCatSlim{*this, "lblCountCatSlim", "0"};
    forms::Label Label12{*this, "Label12", "Apps"};
    forms::Label lblCountSlim{*this, "lblCountSlim", "0"};
    forms::ListBox lstCatSlim{*this, "lstCatSlim"};
    forms::ListBox lstSlim{*this, "lstSlim"};
    forms::TextBox txtSlimSearch{*this, "txtSlimSearch"};
    forms::CommandButton cmdDownloadSlim{*this, "cmdDownloadSlim", "Direct Download"};
    forms::CommandButton cmdDownloadSlimFromPage{*this, "cmdDownloadSlimFromPage",
                                                 "Direct Download from Page"};

    // Special (inner page 0).
    forms::ListBox lstCatSpecial{*this, "lstCatSpecial", {.oneItem = true}};
    forms::ListBox lstSpecial{*this, "lstSpecial"};
    forms::Label Label7{*this, "Label7", "Apps"};
    forms::Label lblCountSpecial{*this, "lblCountSpecial", "0"};
    forms::TextBox txtSpecialSearch{*this, "txtSpecialSearch"};
    forms::CommandButton cmdDownloadSpecial{*this, "cmdDownloadSpecial", "Direct Download"};
    forms::CommandButton cmdDownloadSpecialFromPage{*this, "cmdDownloadSpecialFromPage",
                                                    "Direct Download from Page"};
    forms::Image ImgRecommendations{*this, "ImgRecommendations"};
    forms::Image ImgStarterKit{*this, "ImgStarterKit"};

    // Pages (inner page 1).
    forms::Label Label11{*this, "Label11", "Categories"};
    forms::Label lblCountCatPages{*this, "lblCountCatPages", "0"};
    forms::Label Label17{*this, "Label17", "Pages"};
    forms::Label lblCountPages{*this, "lblCountPages", "0"};
    forms::ListBox lstCatPages{*this, "lstCatPages"};
    forms::ListBox lstPages{*this, "lstPages"};
    forms::Label lblPages{*this, "lblPages"};
    forms::CommandButton cmdVisitPage{*this, "cmdVisitPage", "Visit Page Now!"};

    // Installed Apps (inner page 2).
    forms::Label lblInstalledApps{*this, "lblInstalledApps", "Installed Apps"};
    forms::Label Label4{*this, "Label4", "Found:"};
    forms::Label lblCountInstalledApps{*this, "lblCountInstalledApps", "0"};
    forms::ListBox lstSoftware{*this, "lstSoftware", {.sorted = true}};

    // Entry-list menus (the same items in the same order; no installed
    // check on Portable).
    forms::PopupMenu mnMain{*this, "mnMain"};
    forms::MenuItem& mnuDownload = mnMain.add("mnuDownload", "Direct Download");
    forms::MenuItem& mnuDownloadFromPage =
        mnMain.add("mnuDownloadFromPage", "Direct Download from Page");
    forms::MenuItem& mnuDDLManager =
        mnMain.add("mnuDDLManager", "Add Link to Download Manager (Queue List)");
    forms::MenuItem& mnuDDLManagerForce =
        mnMain.add("mnuDDLManagerForce", "Add Link to Download Manager (Force)");
    forms::MenuItem& mnuCheckAppInstalled =
        mnMain.add("mnuCheckAppInstalled", "Check whether App is installed");
    forms::MenuItem& mnuVisitDeveloperPage =
        mnMain.add("mnuVisitDeveloperPage", "Visit Developer Page");
    forms::MenuItem& mnuAlternateDownload =
        mnMain.add("mnuAlternateDownload", "Search Alternate Download Link");
    forms::MenuItem& mnuSupportLinks = mnMain.add("mnuSupportLinks", "Search Support Links");
    forms::MenuItem& mnuAppScreenshots = mnMain.add("mnuAppScreenshots", "Show Screenshots of App");
    forms::MenuItem& mnuURLtoClipboard =
        mnMain.add("mnuURLtoClipboard", "Copy Download Link to Clipboard");
    forms::MenuItem& mnuSort = mnMain.add("mnuSort", "Sort A-Z");
    forms::MenuItem& mnu1 = mnMain.add("mnu1", "-");
    forms::MenuItem& mnuSendDownloadLink =
        mnMain.add("mnuSendDownloadLink", "Send Download Link to your Friend(s)");
    forms::MenuItem& mnuReportProblem =
        mnMain.add("mnuReportProblem", "Report Problem with this Download Link");
    forms::MenuItem& mnuBlockDirectDownload =
        mnMain.add("mnuBlockDirectDownload", "Direct Download for this App not allowed?");

    forms::PopupMenu mnPortable{*this, "mnPortable"};
    forms::MenuItem& mnuDownloadPortable = mnPortable.add("mnuDownloadPortable", "Direct Download");
    forms::MenuItem& mnuDownloadPortableFromPage =
        mnPortable.add("mnuDownloadPortableFromPage", "Direct Download from Page");
    forms::MenuItem& mnuDDLManagerPortable =
        mnPortable.add("mnuDDLManagerPortable", "Add Link to Download Manager (Queue List)");
    forms::MenuItem& mnuDDLManagerPortableForce =
        mnPortable.add("mnuDDLManagerPortableForce", "Add Link to Download Manager (Force)");
    forms::MenuItem& mnuVisitDeveloperPagePortable =
        mnPortable.add("mnuVisitDeveloperPagePortable", "Visit Developer Page");
    forms::MenuItem& mnuAlternatePortableDownload =
        mnPortable.add("mnuAlternatePortableDownload", "Search Alternate Download Link");
    forms::MenuItem& mnuSupportLinksPortable =
        mnPortable.add("mnuSupportLinksPortable", "Search Support Links");
    forms::MenuItem& mnuAppScreenshotsPortable =
        mnPortable.add("mnuAppScreenshotsPortable", "Show Screenshots of App");
    forms::MenuItem& mnuURLtoClipboardPortable =
        mnPortable.add("mnuURLtoClipboardPortable", "Copy Download Link to Clipboard");
    forms::MenuItem& mnuSortPortable = mnPortable.add("mnuSortPortable", "Sort A-Z");
    forms::MenuItem& mnu2 = mnPortable.add("mnu2", "-");
    forms::MenuItem& mnuSendDownloadLinkPortable =
        mnPortable.add("mnuSendDownloadLinkPortable", "Send Download Link to your Friend(s)");
    forms::MenuItem& mnuReportPortableProblem =
        mnPortable.add("mnuReportPortableProblem", "Report Problem with this Download Link");
    forms::MenuItem& mnuBlockDirectDownloadPortable = mnPortable.add(
        "mnuBlockDirectDownloadPortable", "Direct Download for this App not allowed?");

    forms::PopupMenu mnSlim{*this, "mnSlim"};
    forms::MenuItem& mnuDownloadSlim = mnSlim.add("mnuDownloadSlim", "Direct Download");
    forms::MenuItem& mnuDownloadSlimFromPage =
        mnSlim.add("mnuDownloadSlimFromPage", "Direct Download from Page");
    forms::MenuItem& mnuDDLManagerSlim =
        mnSlim.add("mnuDDLManagerSlim", "Add Link to Download Manager (Queue List)");
    forms::MenuItem& mnuDDLManagerSlimForce =
        mnSlim.add("mnuDDLManagerSlimForce", "Add Link to Download Manager (Force)");
    forms::MenuItem& mnuCheckAppInstalledSlim =
        mnSlim.add("mnuCheckAppInstalledSlim", "Check whether App is installed");
    forms::MenuItem& mnuVisitDeveloperPageSlim =
        mnSlim.add("mnuVisitDeveloperPageSlim", "Visit Developer Page");
    forms::MenuItem& mnuAlternateSlimDownload =
        mnSlim.add("mnuAlternateSlimDownload", "Search Alternate Download Link");
    forms::MenuItem& mnuSupportLinksSlim =
        mnSlim.add("mnuSupportLinksSlim", "Search Support Links");
    forms::MenuItem& mnuAppScreenshotsSlim =
        mnSlim.add("mnuAppScreenshotsSlim", "Show Screenshots of App");
    forms::MenuItem& mnuURLtoClipboardSlim =
        mnSlim.add("mnuURLtoClipboardSlim", "Copy Download Link to Clipboard");
    forms::MenuItem& mnuSortSlim = mnSlim.add("mnuSortSlim", "Sort A-Z");
    forms::MenuItem& mnu3 = mnSlim.add("mnu3", "-");
    forms::MenuItem& mnuSendDownloadLinkSlim =
        mnSlim.add("mnuSendDownloadLinkSlim", "Send Download Link to your Friend(s)");
    forms::MenuItem& mnuReportSlimProblem =
        mnSlim.add("mnuReportSlimProblem", "Report Problem with this Download Link");
    forms::MenuItem& mnuBlockDirectDownloadSlim =
        mnSlim.add("mnuBlockDirectDownloadSlim", "Direct Download for this App not allowed?");

    forms::PopupMenu mnSpecial{*this, "mnSpecial"};
    forms::MenuItem& mnuDownloadSpecial = mnSpecial.add("mnuDownloadSpecial", "Direct Download");
    forms::MenuItem& mnuDownloadSpecialFromPage =
        mnSpecial.add("mnuDownloadSpecialFromPage", "Direct Download from Page");
    forms::MenuItem& mnuDDLManagerSpecial =
        mnSpecial.add("mnuDDLManagerSpecial", "Add Link to Download Manager (Queue List)");
    forms::MenuItem& mnuDDLManagerSpecialForce =
        mnSpecial.add("mnuDDLManagerSpecialForce", "Add Link to Download Manager (Force)");
    forms::MenuItem& mnuCheckAppInstalledSpecial =
        mnSpecial.add("mnuCheckAppInstalledSpecial", "Check whether App is installed");
    forms::MenuItem& mnuVisitDeveloperPageSpecial =
        mnSpecial.add("mnuVisitDeveloperPageSpecial", "Visit Developer Page");
    forms::MenuItem& mnuAlternateSpecialDownload =
        mnSpecial.add("mnuAlternateSpecialDownload", "Search Alternate Download Link");
    forms::MenuItem& mnuSupportLinksSpecial =
        mnSpecial.add("mnuSupportLinksSpecial", "Search Support Links");
    forms::MenuItem& mnuAppScreenshotsSpecial =
        mnSpecial.add("mnuAppScreenshotsSpecial", "Show Screenshots of App");
    forms::MenuItem& mnuURLtoClipboardSpecial =
        mnSpecial.add("mnuURLtoClipboardSpecial", "Copy Download Link to Clipboard");
    forms::MenuItem& mnuSortSpecial = mnSpecial.add("mnuSortSpecial", "Sort A-Z");
    forms::MenuItem& mnu4 = mnSpecial.add("mnu4", "-");
    forms::MenuItem& mnuSendDownloadLinkSpecial =
        mnSpecial.add("mnuSendDownloadLinkSpecial", "Send Download Link to your Friend(s)");
    forms::MenuItem& mnuReportSpecialProblem =
        mnSpecial.add("mnuReportSpecialProblem", "Report Problem with this Download Link");
    forms::MenuItem& mnuBlockDirectDownloadSpecial =
        mnSpecial.add("mnuBlockDirectDownloadSpecial", "Direct Download for this App not allowed?");

    // Page-list menu.
    forms::PopupMenu mnPages{*this, "mnPages"};
    forms::MenuItem& mnuVisitPage = mnPages.add("mnuVisitPage", "Visit Page Now!");
    forms::MenuItem& mnu5 = mnPages.add("mnu5", "-");
    forms::MenuItem& mnuURLtoClipboardPage =
        mnPages.add("mnuURLtoClipboardPage", "Copy Page Link to Clipboard");
    forms::MenuItem& mnuSortPages = mnPages.add("mnuSortPages", "Sort A-Z");
    forms::MenuItem& mnu6 = mnPages.add("mnu6", "-");
    forms::MenuItem& mnuSendPageLinkSlim =
        mnPages.add("mnuSendPageLinkSlim", "Send Page Link to your Friend(s)");
    forms::MenuItem& mnuSharePageTwitter =
        mnPages.add("mnuSharePageTwitter", "Share Page on Twitter");
    forms::MenuItem& mnuSharePageFacebook =
        mnPages.add("mnuSharePageFacebook", "Share Page on Facebook");

    // The notification-area menu.
    forms::PopupMenu mnSystray{*this, "mnSystray"};
    forms::MenuItem& mnuShow = mnSystray.add("mnuShow", "Show");
    forms::MenuItem& mnuDDLManagerSystray = mnSystray.add("mnuDDLManagerSystray", "DDL Manager");
    forms::MenuItem& mnuUpdate = mnSystray.add("mnuUpdate", "Update");
    forms::MenuItem& mnuExit = mnSystray.add("mnuExit", "Exit");

    // Category-list menus: one "Sort A-Z" each (the Special list has none).
    forms::PopupMenu mnSortCat{*this, "mnSortCat"};
    forms::MenuItem& mnuSortCat = mnSortCat.add("mnuSortCat", "Sort A-Z");
    forms::PopupMenu mnSortCatPortable{*this, "mnSortCatPortable"};
    forms::MenuItem& mnuSortCatPortable = mnSortCatPortable.add("mnuSortCatPortable", "Sort A-Z");
    forms::PopupMenu mnSortCatSlim{*this, "mnSortCatSlim"};
    forms::MenuItem& mnuSortCatSlim = mnSortCatSlim.add("mnuSortCatSlim", "Sort A-Z");
    forms::PopupMenu mnSortCatPages{*this, "mnSortCatPages"};
    forms::MenuItem& mnuSortCatPages = mnSortCatPages.add("mnuSortCatPages", "Sort A-Z");

    // Options-list menus.
    forms::PopupMenu mnEditSignatures{*this, "mnEditSignatures"};
    forms::MenuItem& mnuEditSignatures =
        mnEditSignatures.add("mnuEditSignatures", "Edit Signatures");
    forms::PopupMenu mnEditBlacklist{*this, "mnEditBlacklist"};
    forms::MenuItem& mnuEditBlacklist = mnEditBlacklist.add("mnuEditBlacklist", "Edit Blacklist");

    forms::Timer Timer1{*this, "Timer1", 1};
    forms::Timer Timer2{*this, "Timer2", 5000, false};
    forms::Timer Timer3{*this, "Timer3", 1};

    // The check window, made on first use.
    frmCheckAppInstalled& checkAppInstalledWindow();
    const ui::Tray& tray() const { return tray_; }

  protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Resize() override;
    bool Form_KeyPreview(const MSG& m) override;
    void Form_DpiChanged() override;
    void placeBeforeCreation() override { Form_Resize(); }
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

    void lstSignatures_MouseDown(int button, int, int, int) {
        OptionsList_MouseDown(mnEditSignatures, button);
    }
    void lstSignatures_KeyDown(int& keyCode, int) {
        OptionsList_KeyDown(mnEditSignatures, keyCode);
    }
    void lstBlacklist_MouseDown(int button, int, int, int) {
        OptionsList_MouseDown(mnEditBlacklist, button);
    }
    void lstBlacklist_KeyDown(int& keyCode, int) { OptionsList_KeyDown(mnEditBlacklist, keyCode); }
    void mnuEditSignatures_Click() {
        EditListFile(services_, SignaturesFilePath(ApplicationPath()));
    }
    void mnuEditBlacklist_Click() { EditListFile(services_, BlacklistFilePath(ApplicationPath())); }

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void ToolBar1_Click(int index) { navigation_.toolbarClick(index); }
    void ToolBar1_MouseMove() {
        hints_.toolbarMoved(SSTab1.Tab(), [this] { return statusText(); });
    }
    void SSTab1_MouseDown(int x, int y) { navigation_.outerMouseDown(x, y); }
    void SSTab2_MouseDown(int x, int y) { navigation_.innerMouseDown(x, y); }
    void cboTheme_Click() { themes_.cboTheme_Click(); }
    void cmdShowInstalledApps_Click() { installed_.cmdShowInstalledApps_Click(); }
    void mnuCheckAppInstalled_Click() { checkAppInstalledWindow().checkEntry(*this, lstApps); }
    void mnuCheckAppInstalledSlim_Click() { checkAppInstalledWindow().checkEntry(*this, lstSlim); }
    void mnuCheckAppInstalledSpecial_Click() {
        checkAppInstalledWindow().checkEntry(*this, lstSpecial);
    }
    void mnuShow_Click() { tray_.mnuShow_Click(); }
    void mnuExit_Click();

  protected:
    // A later copy's request to come to the front (runningCopyMessage), and
    // the installed applications read (kInstalledRead).
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  private:
    // Shows the window in front: restored from the tray or from the taskbar.
    void bringToFront();
    void wireEvents();
    void makePictures();
    // The About page's bold title at the window's resolution.
    void makeTitleFont();
    // The menus' items and the lists' mouse-down events to their actions.
    void wireActions();
    // The link of the chosen entry, as the link field shows it now.
    std::string linkFieldText();
    std::string settingsFile() { return SettingsFilePath(ApplicationPath()); }

    // The behaviour, one object per part; each sees only the controls it needs.
    Kinds kinds_{{{
        {catalog::Kind::Apps, lstCat, lstApps, &txtAppsSearch, &lblCountCat, lblCountApps,
         cmdDownload, &cmdDownloadFromPage, &mnMain, &mnuDownload, &mnuDownloadFromPage,
         &mnuDDLManager},
        {catalog::Kind::Portable, lstCatPortable, lstPortable, &txtPortableSearch,
         &lblCountCatPortable, lblCountPortable, cmdDownloadPortable, &cmdDownloadPortableFromPage,
         &mnPortable, &mnuDownloadPortable, &mnuDownloadPortableFromPage, &mnuDDLManagerPortable},
        {catalog::Kind::Slim, lstCatSlim, lstSlim, &txtSlimSearch, &lblCountCatSlim, lblCountSlim,
         cmdDownloadSlim, &cmdDownloadSlimFromPage, &mnSlim, &mnuDownloadSlim,
         &mnuDownloadSlimFromPage, &mnuDDLManagerSlim},
        {catalog::Kind::Special, lstCatSpecial, lstSpecial, &txtSpecialSearch, nullptr,
         lblCountSpecial, cmdDownloadSpecial, &cmdDownloadSpecialFromPage, &mnSpecial,
         &mnuDownloadSpecial, &mnuDownloadSpecialFromPage, &mnuDDLManagerSpecial},
        {catalog::Kind::Pages, lstCatPages, lstPages, nullptr, &lblCountCatPages, lblCountPages,
         cmdVisitPage, nullptr, nullptr, nullptr, nullptr},
    }}};
    Browsing browsing_{
        kinds_, *services_.environment, LinkField{StatusBar1}, lstBlacklist,
        SpecialView{SSTab1, SSTab2, ImgRecommendations, ImgStarterKit, txtSpecialSearch, lblPages}};
    PageState pageState_{*this, SSTab1, SSTab2};
    LinkField linkField_{StatusBar1};
    ui::Navigation navigation_{
        {SSTab1, SSTab2, txtAppsSearch, txtPortableSearch, txtSlimSearch, txtSpecialSearch}};
    ui::Hints hints_{[this](const std::string& text) { linkField_.setText(text); }};
    ui::Themes themes_{{cboTheme, ToolBar1, StatusBar1}};
    ui::Chrome chrome_{
        {ToolBar1,
         StatusBar1,
         {&cmdGetApps, &cmdGetPortable, &cmdGetSlim, &cmdWinStarterKit, &cmdRecommendations,
          &cmdGetHelp, &cmdDDLManager, &cmdShowInstalledApps, &cmdAppSuggestions},
         cmdFeedback,
         ImgUpdate,
         ImgTwitter,
         ImgFacebook}};
    // The fast timers sleep until something they keep in step changes.
    forms::ChangeTimer timer1Work_{Timer1};
    forms::ChangeTimer timer3Work_{Timer3};
    links::frmDDLManager ddlManager_{services_, {lstBlacklist}};
    EntryActions entryActions_{
        {*this, kinds_, lstBlacklist, [this] { return linkFieldText(); }, ddlManager_}, services_};
    WebActions webActions_{{*this, [this] { return linkFieldText(); },
                            [this](catalog::Kind kind) { return kinds_[kind].entries.Text(); }},
                           services_};
    MainWindowState windowState_{*this,          SSTab1,     SSTab2,     lstCat,
                                 lstCatPortable, lstCatSlim, lstCatPages};
    // This copy ends at start-up because another one runs.
    bool secondCopy_ = false;
    UINT runningCopyMessage_ = platform::runningCopyMessage("Fetchlets");
    Updates updates_;
    std::array<platform::Bitmap, 2> pictures_;
    platform::Font titleFont_;
    InstalledApps installed_{services_, {*this, lstSoftware, SSTab1, SSTab2}};
    std::unique_ptr<frmCheckAppInstalled> checkAppInstalled_;
    ui::Tray tray_{services_, {*this, chkSystray, mnSystray}};
};

} // namespace app
