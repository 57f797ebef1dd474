#include "ui/navigation.h"

#include <commctrl.h>

namespace ui {

void Navigation::run(const std::function<void()>& hook) {
    if (hook) {
        auto copy = hook; // the hook may replace itself
        copy();
    }
}

void Navigation::show(int outer, int inner) {
    // A failing page change is skipped and the handler goes on.
    if (outer >= 0 && outer < v_.outer.Tabs())
        v_.outer.setTab(outer);
    if (inner >= 0 && inner < v_.inner.Tabs())
        v_.inner.setTab(inner);
}

void Navigation::toolbarClick(int index) {
    switch (index) {
    case 0:
        show(PageHome);
        break;
    case 1:
        show(PageGetApps);
        break;
    case 2:
        show(PageGetPortable);
        break;
    case 3:
        show(PageGetSlim);
        break;
    case 4:
        show(PageOptions);
        break;
    case 5:
        run(showUpdater);
        break;
    case 6:
        show(PageAbout);
        break;
    case 7:
        run(exitProgram);
        break;
    default:
        break;
    }
}

void Navigation::homeClick(HomeCommand command) {
    switch (command) {
    case HomeCommand::GetApps:
        show(PageGetApps);
        break;
    case HomeCommand::GetPortable:
        show(PageGetPortable);
        break;
    case HomeCommand::GetSlim:
        show(PageGetSlim);
        break;
    case HomeCommand::GetHelp:
        show(PageSpecial, InnerPages);
        break;
    case HomeCommand::WinStarterKit:
        show(PageSpecial, InnerSpecial);
        run(chooseStarterKit);
        break;
    case HomeCommand::Recommendations:
        show(PageSpecial, InnerSpecial);
        run(chooseRecommendations);
        break;
    case HomeCommand::DDLManager:
        run(showLinkManager);
        break;
    case HomeCommand::ShowInstalledApps:
        show(PageSpecial, InnerInstalledApps);
        run(makeSnapshot);
        break;
    case HomeCommand::AppSuggestions:
        run(sendAppSuggestion);
        break;
    case HomeCommand::Feedback:
        run(sendFeedback);
        break;
    case HomeCommand::UpdateImage:
        run(showUpdater);
        break;
    }
}

bool Navigation::onTabStrip(forms::PageStack& stack, int y) {
    HWND h = stack.hwnd();
    if (!h)
        return false;
    // The strip is what lies above the pages' display area.
    RECT r{};
    GetClientRect(h, &r);
    TabCtrl_AdjustRect(h, FALSE, &r);
    return y < r.top;
}

void Navigation::outerMouseDown(int, int y) {
    if (!onTabStrip(v_.outer, y))
        return;
    for (forms::TextBox* box : {&v_.appsSearch, &v_.portableSearch, &v_.slimSearch})
        box->setText(kSearchPlaceholder);
}

void Navigation::innerMouseDown(int, int y) {
    if (onTabStrip(v_.inner, y))
        v_.specialSearch.setText(kSearchPlaceholder);
}

} // namespace ui
