// Page navigation of the main window: the toolbar's buttons, the Home page's
// big buttons and the tab strips. Actions whose windows or rules live
// elsewhere (the updater, the link manager, the snapshot, web and mail
// actions, choosing a Special category) are hooks that their owners fill; an
// empty hook does nothing.
#pragma once

#include "forms/controls.h"
#include "ui/pure/pages.h"

#include <functional>

namespace ui {

// The controls navigation reads and writes.
struct NavigationView {
    forms::PageStack& outer; // SSTab1
    forms::PageStack& inner; // SSTab2
    forms::TextBox& appsSearch;
    forms::TextBox& portableSearch;
    forms::TextBox& slimSearch;
    forms::TextBox& specialSearch;
};

// The Home page's buttons (and the update image) that navigation handles.
enum class HomeCommand {
    GetApps,
    GetPortable,
    GetSlim,
    WinStarterKit,
    Recommendations,
    GetHelp,
    DDLManager,
    ShowInstalledApps,
    AppSuggestions,
    Feedback,
    UpdateImage,
};

class Navigation {
  public:
    explicit Navigation(NavigationView view) : v_(view) {}

    // The toolbar's Click with the button index (-1: no button).
    void toolbarClick(int index);
    // A Home page button's Click.
    void homeClick(HomeCommand command);
    // A mouse button went down on a page stack at (x, y) pixels of its window:
    // on the tab strip, the stack's search boxes show the placeholder again.
    void outerMouseDown(int x, int y);
    void innerMouseDown(int x, int y);

    static constexpr const char* kSearchPlaceholder = "Search ...";
    // The toolbar's captions, by button index.
    static constexpr const char* kToolbarCaptions[8] = {
        "Home", "Get Apps", "Get Portable", "Get Slim", "Options", "Update", "About", "Exit"};

    // Hooks filled by the parts that own the actions.
    std::function<void()> showUpdater;      // toolbar "Update", ImgUpdate
    std::function<void()> showLinkManager;  // cmdDDLManager
    std::function<void()> exitProgram;      // toolbar "Exit": unload and end
    std::function<void()> chooseStarterKit; // after the Special page is shown
    std::function<void()> chooseRecommendations;
    std::function<void()> makeSnapshot; // after the Installed Apps page is shown
    std::function<void()> sendAppSuggestion;
    std::function<void()> sendFeedback;

  private:
    void show(int outer, int inner = -1);
    static void run(const std::function<void()>& hook);
    static bool onTabStrip(forms::PageStack& stack, int y);
    NavigationView v_;
};

} // namespace ui
