// Which commands each page shows, and which label counts which list: the
// state that the main window's two fast timers keep in step, as data.
#pragma once

namespace app {

enum class PageStackId { Outer, Inner }; // SSTab1, SSTab2

struct PageCommand {
    PageStackId stack;
    int page; // the control is visible exactly while this page is current
    const char* control;
};

inline constexpr PageCommand kPageCommands[] = {
    {PageStackId::Outer, 0, "cmdFeedback"},
    {PageStackId::Outer, 1, "cmdDownload"},
    {PageStackId::Outer, 1, "cmdDownloadFromPage"},
    {PageStackId::Outer, 4, "cmdDownloadPortable"},
    {PageStackId::Outer, 4, "cmdDownloadPortableFromPage"},
    {PageStackId::Outer, 5, "cmdDownloadSlim"},
    {PageStackId::Outer, 5, "cmdDownloadSlimFromPage"},
    {PageStackId::Outer, 0, "ImgUpdate"},
    {PageStackId::Outer, 0, "ImgTwitter"},
    {PageStackId::Outer, 0, "ImgFacebook"},
    {PageStackId::Inner, 0, "cmdDownloadSpecial"},
    {PageStackId::Inner, 0, "cmdDownloadSpecialFromPage"},
    {PageStackId::Inner, 1, "cmdVisitPage"},
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
