// The main window: its controls, named and grouped by page, the ordered
// start-up and shutdown steps, and the controls' events wired straight to the
// objects that carry each part of the behaviour.
#pragma once

#include "app/banners.h"
#include "app/browsing.h"
#include "app/entry_commands.h"
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
    // The timer whose ticks read the installed applications, a slice of
    // about kInstalledReadSlice milliseconds each, once the window is painted
    // (timer messages come after the paint messages); far above the
    // controls' identifiers.
    static constexpr UINT_PTR kInstalledReadTimer = 0xF1A1;
    static constexpr unsigned long kInstalledReadSlice = 15;
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

    // Entry-list menus, built from one table: the same items in the same
    // order, each name with its kind's suffix (no installed check on Portable).
    EntryMenu mnMain{*this, catalog::Kind::Apps};
    EntryMenu mnPortable{*this, catalog::Kind::Portable};
    EntryMenu mnSlim{*this, catalog::Kind::Slim};
    EntryMenu mnSpecial{*this, catalog::Kind::Special};

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
    OneItemMenu mnSortCat{*this, "mnSortCat", "mnuSortCat", "Sort A-Z"};
    OneItemMenu mnSortCatPortable{*this, "mnSortCatPortable", "mnuSortCatPortable", "Sort A-Z"};
    OneItemMenu mnSortCatSlim{*this, "mnSortCatSlim", "mnuSortCatSlim", "Sort A-Z"};
    OneItemMenu mnSortCatPages{*this, "mnSortCatPages", "mnuSortCatPages", "Sort A-Z"};

    // Options-list menus.
    OneItemMenu mnEditSignatures{*this, "mnEditSignatures", "mnuEditSignatures", "Edit Signatures"};
    OneItemMenu mnEditBlacklist{*this, "mnEditBlacklist", "mnuEditBlacklist", "Edit Blacklist"};

    forms::Timer Timer1{*this, "Timer1", 1};
    forms::Timer Timer2{*this, "Timer2", 5000, false};
    forms::Timer Timer3{*this, "Timer3", 1};

    // The check window, made on first use.
    frmCheckAppInstalled& checkAppInstalledWindow() { return installed_.checkWindow(); }
    const ui::Tray& tray() const { return tray_; }
    ui::Tray& tray() { return tray_; }

  protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Resize() override;
    bool Form_KeyPreview(const MSG& m) override;
    void Form_DpiChanged() override;
    void placeBeforeCreation() override { Form_Resize(); }
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

    // Timer2's one tick: the automatic update check, with chkAutoUpdate ticked.
    void Timer2_Timer();
    // "Exit" on the tray menu: the icon goes, then every window.
    void mnuExit_Click();

    // A later copy's request to come to the front (runningCopyMessage), and
    // the installed applications' read (kInstalledReadTimer).
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  private:
    void wireEvents();
    // The page menu, the web links of the Home and About pages.
    void wireActions();
    // The link of the chosen entry, as the link field shows it now.
    std::string linkFieldText();
    std::string settingsFile() { return catalog::settingsPath(ApplicationPath()); }

    // The behaviour, one object per part; each sees only the controls it needs.
    Kinds kinds_{{{
        {catalog::Kind::Apps, lstCat, lstApps, &txtAppsSearch, &lblCountCat, lblCountApps,
         cmdDownload, &cmdDownloadFromPage, &mnSortCat, mnMain, &mnMain},
        {catalog::Kind::Portable, lstCatPortable, lstPortable, &txtPortableSearch,
         &lblCountCatPortable, lblCountPortable, cmdDownloadPortable, &cmdDownloadPortableFromPage,
         &mnSortCatPortable, mnPortable, &mnPortable},
        {catalog::Kind::Slim, lstCatSlim, lstSlim, &txtSlimSearch, &lblCountCatSlim, lblCountSlim,
         cmdDownloadSlim, &cmdDownloadSlimFromPage, &mnSortCatSlim, mnSlim, &mnSlim},
        {catalog::Kind::Special, lstCatSpecial, lstSpecial, &txtSpecialSearch, nullptr,
         lblCountSpecial, cmdDownloadSpecial, &cmdDownloadSpecialFromPage, nullptr, mnSpecial,
         &mnSpecial},
        {catalog::Kind::Pages, lstCatPages, lstPages, nullptr, &lblCountCatPages, lblCountPages,
         cmdVisitPage, nullptr, &mnSortCatPages, mnPages, nullptr},
    }}};
    Browsing browsing_{
        kinds_, services_.environment, LinkField{StatusBar1}, lstBlacklist,
        SpecialView{SSTab1, SSTab2, ImgRecommendations, ImgStarterKit, txtSpecialSearch, lblPages}};
    PageState pageState_{{*this,
                          SSTab1,
                          SSTab2,
                          Timer1,
                          Timer3,
                          {&txtAppsSearch, &txtPortableSearch, &txtSlimSearch},
                          txtSpecialSearch}};
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
    Artwork artwork_{{*this, ImgRecommendations, ImgStarterKit, lblTitle}};
    InstalledApps installed_{services_, {*this, lstSoftware, SSTab1, SSTab2}};
    ui::Tray tray_{services_, {*this, chkSystray, mnSystray}};
};

} // namespace app
