// The settings file and the Options page (module modFormINI): the generic save
// and restore of a window's control values, the main window's own keys
// (geometry, pages, chosen categories), the two list files the Options page
// shows and the commands that open them for editing.
#pragma once

#include "app/menus.h"
#include "forms/controls.h"
#include "forms/menu.h"
#include "platform/services.h"

#include <functional>
#include <string>

namespace app {

// The Options page's list files in the Data folder.
std::string SignaturesFilePath(const std::string& applicationPath);
std::string BlacklistFilePath(const std::string& applicationPath);

// Writes the values of the window's text boxes (line breaks as "~|~"), combo
// boxes (selected index) and check boxes (value) under the section named as
// the window, in the window's control order. An empty value is not written,
// so a value written earlier stays in the file. False when a write failed.
bool SaveFormState(forms::Form& form, const std::string& settingsFile);

// Restores what SaveFormState wrote, in control order; setting a value runs
// the control's own change handling. A value that cannot be applied ends the
// restore at that control. False, with nothing restored, when the settings
// file does not exist.
bool LoadFormState(forms::Form& form, const std::string& settingsFile);

// The main-window controls whose state is kept under its own keys.
struct MainWindowState {
    forms::Form& form;
    forms::PageStack& SSTab1;
    forms::PageStack& SSTab2;
    forms::ListBox& lstCat;
    forms::ListBox& lstCatPortable;
    forms::ListBox& lstCatSlim;
    forms::ListBox& lstCatPages;
};

// Restores, in this order, the window's "Left", "Top", "Height" and "Width"
// (section "WindowState"), then "Tab", "Tab2", "CatApps", "CatPortable",
// "CatSlim" and "CatPages" (section "frmMain"). Only numeric values are used;
// the first value that cannot be applied (beyond the signed 16-bit range, a
// page or category that does not exist) ends the restore. A chosen category
// fills its entry list through the list's own Click.
void RestoreMainWindowState(const MainWindowState& w, const std::string& settingsFile);

// The settings steps of the main window's close: SaveFormState, then the
// geometry, then the pages and the chosen categories (-1 for none; the
// Special category is not kept). False when any write failed.
bool SaveMainWindowState(const MainWindowState& w, const std::string& settingsFile);

// Tells the user that the settings could not be written to the file.
void ReportSettingsNotSaved(platform::Services& services, HWND owner,
                            const std::string& settingsFile);

// Appends every line of a list file to the list (empty lines included); a
// missing file leaves the list as it is.
void LoadListFile(const std::string& path, forms::ListBox& list);

// Opens a list file for editing with the program associated with it, or the
// system's Open With dialog when there is none.
void EditListFile(platform::Services& services, const std::string& path);

// An Options list and its one-item menu ("Edit Signatures" on lstSignatures,
// "Edit Blacklist" on lstBlacklist): the right mouse button opens the menu,
// other buttons do nothing; from the keyboard the context-menu key does. The
// item opens the list file at `path()` for editing.
void wireOptionsList(forms::ListBox& list, OneItemMenu& menu, std::function<std::string()> path,
                     platform::Services& services);

} // namespace app
