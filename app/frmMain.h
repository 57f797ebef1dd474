// The main window: its controls, named and grouped by page, the ordered
// start-up and shutdown steps, and one-line forwarders from the controls'
// events to the objects that carry each part of the behaviour.
#pragma once

#include "app/browsing.h"
#include "app/frmCheckAppInstalled.h"
#include "app/installed.h"
#include "app/kinds.h"
#include "app/link_field.h"
#include "app/page_state.h"
#include "app/settings.h"
#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/menu.h"
#include "platform/services.h"
#include "ui/tray.h"

#include <memory>
#include <string>

namespace app {

class frmMain : public forms::Form {
  public:
    explicit frmMain(platform::Services& services);
    ~frmMain() override;

    // The application folder with exactly one trailing backslash.
    std::string ApplicationPath();
    void LoadCategoryLists() { browsing_.LoadCategoryLists(); }

    const KindControls& kindControls(catalog::Kind kind) const { return kinds_[kind]; }
    Browsing& browsing() { return browsing_; }
    const std::string& catalogFile(catalog::Kind kind) const { return browsing_.catalogFile(kind); }

  private:
    platform::Services& services_;

  public:
    // Declaration order is creation and tab order.

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
    forms::Image ImgUpdate{*this, "ImgUpdate"};
    forms::Image ImgTwitter{*this, "ImgTwitter"};
    forms::Image ImgFacebook{*this, "ImgFacebook"};
    forms::CommandButton cmdShowInstalledApps{*this, "cmdShowInstalledApps",
                                              "Make Snapshot of Installed Apps"};

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
    forms::Label lblVersionInfo{*this, "lblVersionInfo", "Version:"};
    forms::Label lblVersion{*this, "lblVersion"};
    forms::Label lblCopyright{*this, "lblCopyright", "Copyright (C) 2026 The Fetchlets team"};
    forms::TextBox txtHomepage{*this, "txtHomepage", {.multiLine = true, .readOnly = true}};
    forms::Label lblHomepage{*this, "lblHomepage", "http://www.fetchlets.org/"};
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
    forms::ListBox lstCatSpecial{*this, "lstCatSpecial"};
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
    forms::CommandButton cmdVisitPage{*this, "cmdVisitPage", "Visit Page"};

    // Installed Apps (inner page 2).
    forms::Label lblInstalledApps{*this, "lblInstalledApps", "Installed Apps"};
    forms::Label Label4{*this, "Label4", "Found:"};
    forms::Label lblCountInstalledApps{*this, "lblCountInstalledApps", "0"};
    forms::ListBox lstSoftware{*this, "lstSoftware", {.sorted = true}};

    // Entry-list menus.
    forms::PopupMenu mnMain{*this, "mnMain"};
    forms::MenuItem& mnuDownload = mnMain.add("mnuDownload", "Direct Download");
    forms::MenuItem& mnuDownloadFromPage =
        mnMain.add("mnuDownloadFromPage", "Direct Download from Page");
    forms::PopupMenu mnPortable{*this, "mnPortable"};
    forms::MenuItem& mnuDownloadPortable = mnPortable.add("mnuDownloadPortable", "Direct Download");
    forms::MenuItem& mnuDownloadPortableFromPage =
        mnPortable.add("mnuDownloadPortableFromPage", "Direct Download from Page");
    forms::PopupMenu mnSlim{*this, "mnSlim"};
    forms::MenuItem& mnuDownloadSlim = mnSlim.add("mnuDownloadSlim", "Direct Download");
    forms::MenuItem& mnuDownloadSlimFromPage =
        mnSlim.add("mnuDownloadSlimFromPage", "Direct Download from Page");
    forms::PopupMenu mnSpecial{*this, "mnSpecial"};
    forms::MenuItem& mnuDownloadSpecial = mnSpecial.add("mnuDownloadSpecial", "Direct Download");
    forms::MenuItem& mnuDownloadSpecialFromPage =
        mnSpecial.add("mnuDownloadSpecialFromPage", "Direct Download from Page");
    forms::MenuItem& mnuCheckAppInstalled =
        mnMain.add("mnuCheckAppInstalled", "Check whether App is installed");
    forms::MenuItem& mnuCheckAppInstalledSlim =
        mnSlim.add("mnuCheckAppInstalledSlim", "Check whether App is installed");
    forms::MenuItem& mnuCheckAppInstalledSpecial =
        mnSpecial.add("mnuCheckAppInstalledSpecial", "Check whether App is installed");

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

    // The status bar; its first panel is the link field.
    forms::StatusBar StatusBar1{*this, "StatusBar1"};

    // Options-list menus.
    forms::PopupMenu mnEditSignatures{*this, "mnEditSignatures"};
    forms::MenuItem& mnuEditSignatures =
        mnEditSignatures.add("mnuEditSignatures", "Edit Signatures");
    forms::PopupMenu mnEditBlacklist{*this, "mnEditBlacklist"};
    forms::MenuItem& mnuEditBlacklist = mnEditBlacklist.add("mnuEditBlacklist", "Edit Blacklist");

    forms::Timer Timer1{*this, "Timer1", 1};
    forms::Timer Timer3{*this, "Timer3", 1};

    // The check window, made on first use.
    frmCheckAppInstalled& checkAppInstalledWindow();
    const InstalledApps& installedApps() const { return installed_; }
    const ui::Tray& tray() const { return tray_; }

  protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Resize() override;
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
    void Timer3_Timer();
    void cmdShowInstalledApps_Click() { installed_.cmdShowInstalledApps_Click(); }
    void mnuCheckAppInstalled_Click() { checkAppInstalledWindow().checkEntry(*this, lstApps); }
    void mnuCheckAppInstalledSlim_Click() { checkAppInstalledWindow().checkEntry(*this, lstSlim); }
    void mnuCheckAppInstalledSpecial_Click() {
        checkAppInstalledWindow().checkEntry(*this, lstSpecial);
    }
    void mnuShow_Click() { tray_.mnuShow_Click(); }
    void mnuExit_Click();

  private:
    void placeControls();
    void makePictures();
    std::string settingsFile() { return SettingsFilePath(ApplicationPath()); }

    // The behaviour, one object per part; each sees only the controls it needs.
    Kinds kinds_{{{
        {catalog::Kind::Apps, lstCat, lstApps, &txtAppsSearch, &lblCountCat, lblCountApps,
         cmdDownload, &cmdDownloadFromPage, &mnMain, &mnuDownload, &mnuDownloadFromPage},
        {catalog::Kind::Portable, lstCatPortable, lstPortable, &txtPortableSearch,
         &lblCountCatPortable, lblCountPortable, cmdDownloadPortable, &cmdDownloadPortableFromPage,
         &mnPortable, &mnuDownloadPortable, &mnuDownloadPortableFromPage},
        {catalog::Kind::Slim, lstCatSlim, lstSlim, &txtSlimSearch, &lblCountCatSlim, lblCountSlim,
         cmdDownloadSlim, &cmdDownloadSlimFromPage, &mnSlim, &mnuDownloadSlim,
         &mnuDownloadSlimFromPage},
        {catalog::Kind::Special, lstCatSpecial, lstSpecial, &txtSpecialSearch, nullptr,
         lblCountSpecial, cmdDownloadSpecial, &cmdDownloadSpecialFromPage, &mnSpecial,
         &mnuDownloadSpecial, &mnuDownloadSpecialFromPage},
        {catalog::Kind::Pages, lstCatPages, lstPages, nullptr, &lblCountCatPages, lblCountPages,
         cmdVisitPage, nullptr, nullptr, nullptr, nullptr},
    }}};
    Browsing browsing_{
        kinds_, *services_.environment, LinkField{StatusBar1}, lstBlacklist,
        SpecialView{SSTab1, SSTab2, ImgRecommendations, ImgStarterKit, txtSpecialSearch, lblPages}};
    PageState pageState_{*this, SSTab1, SSTab2};
    MainWindowState windowState_{*this,          SSTab1,     SSTab2,     lstCat,
                                 lstCatPortable, lstCatSlim, lstCatPages};
    // This copy ends at start-up because another one runs.
    bool secondCopy_ = false;
    InstalledApps installed_{services_, {*this, lstSoftware, SSTab1, SSTab2}};
    std::unique_ptr<frmCheckAppInstalled> checkAppInstalled_;
    ui::Tray tray_{services_, {*this, chkSystray, mnSystray}};
    HBITMAP pictures_[5] = {};
};

} // namespace app
