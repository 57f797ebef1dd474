// Installed applications: the display names of the installed products read
// from the uninstall lists of the registry into lstSoftware, the dated
// snapshot file of that list, and the installed mark of catalog entries.
#pragma once

#include "app/frmCheckAppInstalled.h"
#include "app/kinds.h"
#include "app/pure/installed_list.h"
#include "forms/controls.h"
#include "platform/services.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The main window's controls this part reads and writes.
struct InstalledView {
    forms::Form& owner; // of the messages
    forms::ListBox& lstSoftware;
    forms::PageStack& SSTab1;
    forms::PageStack& SSTab2;
};

// One uninstall list: a root key and the view of it to read.
struct UninstallList {
    HKEY root;
    REGSAM view; // 0, KEY_WOW64_64KEY or KEY_WOW64_32KEY
};

// Upper-cases with the system's rule for the ANSI code page.
std::string systemUpper(std::string_view text);

class InstalledApps {
  public:
    static constexpr const char* kUninstallKey =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

    InstalledApps(platform::Services& services, InstalledView view);
    ~InstalledApps();
    InstalledApps(const InstalledApps&) = delete;
    InstalledApps& operator=(const InstalledApps&) = delete;

    // Opens `path` below the root of the list being read into the held key
    // handle; returns the system's status, 0 for success.
    long openRegKey(const std::string& path);
    // Closes a key handle; the held one is forgotten when it is the one.
    void closeRegKey(HKEY key);
    // The held key handle (the root of the list read last, left open by
    // getAllKeys for start-up to close).
    HKEY key() const { return key_; }

    // Reads the display names of every list in `lists` into lstSoftware. A
    // subkey without a usable "DisplayName" is skipped; names are taken by
    // the rules of InstalledNames. The list sorts itself.
    void getAllKeys();

    // The same read in slices on the window's own thread, so that the window
    // need not wait for the registry (thousands of products take a good part
    // of a second under Wine): scheduleReading() asks for it, each
    // readOn(ms) reads products for about that long and, when the last is
    // read, fills the list, redraws the marked lists and returns true. (A
    // worker thread would cost a megabyte of memory under Wine for the rest
    // of the run.)
    void scheduleReading();
    bool readOn(unsigned long milliseconds);
    // Ends a scheduled read at once, so that whatever reads the list next
    // finds it complete. False when no read was pending.
    bool finishReading();
    // Shows the Installed Apps page and writes the list, one name a line in
    // list order with CR LF, to the dated snapshot file in the program's
    // folder, replacing a file of that name whole. Says where it went only
    // once it is there, and says so when it cannot be written.
    void makeSnapshot();
    // "Installed Apps DD-MMM-YYYY.txt" in the program's folder, for the
    // clock's date and the locale's abbreviated month name.
    std::string snapshotPath() const;

    // The installed mark of a catalog entry (see InstalledMatcher).
    bool isInstalled(std::string_view entryName) const { return matcher_.isInstalled(entryName); }
    // The download kinds' entry lists draw the mark beside the names.
    void markEntries(const Kinds& kinds);

    // "Check whether App is installed" on the entry chosen in `entries`,
    // against the whole list.
    void checkEntry(forms::ListBox& entries);
    // The check window, made on first use.
    frmCheckAppInstalled& checkWindow();

    // The lists read: the machine's list in its 64-bit and 32-bit views
    // (most installers register in the 32-bit one) and the current user's.
    std::vector<UninstallList> lists{{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
                                     {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
                                     {HKEY_CURRENT_USER, 0}};
    std::string keyPath = kUninstallKey;

  private:
    // The display names of every list; the last list's root key stays open
    // in `lastRoot` when it is given, else every key is closed.
    static std::vector<std::string> readNames(platform::Registry& registry,
                                              const std::vector<UninstallList>& lists,
                                              const std::string& keyPath, HKEY* lastRoot);
    void apply(const std::vector<std::string>& names);

    platform::Services& services_;
    // Where a scheduled read stands.
    struct Reading {
        size_t list = 0;     // the list being read
        HKEY root = nullptr; // its key, open while it is read
        unsigned long index = 0;
        InstalledNames names;
    };
    std::unique_ptr<Reading> reading_;
    InstalledView view_;
    UninstallList current_{HKEY_LOCAL_MACHINE, 0};
    HKEY key_ = nullptr;
    InstalledMatcher matcher_;
    std::vector<forms::ListBox*> marked_;
    std::unique_ptr<frmCheckAppInstalled> checkWindow_;
};

} // namespace app
