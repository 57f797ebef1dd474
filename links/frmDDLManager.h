// The link manager: a queue of download links collected in the main window,
// kept between runs in Data\FLLinks.ddl, to be downloaded later (one or
// several at once), opened as pages or copied.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "platform/services.h"

#include <string>
#include <vector>

namespace links {

// What the link manager reads of the main window: its blacklist, at the
// moment a link is clicked.
struct MainWindowView {
    forms::ListBox& lstBlacklist;
};

class frmDDLManager : public forms::Form {
  public:
    frmDDLManager(platform::Services& services, MainWindowView main);
    ~frmDDLManager() override;

    static constexpr const char* kGeometrySection = "WindowStateDDLManager";

    forms::Label lblHeading{*this, "lblHeading", "Direct Download Link Manager"};
    forms::CommandButton cmdDownload{*this, "cmdDownload", "Direct Download"};
    forms::CommandButton cmdMultipleDownload{*this, "cmdMultipleDownload", "Multiple Download"};
    forms::ListBox lstDDLManager{*this, "lstDDLManager", {.multiSelect = true}};
    forms::Label Label1{*this, "Label1", "Links:"};
    forms::Label lblCountLinks{*this, "lblCountLinks", "0"};

    forms::PopupMenu mnMain{*this, "mnMain"};
    forms::MenuItem& mnuDownload = mnMain.add("mnuDownload", "Direct Download");
    forms::MenuItem& mnuMultipleDownload = mnMain.add("mnuMultipleDownload", "Multiple Download");
    forms::MenuItem& mnuDownloadFromPage =
        mnMain.add("mnuDownloadFromPage", "Direct Download from Page");
    forms::MenuItem& mnu1 = mnMain.add("mnu1", "-");
    forms::MenuItem& mnuClipboard = mnMain.add("mnuClipboard", "Copy to Clipboard");
    forms::MenuItem& mnu2 = mnMain.add("mnu2", "-");
    forms::MenuItem& mnuSelectAll = mnMain.add("mnuSelectAll", "Select All");
    forms::MenuItem& mnuDeselectAll = mnMain.add("mnuDeselectAll", "Deselect All");
    forms::MenuItem& mnu3 = mnMain.add("mnu3", "-");
    forms::MenuItem& mnuDeleteSelected = mnMain.add("mnuDeleteSelected", "Remove Selected Link");
    forms::MenuItem& mnuDeleteAll = mnMain.add("mnuDeleteAll", "Clear List");

    // Drops repeated links and keeps the count current; does nothing at all
    // while the list's items are unchanged since its last pass.
    forms::Timer Timer1{*this, "Timer1", 1};

    // Appends a link as the queue's last item, loading the window (and with
    // it the saved queue) first. A full queue takes no further link: the user
    // is told (the box owned by `owner`) and false comes back. A link the
    // full queue already holds is not refused: the queue stays as it is.
    bool addLink(const std::string& link, HWND owner = nullptr);

    // The queue file and the settings file, from the application folder.
    std::string queueFile() const;
    std::string settingsFile() const;

    // How many timer passes read the list (for tests and measurements).
    unsigned long tidyPasses() const { return tidyPasses_; }
    // How many times the queue file was written (for tests and measurements).
    unsigned long queueWrites() const { return queueWrites_; }

    // The items of the list, in order.
    std::vector<std::string> links() const;
    // Per item, whether it is selected.
    std::vector<bool> selection() const;

  protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  private:
    void lstDDLManager_Click();
    void lstDDLManager_MouseDown(int button, int shift, int x, int y);
    void mnuDownload_Click();
    void mnuMultipleDownload_Click();
    void mnuDownloadFromPage_Click();
    void mnuClipboard_Click();
    void mnuDeleteSelected_Click();
    void mnuDeleteAll_Click();
    void Timer1_Timer();

    void showMenu();
    void selectAll(bool selected);
    void setDownloadCommands(bool enabled);
    // Hands web links to the Downloads window; tells the user about the
    // others and about a missing Downloads window.
    void download(const std::vector<std::string>& links);
    // Removes the items at these positions (ascending), keeping the others'
    // order, selection and the current item.
    void removeItems(const std::vector<std::size_t>& positions);
    // Writes the queue file (atomically); false when it cannot be written.
    bool saveQueue();
    // Writes the queue after a change: the first change at once, then at
    // most one write a second, so that a killed process loses nothing added
    // more than about a second before.
    void saveSoon();
    // Save As: the queue into a .ddl file the user chooses.
    bool saveQueueAs();
    // The queue file cannot be written while the window closes: the user
    // chooses to try again, to save elsewhere or to close without saving
    // (after a second question naming how many links go). True when the
    // window may close.
    bool closeWithoutSavedQueue();

    static constexpr unsigned long long kWriteGapMs = 1000;
    static constexpr unsigned long long kRetryGapMs = 5000;

    platform::Services& services_;
    MainWindowView main_;
    unsigned long long seenChanges_ = ~0ull;
    unsigned long tidyPasses_ = 0;
    unsigned long queueWrites_ = 0;
    unsigned long long savedChanges_ = 0; // the list's changes the file holds
    unsigned long long nextWriteAt_ = 0;  // tick count before which no write is due
};

} // namespace links
