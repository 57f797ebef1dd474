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
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer3.Tick = [this] { Timer3_Timer(); };
    cmdShowInstalledApps.Click = [this] { cmdShowInstalledApps_Click(); };
    mnuCheckAppInstalled.Click = [this] { mnuCheckAppInstalled_Click(); };
    mnuCheckAppInstalledSlim.Click = [this] { mnuCheckAppInstalledSlim_Click(); };
    mnuCheckAppInstalledSpecial.Click = [this] { mnuCheckAppInstalledSpecial_Click(); };
    mnuShow.Default = true;
    mnuShow.Click = [this] { mnuShow_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    // The link manager and the updater are not part of this build yet.
    mnuDDLManagerSystray.Enabled = false;
    mnuUpdate.Enabled = false;

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
    // The installed applications, read once per run; the key used is closed.
    guarded([&] {
        installed_.getAllKeys();
        installed_.closeRegKey(installed_.key());
    });
    guarded([&] { txtCredits.setText(creditsText()); });
}

void frmMain::Form_QueryUnload(int& cancel, int unloadMode) {
    guarded([&] { SaveFormState(*this, settingsFile()); });
    // A close through the close box may become a hide behind the tray icon.
    guarded([&] { tray_.queryUnload(cancel, unloadMode); });
}

void frmMain::Form_Unload(int&) {
    // The control values, the geometry, the pages and the chosen categories.
    // A copy that ends at start-up writes them too, but only a close the user
    // asked for tells of a failure.
    guarded([&] {
        if (!SaveMainWindowState(windowState_, settingsFile()) && !secondCopy_)
            ReportSettingsNotSaved(services_, hwnd(), settingsFile());
    });
    guarded([&] { tray_.removeIcon(); });
    // Every other window of the program closes through its own unload.
    guarded([&] { forms::unloadOtherForms(*this); });
}

void frmMain::mnuExit_Click() {
    guarded([&] { tray_.removeIcon(); });
    forms::unloadAllForms(forms::vbFormCode);
}

frmCheckAppInstalled& frmMain::checkAppInstalledWindow() {
    if (!checkAppInstalled_)
        checkAppInstalled_ = std::make_unique<frmCheckAppInstalled>(
            CheckAppInstalledView{lstSoftware, settingsFile()});
    return *checkAppInstalled_;
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
