#include "downloads/frmDownloads.h"

#include "downloads/pure/file_names.h"
#include "platform/shell_actions.h"
#include "platform/utf8.h"

#include <shobjidl.h>

#include <algorithm>

namespace downloads {

namespace {

constexpr UINT kTransferNews = WM_APP + 21; // a transfer needs a name or has ended
constexpr UINT kAskFolder = WM_APP + 22;    // a batch of links waits for its folder

bool exists(const std::string& utf8Path) {
    return GetFileAttributesW(platform::widen(utf8Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool sameNoCase(const std::string& a, const std::string& b) {
    return CompareStringOrdinal(platform::widen(a).c_str(), -1, platform::widen(b).c_str(), -1,
                                TRUE) == CSTR_EQUAL;
}

// The shell services take ANSI text: a path the code page cannot spell goes
// as its short (8.3) form, which is plain ASCII.
std::string ansiPath(const std::string& utf8Path) {
    std::wstring w = platform::widen(utf8Path);
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.c_str(), -1, nullptr, 0, nullptr,
                                &lossy);
    if (lossy) {
        wchar_t shortPath[MAX_PATH] = {};
        if (GetShortPathNameW(w.c_str(), shortPath, MAX_PATH))
            w = shortPath;
        n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    }
    std::string a(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, a.data(), n, nullptr, nullptr);
    a.resize(a.size() - 1);
    return a;
}

bool isRunning(State s) {
    return s == State::Connecting || s == State::Waiting || s == State::Downloading;
}

} // namespace

frmDownloads::frmDownloads(platform::Services& services, Limits limits)
    : Form("frmDownloads", "Downloads"), services_(services), limits_(limits) {
    initialWidth_ = 14400;
    initialHeight_ = 5400;
    minWidth_ = 7200;
    minHeight_ = 3600;
    cmdOpen.Click = [this] { cmdOpen_Click(); };
    cmdOpenFolder.Click = [this] { cmdOpenFolder_Click(); };
    cmdRetry.Click = [this] { cmdRetry_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdRemove.Click = [this] { cmdRemove_Click(); };
    tmrRefresh.Tick = [this] { refresh(); };
    lvwDownloads.SelectionChanged = [this] { lvwDownloads_SelectionChanged(); };
    lvwDownloads.DblClick = [this] { cmdOpen_Click(); };
    lvwDownloads.KeyDown = [this](int& key, int shift) { lvwDownloads_KeyDown(key, shift); };
}

frmDownloads::~frmDownloads() {
    if (taskbar_)
        taskbar_->Release();
    if (comStarted_)
        CoUninitialize();
}

void frmDownloads::Form_Load() {
    HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(co);
    // The taskbar progress where the system offers it.
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar_))) ||
        FAILED(taskbar_->HrInit())) {
        if (taskbar_)
            taskbar_->Release();
        taskbar_ = nullptr;
    }
    Form_Resize();
    updateButtons();
}

void frmDownloads::Form_Resize() {
    const int margin = 120, gap = 90, buttonW = 1400, buttonH = 400, detailsH = 480;
    int w = ScaleWidth(), h = ScaleHeight();
    int buttonsTop = h - margin - buttonH;
    int detailsTop = buttonsTop - gap - detailsH;
    lvwDownloads.Move(margin, margin, std::max(w - 2 * margin, 600),
                      std::max(detailsTop - gap - margin, 600));
    lblDetails.Move(margin, detailsTop, std::max(w - 2 * margin, 600), detailsH);
    forms::CommandButton* buttons[] = {&cmdOpen, &cmdOpenFolder, &cmdRetry, &cmdCancel, &cmdRemove};
    int left = margin;
    for (auto* b : buttons) {
        b->Move(left, buttonsTop, buttonW, buttonH);
        left += buttonW + gap;
    }
}

void frmDownloads::Form_QueryUnload(int& cancel, int unloadMode) {
    // The user's close hides the window; downloads go on behind it.
    if (unloadMode == forms::vbFormControlMenu) {
        cancel = 1;
        Hide();
    }
}

void frmDownloads::Form_Unload(int&) {
    cancelAll(3000);
    for (auto& r : rows_)
        r.transfer->discardPart();
    if (taskbar_) {
        taskbar_->SetProgressState(window(), TBPF_NOPROGRESS);
        taskbar_->Release();
        taskbar_ = nullptr;
    }
}

LRESULT frmDownloads::onMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
    handled = false;
    if (msg == kTransferNews) {
        handled = true;
        refresh();
        return 0;
    }
    if (msg == kAskFolder) {
        handled = true;
        if (asking_ || batches_.empty())
            return 0;
        std::vector<std::string> urls = batches_.front();
        batches_.pop_front();
        asking_ = true;
        std::string start = lastFolder_;
        if (start.empty() && services_.fileDialogs)
            start = services_.fileDialogs->downloadsFolder();
        std::string folder =
            services_.fileDialogs
                ? services_.fileDialogs->chooseFolder(
                      window(),
                      "Choose the folder for the " + std::to_string(urls.size()) + " downloads",
                      start)
                : std::string();
        asking_ = false;
        if (!folder.empty()) {
            lastFolder_ = folder;
            for (const auto& url : urls)
                addRow(url, folder);
        }
        if (!batches_.empty())
            PostMessageW(hwnd(), kAskFolder, 0, 0);
        refresh();
        return 0;
    }
    return 0;
}

void frmDownloads::addOne(const std::string& url) {
    Load();
    addRow(url, {});
}

void frmDownloads::addSeveral(const std::vector<std::string>& urls) {
    Load();
    batches_.push_back(urls);
    PostMessageW(window(), kAskFolder, 0, 0);
}

void frmDownloads::addRow(const std::string& url, const std::string& folder) {
    Row row;
    row.transfer = std::make_shared<Transfer>(url, limits_, window(), kTransferNews);
    row.folder = folder;
    rows_.push_back(std::move(row));
    lvwDownloads.addRow();
    int index = rowCount() - 1;
    // Until the server answers, the row shows the name the address suggests.
    lvwDownloads.setCell(index, colName, shortenFileName(suggestedFileName({}, url, url), 120));
    rows_.back().transfer->start();
    lvwDownloads.selectRow(index);
    refresh();
}

int frmDownloads::runningCount() const {
    int n = 0;
    for (const auto& r : rows_)
        if (r.transfer->running())
            ++n;
    return n;
}

void frmDownloads::cancelAll(unsigned ms) {
    for (auto& r : rows_)
        if (r.transfer->running())
            r.transfer->cancel();
    DWORD start = GetTickCount();
    while (runningCount() > 0 && GetTickCount() - start < ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&m);
    }
    refresh();
}

std::string frmDownloads::freeName(const std::string& folder, const std::string& name,
                                   size_t exceptRow) const {
    for (int n = 1;; ++n) {
        std::string candidate = n == 1 ? name : numberedName(name, n);
        std::string path = folder + "\\" + candidate;
        bool taken = exists(path) || exists(partPath(path));
        for (size_t i = 0; i < rows_.size() && !taken; ++i)
            if (i != exceptRow && sameNoCase(rows_[i].transfer->snapshot().path, path))
                taken = true;
        if (!taken)
            return path;
    }
}

void frmDownloads::answerDestinations() {
    if (asking_)
        return;
    for (size_t i = 0; i < rows_.size(); ++i) {
        Transfer::Snapshot s = rows_[i].transfer->snapshot();
        if (!s.needsDestination)
            continue;
        if (!rows_[i].folder.empty()) {
            rows_[i].transfer->setDestination(freeName(rows_[i].folder, s.suggestedName, i));
            continue;
        }
        asking_ = true;
        std::string folder = lastFolder_;
        if (folder.empty() && services_.fileDialogs)
            folder = services_.fileDialogs->downloadsFolder();
        std::string path =
            services_.fileDialogs
                ? services_.fileDialogs->saveAs(window(), "Save As", folder, s.suggestedName)
                : std::string();
        asking_ = false;
        if (!path.empty())
            lastFolder_ = folderOf(path);
        rows_[i].transfer->setDestination(path);
    }
}

void frmDownloads::refresh() {
    if (!isLoaded())
        return;
    answerDestinations();
    ULONGLONG now = GetTickCount64();
    for (int i = 0; i < rowCount(); ++i) {
        Row& r = rows_[i];
        Transfer::Snapshot s = r.transfer->snapshot();
        if (!s.path.empty())
            lvwDownloads.setCell(i, colName, nameOf(s.path));
        else if (!s.suggestedName.empty())
            lvwDownloads.setCell(i, colName, s.suggestedName);
        std::string size;
        if (s.state == State::Done)
            size = formatSize(s.received);
        else if (s.state == State::Cancelled)
            size.clear(); // nothing of it is kept
        else if (s.state == State::Downloading || s.received > 0)
            size = formatProgress(s.received, s.total);
        else if (s.total >= 0)
            size = formatSize(static_cast<std::uint64_t>(s.total));
        lvwDownloads.setCell(i, colSize, size);
        if (s.state == State::Downloading) {
            r.meter.sample(now, s.received);
        } else {
            r.meter.reset();
        }
        double speed = r.meter.bytesPerSecond();
        lvwDownloads.setCell(i, colSpeed, s.state == State::Downloading ? formatSpeed(speed) : "");
        lvwDownloads.setCell(i, colTimeLeft,
                             s.state == State::Downloading
                                 ? formatTimeLeft(secondsLeft(s.received, s.total, speed))
                                 : "");
        int percent = -1;
        if (s.state == State::Done)
            percent = 100;
        else if (s.state == State::Downloading || s.state == State::Failed)
            percent = s.received > 0 || s.total > 0 ? percentOf(s.received, s.total) : -1;
        lvwDownloads.setProgress(i, percent);
        lvwDownloads.setCell(i, colState, stateText(s.state, s.detail));
        DownloadList::Tone tone = DownloadList::Plain;
        if (s.state == State::Failed)
            tone = DownloadList::Bad;
        else if (s.state == State::Cancelled)
            tone = DownloadList::Muted;
        else if (s.state == State::Done)
            tone = s.webPage || s.unconfirmed ||
                           (s.signatureChecked && s.signature.verdict != Signature::Signed)
                       ? DownloadList::Warning
                       : DownloadList::Good;
        lvwDownloads.setTone(i, tone);
    }
    updateButtons();
    updateTaskbar();
}

void frmDownloads::updateTaskbar() {
    std::vector<std::pair<std::uint64_t, std::int64_t>> running;
    for (auto& r : rows_) {
        Transfer::Snapshot s = r.transfer->snapshot();
        if (isRunning(s.state))
            running.emplace_back(s.received, s.total);
    }
    int percent = running.empty() ? -2 : overallPercent(running);
    if (percent == taskbarPercent_)
        return;
    // The caption repeats the overall progress (also where the taskbar
    // offers none), at most once a second while it runs: a new window title
    // costs the display server a round trip.
    ULONGLONG now = GetTickCount64();
    bool captionDue = percent < 0 || now - captionAt_ >= 1000;
    if (captionDue) {
        captionAt_ = now;
        setCaption(percent >= 0 ? std::to_string(percent) + "% - Downloads" : "Downloads");
    }
    taskbarPercent_ = percent;
    if (!taskbar_)
        return;
    if (percent == -2) {
        taskbar_->SetProgressState(window(), TBPF_NOPROGRESS);
    } else if (percent == -1) {
        taskbar_->SetProgressState(window(), TBPF_INDETERMINATE);
    } else {
        taskbar_->SetProgressState(window(), TBPF_NORMAL);
        taskbar_->SetProgressValue(hwnd(), static_cast<ULONGLONG>(percent), 100);
    }
}

void frmDownloads::updateButtons() {
    int i = lvwDownloads.selectedRow();
    bool have = i >= 0 && i < rowCount();
    Transfer::Snapshot s = have ? row(i) : Transfer::Snapshot{};
    bool running = have && rows_[i].transfer->running();
    cmdOpen.setEnabled(have && s.state == State::Done);
    cmdOpenFolder.setEnabled(have && s.state == State::Done);
    cmdRetry.setEnabled(have && !running &&
                        (s.state == State::Failed || s.state == State::Cancelled));
    cmdCancel.setEnabled(have && (running || s.state == State::Failed));
    cmdRemove.setEnabled(have && !running);
    std::string details;
    if (have) {
        details = s.finalUrl.empty() || s.finalUrl == s.url ? s.url : s.url + "  ->  " + s.finalUrl;
        std::string more;
        if (s.state == State::Done && s.unconfirmed)
            more = "The server did not announce the size: the file could not be confirmed "
                   "complete.\n";
        if (s.state == State::Done && s.signatureChecked)
            more += signatureDetails(s.signature);
        else if (s.state == State::Failed)
            more = "Failed: " + s.detail;
        else if (s.state == State::Done && !s.path.empty())
            more += "Saved as " + s.path;
        if (!more.empty())
            details += "\n" + more;
    }
    if (lblDetails.Caption() != details)
        lblDetails.setCaption(details);
}

void frmDownloads::lvwDownloads_SelectionChanged() {
    updateButtons();
}

void frmDownloads::lvwDownloads_KeyDown(int& keyCode, int) {
    if (keyCode == VK_RETURN) {
        cmdOpen_Click();
    } else if (keyCode == VK_DELETE) {
        int i = lvwDownloads.selectedRow();
        if (i >= 0 && rows_[i].transfer->running())
            cmdCancel_Click();
        else
            cmdRemove_Click();
    } else if (keyCode == VK_ESCAPE) {
        Hide();
    }
}

void frmDownloads::cmdOpen_Click() {
    int i = lvwDownloads.selectedRow();
    if (i < 0 || i >= rowCount())
        return;
    Transfer::Snapshot s = row(i);
    if (s.state != State::Done || s.path.empty())
        return;
    std::string warning = s.signatureChecked ? openWarning(nameOf(s.path), s.signature) : "";
    if (!warning.empty() && services_.messageBoxes &&
        services_.messageBoxes->show(window(), warning, "",
                                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    if (!exists(s.path)) {
        if (services_.messageBoxes)
            services_.messageBoxes->show(
                window(), nameOf(s.path) + " is no longer in " + folderOf(s.path) + ".", "",
                MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    platform::openDocument(services_, ansiPath(s.path));
}

void frmDownloads::cmdOpenFolder_Click() {
    int i = lvwDownloads.selectedRow();
    if (i < 0 || i >= rowCount())
        return;
    Transfer::Snapshot s = row(i);
    if (s.path.empty())
        return;
    services_.shell.execute(window(), "open", "explorer.exe",
                            "/select,\"" + ansiPath(s.path) + "\"", "", SW_SHOWNORMAL);
}

void frmDownloads::cmdRetry_Click() {
    int i = lvwDownloads.selectedRow();
    if (i < 0 || i >= rowCount() || rows_[i].transfer->running())
        return;
    rows_[i].meter.reset();
    rows_[i].transfer->start();
    refresh();
}

void frmDownloads::cmdCancel_Click() {
    int i = lvwDownloads.selectedRow();
    if (i < 0 || i >= rowCount())
        return;
    rows_[i].transfer->cancel();
    refresh();
}

void frmDownloads::cmdRemove_Click() {
    int i = lvwDownloads.selectedRow();
    if (i < 0 || i >= rowCount() || rows_[i].transfer->running())
        return;
    rows_[i].transfer->discardPart();
    rows_.erase(rows_.begin() + i);
    lvwDownloads.removeRow(i);
    if (rowCount() > 0)
        lvwDownloads.selectRow(std::min(i, rowCount() - 1));
    refresh();
}

} // namespace downloads
