// Which commands each page shows, and which label counts which list: the
// state that the main window's two fast timers keep in step, as data.
#pragma once

#include "ui/pure/pages.h"

namespace app {

using ui::Stack;

struct PageCommand {
    Stack stack;
    int page; // the control is visible exactly while this page is current
    const char* control;
};

inline constexpr PageCommand kPageCommands[] = {
    {Stack::Outer, ui::PageHome, "cmdFeedback"},
    {Stack::Outer, ui::PageGetApps, "cmdDownload"},
    {Stack::Outer, ui::PageGetApps, "cmdDownloadFromPage"},
    {Stack::Outer, ui::PageGetPortable, "cmdDownloadPortable"},
    {Stack::Outer, ui::PageGetPortable, "cmdDownloadPortableFromPage"},
    {Stack::Outer, ui::PageGetSlim, "cmdDownloadSlim"},
    {Stack::Outer, ui::PageGetSlim, "cmdDownloadSlimFromPage"},
    {Stack::Outer, ui::PageHome, "ImgUpdate"},
    {Stack::Outer, ui::PageHome, "ImgTwitter"},
    {Stack::Outer, ui::PageHome, "ImgFacebook"},
    {Stack::Inner, ui::InnerSpecial, "cmdDownloadSpecial"},
    {Stack::Inner, ui::InnerSpecial, "cmdDownloadSpecialFromPage"},
    {Stack::Inner, ui::InnerPages, "cmdVisitPage"},
};

struct CountLabel {
    const char* label;
    const char* list;
};

inline constexpr CountLabel kCountLabels[] = {
    {"lblCountCat", "lstCat"},
    {"lblCountApps", "lstApps"},
    {"lblCountCatPortable", "lstCatPortable"},
    {"lblCountPortable", "lstPortable"},
    {"lblCountCatSlim", "lstCatSlim"},
    {"lblCountSlim", "lstSlim"},
    {"lblCountCatPages", "lstCatPages"},
    {"lblCountPages", "lstPages"},
    {"lblCountSpecial", "lstSpecial"},
    {"lblCountInstalledApps", "lstSoftware"},
};

} // namespace app
