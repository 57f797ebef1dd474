// The update window: shows the installed program and catalog versions, checks
// the published manifest for a newer program, replaces the catalog files by
// the published ones and offers to restart the main window so that they are
// read. It reads three of the main window's option controls through a view.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "platform/services.h"
#include "update/pure/rules.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace update {

// What the update window reads of the main window, and what it asks of it.
struct UpdaterView {
    forms::CheckBox& chkAutoUpdate;        // 1: check on every start
    forms::TextBox& txtSignatureServer;    // base address of the catalog files
    forms::ListBox& lstSignatures;         // the catalog files to fetch
    std::function<void()> restart;         // unloads the main window, loads and shows it again
    std::function<HWND()> owner = nullptr; // the main window while it exists (may be unset)
};

// Pointer kinds of the window: the default, the hourglass, the window's own.
enum MousePointer { vbDefault = 0, vbHourglass = 11, vbCustom = 99 };

class frmUpdate : public forms::Form {
  public:
    // `productServer` is where the manifest and the program's download page
    // are published (scheme and host, no trailing slash).
    frmUpdate(platform::Services& services, UpdaterView view,
              std::string productServer = kProductServer);
    ~frmUpdate() override;

    forms::Label lblUpdate;
    forms::Label lblInfoVersionFetchlets, lblVersionFetchlets, lblCheckforUpdatesFetchlets;
    forms::Label lblInfoSignatureVersion, lblSignatureVersion, lblUpdateSignatureDefinitions;
    forms::TextBox txtUpdate;
    forms::CommandButton cmdRestart;
    // Shown while catalog files are fetched; Esc does the same.
    forms::CommandButton cmdCancel;

    // Fetches `url` into `file`; true only when the body ended without error
    // with a 2xx answer (the file is replaced only then). The hourglass shows
    // meanwhile; `unconfirmed` tells whether the server announced no length.
    bool FileDownload(const std::string& url, const std::string& file, bool clearCache,
                      bool* unconfirmed = nullptr);
    // With the main window's auto-check option ticked: the catalog update,
    // then the program check. Otherwise nothing.
    void CheckForSignatureUpdates();
    // The catalog version shown. While the window is not loaded it is read
    // from the local manifest and kept: the window, when it loads, shows that
    // version, and skips its automatic check if the option was unticked at
    // the reading (as when the main window's start-up reads it), as a window
    // loaded at that moment would have done. So the window is made only when
    // it is first used.
    std::string SignatureVersion();

    void lblCheckforUpdatesFetchlets_Click();
    void lblUpdateSignatureDefinitions_Click();
    void cmdRestart_Click();
    void cmdCancel_Click();

    int MousePointer() const { return pointer_; }
    void setMousePointer(int kind);

    // The folder of the catalog files and the manifest, with a trailing backslash.
    std::string dataFolder() const;
    // Why the last fetch failed ("" after a success).
    const std::string& lastFetchError() const { return lastError_; }

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  private:
    void AddLogLine(const std::string& text);
    std::string ReadIniString(const std::string& path, const std::string& section,
                              const std::string& key) {
        return update::ReadIniString(path, section, key);
    }
    std::optional<int32_t> CountSignatures(const std::string& path) {
        return update::CountSignatures(path);
    }
    void checkProgram();
    void updateSignatures();
    // Fetches into `staged` and keeps it only when it reads as a catalog and
    // passes the check of the fetched manifest (`manifest`, may be empty);
    // the real file is not touched.
    bool fetchCatalog(const std::string& url, const std::string& staged, const std::string& name,
                      const std::string& manifest);
    // Fetches the published manifest into the staging folder; the local copy
    // is not touched. `staged` names the fetched copy.
    bool fetchManifest(std::string& staged);
    bool replaceFile(const std::string& staged, const std::string& file);
    // The log gets `reasons`, the error line and the word that nothing
    // changed; then the error box.
    void errorOutcome(const std::vector<std::string>& reasons, bool unchanged = true);
    void showWindow();
    void centreOverOwner();
    void moveCaretToEnd();
    std::string settingsFile() const;
    std::string manifestFile() const { return dataFolder() + kManifestFile; }
    HCURSOR cursorOver(HWND child) const;

    platform::Services& services_;
    UpdaterView view_;
    std::string productServer_;
    std::string lastError_;
    int pointer_ = vbDefault;
    bool fetching_ = false;
    std::atomic<bool> cancelRequested_{false};
    bool restartPosted_ = false;
    // The version read while the window was not loaded (see SignatureVersion).
    std::optional<std::string> versionRead_;
    bool checkDoneAtRead_ = false;
    // The labels draw with these (WM_SETFONT): they live as long as the window.
    platform::Font headingFont_;
    platform::Font linkFont_;
};

// Unloads `main` (whose shutdown unloads the other windows), lets pending
// messages run, then loads and shows it again in the same process. The
// program does not end although for a moment no window was left. Nothing
// happens when `main` refuses to unload.
void restartWindow(forms::Form& main);

} // namespace update
