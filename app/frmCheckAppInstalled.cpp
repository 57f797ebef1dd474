#include "app/frmCheckAppInstalled.h"

#include "app/installed.h"
#include "app/pure/installed_list.h"
#include "forms/geometry.h"

#include <vector>

namespace app {

frmCheckAppInstalled::frmCheckAppInstalled(CheckAppInstalledView view)
    : Form("frmCheckAppInstalled", "Fetchlets - Check whether App Installed"),
      view_(std::move(view)) {
    initialWidth_ = 6600;
    initialHeight_ = 5400;
    minWidth_ = 3600;
    minHeight_ = 3000;
    txtSearch.setText("Search ...");
    txtSearch.Change = [this] { txtSearch_Change(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    txtSearch.DblClick = [this] { txtSearch_DblClick(); };
    txtSearch.Move(240, 240, initialWidth_ - 1700, 315);
    lstSearch.Move(240, 720, initialWidth_ - 600, initialHeight_ - 1900);
    placeFooter();
}

void frmCheckAppInstalled::placeFooter() {
    // The picture and the count sit in a line below the list.
    const int top = lstSearch.Top() + lstSearch.Height() + 120;
    Image1.Move(240, top, 480, 480);
    Label2.Move(840, top + 120, 600, 255);
    lblCountApps.Move(1440, top + 120, 1200, 255);
}

void frmCheckAppInstalled::Form_Load() {
    // The window's icon as its picture; the search runs with the text it has.
    Image1.setIcon(reinterpret_cast<HICON>(GetClassLongPtrA(window(), GCLP_HICON)));
    txtSearch_Change();
    forms::RestoreGeometry(*this, view_.settingsFile, kSection);
    Form_Resize();
}

void frmCheckAppInstalled::Form_Resize() {
    // Sizes that would come out negative are left alone.
    const int w = Width(), h = Height();
    if (h - 1900 >= 0)
        lstSearch.setHeight(h - 1900);
    if (w - 600 >= 0)
        lstSearch.setWidth(w - 600);
    if (w - 1700 >= 0)
        txtSearch.setWidth(w - 1700);
    placeFooter();
}

void frmCheckAppInstalled::Form_Unload(int&) {
    forms::SaveGeometry(*this, view_.settingsFile, kSection);
}

void frmCheckAppInstalled::txtSearch_Change() {
    HWND h = lstSearch.hwnd();
    if (h)
        SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    lstSearch.Clear();
    const std::string pattern = txtSearch.Text();
    if (!pattern.empty()) {
        std::vector<std::string> names;
        const int n = view_.lstSoftware.ListCount();
        names.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            names.push_back(view_.lstSoftware.List(i));
        for (size_t i : searchInstalled(pattern, names, systemUpper))
            lstSearch.AddItem(names[i]);
    }
    if (h) {
        SendMessageA(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
}

void frmCheckAppInstalled::txtSearch_DblClick() {
    txtSearch.setText("*");
}

void frmCheckAppInstalled::Timer1_Timer() {
    // The label is written only when the number changed.
    lblCountApps.setCaption(std::to_string(lstSearch.ListCount()));
}

void frmCheckAppInstalled::checkEntry(forms::Form& owner, const forms::ListBox& entries) {
    Show(&owner);
    const std::string entry = entries.ListIndex() >= 0 ? entries.Text() : std::string();
    txtSearch.setText(checkSearchText(entry));
    if (entries.ListCount() > 0)
        setCaption(checkCaption(entry));
}

} // namespace app
