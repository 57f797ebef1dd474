// The Downloads window: every download handed over, with its size, progress,
// speed, time left and state; Open, Open Folder, Retry, Cancel and Remove act
// on the chosen row. The taskbar button shows the overall progress.
#pragma once

#include "downloads/download_list.h"
#include "downloads/pure/progress.h"
#include "downloads/transfer.h"
#include "forms/controls.h"
#include "platform/services.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

struct ITaskbarList3;

namespace downloads {

class frmDownloads : public forms::Form {
  public:
    frmDownloads(platform::Services& services, Limits limits);
    ~frmDownloads() override;

    // One link: a row at once; Save As comes when the server has answered.
    void addOne(const std::string& url);
    // Several links: asks for a folder once (after the caller has gone on),
    // then downloads each into it under its own name.
    void addSeveral(const std::vector<std::string>& urls);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    Transfer::Snapshot row(int index) const { return rows_.at(index).transfer->snapshot(); }
    // Texts as the list shows them (columns below).
    std::string cell(int row, int column) const { return lvwDownloads.cell(row, column); }
    int runningCount() const;
    // Cancels every running download and waits (processing messages) up to
    // `ms` for their workers to remove the partial files.
    void cancelAll(unsigned ms);
    // Reads every transfer's state into the list now (the timer does it too).
    void refresh();

    enum Column { colName, colSize, colProgress, colSpeed, colTimeLeft, colState };

    DownloadList lvwDownloads{*this,
                              "lvwDownloads",
                              {"Name", "Size", "Progress", "Speed", "Time left", "State"},
                              {190, 140, 110, 80, 80, 260},
                              colProgress};
    forms::Label lblDetails{*this, "lblDetails"};
    forms::CommandButton cmdOpen{*this, "cmdOpen", "&Open"};
    forms::CommandButton cmdOpenFolder{*this, "cmdOpenFolder", "Open &Folder"};
    forms::CommandButton cmdRetry{*this, "cmdRetry", "&Retry"};
    forms::CommandButton cmdCancel{*this, "cmdCancel", "&Cancel"};
    forms::CommandButton cmdRemove{*this, "cmdRemove", "Re&move"};
    forms::Timer tmrRefresh{*this, "tmrRefresh", 250};

    void cmdOpen_Click();
    void cmdOpenFolder_Click();
    void cmdRetry_Click();
    void cmdCancel_Click();
    void cmdRemove_Click();

  protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;
    LRESULT onMessage(UINT, WPARAM, LPARAM, bool& handled) override;

  private:
    struct Row {
        std::shared_ptr<Transfer> transfer;
        SpeedMeter meter;
        std::string folder; // several links: named in this folder without asking
    };
    void addRow(const std::string& url, const std::string& folder);
    void answerDestinations();
    std::string freeName(const std::string& folder, const std::string& name,
                         size_t exceptRow) const;
    void updateButtons();
    void updateTaskbar();
    void lvwDownloads_SelectionChanged();
    void lvwDownloads_KeyDown(int& keyCode, int shift);

    platform::Services& services_;
    Limits limits_;
    std::vector<Row> rows_;
    std::deque<std::vector<std::string>> batches_; // waiting for their folder
    bool asking_ = false;
    std::string lastFolder_;
    ITaskbarList3* taskbar_ = nullptr;
    int taskbarPercent_ = -2;
    unsigned long long captionAt_ = 0;
    bool comStarted_ = false;
};

} // namespace downloads
