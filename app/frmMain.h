// The main window: the catalog's pages, its lists and the timers that keep
// the page-dependent commands, the count labels and the search boxes in step.
#pragma once

#include "catalog/catalog.h"
#include "forms/controls.h"
#include "forms/menu.h"
#include "platform/services.h"

#include <array>
#include <string>

namespace app {

class frmMain : public forms::Form {
  private:
    platform::Services& services_;

  public:
    explicit frmMain(platform::Services& services);
    ~frmMain() override;

    // The application folder with exactly one trailing backslash.
    std::string ApplicationPath();
    void LoadCategoryLists();

    // The controls of one catalog kind.
    struct KindControls {
        catalog::Kind kind;
        forms::ListBox& categories;
        forms::ListBox& entries;
        forms::TextBox* search;               // none for Pages
        forms::CommandButton& downloadButton; // cmdVisitPage for Pages
        forms::CommandButton* fromPageButton; // none for Pages
        forms::MenuItem* downloadItem;        // none for Pages
        forms::MenuItem* fromPageItem;        // none for Pages
    };
    const KindControls& kindControls(catalog::Kind kind) const {
        return kinds_[static_cast<size_t>(kind)];
    }
    // The catalog file of a kind, formed once at start-up.
    const std::string& catalogFile(catalog::Kind kind) const {
        return catalogFiles_[static_cast<size_t>(kind)];
    }

    // Outer pages and their tabs.
    forms::PageStack SSTab1;
    forms::PageStack SSTab2;

    // Home.
    forms::Label lblWelcome, lblUser;
    forms::CommandButton cmdFeedback;
    forms::Image ImgUpdate, ImgTwitter, ImgFacebook;

    // Get Apps.
    forms::Label Label1, lblCountCat, Label3, lblCountApps;
    forms::ListBox lstCat, lstApps;
    forms::TextBox txtAppsSearch;
    forms::CommandButton cmdDownload, cmdDownloadFromPage;

    // About.
    forms::Label lblTitle, lblVersionInfo, lblVersion, lblCopyright;
    forms::TextBox txtHomepage;
    forms::Label lblHomepage;
    forms::TextBox txtCredits;

    // Get Portable.
    forms::Label Label13, lblCountCatPortable, Label6, lblCountPortable;
    forms::ListBox lstCatPortable, lstPortable;
    forms::TextBox txtPortableSearch;
    forms::CommandButton cmdDownloadPortable, cmdDownloadPortableFromPage;

    // Get Slim.
    forms::Label Label2, lblCountCatSlim, Label12, lblCountSlim;
    forms::ListBox lstCatSlim, lstSlim;
    forms::TextBox txtSlimSearch;
    forms::CommandButton cmdDownloadSlim, cmdDownloadSlimFromPage;

    // Special (inner page 0).
    forms::ListBox lstCatSpecial, lstSpecial;
    forms::Label Label7, lblCountSpecial;
    forms::TextBox txtSpecialSearch;
    forms::CommandButton cmdDownloadSpecial, cmdDownloadSpecialFromPage;
    forms::Image ImgRecommendations, ImgStarterKit;

    // Pages (inner page 1).
    forms::Label Label11, lblCountCatPages, Label17, lblCountPages;
    forms::ListBox lstCatPages, lstPages;
    forms::Label lblPages;
    forms::CommandButton cmdVisitPage;

    // Installed Apps (inner page 2).
    forms::Label lblInstalledApps, Label4, lblCountInstalledApps;
    forms::ListBox lstSoftware;

    // Entry-list menus.
    forms::PopupMenu mnMain, mnPortable, mnSlim, mnSpecial;

    forms::Timer Timer1, Timer3;

  protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Resize() override;

    void lstCat_Click() { categoryChosen(catalog::Kind::Apps); }
    void lstCatPortable_Click() { categoryChosen(catalog::Kind::Portable); }
    void lstCatSlim_Click() { categoryChosen(catalog::Kind::Slim); }
    void lstCatSpecial_Click() { categoryChosen(catalog::Kind::Special); }
    void lstCatPages_Click() { categoryChosen(catalog::Kind::Pages); }
    void Timer1_Timer();
    void Timer3_Timer();

  private:
    void categoryChosen(catalog::Kind kind);
    void placeControls();
    void trimSearchBox(forms::TextBox& box);

    std::array<KindControls, 5> kinds_;
    std::array<std::string, 5> catalogFiles_;
    HBITMAP banners_[5] = {};
};

} // namespace app
