// The main window's chrome as designed: the toolbar's settings and pictures,
// the status bar's look, the Home page's big buttons and images. Sizes in
// pixels follow the window's resolution (dots per inch), so `apply` runs
// again when that changes.
#pragma once

#include "forms/bars.h"
#include "forms/controls.h"
#include "ui/pictures.h"

#include <array>

namespace ui {

struct ChromeView {
    forms::ToolBar& toolbar;
    forms::StatusBar& statusbar;
    // The nine big buttons in the order of kHomePictures.
    std::array<forms::CommandButton*, 9> homeButtons;
    forms::CommandButton& feedback;
    forms::Image& updateImage;
    forms::Image& twitterImage;
    forms::Image& facebookImage;
};

// The pictures of the Home buttons, in ChromeView::homeButtons order:
// cmdGetApps, cmdGetPortable, cmdGetSlim, cmdWinStarterKit,
// cmdRecommendations, cmdGetHelp, cmdDDLManager, cmdShowInstalledApps,
// cmdAppSuggestions.
extern const Picture kHomePictures[9];

class Chrome {
  public:
    explicit Chrome(ChromeView view) : v_(view) {}

    // The bars' design settings, read when their windows are created.
    void design(int dpi);
    // Pictures, fonts and looks that need the windows; again after a change
    // of resolution.
    void apply(int dpi);

    // The toolbar's caption font at a resolution.
    static controls::FontDesc toolbarFont(int dpi);

  private:
    ChromeView v_;
    PictureSet pictures_;
};

} // namespace ui
