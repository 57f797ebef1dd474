// The main window's two page stacks and their pages, by index: SSTab1 beside
// the toolbar and SSTab2 on SSTab1's Special page.
#pragma once

namespace ui {

enum class Stack { Outer, Inner }; // SSTab1, SSTab2

// SSTab1's pages.
enum OuterPage {
    PageHome = 0,
    PageGetApps = 1,
    PageOptions = 2,
    PageAbout = 3,
    PageGetPortable = 4,
    PageGetSlim = 5,
    PageSpecial = 6,
    PageEmpty = 7
};
// SSTab2's pages.
enum InnerPage { InnerSpecial = 0, InnerPages = 1, InnerInstalledApps = 2 };

} // namespace ui
