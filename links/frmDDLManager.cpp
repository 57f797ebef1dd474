#include "links/frmDDLManager.h"

#include "catalog/catalog.h"
#include "catalog/profile_io.h"
#include "forms/geometry.h"
#include "forms/tell.h"
#include "links/pure/link_queue.h"
#include "platform/pure/link_scheme.h"
#include "platform/shell_actions.h"
#include "platform/utf8.h"

#include <windowsx.h>

#include <algorithm>

namespace links {

namespace {

// Design measures in twips; the resize rule moves the list and the buttons.
constexpr int kMargin = 120;
constexpr int kListTop = 1000;
constexpr int kButtonWidth = 3170;
constexpr int kButtonHeight = 375;

// Above this many repeated links the list is filled anew instead of losing
// them one by one (each removal moves every item after it).
constexpr std::size_t kRebuildAbove = 32;

// A number with thousands separators ("32,767").
std::string withCount(std::size_t n) {
    const std::string digits = std::to_string(n);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

} // namespace

frmDDLManager::frmDDLManager(platform::Services& services, MainWindowView main)
    : Form("frmDDLManager", "Fetchlets - DDL Manager"), services_(services), main_(main) {
    initialWidth_ = 7800;
    initialHeight_ = 5600;
    minWidth_ = 5400;
    minHeight_ = 3600;
    lblHeading.Move(kMargin, kMargin + 60, 3600, 300);
    cmdDownload.Move(initialWidth_ - 3650, kMargin, kButtonWidth, kButtonHeight);
    cmdMultipleDownload.Move(initialWidth_ - 3650, kMargin + kButtonHeight + 60, kButtonWidth,
                             kButtonHeight);
    lstDDLManager.Move(kMargin, kListTop, initialWidth_ - 600, initialHeight_ - 1900);
    Label1.Move(kMargin, kListTop + initialHeight_ - 1900 + 90, 600, 255);
    lblCountLinks.Move(kMargin + 600, kListTop + initialHeight_ - 1900 + 90, 1500, 255);
    cmdDownload.setEnabled(false);
    cmdMultipleDownload.setEnabled(false);

    lstDDLManager.Click = [this] { lstDDLManager_Click(); };
    lstDDLManager.MouseDown = [this](int b, int s, int x, int y) {
        lstDDLManager_MouseDown(b, s, x, y);
    };
    cmdDownload.Click = [this] { mnuDownload_Click(); };
    cmdMultipleDownload.Click = [this] { mnuMultipleDownload_Click(); };
    mnuDownload.Click = [this] { mnuDownload_Click(); };
    mnuMultipleDownload.Click = [this] { mnuMultipleDownload_Click(); };
    mnuDownloadFromPage.Click = [this] { mnuDownloadFromPage_Click(); };
    mnuClipboard.Click = [this] { mnuClipboard_Click(); };
    mnuSelectAll.Click = [this] { selectAll(true); };
    mnuDeselectAll.Click = [this] { selectAll(false); };
    mnuDeleteSelected.Click = [this] { mnuDeleteSelected_Click(); };
    mnuDeleteAll.Click = [this] { mnuDeleteAll_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
}

frmDDLManager::~frmDDLManager() {
    if (isLoaded())
        Unload(forms::vbFormCode);
}

std::string frmDDLManager::queueFile() const {
    return services_.environment.applicationPath() + "Data\\FLLinks.ddl";
}

std::string frmDDLManager::settingsFile() const {
    return catalog::settingsPath(services_.environment.applicationPath());
}

std::vector<std::string> frmDDLManager::links() const {
    return lstDDLManager.items();
}

std::vector<bool> frmDDLManager::selection() const {
    std::vector<bool> selected(lstDDLManager.items().size());
    HWND list = lstDDLManager.hwnd();
    if (!list)
        return selected;
    // The selected positions in one request rather than one per item.
    LRESULT n = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (n <= 0)
        return selected;
    std::vector<int> positions(static_cast<std::size_t>(n));
    n = SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(n),
                     reinterpret_cast<LPARAM>(positions.data()));
    for (LRESULT i = 0; i < n; ++i)
        if (positions[i] >= 0 && static_cast<std::size_t>(positions[i]) < selected.size())
            selected[positions[i]] = true;
    return selected;
}

// ---- loading and unloading ---------------------------------------------------

void frmDDLManager::Form_Load() {
    forms::RestoreGeometry(*this, settingsFile(), kGeometrySection);
    std::string bytes;
    if (profile::io::readAll(queueFile(), bytes)) {
        ParsedQueue q = parseQueue(bytes);
        lstDDLManager.AddItems(q.links);
        if (q.truncated)
            forms::tell(services_, *this,
                        "The link queue file holds more than " + withCount(kMaxLinks) +
                            " links. Only the first " + withCount(kMaxLinks) +
                            " were loaded; the others will be dropped when the window is closed.",
                        MB_ICONWARNING);
    }
    // What was just read is what the file holds.
    savedChanges_ = lstDDLManager.ItemChanges();
    nextWriteAt_ = 0;
    Form_Resize();
}

bool frmDDLManager::saveQueue() {
    const std::string path = queueFile();
    if (!profile::io::writable(path))
        return false;
    const unsigned long long changes = lstDDLManager.ItemChanges();
    if (!profile::io::replaceAtomically(path, formatQueue(lstDDLManager.items())))
        return false;
    ++queueWrites_;
    savedChanges_ = changes;
    return true;
}

bool frmDDLManager::saveQueueAs() {
    if (!services_.fileDialogs)
        return false;
    std::string chosen = services_.fileDialogs->saveAs(
        window(), "Save the Link Queue As", services_.environment.applicationPath() + "Data",
        "FLLinks.ddl");
    if (chosen.empty())
        return false;
    // The dialog answers in UTF-8; the file functions take the ANSI code page.
    const std::wstring wide = platform::widen(chosen);
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), path.data(), n,
                        nullptr, nullptr);
    const std::size_t name = path.find_last_of("\\/");
    if (path.find('.', name == std::string::npos ? 0 : name) == std::string::npos)
        path += ".ddl";
    if (profile::io::writable(path) &&
        profile::io::replaceAtomically(path, formatQueue(lstDDLManager.items())))
        return true;
    forms::tell(services_, *this, "The link queue could not be saved to\r\n" + path,
                MB_ICONWARNING);
    return false;
}

bool frmDDLManager::closeWithoutSavedQueue() {
    if (!services_.messageBoxes)
        return false;
    for (;;) {
        const int answer = services_.messageBoxes->show(
            window(),
            "The link queue could not be saved to\r\n" + queueFile() +
                "\r\n\r\nThe file may be read-only, or the Data folder may not be writable."
                "\r\n\r\nTry Again: save to this file again.\r\nContinue: save the links to "
                "another file (Save As).\r\nCancel: close without saving.",
            "", MB_CANCELTRYCONTINUE | MB_ICONWARNING | MB_DEFBUTTON2);
        switch (answer) {
        case IDTRYAGAIN:
            if (saveQueue())
                return true;
            break;
        case IDCONTINUE:
            if (saveQueueAs())
                return true;
            break;
        case IDCANCEL: {
            const int n = lstDDLManager.ListCount();
            const std::string count =
                n == 1 ? std::string("The 1 link") : "The " + withCount(n) + " links";
            if (services_.messageBoxes->show(hwnd(),
                                             "Close the link manager without saving?\r\n\r\n" +
                                                 count + " in the queue will be lost.",
                                             "",
                                             MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
                return true;
            break;
        }
        default:
            // No answer (the box could not be shown): the window stays open
            // with its links.
            return false;
        }
    }
}

void frmDDLManager::Form_QueryUnload(int& cancel, int unloadMode) {
    if (saveQueue())
        return;
    // The session is ending: one try, then the window goes.
    if (unloadMode == forms::vbAppWindows || unloadMode == forms::vbAppTaskManager)
        return;
    if (!closeWithoutSavedQueue())
        cancel = 1;
}

void frmDDLManager::Form_Unload(int&) {
    forms::SaveGeometry(*this, settingsFile(), kGeometrySection);
}

void frmDDLManager::Form_Resize() {
    // Each measure that would come out negative is left as it is.
    const int listHeight = Height() - 1900;
    const int listWidth = Width() - 600;
    const int buttonLeft = Width() - 3650;
    if (listHeight >= 0)
        lstDDLManager.setHeight(listHeight);
    if (listWidth >= 0)
        lstDDLManager.setWidth(listWidth);
    if (buttonLeft >= 0) {
        cmdDownload.setLeft(buttonLeft);
        cmdMultipleDownload.setLeft(buttonLeft);
    }
    const int countTop = lstDDLManager.Top() + lstDDLManager.Height() + 90;
    Label1.setTop(countTop);
    lblCountLinks.setTop(countTop);
}

// ---- adding and tidying --------------------------------------------------------

bool frmDDLManager::addLink(const std::string& link, HWND owner) {
    Load();
    if (static_cast<std::size_t>(lstDDLManager.ListCount()) >= kMaxLinks) {
        for (int i = 0, n = lstDDLManager.ListCount(); i < n; ++i)
            if (lstDDLManager.List(i) == link)
                return true;
        if (services_.messageBoxes)
            services_.messageBoxes->show(
                owner ? owner : window(),
                "The link queue is full: it holds " + withCount(kMaxLinks) +
                    " links. Remove some links in the DDL Manager before adding more.",
                "", MB_OK | MB_ICONWARNING);
        return false;
    }
    lstDDLManager.AddItem(link);
    return true;
}

void frmDDLManager::removeItems(const std::vector<std::size_t>& doomed) {
    if (doomed.empty())
        return;
    HWND list = lstDDLManager.hwnd();
    if (!list || doomed.size() <= kRebuildAbove) {
        if (list)
            SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
            lstDDLManager.RemoveItem(static_cast<int>(*it));
        if (list) {
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
        return;
    }
    // Fill the list anew with the kept items, keeping their selection, the
    // current item and the scroll position.
    std::vector<std::string> items = links();
    const std::vector<bool> selected = selection();
    const int current = lstDDLManager.ListIndex();
    const int top = lstDDLManager.TopIndex();
    std::vector<std::string> kept;
    std::vector<int> newIndex(items.size(), -1);
    kept.reserve(items.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (next < doomed.size() && doomed[next] == i) {
            ++next;
            continue;
        }
        newIndex[i] = static_cast<int>(kept.size());
        kept.push_back(std::move(items[i]));
    }
    // A removed item hands its place to the nearest kept item before it.
    auto mapped = [&](int i) {
        i = std::min(i, static_cast<int>(newIndex.size()) - 1);
        while (i >= 0 && newIndex[i] < 0)
            --i;
        return i >= 0 ? newIndex[i] : 0;
    };
    lstDDLManager.setItems(kept);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (selected[i] && newIndex[i] >= 0)
            lstDDLManager.setSelected(newIndex[i], true);
    if (current >= 0 && !kept.empty())
        SendMessageA(list, LB_SETCARETINDEX, mapped(current), FALSE);
    SendMessageA(list, LB_SETTOPINDEX, mapped(top), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void frmDDLManager::Timer1_Timer() {
    if (lstDDLManager.ItemChanges() != seenChanges_) {
        ++tidyPasses_;
        removeItems(repeatedLinks(lstDDLManager.items()));
        lblCountLinks.setCaption(std::to_string(lstDDLManager.ListCount()));
        seenChanges_ = lstDDLManager.ItemChanges();
    }
    saveSoon();
}

void frmDDLManager::saveSoon() {
    if (lstDDLManager.ItemChanges() == savedChanges_)
        return;
    const unsigned long long now = GetTickCount64();
    if (now < nextWriteAt_)
        return;
    // The first change is written at once, later ones at most once a
    // second; a file that cannot be written is tried again less often.
    nextWriteAt_ = now + (saveQueue() ? kWriteGapMs : kRetryGapMs);
}

// ---- the blacklist check and the menu --------------------------------------------

void frmDDLManager::setDownloadCommands(bool enabled) {
    mnuDownload.Enabled = enabled;
    mnuMultipleDownload.Enabled = enabled;
    cmdDownload.setEnabled(enabled);
    cmdMultipleDownload.setEnabled(enabled);
}

void frmDDLManager::lstDDLManager_Click() {
    std::vector<std::string> blacklist;
    const int n = main_.lstBlacklist.ListCount();
    blacklist.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i)
        blacklist.push_back(main_.lstBlacklist.List(i));
    setDownloadCommands(!blacklisted(lstDDLManager.Text(), blacklist));
}

void frmDDLManager::showMenu() {
    mnMain.Popup({.eitherButton = true, .defaultItem = &mnuDownload});
}

void frmDDLManager::lstDDLManager_MouseDown(int button, int, int, int) {
    if (button == forms::vbRightButton)
        showMenu();
}

LRESULT frmDDLManager::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    // Destroyed without being unloaded: its owner (the main window) went
    // first. The list still exists at this point; nothing can wait for the
    // user any more, so the queue and the geometry are saved as they are.
    if (msg == WM_DESTROY) {
        saveQueue();
        forms::SaveGeometry(*this, settingsFile(), kGeometrySection);
        return 0;
    }
    // The menu key and Shift+F10 open the menu too (the mouse opens it on
    // the button's press).
    if (msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(wp) == lstDDLManager.hwnd() &&
        GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1) {
        handled = true;
        showMenu();
    }
    return 0;
}

// ---- commands ------------------------------------------------------------------------

void frmDDLManager::download(const std::vector<std::string>& chosen) {
    std::vector<std::string> urls;
    std::vector<std::string> refused;
    for (const auto& link : chosen) {
        const platform::LinkCheck check = platform::checkWebLink(link);
        if (check)
            urls.push_back(check.target);
        else
            refused.push_back(platform::refusalMessage(check, link, platform::LinkOwner::Queue));
    }
    if (!urls.empty()) {
        if (services_.downloads)
            services_.downloads->download(window(), urls);
        else
            forms::tell(services_, *this,
                        "Downloads are not available: the links were not handed over.",
                        MB_ICONWARNING);
    }
    if (refused.empty())
        return;
    // A few reasons in full; the rest as a count.
    constexpr std::size_t kShown = 8;
    std::string text;
    for (std::size_t i = 0; i < refused.size() && i < kShown; ++i)
        text += (i ? "\r\n" : "") + refused[i];
    if (refused.size() > kShown)
        text += "\r\n... and " + withCount(refused.size() - kShown) +
                " more links that are no web addresses.";
    forms::tell(services_, *this, text, MB_ICONINFORMATION);
}

void frmDDLManager::mnuDownload_Click() {
    if (lstDDLManager.ListIndex() < 0) {
        forms::tell(services_, *this, "Choose a link in the list first.", MB_ICONINFORMATION);
        return;
    }
    download({lstDDLManager.Text()});
}

void frmDDLManager::mnuMultipleDownload_Click() {
    const std::vector<bool> selected = selection();
    std::vector<std::string> chosen;
    for (std::size_t i = 0; i < selected.size(); ++i)
        if (selected[i])
            chosen.push_back(lstDDLManager.items()[i]);
    if (chosen.empty()) {
        forms::tell(services_, *this, "Select the links to download first.", MB_ICONINFORMATION);
        return;
    }
    download(chosen);
}

void frmDDLManager::mnuDownloadFromPage_Click() {
    if (lstDDLManager.ListIndex() < 0) {
        forms::tell(services_, *this, "Choose a link in the list first.", MB_ICONINFORMATION);
        return;
    }
    const std::string link = lstDDLManager.Text();
    const platform::LinkCheck check = platform::openLink(services_, window(), link);
    if (!check)
        forms::tell(services_, *this,
                    platform::refusalMessage(check, link, platform::LinkOwner::Queue),
                    MB_ICONINFORMATION);
}

void frmDDLManager::mnuClipboard_Click() {
    if (services_.clipboard &&
        !services_.clipboard->setText(selectionText(lstDDLManager.items(), selection())))
        forms::tell(services_, *this,
                    "The clipboard is in use by another program. Try again in a moment.",
                    MB_ICONWARNING);
}

void frmDDLManager::selectAll(bool selected) {
    HWND list = lstDDLManager.hwnd();
    if (list && lstDDLManager.ListCount() > 0)
        SendMessageA(list, LB_SETSEL, selected ? TRUE : FALSE, -1);
}

void frmDDLManager::mnuDeleteSelected_Click() {
    const std::vector<bool> selected = selection();
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < selected.size(); ++i)
        if (selected[i])
            chosen.push_back(i);
    removeItems(chosen);
}

void frmDDLManager::mnuDeleteAll_Click() {
    lstDDLManager.Clear();
}

} // namespace links
