#include "update/frmUpdate.h"

#include "catalog/catalog.h"
#include "forms/geometry.h"
#include "platform/guarded.h"
#include "platform/sha256.h"
#include "update/staging.h"

#include <algorithm>
#include <utility>

namespace update {

namespace {

using platform::guarded;

// Asks the window to restart once the button's click has returned.
constexpr UINT kRestartMessage = WM_APP + 12;

const char* const kSeparator = " ========================";
const char* const kErrorText = "Error during Signature Update. Pleas try again later.";
// The catalog files whose entries are counted before an update.
const char* const kCounted[] = {"FLApps.def", "FLPortable.def", "FLSlim.def"};
// No catalog file comes near this size; a larger answer is not one.
constexpr std::uint64_t kLargestCatalogFile = 16ull << 20;

std::string runningVersion() {
    return programVersion(FL_VERSION_MAJOR, FL_VERSION_MINOR, FL_VERSION_REVISION);
}

} // namespace

frmUpdate::frmUpdate(platform::Services& services, UpdaterView view, std::string productServer)
    : Form("frmUpdate", "Fetchlets - Update"), lblUpdate(*this, "lblUpdate", "Update"),
      lblInfoVersionFetchlets(*this, "lblInfoVersionFetchlets", "Fetchlets Version:"),
      lblVersionFetchlets(*this, "lblVersionFetchlets", "Unknown"),
      lblCheckforUpdatesFetchlets(*this, "lblCheckforUpdatesFetchlets", "Check for Updates"),
      lblInfoSignatureVersion(*this, "lblInfoSignatureVersion", "Signature Version:"),
      lblSignatureVersion(*this, "lblSignatureVersion", "Unknown"),
      lblUpdateSignatureDefinitions(*this, "lblUpdateSignatureDefinitions", "Check for Updates"),
      txtUpdate(*this, "txtUpdate", {.multiLine = true, .readOnly = true}),
      cmdRestart(*this, "cmdRestart", "Restart Now!"), cmdCancel(*this, "cmdCancel", "Cancel"),
      services_(services), view_(std::move(view)), productServer_(std::move(productServer)) {
    initialWidth_ = 7800;
    initialHeight_ = 6300;
    minWidth_ = 5400;
    minHeight_ = 3600;

    lblUpdate.Move(240, 120, 4000, 420);
    lblInfoVersionFetchlets.Move(240, 660, 1800, 255);
    lblVersionFetchlets.Move(2100, 660, 1500, 255);
    lblCheckforUpdatesFetchlets.Move(3660, 660, 1800, 255);
    lblInfoSignatureVersion.Move(240, 960, 1800, 255);
    lblSignatureVersion.Move(2100, 960, 1500, 255);
    lblUpdateSignatureDefinitions.Move(3660, 960, 1800, 255);
    txtUpdate.Move(240, 1320, initialWidth_ - 550, initialHeight_ - 2000);
    cmdRestart.Move(initialWidth_ - 2700, 600, 2200, 555);
    cmdRestart.setVisible(false);
    cmdRestart.setForeColor(0x008000); // a green caption
    cmdCancel.Move(initialWidth_ - 2700, 600, 2200, 555);
    cmdCancel.setVisible(false);
    // Link-style labels: blue text, a hand over them.
    lblCheckforUpdatesFetchlets.setForeColor(0xFF0000);
    lblUpdateSignatureDefinitions.setForeColor(0xFF0000);

    lblCheckforUpdatesFetchlets.Click = [this] { lblCheckforUpdatesFetchlets_Click(); };
    lblUpdateSignatureDefinitions.Click = [this] { lblUpdateSignatureDefinitions_Click(); };
    cmdRestart.Click = [this] { cmdRestart_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

frmUpdate::~frmUpdate() {
    if (isLoaded())
        Unload();
}

std::string frmUpdate::dataFolder() const {
    return platform::withTrailingBackslash(services_.environment.applicationPath()) + "Data\\";
}

std::string frmUpdate::settingsFile() const {
    return catalog::settingsPath(
        platform::withTrailingBackslash(services_.environment.applicationPath()));
}

std::string frmUpdate::SignatureVersion() {
    if (isLoaded())
        return lblSignatureVersion.Caption();
    if (!versionRead_) {
        versionRead_ = ReadIniString(manifestFile(), "Signature", "Version");
        checkDoneAtRead_ = view_.chkAutoUpdate.Value() != 1;
    }
    return *versionRead_;
}

void frmUpdate::Form_Load() {
    // A window loaded anew starts as designed: the log empty, the restart
    // button hidden, both checks offered.
    guarded([&] {
        txtUpdate.setText("");
        cmdRestart.setVisible(false);
        cmdCancel.setVisible(false);
        lblCheckforUpdatesFetchlets.setVisible(true);
        lblUpdateSignatureDefinitions.setVisible(true);
        pointer_ = vbDefault;
        restartPosted_ = false;
        if (!headingFont_)
            headingFont_.reset(CreateFontA(-forms::toPixels(300), 0, 0, 0, FW_BOLD, 0, 0, 0,
                                           DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma"));
        LOGFONTA lf{};
        GetObjectA(forms::defaultFont(), sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        if (!linkFont_)
            linkFont_.reset(CreateFontIndirectA(&lf));
        if (headingFont_)
            SendMessageA(lblUpdate.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()),
                         0);
        if (linkFont_)
            for (forms::Label* l : {&lblCheckforUpdatesFetchlets, &lblUpdateSignatureDefinitions})
                SendMessageA(l->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), 0);
    });
    // Without a stored place the window first appears over the middle of the
    // main window (or of the screen).
    guarded([&] { centreOverOwner(); });
    guarded([&] { forms::RestoreGeometry(*this, settingsFile(), "WindowStateUpdate"); });
    guarded([&] { lblVersionFetchlets.setCaption(runningVersion()); });
    // A version read before the window loaded stands for a load at that
    // moment; with the option unticked then, its automatic check did nothing.
    const std::optional<std::string> read = std::exchange(versionRead_, std::nullopt);
    guarded([&] {
        lblSignatureVersion.setCaption(
            read ? *read : ReadIniString(manifestFile(), "Signature", "Version"));
    });
    if (!read || !checkDoneAtRead_)
        guarded([&] { CheckForSignatureUpdates(); });
}

void frmUpdate::centreOverOwner() {
    RECT area{};
    HWND owner = view_.owner ? view_.owner() : nullptr;
    if (!owner || !GetWindowRect(owner, &area))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    int w = Width(), h = Height();
    int left = forms::toTwips((area.left + area.right) / 2) - w / 2;
    int top = forms::toTwips((area.top + area.bottom) / 2) - h / 2;
    Move(std::max(left, 0), std::max(top, 0), w, h);
}

void frmUpdate::Form_Resize() {
    // Each size is applied only when it is positive.
    int w = Width(), h = Height();
    guarded([&] {
        if (w - 550 > 0)
            txtUpdate.setWidth(w - 550);
    });
    guarded([&] {
        if (h - 2000 > 0)
            txtUpdate.setHeight(h - 2000);
    });
    guarded([&] { cmdRestart.setLeft(w - 2700); });
    guarded([&] { cmdCancel.setLeft(w - 2700); });
}

void frmUpdate::Form_Unload(int& /*cancel*/) {
    guarded([&] { forms::SaveGeometry(*this, settingsFile(), "WindowStateUpdate"); });
}

LRESULT frmUpdate::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT) {
        SetCursor(cursorOver(reinterpret_cast<HWND>(wp)));
        handled = true;
        return TRUE;
    }
    if (msg == kRestartMessage) {
        handled = true;
        // Running downloads end only when the user agrees; otherwise nothing
        // restarts and the button stays ready for another try.
        bool agreed = true;
        guarded([&] {
            if (services_.downloads)
                agreed = services_.downloads->confirmRestart(window());
        });
        restartPosted_ = false;
        if (!agreed)
            return 0;
        // The main window goes and comes back (its start-up loads this window
        // anew, which hides the restart button); then this window shows
        // itself again and runs the automatic check.
        guarded([&] {
            if (view_.restart)
                view_.restart();
        });
        guarded([&] { showWindow(); });
        guarded([&] { CheckForSignatureUpdates(); });
        return 0;
    }
    return 0;
}

HCURSOR frmUpdate::cursorOver(HWND child) const {
    if (fetching_ || pointer_ == vbHourglass)
        return LoadCursor(nullptr, IDC_WAIT);
    if (child && (child == lblCheckforUpdatesFetchlets.hwnd() ||
                  child == lblUpdateSignatureDefinitions.hwnd()))
        return LoadCursor(nullptr, IDC_HAND);
    return LoadCursor(nullptr, IDC_ARROW);
}

void frmUpdate::setMousePointer(int kind) {
    pointer_ = kind;
    // Show the change at once when the pointer is over this window.
    POINT pt;
    HWND h = hwnd();
    if (h && GetCursorPos(&pt)) {
        HWND under = WindowFromPoint(pt);
        if (under == h || IsChild(h, under))
            SetCursor(cursorOver(under));
    }
}

void frmUpdate::AddLogLine(const std::string& text) {
    txtUpdate.setText(txtUpdate.Text() + text + "\r\n");
}

void frmUpdate::moveCaretToEnd() {
    int end = static_cast<int>(txtUpdate.Text().size());
    txtUpdate.setSelStart(end);
    if (txtUpdate.hwnd())
        SendMessageA(txtUpdate.hwnd(), EM_SCROLLCARET, 0, 0);
}

void frmUpdate::showWindow() {
    HWND owner = view_.owner ? view_.owner() : nullptr;
    if (Visible())
        return;
    Show(owner);
}

bool frmUpdate::FileDownload(const std::string& url, const std::string& file, bool /*clearCache*/,
                             bool* unconfirmed) {
    platform::FetchResult r;
    if (cancelRequested_) {
        r.cancelled = true;
        r.error = "cancelled";
    } else if (!services_.fetcher) {
        r.error = "this program has no network service";
    } else {
        fetching_ = true;
        int before = pointer_;
        setMousePointer(vbHourglass);
        HWND window = hwnd();
        r = services_.fetcher->fetch(
            url, file,
            {.waiting = window,
             .cancelButton = window && cmdCancel.Visible() ? cmdCancel.hwnd() : nullptr,
             .cancelled = &cancelRequested_,
             .maxBytes = kLargestCatalogFile});
        fetching_ = false;
        setMousePointer(before);
        if (r.cancelled)
            cancelRequested_ = true;
    }
    lastError_ = r.ok ? std::string() : (r.error.empty() ? "the fetch failed" : r.error);
    if (unconfirmed)
        *unconfirmed = r.ok && r.unconfirmed;
    return r.ok;
}

bool frmUpdate::fetchCatalog(const std::string& url, const std::string& staged,
                             const std::string& name, const std::string& manifest) {
    bool unconfirmed = false;
    bool ok = FileDownload(url, staged, true, &unconfirmed);
    if (ok && !readsAsCatalog(staged)) {
        ok = false;
        lastError_ = "the server's answer is not a catalog file";
    }
    if (ok && !manifest.empty()) {
        // The version information vouches for the file: size and SHA-256.
        Fetched fetched;
        fetched.unconfirmed = unconfirmed;
        if (std::optional<platform::FileDigest> d = platform::digestFile(staged)) {
            fetched.digested = true;
            fetched.size = d->size;
            fetched.sha256 = d->sha256;
        }
        std::string why = refusal(readFileCheck(manifest, name), fetched);
        if (!why.empty()) {
            ok = false;
            lastError_ = why;
        }
    }
    if (!ok)
        DeleteFileA(staged.c_str());
    return ok;
}

bool frmUpdate::fetchManifest(std::string& staged) {
    Staging staging(dataFolder());
    staged = staging.manifest();
    std::string error;
    if (!staging.prepare(error)) {
        lastError_ = error;
        return false;
    }
    return fetchCatalog(manifestAddress(productServer_), staged, kManifestFile, {});
}

bool frmUpdate::replaceFile(const std::string& staged, const std::string& file) {
    if (MoveFileExA(staged.c_str(), file.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    lastError_ = "the file could not be replaced (error " + std::to_string(GetLastError()) + ")";
    DeleteFileA(staged.c_str());
    return false;
}

void frmUpdate::CheckForSignatureUpdates() {
    if (view_.chkAutoUpdate.Value() != 1)
        return;
    updateSignatures();
    checkProgram();
}

void frmUpdate::lblCheckforUpdatesFetchlets_Click() {
    checkProgram();
}

void frmUpdate::lblUpdateSignatureDefinitions_Click() {
    updateSignatures();
}

void frmUpdate::cmdCancel_Click() {
    cancelRequested_ = true;
}

void frmUpdate::cmdRestart_Click() {
    // The restart unloads this window; it runs after the click has returned.
    if (restartPosted_ || !isLoaded())
        return;
    restartPosted_ = true;
    PostMessageA(window(), kRestartMessage, 0, 0);
}

void frmUpdate::checkProgram() {
    // The published manifest is read from its fetched copy beside the local
    // one, which is left alone: the local copy records the installed catalog
    // version and only a completed catalog update may change it.
    bool fetched = false;
    Manifest published;
    Staging staging(dataFolder());
    guarded([&] { staging.recover(); });
    cancelRequested_ = false;
    guarded([&] {
        std::string staged;
        fetched = fetchManifest(staged);
        if (fetched)
            published = readManifest(staged);
    });
    guarded([&] { staging.clear(); });
    guarded([&] { setMousePointer(vbCustom); });
    std::string running;
    guarded([&] {
        lblVersionFetchlets.setCaption(runningVersion());
        running = lblVersionFetchlets.Caption();
    });
    guarded([&] {
        // Without the published manifest there is nothing to compare with:
        // say so rather than judge the running version by an old copy.
        if (!fetched) {
            AddLogLine("Fetchlets could not check for a new Version: " + lastError_ + ".");
            return;
        }
        int order = compareOrdinal(published.programVersion, running);
        if (order > 0) {
            std::string available =
                "Version " + published.programVersion + " of Fetchlets is available.";
            AddLogLine(available);
            AddLogLine("========================");
            AddLogLine("Whats  new in this Version?");
            AddLogLine(published.programChangelog);
            moveCaretToEnd();
            int answer = services_.messageBoxes
                             ? services_.messageBoxes->show(
                                   window(), available + "\r\nDo you want to Download the Update?",
                                   "", MB_YESNO | MB_ICONINFORMATION)
                             : IDNO;
            if (answer == IDYES && services_.downloads)
                services_.downloads->download(hwnd(), {downloadPageAddress(productServer_)});
        } else if (order == 0) {
            AddLogLine("You are using the latest Version of Fetchlets.");
        } else {
            AddLogLine("You are using an unofficial Version of Fetchlets.");
        }
    });
    guarded([&] { moveCaretToEnd(); });
}

void frmUpdate::updateSignatures() {
    const std::string data = dataFolder();
    const std::string manifest = manifestFile();
    // What an earlier run left in the staging folder goes first (files it
    // had moved aside come back when it had not finished).
    Staging staging(data);
    guarded([&] { staging.recover(); });
    cancelRequested_ = false;
    // The fetched manifest waits in the staging folder. The local copy says
    // which catalog is installed (the version label is read from it when the
    // window loads), so it is replaced only once the catalog files match the
    // fetched one; after a failure it still names the old catalog and the
    // next check tries again.
    std::string staged;
    bool manifestFetched = false;
    std::string manifestError;
    guarded([&] {
        manifestFetched = fetchManifest(staged);
        manifestError = lastError_;
    });
    guarded([&] { setMousePointer(vbCustom); });
    std::string published, installed, changes;
    guarded([&] {
        if (manifestFetched) {
            published = ReadIniString(staged, "Signature", "Version");
            changes = ReadIniString(staged, "Signature", "Changelog");
        }
        installed = lblSignatureVersion.Caption();
    });
    for (const char* name : kCounted)
        guarded([&] {
            if (std::optional<int32_t> n = CountSignatures(data + name))
                AddLogLine(std::to_string(*n) + " Signatures found in " + name);
        });
    if (!manifestFetched) {
        // Without the published manifest the catalog cannot be judged: an
        // old copy would report a stale answer as "up to date".
        guarded([&] {
            errorOutcome({"The version information could not be fetched: " + manifestError + "."});
        });
        guarded([&] { staging.clear(); });
        guarded([&] { moveCaretToEnd(); });
        return;
    }
    if (compareOrdinal(published, installed) > 0) {
        guarded([&] {
            AddLogLine(kSeparator);
            AddLogLine("A new Signature Version " + published + " is available.");
            AddLogLine(kSeparator);
        });
        guarded([&] {
            AddLogLine("Whats new in this Signature?");
            AddLogLine(changes);
            AddLogLine(kSeparator);
            AddLogLine("Update running ...");
        });
        guarded([&] { setMousePointer(vbHourglass); });
        // The Cancel button takes the place of the two links, which cannot
        // act while the files are fetched.
        guarded([&] {
            lblCheckforUpdatesFetchlets.setVisible(false);
            lblUpdateSignatureDefinitions.setVisible(false);
            cmdCancel.setVisible(true);
            if (Visible())
                ::SetFocus(cmdCancel.hwnd());
        });

        // Every listed file is fetched first and kept aside; the catalog is
        // replaced only when all of them arrived whole, so a failed update
        // leaves the old files as they were.
        std::vector<std::string> fetched, failures;
        bool restored = true;
        const std::string server = view_.txtSignatureServer.Text();
        const int count = view_.lstSignatures.ListCount();
        for (int i = 0; i < count && !cancelRequested_; ++i) {
            guarded([&] {
                std::string name = view_.lstSignatures.List(i);
                if (name.empty())
                    return; // a blank line of the list names no file
                bool again =
                    std::find_if(fetched.begin(), fetched.end(), [&](const std::string& f) {
                        return _stricmp(f.c_str(), name.c_str()) == 0;
                    }) != fetched.end();
                // The manifest is recorded from the published one at the end.
                if (again || _stricmp(name.c_str(), kManifestFile) == 0)
                    return;
                if (!isPlainFileName(name)) {
                    std::string line =
                        "\"" + name + "\" is not a plain file name: it was not fetched.";
                    AddLogLine(line);
                    failures.push_back(line);
                } else if (fetchCatalog(server + name, staging.file(name), name, staged)) {
                    fetched.push_back(name);
                } else if (!cancelRequested_) {
                    std::string line = name + " could not be updated: " + lastError_ + ".";
                    AddLogLine(line);
                    failures.push_back(line);
                }
            });
            guarded([&] { setMousePointer(vbCustom); });
        }
        guarded([&] {
            cmdCancel.setVisible(false);
            lblCheckforUpdatesFetchlets.setVisible(true);
            lblUpdateSignatureDefinitions.setVisible(true);
        });
        if (cancelRequested_) {
            guarded([&] { staging.clear(); });
            guarded([&] {
                AddLogLine("The update was cancelled; the catalog was left unchanged.");
                moveCaretToEnd();
            });
            return;
        }
        guarded([&] {
            if (!failures.empty())
                return;
            Staging::Outcome outcome = staging.commit(fetched);
            if (outcome.ok) {
                for (const std::string& name : fetched)
                    AddLogLine(name + " Updated successfully.");
                return;
            }
            for (const std::string& line : outcome.lines)
                AddLogLine(line);
            failures = outcome.lines;
            restored = outcome.restored;
        });
        // Files that could not be put back stay in the staging folder for
        // the next check; everything else goes.
        guarded([&] { staging.recover(); });
        guarded([&] { setMousePointer(vbCustom); });
        if (!failures.empty()) {
            guarded([&] { errorOutcome({}, restored); });
        } else {
            guarded([&] { showWindow(); });
            guarded([&] {
                AddLogLine("Signature Definitions has been Updated successfully.");
                AddLogLine("Please Restart Fetchlets.");
            });
            guarded([&] {
                cmdRestart.setVisible(true);
                lblCheckforUpdatesFetchlets.setVisible(false);
                lblUpdateSignatureDefinitions.setVisible(false);
            });
        }
    } else {
        guarded([&] { AddLogLine("Your Signature File(s) is Up-to-Date."); });
        // The same catalog version: the installed files are the published
        // ones, so the fetched manifest may take the local copy's place. A
        // version that compares smaller is not recorded: the files are still
        // those of the version the local copy names.
        guarded([&] {
            if (published == installed)
                replaceFile(staged, manifest);
        });
    }
    // Whatever was not taken into place is not left behind.
    guarded([&] { staging.clear(); });
    guarded([&] { moveCaretToEnd(); });
}

void restartWindow(forms::Form& main) {
    main.Unload(forms::vbFormCode);
    if (main.isLoaded())
        return; // it refused to go
    forms::DoEvents();
    main.Load();
    if (!main.isLoaded())
        return;
    // The last window going asked the message loop to end; it is back.
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        ;
    main.Show();
}

void frmUpdate::errorOutcome(const std::vector<std::string>& reasons, bool unchanged) {
    // The lines before say which file failed and why; they stay.
    for (const std::string& r : reasons)
        AddLogLine(r);
    AddLogLine(kErrorText);
    AddLogLine(unchanged ? "The catalog was left unchanged."
                         : "The catalog could not be put back whole; the next check tries again.");
    guarded([&] { showWindow(); });
    moveCaretToEnd();
    if (services_.messageBoxes)
        services_.messageBoxes->show(window(), kErrorText, "", MB_OK | MB_ICONERROR);
}

} // namespace update
